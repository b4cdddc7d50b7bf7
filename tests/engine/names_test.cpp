#include "names.h"

#include <optional>
#include <tuple>

#include <gtest/gtest.h>

namespace sorv {
namespace {

const std::string deg(kDegree);

TEST(NameRules, FolderExtensionAndBaseNameOnWindowsPaths) {
    EXPECT_EQ(FolderOf("C:\\DATA\\ARCHIVE.ZIP", kWindowsPaths), "C:\\DATA\\");
    EXPECT_EQ(FolderOf("C:ARCHIVE.ZIP", kWindowsPaths), "C:");
    EXPECT_EQ(FolderOf("ARCHIVE.ZIP", kWindowsPaths), "");
    EXPECT_EQ(FolderOf("D:/in/x.d", kWindowsPaths), "D:/in/");
    EXPECT_EQ(ExtensionOf("C:\\DATA\\ARCHIVE.ZIP", kWindowsPaths), ".ZIP");
    EXPECT_EQ(ExtensionOf("C:\\DA.TA\\README", kWindowsPaths), "");
    EXPECT_EQ(BaseNameOf("C:\\DATA\\archive.zip", kWindowsPaths), "archive");
    EXPECT_EQ(BaseNameOf("backup.tar.gz", kWindowsPaths), "backup.tar");
    EXPECT_EQ(BaseNameOf("C:\\x.y\\README", kWindowsPaths), "README");
    EXPECT_EQ(BaseNameOf(".profile", kWindowsPaths), "");
    EXPECT_EQ(NamePartOf("C:\\DATA\\ARCHIVE.ZIP", kWindowsPaths), "ARCHIVE.ZIP");
}

TEST(NameRules, PosixPathsEndFoldersAtSlashOnly) {
    EXPECT_EQ(FolderOf("/tmp/a\\b.zip", kPosixPaths), "/tmp/");
    EXPECT_EQ(NamePartOf("/tmp/a\\b.zip", kPosixPaths), "a\\b.zip");
    EXPECT_EQ(ExtensionOf("/tmp/dir.x/file", kPosixPaths), "");
    EXPECT_EQ(BaseNameOf("/tmp/archive.zip", kPosixPaths), "archive");
}

TEST(NameRules, SliceNumbersHaveAtLeastTwoDigits) {
    EXPECT_EQ(SliceFileName("C:\\DATA\\ARCHIVE.ZIP", 1, kWindowsPaths), "C:\\DATA\\ARCHIVE." + deg + "01");
    EXPECT_EQ(SliceFileName("C:\\DATA\\ARCHIVE.ZIP", 12, kWindowsPaths), "C:\\DATA\\ARCHIVE." + deg + "12");
    EXPECT_EQ(SliceFileName("a.bin", 9, kWindowsPaths), "a." + deg + "09");
    EXPECT_EQ(SliceFileName("a.bin", 10, kWindowsPaths), "a." + deg + "10");
    EXPECT_EQ(SliceFileName("a.bin", 100, kWindowsPaths), "a." + deg + "100");
    EXPECT_EQ(SliceFileName("README", 1, kWindowsPaths), "README." + deg + "01");
    EXPECT_EQ(SliceFileName("backup.tar.gz", 3, kWindowsPaths), "backup.tar." + deg + "03");
    EXPECT_EQ(SliceFileName("/x/a.b", 5000000000LL, kPosixPaths), "/x/a." + deg + "5000000000");
}

TEST(NameRules, ScriptNamesAndDispatch) {
    EXPECT_EQ(ScriptFileName("C:\\DATA\\ARCHIVE.ZIP", kWindowsPaths), "C:\\DATA\\ARCHIVE.d");
    EXPECT_EQ(ScriptFileName("README", kWindowsPaths), "README.d");
    EXPECT_EQ(ScriptFileName("data.zip", kWindowsPaths), ScriptFileName("data.arj", kWindowsPaths));
    EXPECT_TRUE(IsScriptExtension(".d"));
    EXPECT_TRUE(IsScriptExtension(".D"));
    EXPECT_FALSE(IsScriptExtension(".dat"));
    EXPECT_FALSE(IsScriptExtension(""));
    EXPECT_FALSE(IsScriptExtension(".d "));
}

TEST(NameRules, PartialFilesSitBesideTheSlicesUnderNoSliceNumber) {
    const std::string r = "." + std::string(kDegree) + "r", rs = r + "s";
    const std::tuple<std::string, bool, std::optional<std::int64_t>> numbers[] = {
        {r + "02", false, 2}, {".\xC2\xB0R117", false, 117}, {rs + "01", true, 1}, {rs + "01", false, std::nullopt},
        {r + "02", true, std::nullopt}, {r, false, std::nullopt}, {r + "2x", false, std::nullopt},
        {".r02", false, std::nullopt}};
    for (const auto& [extension, recovery, number] : numbers)
        EXPECT_EQ(RepairPartialNumber(extension, recovery), number) << extension << recovery;
    EXPECT_EQ(PartialScriptName("C:\\DATA\\ARCHIVE.ZIP", kWindowsPaths), "C:\\DATA\\ARCHIVE.\xC2\xB0" "d");
    EXPECT_EQ(PartialJoinName("/in/ARCHIVE.d", kPosixPaths), "/in/ARCHIVE.\xC2\xB0" "00");
}

}  // namespace
}  // namespace sorv
