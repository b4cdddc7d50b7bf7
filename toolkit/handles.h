#pragma once
// Owners for the Win32 handles the toolkit creates: each is released exactly
// once, by the owner that made it.
#include <windows.h>

#include <commctrl.h>

#include <utility>

#include "win_geometry.h"

namespace sorv::tk {

template <typename T, auto Release>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, T{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, T{}));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    T get() const { return handle_; }
    explicit operator bool() const { return handle_ != T{}; }
    T release() { return std::exchange(handle_, T{}); }
    void reset(T handle = T{}) {
        if (handle_ != T{}) Release(handle_);
        handle_ = handle;
    }

private:
    T handle_{};
};

using FontHandle = UniqueHandle<HFONT, DeleteObject>;
using BrushHandle = UniqueHandle<HBRUSH, DeleteObject>;
using PenHandle = UniqueHandle<HPEN, DeleteObject>;
using BitmapHandle = UniqueHandle<HBITMAP, DeleteObject>;
using RegionHandle = UniqueHandle<HRGN, DeleteObject>;
using MemoryDcHandle = UniqueHandle<HDC, DeleteDC>;
using MenuHandle = UniqueHandle<HMENU, DestroyMenu>;
using GlobalHandle = UniqueHandle<HGLOBAL, GlobalFree>;
using IconHandle = UniqueHandle<HICON, DestroyIcon>;
using HookHandle = UniqueHandle<HHOOK, UnhookWindowsHookEx>;
using CursorHandle = UniqueHandle<HCURSOR, DestroyCursor>;
using ImageListHandle = UniqueHandle<HIMAGELIST, ImageList_Destroy>;

// A window's device context (GetDC / GetWindowDC), released to its window.
class WindowDc {
public:
    enum class Area { Client, Whole };
    explicit WindowDc(HWND window, Area area = Area::Client)
        : window_(window), dc_(area == Area::Client ? GetDC(window) : GetWindowDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
    ~PaintDc() { EndPaint(window_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }
    Rect UpdateRect() const { return FromRECT(ps_.rcPaint); }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// An object selected into a DC for one scope; the previous one is put back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace sorv::tk
