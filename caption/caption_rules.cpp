#include "caption_rules.h"

namespace sorv::caption {
namespace {

// Cursor resource numbers (winuser.h).
constexpr int kSizeNwse = 32642;
constexpr int kSizeNesw = 32643;
constexpr int kSizeWe = 32644;
constexpr int kSizeNs = 32645;

// Moves `height` so the character height changes by `delta`: negative heights
// grow the characters away from zero, positive ones towards larger values.
int Grow(int height, int delta) { return height < 0 ? height - delta : height + delta; }

}  // namespace

int NumColorsAfterWrite(int stored, int requested) {
    if (requested <= 0) return stored;
    return requested > kMaxNumColors ? kMaxNumColors : requested;
}

int SizingCursorFor(int hitTest) {
    switch (hitTest) {
        case 10: case 11: return kSizeWe;     // HTLEFT, HTRIGHT
        case 12: case 15: return kSizeNs;     // HTTOP, HTBOTTOM
        case 13: case 17: return kSizeNwse;   // HTTOPLEFT, HTBOTTOMRIGHT
        case 14: case 16: return kSizeNesw;   // HTTOPRIGHT, HTBOTTOMLEFT
        default: return 0;
    }
}

CaptionFont FromCaptionMetrics(std::string face, int height, int weight, bool italic) {
    return {std::move(face), height, weight > 500, italic};
}

CaptionFont FontForKind(TFontKind kind, const CaptionFont& own, const CaptionFont& system) {
    CaptionFont font = system;
    switch (kind) {
        case TFontKind::fkCustom:
        case TFontKind::fkAutoHeight: return own;
        case TFontKind::fkSystem: break;
        case TFontKind::fkSystemI: font.italic = true; break;
        case TFontKind::fkSystemB: font.bold = true; break;
        case TFontKind::fkSystemBI: font.bold = font.italic = true; break;
    }
    return font;
}

int FitHeight(int height, int systemCharacterHeight, const std::function<int(int height)>& characterHeightAt) {
    height = Grow(height, systemCharacterHeight - characterHeightAt(height));
    const int excess = characterHeightAt(height) - systemCharacterHeight;
    if (excess > 0) height = Grow(height, -excess);
    return height;
}

}  // namespace sorv::caption
