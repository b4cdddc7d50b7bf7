// Cutting a source file into slices.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "engine.h"
#include "fingerprint_observer.h"
#include "input_files.h"
#include "io_error.h"
#include "recovery_bands.h"
#include "scope_guards.h"
#include "script_file.h"
#include "sizes.h"

namespace sorv {

namespace {

constexpr std::uint32_t kNoAttributes = 0xFFFFFFFFu;

bool SaysItExists(const IoError& e) { return e.code() == 80 || e.code() == 183; }

std::span<const std::byte> BytesOf(const std::string& text) { return std::as_bytes(std::span(text.data(), text.size())); }

}  // namespace

// A read-only source is made writable only when the user agrees.
bool Engine::ReadOnlySourceAccepted(const std::string& sourcePath) {
    std::uint32_t attributes = kNoAttributes;
    try {
        attributes = fs_.GetAttributes(sourcePath);
    } catch (const IoError&) {
        // A file that cannot be asked about is not asked about; opening it
        // later reports the real error.
    }
    if (attributes != kAttrReadOnly && attributes != (kAttrReadOnly | kAttrArchive)) return true;
    const Answer answer = ui_.AskWarning("Le fichier :" + sourcePath + " est en lecture seule.\r\n" +
                                         "Voulez-Vous le déproteger?");
    if (answer != Answer::Yes) {
        ui_.AppendLog("Arrêt.");
        return false;
    }
    try {
        fs_.SetAttributes(sourcePath, kAttrArchive);
    } catch (const IoError&) {
        // The source is only read: the split can go on without it.
    }
    return true;
}

void Engine::PrepareSplit(const std::string& sourcePath) {
    if (!ReadOnlySourceAccepted(sourcePath)) return;
    state.BaseName = BaseNameOf(sourcePath, style_);
    // Any entry counts: a dangling link named like the script would be written through.
    if (fs_.EntryExists(ScriptFileName(sourcePath))) {
        ReportExistingSlices(sourcePath);
        return;
    }
    if (state.SliceCount <= 0) return;
    if (const std::string work = WorkNamedLikeTheSource(sourcePath); !work.empty()) {
        return RefuseToCut("Le nom " + NamePartOf(sourcePath, style_) + " est celui que prend " + work +
                           " de ses tranches : renommez le fichier pour le découper.");
    }
    if (!NameKeptByTheScript(sourcePath)) return;
    if (!ClearInterruptedSplit(sourcePath)) return;
    if (!RecoveryPossible(sourcePath)) return;
    if (SetNameTaken(sourcePath)) {
        ReportExistingSlices(sourcePath);
        return;
    }
    // A name too long for the folder would fail after slices were written.
    fs_.CheckNewName(SliceFileName(sourcePath, state.SliceCount));
    fs_.CheckNewName(PartialScriptName(sourcePath, style_));
    SplitFile(sourcePath);
}

// A source under the name its own set's join rebuilds under, or a repair
// writes a slice again under, could never be joined or repaired: which of
// the two, or "" when neither.
std::string Engine::WorkNamedLikeTheSource(const std::string& sourcePath) {
    const std::string script = ScriptFileName(sourcePath);
    if (fs_.SameFile(sourcePath, PartialJoinName(script, style_))) return "le regroupement";
    if (IsRepairPartialOf(sourcePath, script, state.SliceCount, RecoverySliceCount(state.Recovery, state.SliceCount)))
        return "la réparation";
    return {};
}

// `path` reaches a name a repair of the set of `scriptPath` (`slices` slices,
// `recoveries` recovery slices) writes one of its files under. Without
// recovery slices no repair ever runs on the set.
bool Engine::IsRepairPartialOf(const std::string& path, const std::string& scriptPath, std::int64_t slices,
                               std::int64_t recoveries) {
    if (recoveries <= 0) return false;
    const std::string extension = ExtensionOf(path, style_);
    for (const bool recovery : {false, true}) {
        const std::optional<std::int64_t> n = RepairPartialNumber(extension, recovery);
        const std::int64_t last = recovery ? recoveries : slices;
        if (n && *n >= 1 && *n <= last && fs_.SameFile(path, RepairPartialName(scriptPath, *n, recovery, style_)))
            return true;
    }
    return false;
}

// Any name the split will write, taken by any entry: a user's file (slices
// of another set), a link, the source itself under another name (X.°02 cut
// into X.°01, X.°02...). The split never replaces one.
bool Engine::SetNameTaken(const std::string& sourcePath) {
    if (fs_.EntryExists(PartialScriptName(sourcePath, style_))) return true;
    for (std::int64_t k = 1; k <= state.SliceCount; ++k)
        if (fs_.EntryExists(SliceFileName(sourcePath, k))) return true;
    for (std::int64_t r = 1; r <= state.RecoveryCount; ++r)
        if (fs_.EntryExists(RecoverySliceFileName(sourcePath, r, style_))) return true;
    return false;
}

// Slices are written in order: a killed split's run from 1 without a gap.
// -1 when one of them is the source itself.
std::int64_t Engine::LeftoverSlices(const std::string& sourcePath, std::int64_t recorded) {
    InputFiles source(fs_);
    source.Add(sourcePath);
    std::int64_t count = 0;
    while (count < recorded && fs_.KindOf(SliceFileName(sourcePath, count + 1)) == EntryKind::File) {
        if (source.Reaches(SliceFileName(sourcePath, count + 1))) return -1;
        ++count;
    }
    return count;
}

// A killed split's recovery slices, written after its slices, from the
// first on; only as many as it recorded: the names past them were never its own.
// The names the system would not remove go to `refused`.
std::int64_t Engine::DeleteLeftoverRecovery(const std::string& sourcePath, std::int64_t recorded,
                                            std::vector<std::string>& refused) {
    InputFiles source(fs_);
    source.Add(sourcePath);
    std::int64_t found = 0;
    for (; found < recorded; ++found) {
        const std::string path = RecoverySliceFileName(sourcePath, found + 1, style_);
        if (fs_.KindOf(path) != EntryKind::File || source.Reaches(path)) break;
        if (!fs_.Delete(path)) refused.push_back(path);
    }
    return found;
}

// Entries under the names a killed split recorded, past the end of its
// run (`from` files long): what is not a file, files past one the user
// removed, files put there after the kill. Nothing tells whether the split
// wrote them, so none is removed. No split records more than a set holds.
std::vector<std::string> Engine::EntriesPastTheRun(const std::string& sourcePath, std::int64_t from,
                                                   std::int64_t recorded, bool recovery) {
    std::vector<std::string> entries;
    for (std::int64_t k = from + 1; k <= std::min<std::int64_t>(recorded, kMaxSetFiles); ++k) {
        const std::string path =
            recovery ? RecoverySliceFileName(sourcePath, k, style_) : SliceFileName(sourcePath, k);
        if (fs_.KindOf(path) != EntryKind::None) entries.push_back(path);
    }
    return entries;
}

// A killed split leaves its slices and its partial script, which records
// the source by identity: found unlocked (its process is gone) and naming
// this very file, however its path is spelled now, they are copies of a file
// that is still there and are removed. A locked one belongs to a live split:
// this one stops at once. Anything else is left to the user. False when the
// split must not go on.
bool Engine::ClearInterruptedSplit(const std::string& sourcePath) {
    const std::string partial = PartialScriptName(sourcePath, style_);
    Leftover leftover = ProbeLeftover(partial);
    if (leftover.live) {
        RefuseLiveRun(LiveRun::Split, ScriptFileName(sourcePath));
        return false;
    }
    if (!leftover.held) return true;
    const ScriptValues recorded = ReadScriptValues(*leftover.held);
    const std::optional<FileId> source = fs_.IdentityOf(sourcePath);
    if (!recorded.Source || !source || !(*recorded.Source == *source)) return true;
    const std::int64_t slices = LeftoverSlices(sourcePath, recorded.Tranches);
    if (slices < 0) return true;
    std::vector<std::string> refused = DeleteSlices(sourcePath, slices);
    // More than a split of that many slices can write: not a count it wrote.
    const bool countPossible = recorded.Tranches >= 0 && recorded.SourceRecovery <= kMaxSetFiles - recorded.Tranches;
    const std::int64_t recordedRecovery = countPossible ? recorded.SourceRecovery : 0;
    const std::int64_t recovery = DeleteLeftoverRecovery(sourcePath, recordedRecovery, refused);
    std::vector<std::string> strays = EntriesPastTheRun(sourcePath, slices, recorded.Tranches, false);
    for (std::string& path : EntriesPastTheRun(sourcePath, recovery, recordedRecovery, true))
        strays.push_back(std::move(path));
    // The partial script stays while any file it speaks of does: it is their only record.
    if (!strays.empty()) return SayLeftoversKept(partial, refused, strays);
    const Removal script = fs_.RemoveExactly(partial, leftover.held->Identity());
    if (!refused.empty() || (script != Removal::Removed && script != Removal::Missing)) {
        SayNotRemoved(partial, script, "Laissé en place, ce n'est plus le fichier lu : ");
        return SayLeftoversKept(partial, refused, {});
    }
    ui_.AppendLog("Restes d'un découpage interrompu effacés : " + partial + " et " + std::to_string(slices) +
                  " tranche(s)" + (recovery > 0 ? ", " + std::to_string(recovery) + " tranche(s) de secours." : "."));
    return true;
}

// Leftovers the system would not remove, or that may not be the killed
// split's, stand where this split would write: said, and nothing is split.
bool Engine::SayLeftoversKept(const std::string& partial, const std::vector<std::string>& refused,
                              const std::vector<std::string>& strays) {
    for (const std::string& path : refused) SayNotRemoved(path, Removal::Failed, "");
    for (const std::string& path : strays)
        ui_.AppendLog("Non effacé, rien ne dit que le découpage interrompu l'a écrit : " + path);
    Fail("Les restes d'un découpage interrompu n'ont pas pu être effacés (" + partial + ") : rien n'est découpé.");
    return false;
}

void Engine::ReportExistingSlices(const std::string& sourcePath) {
    ui_.ShowMessage("Effacez les fichiers " + FolderOf(sourcePath, style_) + state.BaseName +
                    ". d'extentions .d et .°* présents.");
    RefuseToCut("Des tranches existent sûrement déjà.");
}

// Why the file is not cut, said before anything is written.
void Engine::RefuseToCut(const std::string& reason) {
    ui_.AppendLog(reason);
    ui_.AppendLog("... Arrêt du processus. ");
}

// Written and locked before the first slice, and held to the end: while it
// is locked, the slices beside it belong to a live split. Null when another
// split of this name got there first.
std::unique_ptr<File> Engine::CreatePartialScript(const std::string& sourcePath, const FileId& source,
                                                  Outputs& outputs) {
    const std::string partial = PartialScriptName(sourcePath, style_);
    std::unique_ptr<File> script;
    try {
        script = outputs.Create(partial);
    } catch (const IoError& e) {
        if (!SaysItExists(e)) throw;
    }
    if (!script || !script->TryLock()) {
        RefuseLiveRun(LiveRun::Split, ScriptFileName(sourcePath));
        return nullptr;
    }
    script->Write(BytesOf(PartialScriptFileBytes(RecordedNameFor(sourcePath), state.SourceSize, state.SliceCount, source,
                                                state.RecoveryCount)));
    return script;
}

// Writes the slices; false when a stop was asked (inside a slice or after one).
bool Engine::WriteSlices(const std::string& sourcePath, File& source, Outputs& outputs, Fingerprints& fingerprints,
                         std::uint64_t& copied, SplitRecovery* recovery) {
    // Every slice is SliceSize / 2048 block steps; the bar moves 2048 a
    // step whether or not the step still found bytes to copy.
    const std::int64_t steps = std::max<std::int64_t>(state.SliceSize / kBlockSize, 1);
    const auto stepBytes = static_cast<std::uint64_t>(steps * kBlockSize);
    const auto sourceSize = static_cast<std::uint64_t>(std::max<std::int64_t>(state.SourceSize, 0));
    SliceAndFileFingerprints seen;  // made while the bytes are copied: no second reading
    std::optional<BothObservers> both;
    if (recovery) both.emplace(seen, *recovery);
    ByteObserver* observer = recovery ? static_cast<ByteObserver*>(&*both) : &seen;
    // No more slices than the script will count, no more bytes than it will
    // record, whatever the source does meanwhile.
    for (std::int64_t i = 1; i <= state.SliceCount && !source.AtEnd(); ++i) {
        const std::string slicePath = SliceFileName(sourcePath, i);
        // Created new: a file that took the name since the split began is
        // not replaced, the split fails instead.
        auto slice = outputs.Create(slicePath);
        seen.slice.Reset();
        if (recovery) recovery->StartSlice(static_cast<std::uint32_t>(i - 1));
        std::int64_t shown = 0;
        const SliceCopy::Result copy =
            copier_.Copy(source, slice.get(), std::min(stepBytes, sourceSize - copied), observer, shown);
        copied += copy.copied;
        if (recovery) recovery->EndSlice();
        fingerprints.slices.push_back(seen.slice.Value());
        slice->Close();
        // A stop asked inside the slice is acted on at once: the slice is
        // not finished, and goes with the others.
        if (copy.stopped) return false;
        ui_.AdvanceProgress(steps * kBlockSize - shown);
        // The copy's own count: the slice was created empty and only this copy wrote to it.
        ui_.AppendLog(slicePath + ": " + std::to_string(copy.copied) + " octet(s)");
        copier_.RunMessages();
        if (state.CancelRequested) return false;
    }
    fingerprints.file = seen.file.Value();
    return true;
}

// The slices must hold exactly the bytes the script records, of one
// version of the source: its size, last-write and change times are those
// it had when it was opened.
bool Engine::SourceUnchanged(const std::string& sourcePath, File& source, const FileStamp& before,
                             std::uint64_t copied) {
    const FileStamp after = source.Stamp();
    if (copied != static_cast<std::uint64_t>(std::max<std::int64_t>(state.SourceSize, 0)) || !source.AtEnd() ||
        after.size != before.size) {
        Fail("La taille du fichier " + sourcePath + " a changé pendant le découpage.");
        return false;
    }
    if (!(after == before)) {
        Fail("Le fichier " + sourcePath + " a été modifié pendant le découpage.");
        return false;
    }
    return true;
}

// The whole script goes into the partial one, which then takes the real
// name: a script under the real name is always complete. The split made
// sure no file had that name before it began, so nothing is replaced.
void Engine::CommitScript(const std::string& sourcePath, File& script, const Fingerprints& fingerprints,
                          Outputs& outputs) {
    const std::string scriptPath = ScriptFileName(sourcePath);
    try {
        script.Rewrite(BytesOf(ScriptBytes(sourcePath, &fingerprints)));
        outputs.Rename(PartialScriptName(sourcePath, style_), scriptPath, false);
        script.Close();
    } catch (const IoError&) {
        throw ProfileWriteError(scriptPath);
    }
    outputs.Commit();
    ui_.AppendLog(scriptPath);
}

// A stop asked during the split: everything it wrote goes.
void Engine::StopSplit(std::unique_ptr<File>& source, Outputs& outputs) {
    ui_.AppendLog("Arrêt.");
    source.reset();
    ui_.ResetProgress();
    state.CancelRequested = false;
    DiscardOutputs(outputs);
}

void Engine::SplitFile(const std::string& sourcePath) {
    FlagScope busy(state.Busy);
    ScopeExit resetProgress([this] { ui_.ResetProgress(); });
    ui_.AppendLog("Nombre de tranche : " + std::to_string(state.SliceCount));
    std::optional<SplitRecovery> recovery;
    if (state.RecoveryCount > 0) {
        ui_.AppendLog("Nombre de tranches de secours : " + std::to_string(state.RecoveryCount));
        recovery.emplace(static_cast<std::uint32_t>(state.SliceCount), static_cast<std::uint32_t>(state.RecoveryCount),
                         static_cast<std::uint64_t>(state.SliceSize), static_cast<std::uint64_t>(state.SourceSize),
                         RecoveryMemory);
    }
    ui_.SetProgressMax(state.SourceSize + static_cast<std::int64_t>(recovery ? recovery->ReadBackBytes() : 0));
    auto source = fs_.OpenRead(sourcePath);
    const FileStamp before = source->Stamp();
    state.BaseName = BaseNameOf(sourcePath, style_);
    // Declared before the script it holds, so that its lock outlives the clean-up.
    Outputs outputs(fs_);
    std::unique_ptr<File> script;
    try {
        script = CreatePartialScript(sourcePath, source->Identity(), outputs);
        if (!script) return;
        Fingerprints fingerprints;
        std::uint64_t copied = 0;
        if (!WriteSlices(sourcePath, *source, outputs, fingerprints, copied, recovery ? &*recovery : nullptr))
            return StopSplit(source, outputs);
        if (!SourceUnchanged(sourcePath, *source, before, copied)) return DiscardOutputs(outputs);
        source->Close();
        if (recovery && !WriteRecoverySlices(sourcePath, *recovery, outputs, fingerprints)) {
            if (result_ == Outcome::Failed) return DiscardOutputs(outputs);
            return StopSplit(source, outputs);
        }
        ui_.ResetProgress();
        CommitScript(sourcePath, *script, fingerprints, outputs);
    } catch (...) {
        source.reset();
        DiscardOutputs(outputs);
        throw;
    }
    ui_.AppendLog("...Ok");
    result_ = Outcome::Completed;
}

std::vector<std::string> Engine::DeleteSlices(const std::string& sourcePath, std::int64_t n) {
    std::vector<std::string> refused;
    for (std::int64_t k = 1; k <= n; ++k)
        if (const std::string path = SliceFileName(sourcePath, k); !fs_.Delete(path)) refused.push_back(path);
    return refused;
}

}  // namespace sorv
