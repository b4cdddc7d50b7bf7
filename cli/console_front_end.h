#pragma once
// The engine's front end on a text console: log lines on standard output,
// messages, questions, errors and the progress display on standard error,
// answers read from standard input.
#include <cstdint>
#include <cstdio>
#include <string>

#include "cli_options.h"
#include "front_end.h"

namespace sorv {

struct Console {
    std::FILE* in = nullptr;
    std::FILE* out = nullptr;
    std::FILE* err = nullptr;
    // Questions are asked only on a terminal; the progress is shown only there.
    bool inIsTerminal = false;
    bool errIsTerminal = false;
};

// Writes and flushes at once; false when the stream refused (a full disk,
// a closed pipe).
bool PutText(std::FILE* stream, const std::string& text);

class ConsoleFrontEnd : public FrontEnd {
public:
    // sizeChoice: what the slice-size dialog answers; answers: how questions are answered.
    ConsoleFrontEnd(const Console& console, std::int32_t sizeChoice, AutoAnswer answers);

    // The engine state whose running operation a Ctrl+C stops.
    void Watch(EngineState& state) { state_ = &state; }
    // Standard output refused a log line: what the run said is lost.
    bool LogLost() const { return logLost_; }

    // Shows an error as the program's error box would, on standard error.
    void ShowError(const std::string& what);

    void AppendLog(const std::string& line) override;
    // On standard output with the log, and on standard error, where a script
    // watching for errors looks.
    void ReportFailure(const std::string& line) override;
    void ClearLog() override;
    void SetProgressMax(std::int64_t maximum) override;
    void AdvanceProgress(std::int64_t bytes) override;
    void ResetProgress() override;
    void ShowMessage(const std::string& text) override;
    Answer AskWarning(const std::string& text) override;
    Answer AskConfirmation(const std::string& text) override;
    Answer AskPlain(const std::string& text) override;
    void ShowSliceSizeDialog(EngineState& state, const std::string& fileLabel,
                             const std::string& sizeLabel) override;
    void ProcessMessages() override;

private:
    Answer Ask(const std::string& text);
    // Writes a text meant for a box on standard error, with its own line end.
    void SayOnErr(const std::string& text);
    void ClearProgressLine();

    Console con_;
    std::int32_t sizeChoice_;
    AutoAnswer answers_;
    EngineState* state_ = nullptr;
    std::int64_t progressMax_ = 0;
    std::int64_t progressPosition_ = 0;
    bool progressShown_ = false;
    bool logLost_ = false;
};

}  // namespace sorv
