#include "unit4_shell_rules.h"

namespace sorv {
namespace {

void WriteValues(RegistryStore& store, int root, const std::string& prefix, const ShellRegistration& registration) {
    for (const auto& value : registration.values) {
        store.WriteString(root, prefix + value.keyPath, "", value.text);
    }
}

}  // namespace

std::string ShellCommandLine(const std::string& executablePath) {
    return "\"" + executablePath + "\" \"%1\"";
}

ShellRegistration ContextMenuRegistration(const std::string& commandLine) {
    return {
        "*\\shell\\Sorv\\command",
        {{"*\\shell\\Sorv", "Utiliser Sorv"}, {"*\\shell\\Sorv\\command", commandLine}},
        {"*\\shell\\Sorv"},
    };
}

ShellRegistration ScriptTypeRegistration(const std::string& commandLine) {
    // Only the extension key is probed: another program's ".d" shows as ours.
    return {
        ".d",
        {{".d", "Sorv"}, {"sorv\\shell\\open\\command", commandLine}},
        {".d", "sorv"},
    };
}

bool IsRegistered(RegistryStore& store, const ShellRegistration& registration) {
    return store.KeyHasDefault(kRootClasses, registration.probeKey);
}

void Register(RegistryStore& store, const ShellRegistration& registration) {
    try {
        WriteValues(store, kRootClasses, "", registration);
    } catch (const RegistryError&) {
        WriteValues(store, kRootCurrentUser, kUserClassesKey, registration);
    }
}

void Unregister(RegistryStore& store, const ShellRegistration& registration) {
    for (const auto& key : registration.ownedKeys) {
        store.EraseKey(kRootClasses, key);
        store.EraseKey(kRootCurrentUser, kUserClassesKey + key);
    }
}

void ApplyRegistration(RegistryStore& store, const ShellRegistration& registration, bool wanted) {
    if (wanted) {
        Register(store, registration);
    } else {
        Unregister(store, registration);
    }
}

}  // namespace sorv
