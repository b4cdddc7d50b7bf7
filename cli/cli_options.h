#pragma once
// The command line of sorv-cli, read into plain values. No side effects: the
// caller prints the usage and chooses the exit status.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine_state.h"
#include "sizes.h"

namespace sorv {

// Which flow the file goes to.
enum class FlowChoice {
    ByExtension,  // ".d" and ".D" joined, anything else split
    Split,
    Join,
    Verify,  // the slices against the script's fingerprints
    Repair,  // the missing and damaged files of a set made again
};

// How the Yes/No questions are answered.
enum class AutoAnswer {
    Ask,  // on the terminal
    Yes,
    No,
};

struct CliOptions {
    std::string file;
    FlowChoice flow = FlowChoice::ByExtension;
    std::int32_t sizeChoice = kDefaultSizeChoice;
    AutoAnswer answers = AutoAnswer::Ask;
    RecoveryRequest recovery;
};

enum class CliCommand { Run, Help, Version, BadUsage };

struct CliParse {
    CliCommand command = CliCommand::Run;
    CliOptions options;
    // Why the command line was refused (BadUsage only).
    std::string error;
};

// args: the arguments after the program name, UTF-8.
CliParse ParseCliArguments(const std::vector<std::string>& args);

// "1".."7", or "360", "720", "1.1", "1.4", "1.7", "1.9", "zip" (any case).
std::optional<std::int32_t> ParseSizeChoice(std::string_view text);

// The value of -s: a count of recovery slices ("3") or a percentage of the
// slice count ("5%"); none when it is neither.
std::optional<RecoveryRequest> ParseRecoveryRequest(std::string_view text);

std::string UsageText();

}  // namespace sorv
