#pragma once
#include <cstdint>

namespace sorv {

// Which file a name reaches, whatever it is called: device and inode on
// POSIX, volume serial number and file index on Windows.
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

}  // namespace sorv
