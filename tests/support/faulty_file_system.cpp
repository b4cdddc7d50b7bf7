#include "faulty_file_system.h"

#include <algorithm>
#include <vector>

#include "io_error.h"

namespace sorv::test {
namespace {

constexpr int kDataError = 23;  // ERROR_CRC
constexpr int kDiskFull = 101;

// Byte by byte through Read and Write, so that every fault is seen.
class FaultyFile final : public File {
public:
    FaultyFile(std::unique_ptr<File> inner, FaultyFileSystem& fs, std::string path)
        : inner_(std::move(inner)), fs_(fs), path_(std::move(path)) {}

    std::size_t Read(std::span<std::byte> buffer) override {
        if (path_ == fs_.readErrorPath) {
            if (position_ >= fs_.readErrorAt) throw IoError(kDataError, path_);
            buffer = buffer.first(std::min<std::uint64_t>(buffer.size(), fs_.readErrorAt - position_));
        }
        const std::size_t got = inner_->Read(buffer);
        position_ += got;
        if (fs_.onTransfer) fs_.onTransfer(got);
        return got;
    }

    void Write(std::span<const std::byte> bytes) override {
        if (fs_.diskFullAfter) {
            const std::uint64_t room = *fs_.diskFullAfter - std::min(*fs_.diskFullAfter, fs_.written);
            if (bytes.size() > room) {
                inner_->Write(bytes.first(room));
                fs_.written += room;
                throw IoError(kDiskFull, path_);
            }
        }
        inner_->Write(bytes);
        fs_.written += bytes.size();
        if (fs_.onTransfer) fs_.onTransfer(bytes.size());
    }

    bool AtEnd() override { return inner_->AtEnd(); }
    std::uint64_t Size() override { return inner_->Size(); }
    void Seek(std::uint64_t offset) override {
        inner_->Seek(offset);
        position_ = offset;
    }
    void Close() override {
        inner_->Close();
        ThrowIfCloseFails();
    }
    FileId Identity() override { return inner_->Identity(); }
    FileStamp Stamp() override { return inner_->Stamp(); }
    bool TryLock() override { return inner_->TryLock(); }
    bool RunLockFree() override { return inner_->RunLockFree(); }
    std::unique_ptr<File> CloseKeepingLock() override {
        std::unique_ptr<File> kept = inner_->CloseKeepingLock();
        ThrowIfCloseFails();
        return kept ? std::make_unique<FaultyFile>(std::move(kept), fs_, path_ + " (kept)") : nullptr;
    }
    void ThrowIfCloseFails() const {
        if (path_ == fs_.closeErrorPath) throw IoError(kDataError, path_);
    }
    void Rewrite(std::span<const std::byte> bytes) override {
        inner_->Rewrite(std::span<const std::byte>());
        Write(bytes);
    }
    void Reserve(std::uint64_t bytes) override { inner_->Reserve(bytes); }

private:
    std::unique_ptr<File> inner_;
    FaultyFileSystem& fs_;
    std::string path_;
    std::uint64_t position_ = 0;
};

std::string ReadWhole(File& file) {
    std::string bytes;
    std::vector<std::byte> chunk(1 << 16);
    while (const std::size_t got = file.Read(chunk)) bytes.append(reinterpret_cast<const char*>(chunk.data()), got);
    return bytes;
}

}  // namespace

void FaultyFileSystem::Heal() {
    diskFullAfter.reset();
    readErrorPath.clear();
    resizedPath.clear();
    notDurable = false;
    undeletablePath.clear();
    closeErrorPath.clear();
    refuseCreation.reset();
    written = 0;
}

std::unique_ptr<File> FaultyFileSystem::Wrap(std::unique_ptr<File> file, const std::string& path) {
    return std::make_unique<FaultyFile>(std::move(file), *this, path);
}

// The file is rewritten under its own name: the size seen before the open
// is not the size read after it.
void FaultyFileSystem::Resize(const std::string& path) {
    std::string bytes = ReadWhole(*inner_.OpenRead(path));
    if (resizeBy >= 0) {
        bytes.append(static_cast<std::size_t>(resizeBy), 'G');
    } else {
        bytes.resize(bytes.size() - std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(-resizeBy)));
    }
    inner_.Delete(path);
    inner_.CreateNew(path)->Write(std::as_bytes(std::span(bytes.data(), bytes.size())));
}

std::unique_ptr<File> FaultyFileSystem::OpenRead(const std::string& path) {
    if (path == resizedPath) Resize(path);
    if (beforeRead) beforeRead(path);
    return Wrap(inner_.OpenRead(path), path);
}

std::unique_ptr<File> FaultyFileSystem::CreateNew(const std::string& path) {
    if (refuseCreation) throw IoError(*refuseCreation, path);
    return Wrap(inner_.CreateNew(path), path);
}

std::unique_ptr<File> FaultyFileSystem::CreateTemporary(const std::string& path) {
    if (refuseCreation) throw IoError(*refuseCreation, path);
    return Wrap(inner_.CreateTemporary(path), path);
}

}  // namespace sorv::test
