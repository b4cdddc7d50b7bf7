// The shell registrations the options dialog writes: the command line the
// shell runs, and where each registration goes when the classes root refuses
// it.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

#include "unit4_shell_rules.h"

namespace sorv {
namespace {

TEST(ShellRules, CommandLineQuotesTheProgramAndTheFile) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\OUTILS\\sorv.exe", "\"C:\\OUTILS\\sorv.exe\" \"%1\""},
        {"C:\\Program Files\\Sorv 1.5\\sorv.exe", "\"C:\\Program Files\\Sorv 1.5\\sorv.exe\" \"%1\""},
        {"D:\\Données\\sorv.exe", "\"D:\\Données\\sorv.exe\" \"%1\""},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(ShellCommandLine(path), expected) << path;
}

// Default values by root and key; the classes root can refuse every write.
class RecordingStore final : public RegistryStore {
public:
    bool refuseClasses = false;
    std::map<std::pair<int, std::string>, std::string> defaults;
    std::set<std::pair<int, std::string>> erased;

    std::string ReadString(int, const std::string&, const std::string&) override { return kRegNone; }
    void WriteString(int root, const std::string& key, const std::string& name, const std::string& text) override {
        if (refuseClasses && root == kRootClasses) throw RegistryError("Erreur de création de la clé " + key);
        if (name.empty()) defaults[{root, key}] = text;
    }
    bool KeyHasDefault(int root, const std::string& key) override { return defaults.contains({root, key}); }
    void EraseKey(int root, const std::string& key) override { erased.insert({root, key}); }
};

TEST(ShellRules, RegistrationGoesUnderTheClassesRootOrElseTheUsersClasses) {
    const std::string command = ShellCommandLine("C:\\sorv.exe");
    for (const bool refused : {false, true}) {
        RecordingStore store;
        store.refuseClasses = refused;
        const int root = refused ? kRootCurrentUser : kRootClasses;
        const std::string prefix = refused ? "Software\\Classes\\" : "";
        ApplyRegistration(store, ContextMenuRegistration(command), true);
        ApplyRegistration(store, ScriptTypeRegistration(command), true);
        const std::map<std::pair<int, std::string>, std::string> expected = {
            {{root, prefix + "*\\shell\\Sorv"}, "Utiliser Sorv"},
            {{root, prefix + "*\\shell\\Sorv\\command"}, command},
            {{root, prefix + ".d"}, "Sorv"},
            {{root, prefix + "sorv\\shell\\open\\command"}, command},
        };
        EXPECT_EQ(store.defaults, expected) << refused;
        // Only what the classes root shows counts as registered.
        EXPECT_EQ(IsRegistered(store, ContextMenuRegistration(command)), !refused);
        EXPECT_EQ(IsRegistered(store, ScriptTypeRegistration(command)), !refused);
    }
}

TEST(ShellRules, UnregisteringErasesTheOwnedTreesUnderBothRoots) {
    RecordingStore store;
    ApplyRegistration(store, ContextMenuRegistration("x"), false);
    ApplyRegistration(store, ScriptTypeRegistration("x"), false);
    const std::set<std::pair<int, std::string>> expected = {
        {kRootClasses, "*\\shell\\Sorv"}, {kRootCurrentUser, "Software\\Classes\\*\\shell\\Sorv"},
        {kRootClasses, ".d"},             {kRootCurrentUser, "Software\\Classes\\.d"},
        {kRootClasses, "sorv"},           {kRootCurrentUser, "Software\\Classes\\sorv"},
    };
    EXPECT_EQ(store.erased, expected);
    EXPECT_TRUE(store.defaults.empty());
}

}  // namespace
}  // namespace sorv
