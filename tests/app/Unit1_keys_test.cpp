// The slice-size dialog at the keyboard and under automation tools: arrows
// choose as the focus moves, access keys work without Alt, a click sent the
// moment the dialog is active counts, a long file name stays inside.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <thread>

#include "program_fixture.h"
#include "timer.h"
#include "user_driver.h"

namespace sorv::test {
namespace {

TEST(SliceSizeKeys, ArrowsChooseAsTheFocusMovesAndAccessKeysNeedNoAlt) {
    Program program;
    TForm3& dialog = program.Form3;
    EngineState& state = program.Form1.engine.state;
    UserDriver user;
    HWND focusShown = nullptr;
    std::unique_ptr<tk::Timer> giveUp;
    user.onSliceDialog = [&](HWND) {
        focusShown = GetFocus();
        PostKey(focusShown, VK_DOWN);
        PostKey(focusShown, 'O');  // "&Ok"
        // Should "o" press nothing, the test ends all the same.
        giveUp = std::make_unique<tk::Timer>(3000, [&] { Click(dialog.Button2.Handle()); });
    };
    dialog.Execute(state, "Fichier: a.bin", "Taille: 1,00 Mo");
    EXPECT_EQ(focusShown, dialog.RadioButton4.Handle());
    EXPECT_EQ(GetFocus(), program.Form1.Memo1.Handle());
    EXPECT_TRUE(dialog.RadioButton5.Checked());
    EXPECT_FALSE(dialog.RadioButton4.Checked());
    EXPECT_EQ(state.SizeChoice, 5);
    EXPECT_TRUE(state.DialogAccepted);
}

// Enter is "&Ok", Escape "&Annuler"; Tab goes left to right, top to bottom.
TEST(SliceSizeKeys, EnterAcceptsEscapeCancelsAndTabFollowsTheLayout) {
    Program program;
    TForm3& dialog = program.Form3;
    EngineState& state = program.Form1.engine.state;
    const struct {
        WPARAM key;
        bool accepted;
    } cases[] = {{VK_ESCAPE, false}, {VK_RETURN, true}};
    for (const auto& c : cases) {
        UserDriver user;
        std::vector<HWND> tabbed;
        std::unique_ptr<tk::Timer> giveUp;
        user.onSliceDialog = [&](HWND) {
            // Where Tab goes from each, as the dialog manager finds it.
            for (HWND at = GetFocus(); tabbed.size() < 4; at = GetNextDlgTabItem(dialog.Handle(), at, FALSE))
                tabbed.push_back(at);
            PostKey(GetFocus(), c.key);
            giveUp = std::make_unique<tk::Timer>(3000, [&] { dialog.Close(); });
        };
        state.DialogAccepted = !c.accepted;
        dialog.Execute(state, "Fichier: a.bin", "Taille: 1,00 Mo");
        EXPECT_EQ(tabbed, (std::vector<HWND>{dialog.RadioButton4.Handle(), dialog.Button2.Handle(),
                                             dialog.Button1.Handle(), dialog.RadioButton4.Handle()}));
        EXPECT_EQ(state.DialogAccepted, c.accepted) << c.key;
        EXPECT_FALSE(dialog.Visible());
    }
}

TEST(SliceSizeKeys, AClickSentAsTheDialogBecomesActiveIsNotUndoneByItsActivation) {
    Program program;
    TForm3& dialog = program.Form3;
    EngineState& state = program.Form1.engine.state;
    // An automation tool on another thread sends "&Ok" a click as soon as
    // the dialog is active: it arrives before the activation event's turn.
    std::thread tool;
    tk::HookRegistration hook = dialog.AddHook([&](const tk::Message& m, const tk::NextHook& next) {
        const LRESULT result = next(m);
        if (m.msg == WM_ACTIVATE && LOWORD(m.wParam) != WA_INACTIVE && !tool.joinable()) {
            tool = std::thread([button = dialog.Button1.Handle()] { SendMessageW(button, BM_CLICK, 0, 0); });
            // Ten seconds at most: a lost message fails the test, never hangs it.
            for (int waited = 0; !(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE); ++waited) {
                if (waited == 10'000) {
                    ADD_FAILURE() << "the click never arrived";
                    break;
                }
                Sleep(1);
            }
        }
        return result;
    });
    dialog.Execute(state, "Fichier: a.bin", "Taille: 1,00 Mo");
    tool.join();
    EXPECT_TRUE(state.DialogAccepted);
}

TEST(SliceSizeKeys, ALongFileNameIsShortenedWithinTheDialog) {
    Program program;
    TForm3& dialog = program.Form3;
    const std::string name = "un nom de fichier bien trop long pour tenir dans la petite fen\u00eatre.zip";
    UserDriver user;
    std::string shown;
    user.onSliceDialog = [&](HWND) {
        shown = dialog.Label1.Caption();
        Click(dialog.Button2.Handle());
    };
    dialog.Execute(program.Form1.engine.state, "Fichier: " + name, "Taille: 1,00 Mo");
    EXPECT_TRUE(shown.starts_with("Fichier: un nom")) << shown;
    EXPECT_TRUE(shown.ends_with(".zip")) << shown;
    EXPECT_NE(shown.find("..."), std::string::npos) << shown;
    EXPECT_LE(dialog.Label1.Left() + dialog.Label1.Width(), dialog.ClientSize().cx - dialog.Label1.Left());
}

}  // namespace
}  // namespace sorv::test
