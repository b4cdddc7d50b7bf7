#include "run_cli.h"

#include <exception>

#include "engine.h"
#include "exit_status.h"
#include "file_system.h"

#ifndef SORV_VERSION
#define SORV_VERSION "?"
#endif

namespace sorv {

namespace {

void Print(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

Outcome RunFlow(Engine& engine, const CliOptions& options) {
    switch (options.flow) {
    case FlowChoice::Split: return engine.StartSplit(options.file);
    case FlowChoice::Join: return engine.StartJoin(options.file);
    case FlowChoice::Verify: return engine.CheckSlices(options.file);
    case FlowChoice::Repair: return engine.RepairSet(options.file);
    case FlowChoice::ByExtension: break;
    }
    return engine.Dispatch(options.file);
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const Console& console) {
    const CliParse parse = ParseCliArguments(args);
    switch (parse.command) {
    case CliCommand::Help:
        Print(console.out, UsageText());
        return kExitCompleted;
    case CliCommand::Version:
        Print(console.out, "sorv-cli " SORV_VERSION "\n");
        return kExitCompleted;
    case CliCommand::BadUsage:
        Print(console.err, "sorv-cli : " + parse.error + "\n" + UsageText());
        return kExitUsage;
    case CliCommand::Run: break;
    }

    const CliOptions& options = parse.options;
    ConsoleFrontEnd ui(console, options.sizeChoice, options.answers);
    try {
        Engine engine(ui, NativeFileSystem());
        engine.state.Recovery = options.recovery;
        ui.Watch(engine.state);
        return ExitStatusFor(RunFlow(engine, options));
    } catch (const std::exception& e) {
        ui.ShowError(e.what());
        return kExitError;
    }
}

}  // namespace sorv
