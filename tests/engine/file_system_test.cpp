#include "file_test_helpers.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "utf16.h"
#else
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sorv {
namespace {

using test::TempDir;

std::span<const std::byte> AsBytes(const std::string& s) { return std::as_bytes(std::span(s)); }

std::string ReadAll(File& file) {
    std::string out;
    std::vector<std::byte> buffer(4096);
    while (const std::size_t n = file.Read(buffer)) out.append(reinterpret_cast<const char*>(buffer.data()), n);
    return out;
}

// Forwards to a real file; being of another class it makes CopyTo take the
// buffered road, and it records the largest single write.
class WrappedFile final : public File {
public:
    explicit WrappedFile(std::unique_ptr<File> inner) : inner_(std::move(inner)) {}
    std::size_t Read(std::span<std::byte> buffer) override { return inner_->Read(buffer); }
    void Write(std::span<const std::byte> bytes) override {
        largestWrite = std::max(largestWrite, bytes.size());
        inner_->Write(bytes);
    }
    bool AtEnd() override { return inner_->AtEnd(); }
    std::uint64_t Size() override { return inner_->Size(); }
    void Seek(std::uint64_t offset) override { inner_->Seek(offset); }
    void Close() override { inner_->Close(); }
    FileId Identity() override { return inner_->Identity(); }
    FileStamp Stamp() override { return inner_->Stamp(); }
    bool TryLock() override { return inner_->TryLock(); }
    bool RunLockFree() override { return inner_->RunLockFree(); }
    std::unique_ptr<File> CloseKeepingLock() override { return inner_->CloseKeepingLock(); }
    void Rewrite(std::span<const std::byte> bytes) override { inner_->Rewrite(bytes); }
    std::size_t largestWrite = 0;

private:
    std::unique_ptr<File> inner_;
};

TEST(FileSystem, CreateWriteReadRoundTripWithAtEnd) {
    TempDir dir;
    const std::string path = dir.Path("data.bin");
    const std::string content = test::PatternBytes(5000);
    auto out = Fs().CreateNew(path);
    EXPECT_TRUE(out->AtEnd());
    out->Write(AsBytes(content));
    out->Close();
    EXPECT_EQ(test::ReadFileBytes(path), content);
    EXPECT_TRUE(Fs().Exists(path));
    EXPECT_EQ(Fs().SizeOf(path), 5000);
    EXPECT_EQ(Fs().OpenRead(path)->Size(), 5000u);

    auto in = Fs().OpenRead(path);
    EXPECT_FALSE(in->AtEnd());
    std::vector<std::byte> buffer(4999);
    EXPECT_EQ(in->Read(buffer), 4999u);
    EXPECT_FALSE(in->AtEnd());
    EXPECT_EQ(in->Read(buffer), 1u);
    EXPECT_TRUE(in->AtEnd());
    EXPECT_EQ(in->Read(buffer), 0u);
    in->Close();

    // A new file is never made over an existing one.
    std::string text;
    EXPECT_EQ(ErrorCode([&] { Fs().CreateNew(path); }, &text), 80);
    EXPECT_EQ(text, "Un fichier de ce nom existe déjà");
    EXPECT_EQ(test::ReadFileBytes(path), content);
}

TEST(FileSystem, CopyToStopsAtMaxBytesOrAtTheSourceEnd) {
    TempDir dir;
    const std::string content = test::PatternBytes(10000, 7);
    test::WriteFileBytes(dir.Path("src"), content);
    for (const bool buffered : {false, true}) {
        CopyBuffer buffer;
        SCOPED_TRACE(buffered ? "buffered" : "native");
        auto src = Fs().OpenRead(dir.Path("src"));
        Fs().Delete(dir.Path("dest"));
        std::unique_ptr<File> dest = Fs().CreateNew(dir.Path("dest"));
        WrappedFile* wrapped = nullptr;
        if (buffered) {
            auto w = std::make_unique<WrappedFile>(std::move(dest));
            wrapped = w.get();
            dest = std::move(w);
        }

        EXPECT_EQ(src->CopyTo(*dest, 4321, buffer), 4321u);
        EXPECT_FALSE(src->AtEnd());
        // The source's position moved with the copy.
        std::vector<std::byte> one(1);
        ASSERT_EQ(src->Read(one), 1u);
        dest->Write(one);
        EXPECT_EQ(src->CopyTo(*dest, 1000000, buffer), 10000u - 4322u);
        EXPECT_TRUE(src->AtEnd());
        EXPECT_EQ(src->CopyTo(*dest, 5, buffer), 0u);
        dest->Close();
        EXPECT_EQ(test::ReadFileBytes(dir.Path("dest")), content);
        if (wrapped != nullptr) {
            EXPECT_EQ(wrapped->largestWrite, 10000u - 4322u);
        } else {
#ifndef _WIN32
            // The kernel copied: no buffer was needed.
            EXPECT_FALSE(buffer.Allocated());
#endif
        }
    }
}

TEST(FileSystem, MissingFileAndMissingFolderGiveTheirCodes) {
    TempDir dir;
    const char sep = dir.folder().back();
    const std::string missing = dir.Path("absent.bin");
    const std::string inMissingFolder = dir.Path("nofolder") + sep + "x.bin";
    std::string text;

    EXPECT_EQ(ErrorCode([&] { Fs().OpenRead(missing); }, &text), 2);
    EXPECT_EQ(text, "Fichier introuvable");
    EXPECT_EQ(ErrorCode([&] { Fs().GetAttributes(missing); }), 2);
    EXPECT_EQ(ErrorCode([&] { Fs().SetAttributes(missing, kAttrArchive); }), 2);

    EXPECT_EQ(ErrorCode([&] { Fs().OpenRead(inMissingFolder); }, &text), 3);
    EXPECT_EQ(text, "Nom de fichier incorrect");
    EXPECT_EQ(ErrorCode([&] { Fs().CreateNew(inMissingFolder); }), 3);
#ifndef _WIN32
    EXPECT_EQ(ErrorCode([&] { Fs().CreateNew(dir.Path(std::string(300, 'n'))); }, &text), 206);
    EXPECT_EQ(text, "Nom de fichier trop long");
#endif

    EXPECT_FALSE(Fs().Exists(missing));
    EXPECT_FALSE(Fs().Delete(missing));
    // A folder is not a file, and cannot be opened as one.
    const std::string folder = dir.folder().substr(0, dir.folder().size() - 1);
    EXPECT_FALSE(Fs().Exists(folder));
    EXPECT_EQ(ErrorCode([&] { Fs().OpenRead(folder); }), 5);
}

TEST(FileSystem, DeleteRemovesTheFile) {
    TempDir dir;
    test::WriteFileBytes(dir.Path("gone"), "x");
    EXPECT_TRUE(Fs().Delete(dir.Path("gone")));
    EXPECT_FALSE(test::FileExists(dir.Path("gone")));
}

TEST(FileSystem, ReadOnlyAttributeRoundTrip) {
    TempDir dir;
    const std::string path = dir.Path("ro.txt");
    test::WriteFileBytes(path, "abc");
    EXPECT_EQ(Fs().GetAttributes(path) & kAttrReadOnly, 0u);
    Fs().SetAttributes(path, kAttrReadOnly);
    EXPECT_NE(Fs().GetAttributes(path) & kAttrReadOnly, 0u);
    // A read-only source can still be read.
    EXPECT_EQ(ReadAll(*Fs().OpenRead(path)), "abc");
    Fs().SetAttributes(path, kAttrArchive);
    EXPECT_EQ(Fs().GetAttributes(path), kAttrArchive);
}

TEST(FileSystem, SizeOfIsThatExactName) {
    TempDir dir;
    test::WriteFileBytes(dir.Path("three.bin"), "abc");
    test::WriteFileBytes(dir.Path("empty.bin"), "");
    EXPECT_EQ(Fs().SizeOf(dir.Path("three.bin")), 3);
    EXPECT_EQ(Fs().SizeOf(dir.Path("empty.bin")), 0);
    EXPECT_EQ(Fs().SizeOf(dir.Path("absent.bin")), -1);
    EXPECT_EQ(Fs().SizeOf(dir.Path("three.*")), -1);
    EXPECT_EQ(Fs().SizeOf(dir.Path("t?ree.bin")), -1);
    EXPECT_EQ(Fs().SizeOf(dir.Path("*")), -1);
}

TEST(FileSystem, DegreeSignInNamesSurvives) {
    TempDir dir;
    const std::string slice = dir.Path("ARCHIVE.°01");
    Fs().CreateNew(slice)->Write(AsBytes(std::string("12345")));
    EXPECT_TRUE(test::FileExists(slice));
    EXPECT_EQ(test::ReadFileBytes(slice), "12345");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(test::PathFromUtf8(dir.folder()))) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    EXPECT_EQ(names, std::vector<std::string>{"ARCHIVE.°01"});

    test::WriteFileBytes(dir.Path("ARCHIVE.°02"), "67");
    EXPECT_TRUE(Fs().Exists(dir.Path("ARCHIVE.°02")));
    EXPECT_EQ(Fs().SizeOf(dir.Path("ARCHIVE.°02")), 2);
    EXPECT_EQ(ReadAll(*Fs().OpenRead(dir.Path("ARCHIVE.°02"))), "67");
    EXPECT_TRUE(Fs().Delete(slice));
    EXPECT_FALSE(test::FileExists(slice));
}

TEST(FileSystem, CurrentDirectoryIsTheProcessOne) {
    const std::u8string cwd = std::filesystem::current_path().u8string();
    EXPECT_EQ(Fs().CurrentDirectory(), std::string(cwd.begin(), cwd.end()));
}

#ifdef _WIN32
TEST(Utf16, WidenAndNarrowRoundTrip) {
    EXPECT_EQ(Widen("é°"), L"\u00e9\u00b0");
    EXPECT_EQ(Narrow(L"\u00e9\u00b0"), "é°");
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Narrow(L""), "");
    // Broken input gives replacement characters, never a crash.
    EXPECT_FALSE(Widen("a\xC3(\xFF").empty());
    EXPECT_FALSE(Narrow(std::wstring(1, wchar_t(0xD800)) + L"b").empty());
}
#else
// A file size limit is what FAT32 sets at 4 GiB: not a full disk (freeing
// room would not help), and the file is named.
TEST(FileSystem, AFileTooLargeForItsFileSystemIsSaidSoAndNamed) {
    TempDir dir;
    const std::string path = dir.Path("limited.bin");
    auto file = Fs().CreateNew(path);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string path2;
    try {
        file->Write(AsBytes(std::string(8192, 'x')));
        ADD_FAILURE() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.what(), path + " : Fichier trop grand pour ce disque");
        path2 = e.path();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(path2, path);
}

TEST(FileSystem, ReservedRoomThatIsNotWrittenIsGivenBack) {
    TempDir dir;
    const std::string path = dir.Path("target.bin");
    auto file = Fs().CreateNew(path);
    file->Reserve(64u << 20);
    file->Write(AsBytes(std::string(5000, 'x')));
    file->Close();
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 5000);
    EXPECT_LT(static_cast<long long>(st.st_blocks) * 512, 1LL << 20);  // not the 64 MiB reserved
    EXPECT_EQ(test::ReadFileBytes(path), std::string(5000, 'x'));
}
#endif

}  // namespace
}  // namespace sorv
