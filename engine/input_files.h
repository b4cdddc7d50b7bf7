#pragma once
// The files an operation reads, remembered by full path and identity, so
// that each name it is about to write can be checked against all of them: a
// link, a second hard link, a name Windows folds or trims to the same file
// is caught whatever its spelling.
#include <optional>
#include <string>
#include <vector>

#include "file_system.h"

namespace sorv {

class InputFiles {
public:
    explicit InputFiles(FileSystem& fs) : fs_(fs) {}

    void Add(const std::string& path) { inputs_.push_back({path, fs_.FullPath(path), std::nullopt}); }

    // Writing `path` would touch one of the inputs. The inputs' identities
    // are read only when `path` names a file: asking a file for its identity
    // is slow on some systems (half a millisecond under Wine), and a join
    // checks every slice.
    bool Reaches(const std::string& path) {
        const std::string full = fs_.FullPath(path);
        for (const Input& input : inputs_)
            if (fs_.SamePath(full, input.fullPath)) return true;
        const std::optional<FileId> id = fs_.IdentityOf(path);
        if (!id) return false;
        for (Input& input : inputs_) {
            if (!input.id) input.id = fs_.IdentityOf(input.path);
            if (*input.id && **input.id == *id) return true;
        }
        return false;
    }

private:
    struct Input {
        std::string path;
        std::string fullPath;
        std::optional<std::optional<FileId>> id;  // read on first need
    };
    FileSystem& fs_;
    std::vector<Input> inputs_;
};

}  // namespace sorv
