#include "scripted_front_end.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace sorv::test {

void ScriptedFrontEnd::AppendLog(const std::string& line) { log.push_back(line); }
void ScriptedFrontEnd::ClearLog() { log.clear(); }
void ScriptedFrontEnd::SetProgressMax(std::int64_t maximum) { progressMax = maximum; }
void ScriptedFrontEnd::AdvanceProgress(std::int64_t bytes) {
    progressPosition = std::min(progressPosition + bytes, progressMax);
}
void ScriptedFrontEnd::ResetProgress() { progressPosition = 0; }
void ScriptedFrontEnd::ShowMessage(const std::string& text) { boxes.push_back("message: " + text); }

Answer ScriptedFrontEnd::NextAnswer(const std::string& kind, const std::string& text) {
    boxes.push_back(kind + ": " + text);
    if (onQuestion) onQuestion();
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return Answer::None;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

Answer ScriptedFrontEnd::AskWarning(const std::string& text) { return NextAnswer("warning", text); }
Answer ScriptedFrontEnd::AskConfirmation(const std::string& text) { return NextAnswer("confirmation", text); }
Answer ScriptedFrontEnd::AskPlain(const std::string& text) { return NextAnswer("plain", text); }

void ScriptedFrontEnd::ShowSliceSizeDialog(EngineState& state, const std::string& fileLabel,
                                           const std::string& sizeLabel) {
    ++dialogShown;
    dialogFileLabel = fileLabel;
    dialogSizeLabel = sizeLabel;
    state.DialogAccepted = false;
    if (dialogChoice != 0) state.SizeChoice = dialogChoice;
    if (dialogAccepts) state.DialogAccepted = true;
}

void ScriptedFrontEnd::ProcessMessages() {
    ++messageRuns;
    positionsAtMessageRuns.push_back(progressPosition);
    if (onMessageRun) onMessageRun();
}

}  // namespace sorv::test
