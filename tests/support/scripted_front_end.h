#pragma once
// A front end that records what the engine shows and answers from a script.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "front_end.h"

namespace sorv::test {

class ScriptedFrontEnd : public FrontEnd {
public:
    // Recorded output.
    std::vector<std::string> log;
    // Every box shown, as "kind: text" (kind: message, warning, confirmation, plain).
    std::vector<std::string> boxes;
    std::int64_t progressMax = 0;
    std::int64_t progressPosition = 0;
    // Progress position seen at each message run.
    std::vector<std::int64_t> positionsAtMessageRuns;
    int messageRuns = 0;

    // Answers given to the Yes/No boxes, in order. A question with no
    // scripted answer fails the test.
    std::deque<Answer> answers;

    // The slice-size dialog: the choice the user clicks (0: none) and
    // whether "&Ok" is pressed.
    std::int32_t dialogChoice = 0;
    bool dialogAccepts = true;
    int dialogShown = 0;
    std::string dialogFileLabel, dialogSizeLabel;

    // Runs while each Yes/No box is up, before it is answered (the user at work meanwhile).
    std::function<void()> onQuestion;
    // Runs at each message run, after recording it (to press Escape, drop...).
    std::function<void()> onMessageRun;
    // A fake clock in microseconds: with one, copies run messages inside the
    // slices too (a test moves it, for instance from a slow file system).
    std::optional<std::int64_t> clock;

    void AppendLog(const std::string& line) override;
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
    std::optional<std::int64_t> ClockMicroseconds() override { return clock; }

private:
    Answer NextAnswer(const std::string& kind, const std::string& text);
};

}  // namespace sorv::test
