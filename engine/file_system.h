#pragma once
// The one door to the file system. Two implementations: POSIX and Win32
// (names are UTF-8 here, UTF-16 at the Win32 calls). Every failure throws
// IoError with the platform's code mapped to the Windows code numbers.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace sorv {

// File attribute bits, as Windows numbers them.
constexpr std::uint32_t kAttrReadOnly = 1;
constexpr std::uint32_t kAttrHidden = 2;
constexpr std::uint32_t kAttrArchive = 32;

// An open file. The destructor closes it and ignores errors, so every path
// out of an operation releases it; Close() reports them.
class File {
public:
    virtual ~File() = default;
    // Reads up to buffer.size() bytes; returns how many were read (0 at the end).
    virtual std::size_t Read(std::span<std::byte> buffer) = 0;
    // Writes every byte or throws (a short write is "Disque plein").
    virtual void Write(std::span<const std::byte> bytes) = 0;
    // True when the position has reached the file's current size.
    virtual bool AtEnd() = 0;
    virtual void Close() = 0;
    // Room for the bytes about to be written, so the file system lays them out
    // in one go (a hint: failures are ignored). What the writes do not use is
    // given back when the file is closed.
    virtual void Reserve(std::uint64_t /*bytes*/) {}
    // Copies up to maxBytes from this file's position to dest's, using
    // buffer (or an in-kernel copy where that is faster). Returns the bytes
    // copied: fewer than maxBytes only when this file ran out.
    virtual std::uint64_t CopyTo(File& dest, std::uint64_t maxBytes, std::span<std::byte> buffer);
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool Exists(const std::string& path) = 0;
    // Windows attribute bits. On POSIX: read-only when the owner may not
    // write, archive always set.
    virtual std::uint32_t GetAttributes(const std::string& path) = 0;
    virtual void SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // Size from the directory entry of that exact name; -1 when there is none.
    virtual std::int64_t SizeOf(const std::string& path) = 0;
    // Deletes a file; false when it could not (callers pass over it).
    virtual bool Delete(const std::string& path) = 0;
    // Opens an existing file for reading only, sharing reading and writing.
    virtual std::unique_ptr<File> OpenRead(const std::string& path) = 0;
    // Creates (or replaces) a file for reading and writing, with the same sharing.
    virtual std::unique_ptr<File> Create(const std::string& path) = 0;
    virtual std::string CurrentDirectory() = 0;
};

// The platform's own file system (POSIX or Win32, chosen at build time).
FileSystem& NativeFileSystem();

}  // namespace sorv
