#pragma once
// The text of the standard error box.
#include <string>
#include <string_view>

namespace sorv::tk {

// The error's text with "." appended when its last character comes after "."
// in the character order ("Fichier introuvable" gets one, "Erreur !" not).
// Any UTF-8 sequence's last byte is above 0x7F, hence after ".".
inline std::string ErrorBoxText(std::string_view text) {
    std::string result(text);
    if (!result.empty() && static_cast<unsigned char>(result.back()) > '.') result += '.';
    return result;
}

}  // namespace sorv::tk
