#include "sorv_windows_win.h"

#include "application.h"
#include "help_request_win.h"
#include "settings.h"

namespace sorv {

void SetUpApplication(HICON icon) {
    tk::Application& app = tk::App();
    app.SetTitle(kApplicationTitle);
    app.HelpFile = "sorv.hlp";
    app.SetIcon(icon);
    RouteHelpTo(ProgramHelpViewer());
}

}  // namespace sorv
