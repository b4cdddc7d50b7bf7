#pragma once
// A form's design for tests that need some window of a class of their own.
#include "form.h"

namespace sorv::test {

inline tk::FormDescription FormDesign(const char* className, int clientWidth, int clientHeight,
                               tk::BorderStyle border = tk::BorderStyle::Sizeable) {
    tk::FormDescription design;
    design.className = className;
    design.clientWidth = clientWidth;
    design.clientHeight = clientHeight;
    design.border = border;
    return design;
}

}  // namespace sorv::test
