#pragma once
// TDropdownList: the one hidden window that owns the tool-bar buttons'
// dropdown menus while they are shown, and hands the command chosen in one of
// them to the menu it belongs to.
//
// TGlyphList: an image list of one image size whose slots buttons share; a
// slot freed by one button is reused by the next image, the others never
// move. TGlyphCache: the process's lists, one per image size, each freed when
// its last image goes.
//
// TButtonGlyph: a tool-bar button's images, one per state, made on first use
// from its glyph strip (or from an image list) and kept in the lists shared
// by all buttons with images of that size; and the drawing of the button's
// content, glyph, caption and small arrow, where the layout puts them.
//
// TToolbarButton97: the button of the tool bars, a windowless control with a
// glyph and/or a caption, flat by default (its border shows while the mouse
// is over it or it is down), with hot tracking, toggling in exclusive groups,
// auto-repeat, a dropdown menu on the whole button or on an arrow part of its
// own, a hint shown as a tooltip, Enter and Escape for default and cancel
// buttons, an accelerator, and a modal result for its form.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "colour.h"
#include "font.h"
#include "geometry.h"
#include "graphic_control.h"
#include "handles.h"
#include "tb97cmn_hook_rules.h"
#include "tb97ctls_button_rules.h"
#include "tb97ctls_button_win.h"
#include "tb97ctls_glyph_rules.h"
#include "window.h"

namespace sorv::tk {
class Menu;
class Form;
class PopupMenu;
}  // namespace sorv::tk

namespace sorv::toolbar {

class TDropdownList : public tk::Window {
public:
    // The process's list, made with the first dropdown menu.
    static TDropdownList& Instance();
    static TDropdownList* Existing();

    // Each button that drops a menu down registers it, and unregisters it
    // when it drops another or goes; the menu leaves the list with its last
    // button. The window exists while the list holds a menu. A menu must
    // outlive the buttons that show it (menus tell nobody they go).
    void AddMenu(tk::Menu* menu);
    void RemoveMenu(tk::Menu* menu);
    HWND Owner();
    bool Holds(const tk::Menu* menu) const;

protected:
    LRESULT HandleMessage(const tk::Message& message) override;

private:
    TDropdownList() = default;
    struct Entry {
        tk::Menu* menu;
        int buttons;
    };
    std::vector<Entry> menus_;
};

class TGlyphList {
public:
    TGlyphList(int width, int height);
    TGlyphList(const TGlyphList&) = delete;
    TGlyphList& operator=(const TGlyphList&) = delete;

    Size ImageSize() const { return size_; }
    HIMAGELIST Handle() const { return list_.get(); }
    // Puts the image in the lowest free slot and returns it. The image must be
    // of the list's size ("Taille d'image incorrecte"); a list that refuses it
    // raises "Ne peut remplacer l'image".
    int Add(const MaskedImage& image);
    // Frees a used slot (its image stays until the slot is reused).
    void Delete(int slot);
    int Count() const { return slots_.Count(); }
    // Draws a slot's image with its transparency.
    void Draw(HDC dc, int slot, Point at) const;

private:
    Size size_;
    tk::ImageListHandle list_;
    SlotSet slots_;
};

class TGlyphCache {
public:
    // The process's cache, made on first use.
    static TGlyphCache& Instance();
    static bool Exists();
    // Frees the cache when it holds no list.
    static void FreeIfEmpty();

    // The list of that image size, made if there is none.
    TGlyphList& AcquireList(Size size);
    // Frees a list that holds no image any more.
    void ReleaseList(TGlyphList* list);
    bool Empty() const { return lists_.empty(); }
    std::size_t ListCount() const { return lists_.size(); }

private:
    std::vector<std::unique_ptr<TGlyphList>> lists_;
};

class TButtonGlyph {
public:
    struct StateImage {
        TGlyphList* list = nullptr;
        int slot = -1;  // -1: nothing to draw
    };

    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    // The strip of up to five state images, copied; the cell count follows it.
    HBITMAP Glyph() const { return glyph_.get(); }
    void SetGlyph(HBITMAP bitmap);
    // Optional transparency of the strip, white where transparent.
    HBITMAP GlyphMask() const { return glyphMask_.get(); }
    void SetGlyphMask(HBITMAP bitmap);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    // An image list instead of the strip (not owned; clear it before it goes).
    HIMAGELIST Images() const { return images_; }
    void SetImages(HIMAGELIST images);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    bool OldDisabledStyle() const { return oldDisabledStyle_; }
    void SetOldDisabledStyle(bool value);
    // The strip's bottom-left colour.
    COLORREF TransparentColor() const { return transparentColor_; }

    // The button redraws.
    std::function<void()> OnChange;

    // The image of a state, made and kept on first request.
    StateImage BuildStateImage(ButtonState state);
    // Every image made so far goes (the lists keep only others' images).
    void DiscardImages();
    // The size of one image: the image list's, or a cell of the strip; (0, 0)
    // without either.
    Size GlyphSize() const;

    struct Content {
        ContentRequest layout;  // its glyph size is filled in here
        bool drawGlyph = true;
        UINT alignment = DT_CENTER;   // 0, DT_RIGHT or DT_CENTER
        ButtonState state = ButtonState::Up;
        COLORREF textColor = 0;
    };
    // Lays out and draws glyph, caption and small arrow on `dc` in its font.
    void DrawContent(HDC dc, Content content);
    // The small arrow at (x, y): a 5-pixel triangle; etched when disabled.
    static void DrawArrow(HDC dc, Point at, ButtonState state, COLORREF color);

private:
    void SourceChanged(bool fromGlyph);
    bool HasImage() const;

    tk::BitmapHandle glyph_;
    tk::BitmapHandle glyphMask_;
    // [0] the disabled image, [1] the others.
    std::array<TGlyphList*, 2> lists_{};
    int imageIndex_ = -1;
    HIMAGELIST images_ = nullptr;
    std::array<std::array<int, 5>, 2> indexes_;
    COLORREF transparentColor_ = 0;
    int numGlyphs_ = 1;
    bool oldDisabledStyle_ = false;
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TButtonDisplayMode { dmBoth, dmGlyphOnly, dmTextOnly };
using TButtonLayout = GlyphLayout;
using TButtonState = ButtonState;

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
    TColor Color() const { return color_; }
    void SetColor(TColor color);
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

    void Apply(const ButtonEffects& effects);
    void Redraw(bool erase);
    void BeginHover();
    void EndHover();
    // Ends the hover of the hot button, if another, and takes its place.
    void BecomeHot();
    void RefreshHover();
    void HoverTick();
    void RepeatTick();
    // Whether this button is the control at a screen point.
    bool IsAt(Point screen) const;
    bool UnderCursor() const;
    void ReleaseGroupMates();
    void DropDown();
    void DiscardMenuClicks();
    tk::Form* ParentForm() const;
    void UpdateTool();
    // Tips show while the program is the active one and no modal window is
    // up over the bar (it disables the bar's form).
    bool TipsAllowed() const;
    static void HoverHookProc(THookProcType kind, HWND window, WPARAM wParam, LPARAM lParam);

    ButtonModel model_;
    TButtonGlyph glyph_;
    TAlignment alignment_ = TAlignment::taCenter;
    std::string caption_;
    TColor color_ = clBtnFace;
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

}  // namespace sorv::toolbar
