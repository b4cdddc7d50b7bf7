#pragma once
// The slicing engine: the split and join flows over one engine state,
// reporting through a front end and reaching files through a file system.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine_state.h"
#include "file_system.h"
#include "fingerprint_observer.h"
#include "front_end.h"
#include "names.h"
#include "outputs.h"
#include "recovery_rebuild.h"
#include "recovery_split.h"
#include "script_file.h"
#include "slice_copy.h"

namespace sorv {

// How a split or join request ended.
// The words of a check's verdict on one file, shown in the log and compared
// by the flows that act on them.
namespace verdicts {
inline constexpr std::string_view kOk = "ok";
inline constexpr std::string_view kMissing = "manquante";
inline constexpr std::string_view kDamaged = "endommagée";
inline constexpr std::string_view kPrintUnreadable = "empreinte illisible";
}  // namespace verdicts

enum class Outcome {
    Completed,  // "...Ok" was logged
    Stopped,    // ended without an error and without "...Ok"
    Failed,     // a fault was found and logged (a rebuilt file of the wrong
                // size, a source that changed, an incomplete script); a join
                // left nothing under the real name (a repair may have put
                // some files of the set back, each checked)
    Refused,    // another split or join was running (in this program or
                // another): nothing started
};

class Engine {
public:
    Engine(FrontEnd& frontEnd, FileSystem& fileSystem, PathStyle style = kNativePaths);

    EngineState state;
    // What the recovery bands of one flow may take; the tests make it small
    // so that slices go in several bands.
    std::uint64_t RecoveryMemory = kRecoveryMemory;

    // Slice size choice.
    void FormatSizeText();
    void ChoiceLabel();
    void SetSliceSize();
    void CountSlices();
    void LogSplitSettings();

    // Names and script file, with this engine's path rules.
    std::string SliceFileName(const std::string& path, std::int64_t n) const;
    std::string ScriptFileName(const std::string& path) const;
    void ReadScript(const std::string& scriptPath);

    // Split.
    void PrepareSplit(const std::string& sourcePath);
    void ReportExistingSlices(const std::string& sourcePath);
    void RefuseToCut(const std::string& reason);
    void SplitFile(const std::string& sourcePath);
    // Deletes slices 1 to n; returns the names the system would not delete.
    std::vector<std::string> DeleteSlices(const std::string& sourcePath, std::int64_t n);
    std::int64_t FileSizeOf(const std::string& path);

    // Join.
    // The number of slices found missing (all of them when the set has
    // recovery slices, else the first only).
    std::int64_t VerifySlices(const std::string& scriptPath);
    void JoinSlices(const std::string& scriptPath);
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
    // Writes again every missing or damaged slice and recovery slice of the
    // set of a script with recovery slices; a damaged file is kept under a
    // name that says so. Completed when the whole set checks afterwards.
    Outcome RepairSet(std::string scriptPath);
    // While a flow runs, says in the log that a new request is refused and
    // returns true; a command can ask before it shows its open dialog.
    bool RefuseWhileRunning();
    // Escape: while Busy, asks whether to stop and sets CancelRequested on Yes.
    void EscapePressed();
    // Asks whether to stop and sets CancelRequested on Yes, which it returns.
    // One question at a time: asked again while it shows, it adds none.
    bool AskToStop();

    // True from the start to the end of a split or join flow.
    bool FlowRunning() const { return flowRunning_; }

private:
    // What is under a partial name when a flow starts, and the lock on it
    // when it could be taken.
    struct Leftover {
        EntryKind kind = EntryKind::None;
        std::unique_ptr<File> held;  // open and locked: no live run has it
        bool live = false;           // another run holds its lock
    };
    // A file the join read, to be deleted on request only while it is still
    // that file, unchanged.
    struct ReadInput {
        std::string path;
        FileId id;
        FileStamp stamp;
    };
    struct JoinPass;
    // What a look at the set's files finds before reading them: data slices
    // (from 0) absent or of the wrong size, recovery slices likewise, and
    // recovery slices already read and found sound.
    struct SetSurvey {
        std::uint32_t recoveryCount = 0;
        std::vector<std::uint32_t> badData, badRows, soundRows;

