#pragma once
// Name rules of slices and scripts: plain string operations on a path.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sorv {

// The characters that end a folder part.
struct PathStyle {
    std::string_view delimiters;
};
inline constexpr PathStyle kWindowsPaths{"\\:/"};
inline constexpr PathStyle kPosixPaths{"/"};
// A recorded file name may come from a script made on Windows: on POSIX its
// name part also ends at a backslash.
inline constexpr PathStyle kPosixRecordedNames{"/\\"};
#ifdef _WIN32
inline constexpr PathStyle kNativePaths = kWindowsPaths;
#else
inline constexpr PathStyle kNativePaths = kPosixPaths;
#endif

// The rules for the name recorded in a script, under a given path style.
constexpr PathStyle RecordedNameStyle(PathStyle style) {
    return style.delimiters.find('\\') != std::string_view::npos ? style : kPosixRecordedNames;
}

// The degree sign that starts every slice extension, in UTF-8.
inline constexpr std::string_view kDegree = "\xC2\xB0";
// What every slice extension starts with: ".°".
inline constexpr std::string_view kSliceExtensionPrefix = ".\xC2\xB0";

// Everything up to and including the last delimiter ("" when none).
std::string FolderOf(std::string_view path, PathStyle style = kNativePaths);
// The path without its folder.
std::string NamePartOf(std::string_view path, PathStyle style = kNativePaths);
// From the last "." of the name part to the end, "." included; "" when none.
std::string ExtensionOf(std::string_view path, PathStyle style = kNativePaths);
// The name part without its extension.
std::string BaseNameOf(std::string_view path, PathStyle style = kNativePaths);

// "01".."09", then "10", "11", ... without leading zeros.
std::string SliceNumberText(std::int64_t n);
// folder + base name + ".°" + number.
std::string SliceFileName(std::string_view path, std::int64_t n, PathStyle style = kNativePaths);
// folder + base name + ".d".
std::string ScriptFileName(std::string_view path, PathStyle style = kNativePaths);

// Where a split writes its script until the last slice is done: folder +
// base name + ".°d". Found after a killed split, it tells that the slices
// beside it are that split's leftovers.
std::string PartialScriptName(std::string_view sourcePath, PathStyle style = kNativePaths);
// Where a join rebuilds the file until it is complete and checked: folder +
// base name of the script + ".°00" (there is no slice 0). As long as the
// slice names, so it fits wherever they do.
std::string PartialJoinName(std::string_view scriptPath, PathStyle style = kNativePaths);

// Recovery slice r (from 1): folder + base name + ".°s" + number, written
// like slice numbers. Never a slice's name (digits only) nor a partial one,
// and sorted right after the slices.
std::string RecoverySliceFileName(std::string_view path, std::int64_t r, PathStyle style = kNativePaths);
// Where a repair writes a slice (".°r" + number) or a recovery slice
// (".°rs" + number) again until it is checked and put in place.
std::string RepairPartialName(std::string_view path, std::int64_t n, bool recovery, PathStyle style = kNativePaths);
// The number in a repair partial's extension (".°r02": 2; ".°rs01": 1 with
// `recovery`), its letters in either case; none for any other extension.
std::optional<std::int64_t> RepairPartialNumber(std::string_view extension, bool recovery);
// The name a damaged file is kept under when a repair puts a good one in its
// place: the name + ".endommagée", then ".endommagée-2", "-3"... for `attempt`.
std::string DamagedFileName(std::string_view path, int attempt);

// True for ".d" and ".D": such files are joined, all others split.
bool IsScriptExtension(std::string_view extension);

}  // namespace sorv
