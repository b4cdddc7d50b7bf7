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

    void Add(const std::string& path) { inputs_.push_back({fs_.FullPath(path), fs_.IdentityOf(path)}); }

    // Writing `path` would touch one of the inputs.
    bool Reaches(const std::string& path) const {
        const std::string full = fs_.FullPath(path);
        const std::optional<FileId> id = fs_.IdentityOf(path);
        for (const Input& input : inputs_) {
            if (fs_.SamePath(full, input.fullPath)) return true;
            if (id && input.id && *id == *input.id) return true;
        }
        return false;
    }

private:
    struct Input {
        std::string fullPath;
        std::optional<FileId> id;
    };
    FileSystem& fs_;
    std::vector<Input> inputs_;
};

}  // namespace sorv
