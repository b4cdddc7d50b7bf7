// Checking the slices of a script against its fingerprints, rebuilding nothing.
#include <algorithm>
#include <limits>

#include "copy_buffer.h"
#include "engine.h"
#include "fingerprint_observer.h"
#include "io_error.h"
#include "scope_guards.h"

namespace sorv {

Outcome Engine::CheckSlices(std::string scriptPath) {
    return RunFlow([&] {
        if (!fs_.Exists(scriptPath)) throw IoError(2, scriptPath);
        ReadScript(scriptPath);
        const RecordedFingerprints& recorded = recordedFingerprints_;
        if (!recorded.Present()) {
            Fail("Le script " + scriptPath + " n'a pas d'empreintes : ses tranches ne peuvent pas être vérifiées.");
            return;
        }
        if (!recorded.KnownAlgorithm()) {
            Fail(recorded.UnknownAlgorithmText() + " : les tranches ne peuvent pas être vérifiées.");
            return;
        }
        FlagScope busy(state.Busy);
        ScopeExit resetProgress([this] { ui_.ResetProgress(); });
        ui_.SetProgressMax(std::max<std::int64_t>(state.RecordedSize, 0));
        CopyBuffer buffer;
        SliceAndFileFingerprints seen;
        std::int64_t bad = 0;
        bool wholeFileSeen = true;
        for (std::int64_t k = 1; k <= state.RecordedSliceCount; ++k) {
            const std::string slicePath = SliceFileName(scriptPath, k);
            std::string verdict;
            if (!fs_.EntryExists(slicePath)) {
                verdict = "manquante";
            } else {
                seen.slice.Reset();
                try {
                    ui_.AdvanceProgress(static_cast<std::int64_t>(fs_.OpenRead(slicePath)->ReadThrough(std::numeric_limits<std::uint64_t>::max(), buffer, seen)));
                    const std::optional<std::uint64_t> expected = recorded.Slice(k);
                    verdict = !expected ? "empreinte illisible" : *expected == seen.slice.Value() ? "ok" : "endommagée";
                } catch (const IoError& e) {
                    verdict = "illisible (" + std::string(e.what()) + ")";
                }
            }
            if (verdict != "ok") {
                ++bad;
                if (verdict != "empreinte illisible") wholeFileSeen = false;
            }
            ui_.AppendLog(slicePath + ": " + verdict);
            ui_.ProcessMessages();
            if (state.CancelRequested) {
                ui_.AppendLog("Arrêt.");
                state.CancelRequested = false;
                return;
            }
        }
        // The slices one after the other are the file: its fingerprint is checked too.
        const std::optional<std::uint64_t> file = recorded.File();
        if (wholeFileSeen) {
            const bool fileGood = file && *file == seen.file.Value();
            ui_.AppendLog(std::string("Fichier entier: ") + (!file ? "empreinte illisible" : fileGood ? "ok" : "endommagé"));
            if (!fileGood) ++bad;
        }
        if (bad > 0) {
            Fail("Vérification : " + std::to_string(bad) + " défaut(s) dans " + scriptPath + ".");
            return;
        }
        ui_.AppendLog("...Ok");
        result_ = Outcome::Completed;
    });
}

}  // namespace sorv
