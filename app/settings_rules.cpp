#include "settings_rules.h"

namespace sorv {

std::string LastArgument(const std::vector<std::string>& args) {
    return args.empty() ? std::string() : args.back();
}

std::string InstallFolderFrom(const std::string& currentDirectory) {
    return currentDirectory.size() == 3 ? currentDirectory : currentDirectory + "\\";
}

std::optional<std::string> InstallFolderToRecord(const std::string& currentDirectory,
                                                 const std::function<bool(const std::string&)>& fileExists) {
    std::string folder = InstallFolderFrom(currentDirectory);
    if (!fileExists(folder + kExecutableName)) {
        return std::nullopt;
    }
    return folder;
}

bool StartsInBottomDock(const std::string& positionText) {
    return positionText == kDockBottom;
}

bool RecoverySlicesOn(const std::string& secoursText) { return secoursText == kSettingOn; }

bool DropEnabled(const std::string& dragdropText) {
    return dragdropText == kSettingOn;
}

std::string HelpFilePath(const std::string& cheminText, const std::string& programFolder,
                         const std::function<bool(const std::string&)>& fileExists) {
    if (cheminText != kRegNone) {
        std::string installed = cheminText + kHelpFileName;
        if (fileExists(installed)) return installed;
    }
    return programFolder + kHelpFileName;
}

std::string ExecutablePath(const std::string& cheminText) {
    return cheminText + kExecutableName;
}

}  // namespace sorv
