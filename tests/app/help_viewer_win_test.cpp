// The help viewer itself: searching as the user types, keyword lookups,
// its keys, one window reused across requests, and help files it cannot read.
#include <cstdlib>
#include <vector>

#include "help_fixture.h"
#include "window_probe.h"

namespace sorv::test {
namespace {

using HelpViewerTest = HelpTest;

void Type(HelpViewer& viewer, const std::string& text) {
    SetWindowTextW(ViewerControl(viewer, "Edit1")->Handle(), Widen(text).c_str());
}

// The text of the message box shown while `action` runs, answered with its
// first button.
std::string BoxTextDuring(const std::function<void()>& action) {
    BoxContents contents;
    WhenBoxAppears driver([&](HWND box) {
        contents = ReadBox(box);
        if (!contents.buttonIds.empty()) Press(box, contents.buttonIds.front());
    });
    action();
    EXPECT_NE(contents.icon, nullptr) << "an error box";
    return Narrow(contents.text);
}

TEST_F(HelpViewerTest, TypingSearchesTitlesThenTextsAndTheListChoosesTheTopic) {
    ShowHelpSearch(registry);
    Type(viewer, "DISQUETTE");
    const std::vector<std::string> found = viewer.ListedTitles();
    ASSERT_GE(found.size(), 2u);
    EXPECT_EQ(found[0], "Formater une disquette") << "the title match comes first";
    EXPECT_EQ(viewer.ListCaption(), "Rubriques trouv\u00e9es : " + std::to_string(found.size()));
    EXPECT_EQ(viewer.ShownTitle(), "Formater une disquette");

    // Moving down the list shows the next topic found.
    HWND list = ViewerControl(viewer, "ListBox1")->Handle();
    SetFocus(list);
    PostKey(list, VK_DOWN);
    PumpUntil([&] { return viewer.ShownTitle() != "Formater une disquette"; });
    EXPECT_EQ(viewer.ListIndex(), 1);
    EXPECT_EQ(viewer.ShownTitle(), found[1]);
    EXPECT_EQ(viewer.ShownText(), ShippedTopic(found[1]).body);

    Type(viewer, "disquette introuvablement");
    EXPECT_EQ(viewer.ListCaption(), "Aucune rubrique trouv\u00e9e");
    EXPECT_TRUE(viewer.ListedTitles().empty());
    EXPECT_EQ(viewer.ShownTitle(), "");
    EXPECT_EQ(viewer.ShownText(), "");

    Type(viewer, "  ");
    EXPECT_EQ(viewer.ListCaption(), "Sommaire");
    EXPECT_EQ(viewer.ListedTitles(), ShippedTitles());
}

TEST_F(HelpViewerTest, KeywordLookupIgnoresCaseAndReportsAnUnknownKeyword) {
    tk::App().HelpFile = file;
    tk::App().HelpKeyword(HELP_PARTIALKEY, "NOUV");
    EXPECT_EQ(viewer.ShownTitle(), "Nouveaut\u00e9s");

    tk::App().HelpKeyword(HELP_PARTIALKEY, "disquette");
    EXPECT_GE(viewer.ListedTitles().size(), 2u);
    EXPECT_EQ(viewer.ListIndex(), 0);
    EXPECT_EQ(viewer.FocusedControl(), "ListBox1");

    tk::App().HelpKeyword(HELP_PARTIALKEY, "xyz");
    EXPECT_EQ(viewer.ListCaption(), "Mot-cl\u00e9 introuvable : xyz");
    EXPECT_TRUE(viewer.ListedTitles().empty());
    EXPECT_EQ(viewer.SearchText(), "xyz");
    EXPECT_EQ(viewer.FocusedControl(), "Edit1");
}

TEST_F(HelpViewerTest, TabMovesAroundEnterGoesToTheListAndEscapeHides) {
    ShowHelpSearch(registry);
    const auto focusAfter = [&](const char* from, WPARAM key) {
        HWND control = ViewerControl(viewer, from)->Handle();
        SetFocus(control);
        PostKey(control, key);
        PumpUntil([&] { return GetFocus() != control; }, 1000);
        return viewer.FocusedControl();
    };
    EXPECT_EQ(focusAfter("Edit1", VK_TAB), "ListBox1");
    EXPECT_EQ(focusAfter("ListBox1", VK_TAB), "Memo1");
    EXPECT_EQ(focusAfter("Memo1", VK_TAB), "Edit1");
    EXPECT_EQ(focusAfter("Edit1", VK_RETURN), "ListBox1");
    EXPECT_EQ(viewer.SearchText(), "") << "the keys leave no character behind";

    SetFocus(ViewerControl(viewer, "Memo1")->Handle());
    PostKey(ViewerControl(viewer, "Memo1")->Handle(), VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return !viewer.Showing(); }));
}

