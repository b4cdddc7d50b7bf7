#include "screen_cursors.h"

#include <map>

namespace sorv {
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
