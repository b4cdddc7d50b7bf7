#include "dropdown_list.h"

#include <algorithm>
#include <memory>

#include "menu.h"

namespace sorv {
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
    if (!menu || std::find(menus_.begin(), menus_.end(), menu) != menus_.end()) return;
    menus_.push_back(menu);
    Owner();
}

void TDropdownList::RemoveMenu(tk::Menu* menu) {
    std::erase(menus_, menu);
    if (menus_.empty() && Handle()) DestroyHandle();
}

HWND TDropdownList::Owner() {
    if (!Handle()) {
        tk::CreateSpec spec;
        spec.style = WS_POPUP;
        spec.x = spec.y = spec.width = spec.height = 0;
        CreateHandle({L"TDropdownList"}, spec);
    }
    return Handle();
}

LRESULT TDropdownList::HandleMessage(const tk::Message& message) {
    // The command goes to the first of the menus that knows it.
    if (message.msg == WM_COMMAND) {
        const auto id = static_cast<UINT>(LOWORD(message.wParam));
        const std::vector<tk::Menu*> menus = menus_;
        for (tk::Menu* menu : menus) {
            if (menu->Dispatch(id)) return 0;
        }
    }
    return DefaultHandling(message);
}

}  // namespace sorv
