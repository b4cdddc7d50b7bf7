// "&Quitter" ends the program (alone in its executable: it ends the message
// loop for good).
#include <gtest/gtest.h>

#include "program_fixture.h"

namespace sorv::test {
namespace {

TEST(Quit, TheQuitCommandEndsTheMessageLoop) {
    Program program;
    PostMessageW(program.Form1.Handle(), WM_COMMAND, MAKEWPARAM(program.Form1.Quitter1.CommandId(), 0), 0);
    ASSERT_TRUE(PumpUntil([] { return tk::App().Terminated(); }));
    EXPECT_FALSE(tk::App().HandleMessage());
    // The windows go when the program's objects do, not before.
    EXPECT_TRUE(IsWindow(program.Form1.Handle()));
    EXPECT_FALSE(IsWindowVisible(program.Form3.Handle()));
}

}  // namespace
}  // namespace sorv::test
