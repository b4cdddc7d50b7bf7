#include <algorithm>
#include <filesystem>

#include "engine_fixture.h"
#include "file_system.h"
#include "fingerprint.h"
#include "sizes.h"

namespace sorv::test {
namespace {

using Lines = std::vector<std::string>;

TEST_F(EngineOnDisk, SplitsIntoSlicesLogsEachAndWritesTheScript) {
    const std::string bytes = SplitNew("ARCHIVE.ZIP", 3'000'000, 4);
    EXPECT_EQ(ui.dialogFileLabel, "Fichier: ARCHIVE.ZIP");
    EXPECT_EQ(ui.dialogSizeLabel, "Taille: 2,90 Mo");
    EXPECT_EQ(ui.log, (Lines{"Taille maximum de la tranche :1,4 Mo", "Nom du fichier : ARCHIVE.ZIP",
                             "Taille du fichier : 3000000 octet(s).", "Nombre de tranche : 3",
                             Slice("ARCHIVE.ZIP", 1) + ": 1433600 octet(s)",
                             Slice("ARCHIVE.ZIP", 2) + ": 1433600 octet(s)",
                             Slice("ARCHIVE.ZIP", 3) + ": 132800 octet(s)", Script("ARCHIVE.ZIP"), "...Ok"}));
    EXPECT_EQ(ReadFileBytes(Slice("ARCHIVE.ZIP", 1)), bytes.substr(0, 1'433'600));
    EXPECT_EQ(ReadFileBytes(Slice("ARCHIVE.ZIP", 2)), bytes.substr(1'433'600, 1'433'600));
    EXPECT_EQ(ReadFileBytes(Slice("ARCHIVE.ZIP", 3)), bytes.substr(2'867'200));
    EXPECT_FALSE(FileExists(Slice("ARCHIVE.ZIP", 4)));
    // The [Sorv] section as it always was, then the fingerprints of the
    // slices and of the whole file.
    auto fingerprintOf = [](const std::string& text) {
        Fingerprint f;
        f.Add(std::as_bytes(std::span(text.data(), text.size())));
        return FingerprintText(f.Value());
    };
    EXPECT_EQ(ReadFileBytes(Script("ARCHIVE.ZIP")),
              "[Sorv]\r\nNomOriginal=" + dir.Path("ARCHIVE.ZIP") + "\r\nTailleOriginale=3000000\r\nTranches=3\r\n" +
                  "\r\n[Empreintes]\r\nAlgorithme=XXH64\r\nFichier=" + fingerprintOf(bytes) +
                  "\r\n1=" + fingerprintOf(bytes.substr(0, 1'433'600)) +
                  "\r\n2=" + fingerprintOf(bytes.substr(1'433'600, 1'433'600)) +
                  "\r\n3=" + fingerprintOf(bytes.substr(2'867'200)) + "\r\n");
    // One message run before the split, then one per slice; the bar stops at its maximum.
    EXPECT_EQ(ui.positionsAtMessageRuns, (std::vector<std::int64_t>{0, 1'433'600, 2'867'200, 3'000'000}));
    EXPECT_EQ(ui.progressMax, 3'000'000);
    EXPECT_EQ(ui.progressPosition, 0);
    EXPECT_FALSE(engine.state.Busy);
}

TEST_F(EngineOnDisk, SliceCountsAtExactMultiplesAndOneByteOver) {
    SplitNew("exact.bin", 2'867'200, 4);
    EXPECT_TRUE(FileExists(Slice("exact.bin", 2)));
    EXPECT_FALSE(FileExists(Slice("exact.bin", 3)));
    EXPECT_EQ(engine.state.SliceCount, 2);

    SplitNew("over.bin", 2'867'201, 4);
    EXPECT_EQ(ReadFileBytes(Slice("over.bin", 3)).size(), 1u);
    EXPECT_EQ(engine.state.SliceCount, 3);

    SplitNew("one.bin", 1'433'600, 4);
    EXPECT_EQ(ReadFileBytes(Slice("one.bin", 1)).size(), 1'433'600u);
    EXPECT_FALSE(FileExists(Slice("one.bin", 2)));
    EXPECT_NE(ReadFileBytes(Script("one.bin")).find("Tranches=1\r\n"), std::string::npos);
}

TEST_F(EngineOnDisk, EverySmallSizeChoiceCutsAtItsSize) {
    for (int choice = 1; choice <= 6; ++choice) {
        const std::int64_t size = SliceSizeFor(choice);
        const std::string name = "c" + std::to_string(choice) + ".bin";
        const std::string bytes = SplitNew(name, static_cast<std::size_t>(2 * size + 5), choice);
        EXPECT_EQ(ui.log[0], "Taille maximum de la tranche :" + SliceLabelFor(choice));
        EXPECT_EQ(ReadFileBytes(Slice(name, 2)), bytes.substr(static_cast<std::size_t>(size), static_cast<std::size_t>(size)));
        EXPECT_EQ(ReadFileBytes(Slice(name, 3)), bytes.substr(static_cast<std::size_t>(2 * size)));
        ui.log.clear();
    }
}

TEST_F(EngineOnDisk, SmallOrEmptyFilesNeedNoCut) {
    WriteFileBytes(dir.Path("small.bin"), PatternBytes(1'433'599));
    ui.dialogChoice = 4;
    EXPECT_EQ(engine.StartSplit(dir.Path("small.bin")), Outcome::Stopped);
    EXPECT_EQ(ui.boxes, (Lines{"message: Pas besoin de couper"}));
    EXPECT_EQ(ui.log.size(), 3u);
    EXPECT_FALSE(FileExists(Slice("small.bin", 1)));

    WriteFileBytes(dir.Path("empty"), "");
    EXPECT_EQ(engine.StartSplit(dir.Path("empty")), Outcome::Stopped);
    EXPECT_EQ(ui.dialogSizeLabel, "Taille: 0,0 Ko");
    EXPECT_EQ(ui.log.back(), "Taille du fichier : 0 octet(s).");
    EXPECT_FALSE(FileExists(Slice("empty", 1)));
}

TEST_F(EngineOnDisk, CancelledDialogStartsNothingAndTheChoiceIsKept) {
    WriteFileBytes(dir.Path("a.bin"), PatternBytes(800'000));
    ui.dialogChoice = 2;
    ui.dialogAccepts = false;
    EXPECT_EQ(engine.StartSplit(dir.Path("a.bin")), Outcome::Stopped);
    EXPECT_TRUE(ui.log.empty());
    ui.dialogChoice = 0;  // the dialog keeps the last choice selected
    ui.dialogAccepts = true;
    EXPECT_EQ(engine.StartSplit(dir.Path("a.bin")), Outcome::Completed);
    EXPECT_EQ(ui.log[0], "Taille maximum de la tranche :720 Ko");
}

TEST_F(EngineOnDisk, EscapeDuringTheSplitDeletesEverySliceWritten) {
    WriteFileBytes(dir.Path("big.bin"), PatternBytes(5 * 358'400 - 10));
    ui.dialogChoice = 1;
    ui.onMessageRun = [&] {
        if (ui.messageRuns == 3) {  // after slice 2 of 5
            ui.answers.push_back(Answer::Yes);
            engine.EscapePressed();
        }
    };
    EXPECT_EQ(engine.StartSplit(dir.Path("big.bin")), Outcome::Stopped);
    EXPECT_EQ(ui.boxes, (Lines{"plain: Voulez-vous arreter le traitement?"}));
    EXPECT_EQ(ui.log.back(), "Arrêt.");
    EXPECT_EQ(ui.log[ui.log.size() - 2], Slice("big.bin", 2) + ": 358400 octet(s)");
    for (int k = 1; k <= 5; ++k) EXPECT_FALSE(FileExists(Slice("big.bin", k))) << k;
    EXPECT_FALSE(FileExists(Script("big.bin")));
    EXPECT_TRUE(ReadFileBytes(dir.Path("big.bin")) == PatternBytes(5 * 358'400 - 10));
    EXPECT_FALSE(engine.state.Busy);
    EXPECT_FALSE(engine.state.CancelRequested);
    EXPECT_EQ(ui.progressPosition, 0);
    engine.EscapePressed();  // idle: no question
    EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST_F(EngineOnDisk, EscapeAnsweredNoLetsTheSplitFinish) {
    WriteFileBytes(dir.Path("big.bin"), PatternBytes(3 * 358'400));
    ui.dialogChoice = 1;
    ui.onMessageRun = [&] {
        if (ui.messageRuns == 2) {
            ui.answers.push_back(Answer::No);
            engine.EscapePressed();
        }
    };
    EXPECT_EQ(engine.StartSplit(dir.Path("big.bin")), Outcome::Completed);
    EXPECT_TRUE(FileExists(Slice("big.bin", 3)));
    EXPECT_TRUE(FileExists(Script("big.bin")));
}

TEST_F(EngineOnDisk, ReadOnlySourceIsAskedAbout) {
    const std::string path = dir.Path("ro.bin");
    WriteFileBytes(path, PatternBytes(400'000));
    NativeFileSystem().SetAttributes(path, kAttrReadOnly);
    ui.dialogChoice = 1;
    ui.answers = {Answer::No};
    EXPECT_EQ(engine.StartSplit(path), Outcome::Stopped);
    EXPECT_EQ(ui.boxes, (Lines{"warning: Le fichier :" + path + " est en lecture seule.\r\nVoulez-Vous le déproteger?"}));
    EXPECT_EQ(ui.log.back(), "Arrêt.");
    EXPECT_TRUE(NativeFileSystem().GetAttributes(path) & kAttrReadOnly);
    EXPECT_FALSE(FileExists(Slice("ro.bin", 1)));

    ui.answers = {Answer::None};
    EXPECT_EQ(engine.StartSplit(path), Outcome::Stopped);
    EXPECT_EQ(ui.log.back(), "Arrêt.");

    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.StartSplit(path), Outcome::Completed);
    EXPECT_EQ(NativeFileSystem().GetAttributes(path), kAttrArchive);
    EXPECT_TRUE(FileExists(Slice("ro.bin", 2)));
}

TEST_F(EngineOnDisk, EarlierSplitsOfTheSameNameStopTheSplit) {
    const Lines refusal{"Des tranches existent sûrement déjà.", "... Arrêt du processus. "};
    const std::string message = "message: Effacez les fichiers " + dir.folder() + "data. d'extentions .d et .°* présents.";
    WriteFileBytes(dir.Path("data.zip"), PatternBytes(800'000));
    WriteFileBytes(dir.Path("data.arj"), PatternBytes(800'000));
    ui.dialogChoice = 1;
    EXPECT_EQ(engine.StartSplit(dir.Path("data.zip")), Outcome::Completed);
    const std::string first = ReadFileBytes(Slice("data.zip", 1));

    const std::size_t before = ui.log.size();
    EXPECT_EQ(engine.StartSplit(dir.Path("data.arj")), Outcome::Stopped);  // same script name
    EXPECT_EQ(LogFrom(before + 3), refusal);
    EXPECT_EQ(ui.boxes.back(), message);
    EXPECT_EQ(ReadFileBytes(Slice("data.zip", 1)), first);

    std::filesystem::remove(PathFromUtf8(Script("data.zip")));
    const std::size_t again = ui.log.size();
    EXPECT_EQ(engine.StartSplit(dir.Path("data.arj")), Outcome::Stopped);  // slice 1 is still there
    EXPECT_EQ(LogFrom(again + 3), refusal);

    // Nor is a lone slice 2 replaced: it may be the only copy of another set's.
    WriteFileBytes(dir.Path("lone.bin"), PatternBytes(400'000));
    WriteFileBytes(Slice("lone.bin", 2), "old");
    EXPECT_EQ(engine.StartSplit(dir.Path("lone.bin")), Outcome::Stopped);
    EXPECT_EQ(ReadFileBytes(Slice("lone.bin", 2)), "old");
    EXPECT_FALSE(FileExists(Slice("lone.bin", 1)));
}

TEST_F(EngineOnDisk, AFileNamedLikeItsOwnSlicesOrScriptIsNotCut) {
    ui.dialogChoice = 1;
    // V.°00 is the name the join of V.d rebuilds under: its set could never be
    // joined. With recovery slices, U.°r02 and T.°rs01 are those a repair
    // writes slice 2 and recovery slice 1 under.
    const std::vector<std::pair<std::string, std::int64_t>> clashes = {
        {"X.°01", 0}, {"Y.°02", 0}, {"Z.d", 0}, {"V.°00", 0}, {"U.°r02", 1}, {"T.°rs01", 1}};
    for (const auto& [name, recoveries] : clashes) {
        engine.state.Recovery = {recoveries, 0};
        const std::string bytes = PatternBytes(800'000);
        WriteFileBytes(dir.Path(name), bytes);
        const std::size_t before = ui.log.size();
        EXPECT_EQ(engine.StartSplit(dir.Path(name)), Outcome::Stopped) << name;
        EXPECT_EQ(ui.log.back(), "... Arrêt du processus. ") << name;
        EXPECT_EQ(ui.log.size(), before + 5) << name;
        EXPECT_EQ(ReadFileBytes(dir.Path(name)), bytes) << name;
        if (name == "V.°00" || name == "U.°r02") {
            EXPECT_EQ(ui.log[ui.log.size() - 2], "Le nom " + name + " est celui que prend " +
                                                     (recoveries > 0 ? "la réparation" : "le regroupement") +
                                                      " de ses tranches : renommez le fichier pour le découper.");
        }
    }
    EXPECT_FALSE(FileExists(Slice("V.°00", 1)));
    // Slice 4 is beyond a 3-slice split, and without recovery slices no repair runs: no clash.
    engine.state.Recovery = {0, 0};
    for (const std::string name : {"W.°04", "S.°r04", "R.°r02"}) {
        WriteFileBytes(dir.Path(name), PatternBytes(800'000));
        EXPECT_EQ(engine.StartSplit(dir.Path(name)), Outcome::Completed) << name;
    }
}

#ifndef _WIN32
// A POSIX name the script cannot hold as it is: a join would rebuild it
// under another name, said before the cut, or under none, so it is not cut.
TEST_F(EngineOnDisk, ANameTheScriptCannotKeepIsSaidOrNotCut) {
    ui.dialogChoice = 4;
    const struct {
        std::string name, rebuilt;  // "" when no file could be rebuilt
    } cases[] = {
        {"ab\\", ""}, {"x\\y.bin", "y.bin"}, {"caf\xE9.bin", "caf\xEF\xBF\xBD.bin"}, {"cr\r.bin", "cr_.bin"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = PatternBytes(2'000'000);
        WriteFileBytes(dir.Path(c.name), bytes);
        ui.log.clear();
        const Outcome split = engine.StartSplit(dir.Path(c.name));
        const std::string said = "Le script ne peut pas garder le nom " + c.name + " : ";
        if (c.rebuilt.empty()) {
            EXPECT_EQ(split, Outcome::Stopped);
            EXPECT_EQ(ui.log.end()[-2], said + "renommez le fichier pour le découper.");
            EXPECT_FALSE(FileExists(Slice(c.name, 1)));
            continue;
        }
        ASSERT_EQ(split, Outcome::Completed);
        EXPECT_EQ(std::count(ui.log.begin(), ui.log.end(),
                             said + "le fichier sera reconstitué sous le nom " + c.rebuilt + "."), 1);
        // The name said is the one the join rebuilds under.
        std::filesystem::remove(PathFromUtf8(dir.Path(c.name)));
        ui.answers = {Answer::No};
        EXPECT_EQ(engine.StartJoin(Script(c.name)), Outcome::Completed);
        EXPECT_EQ(ReadFileBytes(dir.Path(c.rebuilt)), bytes);
    }
}
#endif

}  // namespace
}  // namespace sorv::test