        static bool Holds(const std::vector<std::uint32_t>& list, std::uint32_t i) {
            return std::find(list.begin(), list.end(), i) != list.end();
        }
        // The recovery slices not known bad.
        std::size_t UsableRows() const { return recoveryCount - badRows.size(); }
        // Every file known bad, slices first: (a recovery slice?, its index).
        std::vector<std::pair<bool, std::uint32_t>> Bad() const {
            std::vector<std::pair<bool, std::uint32_t>> bad;
            for (const std::uint32_t index : badData) bad.emplace_back(false, index);
            for (const std::uint32_t row : badRows) bad.emplace_back(true, row);
            return bad;
        }
    };
    // The recovery slices a split writes, and their fingerprints as written.
    struct RecoveryFiles {
        std::vector<std::unique_ptr<File>> files;
        std::vector<Fingerprint> prints;
    };

    Outcome RunFlow(const std::function<void()>& flow);
    // Throws unless the path names a file to read.
    void RequireFile(const std::string& path);
    void Fail(const std::string& line);
    // A stop asked by the user, said and done with.
    void SayStopped();
    // Another run of this set holds its partial file: a split of the source
    // or a join (or repair) of the script.
    enum class LiveRun { Split, Join };
    void RefuseLiveRun(LiveRun run, const std::string& scriptPath);
    void DiscardOutputs(Outputs& outputs);
    bool SetHeldByARun(const std::string& scriptPath);
    bool RebuiltFileHeld(const std::string& target);
    // A folder, link or FIFO under a name a run must write under.
    static std::string InTheWay(const std::string& path);
    // Says why a file to delete stays (nothing when it went or was gone).
    void SayNotRemoved(const std::string& path, Removal removal, const std::string& replacedLine);
    Leftover ProbeLeftover(const std::string& path);
    bool LoadScript(const std::string& scriptPath);

    // Split.
    bool ReadOnlySourceAccepted(const std::string& sourcePath);
    bool ClearInterruptedSplit(const std::string& sourcePath);
    std::int64_t LeftoverSlices(const std::string& sourcePath, std::int64_t recorded);
    bool SetNameTaken(const std::string& sourcePath);
    std::string WorkNamedLikeTheSource(const std::string& sourcePath);
    bool IsRepairPartialOf(const std::string& path, const std::string& scriptPath, std::int64_t slices,
                           std::int64_t recoveries);
    std::unique_ptr<File> CreatePartialScript(const std::string& sourcePath, const FileId& source, Outputs& outputs);
    bool WriteSlices(const std::string& sourcePath, File& source, Outputs& outputs, Fingerprints& fingerprints,
                     std::uint64_t& copied, SplitRecovery* recovery);
    bool RecoveryPossible(const std::string& sourcePath);
    std::int64_t DeleteLeftoverRecovery(const std::string& sourcePath, std::int64_t recorded,
                                        std::vector<std::string>& refused);
    std::vector<std::string> EntriesPastTheRun(const std::string& sourcePath, std::int64_t from, std::int64_t recorded,
                                               bool recovery);
    bool SayLeftoversKept(const std::string& partial, const std::vector<std::string>& refused,
                          const std::vector<std::string>& strays);
    bool WriteRecoverySlices(const std::string& sourcePath, SplitRecovery& recovery, Outputs& outputs,
                             Fingerprints& fingerprints);
    void WriteRecoveryBand(RecoveryFiles& files, SplitRecovery& recovery, std::uint64_t band);
    SliceCopy::Result ReadBackBand(const std::string& sourcePath, SplitRecovery& recovery, std::uint32_t index,
                                   std::uint64_t band, ByteObserver& check);
    bool WriteLaterBands(const std::string& sourcePath, RecoveryFiles& files, SplitRecovery& recovery,
                         std::uint32_t slices);
    void StopSplit(std::unique_ptr<File>& source, Outputs& outputs);
    bool SourceUnchanged(const std::string& sourcePath, File& source, const FileStamp& before, std::uint64_t copied);
    void CommitScript(const std::string& sourcePath, File& script, const Fingerprints& fingerprints, Outputs& outputs);
    std::string RecordedNameFor(const std::string& sourcePath) const;
    bool NameKeptByTheScript(const std::string& sourcePath);

