// Cutting a source file into slices.
#include <cstdint>

#include "copy_buffer.h"
#include "engine.h"
#include "flag_scope.h"
#include "io_error.h"
#include "sizes.h"

namespace sorv {

namespace {

constexpr std::uint32_t kNoAttributes = 0xFFFFFFFFu;

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
    if (fs_.Exists(ScriptFileName(sourcePath))) {
        ReportExistingSlices(sourcePath);
        return;
    }
    if (state.SliceCount <= 0) return;
    if (fs_.Exists(SliceFileName(sourcePath, 1)) || SourceIsOneOfItsSlices(sourcePath)) {
        ReportExistingSlices(sourcePath);
        return;
    }
    SplitFile(sourcePath);
}

// A source named like one of the slices it would produce (X.°02 cut into
// X.°01, X.°02...) would be replaced by its own slice while being read.
bool Engine::SourceIsOneOfItsSlices(const std::string& sourcePath) const {
    const std::int64_t n = SliceNumberOf(sourcePath, style_);
    return n >= 1 && n <= state.SliceCount;
}

void Engine::ReportExistingSlices(const std::string& sourcePath) {
    ui_.ShowMessage("Effacez les fichiers " + FolderOf(sourcePath, style_) + state.BaseName +
                    ". d'extentions .d et .°* présents.");
    ui_.AppendLog("Des tranches existent sûrement déjà.");
    ui_.AppendLog("... Arrêt du processus. ");
}

void Engine::SplitFile(const std::string& sourcePath) {
    FlagScope busy(state.Busy);
    ui_.AppendLog("Nombre de tranche : " + std::to_string(state.SliceCount));
    ui_.SetProgressMax(state.SourceSize);
    auto source = fs_.OpenRead(sourcePath);
    std::int64_t i = 1;
    state.BaseName = BaseNameOf(sourcePath, style_);
    auto buffer = MakeCopyBuffer();
    // Every slice is SliceSize / 2048 block steps; the bar moves 2048 a step
    // whether or not the step still found bytes to copy.
    std::int64_t steps = state.SliceSize / kBlockSize;
    if (steps < 1) steps = 1;
    const auto stepBytes = static_cast<std::uint64_t>(steps * kBlockSize);
    while (!source->AtEnd()) {
        const std::string slicePath = SliceFileName(sourcePath, i);
        {
            auto slice = fs_.Create(slicePath);
            source->CopyTo(*slice, stepBytes, buffer);
            ui_.AdvanceProgress(steps * kBlockSize);
            slice->Close();
        }
        ui_.AppendLog(slicePath + ": " + std::to_string(FileSizeOf(slicePath)) + " octet(s)");
        ++i;
        ui_.ProcessMessages();
        if (state.CancelRequested) {
            ui_.AppendLog("Arrêt.");
            source.reset();
            ui_.ResetProgress();
            state.CancelRequested = false;
            DeleteSlices(sourcePath, i - 1);
            return;
        }
    }
    source->Close();
    ui_.ResetProgress();
    WriteScript(sourcePath);
    ui_.AppendLog("...Ok");
    completed_ = true;
}

void Engine::DeleteSlices(const std::string& sourcePath, std::int64_t n) {
    for (std::int64_t k = 1; k <= n; ++k) fs_.Delete(SliceFileName(sourcePath, k));
}

}  // namespace sorv
