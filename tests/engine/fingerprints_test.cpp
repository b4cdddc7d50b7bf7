// Slice fingerprints on real files, natively and under Wine: the values both
// builds write and read, damaged slices named, hostile sections that never
// fail a good join, and the check that rebuilds nothing.
#include <filesystem>

#include "engine_fixture.h"

namespace sorv::test {
namespace {

using Lines = std::vector<std::string>;

// What xxhsum prints for PatternBytes(800'000) and its three 360 Ko slices.
const std::string kGoldenSection =
    "\r\n[Empreintes]\r\nAlgorithme=XXH64\r\nFichier=150e682a069840fc\r\n"
    "1=e49234f87aeffec5\r\n2=45adba4a7350c18a\r\n3=cac8b1bd6d8fb79e\r\n";

class FingerprintsOnDisk : public EngineOnDisk {
protected:
    std::string bytes;
    std::vector<std::string> slices;
    void SetUp() override {
        bytes = SplitNew("golden.bin", 800'000, 1);
        std::filesystem::remove(PathFromUtf8(target()));
        for (int k = 1; k <= 3; ++k) slices.push_back(ReadFileBytes(Slice("golden.bin", k)));
        ui.log.clear();
    }
    std::string script() const { return Script("golden.bin"); }
    std::string target() const { return dir.Path("golden.bin"); }
    void Restore() {
        for (int k = 1; k <= 3; ++k) WriteFileBytes(Slice("golden.bin", k), slices[static_cast<std::size_t>(k - 1)]);
    }
    void WriteSection(const std::string& section) {
        WriteFileBytes(script(), "[Sorv]\r\nNomOriginal=golden.bin\r\nTailleOriginale=800000\r\nTranches=3\r\n" + section);
    }
    Lines LinesEndingWith(const std::string& end) const {
        Lines found;
        for (const auto& line : ui.log)
            if (line.ends_with(end)) found.push_back(line);
        return found;
    }
    Lines LinesStartingWith(const std::string& start) const {
        Lines found;
        for (const auto& line : ui.log)
            if (line.starts_with(start)) found.push_back(line);
        return found;
    }
};

TEST_F(FingerprintsOnDisk, BothBuildsWriteAndReadTheSameFingerprints) {
    const std::string written = ReadFileBytes(script());
    EXPECT_EQ(written.substr(written.find("\r\n[Empreintes]")), kGoldenSection);
    // A script with these values, as the other build wrote it, joins here.
    WriteSection(kGoldenSection);
    ui.answers = {Answer::No};
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Completed);
    EXPECT_EQ(ReadFileBytes(target()), bytes);
    EXPECT_TRUE(LinesStartingWith("Empreinte").empty());
}

TEST_F(FingerprintsOnDisk, EveryDamagedSliceIsNamedAndNothingIsRebuilt) {
    const std::string& s1 = slices[0];
    const std::string& s2 = slices[1];
    const struct {
        const char* what;
        std::vector<std::string> contents;
        std::vector<int> damaged;
    } cases[] = {
        {"one byte changed", {s1, s2.substr(0, 70'000) + "X" + s2.substr(70'001), slices[2]}, {2}},
        {"two slices swapped", {s2, s1, slices[2]}, {1, 2}},
        {"a slice zeroed", {s1, s2, std::string(slices[2].size(), '\0')}, {3}},
        {"boundaries shifted, total right", {s1.substr(0, s1.size() - 1000), s1.substr(s1.size() - 1000) + s2, slices[2]}, {1, 2}},
        {"first and last damaged", {"Y" + s1.substr(1), s2, slices[2].substr(0, 83'199) + "Z"}, {1, 3}},
        // The slices after it are still read whole, and are sound.
        {"first oversized", {s1 + std::string(1000, 'x'), s2, slices[2]}, {1}},
    };
    const std::string scriptBytes = ReadFileBytes(script());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (int k = 1; k <= 3; ++k) WriteFileBytes(Slice("golden.bin", k), c.contents[static_cast<std::size_t>(k - 1)]);
        ui.log.clear();
        EXPECT_EQ(engine.StartJoin(script()), Outcome::Failed);
        Lines named;
        for (const int k : c.damaged) named.push_back("La tranche " + Slice("golden.bin", k) + " est endommagée.");
        EXPECT_EQ(LinesStartingWith("La tranche "), named);
        EXPECT_EQ(ui.log.back(), std::to_string(c.damaged.size()) + " tranche(s) endommagée(s) : " + target() +
                                     " n'est pas reconstitué.");
        EXPECT_FALSE(FileExists(target()));
        EXPECT_FALSE(FileExists(PartialJoinName(script())));
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_EQ(ReadFileBytes(script()), scriptBytes);
        EXPECT_TRUE(FileExists(Slice("golden.bin", 3)));
        // The check that rebuilds nothing names the same slices.
        ui.log.clear();
        EXPECT_EQ(engine.CheckSlices(script()), Outcome::Failed);
        Lines checked;
        for (const int k : c.damaged) checked.push_back(Slice("golden.bin", k) + ": endommagée");
        EXPECT_EQ(LinesEndingWith(": endommagée"), checked);
    }
}

// A section that cannot check every byte rebuilds nothing, whatever the
// slices hold; one that can (a slice's value unreadable but the whole
// file's there, the section before [Sorv]) joins and still catches damage.
TEST_F(FingerprintsOnDisk, OnlyFingerprintsThatCheckEveryByteLetAJoinSucceed) {
    const std::string head = "\r\n[Empreintes]\r\nAlgorithme=XXH64\r\n";
    const std::string file = "Fichier=150e682a069840fc\r\n";
    const std::string values = "1=e49234f87aeffec5\r\n2=45adba4a7350c18a\r\n3=cac8b1bd6d8fb79e\r\n";
    const std::string slice2Unreadable = "1=e49234f87aeffec5\r\n2=zz\r\n3=cac8b1bd6d8fb79e\r\n";
    const std::string unusable = "Les empreintes du script sont illisibles (";
    const std::string remedy = "Pour regrouper sans les vérifier, ne gardez dans le script que la section [Sorv].";
    const struct {
        std::string section;
        bool before;  // placed before [Sorv]
        Outcome outcome;
        std::string said;
    } cases[] = {
        {"\r\n[Empreintez]\r\nAlgorithme=XXH64\r\n" + file + values, false, Outcome::Failed, unusable + "en-tête [Empreintez]) : "},
        {"\r\n{Empreintes]\r\nAlgorithme=XXH64\r\n" + file + values, false, Outcome::Failed, unusable + "en-tête {Empreintes]) : "},
        {"\r\n[Notes]\r\nAlgorithme=XXH64\r\n" + file + values, false, Outcome::Failed, unusable + "en-tête [Empreintes] manquant) : "},
        {"\r\n[Empreintes]\r\nAlgorithme=SHA1\r\n" + file + values, false, Outcome::Failed, unusable + "algorithme SHA1 inconnu) : "},
        {"\r\n[Empreintes]\r\n" + file + values, false, Outcome::Failed, unusable + "pas d'algorithme) : "},
        {head + "Fichier=zz\r\n" + slice2Unreadable, false, Outcome::Failed, unusable + "valeurs illisibles) : "},
        // The count lowered to match fewer slices: the section still counts the set's.
        {head + file + values + "4=0000000000000000\r\n", false, Outcome::Failed,
         unusable + "les empreintes comptent 4 tranches, le script 3) : "},
        {head + file + slice2Unreadable, false, Outcome::Completed,
         "Empreinte illisible pour la tranche " + Slice("golden.bin", 2) + " : elle est vérifiée avec le fichier entier."},
        {head + values, false, Outcome::Completed, ""},
        {head + file + values, true, Outcome::Completed, ""},
        {"", false, Outcome::Completed, "Le script n'a pas d'empreintes : les tranches ne seront pas vérifiées."},
    };
    const std::string sorv = "[Sorv]\r\nNomOriginal=golden.bin\r\nTailleOriginale=800000\r\nTranches=3\r\n";
    for (const bool damaged : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.section + (damaged ? " (slice 2 damaged)" : ""));
            WriteFileBytes(script(), c.before ? c.section.substr(2) + "\r\n" + sorv : sorv + c.section);
            if (damaged) WriteFileBytes(Slice("golden.bin", 2), "X" + slices[1].substr(1));
            ui.log.clear();
            ui.answers = {Answer::No};
            const Outcome outcome = engine.StartJoin(script());
            if (c.outcome == Outcome::Failed) {
                EXPECT_EQ(outcome, Outcome::Failed);
                EXPECT_EQ(ui.log.back(), c.said + script() + ". " + remedy);
                EXPECT_EQ(ui.answers.size(), 1u);  // nothing asked
            } else if (!c.section.empty() && damaged) {
                EXPECT_EQ(outcome, Outcome::Failed);  // caught by a slice's value or by the whole file's
            } else if (!damaged) {
                EXPECT_EQ(outcome, Outcome::Completed);
                EXPECT_EQ(ReadFileBytes(target()), bytes);
                if (!c.said.empty()) {
                    EXPECT_NE(std::find(ui.log.begin(), ui.log.end(), c.said), ui.log.end());
                }
            }
            if (outcome != Outcome::Completed) {
                EXPECT_FALSE(FileExists(target()));
            }
            EXPECT_TRUE(FileExists(Slice("golden.bin", 3)));
            std::filesystem::remove(PathFromUtf8(target()));
            Restore();
        }
    }
}

// Counts lowered to fewer slices, each of which checks: the whole file's
// value, or a value past the count, tells the join and the check alike.
TEST_F(FingerprintsOnDisk, ASetCutShortByItsCountsIsNotWhole) {
    const std::string firstTwo = "1=e49234f87aeffec5\r\n2=45adba4a7350c18a\r\n";
    const std::string head = "\r\n[Empreintes]\r\nAlgorithme=XXH64\r\nFichier=150e682a069840fc\r\n" + firstTwo;
    const struct {
        std::string section;
        std::string said;
    } cases[] = {
        {head, "Le fichier reconstitué ne correspond pas à son empreinte : " + target() + " n'est pas reconstitué."},
        {head + "3=cac8b1bd6d8fb79e\r\n", "Les empreintes du script sont illisibles (les empreintes comptent 3 tranches, le script 2) : "},
    };
    const std::string size = std::to_string(2 * slices[0].size());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        WriteFileBytes(script(), "[Sorv]\r\nNomOriginal=golden.bin\r\nTailleOriginale=" + size + "\r\nTranches=2\r\n" + c.section);
        for (const bool checking : {false, true}) {
            ui.log.clear();
            ui.answers = {Answer::No};
            EXPECT_EQ(checking ? engine.CheckSlices(script()) : engine.StartJoin(script()), Outcome::Failed);
            EXPECT_FALSE(FileExists(target()));
            if (!checking) {
                EXPECT_TRUE(ui.log.back().starts_with(c.said)) << ui.log.back();
            }
        }
    }
}

TEST_F(FingerprintsOnDisk, CheckingTheSlicesRebuildsNothing) {
    EXPECT_EQ(engine.CheckSlices(script()), Outcome::Completed);
    EXPECT_EQ(ui.log, (Lines{Slice("golden.bin", 1) + ": ok", Slice("golden.bin", 2) + ": ok",
                             Slice("golden.bin", 3) + ": ok", "Fichier entier: ok", "...Ok"}));
    EXPECT_FALSE(FileExists(target()));

    WriteFileBytes(Slice("golden.bin", 2), "damaged");
    std::filesystem::remove(PathFromUtf8(Slice("golden.bin", 3)));
    ui.log.clear();
    EXPECT_EQ(engine.CheckSlices(script()), Outcome::Failed);
    EXPECT_EQ(ui.log, (Lines{Slice("golden.bin", 1) + ": ok", Slice("golden.bin", 2) + ": endommagée",
                             Slice("golden.bin", 3) + ": manquante", "Vérification : 2 défaut(s) dans " + script() + "."}));
    EXPECT_EQ(ui.progressPosition, 0);

    // A count no split makes: the check stops after a run of missing slices, the join at the first.
    Restore();
    WriteFileBytes(script(), "[Sorv]\r\nNomOriginal=a\r\nTailleOriginale=3000000000\r\nTranches=2147483647\r\n" + kGoldenSection);
    ui.log.clear();
    EXPECT_EQ(engine.CheckSlices(script()), Outcome::Failed);
    EXPECT_EQ(LinesEndingWith(": manquante").size(), 100u);
    EXPECT_EQ(ui.log.back(), "Vérification arrêtée après 100 tranches manquantes de suite : 100 défaut(s) dans " + script() +
                                 ", les tranches " + std::string(kDegree) + "104 à " + std::string(kDegree) +
                                 "2147483647 ne sont pas vérifiées.");
    EXPECT_EQ(engine.StartJoin(script()), Outcome::Failed);
    EXPECT_EQ(LinesStartingWith("Il manque la tranche").size(), 1u);

    // A script of the layout without fingerprints has nothing to check against.
    Restore();
    WriteSection("");
    ui.log.clear();
    EXPECT_EQ(engine.CheckSlices(script()), Outcome::Failed);
    EXPECT_EQ(ui.log, (Lines{"Le script " + script() + " n'a pas d'empreintes : ses tranches ne peuvent pas être vérifiées."}));
}

}  // namespace
}  // namespace sorv::test
