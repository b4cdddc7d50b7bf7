#include "hook_chain.h"

#include <algorithm>

namespace sorv::tk {

LRESULT NextHook::operator()(const Message& message) const {
    for (std::size_t i = index_; i < entries_.size(); ++i) {
        const HookEntry& entry = *entries_[i];
        if (entry.live) return entry.hook(message, NextHook(entries_, i + 1, last_, context_));
    }
    return last_(context_, message);
}

void HookRegistration::Remove() {
    if (auto entry = entry_.lock()) entry->live = false;
    entry_.reset();
}

bool HookRegistration::Installed() const {
    auto entry = entry_.lock();
    return entry && entry->live;
}

HookRegistration HookChain::Add(MessageHook hook) {
    std::erase_if(entries_, [](const auto& e) { return !e->live; });
    auto entry = std::make_shared<HookEntry>(HookEntry{std::move(hook), true});
    entries_.insert(entries_.begin(), entry);
    return HookRegistration(entry);
}

LRESULT HookChain::Run(const Message& message, NextHook::Last last, void* context) {
    if (entries_.empty()) return last(context, message);
    std::erase_if(entries_, [](const auto& e) { return !e->live; });
    // A copy: hooks may add or remove hooks while the message travels, and a
    // hook that removes itself must stay alive until it returns.
    const std::vector<std::shared_ptr<HookEntry>> snapshot = entries_;
    return NextHook(snapshot, 0, last, context)(message);
}

std::size_t HookChain::Size() const {
    return static_cast<std::size_t>(std::count_if(entries_.begin(), entries_.end(), [](const auto& e) { return e->live; }));
}

}  // namespace sorv::tk
