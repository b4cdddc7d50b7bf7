// Reading the script file through the file system, and judging what it says.
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "engine.h"
#include "io_error.h"
#include "script_file.h"
#include "text_encoding.h"

namespace sorv {

namespace {

// "" when the number can serve, else what is wrong with it.
std::string NumberProblem(const char* key, const NumberKey& found, std::int64_t value) {
    if (!found.present) return {};
    if (!found.readable) return std::string(key) + " illisible (\"" + found.text + "\")";
    if (value <= 0) return std::string(key) + " vaut " + std::to_string(value);
    return {};
}

// "C:", "c:." : a drive, not a file, whichever system reads the script.
bool IsDriveOnly(std::string_view name) {
    const bool drive = name.size() >= 2 && ((name[0] | 0x20) >= 'a' && (name[0] | 0x20) <= 'z') && name[1] == ':';
    return drive && (name.size() == 2 || name.substr(2) == "." || name.substr(2) == "..");
}

// A recorded name part a join can rebuild a file under.
bool NamesAFile(std::string_view name) { return !name.empty() && name != "." && name != ".." && !IsDriveOnly(name); }

}  // namespace

ScriptValues Engine::ReadScriptValues(File& file) {
    ScriptReader reader;
    std::vector<std::byte> chunk(64 * 1024);
    while (const std::size_t got = file.Read(chunk)) reader.Feed(std::span(chunk.data(), got));
    return reader.Finish();
}

std::string Engine::RecordedNameFor(const std::string& sourcePath) const {
    const std::string name = NamePartOf(sourcePath, style_);
    // The whole path, as a split from the window records it, also when the
    // command line named the source from the current folder.
    const std::string full = FolderOf(fs_.FullPath(ScriptFileName(sourcePath)), style_) + name;
    // A reader keeps that many characters: past them only the name, which is what a join uses.
    return Utf8Prefix(full, kMaxValueChars).size() < full.size() ? name : full;
}

// The script holds a name as text on a line of its own, and a join takes
// its name part after the last slash or backslash on every system: a name
// with a line break, bytes that are no text or a backslash (POSIX) comes
// back otherwise.
// Read back here as the join reads it, before anything is written: one that
// names no file would make a set no join can rebuild.
bool Engine::NameKeptByTheScript(const std::string& sourcePath) {
    const std::string bytes = ScriptFileBytes(RecordedNameFor(sourcePath), 1, 1, nullptr);
    ScriptReader reader;
    reader.Feed(std::as_bytes(std::span(bytes)));
    const std::string rebuilt = NamePartOf(reader.Finish().NomOriginal, RecordedNameStyle(style_));
    const std::string name = NamePartOf(sourcePath, style_);
    if (rebuilt == name) return true;
    const std::string cannot = "Le script ne peut pas garder le nom " + name + " : ";
    if (!NamesAFile(rebuilt)) {
        RefuseToCut(cannot + "renommez le fichier pour le découper.");
        return false;
    }
    ui_.AppendLog(cannot + "le fichier sera reconstitué sous le nom " + rebuilt + ".");
    return true;
}

std::string Engine::ScriptBytes(const std::string& sourcePath, const Fingerprints* fingerprints) const {
    return ScriptFileBytes(RecordedNameFor(sourcePath), state.SourceSize, state.SliceCount, fingerprints);
}

void Engine::ReadScript(const std::string& scriptPath) {
    // Called only for a script that is there: one that cannot be read is
    // an error naming it, not a script of defaults. Its identity is the
    // file read, not what the name reaches a moment before or after.
    const std::unique_ptr<File> script = fs_.OpenRead(scriptPath);
    scriptInput_ = ReadInput{scriptPath, script->Identity(), script->Stamp()};
    script_ = ReadScriptValues(*script);
    state.RecordedName = script_.NomOriginal;
    state.RecordedSize = script_.TailleOriginale;
    state.RecordedSliceCount = script_.Tranches;
    codingSizeBelied_ = CodingSizeBelied(scriptPath);
}

// The size, count and name a set needs, each readable; false when the script
// lacks one (said). The join, the check and the repair refuse it alike.
bool Engine::ScriptDescribesAFile(const std::string& scriptPath) {
    const bool hasSize = script_.TailleOriginaleKey.present, hasCount = script_.TranchesKey.present;
    // Without them the size and count read as 0: an empty file would be
    // rebuilt and called a success.
    if (!hasSize || !hasCount) {
        const char* missing = !hasSize && !hasCount ? "TailleOriginale et Tranches" : !hasSize ? "TailleOriginale" : "Tranches";
        Fail(std::string("Script incomplet, il manque ") + missing + " : " + scriptPath);
        return false;
    }
    std::string problem = NumberProblem("TailleOriginale", script_.TailleOriginaleKey, state.RecordedSize);
    if (problem.empty()) problem = NumberProblem("Tranches", script_.TranchesKey, state.RecordedSliceCount);
    // Every slice holds a byte at least.
    if (problem.empty() && state.RecordedSliceCount > state.RecordedSize)
        problem = "Tranches vaut " + std::to_string(state.RecordedSliceCount) + " pour " +
                  std::to_string(state.RecordedSize) + " octet(s)";
    if (problem.empty() && !NamesAFile(NamePartOf(state.RecordedName, RecordedNameStyle(style_))))
        problem = "NomOriginal ne nomme aucun fichier";
    if (!problem.empty()) {
        Fail("Script endommagé, " + problem + " : " + scriptPath);
        return false;
    }
    return true;
}

// A script that cannot say what to rebuild, or whose fingerprints cannot
// check it, rebuilds nothing: the slices and the script stay as they are.
bool Engine::ScriptIsSound(const std::string& scriptPath) {
    if (!ScriptDescribesAFile(scriptPath)) return false;
    const RecordedFingerprints& recorded = script_.Empreintes;
    if (recorded.Present() && !recorded.CanCheckEverything(state.RecordedSliceCount)) {
        Fail("Les empreintes du script sont illisibles (" + recorded.Unusable(state.RecordedSliceCount) + ") : " +
             scriptPath + ". Pour regrouper sans les vérifier, ne gardez dans le script que la section [Sorv].");
        return false;
    }
    if (!recorded.Present()) ui_.AppendLog("Le script n'a pas d'empreintes : les tranches ne seront pas vérifiées.");
    return true;
}

}  // namespace sorv
