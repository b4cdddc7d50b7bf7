#include "wordcap_win.h"

#include <cstddef>

#include "handles.h"
#include "utf16.h"

namespace sorv::caption {
namespace {

Size Metric(int x, int y) { return {GetSystemMetrics(x), GetSystemMetrics(y)}; }

CaptionFont FromLogFont(const LOGFONTW& font) {
    return FromCaptionMetrics(Narrow(font.lfFaceName), font.lfHeight, font.lfWeight, font.lfItalic != 0);
}

// The character height: the cell less its internal leading.
int CharacterHeight(const tk::FontDescription& design) {
    const TEXTMETRICW metrics = tk::MetricsOf(tk::Font(design).Handle());
    return metrics.tmHeight - metrics.tmInternalLeading;
}

SetWindowAttributeFunction testFunction = nullptr;

SetWindowAttributeFunction SystemFunction() {
    // Looked up once; the library stays loaded for the program's life. Only
    // the system folder is searched, never the program's or the current one.
    static const SetWindowAttributeFunction function = [] {
        HMODULE dwm = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return dwm ? reinterpret_cast<SetWindowAttributeFunction>(
                         reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")))
                   : nullptr;
    }();
    return function;
}

}  // namespace

// --- Metrics and frame --------------------------------------------------------

CaptionMetrics CurrentCaptionMetrics() {
    CaptionMetrics m;
    m.dialogFrame = Metric(SM_CXDLGFRAME, SM_CYDLGFRAME);
    m.border = Metric(SM_CXBORDER, SM_CYBORDER);
    m.sizingFrame = Metric(SM_CXFRAME, SM_CYFRAME);
    m.captionHeight = GetSystemMetrics(SM_CYCAPTION);
    m.smallCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
    m.button = Metric(SM_CXSIZE, SM_CYSIZE);
    m.smallButton = Metric(SM_CXSMSIZE, SM_CYSMSIZE);
    m.smallIcon = Metric(SM_CXSMICON, SM_CYSMICON);
    return m;
}

bool NewWindowLook() {
    static const bool newLook = LOBYTE(LOWORD(GetVersion())) >= 4;
    return newLook;
}

FrameStyle FrameStyleOf(tk::BorderStyle border) {
    switch (border) {
        case tk::BorderStyle::None: return FrameStyle::None;
        case tk::BorderStyle::Single: return FrameStyle::Single;
        case tk::BorderStyle::Sizeable: return FrameStyle::Sizeable;
        case tk::BorderStyle::Dialog: return FrameStyle::Dialog;
        case tk::BorderStyle::ToolWindow: return FrameStyle::ToolWindow;
        case tk::BorderStyle::SizeToolWin: return FrameStyle::SizeToolWin;
    }
    return FrameStyle::Sizeable;
}

FrameState FrameStateOf(const tk::Form& form) {
    FrameState frame;
    frame.style = FrameStyleOf(form.GetBorderStyle());
    const tk::BorderIcons& icons = form.GetBorderIcons();
    frame.icons = {icons.systemMenu, icons.minimize, icons.maximize, icons.help};
    frame.window = form.WindowRect().Extent();
    frame.iconic = IsIconic(form.Handle()) != FALSE;
    frame.zoomed = IsZoomed(form.Handle()) != FALSE;
    frame.newLook = NewWindowLook();
    return frame;
}

// --- Fonts ------------------------------------------------------------------

tk::FontDescription ToFontDescription(const CaptionFont& font) {
    tk::FontDescription design;
    design.face = font.face;
    design.height = font.height;
    design.weight = font.bold ? FW_BOLD : FW_NORMAL;
    design.italic = font.italic;
    design.charset = DEFAULT_CHARSET;
    return design;
}

CaptionFont ReadSystemCaptionFont() {
    // The size without the field added in Vista, so that older systems answer.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return FromLogFont(metrics.lfCaptionFont);
    LOGFONTW stock{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof stock, &stock);
    return FromLogFont(stock);
}

tk::FontDescription FitToHeightOf(const tk::FontDescription& font, const tk::FontDescription& system) {
    tk::FontDescription fitted = font;
    fitted.height = FitHeight(font.height, CharacterHeight(system), [&font](int height) {
        tk::FontDescription probe = font;
        probe.height = height;
        return CharacterHeight(probe);
    });
    return fitted;
}

tk::FontDescription FontOfKind(TFontKind kind, const tk::FontDescription& own, const CaptionFont& system) {
    if (kind == TFontKind::fkAutoHeight) return FitToHeightOf(own, ToFontDescription(system));
    return ToFontDescription(FontForKind(kind, {}, system));
}

// --- Composited frame -----------------------------------------------------

void UsePaintedFrame(HWND window) {
    const SetWindowAttributeFunction function = testFunction ? testFunction : SystemFunction();
    if (!function || !window) return;
    const DWORD policy = kNcRenderingDisabled;
    function(window, kNcRenderingPolicy, &policy, sizeof policy);
}

void SetDwmSetWindowAttributeForTesting(SetWindowAttributeFunction function) { testFunction = function; }

}  // namespace sorv::caption
