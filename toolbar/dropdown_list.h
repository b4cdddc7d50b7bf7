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

    // A menu already there is not added twice; the window exists while the
    // list holds a menu.
    void AddMenu(tk::Menu* menu);
    void RemoveMenu(tk::Menu* menu);
    HWND Owner();

protected:
    LRESULT HandleMessage(const tk::Message& message) override;

private:
    TDropdownList() = default;
    std::vector<tk::Menu*> menus_;
};

}  // namespace sorv
