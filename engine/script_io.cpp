// Writing and reading the script file through the file system.
#include <cstddef>
#include <span>
#include <vector>

#include "engine.h"
#include "io_error.h"
#include "script_file.h"

namespace sorv {

void Engine::WriteScript(const std::string& sourcePath) {
    const std::string scriptPath = ScriptFileName(sourcePath);
    const std::string bytes = ScriptFileBytes(FolderOf(scriptPath, style_) + NamePartOf(sourcePath, style_),
                                              state.SourceSize, state.SliceCount);
    try {
        auto file = fs_.Create(scriptPath);
        file->Write(std::as_bytes(std::span(bytes.data(), bytes.size())));
        file->Close();
    } catch (const IoError&) {
        throw ProfileWriteError(scriptPath);
    }
    ui_.AppendLog(scriptPath);
}

void Engine::ReadScript(const std::string& scriptPath) {
    ScriptReader reader;
    try {
        auto file = fs_.OpenRead(scriptPath);
        std::vector<std::byte> chunk(64 * 1024);
        while (const std::size_t got = file->Read(chunk)) reader.Feed(std::span(chunk.data(), got));
    } catch (const IoError&) {
        // An unreadable script reads like an empty one: the defaults.
    }
    const ScriptValues values = reader.Finish();
    state.RecordedName = values.NomOriginal;
    state.RecordedSize = values.TailleOriginale;
    state.RecordedSliceCount = values.Tranches;
}

}  // namespace sorv
