#pragma once
// File and profile errors. Their text is what the application's standard
// error box shows: the file concerned, then what went wrong in plain French.
#include <stdexcept>
#include <string>

namespace sorv {

// The French text of a platform I/O error code (2, 3, 4, 5, 19, 100, 101, 106,
// and the codes a user meets most: a sharing or lock violation, an entry
// that exists, a name too long, a file too large for its file system (FAT32's 4 GiB), a
// quota exceeded, a device error; otherwise "Erreur E/S <code>").
std::string IoErrorText(int code);

// The platform's "access denied", also given where a path names something
// the engine must not read or replace (a folder, a device, a link).
inline constexpr int kAccessDenied = 5;

// A medium that takes no writes (ERROR_WRITE_PROTECT).
inline constexpr int kWriteProtected = 19;

// A file held fewer bytes than were asked of it.
inline constexpr int kReadPastEnd = 100;

// A name longer than the file system takes (ERROR_FILENAME_EXCED_RANGE).
inline constexpr int kNameTooLong = 206;

class IoError : public std::runtime_error {
public:
    explicit IoError(int code, std::string path = {}) : IoError(code, std::move(path), IoErrorText(code)) {}
    // A refusal of the engine's own, whose reason the code's text would not say.
    IoError(int code, std::string path, std::string text)
        : std::runtime_error(path.empty() ? text : path + " : " + text),
          code_(code),
          path_(std::move(path)),
          text_(std::move(text)) {}
    int code() const { return code_; }
    // The file the failing operation worked on; empty when unknown.
    const std::string& path() const { return path_; }
    // What went wrong, without the file.
    const std::string& text() const { return text_; }

private:
    int code_;
    std::string path_;
    std::string text_;
};

// The script file could not be written: "Ne peut écrire dans <path>".
class ProfileWriteError : public std::runtime_error {
public:
    explicit ProfileWriteError(const std::string& path)
        : std::runtime_error("Ne peut écrire dans " + path) {}
};

}  // namespace sorv
