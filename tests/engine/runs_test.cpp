// Live runs, killed runs and links, on real files, natively and under Wine:
// a second split or join of a set being worked on stops at once, a killed
// split is cleared however its source is spelled now, and no clean-up ever
// removes what a link points to.
#include <algorithm>
#include <filesystem>
#include <functional>

#include "engine_fixture.h"
#include "faulty_file_system.h"
#include "links.h"

namespace sorv::test {
namespace {

namespace fs = std::filesystem;

class RunsOnDisk : public EngineOnDisk {
protected:
    std::string source() const { return dir.Path("a.bin"); }
    bool Logged(const std::string& line) const { return std::find(ui.log.begin(), ui.log.end(), line) != ui.log.end(); }

    // Splits a.bin in three at 360 Ko, then leaves what a split killed after
    // slice 2 leaves: its partial script as it was then, slices 1 and 2.
    void LeaveAKilledSplit() {
        std::string partialBytes;
        ui.messageRuns = 0;
        ui.onMessageRun = [&] {
            if (ui.messageRuns == 3) partialBytes = ReadFileBytes(PartialScriptName(source()));
        };
        SplitNew("a.bin", 1'000'000, 1);
        ui.onMessageRun = nullptr;
        fs::remove(PathFromUtf8(Script("a.bin")));
        fs::remove(PathFromUtf8(Slice("a.bin", 3)));
        WriteFileBytes(PartialScriptName(source()), partialBytes);
        ui.log.clear();
    }
};

TEST_F(RunsOnDisk, ASecondRunOnALiveSetStopsAtOnceAndTouchesNothing) {
    ScriptedFrontEnd otherUi;
    otherUi.dialogChoice = 1;
    Engine other(otherUi, NativeFileSystem());
    Outcome second = Outcome::Completed;
    // Its partial script reads like a whole one: no join, repair or check from it.
    const std::function<Outcome()> runs[] = {
        [&] { return other.StartSplit(source()); },
        [&] { return other.StartJoin(PartialScriptName(source())); },
        [&] { return other.RepairSet(PartialScriptName(source())); },
        [&] { return other.CheckSlices(PartialScriptName(source())); },
    };
    for (const auto& run : runs) {
        for (const std::string& f : {Script("a.bin"), Slice("a.bin", 1), Slice("a.bin", 2), Slice("a.bin", 3)})
            fs::remove(PathFromUtf8(f));
        ui.messageRuns = 0;
        ui.onMessageRun = [&] {
            if (ui.messageRuns == 2) second = run();
        };
        const std::string bytes = SplitNew("a.bin", 1'000'000, 1);
        EXPECT_EQ(second, Outcome::Refused);
        EXPECT_EQ(otherUi.log.back(), "Un découpage vers " + Script("a.bin") + " est déjà en cours.");
        EXPECT_EQ(ReadFileBytes(source()), bytes);
        EXPECT_TRUE(FileExists(Slice("a.bin", 3)));
    }
    const std::string bytes = ReadFileBytes(source());

    fs::remove(PathFromUtf8(source()));
    ui.messageRuns = 0;
    ui.onMessageRun = [&] {
        if (ui.messageRuns == 2) second = other.StartJoin(Script("a.bin"));
    };
    ui.answers = {Answer::No};
    otherUi.log.clear();
    EXPECT_EQ(engine.StartJoin(Script("a.bin")), Outcome::Completed);
    EXPECT_EQ(second, Outcome::Refused);
    // At once: not a word about slices the first run may be rebuilding.
    EXPECT_EQ(otherUi.log, std::vector<std::string>{"Un regroupement ou une réparation de " + Script("a.bin") +
                                                    " est déjà en cours."});
    EXPECT_TRUE(otherUi.boxes.empty());
    EXPECT_EQ(ReadFileBytes(source()), bytes);

    // Up to the moment its file takes its real name.
    FaultyFileSystem faulty{NativeFileSystem()};
    Engine renaming(ui, faulty);
    faulty.beforeRename = [&](const std::string& from) {
        if (from == PartialJoinName(Script("a.bin"))) second = other.StartJoin(Script("a.bin"));
    };
    fs::remove(PathFromUtf8(source()));
    second = Outcome::Completed;
    ui.answers = {Answer::No};
    EXPECT_EQ(renaming.StartJoin(Script("a.bin")), Outcome::Completed);
    EXPECT_EQ(second, Outcome::Refused);
    EXPECT_TRUE(otherUi.boxes.empty());
    EXPECT_EQ(ReadFileBytes(source()), bytes);

    // And through its clean-up, the question answered.
    fs::remove(PathFromUtf8(source()));
    Outcome repair = Outcome::Completed;
    second = Outcome::Completed;
    ui.answers = {Answer::Yes};
    ui.onMessageRun = [&] {
        if (!ui.answers.empty() || second != Outcome::Completed) return;
        second = other.StartJoin(Script("a.bin"));
        repair = other.RepairSet(Script("a.bin"));
    };
    EXPECT_EQ(engine.StartJoin(Script("a.bin")), Outcome::Completed);
    EXPECT_EQ(second, Outcome::Refused);
    EXPECT_EQ(repair, Outcome::Refused);
    EXPECT_TRUE(otherUi.boxes.empty());
    EXPECT_EQ(ReadFileBytes(source()), bytes);
    EXPECT_FALSE(FileExists(Script("a.bin")));
}

// A file of the user's under the rebuilt name that another program locks is
// no join in progress: the usual question about an existing file is asked.
// Under the rebuilt name, a file of the user's that another program locks:
// the join asks before replacing it, a repair looks at the set. Of the set's very
// size, only a whole-file lock (flock) tells it from a join's file.
TEST_F(RunsOnDisk, AUsersLockedFileIsNoRunInProgress) {
    const std::string bytes = SplitNew("a.bin", 1'000'000, 1);
    std::vector<std::string> usersFiles = {"the user's"};
#ifndef _WIN32
    usersFiles.push_back(std::string(bytes.size(), 'u'));
#endif
    for (const std::string& users : usersFiles) {
        SCOPED_TRACE(users.size());
        WriteFileBytes(source(), users);
        const auto otherProgram = NativeFileSystem().OpenRead(source());
        ASSERT_TRUE(otherProgram->TryLock());
        ui.boxes.clear();
        ui.answers = {Answer::No};
        EXPECT_EQ(engine.StartJoin(Script("a.bin")), Outcome::Stopped);
        EXPECT_EQ(ui.boxes.size(), 1u);
        ui.log.clear();
        engine.RepairSet(Script("a.bin"));  // no recovery slices: refused for that
        EXPECT_FALSE(Logged("Un regroupement ou une réparation de " + Script("a.bin") + " est déjà en cours."));
        EXPECT_EQ(ReadFileBytes(source()), users);
    }
}

TEST_F(RunsOnDisk, AKilledSplitIsClearedHoweverItsSourceIsSpelled) {
    LeaveAKilledSplit();
    const std::string respelled = dir.folder() + "." + dir.folder().back() + "a.bin";
    EXPECT_EQ(engine.StartSplit(respelled), Outcome::Completed);
    EXPECT_TRUE(Logged("Restes d'un découpage interrompu effacés : " + PartialScriptName(respelled) + " et 2 tranche(s)."));
    EXPECT_TRUE(FileExists(Slice("a.bin", 3)));
    EXPECT_FALSE(FileExists(PartialScriptName(source())));
}

// A link named like a slice, read by a join or left by a killed split: the
// user's "Yes" to the clean-up and the clearing of leftovers remove entries
// of this folder, never the file elsewhere that the link points to.
TEST_F(RunsOnDisk, NoCleanUpRemovesWhatALinkPointsTo) {
    TempDir elsewhere;
    const std::string kept = elsewhere.Path("kept.bin");
    const std::string bytes = SplitNew("a.bin", 1'000'000, 1);
    fs::remove(PathFromUtf8(source()));
    fs::rename(PathFromUtf8(Slice("a.bin", 2)), PathFromUtf8(kept));
    if (!MakeSymlink(kept, Slice("a.bin", 2))) GTEST_SKIP() << "no symbolic links here";
    ui.log.clear();
    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.StartJoin(Script("a.bin")), Outcome::Completed);
    EXPECT_EQ(ReadFileBytes(source()), bytes);
    EXPECT_TRUE(Logged("Non effacé, ce n'est plus le fichier lu (un lien ?) : " + Slice("a.bin", 2)));
    EXPECT_FALSE(FileExists(Slice("a.bin", 1)) || FileExists(Script("a.bin")));
    EXPECT_TRUE(FileExists(kept));
    RemoveSymlink(Slice("a.bin", 2));

    LeaveAKilledSplit();
    const std::string precious = ReadFileBytes(Slice("a.bin", 2));
    fs::rename(PathFromUtf8(Slice("a.bin", 2)), PathFromUtf8(kept));
    ASSERT_TRUE(MakeSymlink(kept, Slice("a.bin", 2)));
    // The killed run's slice 1 goes; the link stays, named, and the split
    // stops. Under Wine it looks like the file it leads to, which the system
    // is not let remove.
    EXPECT_EQ(engine.StartSplit(source()), Outcome::Failed);
#ifdef _WIN32
    EXPECT_TRUE(Logged("Non effacé, le système le refuse : " + Slice("a.bin", 2)));
#else
    EXPECT_TRUE(Logged("Non effacé, rien ne dit que le découpage interrompu l'a écrit : " + Slice("a.bin", 2)));
#endif
    EXPECT_FALSE(FileExists(Slice("a.bin", 1)));
    EXPECT_EQ(ReadFileBytes(kept), precious);
    RemoveSymlink(Slice("a.bin", 2));
}

}  // namespace
}  // namespace sorv::test
