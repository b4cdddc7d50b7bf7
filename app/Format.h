#pragma once
// The floppy formatter: opens the shell's own format dialog for a floppy
// drive, modal to its owner window. The program does no formatting itself;
// the user confirms or cancels in the shell's dialog.
#include <windows.h>

#include <functional>

#include "format_rules.h"

namespace sorv {

namespace tk {
class Window;
}

class TFormat {
public:
    // SHFormatDrive's signature: owner, drive, format identifier, options.
    using FormatDriveCall = std::function<DWORD(HWND owner, UINT drive, UINT formatId, UINT options)>;

    // An owner with a window owns the dialog; otherwise (null, or no window
    // yet) the application's hidden window does. The owner window and the
    // platform family are fixed here for the formatter's life.
    explicit TFormat(tk::Window* owner);

    TCapacity Capacity = TCapacity::capDefault;
    TFmtType FormatType = TFmtType::fmtQuick;
    TDriveType Drive = TDriveType::dtADrive;

    // Shows the shell's dialog and returns SHFormatDrive's result once the
    // user closes it.
    DWORD Execute() const;

    HWND OwnerWindow() const { return ownerWindow_; }
    bool NtPlatform() const { return ntPlatform_; }

    // The call Execute makes; tests replace it to see the arguments.
    FormatDriveCall FormatDrive;

private:
    HWND ownerWindow_;
    bool ntPlatform_;
};

// True on the Windows NT family (GetVersionEx's platform identifier).
bool IsNtPlatform();

}  // namespace sorv
