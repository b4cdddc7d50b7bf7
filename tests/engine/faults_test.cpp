// Splits and joins on an unlucky day: a full disk, a read error, a file that
// changes size, at every slice boundary. Whatever happens, nothing is left
// under a real name but the source and complete slices, the inputs never
// change, the progress bar is back at 0 and a retry works.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine.h"
#include "faulty_file_system.h"
#include "io_error.h"
#include "memory_file_system.h"
#include "scripted_front_end.h"

namespace sorv::test {
namespace {

using Names = std::vector<std::string>;

constexpr std::uint64_t kSlice = 358'400;  // "360 Ko"
constexpr std::uint64_t kSize = 3 * kSlice - 1000;
const std::string kSource = "C:\\in\\a.bin";
const std::string kScript = "C:\\in\\a.d";

std::string SliceName(int n) { return SliceFileName(kSource, n, kWindowsPaths); }

// Offsets around the start and the end of every slice.
std::vector<std::uint64_t> Boundaries(std::uint64_t shift = 0) {
    std::vector<std::uint64_t> at;
    for (std::uint64_t edge : {std::uint64_t{0}, kSlice, 2 * kSlice, kSize})
        for (std::uint64_t d : {0, 1, 2})
            if (edge + d >= 1) at.push_back(shift + edge + d - 1);
    return at;
}

class Faults : public ::testing::Test {
protected:
    MemoryFileSystem memory;
    FaultyFileSystem fs{memory};
    ScriptedFrontEnd ui;
    Engine engine{ui, fs, kWindowsPaths};

    void SetUp() override {
        memory.AddPatternFile(kSource, kSize);
        ui.dialogChoice = 1;
    }

    // Runs a flow; true when it raised an I/O error or reported a fault.
    template <typename Run>
    bool FailedRun(Run run) {
        ui.log.clear();
        try {
            return run() == Outcome::Failed;
        } catch (const std::runtime_error&) {
            return true;
        }
    }

    void ExpectCleanAfterFailure(const Names& expected) {
        EXPECT_EQ(memory.Names(), expected);
        EXPECT_EQ(ui.progressPosition, 0);
        EXPECT_FALSE(engine.state.Busy);
        EXPECT_TRUE(ui.log.empty() || ui.log.back() != "...Ok");
    }

    void SplitWithoutFaults() {
        fs.Heal();
        ASSERT_EQ(engine.StartSplit(kSource), Outcome::Completed);
    }

