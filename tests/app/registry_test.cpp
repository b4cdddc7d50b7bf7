// The registry operations, against the system registry (through Wine in the
// cross build) and against the memory registry that stands in for it in
// other tests: both must keep the same contracts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "registry.h"
#include "registry_memory.h"
#include "registry_win.h"
#include "utf16.h"

namespace sorv {
namespace {

// A key of its own per test process, erased at the end.
std::string TestKey() {
    return "SOFTWARE\\TQ\\sorv-test-" + std::to_string(GetCurrentProcessId());
}

void SetRaw(const std::string& keyPath, const std::string& valueName, DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(keyPath).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, Widen(valueName).c_str(), 0, type, static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

bool SystemKeyExists(HKEY root, const std::string& keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, Widen(keyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

struct SystemStore {
    Win32RegistryStore store;
    void SetNonString(const std::string& keyPath, const std::string& valueName) {
        const DWORD number = 7;
        SetRaw(keyPath, valueName, REG_DWORD, &number, sizeof number);
    }
    bool Exists(const std::string& keyPath) { return SystemKeyExists(HKEY_CURRENT_USER, keyPath); }
};

struct MemoryStore {
    MemoryRegistry store;
    void SetNonString(const std::string& keyPath, const std::string& valueName) {
        store.SetNonStringValue(kRootCurrentUser, keyPath, valueName);
    }
    bool Exists(const std::string& keyPath) { return store.KeyExists(kRootCurrentUser, keyPath); }
};

template <typename Store>
class RegistryContract : public ::testing::Test {
protected:
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key).c_str());
    }
    Store s;
    RegistryStore& store = s.store;
    const std::string key = TestKey();
};

using Stores = ::testing::Types<SystemStore, MemoryStore>;
TYPED_TEST_SUITE(RegistryContract, Stores);

TYPED_TEST(RegistryContract, AbsentKeyOrValueReadsNone) {
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, this->key, "Chemin"), "None");
    this->store.WriteString(kRootCurrentUser, this->key, "Position", "Bas");
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, this->key, "Chemin"), "None");
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, this->key, ""), "None");
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, this->key + "\\absent", "Position"), "None");
}

TYPED_TEST(RegistryContract, WritesCreateParentsAndReadBack) {
    const std::string deep = this->key + "\\sorv\\shell\\open\\command";
    this->store.WriteString(kRootCurrentUser, deep, "", "C:\\OUTILS\\sorv.exe %1");
    this->store.WriteString(kRootCurrentUser, this->key, "Chemin", "C:\\Données\\");
    this->store.WriteString(kRootCurrentUser, this->key, "Vide", "");
    EXPECT_TRUE(this->s.Exists(this->key + "\\sorv\\shell"));
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, deep, ""), "C:\\OUTILS\\sorv.exe %1");
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, this->key, "Chemin"), "C:\\Données\\");
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, this->key, "Vide"), "");

    this->store.WriteString(kRootCurrentUser, this->key, "Chemin", "D:\\");
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, this->key, "Chemin"), "D:\\");
}

TYPED_TEST(RegistryContract, NonStringValueIsAnError) {
    this->s.SetNonString(this->key, "Dragdrop");
    try {
        this->store.ReadString(kRootCurrentUser, this->key, "Dragdrop");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Type de données incorrect pour 'Dragdrop'");
    }
}

TYPED_TEST(RegistryContract, KeyHasDefaultOnlyWithADefaultValue) {
    const std::string ext = this->key + "\\.d";
    EXPECT_FALSE(this->store.KeyHasDefault(kRootCurrentUser, ext));
    this->store.WriteString(kRootCurrentUser, ext, "Content Type", "text/plain");
    EXPECT_FALSE(this->store.KeyHasDefault(kRootCurrentUser, ext));
    this->store.WriteString(kRootCurrentUser, ext, "", "Sorv");
    EXPECT_TRUE(this->store.KeyHasDefault(kRootCurrentUser, ext));
    this->store.WriteString(kRootCurrentUser, ext, "", "");  // empty, but present
    EXPECT_TRUE(this->store.KeyHasDefault(kRootCurrentUser, ext));
}

TYPED_TEST(RegistryContract, EraseRemovesTheWholeTreeAndNothingElse) {
    const std::string verb = this->key + "\\star\\shell\\Sorv";
    this->store.WriteString(kRootCurrentUser, verb, "", "Utiliser Sorv");
    this->store.WriteString(kRootCurrentUser, verb + "\\command", "", "C:\\sorv.exe %1");
    this->store.WriteString(kRootCurrentUser, verb + "\\command\\deeper", "x", "y");
    this->store.WriteString(kRootCurrentUser, verb + "Plus", "", "neighbour with a common prefix");
    this->store.WriteString(kRootCurrentUser, this->key + "\\star\\shell\\open", "", "kept");

    this->store.EraseKey(kRootCurrentUser, verb);
    EXPECT_FALSE(this->s.Exists(verb));
    EXPECT_FALSE(this->s.Exists(verb + "\\command"));
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, verb + "\\command", ""), "None");
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, verb + "Plus", ""), "neighbour with a common prefix");
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, this->key + "\\star\\shell\\open", ""), "kept");

    this->store.EraseKey(kRootCurrentUser, verb);  // absent now: passed over
    this->store.EraseKey(kRootCurrentUser, this->key + "\\never\\there");
    EXPECT_TRUE(this->s.Exists(this->key + "\\star\\shell"));
}

