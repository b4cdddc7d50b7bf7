// Rebuilding a file from its script and slices.
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "copy_buffer.h"
#include "engine.h"
#include "flag_scope.h"
#include "sizes.h"

namespace sorv {

namespace {

// The bar advances 2048 per read, and each slice ends with one empty read.
std::int64_t JoinProgressFor(std::uint64_t bytes) {
    const auto blocks = static_cast<std::int64_t>((bytes + kBlockSize - 1) / kBlockSize);
    return (blocks + 1) * kBlockSize;
}

}  // namespace

std::string Engine::JoinTarget(const std::string& scriptPath) const {
    return FolderOf(scriptPath, style_) + NamePartOf(state.RecordedName, RecordedNameStyle(style_));
}

void Engine::VerifySlices(const std::string& scriptPath) {
    for (std::int64_t k = 1; k <= state.RecordedSliceCount; ++k) {
        if (!fs_.Exists(SliceFileName(scriptPath, k))) {
            ui_.AppendLog("Il manque la tranche " + std::string(kDegree) + SliceNumberText(k));
            state.SlicesVerified = false;
            return;
        }
    }
}

// A target named like the script or one of its slices would destroy an input
// of the join before it is read.
bool Engine::TargetIsAnInput(const std::string& scriptPath) const {
    const std::string target = JoinTarget(scriptPath);
    if (SameFileName(target, scriptPath, style_)) return true;
    if (!SameFileName(BaseNameOf(target, style_), BaseNameOf(scriptPath, style_), style_)) return false;
    const std::int64_t n = SliceNumberOf(target, style_);
    return n >= 1 && n <= state.RecordedSliceCount;
}

void Engine::JoinSlices(const std::string& scriptPath) {
    FlagScope busy(state.Busy);
    const std::string target = JoinTarget(scriptPath);
    // The progress bar takes no range below 0: refuse before writing anything.
    if (state.RecordedSize < 0) throw std::runtime_error("Propriété TProgressBar hors limites");
    ui_.SetProgressMax(state.RecordedSize);
    const bool targetIsInput = TargetIsAnInput(scriptPath);
    if (targetIsInput || fs_.Exists(target)) {
        ui_.AppendLog("Le fichier à reconstituer existe déjà :" + target);
        if (targetIsInput ||
            ui_.AskConfirmation("Le fichier à reconstituer existe déjà ! Voulez vous l'effacer ?") != Answer::Yes) {
            ui_.AppendLog("Arrêt. ");
            return;
        }
        fs_.Delete(target);
    }
    auto output = fs_.Create(target);
    output->Reserve(static_cast<std::uint64_t>(state.RecordedSize));
    auto buffer = MakeCopyBuffer();
    std::uint64_t rebuilt = 0;
    for (std::int64_t i = 1; i <= state.RecordedSliceCount; ++i) {
        const std::string slicePath = SliceFileName(scriptPath, i);
        {
            auto slice = fs_.OpenRead(slicePath);
            const std::int64_t size = FileSizeOf(slicePath);
            const std::uint64_t copied = slice->CopyTo(*output, std::numeric_limits<std::uint64_t>::max(), buffer);
            rebuilt += copied;
            ui_.AdvanceProgress(JoinProgressFor(copied));
            ui_.AppendLog(slicePath + ": " + std::to_string(size) + " octet(s)");
            slice->Close();
        }
        ui_.ProcessMessages();
        if (state.CancelRequested) {
            ui_.ResetProgress();
            output.reset();
            ui_.AppendLog("Arrêt.");
            state.CancelRequested = false;
            fs_.Delete(target);
            return;
        }
    }
    ui_.ResetProgress();
    output->Close();
    // A truncated or missing piece must not pass for a good copy: keep the
    // slices and the script, and do not offer to delete them.
    if (rebuilt != static_cast<std::uint64_t>(state.RecordedSize)) {
        ui_.AppendLog("Taille reconstituée incorrecte : " + std::to_string(rebuilt) + " octet(s) au lieu de " +
                      std::to_string(state.RecordedSize) + " octet(s).");
        return;
    }
    ui_.AppendLog("...Ok");
    completed_ = true;
    if (ui_.AskConfirmation("Effacer les tranches et le script ?") == Answer::Yes) DeleteSlicesAndScript(scriptPath);
}

void Engine::DeleteSlicesAndScript(const std::string& scriptPath) {
    fs_.Delete(scriptPath);
    for (std::int64_t k = 1; k <= state.RecordedSliceCount; ++k) fs_.Delete(SliceFileName(scriptPath, k));
}

}  // namespace sorv
