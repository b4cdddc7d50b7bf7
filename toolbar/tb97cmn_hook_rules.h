#pragma once
// The book-keeping of the shared thread hooks: which callbacks want which
// kinds of event, how often each was registered, and which system hooks must
// be installed for them. The hook manager applies it to the real hooks.
#include <algorithm>
#include <array>
#include <vector>

#include "tb97_dock_rules.h"

namespace sorv::toolbar {

enum class THookProcType { hkActivateApp, hkWindowPosChanged, hkPreDestroy, hkMouseMove };
using THookProcTypes = EnumSet<THookProcType>;

// The system hook each kind of event comes from.
enum class SystemHook { CallWindowProc, ComputerBasedTraining, GetMessage };
inline constexpr std::size_t kSystemHookCount = 3;

constexpr SystemHook SystemHookOf(THookProcType kind) {
    switch (kind) {
        case THookProcType::hkActivateApp:
        case THookProcType::hkWindowPosChanged: return SystemHook::CallWindowProc;
        case THookProcType::hkPreDestroy: return SystemHook::ComputerBasedTraining;
        default: return SystemHook::GetMessage;
    }
}

// Each system hook once, however many of its kinds are asked for.
inline std::vector<SystemHook> SystemHooksOf(THookProcTypes kinds) {
    std::vector<SystemHook> hooks;
    for (THookProcType kind : {THookProcType::hkActivateApp, THookProcType::hkWindowPosChanged,
                               THookProcType::hkPreDestroy, THookProcType::hkMouseMove}) {
        if (kinds.Has(kind) && std::find(hooks.begin(), hooks.end(), SystemHookOf(kind)) == hooks.end())
            hooks.push_back(SystemHookOf(kind));
    }
    return hooks;
}

// Which system hooks have work to do now. A thread hook slows every message
// of the thread (under Wine a sent message costs two round trips to the
// server instead of none), so a registered callback's hooks are installed
// only while it says it has work: the tool windows while one floats, the
// buttons while one is hot. Each Want(kinds, true) is undone by one
// Want(kinds, false).
class HookDemand {
public:
    void Want(THookProcTypes kinds, bool on) {
        for (SystemHook hook : SystemHooksOf(kinds)) {
            int& count = wants_[static_cast<std::size_t>(hook)];
            count = on ? count + 1 : std::max(0, count - 1);
        }
    }
    bool Wanted(SystemHook hook) const { return wants_[static_cast<std::size_t>(hook)] > 0; }

private:
    std::array<int, kSystemHookCount> wants_{};
};

template <typename Callback>
class HookRegistry {
public:
    struct Change {
        std::vector<SystemHook> install;  // hooks needed from now on
        std::vector<SystemHook> remove;   // hooks no longer needed
    };

    // A callback registered again only counts once more; it keeps the kinds
    // it was first registered with.
    Change Register(Callback callback, THookProcTypes kinds) {
        auto it = Find(callback);
        if (it == entries_.end()) {
            entries_.push_back({callback, kinds, 1});
        } else {
            ++it->references;
            kinds = it->kinds;
        }
        Change change;
        ForEachHook(kinds, [&](SystemHook hook, int& users) {
            if (users++ == 0) change.install.push_back(hook);
        });
        return change;
    }

    Change Unregister(Callback callback) {
        Change change;
        auto it = Find(callback);
        if (it == entries_.end()) return change;
        ForEachHook(it->kinds, [&](SystemHook hook, int& users) {
            if (users > 0 && --users == 0) change.remove.push_back(hook);
        });
        if (--it->references == 0) entries_.erase(it);
        return change;
    }

    // The callbacks that want this kind, in registration order (a copy:
    // callbacks may register and unregister while they run).
    std::vector<Callback> CallbacksFor(THookProcType kind) const {
        std::vector<Callback> callbacks;
        for (const Entry& entry : entries_)
            if (entry.kinds.Has(kind)) callbacks.push_back(entry.callback);
        return callbacks;
    }

    int References(Callback callback) const {
        auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.callback == callback; });
        return it == entries_.end() ? 0 : it->references;
    }
    bool Needs(SystemHook hook) const { return users_[static_cast<std::size_t>(hook)] > 0; }

private:
    struct Entry {
        Callback callback;
        THookProcTypes kinds;
        int references;
    };

    auto Find(Callback callback) {
        return std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.callback == callback; });
    }

    template <typename F>
    void ForEachHook(THookProcTypes kinds, F&& f) {
        for (SystemHook hook : SystemHooksOf(kinds)) f(hook, users_[static_cast<std::size_t>(hook)]);
    }

    std::vector<Entry> entries_;
    std::array<int, kSystemHookCount> users_{};
};

}  // namespace sorv::toolbar
