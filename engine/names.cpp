#include "names.h"

#include <charconv>

namespace sorv {

namespace {

std::size_t NameStart(std::string_view path, PathStyle style) {
    const auto last = path.find_last_of(style.delimiters);
    return last == std::string_view::npos ? 0 : last + 1;
}

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

namespace {

// The set's names: the base name, "°" and what tells them apart.
std::string WithExtension(std::string_view path, PathStyle style, std::string_view tail) {
    std::string name = FolderOf(path, style);
    name.append(BaseNameOf(path, style)).append(kSliceExtensionPrefix).append(tail);
    return name;
}

}  // namespace

std::string SliceFileName(std::string_view path, std::int64_t n, PathStyle style) {
    return WithExtension(path, style, SliceNumberText(n));
}

std::string ScriptFileName(std::string_view path, PathStyle style) {
    return FolderOf(path, style) + BaseNameOf(path, style) + ".d";
}

std::string PartialScriptName(std::string_view sourcePath, PathStyle style) {
    return WithExtension(sourcePath, style, "d");
}

std::string PartialJoinName(std::string_view scriptPath, PathStyle style) {
    return WithExtension(scriptPath, style, "00");
}

std::string RecoverySliceFileName(std::string_view path, std::int64_t r, PathStyle style) {
    return WithExtension(path, style, "s" + SliceNumberText(r));
}

std::string RepairPartialName(std::string_view path, std::int64_t n, bool recovery, PathStyle style) {
    return WithExtension(path, style, (recovery ? "rs" : "r") + SliceNumberText(n));
}

std::optional<std::int64_t> RepairPartialNumber(std::string_view extension, bool recovery) {
    const std::string_view letters = recovery ? "rs" : "r";
    if (!extension.starts_with(kSliceExtensionPrefix)) return std::nullopt;
    extension.remove_prefix(kSliceExtensionPrefix.size());
    if (extension.size() <= letters.size()) return std::nullopt;
    for (std::size_t i = 0; i < letters.size(); ++i)
        if ((extension[i] | 0x20) != letters[i]) return std::nullopt;
    const std::string_view digits = extension.substr(letters.size());
    std::int64_t n = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return n;
}

std::string DamagedFileName(std::string_view path, int attempt) {
    std::string name(path);
    name += ".endommag\xC3\xA9" "e";
    if (attempt > 1) name += "-" + std::to_string(attempt);
    return name;
}

bool IsScriptExtension(std::string_view extension) { return extension == ".d" || extension == ".D"; }

}  // namespace sorv