    // The split's files, then the source gone: what a join starts from.
    Names PrepareJoin() {
        SplitWithoutFaults();
        memory.Delete(kSource);
        return memory.Names();
    }

};

TEST_F(Faults, ASplitThatFailsLeavesOnlyTheSourceAndCanBeRetried) {
    SplitWithoutFaults();
    // The [Sorv] section is written first as the partial script, the whole
    // script at the end.
    const std::string written = memory.Contents(kScript);
    const std::uint64_t partial = written.find("\r\n[Empreintes]");
    const std::uint64_t script = written.size();
    for (const char* name : {"C:\\in\\a.d", "C:\\in\\a.\xC2\xB0" "01", "C:\\in\\a.\xC2\xB0" "02", "C:\\in\\a.\xC2\xB0" "03"})
        memory.Delete(name);

    std::vector<std::function<void()>> faults;
    for (std::uint64_t n : Boundaries(partial)) faults.push_back([this, n] { fs.diskFullAfter = n; });
    faults.push_back([this, partial, script] { fs.diskFullAfter = partial + kSize + script - 1; });
    faults.push_back([this] { fs.diskFullAfter = 0; });
    for (std::uint64_t n : Boundaries())
        if (n < kSize) faults.push_back([this, n] { fs.readErrorPath = kSource, fs.readErrorAt = n; });
    const std::size_t sourceKept = faults.size();  // the faults below change the source
    for (std::int64_t by : {std::int64_t{1}, std::int64_t{-1}, std::int64_t{-1000}, -static_cast<std::int64_t>(kSlice)})
        faults.push_back([this, by] { fs.resizedPath = kSource, fs.resizeBy = by; });

    for (std::size_t f = 0; f < faults.size(); ++f) {
        SCOPED_TRACE("fault " + std::to_string(f));
        memory.AddPatternFile(kSource, kSize);
        fs.Heal();
        faults[f]();
        EXPECT_TRUE(FailedRun([&] { return engine.StartSplit(kSource); }));
        ExpectCleanAfterFailure({kSource});
        if (f < sourceKept) {
            EXPECT_TRUE(memory.HoldsPatternPrefix(kSource, kSize));
        }
        memory.AddPatternFile(kSource, kSize);
        SplitWithoutFaults();
        for (const std::string& name : memory.Names())
            if (name != kSource) memory.Delete(name);
    }
}

TEST_F(Faults, AJoinThatFailsLeavesNothingUnderTheRealNameNorAPartialFile) {
    const Names inputs = PrepareJoin();
    std::vector<std::string> contents;
    for (const std::string& name : inputs) contents.push_back(memory.Contents(name));
    std::vector<std::function<void()>> faults;
    for (std::uint64_t n : Boundaries())
        if (n < kSize) faults.push_back([this, n] { fs.diskFullAfter = n; });
    for (int k = 1; k <= 3; ++k) {
        for (std::uint64_t at : {std::uint64_t{0}, std::uint64_t{1}, kSlice - 1001})
            faults.push_back([this, k, at] { fs.readErrorPath = SliceName(k), fs.readErrorAt = at; });
    }
    const std::size_t inputsKept = faults.size();  // the faults below change a slice
    for (int k = 1; k <= 3; ++k) {
        for (std::int64_t by : {1, -1})
            faults.push_back([this, k, by] { fs.resizedPath = SliceName(k), fs.resizeBy = by; });
    }
    for (const bool replacing : {false, true}) {
        for (std::size_t f = 0; f < faults.size(); ++f) {
            SCOPED_TRACE("fault " + std::to_string(f) + (replacing ? ", over an existing file" : ""));
            fs.Heal();
            faults[f]();
            if (replacing) {
                memory.AddFile(kSource, "the file the user agreed to replace");
                ui.answers = {Answer::Yes};
            }
            EXPECT_TRUE(FailedRun([&] { return engine.StartJoin(kScript); }));
            EXPECT_TRUE(ui.answers.empty());
            if (replacing) {
                EXPECT_EQ(memory.Contents(kSource), "the file the user agreed to replace");
                memory.Delete(kSource);
            }
            ExpectCleanAfterFailure(inputs);
            for (std::size_t i = 0; i < inputs.size(); ++i) {
                if (f < inputsKept) {
                    EXPECT_EQ(memory.Contents(inputs[i]), contents[i]) << inputs[i];
                }
                memory.AddFile(inputs[i], contents[i]);
            }
            fs.Heal();
            ui.answers = {Answer::No};
            ASSERT_EQ(engine.StartJoin(kScript), Outcome::Completed);
            EXPECT_TRUE(memory.HoldsPatternPrefix(kSource, kSize));
            memory.Delete(kSource);
        }
    }
}

// FAT may give a file another identity when its name grows: the file the
// join put in place is still its own, said so, and the clean-up goes on.
TEST_F(Faults, ARenameThatRenumbersTheFileIsNoReplacement) {
    PrepareJoin();
    memory.renumberOnRename = true;
    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.StartJoin(kScript), Outcome::Completed);
    EXPECT_EQ(ui.log.back(), "...Ok");
    EXPECT_EQ(memory.Names(), Names{kSource});
    EXPECT_TRUE(memory.HoldsPatternPrefix(kSource, kSize));
}

TEST_F(Faults, ASliceTheSystemWillNotRemoveIsSaidAndAScriptValueTooLongForAPathIsTheNameAlone) {
    PrepareJoin();
    fs.undeletablePath = SliceName(2);
    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.StartJoin(kScript), Outcome::Completed);
    EXPECT_EQ(ui.log.back(), "Non effacé, le système le refuse : " + SliceName(2));
    EXPECT_EQ(memory.Names(), (Names{kSource, SliceName(2)}));
    // A split's own slice left by its clean-up after a failure: said so, not called another file.
    memory.Delete(SliceName(2));
    fs.Heal();
    fs.undeletablePath = SliceName(1), fs.diskFullAfter = kSlice + 1000;
    EXPECT_THROW(engine.StartSplit(kSource), IoError);
    EXPECT_EQ(ui.log.back(), "Non effacé, le système le refuse : " + SliceName(1));
    fs.Heal();
    memory.Delete(SliceName(1));

