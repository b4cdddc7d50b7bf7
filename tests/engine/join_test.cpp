#include "engine_fixture.h"
#include "io_error.h"
#include "links.h"

namespace sorv::test {
namespace {

using Lines = std::vector<std::string>;

class JoinOnDisk : public EngineOnDisk {
protected:
    // A 3,000,000-byte ARCHIVE.ZIP split at 1.4 Mo, then the source removed.
    std::string bytes;
    void SetUp() override {
        bytes = SplitNew("ARCHIVE.ZIP", 3'000'000, 4);
        std::filesystem::remove(PathFromUtf8(dir.Path("ARCHIVE.ZIP")));
        ui.log.clear();
        ui.positionsAtMessageRuns.clear();
        ui.messageRuns = 0;
    }
    std::string script() const { return Script("ARCHIVE.ZIP"); }
    void WriteScript(const std::string& name, const std::string& body) {
        WriteFileBytes(dir.Path(name), "[Sorv]\r\n" + body);
    }
};

TEST_F(JoinOnDisk, RebuildsTheFileAndDeletesSlicesAndScriptOnRequest) {
    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.Dispatch(script()), Outcome::Completed);
    EXPECT_EQ(ui.log, (Lines{"Fichier ouvert :" + script(), "Nom original :" + dir.Path("ARCHIVE.ZIP"),
                             "Taille originale :3000000octet(s)", "Nombre de tranches :3",
                             "Vérification de l'existence des tranches", "Vérification OK.",
                             Slice("ARCHIVE.ZIP", 1) + ": 1433600 octet(s)",
                             Slice("ARCHIVE.ZIP", 2) + ": 1433600 octet(s)",
                             Slice("ARCHIVE.ZIP", 3) + ": 132800 octet(s)", "...Ok"}));
    EXPECT_EQ(ui.boxes, (Lines{"confirmation: Effacer les tranches et le script ?"}));
    EXPECT_EQ(ReadFileBytes(dir.Path("ARCHIVE.ZIP")), bytes);
    // Each slice's reads, plus its final empty read, move the bar 2048 each;
    // messages run again before each of the four deletions, the bar at 0.
    EXPECT_EQ(ui.positionsAtMessageRuns, (std::vector<std::int64_t>{0, 1'435'648, 2'871'296, 3'000'000, 0, 0, 0, 0}));
    EXPECT_EQ(ui.progressPosition, 0);
    EXPECT_FALSE(FileExists(script()));
    for (int k = 1; k <= 3; ++k) EXPECT_FALSE(FileExists(Slice("ARCHIVE.ZIP", k)));
}

TEST_F(JoinOnDisk, KeepsSlicesWhenDeletionIsDeclinedAndLeftoversAlways) {
    WriteFileBytes(Slice("ARCHIVE.ZIP", 4), "leftover");
    ui.answers = {Answer::No};
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Completed);
    EXPECT_TRUE(FileExists(script()));
    EXPECT_TRUE(FileExists(Slice("ARCHIVE.ZIP", 3)));
    std::filesystem::remove(PathFromUtf8(dir.Path("ARCHIVE.ZIP")));
    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Completed);
    EXPECT_FALSE(FileExists(Slice("ARCHIVE.ZIP", 3)));
    EXPECT_TRUE(FileExists(Slice("ARCHIVE.ZIP", 4)));  // not counted by the script
}

// What the user rewrote or made anew while the question was up is theirs
// (a freed inode is given again at once, to the next file made).
TEST_F(JoinOnDisk, FilesChangedWhileTheQuestionWasUpAreKept) {
    const std::string rewritten = Slice("ARCHIVE.ZIP", 1), remade = Slice("ARCHIVE.ZIP", 2);
    ui.onQuestion = [&] {
        WriteFileBytes(rewritten, "mine");
        std::filesystem::remove(PathFromUtf8(remade));
        WriteFileBytes(remade, "mine too");
        WriteFileBytes(script(), "notes");
    };
    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Completed);
    for (const std::string& kept : {script(), rewritten, remade}) EXPECT_TRUE(FileExists(kept)) << kept;
    EXPECT_EQ(ReadFileBytes(remade), "mine too");
    EXPECT_FALSE(FileExists(Slice("ARCHIVE.ZIP", 3)));
    EXPECT_NE(std::find(ui.log.begin(), ui.log.end(), "Non effacé, modifié depuis sa lecture : " + rewritten), ui.log.end());
}

