// sorv-cli run as a program: exit statuses, the exact log on standard output,
// the files left behind.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "cli_process.h"
#include "temp_dir.h"

namespace sorv::test {
namespace {

const std::string kDeg = "\xC2\xB0";

ProcessResult Cli(std::vector<std::string> args, const OutLineHandler& onOutLine = {}) {
    args.insert(args.begin(), SORV_CLI_PATH);
    ProcessResult r = RunProcess(args, onOutLine);
    EXPECT_FALSE(r.timedOut);
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CliEndToEnd, SplitsThenJoinsBackAndCleansUpOnYes) {
    TempDir dir;
    const std::string source = dir.Path("archive.zip");
    const std::string bytes = PatternBytes(3'000'000);
    WriteFileBytes(source, bytes);

    const ProcessResult split = Cli({"-t", "4", source});
    EXPECT_EQ(split.exitCode, 0) << split.err;
    EXPECT_EQ(Lines(split.out), (std::vector<std::string>{
                                    "Taille maximum de la tranche :1,4 Mo",
                                    "Nom du fichier : archive.zip",
                                    "Taille du fichier : 3000000 octet(s).",
                                    "Nombre de tranche : 3",
                                    dir.Path("archive." + kDeg + "01: 1433600 octet(s)"),
                                    dir.Path("archive." + kDeg + "02: 1433600 octet(s)"),
                                    dir.Path("archive." + kDeg + "03: 132800 octet(s)"),
                                    dir.Path("archive.d"),
                                    "...Ok",
                                }));
    EXPECT_EQ(split.err, "");

    std::filesystem::remove(PathFromUtf8(source));
    const std::string script = dir.Path("archive.d");
    const ProcessResult join = Cli({"-y", script});
    EXPECT_EQ(join.exitCode, 0) << join.err;
    EXPECT_EQ(Lines(join.out), (std::vector<std::string>{
                                   "Fichier ouvert :" + script,
                                   "Nom original :" + source,
                                   "Taille originale :3000000octet(s)",
                                   "Nombre de tranches :3",
                                   "Vérification de l'existence des tranches",
                                   "Vérification OK.",
                                   dir.Path("archive." + kDeg + "01: 1433600 octet(s)"),
                                   dir.Path("archive." + kDeg + "02: 1433600 octet(s)"),
                                   dir.Path("archive." + kDeg + "03: 132800 octet(s)"),
                                   "...Ok",
                               }));
    EXPECT_EQ(join.err, "Effacer les tranches et le script ? [o/n] o\n");
    EXPECT_TRUE(ReadFileBytes(source) == bytes);
    for (const char* gone : {"01", "02", "03"}) EXPECT_FALSE(FileExists(dir.Path("archive." + kDeg + gone)));
    EXPECT_FALSE(FileExists(script));
}

TEST(CliEndToEnd, ASourceNamedFromTheCurrentFolderIsRecordedByItsWholePath) {
    TempDir dir;
    const std::string source = dir.Path("a.bin");
    WriteFileBytes(source, PatternBytes(2'000'000));
    const std::string relative = std::filesystem::relative(PathFromUtf8(source)).string();
    ASSERT_NE(relative.front(), '/');
    EXPECT_EQ(Cli({"-t", "4", relative}).exitCode, 0);
    EXPECT_TRUE(Contains(ReadFileBytes(dir.Path("a.d")), "NomOriginal=" + source + "\r\n"));
}

TEST(CliEndToEnd, JoinWithNoKeepsSlicesAndForcedFlowsIgnoreTheExtension) {
    TempDir dir;
    // Accents and a blank in the name, a script-like extension forced to split.
    const std::string source = dir.Path("données été.D");
    const std::string bytes = PatternBytes(800'000, 7);
    WriteFileBytes(source, bytes);

    const ProcessResult split = Cli({"--split", "--taille", "720", source});
    EXPECT_EQ(split.exitCode, 0) << split.err;
    EXPECT_TRUE(Contains(split.out, dir.Path("données été." + kDeg + "02: 72960 octet(s)\n")));
    std::filesystem::remove(PathFromUtf8(source));

    // A script under another extension, joined because --join says so.
    const std::string script = dir.Path("données été.txt");
    std::filesystem::rename(PathFromUtf8(dir.Path("données été.d")), PathFromUtf8(script));
    const ProcessResult join = Cli({"--join", "-n", script});
    EXPECT_EQ(join.exitCode, 0) << join.err;
    EXPECT_TRUE(Contains(join.out, "\n...Ok\n"));
    EXPECT_EQ(join.err, "Effacer les tranches et le script ? [o/n] n\n");
    EXPECT_TRUE(ReadFileBytes(source) == bytes);
    EXPECT_TRUE(FileExists(dir.Path("données été." + kDeg + "01")));
    EXPECT_TRUE(FileExists(dir.Path("données été." + kDeg + "02")));
    EXPECT_TRUE(FileExists(script));
}

// Recovery slices: named beside the slices, the check's three verdicts as
// exit statuses, the repair, and a join that rebuilds and then cleans up
// the recovery slices too.
TEST(CliEndToEnd, RecoverySlicesThroughTheirLife) {
    TempDir dir;
    const std::string source = dir.Path("set.bin");
    const std::string bytes = PatternBytes(1'000'000, 5);
    WriteFileBytes(source, bytes);
    const ProcessResult split = Cli({"-t", "360", "-s", "50%", source});
    EXPECT_EQ(split.exitCode, 0) << split.err;
    const std::string s1 = dir.Path("set." + kDeg + "s01"), s2 = dir.Path("set." + kDeg + "s02");
    EXPECT_TRUE(Contains(split.out, "Nombre de tranches de secours : 2\n" + dir.Path("set." + kDeg + "01")));
    EXPECT_TRUE(Contains(split.out, s1 + ": 358400 octet(s)\n" + s2 + ": 358400 octet(s)\n" + dir.Path("set.d")));
    std::filesystem::remove(PathFromUtf8(source));
    const std::string script = dir.Path("set.d"), third = dir.Path("set." + kDeg + "03");
    const std::string thirdBytes = ReadFileBytes(third);

    EXPECT_EQ(Cli({"--verifier", script}).exitCode, 0);
    std::filesystem::remove(PathFromUtf8(third));
    const ProcessResult repairable = Cli({"--verifier", script});
    EXPECT_EQ(repairable.exitCode, 1);
    EXPECT_TRUE(Contains(repairable.out, third + ": manquante\n")) << repairable.out;
    EXPECT_TRUE(Contains(repairable.out, s2 + ": ok\nRéparable : 1 fichier(s)")) << repairable.out;
    const ProcessResult repaired = Cli({"--reparer", script});
    EXPECT_EQ(repaired.exitCode, 0) << repaired.out;
    EXPECT_TRUE(ReadFileBytes(third) == thirdBytes);

    const std::string first = dir.Path("set." + kDeg + "01"), second = dir.Path("set." + kDeg + "02");
    const std::string firstBytes = ReadFileBytes(first), s1Bytes = ReadFileBytes(s1);
    for (const std::string& lost : {first, second, s1}) std::filesystem::remove(PathFromUtf8(lost));
    EXPECT_EQ(Cli({"--verifier", script}).exitCode, 2);
    EXPECT_EQ(Cli({"--reparer", script}).exitCode, 2);
    EXPECT_EQ(Cli({"-y", script}).exitCode, 2);
    EXPECT_FALSE(FileExists(source));

    // One slice missing: rebuilt by the join, and the clean-up takes the recovery slices too.
    WriteFileBytes(first, firstBytes);
    WriteFileBytes(s1, s1Bytes);
    const ProcessResult join = Cli({"-y", script});
    EXPECT_EQ(join.exitCode, 0) << join.out;
    EXPECT_TRUE(Contains(join.out, "La tranche " + second + " est reconstituée à partir des tranches de secours.\n...Ok\n"));
    EXPECT_TRUE(ReadFileBytes(source) == bytes);
    for (const std::string& gone : {script, first, third, s1, s2}) EXPECT_FALSE(FileExists(gone)) << gone;
}

TEST(CliEndToEnd, StopsWithoutErrorExitOne) {
    TempDir dir;
    // Too small to cut.
    const std::string small = dir.Path("petit.bin");
    WriteFileBytes(small, PatternBytes(1'433'599));
    ProcessResult r = Cli({small});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Pas besoin de couper\n");
    EXPECT_EQ(Lines(r.out).size(), 3u);
    EXPECT_FALSE(FileExists(dir.Path("petit." + kDeg + "01")));

    // Nobody at a terminal to answer whether the existing target may go.
    const std::string source = dir.Path("gros.bin");
    const std::string bytes = PatternBytes(1'500'000, 3);
    WriteFileBytes(source, bytes);
    ASSERT_EQ(Cli({"-t", "360", source}).exitCode, 0);
    const std::string script = dir.Path("gros.d");
    r = Cli({script});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Contains(r.out, "Le fichier à reconstituer existe déjà :" + source + "\nArrêt. \n")) << r.out;
    EXPECT_EQ(r.err, "Le fichier à reconstituer existe déjà ! Voulez vous l'effacer ? [o/n] \n");
    EXPECT_TRUE(ReadFileBytes(source) == bytes);
}

TEST(CliEndToEnd, ErrorsAndUsage) {
    TempDir dir;
    // Every I/O error names its file.
    ProcessResult r = Cli({dir.Path("absent.zip")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, dir.Path("absent.zip") + " : Fichier introuvable.\n");
    EXPECT_EQ(r.out, "");
    std::filesystem::create_directory(PathFromUtf8(dir.Path("dir.d")));
    r = Cli({dir.Path("dir.d")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, dir.Path("dir.d") + " est un dossier, pas un fichier.\n");
    EXPECT_EQ(r.out, "");

    // A recorded name without a name part names no file to rebuild: the
    // script is damaged, and nothing is written.
    WriteFileBytes(dir.Path("x.d"), "[Sorv]\r\nNomOriginal=c:/\r\nTailleOriginale=10\r\nTranches=1\r\n");
    WriteFileBytes(dir.Path("x." + kDeg + "01"), "0123456789");
    r = Cli({"-y", dir.Path("x.d")});
    EXPECT_EQ(r.exitCode, 2) << r.out << r.err;
    EXPECT_FALSE(Contains(r.out, "...Ok"));
    EXPECT_EQ(r.err, "Script endommagé, NomOriginal ne nomme aucun fichier : " + dir.Path("x.d") + "\n");

    for (const auto& bad : std::vector<std::vector<std::string>>{
             {}, {"-t", "9", "f"}, {"-y", "-n", "f"}, {"--split", "--join", "f"}, {"a", "b"}, {"--quoi", "f"}}) {
        r = Cli(bad);
        EXPECT_EQ(r.exitCode, 64);
        EXPECT_TRUE(Contains(r.err, "Usage : sorv-cli")) << r.err;
        EXPECT_EQ(r.out, "");
    }
    r = Cli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Contains(r.out, "Usage : sorv-cli"));
    r = Cli({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "sorv-cli 1.50\n");

    // Standard output on a full disk: what was asked for is lost, and said so.
    WriteFileBytes(dir.Path("a.bin"), std::string(3000, 'a'));
    for (const std::string& args : {std::string("--version"), "-y -t 1 " + dir.Path("a.bin")}) {
        r = RunProcess({"/bin/sh", "-c", "exec \"$0\" " + args + " >/dev/full", SORV_CLI_PATH});
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_TRUE(Contains(r.err, "sorv-cli : la sortie standard refuse l'écriture, le journal est perdu.\n")) << r.err;
    }
    // A pipe closed under a caller that ignores SIGPIPE (nohup): no signal
    // ends the run, so the lost log must be said.
    r = RunProcess({"/bin/sh", "-c",
                    "trap '' PIPE; { sleep 0.5; \"$0\" -y -t 1 \"$1\"; echo \"status $?\" >&2; } | true", SORV_CLI_PATH,
                    dir.Path("a.bin")});
    EXPECT_TRUE(Contains(r.err, "la sortie standard refuse l'écriture, le journal est perdu.\nstatus 2\n")) << r.err;
}

// The programs started while it lives run on a slow device (see slow_io.cpp).
class SlowDevice {
public:
    SlowDevice() : asan_(std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "") {
        setenv("LD_PRELOAD", SORV_SLOW_IO_PATH, 1);
        setenv("ASAN_OPTIONS", (asan_ + ":verify_asan_link_order=0").c_str(), 1);
    }
    ~SlowDevice() {
        unsetenv("SORV_TEST_EIO_WRITING");
        unsetenv("LD_PRELOAD");
        setenv("ASAN_OPTIONS", asan_.c_str(), 1);
    }
    // Writing to a file whose path ends with `name` fails from now on.
    void FailWritingTo(const std::string& name) { setenv("SORV_TEST_EIO_WRITING", name.c_str(), 1); }

private:
    std::string asan_;
};

// More recovery slices than the soft limit of open files lets a program keep
// open (the limit lowered as a shell's `ulimit -Sn` does): split and repaired.
// Beyond the hard limit, files inherited open counted: refused before
// anything is written.
TEST(CliEndToEnd, RecoverySlicesBeyondTheSoftOpenFileLimit) {
    TempDir dir;
    WriteFileBytes(dir.Path("a.bin"), PatternBytes(716'801));
    const auto underLimit = [](std::vector<std::string> args, const std::string& limit = "ulimit -Sn 64") {
        args.insert(args.begin(), {"/bin/bash", "-c", limit + " && exec \"$0\" \"$@\"", SORV_CLI_PATH});
        return RunProcess(args);
    };
    // 16 files inherited, 90 allowed: 70 recovery slices do not fit beside them.
    const std::string hard = "ulimit -n 90 && for fd in $(seq 3 18); do eval \"exec $fd</dev/null\"; done";
    const std::string refusal = "Trop de fichiers à écrire à la fois : 70 et 8 à lire ; ce système n'en laisse plus ouvrir que ";
    const ProcessResult refused = underLimit({"-t", "360", "-s", "70", dir.Path("a.bin")}, hard);
    EXPECT_TRUE(refused.err.starts_with(refusal)) << refused.err;
    EXPECT_FALSE(FileExists(dir.Path("a." + kDeg + "01")) || FileExists(dir.Path("a." + kDeg + "s01")));
    const ProcessResult split = underLimit({"-t", "360", "-s", "70", dir.Path("a.bin")});
    ASSERT_EQ(split.exitCode, 0) << split.err;
    for (int r = 1; r <= 70; ++r)
        EXPECT_TRUE(std::filesystem::remove(PathFromUtf8(dir.Path("a." + kDeg + (r < 10 ? "s0" : "s") + std::to_string(r)))));
    EXPECT_TRUE(underLimit({"--reparer", dir.Path("a.d")}, hard).err.starts_with(refusal));
    const ProcessResult repair = underLimit({"--reparer", dir.Path("a.d")});
    EXPECT_EQ(repair.exitCode, 0) << repair.err;
    EXPECT_TRUE(FileExists(dir.Path("a." + kDeg + "s70")));
}

// Past the file-size limit a write fails: said, exit 2, nothing left under
// the partial name or the real one.
TEST(CliEndToEnd, AFileSizeLimitIsSaidNotAKill) {
    TempDir dir;
    WriteFileBytes(dir.Path("a.bin"), PatternBytes(800'000));
    ASSERT_EQ(Cli({"-t", "360", dir.Path("a.bin")}).exitCode, 0);
    std::filesystem::remove(PathFromUtf8(dir.Path("a.bin")));
    const ProcessResult r = RunProcess({"/bin/sh", "-c", "ulimit -f 500 && exec \"$0\" -y \"$1\"", SORV_CLI_PATH, dir.Path("a.d")});
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find("Fichier trop grand pour ce disque"), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(dir.Path("a." + kDeg + "00")) || FileExists(dir.Path("a.bin")));
}

// A damaged slice is named by its fingerprint; in a script of the layout
// without fingerprints, the size tells. Either way: on both streams, exit 2,
// nothing under the file's name, the slices and the script kept.
TEST(CliEndToEnd, AWrongRebuiltFileIsAnErrorThatLeavesNothingUnderItsName) {
    TempDir dir;
    const std::string source = dir.Path("a.bin");
    WriteFileBytes(source, PatternBytes(800'000));
    ASSERT_EQ(Cli({"-t", "360", source}).exitCode, 0);
    std::filesystem::remove(PathFromUtf8(source));
    const std::string slice2 = dir.Path("a." + kDeg + "02");
    std::filesystem::resize_file(PathFromUtf8(slice2), 1000);

    const std::string script = ReadFileBytes(dir.Path("a.d"));
    for (const bool fingerprints : {true, false}) {
        if (!fingerprints) WriteFileBytes(dir.Path("a.d"), script.substr(0, script.find("\r\n[Empreintes]")));
        const ProcessResult r = Cli({"-y", dir.Path("a.d")});
        const std::string fault = fingerprints ? "La tranche " + slice2 + " est endommagée.\n1 tranche(s) endommagée(s) : " +
                                                     source + " n'est pas reconstitué.\n"
                                               : "Taille reconstituée incorrecte : 442600 octet(s) au lieu de 800000 octet(s).\n";
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, fault);
        for (const std::string& line : Lines(fault)) EXPECT_TRUE(Contains(r.out, line + "\n")) << r.out;
        EXPECT_FALSE(FileExists(source));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(PathFromUtf8(dir.folder())), {}), 4);
    }
}

// A medium that fails under the file being written: the message names that
// file, not the one read, whether the bytes go through the program or are
// copied by the kernel (a join of the layout without fingerprints).
TEST(CliEndToEnd, AWriteErrorNamesTheFileWritten) {
    TempDir dir;
    const std::string source = dir.Path("a.bin");
    WriteFileBytes(source, PatternBytes(800'000));
    SlowDevice device;
    const std::string failing = "a." + kDeg + "02";
    device.FailWritingTo(failing);
    const ProcessResult split = Cli({"-t", "360", source});
    EXPECT_EQ(split.exitCode, 2);
    EXPECT_EQ(split.err, dir.Path(failing) + " : Erreur matérielle de lecture ou d'écriture.\n");
    device.FailWritingTo("/nothing");
    ASSERT_EQ(Cli({"-t", "360", source}).exitCode, 0);
    std::filesystem::remove(PathFromUtf8(source));
    const std::string script = ReadFileBytes(dir.Path("a.d"));
    WriteFileBytes(dir.Path("a.d"), script.substr(0, script.find("\r\n[Empreintes]")));
    const std::string partial = "a." + kDeg + "00";
    device.FailWritingTo(partial);
    const ProcessResult join = Cli({"-y", dir.Path("a.d")});
    EXPECT_EQ(join.exitCode, 2);
    EXPECT_EQ(join.err, dir.Path(partial) + " : Erreur matérielle de lecture ou d'écriture.\n");
    EXPECT_FALSE(FileExists(source));
    EXPECT_FALSE(FileExists(dir.Path(partial)));
}

// The fingerprints in the script are the values xxhsum prints, so a user can
// check a slice by hand; --verifier checks them all without rebuilding.
TEST(CliEndToEnd, FingerprintsAreXxhsumsAndVerifierChecksEverySlice) {
    TempDir dir;
    const std::string source = dir.Path("a.bin");
    WriteFileBytes(source, PatternBytes(800'000, 5));
    ASSERT_EQ(Cli({"-t", "360", source}).exitCode, 0);
    const std::string script = ReadFileBytes(dir.Path("a.d"));
    const std::string slice = dir.Path("a." + kDeg + "01");
    if (::access("/usr/bin/xxhsum", X_OK) == 0) {
        for (const auto& [file, key] : {std::pair{source, std::string("Fichier")}, std::pair{slice, std::string("1")}}) {
            const ProcessResult sum = RunProcess({"/usr/bin/xxhsum", file});
            ASSERT_EQ(sum.exitCode, 0);
            EXPECT_TRUE(Contains(script, "\r\n" + key + "=" + sum.out.substr(0, 16) + "\r\n")) << sum.out << script;
        }
    }

    ProcessResult r = Cli({"--verifier", dir.Path("a.d")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{slice + ": ok", dir.Path("a." + kDeg + "02: ok"),
                                                      dir.Path("a." + kDeg + "03: ok"), "Fichier entier: ok", "...Ok"}));
    WriteFileBytes(slice, "abîmée");
    std::filesystem::remove(PathFromUtf8(dir.Path("a." + kDeg + "03")));
    r = Cli({"--verifier", dir.Path("a.d")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{slice + ": endommagée", dir.Path("a." + kDeg + "02: ok"),
                                                      dir.Path("a." + kDeg + "03: manquante"),
                                                      "Vérification : 2 défaut(s) dans " + dir.Path("a.d") + "."}));
    EXPECT_EQ(r.err, "Vérification : 2 défaut(s) dans " + dir.Path("a.d") + ".\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(PathFromUtf8(dir.folder())), {}), 4);
}

// Two runs on one set at once, from two programs on a slow device: while
// the first is held between two slices, the second split (or join) stops at
// once with exit 1 and touches nothing; the first then ends with a whole set.
TEST(CliEndToEnd, ASecondRunOnASetBeingWorkedOnIsRefused) {
    TempDir dir;
    const std::string source = dir.Path("a.bin");
    const std::string bytes = PatternBytes(3'000'000);
    WriteFileBytes(source, bytes);
    struct Run {
        std::vector<std::string> args;
        std::string refusal;
    };
    const SlowDevice device;
    for (const Run& run : {Run{{"-y", "-t", "360", source}, "Un découpage vers " + dir.Path("a.d") + " est déjà en cours."},
                           Run{{"-n", dir.Path("a.d")}, "Un regroupement ou une réparation de " + dir.Path("a.d") + " est déjà en cours."}}) {
        ProcessResult second;
        const ProcessResult first = Cli(run.args, [&](pid_t child, const std::string& line) {
            if (line != dir.Path("a." + kDeg + "01: 358400 octet(s)")) return;
            kill(child, SIGSTOP);
            second = Cli(run.args);
            kill(child, SIGCONT);
        });
        EXPECT_EQ(second.exitCode, 1);
        EXPECT_EQ(second.err, run.refusal + "\n");
        EXPECT_EQ(first.exitCode, 0) << first.err;
        EXPECT_EQ(ReadFileBytes(source), bytes);
        for (const char* k : {"01", "02", "09"}) EXPECT_TRUE(FileExists(dir.Path("a." + kDeg + k)));
        EXPECT_TRUE(FileExists(dir.Path("a.d")));
        std::filesystem::remove(PathFromUtf8(source));
    }
}

// A sparse file: large enough that a split is still running when a signal
// lands, instant to make.
std::string LargeSparseFile(const TempDir& dir) {
    const std::string source = dir.Path("grand.iso");
    const int fd = open(source.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(ftruncate(fd, 300 * 1024 * 1024), 0);
    close(fd);
    return source;
}

void ExpectOnlyTheSourceLeft(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(dir.folder())))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"grand.iso"});
}

// Ctrl+C, kill and a closed terminal alike: the split stops after the slice
// and deletes what it wrote. Ctrl+C is a stop (exit 1); the others end the
// program by their own signal once the slices are gone.
TEST(CliEndToEnd, InterruptDuringSplitDeletesTheSlices) {
    const SlowDevice device;  // still splitting when the signal comes, on any machine
    for (const auto& [signal, exitCode] : {std::pair{SIGINT, 1}, std::pair{SIGTERM, -1}, std::pair{SIGHUP, -1}}) {
        SCOPED_TRACE(signal);
        TempDir dir;
        bool sent = false;
        const ProcessResult r = Cli({"-t", "360", LargeSparseFile(dir)}, [&](pid_t child, const std::string& line) {
            if (!sent && Contains(line, kDeg + "01: ")) {
                kill(child, signal);
                sent = true;
            }
        });
        ASSERT_TRUE(sent);
        EXPECT_EQ(r.exitCode, exitCode) << r.err;
        EXPECT_EQ(r.signal, exitCode == -1 ? signal : 0);
        const auto lines = Lines(r.out);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "Arrêt.");
        EXPECT_FALSE(Contains(r.out, "...Ok"));
        ExpectOnlyTheSourceLeft(dir);
    }
}

// `sorv-cli ... | head -1`: the log that can no longer be written stops the
// split, which deletes its slices, then the program ends as by the closed pipe.
TEST(CliEndToEnd, AClosedOutputPipeStopsTheSplitCleanly) {
    TempDir dir;
    const SlowDevice device;
    const ProcessResult r = RunProcess({"/bin/bash", "-c", "set -o pipefail; \"$0\" -t 360 \"$1\" | head -1",
                                        SORV_CLI_PATH, LargeSparseFile(dir)});
    EXPECT_EQ(r.exitCode, 128 + SIGPIPE) << r.err;
    EXPECT_EQ(r.out, "Taille maximum de la tranche :360 Ko\n");
    EXPECT_EQ(r.err, "");
    ExpectOnlyTheSourceLeft(dir);
}

}  // namespace
}  // namespace sorv::test
