#pragma once
// The one door to the file system. Two implementations: POSIX and Win32
// (names are UTF-8 here, UTF-16 at the Win32 calls). Every failure throws
// IoError with the platform's code mapped to the Windows code numbers.
//
// Nothing is ever written through a name that already exists: new files are
// created exclusively and moved into place by renaming, which replaces a
// directory entry (a link included) without following it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "copy_buffer.h"
#include "file_id.h"

namespace sorv {

// File attribute bits, as Windows numbers them.
constexpr std::uint32_t kAttrReadOnly = 1;
constexpr std::uint32_t kAttrHidden = 2;
constexpr std::uint32_t kAttrArchive = 32;

// When a file's contents last changed, as its open handle tells: the
// last-write time, and the change time where the platform keeps one. Equal
// stamps before and after a copy mean nobody wrote to the file meanwhile.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t written = 0;
    std::int64_t changed = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// What removing an output found at its name.
enum class Removal {
    Removed,
    Missing,   // nothing there any more
    Replaced,  // another file, a link or something unknown: left in place
    Failed,    // it is there and is ours, but the system refused
};

// What a directory entry is, the entry itself looked at (a link is not followed).
enum class EntryKind {
    None,    // no entry of that name
    File,    // a regular file
    Folder,
    Other,   // a link (dangling or not), a FIFO, a device...
};

// Sees every byte a copy moves, in order: the fingerprints are made of what
// was written.
class ByteObserver {
public:
    virtual ~ByteObserver() = default;
    virtual void Observe(std::span<const std::byte> bytes) = 0;
};

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
    // The file's current size, from the open handle.
    virtual std::uint64_t Size() = 0;
    // Moves the position to `offset` from the start; a write beyond the end
    // leaves the bytes between as zeros.
    virtual void Seek(std::uint64_t offset) = 0;
    virtual void Close() = 0;
    // The file this handle has open, whatever name it has now.
    virtual FileId Identity() = 0;
    virtual FileStamp Stamp() = 0;
    // Takes the exclusive lock that tells a live run from a dead one; false
    // when another handle holds it. Held until the handle is closed, and
    // released by the system when the process dies. Other handles can still
    // read and write the file.
    virtual bool TryLock() = 0;
    // Whether no run holds that lock, looked at without keeping it; a lock
    // another program took on the whole file (flock) is no run's.
    virtual bool RunLockFree() { return TryLock(); }
    // Closes this handle as Close() does (its errors reported) and returns
    // another on the same file that keeps the lock; on Windows it only reads,
    // so other programs may open the file as they like. Where the lock cannot
    // pass from handle to handle it is taken again at once; null when another
    // run took it in that moment.
    virtual std::unique_ptr<File> CloseKeepingLock() = 0;
    // Replaces the whole contents with these bytes.
    virtual void Rewrite(std::span<const std::byte> bytes) = 0;
    // Room for the bytes about to be written, so the file system lays them out
    // in one go (a hint: failures are ignored). What the writes do not use is
    // given back when the file is closed.
    virtual void Reserve(std::uint64_t /*bytes*/) {}
    // Copies up to maxBytes from this file's position to dest's, using
    // buffer (or a faster way the platform offers, which leaves it
    // unallocated), and shows them to the observer if there is one. Returns
    // the bytes copied: fewer than maxBytes only when this file ran out.
    virtual std::uint64_t CopyTo(File& dest, std::uint64_t maxBytes, CopyBuffer& buffer,
                                 ByteObserver* observer = nullptr);
    // Reads up to maxBytes from this file's position only to show them to the
    // observer. Returns the bytes read: fewer than maxBytes only at the end.
    std::uint64_t ReadThrough(std::uint64_t maxBytes, CopyBuffer& buffer, ByteObserver& observer);
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // A regular file that can be read is there (links followed).
    virtual bool Exists(const std::string& path) = 0;
    // The directory entry of that name, not followed.
    virtual EntryKind KindOf(const std::string& path) = 0;
    bool EntryExists(const std::string& path) { return KindOf(path) != EntryKind::None; }
    // The file the name reaches (links followed); none when it reaches nothing.
    virtual std::optional<FileId> IdentityOf(const std::string& path) = 0;
    // The absolute path as the platform resolves the name: links in the
    // folder part, "." and "..", and on Windows the trailing dots and blanks
    // it drops. Compare two of them with SamePath.
    virtual std::string FullPath(const std::string& path) = 0;
    // Two full paths name the same entry under the file system's case rules.
    virtual bool SamePath(const std::string& fullA, const std::string& fullB) = 0;
    // Throws IoError 3 ("Nom de fichier incorrect") for a name that could not
    // be created as written: too long for its folder, "." or "..", and on
    // Windows a name the system would silently change (trailing dots or
    // blanks), a device name or a character it forbids.
    virtual void CheckNewName(const std::string& path) = 0;
    // Windows attribute bits. On POSIX: read-only when the owner may not
    // write, archive always set.
    virtual std::uint32_t GetAttributes(const std::string& path) = 0;
    virtual void SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // Size of the file that name reaches (links followed); -1 when there is none.
    virtual std::int64_t SizeOf(const std::string& path) = 0;
    // Removes the directory entry (a link, never what it points to); false
    // when it could not (callers pass over it). Where the system cannot show
    // what the entry is (a link under Wine looks like its target), nothing
    // is removed.
    virtual bool Delete(const std::string& path) = 0;
    // Removes the entry only when it is a regular file, not a link, and is
    // the file `expected` identifies: the one this program wrote or read.
    virtual Removal RemoveExactly(const std::string& path, const FileId& expected) = 0;
    // Opens an existing regular file for reading only, sharing reading,
    // writing and deletion. Folders, FIFOs and devices are refused ("Accès au fichier refusé").
    virtual std::unique_ptr<File> OpenRead(const std::string& path) = 0;
    // Creates a new file for reading and writing with the same sharing; fails
    // when any entry of that name exists, a dangling link included (code 80).
    virtual std::unique_ptr<File> CreateNew(const std::string& path) = 0;
    // CreateNew for a file that must not outlive an interrupted run: until it
    // is renamed or deleted, RemoveTemporaryFilesNow() removes it.
    virtual std::unique_ptr<File> CreateTemporary(const std::string& path) { return CreateNew(path); }
    // Moves the entry `from` to `to` in the same folder. With replace, an
    // entry already at `to` (a file, a link, a FIFO) is replaced, never
    // followed; without, an existing `to` makes it fail.
    virtual void Rename(const std::string& from, const std::string& to, bool replace) = 0;
    virtual std::string CurrentDirectory() = 0;
    // How many more files this process may open now; none when the system
    // sets no limit a set could reach.
    virtual std::optional<std::uint64_t> MoreFilesAllowed() { return std::nullopt; }
    // Waits until the bytes of the file at `path`, when it is `expected`, and
    // its directory entry are on the medium; false when it is another file
    // or the system could not confirm it.
    virtual bool MakeDurable(const std::string& path, const FileId& expected) = 0;

    // The two names reach the same file, or would once one is created:
    // compared by identity and by full path, never by spelling.
    bool SameFile(const std::string& a, const std::string& b);
};

// The platform's own file system (POSIX or Win32, chosen at build time).
FileSystem& NativeFileSystem();

// Removes the files that CreateTemporary made and that are still there. Safe
// in a signal handler (POSIX) and a console control handler (Windows): the
// second Ctrl+C that ends sorv-cli leaves no partial file of a join behind,
// nor of a repair rebuilding up to 15 files (the next repair asks about any
// other).
void RemoveTemporaryFilesNow();

}  // namespace sorv
