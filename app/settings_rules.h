#pragma once
// The start-up decisions that need neither a window nor the registry: what
// the command line, the current directory and the stored settings texts mean.
// Stored texts are compared exactly, case included.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "registry.h"

namespace sorv {

inline constexpr char kExecutableName[] = "sorv.exe";
inline constexpr char kHelpFileName[] = "sorv.hlp";
inline constexpr char kDockTop[] = "Haut";
inline constexpr char kDockBottom[] = "Bas";
// The two texts of a setting that is on or off ("Dragdrop", "Secours").
inline constexpr char kSettingOn[] = "Ok";
inline constexpr char kSettingOff[] = "No";

// The start-up file: the last argument (after the program's own name), ""
// when there is none.
std::string LastArgument(const std::vector<std::string>& args);

// The current directory as a folder ending in a backslash. A drive root
// ("C:\") already has one.
std::string InstallFolderFrom(const std::string& currentDirectory);

// The folder to record as "Chemin": the current directory's folder when
// "sorv.exe" lies in it, nothing otherwise.
std::optional<std::string> InstallFolderToRecord(const std::string& currentDirectory,
                                                 const std::function<bool(const std::string&)>& fileExists);

// "Position": only "Bas" means the bottom dock.
bool StartsInBottomDock(const std::string& positionText);

// "Dragdrop": only "Ok" means on.
bool DropEnabled(const std::string& dragdropText);

// "Secours": only "Ok" means that each split also writes recovery slices,
// kRecoveryPercent of its slice count (at least one).
bool RecoverySlicesOn(const std::string& secoursText);
inline constexpr int kRecoveryPercent = 5;

// The executable under the install folder read from "Chemin", used as read:
// with no folder stored ("None") it names no existing file.
std::string ExecutablePath(const std::string& cheminText);

// The help file: "sorv.hlp" in the install folder read from "Chemin" when a
// folder is stored and the file is there, else the one in `programFolder`
// (the running executable's, ending in a backslash).
std::string HelpFilePath(const std::string& cheminText, const std::string& programFolder,
                         const std::function<bool(const std::string&)>& fileExists);

}  // namespace sorv
