// Recovery slices on real files, natively and under Wine: any K losses of a
// set repaired exactly by the join and by --reparer, K + 1 refused with
// everything kept, sets of more than 255 slices, slices in several bands, the
// values both builds write, and the pure pieces under them.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <numeric>
#include <random>
#include <tuple>

#include "engine_fixture.h"
#include "faulty_file_system.h"
#include "io_error.h"
#include "recovery_bands.h"
#include "recovery_code.h"
#include "sizes.h"

namespace sorv::test {
namespace {

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

enum class Loss { Missing, Truncated, BitFlipped, Zeroed, Appended };

class RecoveryOnDisk : public EngineOnDisk {
protected:
    std::string source = "set.bin";
    std::string bytes;
    std::int64_t slices = 0, count = 0;
    std::map<std::string, std::string> files;  // every file of the set as the split left it

    // Splits `size` pattern bytes at `sliceSize` (a test seam: any multiple of 2048) with K recovery
    // slices, in an empty folder.
    void Split(std::size_t size, std::int64_t sliceSize, std::int64_t k) {
        files.clear();
        Restore();
        bytes = PatternBytes(size, 7);
        WriteFileBytes(dir.Path(source), bytes);
        engine.state.SourceSize = static_cast<std::int64_t>(size);
        engine.state.SliceSize = sliceSize;
        engine.state.SliceCount = CountSlices(engine.state.SourceSize, sliceSize);
        engine.state.Recovery = {k, 0};
        engine.PrepareSplit(dir.Path(source));
        ASSERT_EQ(ui.log.back(), "...Ok") << ui.log.back();
        slices = engine.state.SliceCount, count = k;
        std::filesystem::remove(PathFromUtf8(dir.Path(source)));
        files.clear();
        for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(dir.folder())))
            files[Utf8(entry.path().filename())] = ReadFileBytes(Utf8(entry.path()));
        ui.log.clear();
    }
    // File i of the set: data slices 0..N-1, then recovery slices.
    std::string SetFile(std::int64_t i) const {
        return i < slices ? Slice(source, static_cast<int>(i + 1)) : RecoverySliceFileName(dir.Path(source), i - slices + 1);
    }
    void Damage(std::int64_t i, Loss loss) {
        const std::string path = SetFile(i);
        std::string content = ReadFileBytes(path);
        switch (loss) {
        case Loss::Missing: std::filesystem::remove(PathFromUtf8(path)); return;
        case Loss::Truncated: content.resize(content.size() / 2); break;
        case Loss::BitFlipped: content[content.size() / 3] ^= 0x10; break;
        case Loss::Zeroed: content.assign(content.size(), '\0'); break;
        case Loss::Appended: content.append(1000, '\0'); break;
        }
        WriteFileBytes(path, content);
    }
    std::string ScriptPath() const { return Script(source); }
    std::string Target() const { return dir.Path(source); }
    std::size_t LinesWith(const std::string& part) const {
        return static_cast<std::size_t>(std::count_if(ui.log.begin(), ui.log.end(), [&](const std::string& l) {
            return l.find(part) != std::string::npos;
        }));
    }
    // Turns the script's fingerprint of file i into another valid one.
    void FalsifyPrint(std::int64_t i) {
        std::string script = ReadFileBytes(ScriptPath());
        const bool recovery = i >= slices;
        const std::string key = "\r\n" + std::to_string(recovery ? i - slices + 1 : i + 1) + "=";
        char& digit = script[script.find(key, script.find(recovery ? "[Secours]" : "[Empreintes]")) + key.size()];
        digit = digit == '1' ? '2' : '1';
        WriteFileBytes(ScriptPath(), script);
    }
    // The set as the split left it, nothing else beside it.
    void Restore() {
        for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(dir.folder())))
            std::filesystem::remove(entry.path());
        for (const auto& [name, content] : files) WriteFileBytes(dir.Path(name), content);
    }
    // `losses` distinct files drawn from the whole set, the short last slice and the recovery slices included.
    std::vector<std::pair<std::int64_t, Loss>> Draw(std::mt19937& random, std::int64_t losses) const {
        std::vector<std::int64_t> all(static_cast<std::size_t>(slices + count));
        std::iota(all.begin(), all.end(), 0);
        std::shuffle(all.begin(), all.end(), random);
        std::vector<std::pair<std::int64_t, Loss>> drawn;
        for (std::int64_t i = 0; i < losses; ++i) drawn.emplace_back(all[static_cast<std::size_t>(i)], static_cast<Loss>(random() % 5));
        return drawn;
    }
};

