#pragma once
// Painting of the tool window's frames on its window DC: the docked border
// with its drag handle, and the floating frame with its small caption and
// close button. Geometry comes from frame_geometry.h.
#include <windows.h>

#include <functional>
#include <string>

#include "frame_geometry.h"

namespace sorv {

// Fills `area` (window coordinates) with the dock's background, `exclude`
// left alone; empty when the dock's background does not show on its bars.
using BackgroundFill = std::function<void(HDC dc, const RECT& area, const RECT* exclude)>;

struct DockedFramePaint {
    Size window;  // outer size
    Rect client;  // window coordinates
    DockKind kind = DockKind::dkHorizontal;
    bool allowDrag = true;
    TDragHandleStyle handle = TDragHandleStyle::dhDouble;
    bool raisedBorder = true;  // BorderStyle single
    COLORREF color = 0;
    BackgroundFill background;
};
void DrawDockedFrame(HDC windowDc, const DockedFramePaint& frame);

struct FloatingFramePaint {
    Size window;
    Size border;
    int captionHeight = 0;
    int clientWidth = 0;
    bool closeButton = true;
    bool closePressed = false;
    bool active = true;
    std::string caption;
};
struct FloatingParts {
    bool border = true;
    bool closeButton = true;
    bool caption = true;
};
void DrawFloatingFrame(HDC windowDc, const FloatingFramePaint& frame, FloatingParts parts);

}  // namespace sorv
