// The settings store: where the three values live and when start-up records
// the install folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry_memory.h"
#include "settings.h"

namespace sorv {
namespace {

TEST(Settings, LiveUnderTheCurrentUsersSorvKey) {
    MemoryRegistry registry;
    EXPECT_EQ(ReadSetting("Dragdrop", registry), "None");
    WriteSetting("Dragdrop", "Ok", registry);
    WriteSetting("Position", "Bas", registry);
    EXPECT_EQ(registry.ReadString(kRootCurrentUser, "SOFTWARE\\TQ\\sorv", "Dragdrop"), "Ok");
    EXPECT_EQ(registry.ReadString(kRootLocalMachine, "SOFTWARE\\TQ\\sorv", "Dragdrop"), "None");
    EXPECT_EQ(ReadSetting("Position", registry), "Bas");
    EXPECT_EQ(ReadSetting("Chemin", registry), "None");
}

TEST(Settings, InstallFolderRecordedOnlyBesideTheExecutable) {
    MemoryRegistry registry;
    std::vector<std::string> asked;
    auto existsIn = [&asked](std::string present) {
        return [&asked, present](const std::string& path) {
            asked.push_back(path);
            return path == present;
        };
    };

    EXPECT_FALSE(RecordInstallFolder("C:\\Ailleurs", existsIn("C:\\OUTILS\\sorv.exe"), registry));
    EXPECT_EQ(ReadSetting("Chemin", registry), "None");

    EXPECT_TRUE(RecordInstallFolder("C:\\OUTILS", existsIn("C:\\OUTILS\\sorv.exe"), registry));
    EXPECT_EQ(ReadSetting("Chemin", registry), "C:\\OUTILS\\");

    // A later start from elsewhere keeps the folder of the earlier one.
    EXPECT_FALSE(RecordInstallFolder("D:\\Données", existsIn("C:\\OUTILS\\sorv.exe"), registry));
    EXPECT_EQ(ReadSetting("Chemin", registry), "C:\\OUTILS\\");

    // A drive root keeps its one backslash.
    EXPECT_TRUE(RecordInstallFolder("E:\\", existsIn("E:\\sorv.exe"), registry));
    EXPECT_EQ(ReadSetting("Chemin", registry), "E:\\");
    EXPECT_EQ(asked, (std::vector<std::string>{"C:\\Ailleurs\\sorv.exe", "C:\\OUTILS\\sorv.exe",
                                                "D:\\Données\\sorv.exe", "E:\\sorv.exe"}));
}

}  // namespace
}  // namespace sorv
