#pragma once
// What the file-layer tests share: the native file system and the code of
// the I/O error an action raises.
#include <functional>
#include <string>

#include "file_system.h"
#include "io_error.h"

namespace sorv {

inline FileSystem& Fs() { return NativeFileSystem(); }

// The IoError code thrown by f, or 0 when it threw none.
inline int ErrorCode(const std::function<void()>& f, std::string* text = nullptr) {
    try {
        f();
    } catch (const IoError& e) {
        if (text != nullptr) *text = e.text();
        return e.code();
    }
    return 0;
}

}  // namespace sorv
