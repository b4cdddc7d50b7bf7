#include "dialog_template.h"

namespace sorv::tk {

DialogTemplate::DialogTemplate(DWORD style, DWORD exStyle, std::wstring_view title, WORD pointSize,
                               std::wstring_view face) {
    PutDword(style | DS_SETFONT);
    PutDword(exStyle);
    countIndex_ = words_.size();
    words_.push_back(0);  // item count
    for (int i = 0; i < 4; ++i) words_.push_back(0);  // x, y, cx, cy: placed at WM_INITDIALOG
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the dialog class
    PutString(title);
    words_.push_back(pointSize);
    PutString(face);
}

void DialogTemplate::AddItem(ItemClass itemClass, WORD id, std::wstring_view text, DWORD style, short x, short y,
                             short cx, short cy) {
    Align();
    PutDword(style);
    PutDword(0);
    for (short value : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(value));
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(static_cast<WORD>(itemClass));
    PutString(text);
    words_.push_back(0);  // no creation data
    ++words_[countIndex_];
}

void DialogTemplate::Align() {
    // Items start on DWORD boundaries (the vector's storage is aligned).
    if (words_.size() % 2) words_.push_back(0);
}

void DialogTemplate::PutString(std::wstring_view text) {
    for (wchar_t c : text) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
}

void DialogTemplate::PutDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

}  // namespace sorv::tk