// Up to K losses of any kind are rebuilt exactly by the join, in one band or
// in several, whether the slices are known missing before the copy or found
// damaged while it reads them; K + 1 leave nothing under the real name and
// every file as it was.
TEST_F(RecoveryOnDisk, AnyKLossesAreRepairedAndKPlusOneAreRefused) {
    const struct {
        std::size_t size;
        std::int64_t sliceSize, k;
        std::uint64_t memory;
    } sets[] = {
        {40'000, 4096, 3, kRecoveryMemory},  // 10 slices, the last of 3,136 bytes
        {40'000, 4096, 3, 4096},             // the same in bands of 1,344 bytes
        {20'000, 2048, 12, 3 * 2048},        // more recovery slices than slices
    };
    std::mt19937 random(19);
    for (const auto& set : sets) {
        engine.RecoveryMemory = set.memory;
        Split(set.size, set.sliceSize, set.k);
        for (int trial = 0; trial < 12; ++trial) {
            const std::int64_t losses = trial < 10 ? 1 + trial % set.k : set.k + 1;
            const auto drawn = Draw(random, losses);
            SCOPED_TRACE("size " + std::to_string(set.size) + ", trial " + std::to_string(trial));
            Restore();
            for (const auto& [file, loss] : drawn) Damage(file, loss);
            std::map<std::string, std::string> before;
            for (std::int64_t i = 0; i < slices + count; ++i)
                if (FileExists(SetFile(i))) before[SetFile(i)] = ReadFileBytes(SetFile(i));
            // A clean-up deletes what the join read; what it did not read is kept and named.
            const bool cleanUp = losses <= set.k && trial % 2 == 1;
            ui.answers = {cleanUp ? Answer::Yes : Answer::No};
            ui.log.clear();
            const Outcome outcome = engine.StartJoin(ScriptPath());
            // Rebuilt or refused, every file of the set stays as it was.
            for (const auto& [path, content] : before)
                EXPECT_TRUE(cleanUp ? !FileExists(path) || LinesWith("Non effacé, le regroupement ne l'a pas lu : " + path) == 1
                                    : FileExists(path) && ReadFileBytes(path) == content)
                    << path;
            const auto dataLost = std::count_if(drawn.begin(), drawn.end(), [&](const auto& d) { return d.first < slices; });
            if (losses <= set.k) {
                ASSERT_EQ(outcome, Outcome::Completed);
                EXPECT_TRUE(ReadFileBytes(Target()) == bytes);
                EXPECT_NE(FileExists(ScriptPath()), cleanUp);
                EXPECT_EQ(LinesWith("est reconstituée à partir des tranches de secours."), static_cast<std::size_t>(dataLost));
                const auto dataMissing = std::count_if(drawn.begin(), drawn.end(), [&](const auto& d) {
                    return d.first < slices && d.second == Loss::Missing;
                });
                EXPECT_EQ(LinesWith("Vérification OK."), dataMissing == 0 ? 1u : 0u);
                EXPECT_EQ(LinesWith("elles seront reconstituées"), dataMissing == 0 ? 0u : 1u);
                continue;
            }
            ui.answers.clear();
            EXPECT_NE(outcome, Outcome::Completed);
            EXPECT_EQ(ui.log.back(), Target() + " n'est pas reconstitué.");
            EXPECT_FALSE(FileExists(Target()));
            EXPECT_FALSE(FileExists(PartialJoinName(ScriptPath())));
        }
    }
}

// The first slice, when it checks, is the size the set was cut to: a
// section whose coding size is a block off it, or whose header is damaged,
// is not used, and the join, the check and the repair say so alike (the
// check does not call the set sound); a first slice that is merely damaged
// leaves the section in use and is rebuilt.
TEST_F(RecoveryOnDisk, ACodingSizeTheFirstSliceBeliesIsNotUsed) {
    Split(40'000, 4096, 3);  // 10 slices
    // What the script says instead, whether slice 1 loses its last block, why the section does not serve.
    const std::string belied = "Taille ne correspond pas aux tranches";
    const std::tuple<std::string, std::string, bool, std::string> cases[] = {
        {"Taille=4096", "Taille=4160", false, belied}, {"Taille=4096", "Taille=4032", false, belied},
        {"Taille=4096", "Taille=8192", false, belied}, {"Taille=4096", "Taille=4096", true, ""},
        {"[Secours]", "[S[cours]", false, "en-tête [S[cours]"}, {"[Secours]", "Secours]", false, "en-tête Secours]"}};
    for (const auto& [was, now, truncated, why] : cases) {
        Restore();
        std::string script = files.at("set.d");
        WriteFileBytes(ScriptPath(), script.replace(script.find(was), was.size(), now));
        if (truncated) WriteFileBytes(SetFile(0), files.at(NamePartOf(SetFile(0))).substr(0, 4096 - 64));
        ui.answers = {Answer::No};
        ui.log.clear();
        const bool serves = why.empty();
        EXPECT_EQ(engine.StartJoin(ScriptPath()), Outcome::Completed) << now;
        EXPECT_TRUE(ReadFileBytes(Target()) == bytes);
        EXPECT_EQ(LinesWith("est reconstituée à partir des tranches de secours."), serves ? 1u : 0u);
        EXPECT_EQ(LinesWith("La section [Secours] ne sert pas (" + why + ")"), serves ? 0u : 1u);
        std::filesystem::remove(PathFromUtf8(Target()));
        EXPECT_EQ(engine.CheckSlices(ScriptPath()), serves ? Outcome::Stopped : Outcome::Failed) << now;
        EXPECT_TRUE(serves || ui.log.back() == "Vérification : le fichier est entier, mais les tranches de secours de " +
                                                   ScriptPath() + " ne peuvent pas servir (" + why + ").");
        EXPECT_EQ(engine.RepairSet(ScriptPath()), serves ? Outcome::Completed : Outcome::Failed) << now;
        EXPECT_TRUE(serves || ui.log.back() == "Le script " + ScriptPath() + " ne permet aucune réparation (" + why + ").");
    }
    // Slice 1 damaged as well: the recovery slices, cut to the set's size, still belie the section.
    Restore();
    std::string script = files.at("set.d");
    WriteFileBytes(ScriptPath(), script.replace(script.find("Taille=4096"), 11, "Taille=4160"));
    Damage(0, Loss::BitFlipped);
    ui.answers = {Answer::No};
    ui.log.clear();
    EXPECT_EQ(engine.CheckSlices(ScriptPath()), Outcome::Failed);
    EXPECT_EQ(engine.StartJoin(ScriptPath()), Outcome::Failed);
    EXPECT_EQ(LinesWith("La section [Secours] ne sert pas (Taille ne correspond pas aux tranches)"), 2u);
    EXPECT_EQ(LinesWith(": endommagée"), 1u);
    // A slice missing instead: the join says why the recovery slices do not bring it back.
    Restore();
    WriteFileBytes(ScriptPath(), script);
    Damage(1, Loss::Missing);
    ui.log.clear();
    EXPECT_EQ(engine.StartJoin(ScriptPath()), Outcome::Failed);
    EXPECT_EQ(LinesWith("La section [Secours] ne sert pas (Taille ne correspond pas aux tranches)"), 1u);
    // Counts lowered by one slice, its value gone: every slice checks, the whole file does not.
    Restore();
    script = files.at("set.d");
    script.replace(script.find("TailleOriginale=40000"), 21, "TailleOriginale=36864");
    script.replace(script.find("Tranches=10"), 11, "Tranches=9");
    const std::size_t tenth = script.find("\r\n10=") + 2;
    script.erase(tenth, script.find("\r\n", tenth) + 2 - tenth);
    WriteFileBytes(ScriptPath(), script);
    for (const auto flow : {&Engine::CheckSlices, &Engine::RepairSet}) {
        ui.log.clear();
        EXPECT_EQ((engine.*flow)(ScriptPath()), Outcome::Failed);
        EXPECT_EQ(ui.log.back(), "Les tranches correspondent à leurs empreintes, le fichier entier non : le script " +
                                     ScriptPath() + " ne décrit pas ce jeu.");
    }
    // The size a byte off: the last slice, of another size than it leaves,
    // matches its value read whole; the script is blamed, never the slice,
    // also when another slice is missing.
    for (const std::string recorded : {"39999", "40001"})
        for (const bool oneMissing : {false, true})
            for (const auto flow : {&Engine::StartJoin, &Engine::RepairSet, &Engine::CheckSlices}) {
                SCOPED_TRACE(recorded + (oneMissing ? " missing" : ""));
                Restore();
                script = files.at("set.d");
                WriteFileBytes(ScriptPath(), script.replace(script.find("TailleOriginale=40000"), 21,
                                                            "TailleOriginale=" + recorded));
                if (oneMissing) Damage(1, Loss::Missing);
                ui.log.clear();
                EXPECT_EQ((engine.*flow)(ScriptPath()), Outcome::Failed);
                EXPECT_EQ(LinesWith(oneMissing ? "La tranche " + SetFile(slices - 1) +
                                                     " correspond à son empreinte, pas aux " + recorded
                                               : "Les tranches font 40000 octet(s), le script en annonce " + recorded),
                          1u);
                EXPECT_EQ(LinesWith("endommagée"), 0u);
            }
}

// The whole file's value false in the script: whatever a repair would
// rebuild (a slice, the short last one, a recovery slice), it says so and
// puts nothing in place.
TEST_F(RecoveryOnDisk, AFalseWholeFileValueStopsTheRepairBeforeAnythingIsPutBack) {
    Split(40'000, 4096, 3);  // 10 slices: files 10 to 12 are the recovery slices
    for (const std::int64_t lost : {3, 9, 11}) {
        Restore();
        std::string script = files.at("set.d");
        char& digit = script[script.find("Fichier=") + 8];
        digit = digit == '1' ? '2' : '1';
        WriteFileBytes(ScriptPath(), script);
        Damage(lost, Loss::Missing);
        ui.log.clear();
        EXPECT_EQ(engine.RepairSet(ScriptPath()), Outcome::Failed) << lost;
        EXPECT_EQ(ui.log.back(), "Les tranches correspondent à leurs empreintes, le fichier entier non : le script " +
                                     ScriptPath() + " ne décrit pas ce jeu.");
        const auto entries = std::filesystem::directory_iterator(PathFromUtf8(dir.folder()));
        EXPECT_EQ(static_cast<std::size_t>(std::distance(begin(entries), end(entries))), files.size() - 1) << lost;
    }
}

// A fingerprint the script records wrong, of a file intact or missing: the
// repair puts back every other file, leaves that one as it is and says the
// script disagrees; the check never promises a repair that cannot be made.
TEST_F(RecoveryOnDisk, AFalseRecordedFingerprintIsSaidAndTheRestRepaired) {
    Split(40'000, 4096, 3);  // 10 slices: files 10 to 12 are the recovery slices
    // The file whose value is false, the files lost, what is said of the value.
    const std::tuple<std::int64_t, std::vector<std::int64_t>, std::string> cases[] = {
        {11, {3}, "est fausse : le fichier est identique à sa reconstitution."},
        {1, {}, "est fausse : le fichier est identique à sa reconstitution."},
        {11, {11, 4}, "ne correspond pas à sa reconstitution."},
    };
    for (const auto& [falsePrint, lost, said] : cases) {
        Restore();
        FalsifyPrint(falsePrint);
        for (const std::int64_t i : lost) Damage(i, Loss::Missing);
        ui.log.clear();
        EXPECT_EQ(engine.CheckSlices(ScriptPath()), Outcome::Failed);
        EXPECT_EQ(engine.RepairSet(ScriptPath()), Outcome::Failed);
        EXPECT_EQ(engine.CheckSlices(ScriptPath()), Outcome::Failed);
        EXPECT_EQ(LinesWith("L'empreinte de " + SetFile(falsePrint) + " dans le script " + said), 3u) << falsePrint;
        EXPECT_EQ(LinesWith("Réparable : "), lost.empty() ? 0u : 1u);
        const bool falseOneLost = std::ranges::find(lost, falsePrint) != lost.end();
        for (std::int64_t i = 0; i < slices + count; ++i)
            EXPECT_TRUE(i == falsePrint && falseOneLost ? !FileExists(SetFile(i))
                                                        : ReadFileBytes(SetFile(i)) == files.at(NamePartOf(SetFile(i))))
                << i;
        EXPECT_FALSE(FileExists(DamagedFileName(SetFile(falsePrint), 1)));
        EXPECT_FALSE(FileExists(RepairPartialName(ScriptPath(), falsePrint - slices + 1, true)));
        ui.answers = {Answer::No};
        EXPECT_EQ(engine.StartJoin(ScriptPath()), falsePrint < slices ? Outcome::Failed : Outcome::Completed);
    }
}

// The join promises to rebuild missing slices only while the recovery
// slices left can do it; a set it cannot rebuild ends as one without them
// does, and one found lost before the copy writes nothing.
TEST_F(RecoveryOnDisk, TheJoinPromisesOnlyWhatItCanKeepAndEndsALostSetPlainly) {
    Split(40'000, 4096, 3);  // 10 slices: files 10 to 12 are the recovery slices
    constexpr Loss kGone = Loss::Missing;
    const struct {
        std::vector<std::pair<std::int64_t, Loss>> losses;
        bool promise;
        Outcome outcome;
    } cases[] = {
        {{{0, kGone}, {1, kGone}, {10, kGone}, {11, kGone}}, false, Outcome::Failed},
        {{{0, kGone}, {4, Loss::Truncated}, {5, Loss::Appended}, {12, Loss::Truncated}}, false, Outcome::Failed},
        {{{0, kGone}, {2, Loss::BitFlipped}, {3, Loss::Zeroed}, {4, Loss::BitFlipped}}, true, Outcome::Failed},
        {{{0, kGone}, {11, kGone}}, true, Outcome::Completed},
    };
    for (const auto& c : cases) {
        Restore();
        for (const auto& [file, loss] : c.losses) Damage(file, loss);
        ui.answers = {Answer::No};
        ui.log.clear();
        ui.messageRuns = 0;
        EXPECT_EQ(engine.StartJoin(ScriptPath()), c.outcome);
        EXPECT_EQ(LinesWith("elles seront reconstituées à partir des tranches de secours si le reste du jeu est intact."),
                  c.promise ? 1u : 0u);
        if (c.outcome == Outcome::Completed) continue;
        EXPECT_EQ(ui.log.back(), Target() + " n'est pas reconstitué.");
        EXPECT_EQ(ui.messageRuns > 0, c.promise);  // nothing copied when the loss is known first
        EXPECT_FALSE(FileExists(PartialJoinName(ScriptPath())));
    }
}

// A slice missing before the copy is rebuilt from what the copy gathers;
// the last slice's end, short of a whole 64-byte block, counts too.
TEST_F(RecoveryOnDisk, ASliceMissingBeforeTheCopyIsRebuiltWhateverTheLastSliceHolds) {
    Split(20'000, 2048, 1);  // the last slice holds 1,568 bytes: 24 blocks and a half
    Damage(0, Loss::Missing);
    ui.answers = {Answer::No};
    EXPECT_EQ(engine.StartJoin(ScriptPath()), Outcome::Completed);
    EXPECT_TRUE(ReadFileBytes(Target()) == bytes);
}

// The repair puts every file back byte for byte, keeps each damaged one
// under a name that says so, and the check then finds the set whole; what
// cannot be repaired writes nothing. The check says whole, repairable, lost.
TEST_F(RecoveryOnDisk, RepairRestoresEveryFileAndTheCheckJudgesTheSet) {
    engine.RecoveryMemory = 3 * 2048;
    Split(70'000, 8192, 3);  // 9 slices, 3 recovery slices, bands of 1,024 bytes
    const struct {
        std::vector<std::pair<std::int64_t, Loss>> losses;
        Outcome check, repair;
    } cases[] = {
        {{}, Outcome::Completed, Outcome::Completed},
        {{{8, Loss::Truncated}, {9, Loss::Missing}, {3, Loss::BitFlipped}}, Outcome::Stopped, Outcome::Completed},
        {{{0, Loss::Zeroed}, {11, Loss::BitFlipped}}, Outcome::Stopped, Outcome::Completed},
        {{{10, Loss::Appended}}, Outcome::Stopped, Outcome::Completed},
        {{{0, Loss::Missing}, {1, Loss::Missing}, {10, Loss::Zeroed}, {5, Loss::BitFlipped}}, Outcome::Failed,
         Outcome::Failed},
    };
    for (const auto& c : cases) {
        Restore();
        for (const auto& [file, loss] : c.losses) Damage(file, loss);
        const auto damagedFile = [&](std::int64_t i) { return DamagedFileName(SetFile(i), 1); };
        ui.log.clear();
        EXPECT_EQ(engine.CheckSlices(ScriptPath()), c.check);
        const auto listed = std::filesystem::directory_iterator(PathFromUtf8(dir.folder()));
        const std::size_t filesBefore = static_cast<std::size_t>(std::distance(listed, {}));
        EXPECT_EQ(engine.RepairSet(ScriptPath()), c.repair);
        const auto after = std::filesystem::directory_iterator(PathFromUtf8(dir.folder()));
        const std::size_t filesAfter = static_cast<std::size_t>(std::distance(after, {}));
        if (c.repair == Outcome::Failed) {
            EXPECT_EQ(filesAfter, filesBefore);
            continue;
        }
        for (const auto& [name, content] : files) EXPECT_TRUE(ReadFileBytes(dir.Path(name)) == content) << name;
        for (const auto& [file, loss] : c.losses)
            EXPECT_EQ(FileExists(damagedFile(file)), loss != Loss::Missing) << SetFile(file);
        EXPECT_EQ(engine.CheckSlices(ScriptPath()), Outcome::Completed);
    }
}

// A stop at any moment of a repair: said as a stop, no sound file called
// damaged nor a rebuild called bad, and the set either as it was or repaired.
TEST_F(RecoveryOnDisk, ARepairStoppedAtAnyMomentIsAStop) {
    Split(40'000, 4096, 2);
    // A slow device: messages run between any two pieces of a copy.
    FaultyFileSystem slow{NativeFileSystem()};
    Engine repair{ui, slow};
    ui.clock = 0;
    slow.onTransfer = [&](std::uint64_t) { *ui.clock += PumpCadence::kInterval; };
    Damage(4, Loss::Missing);
    ui.messageRuns = 0;
    slow.undeletablePath = PartialJoinName(ScriptPath());  // its lock file stays, and is said to
    ASSERT_EQ(repair.RepairSet(ScriptPath()), Outcome::Completed);
    EXPECT_EQ(LinesWith("Non effacé, le système le refuse : " + PartialJoinName(ScriptPath())), 1u);
    slow.undeletablePath.clear();
    std::filesystem::remove(PathFromUtf8(PartialJoinName(ScriptPath())));
    const int runs = ui.messageRuns;
    for (int stopAt = 1; stopAt <= runs; ++stopAt) {
        Restore();
        Damage(4, Loss::Missing);
        ui.log.clear();
        ui.messageRuns = 0;
        ui.onMessageRun = [&] {
            if (ui.messageRuns == stopAt) repair.state.CancelRequested = true;
        };
        const Outcome outcome = repair.RepairSet(ScriptPath());
        EXPECT_TRUE(outcome == Outcome::Stopped || outcome == Outcome::Completed) << stopAt;
        EXPECT_TRUE(outcome != Outcome::Stopped || ui.log.back() == "Arrêt.") << stopAt << ui.log.back();
        EXPECT_EQ(LinesWith("endommag") + LinesWith("n'a pas pu"), 0u) << stopAt;
        for (const auto& [name, content] : files)
            EXPECT_TRUE(name == std::filesystem::path(SetFile(4)).filename() && outcome == Outcome::Stopped
                            ? !FileExists(dir.Path(name))
                            : ReadFileBytes(dir.Path(name)) == content)
                << name << " " << stopAt;
    }
    ui.onMessageRun = nullptr;
    ui.clock.reset();
}

// Without a clock (sorv-cli) a Ctrl+C is seen at the message runs between
// two copies: one that comes at any moment before a file is put back stops
// the repair. A slice another program changes after it was checked is named.
TEST_F(RecoveryOnDisk, ARepairWithoutAClockSeesEveryStopAndEveryChange) {
    Split(40'000, 4096, 2);
    FaultyFileSystem counted{NativeFileSystem()};
    Engine repair{ui, counted};
    int transfers = 0, stopAt = 0;
    bool stopPending = false, putBackBegun = false;
    counted.onTransfer = [&](std::uint64_t) {
        if (++transfers != stopAt) return;
        stopPending = true;
        putBackBegun = LinesWith("est reconstituée") > 0;
    };
    ui.onMessageRun = [&] { repair.state.CancelRequested = repair.state.CancelRequested || stopPending; };
    Damage(4, Loss::Missing);
    ui.messageRuns = 0;
    ASSERT_EQ(repair.RepairSet(ScriptPath()), Outcome::Completed);
    const int total = transfers, runs = ui.messageRuns;
    for (stopAt = 1; stopAt <= total; ++stopAt) {
        Restore();
        Damage(4, Loss::Missing);
        transfers = 0;
        stopPending = false;
        ui.log.clear();
        EXPECT_EQ(repair.RepairSet(ScriptPath()), putBackBegun ? Outcome::Completed : Outcome::Stopped) << stopAt;
    }
    // The last runs come after each slice read in order: slice 10 changes
    // once slice 5 is read.
    Restore();
    Damage(4, Loss::Missing);
    ui.messageRuns = 0;
    ui.onMessageRun = [&] {
        if (ui.messageRuns == runs - 5) WriteFileBytes(SetFile(9), "changed");
    };
    EXPECT_EQ(repair.RepairSet(ScriptPath()), Outcome::Failed);
    EXPECT_EQ(ui.log.back(), "La tranche " + SetFile(9) + " a changé pendant la réparation : rien n'est remis en place.");
    EXPECT_FALSE(FileExists(SetFile(4)));
    ui.onMessageRun = nullptr;
    // Changed, at its size, between the survey and the rebuild that reads it
    // again: the slice is named, not the script.
    for (const std::int64_t changed : {std::int64_t{9}, slices}) {
        Restore();
        Damage(4, Loss::Missing);
        int opened = 0;
        counted.beforeRead = [&](const std::string& path) {
            if (path == SetFile(changed) && ++opened == 2) Damage(changed, Loss::BitFlipped);
        };
        EXPECT_EQ(repair.RepairSet(ScriptPath()), Outcome::Failed);
        EXPECT_EQ(ui.log.back(), (changed < slices ? "La tranche " : "La tranche de secours ") + SetFile(changed) +
                                     " a changé pendant la réparation : rien n'est remis en place.");
        EXPECT_FALSE(FileExists(SetFile(4)));
    }
}

// A slice the copy checked and another program changed before the rebuild
// read it again: the join names it, not the script, and rebuilds nothing.
TEST_F(RecoveryOnDisk, ASliceChangedBeforeTheRebuildReadsItIsNamed) {
    FaultyFileSystem faulty{NativeFileSystem()};
    Engine join{ui, faulty};
    Split(40'000, 4096, 2);
    Damage(4, Loss::BitFlipped);
    int opened = 0;
    faulty.beforeRead = [&](const std::string& path) {
        if (path == SetFile(9) && ++opened == 2) Damage(9, Loss::BitFlipped);
    };
    EXPECT_EQ(join.StartJoin(ScriptPath()), Outcome::Failed);
    EXPECT_EQ(LinesWith("La tranche " + SetFile(9) + " a changé pendant le regroupement."), 1u);
    EXPECT_EQ(LinesWith("dans le script ne correspond pas"), 0u);
    EXPECT_FALSE(FileExists(Target()));
}

// A slice the join cannot read, from its first byte, its middle or its last,
// is rebuilt like a damaged one, beside a missing one too; one loss more than
// the recovery slices leaves nothing under the real name. Every file stays as it was.
TEST_F(RecoveryOnDisk, AnUnreadableSliceIsRebuiltByTheJoin) {
    FaultyFileSystem faulty{NativeFileSystem()};
    Engine join{ui, faulty};
    Split(40'000, 4096, 2);  // 10 slices
    // Where reading slice 4 fails, the slices missing beside it, the outcome.
    const std::tuple<std::uint64_t, std::vector<std::int64_t>, Outcome> cases[] = {
        {0, {}, Outcome::Completed}, {1000, {}, Outcome::Completed}, {4095, {6}, Outcome::Completed},
        {2048, {0, 6}, Outcome::Failed}};
    for (const auto& [errorAt, missing, outcome] : cases) {
        Restore();
        for (const std::int64_t lost : missing) Damage(lost, Loss::Missing);
        faulty.readErrorPath = SetFile(3), faulty.readErrorAt = errorAt;
        ui.answers = {Answer::No};
        ui.log.clear();
        EXPECT_EQ(join.StartJoin(ScriptPath()), outcome) << errorAt;
        EXPECT_EQ(LinesWith("La tranche " + SetFile(3) + " est illisible ("), 1u);
        EXPECT_TRUE(outcome == Outcome::Completed ? ReadFileBytes(Target()) == bytes
                                                  : !FileExists(Target()) && !FileExists(PartialJoinName(ScriptPath())));
        for (const auto& [name, content] : files) {
            const bool lost = std::any_of(missing.begin(), missing.end(), [&](std::int64_t i) { return SetFile(i) == dir.Path(name); });
            EXPECT_TRUE(FileExists(dir.Path(name)) ? !lost && ReadFileBytes(dir.Path(name)) == content : lost) << name;
        }
    }
}

// A slice whose size changes after the set was looked at, before it is read,
// is rebuilt like a damaged one and never writes past its place.
TEST_F(RecoveryOnDisk, ASliceResizedBeforeItIsReadIsRebuilt) {
    FaultyFileSystem faulty{NativeFileSystem()};
    Engine join{ui, faulty};
    Split(40'000, 4096, 1);  // 10 slices, the last one short
    for (const auto& [slice, by] : std::vector<std::pair<std::int64_t, std::int64_t>>{{9, 1}, {3, -1000}, {3, 1}}) {
        Restore();
        faulty.resizedPath = SetFile(slice), faulty.resizeBy = by;
        ui.answers = {Answer::No};
        ui.log.clear();
        EXPECT_EQ(join.StartJoin(ScriptPath()), Outcome::Completed) << slice << " " << by << " " << ui.log.back();
        EXPECT_EQ(LinesWith("La tranche " + SetFile(slice) + " est reconstituée"), 1u);
        EXPECT_EQ(ReadFileBytes(Target()), bytes);
        std::filesystem::remove(PathFromUtf8(Target()));
    }
}

// A folder in a slice's and a recovery slice's place: the join names it and
// rebuilds around it, the check names it, the repair never moves it.
TEST_F(RecoveryOnDisk, AFolderInASetFilesPlaceIsNamedAndNeverMoved) {
    Split(40'000, 4096, 2);
    for (const std::int64_t i : {std::int64_t{2}, slices}) {
        std::filesystem::remove(PathFromUtf8(SetFile(i)));
        std::filesystem::create_directory(PathFromUtf8(SetFile(i)));
    }
    ui.answers = {Answer::No};
    EXPECT_EQ(engine.StartJoin(ScriptPath()), Outcome::Completed);
    EXPECT_EQ(LinesWith(SetFile(2) + " est un dossier, pas une tranche."), 1u);
    EXPECT_EQ(LinesWith(SetFile(slices) + " : un dossier, pas une tranche."), 1u);
    EXPECT_TRUE(ReadFileBytes(Target()) == bytes);
    EXPECT_EQ(engine.CheckSlices(ScriptPath()), Outcome::Stopped);  // repairable, once the folders are moved
    for (const std::int64_t i : {std::int64_t{2}, slices}) {
        EXPECT_EQ(LinesWith(SetFile(i) + ": un dossier, pas une tranche"), 1u);
        EXPECT_EQ(LinesWith(SetFile(i) + " n'est pas un fichier : sorv-cli --reparer ne le déplace pas, déplacez-le."), 1u);
    }
    EXPECT_EQ(LinesWith("une fois ce qui n'est pas un fichier déplacé, sorv-cli --reparer"), 1u);
    ui.log.clear();
    EXPECT_EQ(engine.RepairSet(ScriptPath()), Outcome::Failed);
    EXPECT_EQ(ui.log.back(), SetFile(slices) + " n'est pas un fichier : il n'est pas déplacé, rien n'est réparé.");
    for (const std::int64_t i : {std::int64_t{2}, slices}) EXPECT_TRUE(std::filesystem::is_directory(PathFromUtf8(SetFile(i))));
    EXPECT_EQ(LinesWith(".endommag"), 0u);

    // A folder under a name the join or the repair writes under is no run's
    // leftover: nothing is asked, and it stays. (SetFile counts from 0.)
    for (const std::int64_t i : {std::int64_t{2}, slices}) std::filesystem::remove(PathFromUtf8(SetFile(i)));
    std::filesystem::remove(PathFromUtf8(Target()));
    for (const auto& [flow, name] : {std::pair{&Engine::StartJoin, PartialJoinName(ScriptPath())},
                                     std::pair{&Engine::RepairSet, RepairPartialName(ScriptPath(), 3, false)}}) {
        std::filesystem::create_directory(PathFromUtf8(name));
        ui.log.clear();
        ui.boxes.clear();
        EXPECT_EQ((engine.*flow)(ScriptPath()), Outcome::Failed);
        EXPECT_EQ(ui.log.back(), name + " n'est pas un fichier, et ce nom doit servir à écrire : déplacez-le.");
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_TRUE(std::filesystem::is_directory(PathFromUtf8(name)));
        std::filesystem::remove(PathFromUtf8(name));
    }
    // Under the join's partial name, which a repair only takes as its lock:
    // a set that needs nothing written is still judged, and whole.
    for (const bool whole : {false, true}) {
        if (whole) Restore();
        ui.log.clear();
        std::filesystem::create_directory(PathFromUtf8(PartialJoinName(ScriptPath())));
        // The check says it must be moved first.
        EXPECT_EQ(engine.CheckSlices(ScriptPath()), whole ? Outcome::Completed : Outcome::Stopped);
        EXPECT_EQ(LinesWith(PartialJoinName(ScriptPath()) + " n'est pas un fichier : sorv-cli --reparer"),
                  whole ? 0u : 1u);
        EXPECT_EQ(engine.RepairSet(ScriptPath()), whole ? Outcome::Completed : Outcome::Failed);
        EXPECT_EQ(ui.log.back(), whole ? "...Ok"
                                       : PartialJoinName(ScriptPath()) +
                                             " n'est pas un fichier, et ce nom doit servir à écrire : déplacez-le.");
        std::filesystem::remove(PathFromUtf8(PartialJoinName(ScriptPath())));
    }
}

// A join never rebuilds under a name a repair of its set writes under: the
// next repair would take the file for a killed repair's.
TEST_F(RecoveryOnDisk, ATargetNamedLikeARepairsFileIsRefused) {
    Split(40'000, 4096, 2);
    std::string script = ReadFileBytes(ScriptPath());
    const std::size_t name = script.find("NomOriginal=") + 12;
    std::vector<std::string> targets = {"set.°r02", "set.°rs01"};
#ifdef _WIN32
    targets.push_back("set.°RS02");  // the same name to Windows
#endif
    for (const std::string& target : targets) {
        WriteFileBytes(ScriptPath(), script.replace(name, script.find("\r\n", name) - name, target));
        EXPECT_EQ(engine.StartJoin(ScriptPath()), Outcome::Stopped) << target;
        EXPECT_EQ(ui.log[ui.log.size() - 2],
                  "Le fichier à reconstituer porterait le nom que prend la réparation d'une tranche :" + dir.Path(target));
        EXPECT_FALSE(FileExists(dir.Path(target)));
    }
}

// What a killed repair left cannot be told from a file of the user's: the
// clean-up keeps it and names it.
TEST_F(RecoveryOnDisk, TheCleanUpKeepsAndNamesWhatAKilledRepairLeft) {
    Split(40'000, 4096, 2);
    const std::string left[] = {RepairPartialName(ScriptPath(), 3, false), RepairPartialName(ScriptPath(), 2, true)};
    for (const std::string& path : left) WriteFileBytes(path, "left");
    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.StartJoin(ScriptPath()), Outcome::Completed);
    EXPECT_FALSE(FileExists(ScriptPath()));
    for (const std::string& path : left) {
        EXPECT_TRUE(FileExists(path));
        EXPECT_EQ(LinesWith("Non effacé, reste d'une réparation interrompue, ou fichier à vous : " + path), 1u);
    }
}

// A killed repair leaves its partial files behind. The next repair asks
// about each (it cannot be told from a file of the user's): Yes clears it,
// No keeps it and stops; one a live repair holds stops it at once.
TEST_F(RecoveryOnDisk, ARepairAsksAboutAKilledRepairsFileAndRefusesALiveOne) {
    Split(40'000, 4096, 2);
    const std::string partial = RepairPartialName(ScriptPath(), 5, false), left = "left by a killed repair";
    // The answer to the question, whether a live repair holds the file, the outcome.
    const std::tuple<Answer, bool, Outcome> cases[] = {
        {Answer::Yes, false, Outcome::Completed}, {Answer::No, false, Outcome::Stopped}, {Answer::Yes, true, Outcome::Refused}};
    for (const auto& [answer, live, outcome] : cases) {
        Restore();
        Damage(4, Loss::Missing);
        WriteFileBytes(partial, left);
        const std::unique_ptr<File> held = live ? NativeFileSystem().OpenRead(partial) : nullptr;
        ASSERT_TRUE(!held || held->TryLock());
        ui.answers = {answer};
        EXPECT_EQ(engine.RepairSet(ScriptPath()), outcome);
        EXPECT_EQ(ui.answers.empty(), !live);
        const bool repaired = outcome == Outcome::Completed;
        EXPECT_TRUE(repaired ? ReadFileBytes(SetFile(4)) == files.at(NamePartOf(SetFile(4))) : !FileExists(SetFile(4)));
        EXPECT_TRUE(repaired ? !FileExists(partial) : ReadFileBytes(partial) == left);
    }
}

// A medium that takes no new file (read-only, write-protected): a repair
// that finds the set whole says so without its lock; one that must write
// stops before it writes anything, saying why.
TEST_F(RecoveryOnDisk, ARepairOnAMediumThatTakesNoNewFileWritesNothing) {
    Split(40'000, 4096, 2);
    FaultyFileSystem readOnly{NativeFileSystem()};
    Engine repair{ui, readOnly};
    // The error, whether a slice is lost, the last line.
    const std::tuple<int, bool, std::string> cases[] = {
        {kAccessDenied, false, "...Ok"}, {kWriteProtected, true, " ne peut pas être créé (Disque protégé en écriture) : rien n'est réparé."}};
    for (const auto& [code, lost, said] : cases) {
        Restore();
        if (lost) Damage(4, Loss::Missing);
        readOnly.refuseCreation = code;
        ui.log.clear();
        EXPECT_EQ(repair.RepairSet(ScriptPath()), lost ? Outcome::Failed : Outcome::Completed) << code;
        EXPECT_EQ(ui.log.back(), lost ? PartialJoinName(ScriptPath()) + said : said);
        EXPECT_EQ(LinesWith("Le jeu est entier : rien à réparer."), lost ? 0u : 1u);
        const auto entries = std::filesystem::directory_iterator(PathFromUtf8(dir.folder()));
        EXPECT_EQ(static_cast<std::size_t>(std::distance(begin(entries), end(entries))), files.size() - (lost ? 1 : 0));
    }
}

// More than 255 slices: indices past one byte rebuild like the others.
TEST_F(RecoveryOnDisk, ASetOfMoreThan255SlicesIsRepaired) {
    Split(300 * 2048 + 100, 2048, 3);
    ASSERT_EQ(slices, 301);
    for (const std::int64_t lost : {255, 256, 300}) Damage(lost, Loss::Missing);
    ui.answers = {Answer::No};
    EXPECT_EQ(engine.StartJoin(ScriptPath()), Outcome::Completed);
    EXPECT_TRUE(ReadFileBytes(Target()) == bytes);
}

// Both builds write these very recovery slices (they are a pure function of
// the bytes), so a set split by one is repaired by the other; a split without
// recovery slices writes the script and files it always wrote.
TEST_F(RecoveryOnDisk, BothBuildsWriteTheSameRecoverySlicesAndKZeroChangesNothing) {
    Split(10'000, 4096, 0);
    const std::map<std::string, std::string> plain = files;
    Split(10'000, 4096, 2);
    const std::string script = files.at("set.d");
    EXPECT_EQ(script.substr(0, script.find("\r\n[Secours]")), plain.at("set.d"));
    EXPECT_EQ(script.substr(script.find("\r\n[Secours]")),
              "\r\n[Secours]\r\nCode=cauchy-gf16-1100b-split64\r\nTranches=2\r\nTaille=4096\r\n"
              "1=0de0333444c84bb3\r\n2=04b39c2afec33956\r\n");
    for (const auto& [name, content] : plain) EXPECT_TRUE(files.at(name) == content || name == "set.d") << name;
    EXPECT_EQ(files.size(), plain.size() + 2);
}

// The script's [Secours] section serves only when every value fits the set.
TEST(RecoverySection, ServesOnlyWhenItFitsTheSet) {
    const std::string head = "[Sorv]\r\nNomOriginal=a\r\nTailleOriginale=10000\r\nTranches=3\r\n[Secours]\r\n";
    const std::string code = "Code=cauchy-gf16-1100b-split64\r\n";
    const std::string prints = "1=0123456789abcdef\r\n2=0123456789ABCDEF\r\n";
    const struct {
        std::string section;
        std::string unusable;
    } cases[] = {
        {code + "Tranches=2\r\nTaille=4096\r\n" + prints, ""},
        {"Code=autre\r\nTranches=2\r\nTaille=4096\r\n" + prints, "code autre inconnu"},
        {code + "Tranches=x\r\nTaille=4096\r\n" + prints, "Tranches illisible"},
        {code + "Tranches=65533\r\nTaille=4096\r\n" + prints, "trop de tranches"},
        {code + "Tranches=2\r\nTaille=4000\r\n" + prints, "Taille illisible"},
        {code + "Tranches=2\r\nTaille=3264\r\n" + prints, "Taille ne correspond pas aux tranches"},
        {code + "Tranches=2\r\nTaille=5120\r\n" + prints, "Taille ne correspond pas aux tranches"},
        {code + "Tranches=2\r\nTaille=4096\r\n1=0123456789abcdef\r\n2=zz\r\n", "empreinte de la tranche de secours 2 illisible"},
    };
    for (const auto& c : cases) {
        const ScriptValues values = ParseScript(head + c.section);
        EXPECT_TRUE(values.Secours.Present());
        EXPECT_EQ(values.Secours.Unusable(3, 10000), c.unusable) << c.section;
    }
    // A Taille whose multiples wrap round must not pass for one that fits.
    EXPECT_EQ(ParseScript(head + code + "Tranches=2\r\nTaille=0x4000000000000000\r\n" + prints).Secours.Unusable(5, 10000),
              "Taille ne correspond pas aux tranches");
    EXPECT_FALSE(ParseScript(head.substr(0, head.find("[Secours]"))).Secours.Present());
    // A header a letter off, its bracket damaged, or lost (its keys under
    // another header): there, unusable, its values never slice fingerprints.
    const std::string fingerprints = "[Empreintes]\r\nAlgorithme=XXH64\r\nFichier=0123456789abcdef\r\n" + prints +
                                     "3=0123456789abcdef\r\n";
    const std::string section = code + "Tranches=4\r\nTaille=4096\r\n" + prints + "4=0123456789abcdef\r\n";
    const std::pair<std::string, std::string> damaged[] = {{"[Secour]\r\n", "en-tête [Secour]"},
        {"Secours]\r\n", "en-tête Secours]"}, {"", "en-tête [Secours] manquant"}};
    for (const auto& [header, unusable] : damaged) {
        const ScriptValues values = ParseScript(head.substr(0, head.find("[Secours]")) + fingerprints + header + section);
        EXPECT_TRUE(values.Secours.Present()) << header;
        EXPECT_EQ(values.Secours.Unusable(3, 10000), unusable) << header;
        EXPECT_EQ(values.Empreintes.Unusable(3), "") << header;
    }
    // Someone else's section keeps its keys.
    EXPECT_FALSE(ParseScript(head.substr(0, head.find("[Secours]")) + fingerprints + "[Autre]\r\n" + section)
                     .Secours.Present());
    // A partial script's [EnCours] is two letters from it, and its own.
    EXPECT_FALSE(ParseScript(PartialScriptFileBytes("a", 10000, 3, FileId{1, 2}, 2)).Secours.Present());
}

TEST(RecoveryCounts, PercentRoundsUpAndBandsFitTheBudget) {
    const struct {
        RecoveryRequest request;
        std::int64_t slices, expected;
    } counts[] = {{{3, 0}, 10, 3}, {{0, 5}, 749, 38}, {{0, 5}, 3, 1}, {{0, 100}, 7, 7}, {{0, 0}, 7, 0}, {{-2, 0}, 7, 0}};
    for (const auto& c : counts) EXPECT_EQ(RecoverySliceCount(c.request, c.slices), c.expected);
    EXPECT_EQ(BandWidth(1'433'600, 1), 1'433'600u);
    EXPECT_EQ(BandWidth(99'123'200, 4, 40 << 20), 10u << 20);
    EXPECT_EQ(BandWidth(358'400, 65'535, 40 << 20), 640u);
    EXPECT_EQ(BandCount(99'123'200, 10u << 20), 10u);
}

// Bytes shown in pieces of any size, a window of the slice's offsets, the
// end padded: the same regions as the code given the whole padded band.
TEST(RecoveryBands, AFeederAddsWhatTheCodeAddsForTheWholeBand) {
    std::mt19937 random(7);
    const RecoverySet set(3, 2);
    const RecoveryEncoder encoder(set);
    for (const std::uint64_t windowStart : {0u, 640u}) {
        const std::string slice = PatternBytes(1500 + windowStart, 3);
        BandRegions fed(2, 1024), expected(2, 1024);
        BandFeeder feeder([&](std::uint32_t d, std::span<const std::byte> b, std::span<const std::span<std::byte>> t) {
            encoder.Add(d, b, t);
        }, fed.All());
        feeder.StartSlice(1, windowStart);
        for (std::size_t at = 0; at < slice.size();) {
            const std::size_t piece = std::min<std::size_t>(1 + random() % 200, slice.size() - at);
            feeder.Observe(std::as_bytes(std::span(slice.data() + at, piece)));
            at += piece;
        }
        feeder.EndSlice();
        std::vector<std::byte> band(1024);
        const std::size_t length = std::min<std::size_t>(1024, slice.size() - windowStart);
        std::memcpy(band.data(), slice.data() + windowStart, length);
        encoder.Add(1, band, expected.All());
        for (std::size_t r = 0; r < 2; ++r) EXPECT_TRUE(std::ranges::equal(fed[r], expected[r])) << windowStart;
    }
}

}  // namespace
}  // namespace sorv::test
