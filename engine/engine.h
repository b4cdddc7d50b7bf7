#pragma once
// The slicing engine: the split and join flows over one engine state,
// reporting through a front end and reaching files through a file system.
#include <cstdint>
#include <functional>
#include <string>

#include "engine_state.h"
#include "file_system.h"
#include "front_end.h"
#include "names.h"
#include "pump_cadence.h"
#include "script_file.h"

namespace sorv {

class SliceAndFileFingerprints;

// How a split or join request ended.
enum class Outcome {
    Completed,  // "...Ok" was logged
    Stopped,    // ended without an error and without "...Ok"
    Failed,     // a fault was found and logged (a rebuilt file of the wrong
                // size, a source that changed, an incomplete script); nothing
                // was left under the real name
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
    // With the fingerprints of the slices when they are given.
    void WriteScript(const std::string& sourcePath, const Fingerprints* fingerprints = nullptr);
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

    // Commands. Each flow takes its own copy of the path: the caller's
    // string may change during the message runs of the flow (a dialog or a
    // drop reusing its buffer).
    Outcome StartSplit(std::string path);
    Outcome StartJoin(std::string scriptPath);
    // ".d" and ".D" are joined, anything else split.
    Outcome Dispatch(std::string path);
    // Checks the slices of a script against its fingerprints, rebuilding
    // nothing: one line per slice (ok, endommagée, manquante), then the whole
    // file. Completed only when everything is good.
    Outcome CheckSlices(std::string scriptPath);
    // While a flow runs, says in the log that a new request is refused and
    // returns true; a command can ask before it shows its open dialog.
    bool RefuseWhileRunning();
    // Escape: while Busy, asks whether to stop and sets CancelRequested on Yes.
    void EscapePressed();

    // True from the start to the end of a split or join flow.
    bool FlowRunning() const { return flowRunning_; }

private:
    // What a copy inside a slice did: the bytes it moved, and whether a stop
    // was asked during one of its message runs (it ended there).
    struct PacedCopy {
        std::uint64_t copied = 0;
        bool stopped = false;
    };
    // Copies in pieces and lets the messages run between two of them when
    // their time has come; `progressDone` follows the blocks copied, which
    // the bar has then shown.
    PacedCopy CopyPaced(File& from, File& to, std::uint64_t maxBytes, CopyBuffer& buffer, ByteObserver* observer,
                        std::int64_t& progressDone);
    void RunMessages();
    Outcome RunFlow(const std::function<void()>& flow);
    bool OutputsReachSource(const std::string& sourcePath);
    void RemoveInterruptedSplit(const std::string& sourcePath);
    void WritePartialScript(const std::string& sourcePath, bool& created);
    std::string ScriptBytes(const std::string& sourcePath, const Fingerprints* fingerprints = nullptr) const;
    ScriptValues ReadScriptValues(const std::string& path);
    bool TargetIsAnInput(const std::string& scriptPath, const std::string& target, const std::string& partial);
    bool SliceIsSound(const std::string& slicePath, std::int64_t n, std::uint64_t fingerprint);
    std::uint64_t SlicesTotal(const std::string& scriptPath);
    void Fail(const std::string& line);

    FrontEnd& ui_;
    FileSystem& fs_;
    PumpCadence cadence_;
    PieceSizer sizer_;
    PathStyle style_;
    bool flowRunning_ = false;
    Outcome result_ = Outcome::Stopped;
    // The [Sorv] keys the last script read did not have ("" when none).
    std::string missingScriptKeys_;
    // The [Empreintes] section of the last script read.
    RecordedFingerprints recordedFingerprints_;
};

}  // namespace sorv
