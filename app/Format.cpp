#include "Format.h"

#include <shlobj.h>

#include "application.h"
#include "modal_scope.h"
#include "window.h"

namespace sorv {

bool IsNtPlatform() {
    OSVERSIONINFOW info{};
    // The wide record's own size: the W call fails on the ANSI record's 148.
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExW(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

TFormat::TFormat(tk::Window* owner)
    : FormatDrive(SHFormatDrive),
      ownerWindow_(owner != nullptr && owner->Handle() != nullptr ? owner->Handle() : tk::App().Handle()),
      ntPlatform_(IsNtPlatform()) {}

DWORD TFormat::Execute() const {
    const FormatRequest request = MapFormatRequest(Capacity, FormatType, Drive, ntPlatform_);
    // The shell's dialog is modal like ours: the other windows wait, and are
    // told when it has gone.
    const tk::ModalScope modal(ownerWindow_);
    return FormatDrive(ownerWindow_, request.drive, request.formatId, request.options);
}

}  // namespace sorv
