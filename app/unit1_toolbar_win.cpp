#include "unit1_toolbar_win.h"

#include <windows.h>

#include "handles.h"

namespace sorv {

LogAreaPlace LogAreaFor(BarPlace place) {
    switch (place) {
        case BarPlace::Top: return {56, 169};
        case BarPlace::Bottom: return {15, 169};
        case BarPlace::Away: return {15, 210};
    }
    return {15, 210};
}

void SetUpCommandButton(toolbar::TToolbarButton97& button, int glyphId, std::string hint, std::function<void()> onClick) {
    button.SetSize(38, 38);
    // The button keeps a copy; the loaded one goes.
    const tk::BitmapHandle glyph(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(glyphId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    button.SetGlyph(glyph.get());
    button.Loaded();
    button.Hint = std::move(hint);
    button.OnClick = std::move(onClick);
}

}  // namespace sorv
