// The toolkit's rules at the Win32 edge: file-open filters and colours.
#include <gtest/gtest.h>

#include <cstdint>

#include "canvas.h"
#include "open_dialog.h"

namespace sorv::tk {
namespace {

TEST(Win32Filter, SeparatesEntriesWithNulsAndEndsWithTwo) {
    const std::wstring filter = Win32Filter("Fichier script (*.d)|*.d");
    EXPECT_EQ(filter, std::wstring(L"Fichier script (*.d)\0*.d\0\0", 26));
    const std::wstring three = Win32Filter(
        "Fichiers compressés|*.zip;*.arj;*.lzh;*.rar|Fichiers executable (*.exe)|*.exe|Tout les fichiers (*.*)|*.*");
    EXPECT_EQ(std::count(three.begin(), three.end(), L'\0'), 7);
    EXPECT_EQ(three.substr(0, 19), L"Fichiers compressés");
    EXPECT_TRUE(Win32Filter("").empty());
}

TEST(ColorToRgb, SystemColoursByIndexAndPlainRgb) {
    EXPECT_EQ(ColorToRgb(clActiveCaption), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(ColorToRgb(TColor::FromValue(0x8000000Fu)), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRgb(clBlue), RGB(0, 0, 255));
    EXPECT_EQ(ColorToRgb(TColor::FromValue(0x02123456u)), static_cast<COLORREF>(0x123456));
}

}  // namespace
}  // namespace sorv::tk
