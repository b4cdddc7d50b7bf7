// The toolkit's pure rules: error box text, progress scaling, the aligned
// layout, the deferred layout, texts fitted to a width and the end of a text
// kept in view.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "align_layout.h"
#include "deferred_layout.h"
#include "error_text.h"
#include "placement.h"
#include "progress_scale.h"
#include "scroll_rules.h"
#include "text_fit.h"

namespace sorv::tk {
namespace {

TEST(ErrorBoxText, AppendsAFullStopAfterCharactersThatComeAfterIt) {
    EXPECT_EQ(ErrorBoxText("Fichier introuvable"), "Fichier introuvable.");
    EXPECT_EQ(ErrorBoxText("Erreur E/S 32"), "Erreur E/S 32.");
    EXPECT_EQ(ErrorBoxText("Type de données incorrect pour 'Chemin'"), "Type de données incorrect pour 'Chemin'");
    EXPECT_EQ(ErrorBoxText("Accès refusé"), "Accès refusé.");  // é is after "."
    EXPECT_EQ(ErrorBoxText("Ne peut écrire dans C:/"), "Ne peut écrire dans C:/.");  // "/" is after "."
}

TEST(ErrorBoxText, KeepsTextsEndingAtOrBeforeTheFullStop) {
    EXPECT_EQ(ErrorBoxText("Disque plein."), "Disque plein.");
    EXPECT_EQ(ErrorBoxText("Attention !"), "Attention !");
    EXPECT_EQ(ErrorBoxText("Fin -"), "Fin -");
    EXPECT_EQ(ErrorBoxText("(code)"), "(code)");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ProgressScale, MaximaWithin32BitsAreNotScaled) {
    EXPECT_EQ(ProgressShift(100), 0);
    EXPECT_EQ(ProgressShift(99'123'200), 0);
    EXPECT_EQ(ProgressShift(INT32_MAX), 0);
    EXPECT_EQ(ScaleProgress(99'123'200, 99'123'200, 0), 99'123'200);
    EXPECT_EQ(ScaleProgress(2048, 99'123'200, 0), 2048);
}

TEST(ProgressScale, LargeMaximaAreHalvedUntilTheyFit) {
    const std::int64_t fiveGiB = 5LL << 30;
    const int shift = ProgressShift(fiveGiB);
    EXPECT_EQ(shift, 2);  // 5 GiB / 4 = 1.25 GiB fits, 5 GiB / 2 does not
    EXPECT_LE(fiveGiB >> shift, INT32_MAX);
    EXPECT_GT(fiveGiB >> (shift - 1), INT32_MAX);
    EXPECT_EQ(ScaleProgress(fiveGiB, fiveGiB, shift), static_cast<std::int32_t>(fiveGiB >> 2));
    EXPECT_EQ(ScaleProgress(fiveGiB / 2, fiveGiB, shift), static_cast<std::int32_t>(fiveGiB >> 3));
    EXPECT_EQ(ProgressShift(INT64_MAX), 32);
    EXPECT_EQ(ProgressShift(static_cast<std::int64_t>(INT32_MAX) + 1), 1);
}

TEST(ProgressScale, PositionsAreClampedToTheRange) {
    EXPECT_EQ(ScaleProgress(5000, 4096, 0), 4096);
    EXPECT_EQ(ScaleProgress(-1, 4096, 0), 0);
    EXPECT_EQ(ScaleProgress(10, -5, 0), 0);
}

Rect R(int l, int t, int r, int b) { return Rect{l, t, r, b}; }

TEST(LayoutAligned, StacksEdgesAndGivesTheRestToTheClient) {
    // Main window layout: top dock 42 high, bottom dock empty, progress bar 15.
    const Rect client = R(0, 0, 304, 253);
    const std::vector<AlignItem> items = {
        {Align::Top, R(0, 0, 304, 42)},
        {Align::Bottom, R(0, 200, 304, 200)},     // empty bottom dock, above the bar
        {Align::Bottom, R(0, 238, 304, 253)},     // progress bar, lowest
        {Align::None, R(8, 56, 297, 225)},        // log area stays put
    };
    const auto placed = LayoutAligned(client, items);
    EXPECT_EQ(placed[0], R(0, 0, 304, 42));
    EXPECT_EQ(placed[2], R(0, 238, 304, 253));
    EXPECT_EQ(placed[1], R(0, 238, 304, 238));
    EXPECT_EQ(placed[3], R(8, 56, 297, 225));
}

TEST(LayoutAligned, OrdersEachEdgeByPositionAndFitsSidesBetweenTopAndBottom) {
    const Rect client = R(0, 0, 200, 100);
    const std::vector<AlignItem> items = {
        {Align::Top, R(0, 30, 10, 40)},     // second from the top (lower top)
        {Align::Top, R(0, 0, 10, 20)},      // first
        {Align::Left, R(0, 0, 15, 5)},
        {Align::Right, R(150, 0, 200, 5)},
        {Align::Client, R(0, 0, 1, 1)},
    };
    const auto placed = LayoutAligned(client, items);
    EXPECT_EQ(placed[1], R(0, 0, 200, 20));
    EXPECT_EQ(placed[0], R(0, 20, 200, 30));
    EXPECT_EQ(placed[2], R(0, 30, 15, 100));
    EXPECT_EQ(placed[3], R(150, 30, 200, 100));
    EXPECT_EQ(placed[4], R(15, 30, 150, 100));
}

TEST(LayoutAligned, ClientNeverGetsANegativeSize) {
    const auto placed = LayoutAligned(R(0, 0, 50, 50), {{Align::Top, R(0, 0, 50, 80)}, {Align::Client, R(0, 0, 1, 1)}});
    EXPECT_GE(placed[1].bottom, placed[1].top);
    EXPECT_GE(placed[1].right, placed[1].left);
}

// Every character 5 pixels wide, UTF-8 sequences as one.
int FiveEach(std::string_view text) {
    int characters = 0;
    for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return 5 * characters;
}

TEST(FitInTheMiddle, KeepsTheStartAndTheEndAroundAnEllipsis) {
    EXPECT_EQ(FitInTheMiddle("Fichier: a.zip", 70, FiveEach), "Fichier: a.zip");
    EXPECT_EQ(FitInTheMiddle("Fichier: un-nom-bien-long.zip", 100, FiveEach), "Fichier: ...long.zip");
    EXPECT_EQ(FitInTheMiddle("Fichier: un-nom-bien-long.zip", 104, FiveEach), "Fichier: ...long.zip");
    // Never half a character.
    EXPECT_EQ(FitInTheMiddle("Fichier: \u00e9\u00e9\u00e9\u00e9\u00e9", 50, FiveEach), "Fich...\u00e9\u00e9\u00e9");
    EXPECT_EQ(FitInTheMiddle("abcdef", 14, FiveEach), "...");
    EXPECT_EQ(FitInTheMiddle("abcdef", 0, FiveEach), "...");
    EXPECT_EQ(FitInTheMiddle("", -1, FiveEach), "");
}

TEST(LineView, AViewThatShowsTheLastLineIsScrolledToShowItAtItsNewHeight) {
    struct Case {
        LineView view;
        bool showsLast;
    } cases[] = {
        {{42, 30, 12}, true},   // the empty line after the last break shows
        {{42, 29, 12}, true},   // only the last line of text
        {{42, 28, 12}, false},  // the last line just below the edge
        {{5, 0, 12}, true},     // all of a short text
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShowsLastLine(c.view), c.showsLast) << c.view.lineCount << " " << c.view.firstVisible;
    EXPECT_EQ(FirstLineShowingEnd(42, 12), 30);
    EXPECT_EQ(FirstLineShowingEnd(42, 15), 27);
    EXPECT_EQ(FirstLineShowingEnd(5, 12), 0);  // never above the first line
    EXPECT_EQ(FirstLineShowingEnd(42, 0), 41);
}

TEST(PlaceBeside, RightOfTheOwnerElseLeftElseCentredAndAlwaysOnTheWorkArea) {
    const Rect work{0, 0, 1024, 768};
    struct Case {
        Rect owner;
        Size size;
        Point at;
    };
    const Case cases[] = {
        {{100, 100, 400, 300}, {300, 200}, {400, 100}},   // room on the right
        {{700, 100, 1000, 300}, {300, 200}, {400, 100}},  // on the left
        {{300, 100, 700, 300}, {600, 440}, {200, 0}},     // neither: centred, held below the top
        {{100, 600, 400, 760}, {300, 200}, {400, 568}},   // held above the bottom
        {{10, 10, 20, 20}, {2000, 1000}, {0, 0}},         // larger than the screen
    };
    for (const Case& c : cases) EXPECT_EQ(PlaceBeside(c.owner, c.size, work), c.at) << c.owner.left;
}

// How many times the layout runs for a script of requests and updates
// ('r' request, '(' begin an update, ')' end it), and what was asked for
// while it ran: `echoes` more requests from the layout itself.
struct DeferredCase {
    const char* script;
    int echoes;
    int runs;
};

TEST(DeferredLayout, RunsAtOnceOutsideUpdatesOnceWhenTheOutermostEndsAndAgainWhileAskedFor) {
    const DeferredCase cases[] = {
        {"r", 0, 1},        {"rr", 0, 2},         {"(rrr)", 0, 1},  {"((r)r)", 0, 1},
        {"(()r)", 0, 1},    {"()", 0, 0},          {"r", 3, 4},      {"(r)(r)", 1, 3},
    };
    for (const DeferredCase& c : cases) {
        int runs = 0;
        int echoes = c.echoes;
        DeferredLayout* self = nullptr;
        DeferredLayout layout([&] {
            ++runs;
            if (echoes > 0) {
                --echoes;
                self->Request();
                EXPECT_TRUE(self->Held());  // a request while running waits for the run's end
            }
        });
        self = &layout;
        for (const char* step = c.script; *step; ++step) {
            if (*step == 'r') layout.Request();
            if (*step == '(') layout.BeginUpdate();
            if (*step == ')') layout.EndUpdate();
        }
        EXPECT_EQ(runs, c.runs) << c.script << " with " << c.echoes << " echoes";
        EXPECT_FALSE(layout.Held()) << c.script;
        EXPECT_FALSE(layout.Requested()) << c.script;
    }
}

TEST(DeferredLayout, AnUpdateScopeEndsAndRunsItsLayoutWhenLeftByAnError) {
    int runs = 0;
    DeferredLayout layout([&] { ++runs; });
    try {
        const LayoutUpdate update(layout);
        layout.Request();
        const LayoutUpdate<DeferredLayout> none(static_cast<DeferredLayout*>(nullptr));
        throw std::runtime_error("placing failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(layout.Held());
}

TEST(DeferredLayout, ALayoutRequestedAgainManyTimesRunsEveryPassThenStops) {
    constexpr int kAgain = 200;  // far more than real layouts take, within a debug build's limit
    static_assert(kAgain < DeferredLayout::kDebugPassLimit);
    int runs = 0;
    DeferredLayout* self = nullptr;
    DeferredLayout layout([&] {
        if (++runs <= kAgain) self->Request();
    });
    self = &layout;
    layout.Request();
    EXPECT_EQ(runs, kAgain + 1);
    EXPECT_FALSE(layout.Requested());
    EXPECT_FALSE(layout.Held());
}

#ifndef NDEBUG
TEST(DeferredLayoutDeathTest, ALayoutThatNeverSettlesIsAFault) {
    DeferredLayout* self = nullptr;
    DeferredLayout layout([&] { self->Request(); });
    self = &layout;
    EXPECT_DEATH(layout.Request(), "never settles");
}
#endif

}  // namespace
}  // namespace sorv::tk
