// The program's help requests ending in the viewer: the three help items,
// F1 in the main window and in the two dialogs, and which help file and
// owner a request takes.
#include "help_fixture.h"

#include "buttons.h"

namespace sorv::test {
namespace {

using HelpRequests = HelpTest;

TEST_F(HelpRequests, TheContentsItemOpensTheInstalledFileAtTheContents) {
    ShowHelpContents(registry);
    EXPECT_EQ(tk::App().HelpFile, file);
    HelpViewer* shown = ShownViewer();
    ASSERT_EQ(shown, &viewer);
    EXPECT_EQ(OwnerOf(viewer), main.Handle());
    EXPECT_EQ(viewer.ListCaption(), "Sommaire");
    EXPECT_EQ(viewer.ListedTitles(), ShippedTitles());
    EXPECT_EQ(viewer.ListIndex(), 0);
    EXPECT_EQ(viewer.ShownTitle(), shipped.topics[0].title);
    EXPECT_EQ(viewer.ShownText(), shipped.topics[0].body);
    EXPECT_EQ(viewer.SearchText(), "");
    EXPECT_EQ(viewer.FocusedControl(), "ListBox1");
}

// No "Chemin", or none there: the help file beside the program opens.
TEST_F(HelpRequests, WithoutTheInstalledFileTheContentsOpenTheProgramsOwn) {
    for (const bool stored : {false, true}) {
        SCOPED_TRACE(stored ? "folder without the file" : "nothing stored");
        MemoryRegistry bare;
        if (stored) bare.WriteString(kSettingsRoot, kSettingsKey, kInstallFolderSetting, dir.Path("vide\\"));
        int boxes = 0;
        WhenBoxAppears count([&](HWND box) {
            ++boxes;
            Press(box, IDOK);
        });
        ShowHelpContents(bare);
        EXPECT_TRUE(tk::App().HelpFile.ends_with("\\sorv.hlp")) << tk::App().HelpFile;
        EXPECT_EQ(ReadFileBytes(tk::App().HelpFile), ReadFileBytes(file));
        EXPECT_EQ(viewer.ShownTitle(), shipped.topics[0].title);
        EXPECT_EQ(boxes, 0);
    }
}

TEST_F(HelpRequests, TheSearchItemOpensTheSearchWithEveryTopicListed) {
    ShowHelpSearch(registry);
    ASSERT_EQ(ShownViewer(), &viewer);
    EXPECT_EQ(viewer.FocusedControl(), "Edit1");
    EXPECT_EQ(viewer.SearchText(), "");
    EXPECT_EQ(viewer.ListedTitles(), ShippedTitles());
}

TEST_F(HelpRequests, TheWhatsNewItemShowsTheTopicOfItsKeywordDirectly) {
    ShowWhatsNew(registry);
    ASSERT_EQ(ShownViewer(), &viewer);
    EXPECT_EQ(viewer.SearchText(), "Nouveaut\u00e9s");
    EXPECT_EQ(viewer.ListCaption(), "Mot-cl\u00e9 : Nouveaut\u00e9s");
    EXPECT_EQ(viewer.ListedTitles(), (std::vector<std::string>{"Nouveaut\u00e9s"}));
    EXPECT_EQ(viewer.ShownTitle(), "Nouveaut\u00e9s");
    EXPECT_EQ(viewer.ShownText(), ShippedTopic("Nouveaut\u00e9s").body);
}

TEST_F(HelpRequests, F1InTheMainWindowAndInEachModalDialogShowsItsContextsTopic) {
    tk::App().HelpFile = file;
    memo.SetFocus();
    PostKey(memo.Handle(), VK_F1);
    ASSERT_TRUE(PumpUntil([] { return ShownViewer() != nullptr; }));
    EXPECT_EQ(viewer.ShownTitle(), "Bienvenue dans Sorv");
    EXPECT_EQ(OwnerOf(viewer), main.Handle());

    // The dialogs have their own help file, as the program gives them; each
    // is shown modally, which disables the viewer already open.
    tk::Form sizeDialog(HelpTestDescription("TForm3", 40));
    tk::Button sizeOk(sizeDialog, "Button1", Rect::FromOrigin({184, 168}, {73, 25}), "&Ok");
    tk::Form optionsDialog(HelpTestDescription("TForm4", 50));
    tk::Button optionsOk(optionsDialog, "Button1", Rect::FromOrigin({158, 144}, {75, 25}), "&Ok");
    sizeDialog.HelpFile = optionsDialog.HelpFile = file;
    struct Seen {
        std::string title;
        HWND owner = nullptr;
        bool enabled = false;
    };
    auto askHelp = [&](tk::Form& dialog, tk::Button& button, Seen& seen) {
        WhenWindowAppears driver(Widen(dialog.ClassName()).c_str(), [&](HWND) {
            button.SetFocus();
            const std::string before = viewer.ShownTitle();
            PostKey(button.Handle(), VK_F1);
            PumpUntil([&] { return viewer.ShownTitle() != before; });
            seen = {viewer.ShownTitle(), OwnerOf(viewer), IsWindowEnabled(viewer.Handle()) != FALSE};
            dialog.SetModalResult(tk::mrOk);
        });
        dialog.ShowModal();
    };
    Seen inSize;
    Seen inOptions;
    askHelp(sizeDialog, sizeOk, inSize);
    askHelp(optionsDialog, optionsOk, inOptions);
    EXPECT_EQ(inSize.title, "Choisir la taille des tranches");
    EXPECT_EQ(inSize.owner, sizeDialog.Handle());
    EXPECT_TRUE(inSize.enabled);
    EXPECT_EQ(inOptions.title, "Les options");
    EXPECT_EQ(inOptions.owner, optionsDialog.Handle());
    EXPECT_TRUE(inOptions.enabled);
    EXPECT_EQ(viewer.ListedTitles(), ShippedTitles()) << "a context opens the contents at its topic";
}

TEST_F(HelpRequests, AControlsOwnContextWinsAndAnUnknownContextOpensTheContents) {
    tk::App().HelpFile = file;
    const std::pair<int, std::string> cases[] = {{40, "Choisir la taille des tranches"},
                                                 {12345, shipped.topics[0].title}};
    for (const auto& [context, title] : cases) {
        viewer.Hide();
        PumpUntil([&] { return GetActiveWindow() == main.Handle(); });
        memo.SetFocus();
        memo.HelpContext = context;
        PostKey(memo.Handle(), VK_F1);
        ASSERT_TRUE(PumpUntil([] { return ShownViewer() != nullptr; })) << context;
        EXPECT_EQ(viewer.ShownTitle(), title) << context;
        EXPECT_EQ(viewer.ListIndex(), static_cast<int>(TopicForContext(shipped, context).value_or(0))) << context;
    }
}

TEST_F(HelpRequests, ARequestTakesTheActiveWindowsHelpFileElseTheApplications) {
    WriteFileBytes(dir.Path("autre.hlp"), "@topic Autre aide\n@keywords Nouveaut\u00e9s\nD'un autre fichier.\n");
    main.HelpFile = dir.Path("autre.hlp");
    ShowWhatsNew(registry);
    EXPECT_EQ(tk::App().HelpFile, file) << "the item still sets the application's help file";
    EXPECT_EQ(viewer.ShownTitle(), "Autre aide");
    EXPECT_EQ(OwnerOf(viewer), main.Handle());

    // A dialog without a help file of its own: the application's, owned by
    // the main window.
    tk::Form dialog(HelpTestDescription("TForm3", 40));
    dialog.Show();
    PumpUntil([&] { return GetActiveWindow() == dialog.Handle(); });
    ASSERT_EQ(GetActiveWindow(), dialog.Handle());
    tk::App().HelpContext(40);
    EXPECT_EQ(viewer.ShownTitle(), "Choisir la taille des tranches");
    EXPECT_EQ(OwnerOf(viewer), main.Handle());

    // With its own, the dialog's file, owned by the dialog.
    dialog.HelpFile = dir.Path("autre.hlp");
    SetActiveWindow(dialog.Handle());
    PumpUntil([&] { return GetActiveWindow() == dialog.Handle(); });
    tk::App().HelpContext(40);
    EXPECT_EQ(viewer.ShownTitle(), "Autre aide") << "no topic for 40 there: the contents";
    EXPECT_EQ(OwnerOf(viewer), dialog.Handle());
    dialog.Hide();
}

}  // namespace
}  // namespace sorv::test
