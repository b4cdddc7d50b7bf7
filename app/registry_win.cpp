#include "registry_win.h"

#include <limits>

#include "handles.h"
#include "utf16.h"

namespace sorv {
namespace {

// An open registry key, closed when it goes out of scope.
using Key = tk::UniqueHandle<HKEY, RegCloseKey>;

// Reading needs read rights only, so a user who may not write a key (the
// local machine's, the classes root) still reads it.
bool OpenForReading(int root, const std::string& keyPath, Key& key) {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(RootKey(root), Widen(keyPath).c_str(), 0, KEY_READ, &opened);
    key.reset(opened);
    return status == ERROR_SUCCESS;
}

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

}  // namespace

HKEY RootKey(int root) {
    switch (root) {
        case kRootClasses: return HKEY_CLASSES_ROOT;
        case kRootCurrentUser: return HKEY_CURRENT_USER;
        case kRootLocalMachine: return HKEY_LOCAL_MACHINE;
        case kRootUsers: return HKEY_USERS;
        case kRootCurrentConfig: return HKEY_CURRENT_CONFIG;
        case kRootDynData: return HKEY_DYN_DATA;
        default: return HKEY_CURRENT_USER;
    }
}

std::string Win32RegistryStore::ReadString(int root, const std::string& keyPath, const std::string& valueName) {
    Key key;
    if (!OpenForReading(root, keyPath, key)) {
        return kRegNone;
    }
    const std::wstring name = Widen(valueName);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return kRegNone;
    }
    std::wstring text;
    for (;;) {
        if (!IsStringType(type)) {
            throw WrongTypeError(valueName);
        }
        // One spare character: the stored data may lack its NUL or have an
        // odd byte count.
        text.assign(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got);
        if (status == ERROR_MORE_DATA) {  // grew since it was measured
            size = got;
            continue;
        }
        if (status != ERROR_SUCCESS) {  // deleted since it was measured
            return kRegNone;
        }
        if (!IsStringType(type)) {
            throw WrongTypeError(valueName);
        }
        text.resize(got / sizeof(wchar_t));
        break;
    }
    if (const auto nul = text.find(L'\0'); nul != std::wstring::npos) {
        text.resize(nul);
    }
    return Narrow(text);
}

void Win32RegistryStore::WriteString(int root, const std::string& keyPath, const std::string& valueName,
                                     const std::string& text) {
    HKEY created = nullptr;
    // Write rights are all that setting a value needs; asking for every
    // right would fail on keys where the user lacks, say, WRITE_DAC.
    const LSTATUS status = RegCreateKeyExW(RootKey(root), Widen(keyPath).c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &created, nullptr);
    const Key key(created);
    if (status != ERROR_SUCCESS) {
        throw KeyCreateError(keyPath);
    }
    const std::wstring data = Widen(text);
    if (data.size() >= std::numeric_limits<DWORD>::max() / sizeof(wchar_t)) {
        throw SetValueError(valueName);
    }
    const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));  // with its NUL
    if (RegSetValueExW(key.get(), Widen(valueName).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       bytes) != ERROR_SUCCESS) {
        throw SetValueError(valueName);
    }
}

bool Win32RegistryStore::KeyHasDefault(int root, const std::string& keyPath) {
    Key key;
    return OpenForReading(root, keyPath, key) &&
           RegQueryValueExW(key.get(), L"", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void Win32RegistryStore::EraseKey(int root, const std::string& keyPath) {
    // An empty path names the root itself: erasing "everything below it"
    // would wipe the whole hive.
    if (keyPath.find_first_not_of('\\') == std::string::npos) {
        return;
    }
    // Depth first, the key itself last; failures are passed over.
    RegDeleteTreeW(RootKey(root), Widen(keyPath).c_str());
}

}  // namespace sorv
