#include "open_dialog.h"

#include <commdlg.h>

#include <vector>

#include "application.h"
#include "modal_scope.h"
#include "utf16.h"

namespace sorv::tk {

std::wstring Win32Filter(std::string_view filter) {
    if (filter.empty()) return {};
    std::wstring result = Widen(filter);
    for (wchar_t& c : result)
        if (c == L'|') c = L'\0';
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

bool OpenDialog::Execute(HWND owner) {
    App().FlushOutput();
    const std::wstring filter = Win32Filter(Filter);
    const std::wstring title = Widen(Title);
    std::vector<wchar_t> buffer(32768, L'\0');
    const std::wstring initial = Widen(FileName);
    initial.copy(buffer.data(), buffer.size() - 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = OFN_HIDEREADONLY;

    BOOL chosen;
    {
        ModalScope modal(owner);
        chosen = GetOpenFileNameW(&ofn);
    }
    if (!chosen) return false;
    FileName = Narrow(buffer.data());
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

}  // namespace sorv::tk
