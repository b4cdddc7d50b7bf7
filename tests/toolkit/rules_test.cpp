// The toolkit's pure rules: error box text, progress scaling, alignment,
// file-open filters and colours.
#include <gtest/gtest.h>

#include <cstdint>

#include "align_layout.h"
#include "canvas.h"
#include "error_text.h"
#include "open_dialog.h"
#include "progress_scale.h"

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

RECT R(long l, long t, long r, long b) { return RECT{l, t, r, b}; }

void ExpectRect(const RECT& actual, const RECT& expected) {
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST(LayoutAligned, StacksEdgesAndGivesTheRestToTheClient) {
    // Main window layout: top dock 42 high, bottom dock empty, progress bar 15.
    const RECT client = R(0, 0, 304, 253);
    const std::vector<AlignItem> items = {
        {Align::Top, R(0, 0, 304, 42)},
        {Align::Bottom, R(0, 200, 304, 200)},     // empty bottom dock, above the bar
        {Align::Bottom, R(0, 238, 304, 253)},     // progress bar, lowest
        {Align::None, R(8, 56, 297, 225)},        // log area stays put
    };
    const auto placed = LayoutAligned(client, items);
    ExpectRect(placed[0], R(0, 0, 304, 42));
    ExpectRect(placed[2], R(0, 238, 304, 253));
    ExpectRect(placed[1], R(0, 238, 304, 238));
    ExpectRect(placed[3], R(8, 56, 297, 225));
}

TEST(LayoutAligned, OrdersEachEdgeByPositionAndFitsSidesBetweenTopAndBottom) {
    const RECT client = R(0, 0, 200, 100);
    const std::vector<AlignItem> items = {
        {Align::Top, R(0, 30, 10, 40)},     // second from the top (lower top)
        {Align::Top, R(0, 0, 10, 20)},      // first
        {Align::Left, R(0, 0, 15, 5)},
        {Align::Right, R(150, 0, 200, 5)},
        {Align::Client, R(0, 0, 1, 1)},
    };
    const auto placed = LayoutAligned(client, items);
    ExpectRect(placed[1], R(0, 0, 200, 20));
    ExpectRect(placed[0], R(0, 20, 200, 30));
    ExpectRect(placed[2], R(0, 30, 15, 100));
    ExpectRect(placed[3], R(150, 30, 200, 100));
    ExpectRect(placed[4], R(15, 30, 150, 100));
}

TEST(LayoutAligned, ClientNeverGetsANegativeSize) {
    const auto placed = LayoutAligned(R(0, 0, 50, 50), {{Align::Top, R(0, 0, 50, 80)}, {Align::Client, R(0, 0, 1, 1)}});
    EXPECT_GE(placed[1].bottom, placed[1].top);
    EXPECT_GE(placed[1].right, placed[1].left);
}

TEST(Win32Filter, SeparatesEntriesWithNulsAndEndsWithTwo) {
    const std::wstring filter = Win32Filter("Fichier script (*.d)|*.d");
    EXPECT_EQ(filter, std::wstring(L"Fichier script (*.d)\0*.d\0\0", 26));
    const std::wstring three = Win32Filter(
        "Fichiers compressés|*.zip;*.arj;*.lzh;*.rar|Fichiers executable (*.exe)|*.exe|Tout les fichiers (*.*)|*.*");
    EXPECT_EQ(std::count(three.begin(), three.end(), L'\0'), 7);
    EXPECT_EQ(three.substr(0, 19), L"Fichiers compressés");
    EXPECT_TRUE(Win32Filter("").empty());
}

TEST(ColorToRgb, SystemColoursByIndexAndPlainRgb) {
    EXPECT_EQ(ColorToRgb(0x80000002u), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(ColorToRgb(0x8000000Fu), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRgb(0x00FF0000u), RGB(0, 0, 255));
    EXPECT_EQ(ColorToRgb(0x02123456u), static_cast<COLORREF>(0x123456));
}

}  // namespace
}  // namespace sorv::tk
