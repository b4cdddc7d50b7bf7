#pragma once
// The drop target: makes its owner window accept files dragged from the
// desktop shell, collects their full names and raises OnDrop with the point
// of the drop. It watches the owner's messages through the window's hook
// chain, so it can be removed in any order with the other hooks there.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "hook_chain.h"

namespace sorv {

namespace tk {
class Window;
}

class TFileDrag {
public:
    // Sender, and the drop point in the owner's client coordinates.
    using TDropEvent = std::function<void(TFileDrag* Sender, int X, int Y)>;

    // Starting size of the name buffer, in characters.
    static constexpr std::size_t kInitialNameBuffer = 128;

    // A null owner, or one without a window, is not a drop target: nothing
    // is hooked and EnableDrop is false.
    explicit TFileDrag(tk::Window* owner);
    ~TFileDrag();
    TFileDrag(const TFileDrag&) = delete;
    TFileDrag& operator=(const TFileDrag&) = delete;

    // The files of the last drop, in the shell's order; kept until the next.
    const std::vector<std::string>& Files() const { return files_; }
    int FileCount() const { return fileCount_; }

    bool EnableDrop() const { return enableDrop_; }
    // Tells the shell on every write, even when the value is unchanged.
    void SetEnableDrop(bool enable);

    // Called after each drop, while the shell's drop data is still held.
    TDropEvent OnDrop;

    // Size, in characters, that the name buffer had at the end of the last
    // drop: it grows to exactly the longest name plus its NUL.
    std::size_t NameBufferSize() const { return nameBufferSize_; }

private:
    LRESULT Hook(const tk::Message& message, const tk::NextHook& next);
    void HandleDrop(HDROP drop);
    HWND Window() const;

    tk::Window* owner_ = nullptr;  // null when not a windowed owner
    std::vector<std::string> files_;
    int fileCount_ = 0;
    bool enableDrop_ = true;
    std::size_t nameBufferSize_ = 0;
    int menuDeferrals_ = 0;  // times the drop waited for a menu to close
    tk::HookRegistration hook_;
};

}  // namespace sorv
