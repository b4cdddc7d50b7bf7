#pragma once
// Menu bars and context menus: items with captions ("&" marks the access
// key), enabled states and click handlers.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry.h"
#include "handles.h"

namespace sorv::tk {

class Menu;

class MenuItem {
public:
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::string& Name() const { return name_; }
    const std::string& Caption() const { return caption_; }
    bool IsSeparator() const { return separator_; }
    UINT CommandId() const { return id_; }

    // Adds an item to this item's submenu.
    MenuItem& Add(std::string name, std::string caption, std::function<void()> onClick = {});
    MenuItem& AddSeparator(std::string name);
    const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // The submenu this item opens, null when it opens none.
    HMENU SubmenuHandle() const { return submenu_; }

    // Shown while the item is highlighted; F1 on it asks for HelpContext.
    std::string Hint;
    int HelpContext = 0;

    std::function<void()> OnClick;
    void Click() {
        if (OnClick) OnClick();
    }

private:
    friend class Menu;
    MenuItem(Menu& menu, HMENU container, UINT position, std::string name, std::string caption, bool separator);
    HMENU Submenu();

    Menu& menu_;
    HMENU container_;  // the menu that lists this item
    UINT position_;
    std::string name_;
    std::string caption_;
    bool separator_;
    bool enabled_ = true;
    UINT id_;
    HMENU submenu_ = nullptr;  // owned by container_
    std::vector<std::unique_ptr<MenuItem>> items_;
};

class Menu {
public:
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;
    virtual ~Menu();

    HMENU Handle() const { return handle_.get(); }
    MenuItem& Add(std::string name, std::string caption, std::function<void()> onClick = {});
    MenuItem& AddSeparator(std::string name);
    const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }

    MenuItem* FindById(UINT id) const;
    MenuItem* FindByName(std::string_view name) const;
    // The item whose submenu has this handle.
    MenuItem* FindBySubmenu(HMENU submenu) const;
    // Runs the handler of the command; false when the id is not one of ours.
    bool Dispatch(UINT id) const;

protected:
    explicit Menu(HMENU handle);
    HWND window_ = nullptr;  // the window showing it, if any

private:
    friend class MenuItem;
    friend class Form;
    MenuItem& Append(HMENU container, std::vector<std::unique_ptr<MenuItem>>& list, std::string name,
                     std::string caption, bool separator, std::function<void()> onClick);
    void Changed() const;

    MenuHandle handle_;
    std::vector<std::unique_ptr<MenuItem>> items_;
    UINT nextId_ = 1000;
};

// The menu bar of a form (Form::SetMenu).
class MainMenu : public Menu {
public:
    MainMenu();
    ~MainMenu() override;
};

enum class PopupAlignment { Left, Right, Center };

// A context menu, shown at a screen point.
class PopupMenu : public Menu {
public:
    PopupMenu();

    // Where the menu lies against its point: to the right of it (Left), to
    // the left of it (Right), or centred on it.
    PopupAlignment Alignment = PopupAlignment::Left;
    // Raised by Popup before the menu shows.
    std::function<void()> OnPopup;

    // Shows the menu at a screen point, owned by `owner` (which gets the
    // menu's notifications), placed by Alignment plus any TPM_ flags in
    // `extraFlags`, until it closes. Returns the chosen item's command, 0
    // for none, without running it.
    UINT Track(HWND owner, Point screen, UINT extraFlags = 0);
    // Raises OnPopup, shows the menu and runs the chosen item's handler.
    void Popup(HWND owner, int screenX, int screenY);
};

// The screen point of a WM_CONTEXTMENU; none when the menu was asked from
// the keyboard (both coordinates -1, however the system widened lParam).
std::optional<Point> ContextMenuPoint(LPARAM lParam);

}  // namespace sorv::tk
