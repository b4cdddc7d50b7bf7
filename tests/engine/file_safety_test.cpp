// The file layer's guards: files compared by identity and by the platform's
// reading of a name, new files never made over or through an existing entry,
// entries replaced without following them, partial files gone on a second Ctrl+C.
#include "file_test_helpers.h"
#include "links.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sorv {
namespace {

using test::TempDir;

TEST(FileSafety, FilesAreTheSameByIdentityOrByFullPathNeverBySpelling) {
    TempDir dir;
    test::WriteFileBytes(dir.Path("a.bin"), "a");
    test::WriteFileBytes(dir.Path("b.bin"), "a");
    std::filesystem::create_hard_link(test::PathFromUtf8(dir.Path("a.bin")), test::PathFromUtf8(dir.Path("hard.bin")));
    const char sep = dir.folder().back();
    std::filesystem::create_directory(test::PathFromUtf8(dir.Path("sub")));

    EXPECT_TRUE(Fs().SameFile(dir.Path("a.bin"), dir.Path("hard.bin")));
    EXPECT_TRUE(Fs().SameFile(dir.Path("a.bin"), dir.Path("sub") + sep + ".." + sep + "a.bin"));
    EXPECT_FALSE(Fs().SameFile(dir.Path("a.bin"), dir.Path("b.bin")));
    // Names of files not yet there compare by the path the platform makes of them.
    EXPECT_TRUE(Fs().SameFile(dir.Path("new.bin"), dir.Path("sub") + sep + ".." + sep + "new.bin"));
    EXPECT_FALSE(Fs().SameFile(dir.Path("new.bin"), dir.Path("new2.bin")));
    EXPECT_EQ(Fs().IdentityOf(dir.Path("none")), std::nullopt);
    auto open = Fs().OpenRead(dir.Path("hard.bin"));
    EXPECT_EQ(open->Identity(), Fs().IdentityOf(dir.Path("a.bin")));

    EXPECT_EQ(Fs().KindOf(dir.Path("a.bin")), EntryKind::File);
    EXPECT_EQ(Fs().KindOf(dir.Path("sub")), EntryKind::Folder);
    EXPECT_EQ(Fs().KindOf(dir.Path("none")), EntryKind::None);
}

TEST(FileSafety, RenameReplacesOnlyWhenAsked) {
    TempDir dir;
    test::WriteFileBytes(dir.Path("from"), "new");
    test::WriteFileBytes(dir.Path("to"), "old");
    EXPECT_NE(ErrorCode([&] { Fs().Rename(dir.Path("from"), dir.Path("to"), false); }), 0);
    EXPECT_EQ(test::ReadFileBytes(dir.Path("to")), "old");
    EXPECT_EQ(test::ReadFileBytes(dir.Path("from")), "new");
    Fs().Rename(dir.Path("from"), dir.Path("to"), true);
    EXPECT_EQ(test::ReadFileBytes(dir.Path("to")), "new");
    EXPECT_FALSE(test::FileExists(dir.Path("from")));
    Fs().Rename(dir.Path("to"), dir.Path("moved"), false);
    EXPECT_EQ(test::ReadFileBytes(dir.Path("moved")), "new");
    // A failure names the file that is gone, or the new name when a folder
    // is missing or in the way (access refused names the file moved).
    const char sep = dir.folder().back();
    std::filesystem::create_directory(test::PathFromUtf8(dir.Path("folder")));
    const struct {
        std::string from, to, blamed;
    } failures[] = {{dir.Path("gone"), dir.Path("new"), dir.Path("gone")},
                    {dir.Path("moved"), dir.Path("none") + sep + "new", dir.Path("none") + sep + "new"},
                    {dir.Path("moved"), dir.Path("folder"), dir.Path("folder")}};
    for (const auto& f : failures)
        for (const bool replace : {false, true}) {
            try {
                Fs().Rename(f.from, f.to, replace);
                ADD_FAILURE() << f.from;
            } catch (const IoError& e) {
                EXPECT_EQ(e.path(), f.blamed);
            }
        }
#ifdef _WIN32
    // Held open by a program that does not share deletion: the file that cannot move is named.
    FILE* held = _wfopen(test::PathFromUtf8(dir.Path("moved")).c_str(), L"rb");
    ASSERT_NE(held, nullptr);
    try {
        Fs().Rename(dir.Path("moved"), dir.Path("new"), false);
        ADD_FAILURE() << "renamed while held";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), dir.Path("moved"));
    }
    // The same file as the one replaced: that one is named.
    test::WriteFileBytes(dir.Path("from"), "from");
    try {
        Fs().Rename(dir.Path("from"), dir.Path("moved"), true);
        ADD_FAILURE() << "replaced while held";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), dir.Path("moved"));
    }
    std::fclose(held);
    // Held, sharing everything, by another run: the one replaced is named.
    const HANDLE shared = CreateFileW(test::PathFromUtf8(dir.Path("moved")).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                      nullptr);
    ASSERT_NE(shared, INVALID_HANDLE_VALUE);
    try {
        Fs().Rename(dir.Path("from"), dir.Path("moved"), true);
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), dir.Path("moved"));  // where the system refuses at all
    }
    CloseHandle(shared);
