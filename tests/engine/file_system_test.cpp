#include "file_system.h"
#include "io_error.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <fstream>

#include "utf16.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sorv {
namespace {

using test::TempDir;

FileSystem& Fs() { return NativeFileSystem(); }

std::span<const std::byte> AsBytes(const std::string& s) { return std::as_bytes(std::span(s)); }

std::string ReadAll(File& file) {
    std::string out;
    std::vector<std::byte> buffer(4096);
    while (const std::size_t n = file.Read(buffer)) out.append(reinterpret_cast<const char*>(buffer.data()), n);
    return out;
}

// The IoError code thrown by f, or 0 when it threw none.
int ErrorCode(const std::function<void()>& f, std::string* text = nullptr) {
    try {
        f();
    } catch (const IoError& e) {
        if (text != nullptr) *text = e.what();
        return e.code();
    }
    return 0;
}

// Permission checks mean nothing to root, who bypasses them. Under Wine the
// read-only attribute is the Unix write permission, so the same holds there.
bool PermissionsBypassed() {
#ifdef _WIN32
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr) return false;
    std::ifstream status("Z:\\proc\\self\\status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("Uid:")) return line.find_first_not_of("\t ", 4) == line.find('0', 4);
    return false;
#else
    return ::geteuid() == 0;
#endif
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
    void Close() override { inner_->Close(); }
    std::size_t largestWrite = 0;

private:
    std::unique_ptr<File> inner_;
};

TEST(FileSystem, CreateWriteReadRoundTripWithAtEnd) {
    TempDir dir;
    const std::string path = dir.Path("data.bin");
    const std::string content = test::PatternBytes(5000);
    auto out = Fs().Create(path);
    EXPECT_TRUE(out->AtEnd());
    out->Write(AsBytes(content));
    out->Close();
    EXPECT_EQ(test::ReadFileBytes(path), content);
    EXPECT_TRUE(Fs().Exists(path));
    EXPECT_EQ(Fs().SizeOf(path), 5000);

    auto in = Fs().OpenRead(path);
    EXPECT_FALSE(in->AtEnd());
    std::vector<std::byte> buffer(4999);
    EXPECT_EQ(in->Read(buffer), 4999u);
    EXPECT_FALSE(in->AtEnd());
    EXPECT_EQ(in->Read(buffer), 1u);
    EXPECT_TRUE(in->AtEnd());
    EXPECT_EQ(in->Read(buffer), 0u);
    in->Close();

    // Create replaces the content of an existing file.
    Fs().Create(path)->Write(AsBytes(std::string("abc")));
    EXPECT_EQ(test::ReadFileBytes(path), "abc");
    EXPECT_EQ(Fs().SizeOf(path), 3);
}

TEST(FileSystem, CopyToStopsAtMaxBytesOrAtTheSourceEnd) {
    TempDir dir;
    const std::string content = test::PatternBytes(10000, 7);
    test::WriteFileBytes(dir.Path("src"), content);
    std::vector<std::byte> buffer(1000);  // smaller than every range below

    for (const bool buffered : {false, true}) {
        SCOPED_TRACE(buffered ? "buffered" : "native");
        auto src = Fs().OpenRead(dir.Path("src"));
        std::unique_ptr<File> dest = Fs().Create(dir.Path("dest"));
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
            EXPECT_EQ(wrapped->largestWrite, buffer.size());
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
    EXPECT_EQ(ErrorCode([&] { Fs().Create(inMissingFolder); }), 3);

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
    if (!PermissionsBypassed()) {
        std::string text;
        EXPECT_EQ(ErrorCode([&] { Fs().Create(path); }, &text), 5);
        EXPECT_EQ(text, "Accès au fichier refusé");
    }
    Fs().SetAttributes(path, kAttrArchive);
    EXPECT_EQ(Fs().GetAttributes(path), kAttrArchive);
    Fs().Create(path)->Write(AsBytes(std::string("de")));
    EXPECT_EQ(test::ReadFileBytes(path), "de");
    if (PermissionsBypassed()) GTEST_SKIP() << "running as root: creating over a read-only file is not refused";
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
    Fs().Create(slice)->Write(AsBytes(std::string("12345")));
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
TEST(FileSystem, FullDiskIsDisquePlein) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    auto full = Fs().Create("/dev/full");
    std::string text;
    EXPECT_EQ(ErrorCode([&] { full->Write(AsBytes(std::string("x"))); }, &text), 101);
    EXPECT_EQ(text, "Disque plein");
}

TEST(FileSystem, ReservedRoomThatIsNotWrittenIsGivenBack) {
    TempDir dir;
    const std::string path = dir.Path("target.bin");
    auto file = Fs().Create(path);
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
