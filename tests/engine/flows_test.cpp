#include <gtest/gtest.h>

#include "engine.h"
#include "io_error.h"
#include "memory_file_system.h"
#include "scripted_front_end.h"
#include "sizes.h"

namespace sorv::test {
namespace {

using Lines = std::vector<std::string>;

class EngineInMemory : public ::testing::Test {
protected:
    MemoryFileSystem fs;
    ScriptedFrontEnd ui;
    Engine engine{ui, fs, kWindowsPaths};
};

TEST_F(EngineInMemory, DispatchJoinsDotDInEitherCaseAndSplitsEverythingElse) {
    for (const std::string name : {"C:\\A.D", "C:\\A.d"}) {
        ui.log.clear();
        // No script: the defaults name no file, so the target is the folder itself.
        EXPECT_THROW(engine.Dispatch(name), IoError);
        ASSERT_FALSE(ui.log.empty()) << name;
        EXPECT_EQ(ui.log[0], "Fichier ouvert :" + name);
        EXPECT_EQ(ui.dialogShown, 0);
    }
    ui.dialogAccepts = false;
    for (const std::string name : {"C:\\A.dat", "C:\\A", "C:\\x.d\\A"}) engine.Dispatch(name);
    EXPECT_EQ(ui.dialogShown, 3);
}

TEST_F(EngineInMemory, AMissingFileKeepsTheLastSizeMeasured) {
    fs.AddPatternFile("C:\\a.bin", 2'000'000);
    ui.dialogAccepts = false;
    engine.StartSplit("C:\\a.bin");
    engine.StartSplit("C:\\gone.bin");
    EXPECT_EQ(ui.dialogFileLabel, "Fichier: gone.bin");
    EXPECT_EQ(ui.dialogSizeLabel, "Taille: 1,95 Mo");
}

TEST_F(EngineInMemory, NoSplitOrJoinStartsWhileAnotherRuns) {
    fs.AddPatternFile("C:\\a.bin", 3 * 358'400);
    fs.AddPatternFile("C:\\b.bin", 3 * 358'400);
    ui.dialogChoice = 1;
    std::vector<Outcome> inner;
    ui.onMessageRun = [&] {
        if (ui.messageRuns != 2) return;
        const std::size_t before = ui.log.size();
        inner.push_back(engine.StartSplit("C:\\b.bin"));
        inner.push_back(engine.StartJoin("C:\\a.d"));
        inner.push_back(engine.Dispatch("C:\\b.bin"));
        EXPECT_EQ(ui.log.size(), before);
    };
    EXPECT_EQ(engine.StartSplit("C:\\a.bin"), Outcome::Completed);
    EXPECT_EQ(inner, (std::vector<Outcome>{Outcome::Refused, Outcome::Refused, Outcome::Refused}));
    EXPECT_EQ(ui.dialogShown, 1);
    EXPECT_FALSE(fs.Exists("C:\\b.°01"));
    EXPECT_FALSE(engine.FlowRunning());
    ui.onMessageRun = nullptr;
    EXPECT_EQ(engine.StartSplit("C:\\b.bin"), Outcome::Completed);
}

TEST_F(EngineInMemory, FilesAbove4GiBAreMeasuredCutAndRebuiltWith64BitSizes) {
    const std::uint64_t size = 5'000'000'001ULL;
    fs.AddPatternFile("C:\\big\\disk.img", size);
    ui.dialogChoice = 7;
    EXPECT_EQ(engine.StartSplit("C:\\big\\disk.img"), Outcome::Completed);
    EXPECT_EQ(ui.dialogSizeLabel, "Taille: 4768,38 Mo");
    EXPECT_EQ(ui.log[2], "Taille du fichier : 5000000001 octet(s).");
    EXPECT_EQ(ui.log[3], "Nombre de tranche : 51");
    EXPECT_EQ(ui.progressMax, 5'000'000'001);
    EXPECT_EQ(fs.SizeOf("C:\\big\\disk.°50"), 99'123'200);
    EXPECT_EQ(fs.SizeOf("C:\\big\\disk.°51"), static_cast<std::int64_t>(size - 50 * 99'123'200ULL));
    EXPECT_EQ(fs.Contents("C:\\big\\disk.d"),
              "[Sorv]\r\nNomOriginal=C:\\big\\disk.img\r\nTailleOriginale=5000000001\r\nTranches=51\r\n");

    fs.Delete("C:\\big\\disk.img");
    ui.log.clear();
    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.StartJoin("C:\\big\\disk.d"), Outcome::Completed);
    EXPECT_EQ(ui.log[2], "Taille originale :5000000001octet(s)");
    EXPECT_EQ(ui.log[3], "Nombre de tranches :51");
    EXPECT_TRUE(fs.HoldsPatternPrefix("C:\\big\\disk.img", size));
    EXPECT_EQ(fs.Names(), (Lines{"C:\\big\\disk.img"}));
}

TEST_F(EngineInMemory, AFailedSliceCreationLeavesTheWrittenSlicesAndNoScript) {
    fs.AddPatternFile("C:\\a.bin", 3 * 358'400);
    ui.dialogChoice = 1;
    fs.beforeCreate = [](const std::string& path) {
        if (path == "C:\\a.°02") throw IoError(101);
    };
    try {
        engine.StartSplit("C:\\a.bin");
        ADD_FAILURE() << "no error";
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "Disque plein");
    }
    EXPECT_TRUE(fs.Exists("C:\\a.°01"));
    EXPECT_FALSE(fs.Exists("C:\\a.d"));
    EXPECT_NE(ui.log.back(), "...Ok");
    EXPECT_FALSE(engine.state.Busy);
    EXPECT_FALSE(engine.FlowRunning());
}

TEST_F(EngineInMemory, AFailedScriptWriteNamesTheScript) {
    fs.AddPatternFile("C:\\a.bin", 400'000);
    ui.dialogChoice = 1;
    fs.beforeCreate = [](const std::string& path) {
        if (path == "C:\\a.d") throw IoError(5);
    };
    try {
        engine.StartSplit("C:\\a.bin");
        ADD_FAILURE() << "no error";
    } catch (const ProfileWriteError& e) {
        EXPECT_STREQ(e.what(), "Ne peut écrire dans C:\\a.d");
    }
    EXPECT_TRUE(fs.Exists("C:\\a.°02"));
    EXPECT_FALSE(engine.state.Busy);
}

}  // namespace
}  // namespace sorv::test
