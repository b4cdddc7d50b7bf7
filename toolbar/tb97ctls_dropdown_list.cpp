#include "TB97Ctls.h"

#include <algorithm>
#include <memory>

#include "menu.h"

namespace sorv::toolbar {
namespace {

std::unique_ptr<TDropdownList>& TheList() {
    static std::unique_ptr<TDropdownList> list;
    return list;
}

}  // namespace

TDropdownList& TDropdownList::Instance() {
    auto& list = TheList();
    if (!list) list.reset(new TDropdownList());
    return *list;
}

TDropdownList* TDropdownList::Existing() { return TheList().get(); }

void TDropdownList::AddMenu(tk::Menu* menu) {
    if (!menu) return;
    for (Entry& entry : menus_) {
        if (entry.menu == menu) {
            ++entry.buttons;
            return;
        }
    }
    menus_.push_back({menu, 1});
    Owner();
}

void TDropdownList::RemoveMenu(tk::Menu* menu) {
    for (auto it = menus_.begin(); it != menus_.end(); ++it) {
        if (it->menu != menu) continue;
        if (--it->buttons == 0) menus_.erase(it);
        break;
    }
    if (menus_.empty() && Handle()) DestroyHandle();
}

bool TDropdownList::Holds(const tk::Menu* menu) const {
    return std::any_of(menus_.begin(), menus_.end(), [menu](const Entry& entry) { return entry.menu == menu; });
}

HWND TDropdownList::Owner() {
    if (!Handle()) {
        tk::WindowDescription design;
        design.style = WS_POPUP;
        design.x = design.y = design.width = design.height = 0;
        CreateHandle({L"TDropdownList"}, design);
    }
    return Handle();
}

LRESULT TDropdownList::HandleMessage(const tk::Message& message) {
    // The command goes to the first of the menus that knows it.
    if (message.msg == WM_COMMAND) {
        const auto id = static_cast<UINT>(LOWORD(message.wParam));
        const std::vector<Entry> menus = menus_;
        for (const Entry& entry : menus) {
            if (entry.menu->Dispatch(id)) return 0;
        }
    }
    return DefaultHandling(message);
}

}  // namespace sorv::toolbar
