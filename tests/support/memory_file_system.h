#pragma once
// An in-memory file system whose files are ropes of byte runs and of ranges
// of a generated pattern, so a split or join of many gigabytes costs almost
// nothing. Copies between its files move ranges, not bytes.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "file_system.h"

namespace sorv::test {

// The pattern's byte at an absolute offset.
std::byte PatternByteAt(std::uint64_t offset);

class MemoryFileSystem : public FileSystem {
public:
    struct Segment {
        std::shared_ptr<const std::string> bytes;  // null: a pattern range
        std::uint64_t offset = 0;                  // into bytes, or the pattern offset
        std::uint64_t length = 0;
    };
    struct Node {
        Node();
        std::vector<Segment> segments;
        std::uint64_t size = 0;
        std::uint32_t attributes = kAttrArchive;
        std::uint64_t serial;       // the identity: never reused
        std::int64_t version = 0;   // moves at every write
        bool locked = false;
    };

    // The longest name part (bytes) a file may have, as a folder's limit.
    std::size_t nameMax = 255;
    // The largest room a file asked to reserve.
    std::uint64_t largestReservation = 0;
    // For files of many gigabytes: a copy between two of these files that is
    // watched shows each range it moves as its (offset, length) instead of
    // its bytes, so fingerprints cost nothing (they are still made, and
    // still differ when other ranges are moved).
    bool observeRangesOnly = false;
    // As FAT may when a name grows: a renamed file gets another identity,
    // which its open handles tell too.
    bool renumberOnRename = false;

    // A file of `size` pattern bytes starting at pattern offset 0.
    void AddPatternFile(const std::string& path, std::uint64_t size);
    void AddFile(const std::string& path, const std::string& bytes);
    // A second name for an existing file (a hard link): the same identity.
    void AddHardLink(const std::string& path, const std::string& existing);
    // True when the file is exactly pattern bytes [0, length).
    bool HoldsPatternPrefix(const std::string& path, std::uint64_t length) const;
    std::string Contents(const std::string& path) const;
    std::vector<std::string> Names() const;

    // Called before each CreateNew; may throw to simulate a failure.
    std::function<void(const std::string&)> beforeCreate;

    bool Exists(const std::string& path) override;
    EntryKind KindOf(const std::string& path) override;
    std::optional<FileId> IdentityOf(const std::string& path) override;
    std::string FullPath(const std::string& path) override { return path; }
    bool SamePath(const std::string& fullA, const std::string& fullB) override { return fullA == fullB; }
    void CheckNewName(const std::string& path) override;
    std::uint32_t GetAttributes(const std::string& path) override;
    void SetAttributes(const std::string& path, std::uint32_t attributes) override;
    std::int64_t SizeOf(const std::string& path) override;
    bool Delete(const std::string& path) override;
    Removal RemoveExactly(const std::string& path, const FileId& expected) override;
    bool MakeDurable(const std::string& path, const FileId& expected) override;
    std::unique_ptr<File> OpenRead(const std::string& path) override;
    std::unique_ptr<File> CreateNew(const std::string& path) override;
    void Rename(const std::string& from, const std::string& to, bool replace) override;
    std::string CurrentDirectory() override { return "/"; }

private:
    std::shared_ptr<Node> Find(const std::string& path) const;
    std::map<std::string, std::shared_ptr<Node>> files_;
};

}  // namespace sorv::test
