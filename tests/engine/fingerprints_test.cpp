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
    }
}

TEST_F(FingerprintsOnDisk, UnreadableFingerprintsAreSaidAndNeverFailAGoodJoin) {
    const std::string good = kGoldenSection.substr(0, kGoldenSection.find("Fichier="));
    const struct {
        std::string section;
        Outcome outcome;
        Lines said;
    } cases[] = {
        {good + "1=e49234f87aeffec5\r\n2=zz\r\n3=cac8b1bd6d8fb79e\r\n",
         Outcome::Completed,
         {"Empreinte illisible pour la tranche " + Slice("golden.bin", 2) + " : elle n'est pas vérifiée.",
          "Empreinte illisible pour le fichier entier : il n'est pas vérifié."}},
        {"\r\n[Empreintes]\r\nAlgorithme=SHA1\r\n1=00\r\n", Outcome::Completed,
         {"Empreintes en \"SHA1\" inconnues : les tranches ne sont pas vérifiées."}},
        {good + "Fichier=150e682a069840fd\r\n1=e49234f87aeffec5\r\n2=45adba4a7350c18a\r\n3=cac8b1bd6d8fb79e\r\n",
         Outcome::Failed,
         {"Le fichier reconstitué ne correspond pas à son empreinte : " + target() + " n'est pas reconstitué."}},
    };
    for (const auto& c : cases) {
        WriteSection(c.section);
        ui.log.clear();
        ui.answers = {Answer::No};
        EXPECT_EQ(engine.StartJoin(script()), c.outcome);
        Lines said = LinesStartingWith("Empreinte");
        for (const auto& line : LinesStartingWith("Le fichier reconstitué")) said.push_back(line);
        EXPECT_EQ(said, c.said);
        EXPECT_EQ(FileExists(target()), c.outcome == Outcome::Completed);
        if (c.outcome == Outcome::Completed) {
            EXPECT_EQ(ReadFileBytes(target()), bytes);
        }
        std::filesystem::remove(PathFromUtf8(target()));
        ui.answers.clear();
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

    // A script of the layout without fingerprints has nothing to check against.
    Restore();
    WriteSection("");
    ui.log.clear();
    EXPECT_EQ(engine.CheckSlices(script()), Outcome::Failed);
    EXPECT_EQ(ui.log, (Lines{"Le script " + script() + " n'a pas d'empreintes : ses tranches ne peuvent pas être vérifiées."}));
}

}  // namespace
}  // namespace sorv::test
