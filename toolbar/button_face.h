#pragma once
// What a tool-bar button's paint draws and where: off-screen or not, the
// edges of the face and of a combo's arrow part, the rectangle left for the
// content and its offset while pressed, the checkered held-down background.
#include <optional>

#include "button_behaviour.h"
#include "geometry.h"

namespace sorv::tb97 {

// Flat buttons have a thin one-pixel edge, raised ones the full soft edge.
enum class EdgeStyle { FlatRaised, FlatSunken, Raised, Sunken };

struct FaceEdge {
    Rect rect;
    EdgeStyle style = EdgeStyle::FlatRaised;
    friend bool operator==(const FaceEdge&, const FaceEdge&) = default;
};

struct FaceLook {
    bool opaque = true;
    bool noBorder = false;
    bool dropdownArrow = true;
    bool designMode = false;
};

struct FacePlan {
    bool offscreen = false;      // composed off-screen on a fill of the face colour
    std::optional<FaceEdge> comboEdge;
    std::optional<FaceEdge> faceEdge;
    Rect content;                // where glyph, caption and arrow go
    Point contentOffset;         // (1, 1) while pressed
    bool checkered = false;      // the content rectangle gets the pattern first
    bool smallArrow = false;     // after the caption: a dropdown without combo
    std::optional<Point> comboArrow;
};

FacePlan PlanFace(const ButtonModel& button, const FaceLook& look, Size size);

}  // namespace sorv::tb97
