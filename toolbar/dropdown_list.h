#pragma once
// TDropdownList: the one hidden window that owns the tool-bar buttons'
// dropdown menus while they are shown, and hands the command chosen in one of
// them to the menu it belongs to.
#include <windows.h>

#include <vector>

#include "window.h"

namespace sorv {

namespace tk {
class Menu;
}

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

}  // namespace sorv
