#pragma once
// Fonts as the windows give them: a face, a height in pixels (negative: the
// character height, as in "8 point = -11" at 96 dpi), weight and style.
#include <windows.h>

#include <memory>
#include <string>

#include "handles.h"

namespace sorv::tk {

struct FontDescription {
    std::string face = "MS Sans Serif";
    int height = -11;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    BYTE charset = DEFAULT_CHARSET;
};

class Font {
public:
    explicit Font(FontDescription design);
    HFONT Handle() const { return handle_.get(); }
    const FontDescription& Design() const { return design_; }

private:
    FontDescription design_;
    FontHandle handle_;
};

using SharedFont = std::shared_ptr<const Font>;
SharedFont MakeFont(FontDescription design);

// The toolkit's default font: MS Sans Serif 8 point.
SharedFont DefaultFont();

// The metrics of a font as the screen renders it (a null font: the system's).
TEXTMETRICW MetricsOf(HFONT font);
// The font a window draws its text with (WM_GETFONT).
HFONT FontOf(HWND window);

}  // namespace sorv::tk
