#include "exit_status.h"

namespace sorv {

int ExitStatusFor(Outcome outcome) {
    switch (outcome) {
    case Outcome::Completed: return kExitCompleted;
    case Outcome::Failed: return kExitError;
    case Outcome::Stopped:
    case Outcome::Refused: break;
    }
    return kExitStopped;
}

std::string ErrorBoxText(std::string_view what) {
    std::string text(what);
    // Bytes compare unsigned: a final accented letter (UTF-8 lead or trail
    // byte) sorts after "." as its ANSI character does.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

}  // namespace sorv
