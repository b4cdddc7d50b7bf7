#include "urllabel_win.h"

#include <cstring>
#include <map>
#include <stdexcept>
#include <string>

#include "handles.h"
#include "scope_guards.h"
#include "utf16.h"

namespace sorv {

namespace {

tk::GlobalHandle UnicodeBlock(std::string_view text) {
    const std::wstring wide = Widen(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    tk::GlobalHandle block(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block) throw std::runtime_error("Mémoire insuffisante pour le presse-papiers");
    void* data = GlobalLock(block.get());
    if (!data) throw std::runtime_error("Mémoire insuffisante pour le presse-papiers");
    std::memcpy(data, wide.c_str(), bytes);
    GlobalUnlock(block.get());
    return block;
}

}  // namespace

void CopyTextToClipboard(HWND owner, std::string_view text) {
    tk::GlobalHandle block = UnicodeBlock(text);
    if (!OpenClipboard(owner)) throw std::runtime_error("Impossible d'ouvrir le presse-papiers");
    const ScopeExit close([] { CloseClipboard(); });
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, block.get()))
        throw std::runtime_error("Impossible de copier dans le presse-papiers");
    // The clipboard owns the block from here.
    block.release();
}

namespace {

std::map<int, HCURSOR>& Table() {
    static std::map<int, HCURSOR> table;
    return table;
}

}  // namespace

void SetScreenCursor(int number, HCURSOR cursor) {
    if (cursor)
        Table()[number] = cursor;
    else
        Table().erase(number);
}

HCURSOR InstalledScreenCursor(int number) {
    const auto found = Table().find(number);
    return found != Table().end() ? found->second : nullptr;
}

HCURSOR ScreenCursor(int number) {
    if (HCURSOR cursor = InstalledScreenCursor(number)) return cursor;
    return LoadCursorW(nullptr, IDC_ARROW);
}

}  // namespace sorv
