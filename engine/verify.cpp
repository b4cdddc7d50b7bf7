// Checking the slices of a script against its fingerprints, rebuilding nothing.
#include <algorithm>
#include <limits>

#include "engine.h"
#include "io_error.h"
#include "scope_guards.h"

namespace sorv {

namespace {

// Slices missing one after the other that a check without usable recovery
// slices lists before it stops: a damaged Tranches (2147483647) would
// otherwise list missing slices for hours.
constexpr std::int64_t kMissingRunListed = 100;

}  // namespace

EntryKind Engine::WhatStandsIn(const std::string& path) {
    const EntryKind kind = fs_.KindOf(path);
    return kind != EntryKind::None && fs_.Exists(path) ? EntryKind::File : kind;
}

std::string Engine::PlaceVerdict(const std::string& path) {
    switch (WhatStandsIn(path)) {
    case EntryKind::None: return std::string(verdicts::kMissing);
    case EntryKind::Folder: return "un dossier, pas une tranche";
    case EntryKind::Other: return "pas un fichier ordinaire";
    case EntryKind::File: break;
    }
    return {};
}

// ok, endommagée, manquante, empreinte illisible, illisible (why), or what
// stands in the slice's place (PlaceVerdict).
std::string Engine::CheckOneSlice(const std::string& slicePath, std::int64_t n, SliceAndFileFingerprints& seen) {
    if (std::string place = PlaceVerdict(slicePath); !place.empty()) return place;
    seen.slice.Reset();
    try {
        auto slice = fs_.OpenRead(slicePath);
        std::int64_t shown = 0;
        const SliceCopy::Result copy = copier_.Copy(*slice, nullptr, std::numeric_limits<std::uint64_t>::max(), &seen, shown);
        ui_.AdvanceProgress(static_cast<std::int64_t>(copy.copied) - shown);
    } catch (const IoError& e) {
        return "illisible (" + e.text() + ")";
    }
    const std::optional<std::uint64_t> expected = script_.Empreintes.Slice(n);
    if (!expected) return std::string(verdicts::kPrintUnreadable);
    return std::string(*expected == seen.slice.Value() ? verdicts::kOk : verdicts::kDamaged);
}

// The script read, and its fingerprints able to check the slices; false
// when they are not (said).
bool Engine::ReadScriptToCheck(const std::string& scriptPath) {
    if (!LoadScript(scriptPath) || !ScriptDescribesAFile(scriptPath)) return false;
    const RecordedFingerprints& recorded = script_.Empreintes;
    if (!recorded.Present()) {
        Fail("Le script " + scriptPath + " n'a pas d'empreintes : ses tranches ne peuvent pas être vérifiées.");
        return false;
    }
    // Values that cannot be read are said slice by slice; a section that
    // cannot serve at all is said at once.
    std::string why = recorded.Unusable(0);
    if (why.empty()) why = recorded.CountProblem(state.RecordedSliceCount);
    if (!why.empty()) {
        Fail("Les empreintes du script sont illisibles (" + why + ") : " + scriptPath + ".");
        return false;
    }
    SayRecoveryUnused();
    return true;
}

Outcome Engine::CheckSlices(std::string scriptPath) {
    return RunFlow([&] {
        if (!ReadScriptToCheck(scriptPath)) return;
        const RecordedFingerprints& recorded = script_.Empreintes;
        FlagScope busy(state.Busy);
        ScopeExit resetProgress([this] { ui_.ResetProgress(); });
        ui_.SetProgressMax(std::max<std::int64_t>(state.RecordedSize, 0));
        SliceAndFileFingerprints seen;
        std::vector<std::uint32_t> badSlices;
        bool wholeFileSeen = true, fileBad = false;
        const bool recoveryServes = RecoveryUsable();
        std::int64_t missingRun = 0;
        for (std::int64_t k = 1; k <= state.RecordedSliceCount; ++k) {
            const std::string slicePath = SliceFileName(scriptPath, k);
            const std::string verdict = CheckOneSlice(slicePath, k, seen);
            // A stop asked inside the slice leaves it unjudged.
            if (!state.CancelRequested) {
                if (verdict != verdicts::kOk) badSlices.push_back(static_cast<std::uint32_t>(k - 1));
                if (verdict != verdicts::kOk && verdict != verdicts::kPrintUnreadable) wholeFileSeen = false;
                missingRun = verdict == verdicts::kMissing ? missingRun + 1 : 0;
                ui_.AppendLog(slicePath + ": " + verdict);
                copier_.RunMessages();
            }
            if (state.CancelRequested) return SayStopped();
            // Nothing can rebuild them: the set is already judged bad.
            if (!recoveryServes && missingRun == kMissingRunListed && k < state.RecordedSliceCount)
                return Fail("Vérification arrêtée après " + std::to_string(missingRun) + " tranches manquantes de suite : " +
                            std::to_string(badSlices.size()) + " défaut(s) dans " + scriptPath + ", les tranches " +
                            std::string(kDegree) + SliceNumberText(k + 1) + " à " + std::string(kDegree) +
                            SliceNumberText(state.RecordedSliceCount) + " ne sont pas vérifiées.");
        }
        // The slices one after the other are the file: its fingerprint is checked too.
        const std::optional<std::uint64_t> file = recorded.File();
        if (wholeFileSeen) {
            const bool fileGood = file && *file == seen.file.Value();
            ui_.AppendLog(std::string("Fichier entier: ") + (!file ? "empreinte illisible" : fileGood ? "ok" : "endommagé"));
            // A value that cannot be read checks nothing: the slices were checked each.
            fileBad = file && !fileGood;
        }
        if (fileBad && badSlices.empty()) return SayScriptBelied(scriptPath);
        if (wholeFileSeen && SizeBelied(scriptPath)) return;
        if (recoveryServes && ASliceBeliesTheSize(scriptPath, &badSlices)) return;
        if (recoveryServes) return JudgeRepair(scriptPath, badSlices);
        if (const std::size_t bad = badSlices.size() + (fileBad ? 1 : 0); bad > 0)
            return Fail("Vérification : " + std::to_string(bad) + " défaut(s) dans " + scriptPath + ".");
        // Recovery slices recorded but unusable: the file is whole, the set no longer protected.
        if (script_.Secours.Present())
            return Fail("Vérification : le fichier est entier, mais les tranches de secours de " + scriptPath +
                        " ne peuvent pas servir (" + RecoveryProblem() + ").");
        ui_.AppendLog("...Ok");
        result_ = Outcome::Completed;
    });
}

// Slices that all check and a file that does not: the script contradicts
// itself, which no recovery slice mends.
void Engine::SayScriptBelied(const std::string& scriptPath) {
    Fail("Les tranches correspondent à leurs empreintes, le fichier entier non : le script " + scriptPath +
         " ne décrit pas ce jeu.");
}

// Slices that each check and hold together another size than the script's:
// the size it records is wrong (said).
bool Engine::SizeBelied(const std::string& scriptPath) {
    const std::uint64_t total = SlicesTotal(scriptPath);
    if (total == static_cast<std::uint64_t>(state.RecordedSize)) return false;
    Fail("Les tranches font " + std::to_string(total) + " octet(s), le script en annonce " +
         std::to_string(state.RecordedSize) + " : le script " + scriptPath + " ne décrit pas ce jeu.");
    return true;
}

// The verdicts of CheckOneSlice, for a recovery slice.
std::string Engine::CheckOneRecoverySlice(const std::string& scriptPath, std::uint32_t row) {
    if (std::string place = PlaceVerdict(RecoverySliceFileName(scriptPath, row + 1, style_)); !place.empty()) return place;
    const std::optional<RecoveryFault> fault = RecoverySliceFault(scriptPath, row);
    return fault ? fault->verdict : std::string(verdicts::kOk);
}

// With recovery slices the check lists them too and says whether the file is
// whole, repairable (--reparer) or lost.
void Engine::JudgeRepair(const std::string& scriptPath, const std::vector<std::uint32_t>& badSlices) {
    SetSurvey survey;
    survey.recoveryCount = static_cast<std::uint32_t>(script_.Secours.Count());
    for (std::uint32_t r = 0; r < survey.recoveryCount; ++r) {
        const std::string verdict = CheckOneRecoverySlice(scriptPath, r);
        if (state.CancelRequested) return SayStopped();
        if (verdict != verdicts::kOk) survey.badRows.push_back(r);
        ui_.AppendLog(RecoverySliceFileName(scriptPath, r + 1, style_) + ": " + verdict);
    }
    if (badSlices.size() > survey.UsableRows()) return Fail("Perdu : " + LostLine(badSlices.size(), survey));
    if (badSlices.empty() && survey.badRows.empty()) {
        ui_.AppendLog("...Ok");
        result_ = Outcome::Completed;
        return;
    }
    // Promised only where the repair's rebuild will check: a script whose
    // fingerprint for a file disagrees with it would fail that repair every time.
    for (std::uint32_t r = 0; r < survey.recoveryCount; ++r)
        if (!SetSurvey::Holds(survey.badRows, r)) survey.soundRows.push_back(r);
    survey.badData = badSlices;
    const std::vector<std::string> falsePrints = FalsePrints(scriptPath, survey);
    if (state.CancelRequested) return SayStopped();
    // The repair moves no folder nor FIFO out of a set file's place: the user must.
    const std::vector<std::string> strays = StrayEntries(scriptPath, survey);
    for (const std::string& path : strays)
        ui_.ReportFailure(path + " n'est pas un fichier : sorv-cli --reparer ne le déplace pas, déplacez-le.");
    if (const std::size_t fixable = badSlices.size() + survey.badRows.size() - falsePrints.size(); fixable > 0)
        ui_.ReportFailure("Réparable : " + std::to_string(fixable) + " fichier(s) manquant(s) ou endommagé(s), " +
                          std::to_string(survey.recoveryCount) + " tranche(s) de secours ; " +
                          (strays.empty() ? "" : "une fois ce qui n'est pas un fichier déplacé, ") + "sorv-cli --reparer " +
                          scriptPath + " les refait.");
    for (const std::string& line : falsePrints) Fail(line);
}

}  // namespace sorv