#ifndef _WIN32
// Another run that replaced the rebuilt file while the question was up
// (its user agreed): the set stays, and the log says why. On Windows the
// join holds the file open meanwhile, and no run can replace it.
TEST_F(JoinOnDisk, ARebuiltFileReplacedWhileTheQuestionWasUpKeepsTheSet) {
    const std::string target = dir.Path("ARCHIVE.ZIP");
    ui.onQuestion = [&] {
        WriteFileBytes(dir.Path("other"), "another run's");
        std::filesystem::rename(PathFromUtf8(dir.Path("other")), PathFromUtf8(target));
    };
    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Completed);
    EXPECT_EQ(ui.log.back(), "Tranches et script gardés : " + target + " n'est plus le fichier reconstitué.");
    for (int k = 1; k <= 3; ++k) EXPECT_TRUE(FileExists(Slice("ARCHIVE.ZIP", k)));
    EXPECT_TRUE(FileExists(script()));
}
#endif

// A stop asked once the question is answered (a signal during the sync)
// deletes nothing more.
TEST_F(JoinOnDisk, AStopAfterTheQuestionKeepsTheInputs) {
    ui.answers = {Answer::Yes};
    ui.onMessageRun = [&] {
        if (ui.answers.empty()) engine.state.CancelRequested = true;
    };
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Completed);
    EXPECT_EQ(ui.log.back(), "Effacement arrêté : " + dir.Path("ARCHIVE.ZIP") +
                                 " est reconstitué, ce qui n'est pas encore effacé est gardé.");
    EXPECT_TRUE(FileExists(script()));
    for (int k = 1; k <= 3; ++k) EXPECT_TRUE(FileExists(Slice("ARCHIVE.ZIP", k)));
    // A stop never outlives its flow, even one it came too late for.
    ui.onMessageRun = nullptr;
    engine.state.CancelRequested = true;
    EXPECT_THROW(engine.StartJoin(dir.Path("nothing.d")), IoError);
    EXPECT_FALSE(engine.state.CancelRequested);
}

TEST_F(JoinOnDisk, AMissingSliceStopsBeforeAnythingIsWritten) {
    std::filesystem::remove(PathFromUtf8(Slice("ARCHIVE.ZIP", 2)));
    // What stands in a slice's place and is no file is named as such.
    std::filesystem::create_directory(PathFromUtf8(Slice("ARCHIVE.ZIP", 2)));
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Failed);
    EXPECT_EQ(ui.log.back(), Slice("ARCHIVE.ZIP", 2) + " est un dossier, pas une tranche.");
    std::filesystem::remove(PathFromUtf8(Slice("ARCHIVE.ZIP", 2)));
    if (MakeSymlink(dir.folder(), Slice("ARCHIVE.ZIP", 2))) {
        EXPECT_EQ(engine.StartJoin(script()), Outcome::Failed);
        EXPECT_EQ(ui.log.back(), Slice("ARCHIVE.ZIP", 2) + " n'est pas un fichier ordinaire, pas une tranche.");
        RemoveSymlink(Slice("ARCHIVE.ZIP", 2));
    }
    EXPECT_FALSE(FileExists(dir.Path("ARCHIVE.ZIP")));
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Failed);
    EXPECT_EQ(ui.log.back(), "Il manque la tranche °02");
    EXPECT_FALSE(FileExists(dir.Path("ARCHIVE.ZIP")));

    WriteScript("twelve.d", "NomOriginal=t.bin\r\nTailleOriginale=12\r\nTranches=12\r\n");
    for (int k = 1; k <= 12; ++k)
        if (k != 10) WriteFileBytes(Slice("twelve.d", k), "x");
    EXPECT_EQ(engine.StartJoin(dir.Path("twelve.d")), Outcome::Failed);
    EXPECT_EQ(ui.log.back(), "Il manque la tranche °10");
}

TEST_F(JoinOnDisk, ARenamedScriptUsesItsOwnNameForSlicesAndOnlyTheRecordedNamePart) {
    WriteScript("x.d", "NomOriginal=D:\\OLD\\report.doc\r\nTailleOriginale=5\r\nTranches=2\r\n");
    WriteFileBytes(Slice("x.d", 1), "abc");
    WriteFileBytes(Slice("x.d", 2), "de");
    ui.answers = {Answer::No};
    EXPECT_EQ(engine.StartJoin(dir.Path("x.d")), Outcome::Completed);
    EXPECT_EQ(engine.JoinTarget(dir.Path("x.d")), dir.Path("report.doc"));
    EXPECT_EQ(ReadFileBytes(engine.JoinTarget(dir.Path("x.d"))), "abcde");
}

