// The resources as the program finds them in its own executable.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource_ids.h"

namespace {

std::wstring OwnPath() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

TEST(Resources, HandCursorPointsWithItsTip) {
    HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), SORV_HAND_CURSOR_NAME);
    ASSERT_NE(hand, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 0u);
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64) << "monochrome: both masks in one bitmap";
    EXPECT_EQ(info.hbmColor, nullptr);
    DeleteObject(info.hbmMask);
}

TEST(Resources, MainIconHasItsThirtyTwoPixelImage) {
    const HMODULE self = GetModuleHandleW(nullptr);
    HICON icon = LoadIconW(self, MAKEINTRESOURCEW(SORV_MAIN_ICON));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // The first icon group, so the shell shows it for the executable.
    EXPECT_EQ(ExtractIconExW(OwnPath().c_str(), -1, nullptr, nullptr, 0), 1u);
    EXPECT_NE(FindResourceW(self, MAKEINTRESOURCEW(1), RT_MANIFEST), nullptr);
}

std::wstring VersionString(const std::vector<char>& block, const std::wstring& name) {
    void* text = nullptr;
    UINT length = 0;
    const std::wstring query = L"\\StringFileInfo\\040C04B0\\" + name;
    if (!VerQueryValueW(block.data(), query.c_str(), &text, &length) || length == 0) {
        return L"(absent)";
    }
    return static_cast<const wchar_t*>(text);
}

TEST(Resources, VersionInformationInFrench) {
    const std::wstring path = OwnPath();
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(50, 1)));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    EXPECT_EQ(translation[0], 0x040C);

    EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.50");
    EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.50");
    EXPECT_EQ(VersionString(block, L"ProductName"), L"Sorv");
    EXPECT_EQ(VersionString(block, L"CompanyName"), L"TQ");
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"sorv.exe");
    EXPECT_EQ(VersionString(block, L"FileDescription"), L"Sorv - d\u00e9coupe et regroupe des fichiers");
}

}  // namespace
