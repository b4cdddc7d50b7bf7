#pragma once
// The slicing engine: the split and join flows over one engine state,
// reporting through a front end and reaching files through a file system.
#include <cstdint>
#include <string>

#include "engine_state.h"
#include "file_system.h"
#include "front_end.h"
#include "names.h"

namespace sorv {

// How a split or join request ended.
enum class Outcome {
    Completed,  // "...Ok" was logged
    Stopped,    // ended without an error and without "...Ok"
    Refused,    // another split or join was running: nothing started
};

class Engine {
public:
    Engine(FrontEnd& frontEnd, FileSystem& fileSystem, PathStyle style = kNativePaths);

    EngineState state;

    // Slice size choice.
    void FormatSizeText();
    void ChoiceLabel();
    void SetSliceSize();
    void CountSlices();
    void LogSplitSettings();

    // Names and script file, with this engine's path rules.
    std::string SliceFileName(const std::string& path, std::int64_t n) const;
    std::string ScriptFileName(const std::string& path) const;
    void WriteScript(const std::string& sourcePath);
    void ReadScript(const std::string& scriptPath);

    // Split.
    void PrepareSplit(const std::string& sourcePath);
    void ReportExistingSlices(const std::string& sourcePath);
    void SplitFile(const std::string& sourcePath);
    void DeleteSlices(const std::string& sourcePath, std::int64_t n);
    std::int64_t FileSizeOf(const std::string& path);

    // Join.
    void VerifySlices(const std::string& scriptPath);
    void JoinSlices(const std::string& scriptPath);
    void DeleteSlicesAndScript(const std::string& scriptPath);
    // Where the join rebuilds the file recorded by the script.
    std::string JoinTarget(const std::string& scriptPath) const;

    // Commands.
    Outcome StartSplit(const std::string& path);
    Outcome StartJoin(const std::string& scriptPath);
    // ".d" and ".D" are joined, anything else split.
    Outcome Dispatch(const std::string& path);
    // Escape: while Busy, asks whether to stop and sets CancelRequested on Yes.
    void EscapePressed();

    // True from the start to the end of a split or join flow.
    bool FlowRunning() const { return flowRunning_; }

private:
    template <typename Flow>
    Outcome RunFlow(Flow&& flow);
    bool SourceIsOneOfItsSlices(const std::string& sourcePath) const;
    bool TargetIsAnInput(const std::string& scriptPath) const;

    FrontEnd& ui_;
    FileSystem& fs_;
    PathStyle style_;
    bool flowRunning_ = false;
    bool completed_ = false;
};

}  // namespace sorv
