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

// What the user asked to read could not be written: said where it can be.
int OutputLost(const Console& console) {
    PutText(console.err, "sorv-cli : la sortie standard refuse l'écriture, le journal est perdu.\n");
    return kExitError;
}

int Print(const Console& console, const std::string& text) {
    return PutText(console.out, text) ? kExitCompleted : OutputLost(console);
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
    case CliCommand::Help: return Print(console, UsageText());
    case CliCommand::Version: return Print(console, "sorv-cli " SORV_VERSION "\n");
    case CliCommand::BadUsage:
        PutText(console.err, "sorv-cli : " + parse.error + "\n" + UsageText());
        return kExitUsage;
    case CliCommand::Run: break;
    }

    const CliOptions& options = parse.options;
    ConsoleFrontEnd ui(console, options.sizeChoice, options.answers);
    try {
        Engine engine(ui, NativeFileSystem());
        engine.state.Recovery = options.recovery;
        ui.Watch(engine.state);
        const int status = ExitStatusFor(RunFlow(engine, options));
        return ui.LogLost() ? OutputLost(console) : status;
    } catch (const std::exception& e) {
        ui.ShowError(e.what());
        return kExitError;
    }
}

}  // namespace sorv
