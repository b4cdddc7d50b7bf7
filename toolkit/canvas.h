#pragma once
// Drawing helpers over a device context, colours that may name a system
// colour, and off-screen bitmaps for flicker-free painting.
#include <windows.h>

#include <string_view>
#include <vector>

#include "colour.h"
#include "geometry.h"
#include "handles.h"

namespace sorv::tk {

// The RGB value of a colour: a system colour as the system paints it now.
COLORREF ColorToRgb(TColor color);

class Canvas {
public:
    explicit Canvas(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~Canvas() { RestoreDC(dc_, saved_); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Handle() const { return dc_; }
    void SetFont(HFONT font) { SelectObject(dc_, font); }
    void FillRect(const Rect& rect, COLORREF color);
    void FillRect(const Rect& rect, HBRUSH brush);
    void FrameRect(const Rect& rect, COLORREF color);
    // PatBlt with a brush: PATCOPY, PATINVERT...
    void PatternFill(const Rect& rect, HBRUSH brush, DWORD rop = PATCOPY);
    // A one-pixel line from `from` to `to`, the last pixel left out (as
    // LineTo draws it).
    void Line(Point from, Point to, COLORREF color);
    void SetPixel(Point at, COLORREF color);
    // A filled polygon with its outline in the same colour.
    void Polygon(const std::vector<Point>& points, COLORREF color);
    // DrawEdge: EDGE_* or BDR_* with BF_* flags; returns what is left inside
    // the edge (the platform's answer with BF_ADJUST).
    Rect DrawEdge(const Rect& rect, UINT edge, UINT flags);
    // DrawText with the given DT_ flags; with DT_CALCRECT `rect` is updated.
    int DrawText(std::string_view text, Rect& rect, UINT format, COLORREF color);
    Size TextExtent(std::string_view text);

private:
    HDC dc_;
    int saved_;
};

// A bitmap compatible with a DC, selected into its own memory DC.
class OffscreenBitmap {
public:
    OffscreenBitmap(HDC compatibleWith, int width, int height);
    ~OffscreenBitmap();
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

    explicit operator bool() const { return dc_ && bitmap_; }
    HDC Dc() const { return dc_.get(); }
    HBITMAP Bitmap() const { return bitmap_.get(); }
    // Copies the bitmap's rectangle to the same place on `target`.
    void CopyTo(HDC target, const Rect& rect) const;

private:
    MemoryDcHandle dc_;
    BitmapHandle bitmap_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace sorv::tk
