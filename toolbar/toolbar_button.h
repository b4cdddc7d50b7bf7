#pragma once
// TToolbarButton97: the button of the tool bars, a windowless control with a
// glyph and/or a caption, flat by default (its border shows while the mouse
// is over it or it is down), with hot tracking, toggling in exclusive groups,
// auto-repeat, a dropdown menu on the whole button or on an arrow part of its
// own, a hint shown as a tooltip, Enter and Escape for default and cancel
// buttons, an accelerator, and a modal result for its form.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "button_behaviour.h"
#include "button_content_layout.h"
#include "button_glyph.h"
#include "button_timer.h"
#include "control_tips.h"
#include "font.h"
#include "graphic_control.h"
#include "hook_registry.h"

namespace sorv {

namespace tk {
class Form;
class PopupMenu;
}  // namespace tk

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TButtonDisplayMode { dmBoth, dmGlyphOnly, dmTextOnly };
using TButtonLayout = tb97::GlyphLayout;
using TButtonState = tb97::ButtonState;

class TToolbarButton97 : public tk::GraphicControl {
public:
    // 22 x 23 at (left, top).
    TToolbarButton97(tk::Window& parent, std::string name, int left = 0, int top = 0);
    ~TToolbarButton97() override;

    int Width() const;
    int Height() const;
    void SetSize(int width, int height);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AllowAllUp() const { return model_.allowAllUp; }
    void SetAllowAllUp(bool value);
    bool Cancel = false;
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t color);
    bool Default = false;
    TButtonDisplayMode DisplayMode() const { return displayMode_; }
    void SetDisplayMode(TButtonDisplayMode value);
    bool Down() const { return model_.down; }
    void SetDown(bool value);
    bool DropdownArrow() const { return dropdownArrow_; }
    void SetDropdownArrow(bool value);
    bool DropdownCombo() const { return model_.dropdownCombo; }
    void SetDropdownCombo(bool value);
    tk::PopupMenu* DropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(tk::PopupMenu* menu);
    bool Flat() const { return model_.flat; }
    void SetFlat(bool value);
    // None: the parent's font.
    const tk::SharedFont& Font() const { return font_; }
    void SetFont(tk::SharedFont font);
    HBITMAP Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(HBITMAP bitmap);
    HBITMAP GlyphMask() const { return glyph_.GlyphMask(); }
    void SetGlyphMask(HBITMAP bitmap);
    int GroupIndex() const { return model_.groupIndex; }
    void SetGroupIndex(int value);
    int HelpContext = 0;
    // Hint (of the control) is shown as a tooltip while the mouse rests on
    // the button.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    int ImageIndex() const { return glyph_.ImageIndex(); }
    void SetImageIndex(int index) { glyph_.SetImageIndex(index); }
    HIMAGELIST Images() const { return glyph_.Images(); }
    void SetImages(HIMAGELIST images) {
        glyph_.SetImages(images);
        model_.numGlyphs = glyph_.NumGlyphs();
    }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    int ModalResult = 0;
    bool NoBorder() const { return noBorder_; }
    void SetNoBorder(bool value);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int value);
    bool OldDisabledStyle() const { return glyph_.OldDisabledStyle(); }
    void SetOldDisabledStyle(bool value);
    // The whole face painted in Color (the control's own opacity follows).
    bool Opaque() const { return opaque_; }
    void SetOpaque(bool value);
    bool Repeating() const { return model_.repeating; }
    void SetRepeating(bool value) { model_.repeating = value; }
    unsigned RepeatDelay = 400;
    unsigned RepeatInterval = 100;
    bool ShowBorderWhenInactive = false;
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(tk::MouseButton, WPARAM keys, int x, int y)> OnMouseDown;
    std::function<void(WPARAM keys, int x, int y)> OnMouseMove;
    std::function<void(tk::MouseButton, WPARAM keys, int x, int y)> OnMouseUp;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseExit;

    TButtonState State() const { return model_.state; }
    bool MouseInControl() const { return model_.mouseInControl; }
    // The process's hot button, if any.
    static TToolbarButton97* HotButton();

    // The click, as the mouse, a key or the program gives it.
    void Click();
    // Keys the form offers its controls: the accelerator of the caption;
    // Enter and Escape for the default and cancel buttons. True when taken.
    bool DialogChar(wchar_t character);
    bool DialogKey(WPARAM key, bool shift, bool control, bool alt);
    // After the stored properties are read: the image for the state is made.
    void Loaded();

    void Paint(HDC dc) override;
    void MouseDown(const tk::MouseEvent& event) override;
    void MouseMove(const tk::MouseEvent& event) override;
    void MouseUp(const tk::MouseEvent& event) override;
    // The press is forgotten (the mouse was taken away).
    void CancelMode() override;
    void EnabledChanged() override;
    // Images and pattern are made again in the new colours.
    void SysColorChanged() override;

private:
    struct Shared;

    void Apply(const tb97::ButtonEffects& effects);
    void Redraw(bool erase);
    void BeginHover();
    void EndHover();
    // Ends the hover of the hot button, if another, and takes its place.
    void BecomeHot();
    void RefreshHover();
    void HoverTick();
    void RepeatTick();
    // Whether this button is the control at a screen point.
    bool IsAt(POINT screen) const;
    bool UnderCursor() const;
    void ReleaseGroupMates();
    void DropDown();
    void DiscardMenuClicks();
    tk::Form* ParentForm() const;
    void UpdateTool();
    static void HoverHookProc(THookProcType kind, HWND window, WPARAM wParam, LPARAM lParam);

    tb97::ButtonModel model_;
    TButtonGlyph glyph_;
    TAlignment alignment_ = TAlignment::taCenter;
    std::string caption_;
    std::uint32_t color_ = 0x8000000F;  // clBtnFace
    TButtonDisplayMode displayMode_ = TButtonDisplayMode::dmBoth;
    bool dropdownArrow_ = true;
    tk::PopupMenu* dropdownMenu_ = nullptr;
    tk::SharedFont font_;
    bool showHint_ = true;
    TButtonLayout layout_ = TButtonLayout::GlyphLeft;
    int margin_ = -1;
    bool noBorder_ = false;
    bool opaque_ = true;
    int spacing_ = 4;
    bool wordWrap_ = false;
    std::unique_ptr<ButtonTimer> repeatTimer_;
    // Cleared when the button goes, so that a click whose handler destroyed
    // the button touches nothing afterwards.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    ControlTip tip_;
    // Where the mouse was last seen, in button coordinates.
    Point lastMouse_;
};

}  // namespace sorv
