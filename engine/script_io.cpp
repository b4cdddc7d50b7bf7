// Writing and reading the script file through the file system.
#include <cstddef>
#include <span>
#include <vector>

#include "engine.h"
#include "io_error.h"
#include "script_file.h"

namespace sorv {

namespace {

// `created` tells the caller, even when the write fails, that the file is
// its own to remove.
void WriteNewFile(FileSystem& fs, const std::string& path, const std::string& bytes, bool& created) {
    auto file = fs.CreateNew(path);
    created = true;
    file->Write(std::as_bytes(std::span(bytes.data(), bytes.size())));
    file->Close();
}

}  // namespace

ScriptValues Engine::ReadScriptValues(const std::string& path) {
    ScriptReader reader;
    try {
        auto file = fs_.OpenRead(path);
        std::vector<std::byte> chunk(64 * 1024);
        while (const std::size_t got = file->Read(chunk)) reader.Feed(std::span(chunk.data(), got));
    } catch (const IoError&) {
        // An unreadable script reads like an empty one: the defaults.
    }
    return reader.Finish();
}

std::string Engine::ScriptBytes(const std::string& sourcePath, const Fingerprints* fingerprints) const {
    return ScriptFileBytes(FolderOf(ScriptFileName(sourcePath), style_) + NamePartOf(sourcePath, style_),
                           state.SourceSize, state.SliceCount, fingerprints);
}

// Written before the first slice: while it is there, the slices beside it
// belong to a split of this source that has not ended.
void Engine::WritePartialScript(const std::string& sourcePath, bool& created) {
    WriteNewFile(fs_, PartialScriptName(sourcePath, style_), ScriptBytes(sourcePath), created);
}

// The script is written whole under its partial name, then renamed: a script
// under the real name is always complete. The split removed every other file
// of that name before it began, so nothing is replaced.
void Engine::WriteScript(const std::string& sourcePath, const Fingerprints* fingerprints) {
    const std::string scriptPath = ScriptFileName(sourcePath);
    const std::string partial = PartialScriptName(sourcePath, style_);
    try {
        fs_.Delete(partial);
        bool created = false;
        WriteNewFile(fs_, partial, ScriptBytes(sourcePath, fingerprints), created);
        fs_.Rename(partial, scriptPath, false);
    } catch (const IoError&) {
        throw ProfileWriteError(scriptPath);
    }
    ui_.AppendLog(scriptPath);
}

void Engine::ReadScript(const std::string& scriptPath) {
    const ScriptValues values = ReadScriptValues(scriptPath);
    state.RecordedName = values.NomOriginal;
    state.RecordedSize = values.TailleOriginale;
    state.RecordedSliceCount = values.Tranches;
    recordedFingerprints_ = values.Empreintes;
    missingScriptKeys_ = !values.HasTailleOriginale && !values.HasTranches ? "TailleOriginale et Tranches"
                         : !values.HasTailleOriginale                    ? "TailleOriginale"
                         : !values.HasTranches                           ? "Tranches"
                                                                         : "";
}

}  // namespace sorv
