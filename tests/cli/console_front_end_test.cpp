#include "console_front_end.h"
#include "io_error.h"

#include <gtest/gtest.h>

#include "file_system.h"
#include "interrupt.h"
#include "temp_dir.h"

namespace sorv {
namespace {

// Three temporary files standing for the console's streams.
class ConsoleFrontEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        console.in = std::tmpfile();
        console.out = std::tmpfile();
        console.err = std::tmpfile();
        ASSERT_TRUE(console.in && console.out && console.err);
        TakeInterrupt();  // none left over from another test
    }
    void TearDown() override {
        for (std::FILE* f : {console.in, console.out, console.err})
            if (f) std::fclose(f);
    }
    void Type(const std::string& typed) {
        std::fwrite(typed.data(), 1, typed.size(), console.in);
        std::rewind(console.in);
    }
    static std::string Contents(std::FILE* f) {
        std::fflush(f);
        std::rewind(f);
        std::string all;
        char buffer[512];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) all.append(buffer, got);
        return all;
    }
    Console console;
};

TEST_F(ConsoleFrontEndTest, TerminalQuestionIsAskedAgainUntilItMeansSomething) {
    console.inIsTerminal = true;
    Type("peut-etre\n\nOUI\nn\n");
    ConsoleFrontEnd ui(console, 4, AutoAnswer::Ask);
    EXPECT_EQ(ui.AskConfirmation("Effacer les tranches et le script ?"), Answer::Yes);
    EXPECT_EQ(ui.AskWarning("Le fichier :x est en lecture seule.\r\nVoulez-Vous le déproteger?"), Answer::No);
    // End of input: the box counts as closed without an answer.
    EXPECT_EQ(ui.AskPlain("Voulez-vous arreter le traitement?"), Answer::None);
    const std::string q = "Effacer les tranches et le script ? [o/n] ";
    EXPECT_EQ(Contents(console.err),
              q + q + q + "Le fichier :x est en lecture seule.\nVoulez-Vous le déproteger? [o/n] " +
                  "Voulez-vous arreter le traitement? [o/n] \n");
    EXPECT_EQ(Contents(console.out), "");
}

TEST_F(ConsoleFrontEndTest, LastAnswerWithoutLineEndCounts) {
    console.inIsTerminal = true;
    Type("non");
    ConsoleFrontEnd ui(console, 4, AutoAnswer::Ask);
    EXPECT_EQ(ui.AskConfirmation("?"), Answer::No);
}

TEST_F(ConsoleFrontEndTest, NoTerminalMeansNoAnswerWithoutReading) {
    Type("o\n");
    ConsoleFrontEnd ui(console, 4, AutoAnswer::Ask);
    EXPECT_EQ(ui.AskConfirmation("Le fichier à reconstituer existe déjà ! Voulez vous l'effacer ?"), Answer::None);
    EXPECT_EQ(std::ftell(console.in), 0);
}

TEST_F(ConsoleFrontEndTest, InterruptStopsOnlyARunningOperation) {
    ConsoleFrontEnd ui(console, 4, AutoAnswer::Ask);
    EngineState state;
    ui.Watch(state);
    NoteInterrupt();
    ui.ProcessMessages();  // not busy yet: kept for later
    EXPECT_FALSE(state.CancelRequested);
    state.Busy = true;
    ui.ProcessMessages();
    EXPECT_TRUE(state.CancelRequested);
    // Taken once: the next operation is not stopped by the same Ctrl+C.
    state.CancelRequested = false;
    ui.ProcessMessages();
    EXPECT_FALSE(state.CancelRequested);
    // One that comes after the copy, before -y answers, answers No.
    ConsoleFrontEnd yes(console, 4, AutoAnswer::Yes);
    EXPECT_EQ(yes.AskConfirmation("Effacer les tranches et le script ?"), Answer::Yes);
    NoteInterrupt();
    EXPECT_EQ(yes.AskConfirmation("Effacer les tranches et le script ?"), Answer::No);
}

// The only test that sends interrupts through the handler: its count is
// for the whole run.
TEST_F(ConsoleFrontEndTest, ASecondInterruptRemovesThePartialFileBeforeTheProgramEnds) {
    test::TempDir dir;
    auto partial = NativeFileSystem().CreateTemporary(dir.Path("a.\xC2\xB0" "00"));
    EXPECT_FALSE(HandleInterrupt());
    EXPECT_TRUE(TakeInterrupt());
    EXPECT_TRUE(test::FileExists(dir.Path("a.\xC2\xB0" "00")));
    EXPECT_TRUE(HandleInterrupt());
    partial.reset();
    EXPECT_FALSE(test::FileExists(dir.Path("a.\xC2\xB0" "00")));
}

TEST_F(ConsoleFrontEndTest, FailuresGoToBothStreamsAndErrorsNameTheirFile) {
    ConsoleFrontEnd ui(console, 4, AutoAnswer::Ask);
    ui.ReportFailure("Taille reconstituée incorrecte");
    ui.ShowError(IoError(101, "/x/a.\xC2\xB0" "00").what());
    ui.ShowError(IoError(1117).what());
    EXPECT_EQ(Contents(console.out), "Taille reconstituée incorrecte\n");
    EXPECT_EQ(Contents(console.err), "Taille reconstituée incorrecte\n/x/a.\xC2\xB0" "00 : Disque plein.\n"
                                     "Erreur matérielle de lecture ou d'écriture.\n");
}

TEST_F(ConsoleFrontEndTest, ProgressOnTerminalOnlyAndClearedBeforeOtherOutput) {
    {
        ConsoleFrontEnd quiet(console, 4, AutoAnswer::Ask);
        quiet.SetProgressMax(1000);
        quiet.AdvanceProgress(500);
        quiet.ProcessMessages();
        EXPECT_EQ(Contents(console.err), "");
    }
    console.errIsTerminal = true;
    ConsoleFrontEnd ui(console, 4, AutoAnswer::Ask);
    ui.SetProgressMax(4000);
    ui.AdvanceProgress(2048);
    ui.ProcessMessages();
    ui.AppendLog("ligne");
    ui.AdvanceProgress(2048);
    ui.AdvanceProgress(2048);  // stops at the maximum
    ui.ProcessMessages();
    ui.ResetProgress();
    ui.ProcessMessages();  // a clean-up's message runs: nothing more to show
    ui.ShowMessage("fin");
    const std::string clear = "\r       \r";
    EXPECT_EQ(Contents(console.err), "\r  51 %" + clear + "\r 100 %" + clear + "fin\n");
    EXPECT_EQ(Contents(console.out), "ligne\n");
}

}  // namespace
}  // namespace sorv
