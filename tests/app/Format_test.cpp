// The floppy formatter's call to the shell: owner window, platform family
// and the settings of the main window's formatter. The shell's dialog is
// never opened: the call is captured.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "Format.h"
#include "application.h"
#include "form.h"

namespace sorv {
namespace {

struct FormatCall {
    HWND owner;
    UINT drive;
    UINT formatId;
    UINT options;
    bool operator==(const FormatCall&) const = default;
};

struct Capture {
    std::vector<FormatCall> calls;
    DWORD result = static_cast<DWORD>(SHFMT_CANCEL);
    TFormat::FormatDriveCall Call() {
        return [this](HWND owner, UINT drive, UINT formatId, UINT options) {
            calls.push_back({owner, drive, formatId, options});
            return result;
        };
    }
};

tk::FormDescription OwnerDescription() {
    tk::FormDescription design;
    design.className = "TFormatOwner";
    design.caption = "Sorv";
    design.clientWidth = 304;
    design.clientHeight = 253;
    return design;
}

TEST(Formatter, TheMainWindowsSettingsReachTheShellWithItsWindowAsOwner) {
    tk::Form form(OwnerDescription());
    TFormat format(&form);
    EXPECT_EQ(format.Capacity, TCapacity::capDefault);
    EXPECT_EQ(format.FormatType, TFmtType::fmtQuick);
    EXPECT_EQ(format.Drive, TDriveType::dtADrive);
    EXPECT_EQ(format.OwnerWindow(), form.Handle());
    ASSERT_TRUE(format.NtPlatform()) << "Wine reports the NT family";

    Capture capture;
    format.FormatDrive = capture.Call();
    format.Capacity = TCapacity::capHigh;
    format.FormatType = TFmtType::fmtFull;
    format.Drive = TDriveType::dtADrive;
    EXPECT_EQ(format.Execute(), static_cast<DWORD>(SHFMT_CANCEL));
    format.FormatType = TFmtType::fmtQuick;
    format.Drive = TDriveType::dtBDrive;
    format.Capacity = TCapacity::capLow;
    capture.result = 0;
    EXPECT_EQ(format.Execute(), 0u);
    EXPECT_EQ(capture.calls, (std::vector<FormatCall>{{form.Handle(), 0, 0, 0}, {form.Handle(), 1, 0, 1}}));
}

TEST(Formatter, WithoutAWindowedOwnerTheApplicationsHiddenWindowOwnsTheDialog) {
    TFormat format(nullptr);
    EXPECT_EQ(format.OwnerWindow(), tk::App().Handle());
    EXPECT_NE(format.OwnerWindow(), nullptr);
}

}  // namespace
}  // namespace sorv
