#pragma once
// The one guard for code that the window system calls (window procedures,
// timers, thread hooks, help routing): no exception may unwind through the
// system's frames. An error is shown in the application's error box, or,
// where a box would re-enter the caller (thread hooks), dropped.
#include <functional>

namespace sorv::tk {

enum class OnError { Report, Drop };

// Runs `code`; true when it ran to its end.
bool Guard(const std::function<void()>& code, OnError onError = OnError::Report) noexcept;

}  // namespace sorv::tk
