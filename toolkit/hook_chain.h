#pragma once
// Message hooks on one window. Several components (the drop target, the
// caption painter, the tool window) watch the same form and go away in any
// order, so the hooks live in an ordered list owned by the window rather than
// in a chain of replaced window procedures, which breaks when a link in the
// middle is removed.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

namespace sorv::tk {

struct Message {
    HWND window;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

struct HookEntry;

// Passes a message on to the rest of the chain: the older hooks, then the
// window's own procedure. A hook may pass a changed message.
class NextHook {
public:
    using Last = LRESULT (*)(void* context, const Message& message);
    LRESULT operator()(const Message& message) const;

private:
    friend class HookChain;
    NextHook(const std::vector<std::shared_ptr<HookEntry>>& entries, std::size_t index, Last last, void* context)
        : entries_(entries), index_(index), last_(last), context_(context) {}
    const std::vector<std::shared_ptr<HookEntry>>& entries_;
    std::size_t index_;
    Last last_;
    void* context_;
};

using MessageHook = std::function<LRESULT(const Message& message, const NextHook& next)>;

struct HookEntry {
    MessageHook hook;
    bool live = true;
};

// Keeps a hook installed for its lifetime; Remove() (or destruction) takes it
// out. Outliving the window is harmless.
class HookRegistration {
public:
    HookRegistration() = default;
    explicit HookRegistration(std::weak_ptr<HookEntry> entry) : entry_(std::move(entry)) {}
    ~HookRegistration() { Remove(); }
    HookRegistration(HookRegistration&&) noexcept = default;
    HookRegistration& operator=(HookRegistration&& other) noexcept {
        if (this != &other) {
            Remove();
            entry_ = std::move(other.entry_);
        }
        return *this;
    }
    HookRegistration(const HookRegistration&) = delete;
    HookRegistration& operator=(const HookRegistration&) = delete;

    void Remove();
    bool Installed() const;

private:
    std::weak_ptr<HookEntry> entry_;
};

class HookChain {
public:
    // The newest hook sees each message first.
    [[nodiscard]] HookRegistration Add(MessageHook hook);

    // Runs the live hooks, newest first, then `last`. Hooks added or removed
    // while a message is on its way take effect from the next message; a
    // removed hook is never called again, even for the message in flight.
    LRESULT Run(const Message& message, NextHook::Last last, void* context);

    std::size_t Size() const;

private:
    std::vector<std::shared_ptr<HookEntry>> entries_;
};

}  // namespace sorv::tk
