#include "menu.h"

#include <windowsx.h>

#include <stdexcept>

#include "utf16.h"

namespace sorv::tk {

MenuItem::MenuItem(Menu& menu, HMENU container, UINT position, std::string name, std::string caption, bool separator)
    : menu_(menu),
      container_(container),
      position_(position),
      name_(std::move(name)),
      caption_(std::move(caption)),
      separator_(separator),
      id_(separator ? 0 : menu.nextId_++) {}

HMENU MenuItem::Submenu() {
    if (!submenu_) {
        submenu_ = CreatePopupMenu();
        if (!submenu_) throw std::runtime_error("CreatePopupMenu failed");
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_SUBMENU;
        info.hSubMenu = submenu_;
        SetMenuItemInfoW(container_, position_, TRUE, &info);
    }
    return submenu_;
}

MenuItem& MenuItem::Add(std::string name, std::string caption, std::function<void()> onClick) {
    return menu_.Append(Submenu(), items_, std::move(name), std::move(caption), false, std::move(onClick));
}

MenuItem& MenuItem::AddSeparator(std::string name) {
    return menu_.Append(Submenu(), items_, std::move(name), {}, true, {});
}

void MenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    EnableMenuItem(container_, position_, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    menu_.Changed();
}

Menu::Menu(HMENU handle) : handle_(handle) {
    if (!handle_) throw std::runtime_error("CreateMenu failed");
}

Menu::~Menu() = default;

MenuItem& Menu::Add(std::string name, std::string caption, std::function<void()> onClick) {
    return Append(handle_.get(), items_, std::move(name), std::move(caption), false, std::move(onClick));
}

MenuItem& Menu::AddSeparator(std::string name) { return Append(handle_.get(), items_, std::move(name), {}, true, {}); }

MenuItem& Menu::Append(HMENU container, std::vector<std::unique_ptr<MenuItem>>& list, std::string name,
                       std::string caption, bool separator, std::function<void()> onClick) {
    const auto position = static_cast<UINT>(list.size());
    std::unique_ptr<MenuItem> item(new MenuItem(*this, container, position, std::move(name), std::move(caption), separator));
    item->OnClick = std::move(onClick);
    const std::wstring text = Widen(item->caption_);
    if (!AppendMenuW(container, separator ? MF_SEPARATOR : MF_STRING, item->id_, separator ? nullptr : text.c_str()))
        throw std::runtime_error("AppendMenu failed for " + item->name_);
    list.push_back(std::move(item));
    Changed();
    return *list.back();
}

namespace {

MenuItem* Find(const std::vector<std::unique_ptr<MenuItem>>& items, const auto& match) {
    for (const auto& item : items) {
        if (match(*item)) return item.get();
        if (MenuItem* found = Find(item->Items(), match)) return found;
    }
    return nullptr;
}

}  // namespace

MenuItem* Menu::FindById(UINT id) const {
    return Find(items_, [id](const MenuItem& item) { return !item.IsSeparator() && item.CommandId() == id; });
}

MenuItem* Menu::FindByName(std::string_view name) const {
    return Find(items_, [name](const MenuItem& item) { return item.Name() == name; });
}

MenuItem* Menu::FindBySubmenu(HMENU submenu) const {
    if (!submenu) return nullptr;
    return Find(items_, [submenu](const MenuItem& item) { return item.SubmenuHandle() == submenu; });
}

bool Menu::Dispatch(UINT id) const {
    MenuItem* item = FindById(id);
    if (!item || !item->Enabled()) return false;
    item->Click();
    return true;
}

void Menu::Changed() const {
    if (window_) DrawMenuBar(window_);
}

MainMenu::MainMenu() : Menu(CreateMenu()) {}

MainMenu::~MainMenu() {
    // A window destroys its menu bar with it: take ours back first.
    if (window_ && IsWindow(window_) && GetMenu(window_) == Handle()) SetMenu(window_, nullptr);
}

PopupMenu::PopupMenu() : Menu(CreatePopupMenu()) {}

UINT PopupMenu::Track(HWND owner, Point screen, UINT extraFlags) {
    const UINT align = Alignment == PopupAlignment::Right    ? TPM_RIGHTALIGN
                       : Alignment == PopupAlignment::Center ? TPM_CENTERALIGN
                                                             : TPM_LEFTALIGN;
    return static_cast<UINT>(
        TrackPopupMenu(Handle(), align | extraFlags | TPM_RETURNCMD, screen.x, screen.y, 0, owner, nullptr));
}

void PopupMenu::Popup(HWND owner, int screenX, int screenY) {
    if (OnPopup) OnPopup();
    if (const UINT id = Track(owner, {screenX, screenY}, TPM_RIGHTBUTTON)) Dispatch(id);
}

std::optional<Point> ContextMenuPoint(LPARAM lParam) {
    const Point at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1) return std::nullopt;
    return at;
}

}  // namespace sorv::tk
