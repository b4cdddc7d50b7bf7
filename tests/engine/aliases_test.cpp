// Names that reach an input of the split or join another way (links, hard
// links, names Windows trims or folds), entries of every kind in the way, a
// source that changes while it is cut: on real files, natively and under Wine.
#include <filesystem>
#include <fstream>

#include "engine_fixture.h"
#include "io_error.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sorv::test {
namespace {

namespace fs = std::filesystem;

class AliasesOnDisk : public EngineOnDisk {
protected:
    // A 2-slice split of a.bin at 360 Ko, then the source removed; returns its bytes.
    std::string SplitThenRemove(const std::string& name = "a.bin") {
        const std::string bytes = SplitNew(name, 400'000, 1);
        fs::remove(PathFromUtf8(dir.Path(name)));
        ui.log.clear();
        return bytes;
    }
    void WriteScriptRecording(const std::string& name, const std::string& recorded) {
        WriteFileBytes(dir.Path(name), "[Sorv]\r\nNomOriginal=" + recorded + "\r\nTailleOriginale=400000\r\nTranches=2\r\n");
    }
    int Entries() const { return static_cast<int>(std::distance(fs::directory_iterator(PathFromUtf8(dir.folder())), {})); }
};

// Grown, cut short, or rewritten in place at the same size: the slices
// would hold a mix of two versions.
TEST_F(AliasesOnDisk, ASourceThatChangesWhileItIsCutLeavesNoSliceAndNoScript) {
    const std::string source = dir.Path("moving.bin");
    const std::string changed = "Le fichier " + source + " a été modifié pendant le découpage.";
    const std::string resized = "La taille du fichier " + source + " a changé pendant le découpage.";
    const struct {
        std::uintmax_t size;  // 0: the same size, other bytes
        std::string said;
    } cases[] = {{2'000'000, resized}, {500'000, resized}, {0, changed}};
    for (const auto& c : cases) {
        WriteFileBytes(source, PatternBytes(1'000'000));
        ui.dialogChoice = 1;
        ui.onMessageRun = [&] {
            if (ui.messageRuns != 2) return;
            if (c.size != 0) return fs::resize_file(PathFromUtf8(source), c.size);
            std::fstream in(PathFromUtf8(source), std::ios::in | std::ios::out | std::ios::binary);
            in.seekp(10);
            in.write("rewritten", 9);
        };
        ui.messageRuns = 0;
        EXPECT_EQ(engine.StartSplit(source), Outcome::Failed);
        EXPECT_EQ(ui.log.back(), c.said);
        EXPECT_EQ(Entries(), 1) << c.size;
        fs::remove(PathFromUtf8(source));
    }
}

#ifdef _WIN32
TEST_F(AliasesOnDisk, RecordedNamesWindowsWouldTrimAreRefusedAndFoldedOnesAreAliases) {
    const std::string bytes = SplitThenRemove();
    for (const std::string trimmed : {"a.d.", "a.d .", "a.\xC2\xB0" "02."}) {
        WriteScriptRecording("a.d", trimmed);
        try {
            engine.StartJoin(dir.Path("a.d"));
            ADD_FAILURE() << trimmed;
        } catch (const IoError& e) {
            EXPECT_EQ(e.text(), "Nom de fichier incorrect") << trimmed;
        }
        EXPECT_EQ(ReadFileBytes(Slice("a.bin", 2)), bytes.substr(358'400));
        EXPECT_EQ(Entries(), 3);
    }
    // "A.D" is the script, "É.°02" slice é.°02, whatever the case.
    WriteScriptRecording("a.d", "A.D");
    fs::copy_file(PathFromUtf8(dir.Path("a.d")), PathFromUtf8(dir.Path("\xC3\xA9.d")));
    fs::copy_file(PathFromUtf8(Slice("a.bin", 1)), PathFromUtf8(Slice("\xC3\xA9.bin", 1)));
    fs::copy_file(PathFromUtf8(Slice("a.bin", 2)), PathFromUtf8(Slice("\xC3\xA9.bin", 2)));
    WriteScriptRecording("\xC3\xA9.d", "\xC3\x89.\xC2\xB0" "02");
    for (const std::string script : {"a.d", "\xC3\xA9.d"}) {
        EXPECT_EQ(engine.StartJoin(dir.Path(script)), Outcome::Stopped) << script;
        EXPECT_EQ(ui.log.back(), "Arrêt. ");
        EXPECT_TRUE(ui.log[ui.log.size() - 3].starts_with("Le fichier à reconstituer existe déjà :"));
        EXPECT_TRUE(ui.boxes.empty());
    }
    EXPECT_EQ(ReadFileBytes(Slice("\xC3\xA9.bin", 2)), bytes.substr(358'400));
    EXPECT_EQ(Entries(), 6);
}
#else
TEST_F(AliasesOnDisk, ASplitNeverWritesThroughALinkNorOverTheSource) {
    const std::string source = dir.Path("a.bin");
    WriteFileBytes(source, PatternBytes(1'000'000));
    ui.dialogChoice = 1;
    const struct {
        std::string name, pointsAt;
        bool hard;
    } inTheWay[] = {
        {"a.\xC2\xB0" "02", source, false},
        {"a.\xC2\xB0" "03", source, true},
        {"a.\xC2\xB0" "01", dir.Path("elsewhere"), false},
        {"a.d", dir.Path("elsewhere"), false},
    };
    for (const auto& entry : inTheWay) {
        const std::string link = dir.Path(entry.name);
        ASSERT_EQ(entry.hard ? ::link(entry.pointsAt.c_str(), link.c_str()) : ::symlink(entry.pointsAt.c_str(), link.c_str()), 0);
        EXPECT_EQ(engine.StartSplit(source), Outcome::Stopped) << entry.name;
        EXPECT_EQ(ui.log.back(), "... Arrêt du processus. ");
        EXPECT_EQ(ReadFileBytes(source), PatternBytes(1'000'000));
        EXPECT_EQ(Entries(), 2) << entry.name;
        ::unlink(link.c_str());
    }
    // Nor is a dangling link named like slice 2 written through or replaced.
    ASSERT_EQ(::symlink(dir.Path("elsewhere").c_str(), Slice("a.bin", 2).c_str()), 0);
    EXPECT_EQ(engine.StartSplit(source), Outcome::Stopped);
    EXPECT_FALSE(FileExists(dir.Path("elsewhere")));
    EXPECT_EQ(Entries(), 2);
}

TEST_F(AliasesOnDisk, AJoinNeverFeedsOnItsOutputNorWritesThroughALinkOrIntoAFifo) {
    const std::string bytes = SplitThenRemove();
    const std::string target = dir.Path("a.bin");
    const std::string slice2 = Slice("a.bin", 2);
    // Slice 2 is a link to the file that the join would rebuild.
    fs::rename(PathFromUtf8(slice2), PathFromUtf8(target));
    ASSERT_EQ(::symlink(target.c_str(), slice2.c_str()), 0);
    EXPECT_EQ(engine.StartJoin(Script("a.bin")), Outcome::Stopped);
    EXPECT_EQ(ui.log.back(), "Arrêt. ");
    EXPECT_TRUE(ui.boxes.empty());
    ::unlink(slice2.c_str());
    fs::rename(PathFromUtf8(target), PathFromUtf8(slice2));

    // A dangling link or a FIFO named like the target: asked about, never
    // followed or opened; Yes puts the rebuilt file in its place.
    for (const bool fifo : {false, true}) {
        ASSERT_EQ(fifo ? ::mkfifo(target.c_str(), 0600) : ::symlink(dir.Path("elsewhere").c_str(), target.c_str()), 0);
        ui.answers = {Answer::No};
        EXPECT_EQ(engine.StartJoin(Script("a.bin")), Outcome::Stopped);
        EXPECT_EQ(ui.log.back(), "Arrêt. ");
        ui.answers = {Answer::Yes, Answer::No};
        EXPECT_EQ(engine.StartJoin(Script("a.bin")), Outcome::Completed);
        EXPECT_EQ(NativeFileSystem().KindOf(target), EntryKind::File);
        EXPECT_EQ(ReadFileBytes(target), bytes);
        EXPECT_FALSE(FileExists(dir.Path("elsewhere")));
        fs::remove(PathFromUtf8(target));
    }

    // A FIFO among the slices is refused before anything is opened, not waited on.
    fs::rename(PathFromUtf8(slice2), PathFromUtf8(dir.Path("kept")));
    ASSERT_EQ(::mkfifo(slice2.c_str(), 0600), 0);
    EXPECT_EQ(engine.StartJoin(Script("a.bin")), Outcome::Failed);
    EXPECT_EQ(ui.log.back(), slice2 + " n'est pas un fichier ordinaire, pas une tranche.");
    EXPECT_FALSE(FileExists(target));
    EXPECT_FALSE(FileExists(PartialJoinName(Script("a.bin"))));
}
#endif

}  // namespace
}  // namespace sorv::test
