#pragma once
// The program's help. Every help request, the three items of the "&Aide"
// menu and F1 in any window alike, goes through the application's one help
// request (tk::Application::HelpCommand, HelpKeyword, HelpContext), which
// takes the active window's own help file, with that window as the owner of
// the help, or else the application's help file, owned by the main window.
// Here the request ends in the help viewer.
#include "help_viewer_win.h"
#include "registry.h"

namespace sorv {

inline constexpr char kWhatsNewKeyword[] = "Nouveaut\u00e9s";

// From now on the application's help requests open `viewer`, which must
// outlive that use. An error while opening it shows in the error box.
void RouteHelpTo(HelpViewer& viewer);
// The program's one help viewer; its window is made on the first request.
HelpViewer& ProgramHelpViewer();

// The help file the windows and the help items take: the install folder's
// ("Chemin") when it is there, else the one beside the running executable.
std::string ProgramHelpFile(RegistryStore& store = SystemRegistry());

// The three help items. Each first sets the application's help file to the
// install folder ("Chemin") followed by "sorv.hlp", then asks for:
// "&Rubriques d'aide": the contents (HELP_CONTENTS).
void ShowHelpContents(RegistryStore& store = SystemRegistry());
// "Recherche par &mot-clé": the search (HELP_FINDER).
void ShowHelpSearch(RegistryStore& store = SystemRegistry());
// "&Nouveautés": the keyword "Nouveautés" (HELP_PARTIALKEY).
void ShowWhatsNew(RegistryStore& store = SystemRegistry());

}  // namespace sorv