TEST_F(JoinOnDisk, ARecordedNameCannotLeaveTheScriptsFolder) {
    Engine windowsRules(ui, NativeFileSystem(), kWindowsPaths);
    windowsRules.state.RecordedName = "..\\..\\evil/../x.bin";
    EXPECT_EQ(windowsRules.JoinTarget("C:\\in\\a.d"), "C:\\in\\x.bin");
    windowsRules.state.RecordedName = "C:\\Windows/system.ini";
    EXPECT_EQ(windowsRules.JoinTarget("C:\\in\\a.d"), "C:\\in\\system.ini");
    engine.state.RecordedName = "../../x.bin";
    EXPECT_EQ(engine.JoinTarget(dir.Path("a.d")), dir.Path("x.bin"));
}

TEST_F(JoinOnDisk, AnExistingTargetIsReplacedOnlyOnYes) {
    for (Answer refusal : {Answer::No, Answer::None}) {
        WriteFileBytes(dir.Path("ARCHIVE.ZIP"), "keep me");
        ui.answers = {refusal};
        EXPECT_EQ(engine.StartJoin(script()), Outcome::Stopped);
        EXPECT_EQ(ui.log[ui.log.size() - 2], "Le fichier à reconstituer existe déjà :" + dir.Path("ARCHIVE.ZIP"));
        EXPECT_EQ(ui.log.back(), "Arrêt. ");
        EXPECT_EQ(ReadFileBytes(dir.Path("ARCHIVE.ZIP")), "keep me");
        EXPECT_FALSE(engine.state.Busy);
    }
    ui.answers = {Answer::Yes, Answer::No};
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Completed);
    EXPECT_EQ(ReadFileBytes(dir.Path("ARCHIVE.ZIP")), bytes);
    // A folder of that name is not asked about: it cannot be replaced.
    std::filesystem::remove(PathFromUtf8(dir.Path("ARCHIVE.ZIP")));
    std::filesystem::create_directory(PathFromUtf8(dir.Path("ARCHIVE.ZIP")));
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Failed);
    EXPECT_EQ(ui.log.back(), "Le fichier à reconstituer " + dir.Path("ARCHIVE.ZIP") + " est un dossier : rien n'est reconstitué.");
}

TEST_F(JoinOnDisk, EscapeDuringTheJoinDeletesThePartialTargetAndKeepsTheInputs) {
    ui.onMessageRun = [&] {
        if (ui.messageRuns == 2) {  // after slice 1 of 3
            ui.answers.push_back(Answer::Yes);
            engine.EscapePressed();
        }
    };
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Stopped);
    EXPECT_EQ(ui.log.back(), "Arrêt.");
    EXPECT_FALSE(FileExists(dir.Path("ARCHIVE.ZIP")));
    EXPECT_TRUE(FileExists(script()));
    for (int k = 1; k <= 3; ++k) EXPECT_TRUE(FileExists(Slice("ARCHIVE.ZIP", k)));
    EXPECT_FALSE(engine.state.CancelRequested);
    EXPECT_EQ(ui.progressPosition, 0);
}

// What the interrupt handler of sorv-cli does on a second Ctrl+C (the first
// asked for a stop), just before the process ends: the partial file goes,
// and nothing is called a success.
TEST_F(JoinOnDisk, TheInterruptCleanUpRemovesThePartialFileOfARunningJoin) {
    ui.onMessageRun = [&] {
        if (ui.messageRuns != 2) return;
        EXPECT_TRUE(FileExists(PartialJoinName(script())));
        engine.state.CancelRequested = true;
        // On Windows the name goes when the join closes the file.
        RemoveTemporaryFilesNow();
    };
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Stopped);
    EXPECT_EQ(ui.log.back(), "Arrêt.");
    EXPECT_FALSE(FileExists(PartialJoinName(script())));
    EXPECT_FALSE(FileExists(dir.Path("ARCHIVE.ZIP")));
    EXPECT_TRUE(FileExists(Slice("ARCHIVE.ZIP", 3)));
}

