#pragma once
// The link label: a static text that looks like a hyperlink (blue,
// underlined, a pointing hand over it), turns the active colour while the
// left button holds it, opens its target through the shell when clicked, and
// offers a "Copy" context menu that copies its caption.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "colour.h"
#include "label.h"
#include "menu.h"

namespace sorv {

class TUrlLabel : public tk::Label {
public:
    // ShellExecute's owner, verb, file and show command (no parameters, no
    // working directory).
    using ShellOpen = std::function<void(HWND owner, const std::string& verb, const std::string& file, int show)>;

    static constexpr TColor kLinkColor = clBlue;
    static constexpr TColor kActiveColor = TColor::Rgb(128, 0, 128);  // purple

    TUrlLabel(tk::Window& parent, std::string name, const Rect& bounds, std::string_view caption,
              bool autoSize = true);
    ~TUrlLabel() override;

    // The link target; when blank, the caption is opened instead.
    std::string URL;
    // The font colour while the left button is held on the label.
    TColor ActiveColor = kActiveColor;

    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor color);
    // A number in the screen cursor table.
    int Cursor = 0;

    // Raised by a click, before the target opens.
    std::function<void()> OnClick;
    // The shell call that opens the target; tests replace it.
    ShellOpen OpenTarget;

    // As a click of the left button does: OnClick, then the target opens.
    void Click();
    // The "Copy" item: the caption (not the URL) to the clipboard.
    void Copy();
    tk::PopupMenu& PopupMenu() const { return *popupMenu_; }

protected:
    LRESULT HandleMessage(const tk::Message& message) override;
    HBRUSH ControlColor(HDC dc) override;

private:
    void LeftDown(bool armClick);
    void LeftUp(POINT point);
    void EndPress();
    void ShowContextMenu(LPARAM screenPoint);

    TColor savedColor_ = kLinkColor;
    TColor fontColor_ = kLinkColor;
    bool leftDown_ = false;   // the active colour shows, savedColor_ to restore
    bool clickArmed_ = false;  // a release over the label is a click
    std::unique_ptr<tk::PopupMenu> popupMenu_;
};

}  // namespace sorv
