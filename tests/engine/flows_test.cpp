#include <gtest/gtest.h>

#include <algorithm>

#include "engine.h"
#include "engine_fixture.h"
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
        fs.AddFile(name, "");
        // An empty script: nothing to rebuild from.
        EXPECT_EQ(engine.Dispatch(name), Outcome::Failed);
        ASSERT_FALSE(ui.log.empty()) << name;
        EXPECT_EQ(ui.log[0], "Fichier ouvert :" + name);
        EXPECT_EQ(ui.dialogShown, 0);
    }
    ui.dialogAccepts = false;
    for (const std::string name : {"C:\\A.dat", "C:\\A", "C:\\x.d\\A"}) {
        fs.AddPatternFile(name, 10);
        engine.Dispatch(name);
    }
    EXPECT_EQ(ui.dialogShown, 3);
}

// A request during a running flow changes nothing and says so; the running
// flow keeps its own copy of its path, whatever the caller's string becomes
// (a nested open dialog writing its file name into the same buffer).
TEST_F(EngineInMemory, NoSplitOrJoinStartsWhileAnotherRunsAndTheRunningOneKeepsItsFile) {
    fs.AddPatternFile("C:\\GROS.ZIP", 3 * 358'400);
    fs.AddPatternFile("C:\\RAPPORT.ZIP", 3 * 358'400);
    ui.dialogChoice = 1;
    std::string chosen = "C:\\GROS.ZIP";
    std::vector<Outcome> inner;
    ui.onMessageRun = [&] {
        if (ui.messageRuns != 2) return;
        chosen = "C:\\RAPPORT.ZIP";
        inner.push_back(engine.StartSplit(chosen));
        inner.push_back(engine.StartJoin("C:\\a.d"));
        inner.push_back(engine.Dispatch(chosen));
        EXPECT_TRUE(engine.RefuseWhileRunning());
    };
    EXPECT_EQ(engine.StartSplit(chosen), Outcome::Completed);
    EXPECT_EQ(inner, (std::vector<Outcome>{Outcome::Refused, Outcome::Refused, Outcome::Refused}));
    EXPECT_EQ(std::count(ui.log.begin(), ui.log.end(), "Demande refusée : un découpage ou un regroupement est en cours."), 4);
    EXPECT_EQ(ui.dialogShown, 1);
    EXPECT_EQ(fs.Names(), (Lines{"C:\\GROS.ZIP", "C:\\GROS.d", "C:\\GROS.\xC2\xB0" "01", "C:\\GROS.\xC2\xB0" "02",
                                 "C:\\GROS.\xC2\xB0" "03", "C:\\RAPPORT.ZIP"}));
    EXPECT_NE(fs.Contents("C:\\GROS.d").find("NomOriginal=C:\\GROS.ZIP\r\n"), std::string::npos);
    EXPECT_FALSE(engine.FlowRunning());
    EXPECT_FALSE(engine.RefuseWhileRunning());
    ui.onMessageRun = nullptr;
    EXPECT_EQ(engine.StartSplit("C:\\RAPPORT.ZIP"), Outcome::Completed);
}

TEST_F(EngineInMemory, FilesAbove4GiBAreMeasuredCutAndRebuiltWith64BitSizes) {
    const std::uint64_t size = 5'000'000'001ULL;
    fs.observeRangesOnly = true;
    fs.AddPatternFile("C:\\big\\disk.img", size);
    ui.dialogChoice = 7;
    EXPECT_EQ(engine.StartSplit("C:\\big\\disk.img"), Outcome::Completed);
    EXPECT_EQ(ui.dialogSizeLabel, "Taille: 4768,38 Mo");
    EXPECT_EQ(ui.log[2], "Taille du fichier : 5000000001 octet(s).");
    EXPECT_EQ(ui.log[3], "Nombre de tranche : 51");
    EXPECT_EQ(ui.progressMax, 5'000'000'001);
    EXPECT_EQ(fs.SizeOf("C:\\big\\disk.°50"), 99'123'200);
    EXPECT_EQ(fs.SizeOf("C:\\big\\disk.°51"), static_cast<std::int64_t>(size - 50 * 99'123'200ULL));
    EXPECT_TRUE(fs.Contents("C:\\big\\disk.d")
                    .starts_with("[Sorv]\r\nNomOriginal=C:\\big\\disk.img\r\nTailleOriginale=5000000001\r\nTranches=51\r\n"
                                 "\r\n[Empreintes]\r\n"));

    fs.Delete("C:\\big\\disk.img");
    ui.log.clear();
    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.StartJoin("C:\\big\\disk.d"), Outcome::Completed);
    EXPECT_EQ(ui.log[2], "Taille originale :5000000001octet(s)");
    EXPECT_EQ(ui.log[3], "Nombre de tranches :51");
    EXPECT_TRUE(fs.HoldsPatternPrefix("C:\\big\\disk.img", size));
    EXPECT_EQ(fs.Names(), (Lines{"C:\\big\\disk.img"}));
}

// A path that names no file (gone, a folder) stops every flow before its
// dialog or its first log line: the values of the file before would stand in.
TEST_F(EngineOnDisk, APathThatNamesNoFileStopsEveryFlowBeforeItShowsAnything) {
    SplitNew("a.bin", 400'000, 1);
    std::filesystem::create_directory(PathFromUtf8(dir.Path("dir.d")));
    const std::pair<std::string, std::string> paths[] = {
        {dir.Path("gone.bin"), dir.Path("gone.bin") + " : Fichier introuvable"},
        {dir.Path("gone.d"), dir.Path("gone.d") + " : Fichier introuvable"},
        {dir.Path("dir.d"), dir.Path("dir.d") + " est un dossier, pas un fichier."},
        {"", "Aucun fichier n'est nommé."},
#ifdef _WIN32
        {"NUL", "NUL : Fichier introuvable"},  // a device, not a file
#endif
    };
    ui.log.clear();
    for (const auto flow : {&Engine::StartSplit, &Engine::StartJoin, &Engine::Dispatch, &Engine::CheckSlices,
                            &Engine::RepairSet}) {
        for (const auto& [path, said] : paths) {
            try {
                (engine.*flow)(path);
                ADD_FAILURE() << path;
            } catch (const std::exception& e) {
                EXPECT_EQ(e.what(), said);
            }
        }
    }
    EXPECT_TRUE(ui.log.empty());
    EXPECT_EQ(ui.dialogShown, 1);
    EXPECT_FALSE(engine.FlowRunning());
}

}  // namespace
}  // namespace sorv::test
