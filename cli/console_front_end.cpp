#include "console_front_end.h"

#include <algorithm>
#include <cerrno>

#include "answer_text.h"
#include "exit_status.h"
#include "interrupt.h"

namespace sorv {

namespace {

// Box texts carry CR LF line breaks; a terminal wants LF alone.
std::string ForTerminal(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        shown += text[i];
    }
    return shown;
}

// One line from the stream, without its end; false at end of input or on an
// error (an interrupted read among them).
bool ReadLine(std::FILE* in, std::string& line) {
    line.clear();
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, in)) {
        line += chunk;
        if (!line.empty() && line.back() == '\n') return true;
    }
    const bool gotSome = !line.empty() && !std::ferror(in);
    std::clearerr(in);
    return gotSome;
}

}  // namespace

bool PutText(std::FILE* stream, const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    return std::fflush(stream) == 0 && written;
}

ConsoleFrontEnd::ConsoleFrontEnd(const Console& console, std::int32_t sizeChoice, AutoAnswer answers)
    : con_(console), sizeChoice_(sizeChoice), answers_(answers) {}

void ConsoleFrontEnd::ShowError(const std::string& what) { SayOnErr(ErrorBoxText(what)); }

void ConsoleFrontEnd::AppendLog(const std::string& line) {
    ClearProgressLine();
    // A closed pipe whose signal we catch ends the run by that signal; any
    // other refusal (the signal ignored by whoever started us included)
    // loses the log.
    if (!PutText(con_.out, line + "\n") && !(errno == EPIPE && EndingBySignal())) logLost_ = true;
}

void ConsoleFrontEnd::ReportFailure(const std::string& line) {
    AppendLog(line);
    SayOnErr(line);
}

// The log is a stream: there is nothing to take back.
void ConsoleFrontEnd::ClearLog() {}

void ConsoleFrontEnd::SetProgressMax(std::int64_t maximum) {
    progressMax_ = std::max<std::int64_t>(maximum, 0);
    progressPosition_ = std::min(progressPosition_, progressMax_);
}

void ConsoleFrontEnd::AdvanceProgress(std::int64_t bytes) {
    progressPosition_ = std::clamp<std::int64_t>(progressPosition_ + bytes, 0, progressMax_);
}

// The operation is over: the message runs of a clean-up show no progress.
void ConsoleFrontEnd::ResetProgress() {
    progressPosition_ = 0;
    progressMax_ = 0;
    ClearProgressLine();
}

void ConsoleFrontEnd::ShowMessage(const std::string& text) { SayOnErr(text); }

Answer ConsoleFrontEnd::AskWarning(const std::string& text) { return Ask(text); }
Answer ConsoleFrontEnd::AskConfirmation(const std::string& text) { return Ask(text); }
Answer ConsoleFrontEnd::AskPlain(const std::string& text) { return Ask(text); }

void ConsoleFrontEnd::ShowSliceSizeDialog(EngineState& state, const std::string&, const std::string&) {
    // The size was chosen on the command line: the dialog is accepted with it.
    state.SizeChoice = sizeChoice_;
    state.DialogAccepted = true;
}

void ConsoleFrontEnd::ProcessMessages() {
    // A Ctrl+C counts only while a split or join copies; one that came
    // earlier waits for it.
    if (state_ && state_->Busy && TakeInterrupt()) state_->CancelRequested = true;

    if (!con_.errIsTerminal || progressMax_ <= 0) return;
    const auto percent = progressPosition_ * 100 / progressMax_;
    std::fprintf(con_.err, "\r %3d %%", static_cast<int>(percent));
    std::fflush(con_.err);
    progressShown_ = true;
}

Answer ConsoleFrontEnd::Ask(const std::string& text) {
    const std::string question = ForTerminal(text) + " [o/n] ";
    if (answers_ != AutoAnswer::Ask) {
        // A stop asked since the copy (Ctrl+C, a signal) answers No: nothing more is deleted.
        const bool yes = answers_ == AutoAnswer::Yes && !TakeInterrupt();
        SayOnErr(question + (yes ? "o" : "n"));
        return yes ? Answer::Yes : Answer::No;
    }
    if (!con_.inIsTerminal) {
        // Nobody to answer: as a box closed by its title bar.
        SayOnErr(question);
        return Answer::None;
    }
    ClearProgressLine();
    std::string line;
    for (;;) {
        PutText(con_.err, question);
        if (!ReadLine(con_.in, line)) {
            PutText(con_.err, "\n");
            // A Ctrl+C at the question closes it; it does not also stop what follows.
            TakeInterrupt();
            return Answer::None;
        }
        if (const auto yes = ParseYesNoAnswer(line)) return *yes ? Answer::Yes : Answer::No;
    }
}

void ConsoleFrontEnd::SayOnErr(const std::string& text) {
    ClearProgressLine();
    PutText(con_.err, ForTerminal(text) + "\n");
}

void ConsoleFrontEnd::ClearProgressLine() {
    if (!progressShown_) return;
    PutText(con_.err, "\r       \r");
    progressShown_ = false;
}

}  // namespace sorv