    std::string folder = "C:";
    for (char c = 'a'; c < 'g'; ++c) folder += "\\" + std::string(200, c);
    memory.AddPatternFile(folder + "\\a.bin", kSize);
    ASSERT_EQ(engine.StartSplit(folder + "\\a.bin"), Outcome::Completed);
    EXPECT_TRUE(memory.Contents(folder + "\\a.d").starts_with("[Sorv]\r\nNomOriginal=a.bin\r\n"));
}

// Written back only when closed, the rebuilt file may fail there: no
// "...Ok", nothing under the real name, the slices kept.
TEST_F(Faults, AnErrorClosingTheRebuiltFileIsNoSuccess) {
    const Names inputs = PrepareJoin();
    fs.closeErrorPath = PartialJoinName(kScript, kWindowsPaths);
    EXPECT_THROW(engine.StartJoin(kScript), IoError);
    ExpectCleanAfterFailure(inputs);
}

TEST_F(Faults, SlicesStayUntilTheRebuiltFileIsConfirmedOnTheMedium) {
    const Names inputs = PrepareJoin();
    fs.notDurable = true;
    ui.answers = {Answer::Yes};
    EXPECT_EQ(engine.StartJoin(kScript), Outcome::Completed);
    EXPECT_EQ(ui.log.back(), "Tranches et script gardés : l'écriture de " + kSource + " sur le disque n'est pas confirmée.");
    Names left = inputs;
    left.push_back(kSource);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(memory.Names(), left);
}

TEST_F(Faults, NumbersThatDoNotMatchTheSlicesRebuildNothingAndReserveNoMoreThanTheSlices) {
    const Names inputs = PrepareJoin();
    const std::string body = "[Sorv]\r\nNomOriginal=a.bin\r\n";
    for (const std::string& numbers : {std::string("TailleOriginale=999999999999\r\nTranches=3\r\n"),
                                       "TailleOriginale=" + std::to_string(kSize - 1) + "\r\nTranches=3\r\n",
                                       "TailleOriginale=" + std::to_string(kSize) + "\r\nTranches=2\r\n"}) {
        SCOPED_TRACE(numbers);
        memory.AddFile(kScript, body + numbers);
        memory.largestReservation = 0;
        fs.Heal();
        EXPECT_EQ(engine.StartJoin(kScript), Outcome::Failed);
        EXPECT_LE(fs.written, static_cast<std::uint64_t>(engine.state.RecordedSize));
        EXPECT_TRUE(ui.log.back().starts_with("Taille reconstituée incorrecte : ")) << ui.log.back();
        EXPECT_LE(memory.largestReservation, kSize);
        EXPECT_EQ(memory.Names(), inputs);
    }
    EXPECT_EQ(ui.log.back(), "Taille reconstituée incorrecte : " + std::to_string(2 * kSlice) + " octet(s) au lieu de " +
                                 std::to_string(kSize) + " octet(s).");
}

