#include "settings.h"

namespace sorv {

std::string ReadSetting(const std::string& name, RegistryStore& store) {
    return store.ReadString(kSettingsRoot, kSettingsKey, name);
}

void WriteSetting(const std::string& name, const std::string& text, RegistryStore& store) {
    store.WriteString(kSettingsRoot, kSettingsKey, name, text);
}

bool RecordInstallFolder(const std::string& currentDirectory,
                         const std::function<bool(const std::string&)>& fileExists, RegistryStore& store) {
    const auto folder = InstallFolderToRecord(currentDirectory, fileExists);
    if (!folder) {
        return false;
    }
    WriteSetting(kInstallFolderSetting, *folder, store);
    return true;
}

}  // namespace sorv