TEST_F(JoinOnDisk, AShortSliceIsReportedAndNothingIsLeftOrOfferedForDeletion) {
    // A script of the layout without fingerprints: only the size tells.
    const std::string withFingerprints = ReadFileBytes(script());
    WriteFileBytes(script(), withFingerprints.substr(0, withFingerprints.find("\r\n[Empreintes]")));
    WriteFileBytes(Slice("ARCHIVE.ZIP", 3), "tail");
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Failed);
    EXPECT_EQ(ui.log.back(), "Taille reconstituée incorrecte : 2867204 octet(s) au lieu de 3000000 octet(s).");
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(FileExists(dir.Path("ARCHIVE.ZIP")));
    EXPECT_FALSE(FileExists(PartialJoinName(script())));
    EXPECT_TRUE(FileExists(script()));
    EXPECT_TRUE(FileExists(Slice("ARCHIVE.ZIP", 1)));

    // Bytes moved from one slice to the next: the total is right, the file is not.
    const std::string slice1 = ReadFileBytes(Slice("ARCHIVE.ZIP", 1)), slice2 = ReadFileBytes(Slice("ARCHIVE.ZIP", 2));
    WriteFileBytes(Slice("ARCHIVE.ZIP", 1), slice1.substr(0, slice1.size() - 1000));
    WriteFileBytes(Slice("ARCHIVE.ZIP", 2), slice1.substr(slice1.size() - 1000) + slice2);
    WriteFileBytes(Slice("ARCHIVE.ZIP", 3), bytes.substr(2 * slice1.size()));
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Failed);
    EXPECT_EQ(ui.log.back(), "Les tranches ne sont pas toutes de la taille de la première : " + dir.Path("ARCHIVE.ZIP") +
                                 " n'est pas reconstitué.");
    EXPECT_FALSE(FileExists(dir.Path("ARCHIVE.ZIP")));
}

// A target that is a slice, or the partial file's name: refused without a
// question, and "existe déjà" said only of a file that is there.
TEST_F(JoinOnDisk, ATargetNamedLikeAnInputIsRefusedWithoutDeletingIt) {
    WriteFileBytes(Slice("s.d", 1), "a");
    WriteFileBytes(Slice("s.d", 2), "b");
    const struct {
        std::string recorded;
        Lines said;
    } cases[] = {
        {"C:\\s.°01",
         {"Le fichier à reconstituer existe déjà :" + Slice("s.d", 1),
          Slice("s.d", 1) + " est le script ou une tranche de ce jeu : rien n'est reconstitué."}},
        {"s.°00", {"Le fichier à reconstituer porterait le nom du fichier partiel :" + dir.Path("s.°00")}},
    };
    for (const auto& c : cases) {
        WriteScript("s.d", "NomOriginal=" + c.recorded + "\r\nTailleOriginale=2\r\nTranches=2\r\n");
        ui.log.clear();
        EXPECT_EQ(engine.StartJoin(dir.Path("s.d")), Outcome::Stopped);
        Lines expected{"Fichier ouvert :" + dir.Path("s.d"), "Nom original :" + c.recorded,
                       "Taille originale :2octet(s)", "Nombre de tranches :2",
                       "Vérification de l'existence des tranches",
                       "Le script n'a pas d'empreintes : les tranches ne seront pas vérifiées.",
                       "Vérification OK."};
        expected.insert(expected.end(), c.said.begin(), c.said.end());
        expected.push_back("Arrêt. ");
        EXPECT_EQ(ui.log, expected);
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_EQ(ReadFileBytes(Slice("s.d", 1)), "a");
        EXPECT_FALSE(FileExists(dir.Path("s.°00")));
    }
}