#endif
}

// Removing an output takes its entry only while it is the file written:
// never another file that took its name, nor what a link points to (under
// Wine a Unix link looks like its target in every attribute).
TEST(FileSafety, RemovalTakesTheEntryNeverWhatALinkPointsTo) {
    TempDir dir, elsewhere;
    test::WriteFileBytes(elsewhere.Path("precious"), "precious");
    test::WriteFileBytes(dir.Path("mine"), "mine");
    if (!test::MakeSymlink(elsewhere.Path("precious"), dir.Path("link"))) GTEST_SKIP() << "no symbolic links here";
    const FileId precious = *Fs().IdentityOf(elsewhere.Path("precious"));
    const FileId mine = *Fs().IdentityOf(dir.Path("mine"));
    EXPECT_EQ(Fs().RemoveExactly(dir.Path("link"), precious), Removal::Replaced);
    EXPECT_EQ(Fs().RemoveExactly(dir.Path("mine"), precious), Removal::Replaced);
    EXPECT_EQ(Fs().RemoveExactly(dir.Path("none"), mine), Removal::Missing);
    EXPECT_EQ(Fs().RemoveExactly(dir.Path("mine"), mine), Removal::Removed);
    EXPECT_FALSE(test::FileExists(dir.Path("mine")));
#ifdef _WIN32
    // What it is cannot be shown: refused, never moving what it leads to.
    EXPECT_THROW(Fs().Rename(dir.Path("link"), dir.Path("moved"), false), std::runtime_error);
    EXPECT_FALSE(Fs().Delete(dir.Path("link")));
    test::RemoveSymlink(dir.Path("link"));
#else
    Fs().Rename(dir.Path("link"), dir.Path("moved"), false);  // the link itself
    EXPECT_TRUE(Fs().Delete(dir.Path("moved")));
#endif
    EXPECT_EQ(test::ReadFileBytes(elsewhere.Path("precious")), "precious");
}

// A path longer than MAX_PATH: its files are made, found, renamed and
// removed like any other (Windows wants such paths whole and marked).
TEST(FileSafety, PathsPastMaxPathWorkLikeAnyOther) {
    TempDir top;
    const char sep = top.folder().back();
    const std::string folder = top.Path(std::string(130, 'd')) + sep + std::string(130, 'e') + sep;
    std::filesystem::create_directories(test::PathFromUtf8(folder));
    auto file = Fs().CreateNew(folder + "a.d");
    const std::string bytes = "bytes";
    file->Write(std::as_bytes(std::span(bytes)));
    const FileId id = file->Identity();
    file->Close();
    EXPECT_TRUE(Fs().Exists(folder + "a.d"));
    EXPECT_EQ(Fs().SizeOf(folder + "a.d"), 5);
    EXPECT_EQ(Fs().IdentityOf(folder + "a.d"), id);
    Fs().Rename(folder + "a.d", folder + "b.d", false);
    EXPECT_EQ(Fs().RemoveExactly(folder + "b.d", id), Removal::Removed);
    Fs().CreateNew(folder + "c.d")->Close();
    EXPECT_TRUE(Fs().Delete(folder + "c.d"));
    EXPECT_FALSE(Fs().Exists(folder + "c.d"));
    EXPECT_FALSE(Fs().Exists(folder + "b.d"));
}

