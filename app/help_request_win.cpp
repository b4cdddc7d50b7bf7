#include "help_request_win.h"

#include "application.h"
#include "file_system.h"
#include "guard.h"
#include "settings.h"
#include "utf16.h"

namespace sorv {
namespace {

void UseProgramHelpFile(RegistryStore& store) { tk::App().HelpFile = ProgramHelpFile(store); }

std::string ExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return Narrow(path.substr(0, path.find_last_of(L'\\') + 1));
}

}  // namespace

std::string ProgramHelpFile(RegistryStore& store) {
    return HelpFilePath(ReadSetting(kInstallFolderSetting, store), ExecutableFolder(),
                        [](const std::string& path) { return NativeFileSystem().Exists(path); });
}

void RouteHelpTo(HelpViewer& viewer) {
    // F1 reaches here from the message loop, outside any window procedure.
    tk::App().OnHelp = [&viewer](const tk::HelpRequest& request) {
        tk::Guard([&] { viewer.Open(request); });
    };
}

HelpViewer& ProgramHelpViewer() {
    static HelpViewer viewer;
    return viewer;
}

void ShowHelpContents(RegistryStore& store) {
    UseProgramHelpFile(store);
    tk::App().HelpCommand(HELP_CONTENTS, 0);
}

void ShowHelpSearch(RegistryStore& store) {
    UseProgramHelpFile(store);
    tk::App().HelpCommand(HELP_FINDER, 0);
}

void ShowWhatsNew(RegistryStore& store) {
    UseProgramHelpFile(store);
    tk::App().HelpKeyword(HELP_PARTIALKEY, kWhatsNewKeyword);
}

}  // namespace sorv
