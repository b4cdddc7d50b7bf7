// Cutting a source file into slices.
#include <algorithm>
#include <cstdint>

#include "copy_buffer.h"
#include "engine.h"
#include "fingerprint_observer.h"
#include "input_files.h"
#include "io_error.h"
#include "scope_guards.h"
#include "script_file.h"
#include "sizes.h"

namespace sorv {

namespace {

constexpr std::uint32_t kNoAttributes = 0xFFFFFFFFu;
constexpr int kAccessDenied = 5;

}  // namespace

void Engine::PrepareSplit(const std::string& sourcePath) {
    std::uint32_t attributes = kNoAttributes;
    try {
        attributes = fs_.GetAttributes(sourcePath);
    } catch (const IoError&) {
        // A file that cannot be asked about is not asked about; opening it
        // below reports the real error.
    }
    if (attributes == kAttrReadOnly || attributes == (kAttrReadOnly | kAttrArchive)) {
        const Answer answer = ui_.AskWarning("Le fichier :" + sourcePath + " est en lecture seule.\r\n" +
                                             "Voulez-Vous le déproteger?");
        if (answer != Answer::Yes) {
            ui_.AppendLog("Arrêt.");
            return;
        }
        try {
            fs_.SetAttributes(sourcePath, kAttrArchive);
        } catch (const IoError&) {
            // The source is only read: the split can go on without it.
        }
    }
    state.BaseName = BaseNameOf(sourcePath, style_);
    // Any entry counts: a dangling link named like the script would be written through.
    if (fs_.EntryExists(ScriptFileName(sourcePath))) {
        ReportExistingSlices(sourcePath);
        return;
    }
    if (state.SliceCount <= 0) return;
    RemoveInterruptedSplit(sourcePath);
    if (fs_.EntryExists(SliceFileName(sourcePath, 1)) || fs_.EntryExists(PartialScriptName(sourcePath, style_)) ||
        OutputsReachSource(sourcePath)) {
        ReportExistingSlices(sourcePath);
        return;
    }
    // A name too long for the folder would fail after slices were written.
    fs_.CheckNewName(SliceFileName(sourcePath, state.SliceCount));
    fs_.CheckNewName(PartialScriptName(sourcePath, style_));
    SplitFile(sourcePath);
}

// A slice or the script that is the source under another name (X.°02 cut
// into X.°01, X.°02..., a link or a second hard link to it) would replace
// the source while it is read.
bool Engine::OutputsReachSource(const std::string& sourcePath) {
    InputFiles source(fs_);
    source.Add(sourcePath);
    if (source.Reaches(ScriptFileName(sourcePath)) || source.Reaches(PartialScriptName(sourcePath, style_)))
        return true;
    for (std::int64_t k = 1; k <= state.SliceCount; ++k)
        if (source.Reaches(SliceFileName(sourcePath, k))) return true;
    return false;
}

// A killed split leaves its slices and its partial script, which records
// this very source: being copies of a file that is still there, they are
// removed so that the split can run again. Anything else is left to the user.
void Engine::RemoveInterruptedSplit(const std::string& sourcePath) {
    const std::string partial = PartialScriptName(sourcePath, style_);
    if (fs_.KindOf(partial) != EntryKind::File) return;
    const ScriptValues recorded = ReadScriptValues(partial);
    if (recorded.NomOriginal != FolderOf(ScriptFileName(sourcePath), style_) + NamePartOf(sourcePath, style_)) return;
    InputFiles source(fs_);
    source.Add(sourcePath);
    // Slices are written in order: the leftovers run from 1 without a gap.
    std::int64_t leftovers = 0;
    while (leftovers < recorded.Tranches && fs_.KindOf(SliceFileName(sourcePath, leftovers + 1)) == EntryKind::File) {
        if (source.Reaches(SliceFileName(sourcePath, leftovers + 1))) return;
        ++leftovers;
    }
    DeleteSlices(sourcePath, leftovers);
    fs_.Delete(partial);
    ui_.AppendLog("Restes d'un découpage interrompu effacés : " + partial + " et " + std::to_string(leftovers) +
                  " tranche(s).");
}

void Engine::ReportExistingSlices(const std::string& sourcePath) {
    ui_.ShowMessage("Effacez les fichiers " + FolderOf(sourcePath, style_) + state.BaseName +
                    ". d'extentions .d et .°* présents.");
    ui_.AppendLog("Des tranches existent sûrement déjà.");
    ui_.AppendLog("... Arrêt du processus. ");
}

void Engine::SplitFile(const std::string& sourcePath) {
    FlagScope busy(state.Busy);
    ScopeExit resetProgress([this] { ui_.ResetProgress(); });
    ui_.AppendLog("Nombre de tranche : " + std::to_string(state.SliceCount));
    ui_.SetProgressMax(state.SourceSize);
    auto source = fs_.OpenRead(sourcePath);
    std::int64_t i = 1;
    state.BaseName = BaseNameOf(sourcePath, style_);
    const std::string partialScript = PartialScriptName(sourcePath, style_);
    // What this split put on disk, removed on every way out but the normal end.
    std::int64_t slicesWritten = 0;
    bool partialWritten = false;
    auto removeWritten = [&] {
        DeleteSlices(sourcePath, slicesWritten);
        if (partialWritten) fs_.Delete(partialScript);
    };
    try {
        WritePartialScript(sourcePath, partialWritten);
        CopyBuffer buffer;
        // Every slice is SliceSize / 2048 block steps; the bar moves 2048 a
        // step whether or not the step still found bytes to copy.
        std::int64_t steps = state.SliceSize / kBlockSize;
        if (steps < 1) steps = 1;
        const auto stepBytes = static_cast<std::uint64_t>(steps * kBlockSize);
        const auto sourceSize = static_cast<std::uint64_t>(std::max<std::int64_t>(state.SourceSize, 0));
        std::uint64_t copied = 0;
        // Made while the bytes are copied: no second reading.
        SliceAndFileFingerprints seen;
        Fingerprints fingerprints;
        // No more slices than the script will count, no more bytes than it
        // will record, whatever the source does meanwhile.
        while (i <= state.SliceCount && !source->AtEnd()) {
            const std::string slicePath = SliceFileName(sourcePath, i);
            // A slice left by an earlier split is replaced, never written
            // through: its entry goes (a link, not what it points to).
            if (fs_.EntryExists(slicePath) && !fs_.Delete(slicePath)) throw IoError(kAccessDenied, slicePath);
            std::uint64_t sliceBytes = 0;
            bool stoppedInside = false;
            {
                auto slice = fs_.CreateNew(slicePath);
                ++slicesWritten;
                seen.slice.Reset();
                std::int64_t progressDone = 0;
                const PacedCopy copy =
                    CopyPaced(*source, *slice, std::min(stepBytes, sourceSize - copied), buffer, &seen, progressDone);
                sliceBytes = copy.copied;
                copied += sliceBytes;
                stoppedInside = copy.stopped;
                fingerprints.slices.push_back(seen.slice.Value());
                if (!stoppedInside) ui_.AdvanceProgress(steps * kBlockSize - progressDone);
                slice->Close();
            }
            // A stop asked inside the slice is acted on at once: the slice
            // is not finished, and goes with the others.
            if (!stoppedInside) {
                // The copy's own count: the slice was created empty and only
                // this copy wrote to it.
                ui_.AppendLog(slicePath + ": " + std::to_string(sliceBytes) + " octet(s)");
                ++i;
                RunMessages();
            }
            if (state.CancelRequested) {
                ui_.AppendLog("Arrêt.");
                source.reset();
                ui_.ResetProgress();
                state.CancelRequested = false;
                removeWritten();
                return;
            }
        }
        // The slices must hold exactly the bytes the script records.
        if (copied != sourceSize || !source->AtEnd()) {
            source.reset();
            removeWritten();
            Fail("La taille du fichier " + sourcePath + " a changé pendant le découpage.");
            return;
        }
        source->Close();
        ui_.ResetProgress();
        fingerprints.file = seen.file.Value();
        WriteScript(sourcePath, &fingerprints);
    } catch (...) {
        source.reset();
        removeWritten();
        throw;
    }
    ui_.AppendLog("...Ok");
    result_ = Outcome::Completed;
}

void Engine::DeleteSlices(const std::string& sourcePath, std::int64_t n) {
    for (std::int64_t k = 1; k <= n; ++k) fs_.Delete(SliceFileName(sourcePath, k));
}

}  // namespace sorv
