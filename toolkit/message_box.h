#pragma once
// The program's message boxes, in French: dialog windows (class #32770) with
// the buttons "OK" or "&Oui" and "&Non". In a Yes/No box, Yes is the default
// button (Enter) and Escape presses No; closing the box by its title bar
// gives no answer.
#include <string_view>

namespace sorv::tk {

enum class BoxKind {
    Message,       // "OK", the application title, no icon
    Warning,       // "&Oui"/"&Non", "Avertissement", warning icon
    Confirmation,  // "&Oui"/"&Non", "Confirmation", question icon
    Question,      // "&Oui"/"&Non", the application title, no icon
    Error,         // "OK", the application title, stop icon
};

enum class BoxAnswer { Ok, Yes, No, None };

// Shows the box modally over the program's active window.
BoxAnswer ShowMessageBox(BoxKind kind, std::string_view text);

// Control ids inside a box, for those who look at one.
inline constexpr int kBoxIconId = 0x0101;
inline constexpr int kBoxTextId = 0x0102;

}  // namespace sorv::tk
