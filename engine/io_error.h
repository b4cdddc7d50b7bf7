#pragma once
// File and profile errors. Their text is what the application's standard
// error box shows; the file concerned travels beside it for the front ends
// that can show more (sorv-cli prints it on a line of its own).
#include <stdexcept>
#include <string>

namespace sorv {

// The French text of a platform I/O error code (2, 3, 4, 5, 100, 101, 106,
// otherwise "Erreur E/S <code>").
std::string IoErrorText(int code);

class IoError : public std::runtime_error {
public:
    explicit IoError(int code, std::string path = {})
        : std::runtime_error(IoErrorText(code)), code_(code), path_(std::move(path)) {}
    int code() const { return code_; }
    // The file the failing operation worked on; empty when unknown.
    const std::string& path() const { return path_; }

private:
    int code_;
    std::string path_;
};

// The script file could not be written: "Ne peut écrire dans <path>".
class ProfileWriteError : public std::runtime_error {
public:
    explicit ProfileWriteError(const std::string& path)
        : std::runtime_error("Ne peut écrire dans " + path) {}
};

}  // namespace sorv
