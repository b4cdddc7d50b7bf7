#pragma once
// The settings store: string values of the current user's key
// "SOFTWARE\TQ\sorv", read from the registry each time they are needed.
// Kept per user so a standard account can write them.
#include <functional>
#include <string>

#include "registry.h"
#include "settings_rules.h"

namespace sorv {

inline constexpr int kSettingsRoot = kRootCurrentUser;
inline constexpr char kSettingsKey[] = "SOFTWARE\\TQ\\sorv";

// Value names.
inline constexpr char kInstallFolderSetting[] = "Chemin";
inline constexpr char kDockSetting[] = "Position";
inline constexpr char kDropSetting[] = "Dragdrop";
inline constexpr char kRecoverySetting[] = "Secours";

// kRegNone when absent.
std::string ReadSetting(const std::string& name, RegistryStore& store = SystemRegistry());
void WriteSetting(const std::string& name, const std::string& text, RegistryStore& store = SystemRegistry());

// Records the current directory as "Chemin" when "sorv.exe" lies in it;
// otherwise "Chemin" keeps what it had. Returns whether it wrote.
bool RecordInstallFolder(const std::string& currentDirectory,
                         const std::function<bool(const std::string&)>& fileExists,
                         RegistryStore& store = SystemRegistry());

}  // namespace sorv
