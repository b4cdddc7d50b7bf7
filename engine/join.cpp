// Rebuilding a file from its script and slices.
#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "copy_buffer.h"
#include "engine.h"
#include "fingerprint_observer.h"
#include "input_files.h"
#include "io_error.h"
#include "scope_guards.h"
#include "sizes.h"

namespace sorv {

namespace {

constexpr int kAccessDenied = 5;

// The bar advances 2048 per read, and each slice ends with one empty read.
std::int64_t JoinProgressFor(std::uint64_t bytes) {
    const auto blocks = static_cast<std::int64_t>((bytes + kBlockSize - 1) / kBlockSize);
    return (blocks + 1) * kBlockSize;
}

std::uint64_t SizeOrZero(std::int64_t size) { return size > 0 ? static_cast<std::uint64_t>(size) : 0; }

}  // namespace

std::string Engine::JoinTarget(const std::string& scriptPath) const {
    return FolderOf(scriptPath, style_) + NamePartOf(state.RecordedName, RecordedNameStyle(style_));
}

void Engine::VerifySlices(const std::string& scriptPath) {
    for (std::int64_t k = 1; k <= state.RecordedSliceCount; ++k) {
        if (!fs_.EntryExists(SliceFileName(scriptPath, k))) {
            ui_.AppendLog("Il manque la tranche " + std::string(kDegree) + SliceNumberText(k));
            state.SlicesVerified = false;
            return;
        }
    }
}

// A target that is the script or a slice under another name (a case or a
// trailing dot Windows ignores, a link, a second hard link) would replace an
// input of the join; so would a partial file that is one of them.
bool Engine::TargetIsAnInput(const std::string& scriptPath, const std::string& target, const std::string& partial) {
    InputFiles inputs(fs_);
    inputs.Add(scriptPath);
    for (std::int64_t k = 1; k <= state.RecordedSliceCount; ++k) inputs.Add(SliceFileName(scriptPath, k));
    return inputs.Reaches(target) || inputs.Reaches(partial) || fs_.SameFile(target, partial);
}

// Says what the slice's fingerprint shows; false when the slice is damaged.
bool Engine::SliceIsSound(const std::string& slicePath, std::int64_t n, std::uint64_t fingerprint) {
    const std::optional<std::uint64_t> recorded = recordedFingerprints_.Slice(n);
    if (!recorded) {
        ui_.AppendLog("Empreinte illisible pour la tranche " + slicePath + " : elle n'est pas vérifiée.");
        return true;
    }
    if (*recorded == fingerprint) return true;
    Fail("La tranche " + slicePath + " est endommagée.");
    return false;
}

// What the slices hold together, so that no more room is reserved than the
// join can fill.
std::uint64_t Engine::SlicesTotal(const std::string& scriptPath) {
    std::uint64_t total = 0;
    for (std::int64_t k = 1; k <= state.RecordedSliceCount; ++k) total += SizeOrZero(FileSizeOf(SliceFileName(scriptPath, k)));
    return total;
}

void Engine::JoinSlices(const std::string& scriptPath) {
    FlagScope busy(state.Busy);
    ScopeExit resetProgress([this] { ui_.ResetProgress(); });
    const std::string target = JoinTarget(scriptPath);
    // The progress bar takes no range below 0: refuse before writing anything.
    if (state.RecordedSize < 0) throw std::runtime_error("Propriété TProgressBar hors limites");
    ui_.SetProgressMax(state.RecordedSize);
    // A folder cannot become the rebuilt file (a script without NomOriginal
    // names the script's folder itself).
    if (fs_.KindOf(target) == EntryKind::Folder) throw IoError(kAccessDenied, target);
    fs_.CheckNewName(target);
    const std::string partial = PartialJoinName(scriptPath, style_);
    const bool targetIsInput = TargetIsAnInput(scriptPath, target, partial);
    bool replaceTarget = false;
    if (targetIsInput || fs_.EntryExists(target)) {
        ui_.AppendLog("Le fichier à reconstituer existe déjà :" + target);
        if (targetIsInput ||
            ui_.AskConfirmation("Le fichier à reconstituer existe déjà ! Voulez vous l'effacer ?") != Answer::Yes) {
            ui_.AppendLog("Arrêt. ");
            return;
        }
        // Replaced when the rebuilt file is complete and checked, not before.
        replaceTarget = true;
    }
    // A partial file left by a killed join of this script.
    fs_.Delete(partial);
    auto output = fs_.CreateTemporary(partial);
    const FileId rebuiltId = output->Identity();
    // Only the file this join wrote is removed: a concurrent join may have
    // put its own under the partial name.
    auto discard = [&] {
        output.reset();
        if (fs_.IdentityOf(partial) == rebuiltId) fs_.Delete(partial);
    };
    try {
        output->Reserve(std::min(SizeOrZero(state.RecordedSize), SlicesTotal(scriptPath)));
        CopyBuffer buffer;
        const auto recordedSize = static_cast<std::uint64_t>(state.RecordedSize);
        // Scripts written before slices had fingerprints join as they always did.
        const RecordedFingerprints& recorded = recordedFingerprints_;
        const bool checking = recorded.Present() && recorded.KnownAlgorithm();
        if (recorded.Present() && !checking)
            ui_.AppendLog(recorded.UnknownAlgorithmText() + " : les tranches ne sont pas vérifiées.");
        SliceAndFileFingerprints seen;
        std::int64_t damaged = 0;
        std::uint64_t rebuilt = 0;
        std::uint64_t slicesHold = 0;  // what the slices hold, excess included
        bool sliceSizeWrong = false;
        for (std::int64_t i = 1; i <= state.RecordedSliceCount; ++i) {
            const std::string slicePath = SliceFileName(scriptPath, i);
            bool stoppedInside = false;
            {
                auto slice = fs_.OpenRead(slicePath);
                // From the open handle: the file being read, not a name looked up again.
                const auto size = static_cast<std::int64_t>(slice->Size());
                // Never past the slice's measured size, never past the recorded
                // total: a slice that grows (or feeds on the output) cannot
                // fill the disk.
                const std::uint64_t limit = std::min(SizeOrZero(size), recordedSize - rebuilt);
                seen.slice.Reset();
                std::int64_t progressDone = 0;
                std::uint64_t copied = 0;
                if (damaged == 0) {
                    const PacedCopy copy =
                        CopyPaced(*slice, *output, limit, buffer, checking ? &seen : nullptr, progressDone);
                    copied = copy.copied;
                    stoppedInside = copy.stopped;
                } else {
                    // Once one slice is damaged nothing more is written, but the
                    // others are still checked.
                    copied = slice->ReadThrough(limit, buffer, seen);
                }
                rebuilt += copied;
                if (slice->AtEnd()) {
                    slicesHold += copied;
                } else {
                    sliceSizeWrong = true;
                    slicesHold += std::max(slice->Size(), copied);
                }
                // A stop asked inside the slice is acted on at once.
                if (!stoppedInside) {
                    ui_.AdvanceProgress(JoinProgressFor(copied) - progressDone);
                    ui_.AppendLog(slicePath + ": " + std::to_string(size) + " octet(s)");
                }
                slice->Close();
            }
            if (!stoppedInside) {
                // The first damaged slice ends the writing: the part rebuilt goes.
                if (checking && !SliceIsSound(slicePath, i, seen.slice.Value()) && damaged++ == 0) discard();
                RunMessages();
            }
            if (state.CancelRequested) {
                ui_.ResetProgress();
                if (output) output->Close();
                ui_.AppendLog("Arrêt.");
                state.CancelRequested = false;
                discard();
                return;
            }
        }
        ui_.ResetProgress();
        if (damaged > 0) {
            Fail(std::to_string(damaged) + " tranche(s) endommagée(s) : " + target + " n'est pas reconstitué.");
            return;
        }
        output->Close();
        // A truncated or missing piece must not pass for a good copy: nothing
        // under the real name, the slices and the script kept, no offer to
        // delete them.
        if (sliceSizeWrong || rebuilt != recordedSize) {
            discard();
            Fail("Taille reconstituée incorrecte : " + std::to_string(slicesHold) + " octet(s) au lieu de " +
                 std::to_string(state.RecordedSize) + " octet(s).");
            return;
        }
        if (checking) {
            const std::optional<std::uint64_t> file = recorded.File();
            if (!file) {
                ui_.AppendLog("Empreinte illisible pour le fichier entier : il n'est pas vérifié.");
            } else if (*file != seen.file.Value()) {
                discard();
                Fail("Le fichier reconstitué ne correspond pas à son empreinte : " + target + " n'est pas reconstitué.");
                return;
            }
        }
        if (fs_.IdentityOf(partial) != rebuiltId) {
            Fail("Le fichier " + partial + " a été remplacé ou effacé pendant le regroupement : " + target +
                 " n'est pas reconstitué.");
            return;
        }
        fs_.Rename(partial, target, replaceTarget);
    } catch (...) {
        discard();
        throw;
    }
    if (fs_.IdentityOf(target) != rebuiltId) {
        Fail("Le fichier " + target + " a été remplacé pendant le regroupement.");
        return;
    }
    ui_.AppendLog("...Ok");
    result_ = Outcome::Completed;
    if (ui_.AskConfirmation("Effacer les tranches et le script ?") == Answer::Yes) DeleteSlicesAndScript(scriptPath);
}

void Engine::DeleteSlicesAndScript(const std::string& scriptPath) {
    fs_.Delete(scriptPath);
    for (std::int64_t k = 1; k <= state.RecordedSliceCount; ++k) fs_.Delete(SliceFileName(scriptPath, k));
}

}  // namespace sorv