TEST_F(Faults, AScriptWithoutItsNumbersIsRefusedBeforeAnythingIsWritten) {
    const Names inputs = PrepareJoin();
    const struct {
        std::string keys;
        std::string missing;
    } cases[] = {
        {"", "TailleOriginale et Tranches"},
        {"Tranches=3\r\n", "TailleOriginale"},
        {"TailleOriginale=" + std::to_string(kSize) + "\r\n", "Tranches"},
    };
    for (const auto& c : cases) for (const auto flow : {&Engine::StartJoin, &Engine::CheckSlices, &Engine::RepairSet}) {
        memory.AddFile(kScript, "[Sorv]\r\nNomOriginal=a.bin\r\n" + c.keys);
        ui.log.clear();
        EXPECT_EQ((engine.*flow)(kScript), Outcome::Failed) << c.missing;
        EXPECT_EQ(ui.log.back(), "Script incomplet, il manque " + c.missing + " : " + kScript);
        EXPECT_EQ(memory.Names(), inputs);
        EXPECT_TRUE(ui.boxes.empty());
    }
    // One that cannot be read is an error naming it, not a script of defaults.
    fs.readErrorPath = kScript, fs.readErrorAt = 0;
    try {
        engine.StartJoin(kScript);
        ADD_FAILURE() << "read as a script of defaults";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), kScript);
    }
    EXPECT_EQ(memory.Names(), inputs);
}

TEST_F(Faults, TheLongestSliceNameIsCheckedBeforeTheFirstSliceIsWritten) {
    memory.nameMax = 255;
    // A 250-byte base name + ".°99" is 255 bytes, + ".°100" or ".°s01" one
    // too many; a 249-byte one takes ".°s01", not the repair's ".°rs01"; a
    // 248-byte one that, not the name a damaged slice is kept under.
    enum class TooLong { None, Slice, Recovery, Repair, Damaged };
    const struct {
        char letter;
        std::size_t base;
        std::uint64_t slices;
        std::int64_t recovery;
        TooLong tooLong;
    } cases[] = {{'n', 250, 99, 0, TooLong::None},
                 {'m', 250, 100, 0, TooLong::Slice},
                 {'r', 250, 2, 1, TooLong::Recovery},
                 {'q', 249, 2, 1, TooLong::Repair},
                 {'d', 248, 2, 1, TooLong::Damaged}};
    for (const auto& [letter, base, slices, recovery, tooLong] : cases) {
        const std::string source = "C:\\in\\" + std::string(base, letter) + ".bin";
        memory.AddPatternFile(source, (slices - 1) * kSlice + 1);
        engine.state.Recovery = {recovery, 0};
        int created = 0;
        memory.beforeCreate = [&](const std::string&) { ++created; };
        if (tooLong == TooLong::None) {
            EXPECT_EQ(engine.StartSplit(source), Outcome::Completed);
            continue;
        }
        try {
            engine.StartSplit(source);
            ADD_FAILURE() << "no error";
        } catch (const IoError& e) {
            const bool forRepair = tooLong == TooLong::Repair || tooLong == TooLong::Damaged;
            EXPECT_EQ(e.text(), forRepair ? "Nom de fichier trop long pour réparer le jeu : rien n'est découpé. "
                                            "Raccourcissez le nom du fichier, ou découpez-le sans tranches de secours"
                                          : "Nom de fichier trop long");
            EXPECT_EQ(e.path(), tooLong == TooLong::Slice      ? SliceFileName(source, 100, kWindowsPaths)
                                : tooLong == TooLong::Recovery ? RecoverySliceFileName(source, 1, kWindowsPaths)
                                : tooLong == TooLong::Damaged  ? DamagedFileName(SliceFileName(source, 2, kWindowsPaths), 1)
                                                               : RepairPartialName(source, 1, true, kWindowsPaths));
        }
        EXPECT_EQ(created, 0) << letter;
    }
    engine.state.Recovery = {};
}

