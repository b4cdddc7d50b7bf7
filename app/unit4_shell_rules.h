#pragma once
// The two shell registrations the options dialog switches: the "Utiliser
// Sorv" verb in the context menu of every file, and the ".d" script-file type
// opened by this program. Each is a few default values under the classes
// root. A standard user on today's Windows may not create keys there; the
// same keys then go under the user's own "Software\Classes", which the shell
// merges into that user's view of the classes root.
#include <string>
#include <vector>

#include "registry.h"

namespace sorv {

// Where the classes keys of the current user live (root kRootCurrentUser).
inline constexpr char kUserClassesKey[] = "Software\\Classes\\";

// One default (unnamed) value to write.
struct DefaultValue {
    std::string keyPath;
    std::string text;
};

struct ShellRegistration {
    // Key whose default value tells whether the registration is there.
    std::string probeKey;
    // Written in this order when the registration is asked for.
    std::vector<DefaultValue> values;
    // Erased, whole trees, when it is not.
    std::vector<std::string> ownedKeys;
};

// The executable and the file, each in quotes: "C:\OUTILS\sorv.exe" "%1".
// Unquoted, a path with blanks would reach the program as several arguments,
// of which it takes the last: a file name relative to some other folder.
std::string ShellCommandLine(const std::string& executablePath);

// "*\shell\Sorv" = "Utiliser Sorv", "*\shell\Sorv\command" = command line.
ShellRegistration ContextMenuRegistration(const std::string& commandLine);
// ".d" = "Sorv", "sorv\shell\open\command" = command line.
ShellRegistration ScriptTypeRegistration(const std::string& commandLine);

// Whether the registration's probe key has a default value under the
// classes root.
bool IsRegistered(RegistryStore& store, const ShellRegistration& registration);

// Writes the values under the classes root. When the store refuses one of
// them there (a RegistryError), the whole registration is written again
// under the user's classes; an error there goes to the caller. Values
// written before a failure stay.
void Register(RegistryStore& store, const ShellRegistration& registration);

// Erases the owned keys under the classes root and under the user's
// classes. Reports nothing.
void Unregister(RegistryStore& store, const ShellRegistration& registration);

// Registers when `wanted`, unregisters otherwise.
void ApplyRegistration(RegistryStore& store, const ShellRegistration& registration, bool wanted);

}  // namespace sorv
