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
    EXPECT_EQ(ExecutablePath("C:\\OUTILS\\"), "C:\\OUTILS\\sorv.exe");
}

// The install folder's help file when it is there, else the program's own;
// never a name made of "None".
TEST(SettingsRules, HelpFileIsTheInstallFoldersWhenThereElseTheProgramsOwn) {
    const auto only = [](const std::string& existing) {
        return [existing](const std::string& path) { return path == existing; };
    };
    const struct {
        const char* chemin;
        const char* existing;
        const char* expected;
    } cases[] = {
        {"C:\\OUTILS\\", "C:\\OUTILS\\sorv.hlp", "C:\\OUTILS\\sorv.hlp"},
        {"C:\\OUTILS\\", "D:\\Prog\\sorv.hlp", "D:\\Prog\\sorv.hlp"},  // moved away
        {"None", "Nonesorv.hlp", "D:\\Prog\\sorv.hlp"},                    // nothing stored
        {"C:\\OUTILS\\", "", "D:\\Prog\\sorv.hlp"},                      // found nowhere
    };
    for (const auto& c : cases)
        EXPECT_EQ(HelpFilePath(c.chemin, "D:\\Prog\\", only(c.existing)), c.expected) << c.chemin << " " << c.existing;
}

}  // namespace
}  // namespace sorv
