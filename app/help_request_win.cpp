#include "help_request_win.h"

#include "application.h"
#include "guard.h"
#include "settings.h"

namespace sorv {
namespace {

void UseInstallFolderForHelp(RegistryStore& store) {
    tk::App().HelpFile = HelpFilePath(ReadSetting(kInstallFolderSetting, store));
}

}  // namespace

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
    UseInstallFolderForHelp(store);
    tk::App().HelpCommand(HELP_CONTENTS, 0);
}

void ShowHelpSearch(RegistryStore& store) {
    UseInstallFolderForHelp(store);
    tk::App().HelpCommand(HELP_FINDER, 0);
}

void ShowWhatsNew(RegistryStore& store) {
    UseInstallFolderForHelp(store);
    tk::App().HelpKeyword(HELP_PARTIALKEY, kWhatsNewKeyword);
}

}  // namespace sorv