// The lock that tells a live run from a dead one: one holder at a time,
// released with its handle, and no obstacle to reading the file.
TEST(FileSafety, OneLockHolderAtATime) {
    TempDir dir;
    test::WriteFileBytes(dir.Path("partial"), "partial");
    auto first = Fs().OpenRead(dir.Path("partial"));
    auto second = Fs().OpenRead(dir.Path("partial"));
    EXPECT_TRUE(first->TryLock());
    EXPECT_FALSE(second->TryLock());
    EXPECT_EQ(test::ReadFileBytes(dir.Path("partial")), "partial");
    first.reset();
    EXPECT_TRUE(second->TryLock());

    // A writer hands its lock over as it closes; others may then open the file as they like.
    auto writer = Fs().CreateNew(dir.Path("written"));
    ASSERT_TRUE(writer->TryLock());
    auto kept = writer->CloseKeepingLock();
    ASSERT_NE(kept, nullptr);
    EXPECT_FALSE(Fs().OpenRead(dir.Path("written"))->TryLock());
#ifdef _WIN32
    const HANDLE denyingWrites = CreateFileW(test::PathFromUtf8(dir.Path("written")).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(denyingWrites, INVALID_HANDLE_VALUE);
    CloseHandle(denyingWrites);
#endif
    kept.reset();
    EXPECT_TRUE(Fs().OpenRead(dir.Path("written"))->TryLock());
}

#ifndef _WIN32
// The Windows build under Wine holds a POSIX lock on the byte at 2^62: a
// native run sees it, whether it reads the file or writes it.
TEST(FileSafety, ALockTakenByTheWindowsBuildUnderWineIsSeen) {
    TempDir dir;
    test::WriteFileBytes(dir.Path("partial"), "partial");
    const int wine = ::open(dir.Path("partial").c_str(), O_RDWR);
    struct flock token {};
    token.l_type = F_WRLCK;
    token.l_start = off_t{1} << 62;
    token.l_len = 1;
    ASSERT_EQ(::fcntl(wine, F_OFD_SETLK, &token), 0);
    EXPECT_FALSE(Fs().OpenRead(dir.Path("partial"))->TryLock());
    EXPECT_FALSE(Fs().OpenRead(dir.Path("partial"))->TryLock());  // the failed attempt kept nothing
    ::close(wine);
    auto native = Fs().CreateNew(dir.Path("held"));
    ASSERT_TRUE(native->TryLock());
    const int other = ::open(dir.Path("held").c_str(), O_RDWR);
    EXPECT_EQ(::fcntl(other, F_OFD_SETLK, &token), -1);  // what Wine would try
    ::close(other);
}
#endif

#ifdef _WIN32
// What Windows reads "a.d." and "É" as: the same files as "a.d" and "é".
TEST(FileSafety, WindowsTrimsAndFoldsNamesSoTheyAreComparedAsItReadsThem) {
    TempDir dir;
    test::WriteFileBytes(dir.Path("a.d"), "script");
    test::WriteFileBytes(dir.Path("\xC3\xA9.\xC2\xB0" "02"), "slice");
    EXPECT_TRUE(Fs().SameFile(dir.Path("a.d."), dir.Path("a.d")));
    EXPECT_TRUE(Fs().SameFile(dir.Path("a.d ."), dir.Path("a.d")));
    EXPECT_TRUE(Fs().SameFile(dir.Path("A.D"), dir.Path("a.d")));
    EXPECT_TRUE(Fs().SameFile(dir.Path("\xC3\x89.\xC2\xB0" "02"), dir.Path("\xC3\xA9.\xC2\xB0" "02")));
    EXPECT_TRUE(Fs().SameFile(dir.Path("\xC3\x89.new"), dir.Path("\xC3\xA9.new")));  // neither exists yet

    // Names Windows would change, devices and forbidden characters are
    // refused before anything is done with them.
    for (const std::string name : {"a.d.", "a.d ", "nul", "COM1.txt", "x<y", "x?"}) {
        EXPECT_EQ(ErrorCode([&] { Fs().CheckNewName(dir.Path(name)); }), 3) << name;
    }
    EXPECT_EQ(ErrorCode([&] { Fs().CreateNew(dir.Path("a.d.")); }), 3);
    EXPECT_EQ(ErrorCode([&] { Fs().OpenRead(dir.Path("a.d.")); }), 3);
    EXPECT_FALSE(Fs().Delete(dir.Path("a.d.")));
    EXPECT_EQ(test::ReadFileBytes(dir.Path("a.d")), "script");
    EXPECT_EQ(ErrorCode([&] { Fs().CheckNewName(dir.Path(std::string(255, 'n'))); }), 0);
    EXPECT_EQ(ErrorCode([&] { Fs().CheckNewName(dir.Path(std::string(256, 'n'))); }), kNameTooLong);
}
#else
TEST(FileSafety, LinksAreNeverFollowedWhenWritingAndFifosNeverOpened) {
    TempDir dir;
    test::WriteFileBytes(dir.Path("target"), "precious");
    ASSERT_EQ(::symlink(dir.Path("target").c_str(), dir.Path("link").c_str()), 0);
    ASSERT_EQ(::symlink(dir.Path("elsewhere").c_str(), dir.Path("dangling").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);

    for (const char* name : {"link", "dangling", "fifo"}) {
        EXPECT_EQ(Fs().KindOf(dir.Path(name)), EntryKind::Other) << name;
        EXPECT_EQ(ErrorCode([&] { Fs().CreateNew(dir.Path(name)); }), 80) << name;
    }
    EXPECT_FALSE(test::FileExists(dir.Path("elsewhere")));
    // A FIFO is refused at once rather than waited on; a link is read through.
    EXPECT_EQ(ErrorCode([&] { Fs().OpenRead(dir.Path("fifo")); }), 5);
    EXPECT_TRUE(Fs().SameFile(dir.Path("link"), dir.Path("target")));

    // Replacing or deleting a link changes the link, not its target.
    test::WriteFileBytes(dir.Path("new"), "new");
    Fs().Rename(dir.Path("new"), dir.Path("link"), true);
    EXPECT_EQ(test::ReadFileBytes(dir.Path("link")), "new");
    EXPECT_TRUE(Fs().Delete(dir.Path("dangling")));
    test::WriteFileBytes(dir.Path("new"), "new");
    Fs().Rename(dir.Path("new"), dir.Path("fifo"), true);
    EXPECT_EQ(Fs().KindOf(dir.Path("fifo")), EntryKind::File);
    EXPECT_EQ(test::ReadFileBytes(dir.Path("target")), "precious");
}

TEST(FileSafety, NamesTooLongForTheFolderAreRefusedBeforehand) {
    TempDir dir;
    EXPECT_EQ(ErrorCode([&] { Fs().CheckNewName(dir.Path(std::string(255, 'n'))); }), 0);
    for (const auto& [name, code] : std::vector<std::pair<std::string, int>>{
             {std::string(256, 'n'), kNameTooLong}, {".", 3}, {"..", 3}})
        EXPECT_EQ(ErrorCode([&] { Fs().CheckNewName(dir.Path(name)); }), code) << name.size();
}
#endif

}  // namespace
}  // namespace sorv
