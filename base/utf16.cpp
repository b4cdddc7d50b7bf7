#include "utf16.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace sorv {
namespace {

int CheckedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX)) throw std::length_error("text too long for the Win32 conversion");
    return static_cast<int>(size);
}

}  // namespace

// No MB_ERR_INVALID_CHARS: invalid bytes are replaced rather than refused.
std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = CheckedLength(utf8.size());
    const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (wide <= 0) return {};
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, out.data(), wide);
    return out;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int length = CheckedLength(utf16.size());
    const int narrow = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return {};
    std::string out(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, out.data(), narrow, nullptr, nullptr);
    return out;
}

}  // namespace sorv