    // Join.
    bool ScriptDescribesAFile(const std::string& scriptPath);
    bool OpenFilesSuffice(std::uint64_t atOnce);
    bool CleanUpStopped(const std::string& target);
    bool PutInPlace(const std::string& partial, const std::string& target, bool replace, Outputs& outputs, File& held,
                    FileId& id);
    bool ScriptIsSound(const std::string& scriptPath);
    void SayScriptBelied(const std::string& scriptPath);
    bool SizeBelied(const std::string& scriptPath);
    bool TargetMayBeWritten(const std::string& scriptPath, const std::string& target, const std::string& partial,
                            bool& replace);
    bool TargetIsAnInput(const std::string& scriptPath, const std::string& target, const std::string& partial);
    // `deadRun`: what left the file, as the question names it.
    static constexpr const char* kDeadJoin = "d'un regroupement interrompu";
    bool RemoveLeftoverPartial(const std::string& partial, Leftover& leftover, const std::string& deadRun = kDeadJoin);
    bool LastSliceFull(const std::string& scriptPath);
    JoinPass CopySlices(const std::string& scriptPath, File& output, std::vector<ReadInput>& read,
                        const SetSurvey* survey, Rebuilder* gathering);
    JoinPass RunJoinPass(const std::string& scriptPath, File& output, std::vector<ReadInput>& read);
    bool CopyOneSlice(const std::string& scriptPath, std::int64_t i, File& output, std::vector<ReadInput>& read,
                      JoinPass& pass, ByteObserver* extra, bool repairing);
    std::uint64_t SliceReadLimit(std::int64_t i, std::uint64_t size, const JoinPass& pass, bool repairing) const;
    bool SliceBeliesTheSize(const std::string& scriptPath, std::int64_t n, std::uint64_t* print);
    void SaySizeBelied(const std::string& scriptPath, std::int64_t n);
    bool ASliceBeliesTheSize(const std::string& scriptPath, const std::vector<std::uint32_t>* checkedBad = nullptr);
    void JudgeSliceInPlace(const std::string& slicePath, std::int64_t i, std::uint64_t copied, std::uint64_t held,
                           bool readToEnd, JoinPass& pass);
    bool RebuiltFileIsSound(const JoinPass& pass, const std::string& scriptPath, const std::string& target);
    bool SliceIsSound(const std::string& slicePath, std::int64_t n, std::uint64_t fingerprint, bool repairable);
    std::uint64_t SlicesTotal(const std::string& scriptPath);
    std::string CheckOneSlice(const std::string& slicePath, std::int64_t n, SliceAndFileFingerprints& seen);
    // What stands in a set file's place: None, File (a file or a link to
    // one), Folder or Other (a FIFO, a link to a folder...): no file to read.
    EntryKind WhatStandsIn(const std::string& path);
    // "manquante", the stray entry's verdict, or "" for a file.
    std::string PlaceVerdict(const std::string& path);
    std::vector<std::string> StrayEntries(const std::string& scriptPath, const SetSurvey& survey);
    bool RefuseStrayEntries(const std::string& scriptPath, const SetSurvey& survey);
    void OfferCleanUp(const std::string& scriptPath, const std::string& target, const FileId& written,
                      const std::vector<ReadInput>& read);
    void DeleteInputs(const std::string& scriptPath, const std::string& target, const std::vector<ReadInput>& inputs);
    void SayUnreadKept(const std::string& scriptPath, const std::string& target, const std::vector<ReadInput>& read);