TYPED_TEST(RegistryContract, SelectorsOutsideTheTableMeanCurrentUser) {
    this->store.WriteString(kRootCurrentUser, this->key, "Position", "Bas");
    for (int other : {0, 7, -1, 1000}) {
        EXPECT_EQ(this->store.ReadString(other, this->key, "Position"), "Bas") << other;
    }
    this->store.WriteString(7, this->key, "Position", "Haut");
    EXPECT_EQ(this->store.ReadString(kRootCurrentUser, this->key, "Position"), "Haut");
    EXPECT_EQ(this->store.ReadString(kRootLocalMachine, this->key, "Position"), "None");
}

TEST(MemoryRegistry, RefusesWritesUnderARootAsTheSystemDoes) {
    MemoryRegistry memory;
    memory.RefuseKeysUnder(kRootClasses);
    try {
        memory.WriteString(kRootClasses, ".d", "", "Sorv");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Erreur de création de la clé .d");
    }
    EXPECT_FALSE(memory.KeyExists(kRootClasses, ".d"));
    memory.WriteString(kRootCurrentUser, "Software\\Classes\\.d", "", "Sorv");
    EXPECT_EQ(memory.ReadString(kRootCurrentUser, "software\\classes\\.D", ""), "Sorv");

    memory.RefuseValuesUnder(kRootLocalMachine);
    try {
        memory.WriteString(kRootLocalMachine, "SOFTWARE\\TQ\\sorv", "Chemin", "C:\\");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Erreur à définition des données pour 'Chemin'");
    }
}

// Details only the system registry has: stored bytes, other string types,
// data written by other programs, the predefined roots.
class SystemRegistryTest : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key).c_str()); }
    const std::string key = TestKey();
};

TEST_F(SystemRegistryTest, StoresRegSzWithItsNul) {
    WriteRegString(kRootCurrentUser, key, "Chemin", "C:\\Données\\");
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(k, L"Chemin", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(k);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, (Widen("C:\\Données\\").size() + 1) * sizeof(wchar_t));
}

TEST_F(SystemRegistryTest, ReadsOtherProgramsStrings) {
    const wchar_t expand[] = L"%SystemRoot%\\sorv.exe";
    SetRaw(key, "Expand", REG_EXPAND_SZ, expand, sizeof expand);
    const wchar_t embedded[] = L"avant\0après";
    SetRaw(key, "Embedded", REG_SZ, embedded, sizeof embedded);
    SetRaw(key, "Empty", REG_SZ, L"", 0);
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    SetRaw(key, "Unterminated", REG_SZ, unterminated, sizeof unterminated);
    SetRaw(key, "Odd", REG_SZ, L"xy", 3);  // one and a half characters
    const wchar_t multi[] = L"un\0deux\0";
    SetRaw(key, "Multi", REG_MULTI_SZ, multi, sizeof multi);

    EXPECT_EQ(ReadRegString(kRootCurrentUser, key, "Expand"), "%SystemRoot%\\sorv.exe");  // not expanded
    EXPECT_EQ(ReadRegString(kRootCurrentUser, key, "Embedded"), "avant");
    EXPECT_EQ(ReadRegString(kRootCurrentUser, key, "Empty"), "");
    EXPECT_EQ(ReadRegString(kRootCurrentUser, key, "Unterminated"), "abc");
    EXPECT_EQ(ReadRegString(kRootCurrentUser, key, "Odd"), "x");
    EXPECT_THROW(ReadRegString(kRootCurrentUser, key, "Multi"), RegistryError);
}

TEST_F(SystemRegistryTest, FreeFunctionsReachTheSystemRegistry) {
    WriteRegString(kRootCurrentUser, key + "\\.d", "", "Sorv");
    EXPECT_TRUE(SystemKeyExists(HKEY_CURRENT_USER, key + "\\.d"));
    EXPECT_TRUE(RegKeyHasDefault(kRootCurrentUser, key + "\\.d"));
    EXPECT_EQ(ReadRegString(0, key + "\\.d", ""), "Sorv");
    EraseRegKey(kRootCurrentUser, key + "\\.d");
    EXPECT_FALSE(SystemKeyExists(HKEY_CURRENT_USER, key + "\\.d"));
}

TEST_F(SystemRegistryTest, FailedWritesCarryTheirTexts) {
    // A key name longer than the registry allows cannot be created.
    const std::string tooLong = key + "\\" + std::string(300, 'k');
    try {
        WriteRegString(kRootCurrentUser, tooLong, "Chemin", "C:\\");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_EQ(std::string(e.what()), "Erreur de création de la clé " + tooLong);
    }
    const std::string longName(20000, 'v');
    try {
        WriteRegString(kRootCurrentUser, key, longName, "C:\\");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_EQ(std::string(e.what()), "Erreur à définition des données pour '" + longName + "'");
    }
}

TEST_F(SystemRegistryTest, ErasingAnEmptyPathLeavesTheRootAlone) {
    // Point the current user's root at the test key first, so that a wrong
    // erase could only hurt the test key.
    WriteRegString(kRootCurrentUser, key + "\\sandbox\\inner", "v", "kept");
    HKEY sandbox = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key + "\\sandbox").c_str(), 0, KEY_ALL_ACCESS, &sandbox),
              ERROR_SUCCESS);
    const LSTATUS overridden = RegOverridePredefKey(HKEY_CURRENT_USER, sandbox);
    RegCloseKey(sandbox);
    if (overridden != ERROR_SUCCESS || ReadRegString(kRootCurrentUser, "inner", "v") != "kept") {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        GTEST_SKIP() << "the current user's root cannot be redirected here";
    }
    EraseRegKey(kRootCurrentUser, "");
    EraseRegKey(kRootCurrentUser, "\\");
    const std::string after = ReadRegString(kRootCurrentUser, "inner", "v");
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    EXPECT_EQ(after, "kept");
}

}  // namespace
}  // namespace sorv
