#pragma once
// The main window's tool bar: how its command buttons are set up, and where
// the log area goes for each place the bar can be in.
#include <functional>
#include <string>

#include "TB97Ctls.h"

namespace sorv {

// Where the main window's tool bar is, as the log area sees it.
enum class BarPlace { Top, Bottom, Away };  // Away: leaving a dock, floating or closed

struct LogAreaPlace {
    int top = 0;
    int height = 0;
};

// Top dock 56/169, bottom dock 15/169, otherwise 15/210 (left and width
// never change).
LogAreaPlace LogAreaFor(BarPlace place);

// 38 x 38 with the program's glyph resource `glyphId`, the hint shown as its
// tooltip and its command.
void SetUpCommandButton(toolbar::TToolbarButton97& button, int glyphId, std::string hint, std::function<void()> onClick);

}  // namespace sorv