// What a split killed after slice 2 leaves: its partial script, which
// records the source by identity, and two slices. They are cleared only when
// their lock can be taken and they record this very source.
TEST_F(Faults, AKilledSplitIsClearedByTheNextSplitOfTheSameFileOnly) {
    const std::string partial = PartialScriptName(kSource, kWindowsPaths);
    const std::string killed = PartialScriptFileBytes(kSource, kSize, 3, *memory.IdentityOf(kSource));
    auto leaveKilledSplit = [&](const std::string& partialBytes) {
        for (const std::string& name : memory.Names())
            if (name != kSource) memory.Delete(name);
        SplitWithoutFaults();
        memory.Delete(kScript);
        memory.Delete(SliceName(3));
        memory.AddFile(partial, partialBytes);
        ui.log.clear();
    };
    leaveKilledSplit(killed);
    EXPECT_EQ(engine.StartSplit(kSource), Outcome::Completed);
    EXPECT_TRUE(std::find(ui.log.begin(), ui.log.end(),
                          "Restes d'un découpage interrompu effacés : " + partial + " et 2 tranche(s).") != ui.log.end());
    EXPECT_EQ(memory.Names().size(), 5u);

    // Leftovers the system will not remove are never said to be removed.
    for (const std::string& stuck : {SliceName(2), partial}) {
        leaveKilledSplit(killed);
        fs.undeletablePath = stuck;
        EXPECT_EQ(engine.StartSplit(kSource), Outcome::Failed);
        EXPECT_NE(std::find(ui.log.begin(), ui.log.end(), "Non effacé, le système le refuse : " + stuck), ui.log.end())
            << stuck;
        EXPECT_EQ(ui.log.back(), "Les restes d'un découpage interrompu n'ont pas pu être effacés (" + partial +
                                     ") : rien n'est découpé.");
        EXPECT_FALSE(memory.Exists(kScript));
        fs.Heal();
    }

    // A slice removed from the middle of the run: what stands past it may not
    // be the killed split's, and the partial script is its only record.
    leaveKilledSplit(killed);
    memory.Delete(SliceName(2));
    memory.AddFile(SliceName(3), "past the gap");
    EXPECT_EQ(engine.StartSplit(kSource), Outcome::Failed);
    EXPECT_NE(std::find(ui.log.begin(), ui.log.end(),
                        "Non effacé, rien ne dit que le découpage interrompu l'a écrit : " + SliceName(3)),
              ui.log.end());
    EXPECT_TRUE(memory.Exists(partial) && memory.Exists(SliceName(3)));
    memory.Delete(SliceName(3));
    EXPECT_EQ(engine.StartSplit(kSource), Outcome::Completed);

    // Recovery-slice names past the count the killed split recorded were never its own.
    const auto recoverySlice = [](int r) { return RecoverySliceFileName(kSource, r, kWindowsPaths); };
    // The last two are more than it can have written.
    for (const auto& [tranches, recorded, cleared] : std::vector<std::tuple<std::int64_t, std::int64_t, bool>>{
             {3, 0, false}, {3, 1, true}, {3, 65535, false}, {INT64_MIN, 1, false}}) {
        leaveKilledSplit(PartialScriptFileBytes(kSource, kSize, tranches, *memory.IdentityOf(kSource), recorded));
        for (const int r : {1, 2}) memory.AddFile(recoverySlice(r), "recovery slice");
        // A count no split writes clears no slice either: they stand in the way.
        EXPECT_EQ(engine.StartSplit(kSource), tranches > 0 ? Outcome::Completed : Outcome::Stopped);
        EXPECT_EQ(memory.Exists(recoverySlice(1)), !cleared);
        EXPECT_TRUE(memory.Exists(recoverySlice(2)));
    }

    // A live split holds its partial script: nothing is touched, and the
    // second one stops at once.
    leaveKilledSplit(killed);
    const Names live = memory.Names();
    const auto held = memory.OpenRead(partial);
    ASSERT_TRUE(held->TryLock());
    EXPECT_EQ(engine.StartSplit(kSource), Outcome::Refused);
    EXPECT_EQ(ui.log.back(), "Un découpage vers " + kScript + " est déjà en cours.");
    EXPECT_EQ(memory.Names(), live);

    // Slices beside a partial script of another file, or of the layout that
    // records no source, are the user's business.
    for (const std::string& other :
         {PartialScriptFileBytes("C:\\in\\a.arj", 5, 1, FileId{1, 999'999}), ScriptFileBytes(kSource, kSize, 3)}) {
        for (const std::string& name : memory.Names())
            if (name != kSource) memory.Delete(name);
        memory.AddFile(SliceName(1), "someone else's");
        memory.AddFile(partial, other);
        EXPECT_EQ(engine.StartSplit(kSource), Outcome::Stopped);
        EXPECT_EQ(ui.log.back(), "... Arrêt du processus. ");
        EXPECT_EQ(memory.Contents(SliceName(1)), "someone else's");
    }
}

// Another program replaces the partial file while the join runs (a second
// join is refused: tests of runs on disk): the other file stays, and the
// join says no "...Ok".
TEST_F(Faults, APartialFileReplacedDuringTheJoinIsLeftAndNothingIsRebuilt) {
    const Names inputs = PrepareJoin();
    const std::string partial = PartialJoinName(kScript, kWindowsPaths);
    ui.onMessageRun = [&] {
        if (ui.messageRuns != 2) return;
        memory.Delete(partial);
        memory.AddFile(partial, "another program's file");
    };
    ui.messageRuns = 0;
    EXPECT_EQ(engine.StartJoin(kScript), Outcome::Failed);
    EXPECT_EQ(memory.Contents(partial), "another program's file");
    memory.Delete(partial);
    EXPECT_EQ(memory.Names(), inputs);
}

TEST_F(Faults, AnInputThatIsAnOutputUnderAnotherNameIsNeverWritten) {
    // A second hard link of the source named like slice 3.
    memory.AddHardLink(SliceName(3), kSource);
    EXPECT_EQ(engine.StartSplit(kSource), Outcome::Stopped);
    EXPECT_EQ(ui.log.back(), "... Arrêt du processus. ");
    EXPECT_TRUE(memory.HoldsPatternPrefix(kSource, kSize));
    memory.Delete(SliceName(3));

    // A slice that is the join's target under another name.
    PrepareJoin();
    memory.AddFile("C:\\in\\b.bin", "keep");
    memory.Delete(SliceName(2));
    memory.AddHardLink(SliceName(2), "C:\\in\\b.bin");
    memory.AddFile(kScript, "[Sorv]\r\nNomOriginal=b.bin\r\nTailleOriginale=5\r\nTranches=3\r\n");
    ui.log.clear();
    ui.boxes.clear();
    EXPECT_EQ(engine.StartJoin(kScript), Outcome::Stopped);
    EXPECT_EQ(ui.log.back(), "Arrêt. ");
    EXPECT_EQ(ui.log[ui.log.size() - 3], "Le fichier à reconstituer existe déjà :C:\\in\\b.bin");
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(memory.Contents("C:\\in\\b.bin"), "keep");
}

// Under the partial name, the join cannot tell a killed join's part from a
// file of the user's: it asks, and "&Non" keeps the file and stops.
TEST_F(Faults, AFileUnderThePartialNameIsRemovedOnlyOnYes) {
    const Names inputs = PrepareJoin();
    const std::string partial = PartialJoinName(kScript, kWindowsPaths);
    memory.AddFile(partial, "the user's own file");
    ui.answers = {Answer::No};
    EXPECT_EQ(engine.StartJoin(kScript), Outcome::Stopped);
    EXPECT_EQ(ui.log.back(), "Arrêt. ");
    EXPECT_EQ(memory.Contents(partial), "the user's own file");
    EXPECT_FALSE(memory.Exists(kSource));

    ui.answers = {Answer::Yes, Answer::No};
    EXPECT_EQ(engine.StartJoin(kScript), Outcome::Completed);
    EXPECT_EQ(ui.boxes[1], "confirmation: Le fichier " + partial +
                               " existe déjà : reste d'un regroupement interrompu, ou fichier à vous ? Voulez-vous "
                               "l'effacer ?");
    EXPECT_FALSE(memory.Exists(partial));
    EXPECT_TRUE(memory.HoldsPatternPrefix(kSource, kSize));
}

}  // namespace
}  // namespace sorv::test
