#pragma once
// A dialog template built in memory (DLGTEMPLATE and its items), for windows
// of the dialog class #32770 made without a resource file.
#include <windows.h>

#include <string_view>
#include <vector>

namespace sorv::tk {

class DialogTemplate {
public:
    // DS_SETFONT is added: the dialog uses `face` at `pointSize`.
    DialogTemplate(DWORD style, DWORD exStyle, std::wstring_view title, WORD pointSize, std::wstring_view face);

    enum class ItemClass : WORD { Button = 0x0080, Edit = 0x0081, Static = 0x0082 };
    // Position and size in dialog units.
    void AddItem(ItemClass itemClass, WORD id, std::wstring_view text, DWORD style, short x, short y, short cx,
                 short cy);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Align();
    void PutString(std::wstring_view text);
    void PutDword(DWORD value);

    std::vector<WORD> words_;
    std::size_t countIndex_;
};

}  // namespace sorv::tk
