// Closing the main window during a split asks first, and the window closes
// only once the split has stopped and cleaned up (alone in its executable:
// the last case ends the message loop for good).
#include <gtest/gtest.h>

#include "program_fixture.h"
#include "temp_dir.h"
#include "user_driver.h"

namespace sorv::test {
namespace {

struct CloseCase {
    const char* how;
    UINT msg;  // posted to the main window after the first slice
    WPARAM command;
    int answer;
    int posts = 1;  // a second close while the question shows asks nothing more
};

TEST(Close, DuringASplitAsksFirstThenStopsTheSplitAndClosesOnlyOnYes) {
    TempDir dir;
    Program program;
    WatchedForm1& form = program.Form1;
    UserDriver user;
    user.onSliceDialog = [&](HWND) {
        Click(program.Form3.RadioButton1.Handle());
        Click(program.Form3.Button1.Handle());
    };
    const CloseCase cases[] = {
        {"close box, No", WM_SYSCOMMAND, SC_CLOSE, IDNO},
        {"closed twice, No", WM_CLOSE, 0, IDNO, 2},
        {"Quitter, No", WM_COMMAND, form.Quitter1.CommandId(), IDNO},
        {"Quitter, Yes", WM_COMMAND, form.Quitter1.CommandId(), IDYES},  // last: it ends the loop
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.how);
        const std::string source = dir.Path(std::string(c.how) + ".bin");  // a set of its own
        WriteFileBytes(source, PatternBytes(5 * 358'400));
        user.boxes.clear();
        user.onBox = [&](HWND box, const BoxContents&) { Press(box, c.answer); };
        bool posted = false, endedEarly = false;
        form.afterLine = [&](const std::string& line) {
            endedEarly = endedEarly || tk::App().Terminated() || !IsWindowVisible(form.Handle());
            if (!posted && line.starts_with(form.engine.SliceFileName(source, 1))) {
                posted = true;
                for (int i = 0; i < c.posts; ++i) PostMessageW(form.Handle(), c.msg, c.command, 0);
            }
        };
        form.engine.StartSplit(source);
        ASSERT_EQ(user.boxes.size(), 1u);
        EXPECT_EQ(user.boxes[0].text, L"Voulez-vous arreter le traitement?");
        EXPECT_FALSE(endedEarly);
        EXPECT_FALSE(tk::App().Terminated()) << "not while the split is on the stack";
        const bool stopped = c.answer == IDYES;
        EXPECT_EQ(form.Memo1.Lines().back(), stopped ? "Arr\u00eat." : "...Ok");
        EXPECT_EQ(FileExists(form.engine.ScriptFileName(source)), !stopped);
        EXPECT_EQ(PumpUntil([] { return tk::App().Terminated(); }, 300), stopped);
        EXPECT_TRUE(IsWindow(form.Handle()));
    }
}

}  // namespace
}  // namespace sorv::test
