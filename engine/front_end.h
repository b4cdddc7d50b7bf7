#pragma once
// What the engine needs from the program that drives it: the log area, the
// progress bar, the message boxes, the slice-size dialog and a way to let the
// pending window messages run once.
#include <cstdint>
#include <optional>
#include <string>

#include "engine_state.h"

namespace sorv {

// The answer of a Yes/No box; None when it was closed by its title bar.
enum class Answer { Yes, No, None };

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    virtual void AppendLog(const std::string& line) = 0;
    virtual void ClearLog() = 0;
    // A log line that says an operation went wrong although no error was
    // raised (a rebuilt file of the wrong size, a source that changed). A
    // front end may show it more prominently too.
    virtual void ReportFailure(const std::string& line) { AppendLog(line); }

    // The progress range is 0..maximum in bytes; Advance never passes the
    // maximum (the front end clamps), Reset puts the position back to 0.
    virtual void SetProgressMax(std::int64_t maximum) = 0;
    virtual void AdvanceProgress(std::int64_t bytes) = 0;
    virtual void ResetProgress() = 0;

    // Plain message: one "OK" button, titled with the application title, no icon.
    virtual void ShowMessage(const std::string& text) = 0;
    // Warning (title "Avertissement") with Yes and No.
    virtual Answer AskWarning(const std::string& text) = 0;
    // Confirmation (title "Confirmation", question icon) with Yes and No.
    virtual Answer AskConfirmation(const std::string& text) = 0;
    // No icon, titled with the application title, Yes and No.
    virtual Answer AskPlain(const std::string& text) = 0;

    // Shows the slice-size dialog modally with its two label texts. The
    // dialog sets state.DialogAccepted (false on each showing, true on "&Ok")
    // and state.SizeChoice (its radio buttons).
    virtual void ShowSliceSizeDialog(EngineState& state, const std::string& fileLabel,
                                     const std::string& sizeLabel) = 0;

    // Lets the pending window messages run once (repaint, keys, menus).
    virtual void ProcessMessages() = 0;
    // A clock in microseconds from any origin, read between two pieces of a
    // copy: when 50 ms have passed since the last message run, the messages
    // run inside the slice too. Without a clock a slice is copied in one go
    // and the messages run after it only.
    virtual std::optional<std::int64_t> ClockMicroseconds() { return std::nullopt; }
    // A split or join flow has ended, however: output held back is shown now.
    virtual void FlowEnded() {}
};

}  // namespace sorv
