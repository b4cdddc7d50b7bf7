#pragma once
// A fresh folder for one test, removed with everything in it afterwards, and
// small helpers to make and read files by UTF-8 name.
#include <cstdint>
#include <filesystem>
#include <string>

namespace sorv::test {

std::filesystem::path PathFromUtf8(const std::string& utf8);
void WriteFileBytes(const std::string& utf8Path, const std::string& bytes);
std::string ReadFileBytes(const std::string& utf8Path);
bool FileExists(const std::string& utf8Path);
// Bytes that differ from one offset to the next (a pattern of period 251).
std::string PatternBytes(std::size_t size, unsigned shift = 1);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending with the platform's delimiter.
    const std::string& folder() const { return folder_; }
    // folder() + name.
    std::string Path(const std::string& name) const { return folder_ + name; }

private:
    std::string folder_;
};

}  // namespace sorv::test
