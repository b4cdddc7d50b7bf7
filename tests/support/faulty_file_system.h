#pragma once
// A file system that passes everything to another one and injects the faults
// of an unlucky day: a disk that fills after N bytes, a read error at an
// offset of one file, a file whose size changes between the moment it is
// measured and the moment it is read.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "file_system.h"

namespace sorv::test {

class FaultyFileSystem : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

    // Writes stop with "Disque plein" once this many bytes were written,
    // all files together; the write that crosses the line is cut there.
    std::optional<std::uint64_t> diskFullAfter;
    // Reading readErrorPath fails at byte readErrorAt ("Erreur E/S 23", the
    // platform's data error), after handing out the bytes before it.
    std::string readErrorPath;
    std::uint64_t readErrorAt = 0;
    // When resizedPath is opened for reading it first gains (or loses)
    // resizeBy bytes.
    std::string resizedPath;
    std::int64_t resizeBy = 0;
    // The medium never confirms that a file is on it.
    bool notDurable = false;
    // The system refuses to remove this file (read-only, say).
    std::string undeletablePath;
    // A medium that takes no new file: creating one fails with this error
    // code (a read-only folder's access denied, a write-protected disk's).
    std::optional<int> refuseCreation;
    // Closing the file created under this name reports an error (a network
    // drive that could not write back).
    std::string closeErrorPath;

    std::uint64_t written = 0;
    // Told the size of each read and write as it happens (a slow device
    // moves a fake clock by it).
    std::function<void(std::uint64_t bytes)> onTransfer;
    // Called as a rename starts: another run acting at that very moment.
    std::function<void(const std::string& from)> beforeRename;
    // Called as a file is opened for reading: another program changing it.
    std::function<void(const std::string& path)> beforeRead;

    // No more faults; the count of written bytes starts again.
    void Heal();

    bool Exists(const std::string& path) override { return inner_.Exists(path); }
    EntryKind KindOf(const std::string& path) override { return inner_.KindOf(path); }
    std::optional<FileId> IdentityOf(const std::string& path) override { return inner_.IdentityOf(path); }
    std::string FullPath(const std::string& path) override { return inner_.FullPath(path); }
    bool SamePath(const std::string& a, const std::string& b) override { return inner_.SamePath(a, b); }
    void CheckNewName(const std::string& path) override { inner_.CheckNewName(path); }
    std::uint32_t GetAttributes(const std::string& path) override { return inner_.GetAttributes(path); }
    void SetAttributes(const std::string& path, std::uint32_t a) override { inner_.SetAttributes(path, a); }
    std::int64_t SizeOf(const std::string& path) override { return inner_.SizeOf(path); }
    bool Delete(const std::string& path) override { return path != undeletablePath && inner_.Delete(path); }
    Removal RemoveExactly(const std::string& path, const FileId& expected) override {
        return path == undeletablePath ? Removal::Failed : inner_.RemoveExactly(path, expected);
    }
    std::unique_ptr<File> OpenRead(const std::string& path) override;
    std::unique_ptr<File> CreateNew(const std::string& path) override;
    std::unique_ptr<File> CreateTemporary(const std::string& path) override;
    void Rename(const std::string& from, const std::string& to, bool replace) override {
        if (beforeRename) beforeRename(from);
        inner_.Rename(from, to, replace);
    }
    std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
    bool MakeDurable(const std::string& path, const FileId& expected) override {
        return !notDurable && inner_.MakeDurable(path, expected);
    }

private:
    std::unique_ptr<File> Wrap(std::unique_ptr<File> file, const std::string& path);
    void Resize(const std::string& path);

    FileSystem& inner_;
};

}  // namespace sorv::test
