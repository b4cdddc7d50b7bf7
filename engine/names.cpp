#include "names.h"

#include <algorithm>

namespace sorv {

namespace {

std::size_t NameStart(std::string_view path, PathStyle style) {
    const auto last = path.find_last_of(style.delimiters);
    return last == std::string_view::npos ? 0 : last + 1;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string FolderOf(std::string_view path, PathStyle style) {
    return std::string(path.substr(0, NameStart(path, style)));
}

std::string NamePartOf(std::string_view path, PathStyle style) {
    return std::string(path.substr(NameStart(path, style)));
}

std::string ExtensionOf(std::string_view path, PathStyle style) {
    const auto start = NameStart(path, style);
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < start) return {};
    return std::string(path.substr(dot));
}

std::string BaseNameOf(std::string_view path, PathStyle style) {
    const std::string name = NamePartOf(path, style);
    return name.substr(0, name.size() - ExtensionOf(path, style).size());
}

std::string SliceNumberText(std::int64_t n) {
    std::string digits = std::to_string(n);
    return (n >= 0 && n < 10) ? "0" + digits : digits;
}

std::string SliceFileName(std::string_view path, std::int64_t n, PathStyle style) {
    std::string name = FolderOf(path, style);
    name.append(BaseNameOf(path, style)).append(kSliceExtensionPrefix).append(SliceNumberText(n));
    return name;
}

std::int64_t SliceNumberOf(std::string_view path, PathStyle style) {
    const std::string extension = ExtensionOf(path, style);
    if (!extension.starts_with(kSliceExtensionPrefix)) return 0;
    const std::string digits = extension.substr(kSliceExtensionPrefix.size());
    if (digits.empty() || digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const std::int64_t n = std::stoll(digits);
    return (n >= 1 && SliceNumberText(n) == digits) ? n : 0;
}

std::string ScriptFileName(std::string_view path, PathStyle style) {
    return FolderOf(path, style) + BaseNameOf(path, style) + ".d";
}

bool IsScriptExtension(std::string_view extension) { return extension == ".d" || extension == ".D"; }

bool SameFileName(std::string_view a, std::string_view b, PathStyle style) {
    if (style.delimiters.find('\\') == std::string_view::npos) return a == b;
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

}  // namespace sorv