    // Recovery slices at a join and a check.
    bool RecoveryUsable() const { return RecoveryProblem().empty(); }
    // Why the recovery section cannot serve this set, in a few French words ("" when it can).
    std::string RecoveryProblem() const;
    bool CodingSizeBelied(const std::string& scriptPath);
    void SayRecoveryUnused();
    // The whole file's fingerprint; none when it cannot be read or a stop was asked.
    std::optional<std::uint64_t> FingerprintOnDisk(const std::string& path);
    std::uint64_t ExpectedSliceSize(std::int64_t n) const;
    SetSurvey SurveySet(const std::string& scriptPath, std::vector<ReadInput>* found);
    std::optional<ReadInput> InputAsItIs(const std::string& path);
    void SayKnownBad(const std::string& scriptPath, const SetSurvey& survey);
    // What is wrong with a recovery slice: the check's verdict word and the
    // sentence the join and the repair log.
    struct RecoveryFault {
        std::string verdict, sentence;
    };
    std::optional<RecoveryFault> RecoverySliceFault(const std::string& scriptPath, std::uint32_t row);
    bool RecoverySliceIsSound(const std::string& scriptPath, std::uint32_t row);
    static std::string WrongRecoverySize(const std::string& path);
    std::vector<std::uint32_t> ChooseRows(const std::string& scriptPath, SetSurvey& survey, std::size_t count);
    Rebuilder::Read RebuildReader(const std::string& scriptPath);
    RebuildJob RebuildJobFor(const SetSurvey& survey, const std::vector<std::uint32_t>& missing,
                             const std::vector<std::uint32_t>& rows, const std::vector<std::uint32_t>& remake = {}) const;
    std::string LostLine(std::size_t damaged, const SetSurvey& survey) const;
    bool LostBeforeTheCopy(const std::string& scriptPath);
    void SayNotRebuilt(const std::string& scriptPath);
    void PrepareGathering(const std::string& scriptPath, SetSurvey& survey, std::optional<Rebuilder>& rebuilder);
    bool RebuildInto(const std::string& scriptPath, File& output, JoinPass& pass, SetSurvey& survey,
                     std::optional<Rebuilder>& gathered);
    bool ReadScriptToCheck(const std::string& scriptPath);
    std::string CheckOneRecoverySlice(const std::string& scriptPath, std::uint32_t row);
    void JudgeRepair(const std::string& scriptPath, const std::vector<std::uint32_t>& badSlices);

    // Repair of a set.
    struct RepairFile;
    // A file of the set: a slice, or a recovery slice; `index` from 0.
    std::string SetFileName(const std::string& scriptPath, bool recovery, std::uint32_t index) const;
    std::optional<std::uint64_t> RecordedPrint(bool recovery, std::uint32_t index) const;
    // Why rebuilt bytes that do not check cannot be put back: the script's
    // fingerprint for that file is what disagrees ("" when they check).
    std::string PrintDisagreement(const std::string& path, std::optional<std::uint64_t> recorded, std::uint64_t rebuilt);
    // Every bad file of the survey rebuilt from the sound ones; false when a stop was asked.
    bool RebuildBadFiles(const std::string& scriptPath, const SetSurvey& survey, const Rebuilder::Emit& emit);
    std::vector<std::string> FalsePrints(const std::string& scriptPath, const SetSurvey& survey);
    bool SurveyForRepair(const std::string& scriptPath, SetSurvey& survey, SliceAndFileFingerprints& seen);
    bool ClearRepairLeftovers(const std::string& scriptPath, const SetSurvey& survey);
    bool ClearLeftoverPartial(const std::string& scriptPath, const std::string& partial,
                              const std::string& deadRun = kDeadJoin);
    bool WriteRepairs(const std::string& scriptPath, const SetSurvey& survey, Outputs& outputs,
                      std::vector<RepairFile>& files);
    bool RepairsMakeTheFile(const std::string& scriptPath, const SetSurvey& survey,
                            const std::vector<RepairFile>& files);
    bool SourcesStillCheck(const std::string& scriptPath, const SetSurvey& survey, std::string_view changed);
    bool SliceStillChecks(const std::string& scriptPath, const std::string& readFrom, std::int64_t n,
                          SliceAndFileFingerprints& seen, std::string_view changed);
    void PutRepairsInPlace(std::vector<RepairFile>& files, Outputs& outputs);
    bool LockNameInTheWay(const std::string& partial);
    std::unique_ptr<File> TakeRepairLock(Outputs& holder, const std::string& partial, std::string& refused);
    void RepairFlow(const std::string& scriptPath);
    void WriteRepairedFiles(const std::string& scriptPath, const SetSurvey& survey);
    bool Failed(const std::string& line) {
        Fail(line);
        return false;
    }

    // Script file.
    ScriptValues ReadScriptValues(File& file);
    std::string ScriptBytes(const std::string& sourcePath, const Fingerprints* fingerprints = nullptr) const;

    FrontEnd& ui_;
    FileSystem& fs_;
    PathStyle style_;
    SliceCopy copier_;
    bool flowRunning_ = false;
    bool askingToStop_ = false;
    Outcome result_ = Outcome::Stopped;
    // The last script read, as it was found, and the file it was.
    ScriptValues script_;
    std::optional<ReadInput> scriptInput_;
    // The set's first slice, checked, is not of the recovery section's coding size.
    bool codingSizeBelied_ = false;
};

}  // namespace sorv