TEST_F(HelpViewerTest, OneWindowServesEveryRequestAndClosingOnlyHidesIt) {
    ShowHelpContents(registry);
    HWND window = viewer.Handle();
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(viewer.Showing());
    EXPECT_TRUE(IsWindow(window));

    ShowHelpSearch(registry);
    EXPECT_EQ(ShownViewer(), &viewer);
    EXPECT_EQ(viewer.Handle(), window);
    tk::App().HelpCommand(HELP_QUIT, 0);
    EXPECT_FALSE(viewer.Showing());
    ShowWhatsNew(registry);
    EXPECT_EQ(viewer.Handle(), window);
    EXPECT_TRUE(viewer.Showing());
}

TEST_F(HelpViewerTest, ItOpensBesideTheWindowThatAskedOrCentredOnIt) {
    ShowHelpContents(registry);
    RECT owner{};
    RECT shown{};
    GetWindowRect(main.Handle(), &owner);
    GetWindowRect(viewer.Handle(), &shown);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(main.Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    EXPECT_TRUE(shown.left >= work.left && shown.top >= work.top && shown.right <= work.right &&
                shown.bottom <= work.bottom);
    const bool beside = (shown.left == owner.right || shown.right == owner.left) && shown.top == owner.top;
    const bool centred = std::abs((shown.left + shown.right) - (owner.left + owner.right)) <= 1 &&
                         std::abs((shown.top + shown.bottom) - (owner.top + owner.bottom)) <= 1;
    EXPECT_TRUE(beside || centred) << shown.left << "," << shown.top << " by " << owner.left << "," << owner.top;
}

// Resizing lays the list and the topic out again, one margin from the
// right and bottom edges.
TEST_F(HelpViewerTest, TheListAndTheTopicFollowTheWindowsSize) {
    ShowHelpSearch(registry);
    for (const Size outer : {Size{640, 480}, Size{820, 600}}) {
        SetWindowPos(viewer.Handle(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const Size client = viewer.ClientSize();
        const Rect topic = ViewerControl(viewer, "Memo1")->BoundsRect();
        EXPECT_EQ(ViewerControl(viewer, "ListBox1")->BoundsRect().bottom, topic.bottom);
        EXPECT_EQ(client.cx - topic.right, client.cy - topic.bottom) << outer.cx << "x" << outer.cy;
        // Every title shows whole: the list needs no horizontal scrolling.
        HWND list = ViewerControl(viewer, "ListBox1")->Handle();
        RECT inside{};
        GetClientRect(list, &inside);
        EXPECT_LE(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), inside.right) << outer.cx << "x" << outer.cy;
    }
}

// Where the text after each tab of the shown topic stands: its left edge,
// and whether its row keeps to one line.
struct Column {
    int left;
    bool oneLine;
};

std::vector<Column> ColumnsShown(HWND edit) {
    const std::wstring text = TextOf(edit);
    std::vector<Column> columns;
    std::size_t rowStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n') rowStart = i + 1;
        if (text[i] != L'\t') continue;
        const LRESULT at = SendMessageW(edit, EM_POSFROMCHAR, i + 1, 0);
        const LRESULT start = SendMessageW(edit, EM_POSFROMCHAR, rowStart, 0);
        columns.push_back({static_cast<short>(LOWORD(at)), HIWORD(at) == HIWORD(start)});
    }
    return columns;
}

// The tables are laid out by the viewer: in its proportional font each
// column starts at one place, and at the viewer's first size no row wraps.
TEST_F(HelpViewerTest, TheColumnsOfATopicsTablesLineUp) {
    tk::App().HelpFile = file;
    for (const char* keyword : {"Taille Maximum", "barre d'outils", "Effacer l'\u00e9cran"}) {
        tk::App().HelpKeyword(HELP_PARTIALKEY, keyword);
        ASSERT_EQ(viewer.ListedTitles().size(), 1u) << keyword;
        HWND edit = ViewerControl(viewer, "Memo1")->Handle();
        const std::vector<Column> columns = ColumnsShown(edit);
        ASSERT_GE(columns.size(), 7u) << keyword;
        for (const Column& column : columns) {
            EXPECT_EQ(column.left, columns.front().left) << keyword;
            EXPECT_TRUE(column.oneLine) << keyword;
        }
    }
}

TEST_F(HelpViewerTest, AViewerWhoseOwnerIsGoneComesBackWithTheNextRequest) {
    {
        tk::Form dialog(HelpTestDescription("TForm3", 40));
        dialog.HelpFile = file;
        dialog.Show();
        PumpUntil([&] { return GetActiveWindow() == dialog.Handle(); });
        tk::App().HelpContext(40);
        ASSERT_EQ(OwnerOf(viewer), dialog.Handle());
    }
    EXPECT_EQ(viewer.Handle(), nullptr) << "destroyed with its owner";
    PumpUntil([&] { return GetActiveWindow() == main.Handle(); });
    ShowHelpContents(registry);
    ASSERT_EQ(ShownViewer(), &viewer);
    EXPECT_EQ(OwnerOf(viewer), main.Handle());
    EXPECT_EQ(viewer.ListedTitles(), ShippedTitles());
    EXPECT_EQ(viewer.ShownTitle(), shipped.topics[0].title);
}

TEST_F(HelpViewerTest, AHelpFileThatCannotBeReadIsReportedAndChangesNothing) {
    // A file that is not there (a window's own help file).
    tk::App().HelpFile = dir.Path("absent.hlp");
    EXPECT_EQ(BoxTextDuring([] { tk::App().HelpCommand(HELP_CONTENTS, 0); }),
              "Impossible d'ouvrir le fichier d'aide " + dir.Path("absent.hlp") + ".");
    EXPECT_EQ(ShownViewer(), nullptr);

    ShowWhatsNew(registry);
    ASSERT_TRUE(viewer.Showing());
    WriteFileBytes(dir.Path("vide.hlp"), std::string("\0\x01garbage\n@context 10\n", 21));
    std::string huge = "@topic A\n";
    huge.resize(kMaxHelpFileBytes + 1, 'x');
    WriteFileBytes(dir.Path("\u00e9norme.hlp"), huge);
    tk::App().HelpFile = dir.Path("vide.hlp");
    EXPECT_EQ(BoxTextDuring([] { tk::App().HelpContext(10); }),
              "Le fichier d'aide " + dir.Path("vide.hlp") + " ne contient aucune rubrique.");
    tk::App().HelpFile = dir.Path("\u00e9norme.hlp");
    EXPECT_EQ(BoxTextDuring([] { tk::App().HelpCommand(HELP_CONTENTS, 0); }),
              "Le fichier d'aide " + dir.Path("\u00e9norme.hlp") + " est trop volumineux.");
    EXPECT_TRUE(viewer.Showing());
    EXPECT_EQ(viewer.ShownTitle(), "Nouveaut\u00e9s");
}

}  // namespace
}  // namespace sorv::test