// A script that cannot say what to rebuild (a split never writes such
// values) is refused before anything is written or asked, by the join, the
// check and the repair alike: the script and the slices stay, and no flow is
// left running.
TEST_F(JoinOnDisk, ADamagedScriptRebuildsNothing) {
    const std::string name = "NomOriginal=z.bin\r\n", size = "TailleOriginale=3000000\r\n", count = "Tranches=3\r\n";
    struct Case {
        std::string keys, said;
    };
    std::vector<Case> cases = {
        {name + "TailleOriginale=3000000x\r\n" + count, "TailleOriginale illisible (\"3000000x\")"},
        {name + size + "Tranches= \r\n", "Tranches illisible (\"\")"},
        {name + "TailleOriginale=0\r\nTranches=0\r\n", "TailleOriginale vaut 0"},
        {name + "TailleOriginale=-5\r\n" + count, "TailleOriginale vaut -5"},
        {name + "TailleOriginale=2\r\n" + count, "Tranches vaut 3 pour 2 octet(s)"},
        {name + size + "Tranches=-1\r\n", "Tranches vaut -1"},
        {size + count, "NomOriginal ne nomme aucun fichier"},
        {"NomOriginal=\r\n" + size + count, "NomOriginal ne nomme aucun fichier"},
        {"NomOriginal=sub/\r\n" + size + count, "NomOriginal ne nomme aucun fichier"},
        {"NomOriginal=C:\r\n" + size + count, "NomOriginal ne nomme aucun fichier"},
        {"NomOriginal=c:.\r\n" + size + count, "NomOriginal ne nomme aucun fichier"},
    };
    for (const Case& c : cases) for (const auto flow : {&Engine::StartJoin, &Engine::CheckSlices, &Engine::RepairSet}) {
        SCOPED_TRACE(c.keys);
        WriteScript("ARCHIVE.d", c.keys);
        ui.log.clear();
        EXPECT_EQ((engine.*flow)(script()), Outcome::Failed);
        EXPECT_EQ(ui.log.back(), "Script endommagé, " + c.said + " : " + script());
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_FALSE(engine.state.Busy || engine.FlowRunning());
        EXPECT_EQ(ReadFileBytes(script()), "[Sorv]\r\n" + c.keys);
        EXPECT_TRUE(FileExists(Slice("ARCHIVE.ZIP", 3)));
        EXPECT_FALSE(FileExists(dir.Path("z.bin")));
        EXPECT_FALSE(FileExists(PartialJoinName(script())));
    }
}

// The check and the join judge the size the slices make: slices that match
// their fingerprints read whole blame the script, never a slice. The check
// passes over a whole-file value it cannot read when every slice checks.
TEST_F(JoinOnDisk, TheSizeTheSlicesMakeBeliesTheScriptAndAnUnreadableWholeFileValueIsPassedOver) {
    const std::string original = ReadFileBytes(script());
    for (const std::string recorded : {"3000001", "2999999", "2867200", "1000"})
        for (const auto flow : {&Engine::CheckSlices, &Engine::StartJoin}) {
            SCOPED_TRACE(recorded);
            std::string s = original;
            WriteFileBytes(script(), s.replace(s.find("TailleOriginale=3000000"), 23, "TailleOriginale=" + recorded));
            ui.log.clear();
            EXPECT_EQ((engine.*flow)(script()), Outcome::Failed);
            const std::string belied = "Les tranches font 3000000 octet(s), le script en annonce " + recorded +
                                       " : le script " + script() + " ne décrit pas ce jeu.";
            EXPECT_NE(std::find(ui.log.begin(), ui.log.end(), belied), ui.log.end());
            EXPECT_EQ(std::count_if(ui.log.begin(), ui.log.end(), [](const std::string& line) {
                          return line.find("endommag") != std::string::npos;
                      }), 0);
            EXPECT_FALSE(FileExists(dir.Path("ARCHIVE.ZIP")));
        }
    // The last slice grown: its first bytes match, all of them do not; it is named.
    WriteFileBytes(script(), original);
    const std::string last = ReadFileBytes(Slice("ARCHIVE.ZIP", 3));
    WriteFileBytes(Slice("ARCHIVE.ZIP", 3), last + "x");
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Failed);
    EXPECT_NE(std::find(ui.log.begin(), ui.log.end(), "La tranche " + Slice("ARCHIVE.ZIP", 3) + " est endommagée."),
              ui.log.end());
    WriteFileBytes(Slice("ARCHIVE.ZIP", 3), last);
    std::string s = original;
    WriteFileBytes(script(), s.erase(s.find("Fichier="), s.find("\r\n", s.find("Fichier=")) + 2 - s.find("Fichier=")));
    EXPECT_EQ(engine.CheckSlices(script()), Outcome::Completed);
    EXPECT_EQ(ui.log[ui.log.size() - 2], "Fichier entier: empreinte illisible");
}

// A missing script is an error naming it, not a join with the values last read.
TEST_F(JoinOnDisk, AMissingScriptIsAnErrorNotTheLastValuesRead) {
    ui.answers = {Answer::No};
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Completed);
    ui.log.clear();
    EXPECT_THROW(engine.StartJoin(dir.Path("nowhere.d")), IoError);
    EXPECT_TRUE(ui.log.empty());
}

}  // namespace
}  // namespace sorv::test
