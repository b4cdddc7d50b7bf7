#pragma once
// The one owner of what a flow writes. Each output is registered by identity
// the moment it is created; a flow that fails or is stopped removes exactly
// those files, never another one that has taken a name meanwhile, nor what a
// link points to; a flow that ends well commits them and they stay.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "file_system.h"

namespace sorv {

class Outputs {
public:
    explicit Outputs(FileSystem& fs) : fs_(fs) {}
    // Whatever was not committed goes, silently: the flow's own clean-up
    // (Discard) is the one that reports.
    ~Outputs();
    Outputs(const Outputs&) = delete;
    Outputs& operator=(const Outputs&) = delete;

    // Creates a new file (no entry of that name may exist) and registers it.
    // A temporary one is removed by RemoveTemporaryFilesNow too.
    std::unique_ptr<File> Create(const std::string& path, bool temporary = false);
    // Moves a registered output; it is known under its new name from then on.
    // FAT may number a file anew when its name grows: when the name no longer
    // reaches the identity known and the caller holds the file open, the
    // handle says whether it is still this output.
    void Rename(const std::string& from, const std::string& to, bool replace, File* held = nullptr);
    // The identity of the output registered under that name.
    std::optional<FileId> Registered(const std::string& path);
    // The output registered under that name is still the file there.
    bool StillThere(const std::string& path);
    // Every output stays.
    void Commit() { outputs_.clear(); }
    // The output under that name stays, whatever becomes of the others.
    void Keep(const std::string& path);
    // Removes every output not committed, the newest first (a lock holder
    // created first goes last). Returns those left in place, with why:
    // Replaced (another file or a link has their name now) or Failed (the
    // system refused).
    std::vector<std::pair<std::string, Removal>> Discard();

private:
    struct Output {
        std::string path;
        FileId id;
    };
    Output* Find(const std::string& path);

    FileSystem& fs_;
    std::vector<Output> outputs_;
};

}  // namespace sorv
