#pragma once
// Our geometry types at the Win32 edge.
#include <windows.h>

#include "geometry.h"

namespace sorv {

inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }
inline POINT ToPOINT(Point p) { return POINT{p.x, p.y}; }
inline Point FromPOINT(POINT p) { return Point{p.x, p.y}; }

}  // namespace sorv
