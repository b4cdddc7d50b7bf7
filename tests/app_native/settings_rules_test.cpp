// What the command line, the current directory and the stored settings texts
// mean at start-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings_rules.h"

namespace sorv {
namespace {

TEST(SettingsRules, StartupFileIsTheLastArgument) {
    EXPECT_EQ(LastArgument({}), "");
    EXPECT_EQ(LastArgument({"C:\\a.zip"}), "C:\\a.zip");
    EXPECT_EQ(LastArgument({"un", "deux", "C:\\trois.d"}), "C:\\trois.d");
    EXPECT_EQ(LastArgument({"C:\\a.zip", ""}), "");
}

TEST(SettingsRules, InstallFolderEndsInOneBackslash) {
    EXPECT_EQ(InstallFolderFrom("C:\\"), "C:\\");
    EXPECT_EQ(InstallFolderFrom("C:\\OUTILS"), "C:\\OUTILS\\");
    EXPECT_EQ(InstallFolderFrom("\\\\serveur\\partage"), "\\\\serveur\\partage\\");

    auto onlyAtRoot = [](const std::string& path) { return path == "C:\\sorv.exe"; };
    EXPECT_EQ(InstallFolderToRecord("C:\\", onlyAtRoot), "C:\\");
    EXPECT_EQ(InstallFolderToRecord("C:\\OUTILS", onlyAtRoot), std::nullopt);
}

TEST(SettingsRules, StoredFlagsMatchExactly) {
    EXPECT_TRUE(StartsInBottomDock("Bas"));
    for (const char* other : {"bas", "BAS", "Bas ", "Haut", "None", ""}) {
        EXPECT_FALSE(StartsInBottomDock(other)) << other;
    }
    EXPECT_TRUE(DropEnabled("Ok"));
    EXPECT_TRUE(RecoverySlicesOn("Ok"));
    for (const char* other : {"ok", "OK", "Ok ", "No", "None", ""}) {
        EXPECT_FALSE(DropEnabled(other)) << other;
        EXPECT_FALSE(RecoverySlicesOn(other)) << other;
    }
}

TEST(SettingsRules, PathsUnderTheStoredFolder) {
    EXPECT_EQ(HelpFilePath("C:\\OUTILS\\"), "C:\\OUTILS\\sorv.hlp");
    EXPECT_EQ(ExecutablePath("C:\\OUTILS\\"), "C:\\OUTILS\\sorv.exe");
    // Nothing stored: the path names no file, and that is what callers get.
    EXPECT_EQ(HelpFilePath("None"), "Nonesorv.hlp");
}

}  // namespace
}  // namespace sorv
