// Putting a set back on disk: every missing or damaged slice and recovery
// slice is written again under a partial name, checked, and put in place; a
// damaged file is kept under a name that says so.
#include <algorithm>
#include <map>
#include <utility>

#include "engine.h"
#include "io_error.h"
#include "recovery_rebuild.h"
#include "scope_guards.h"

namespace sorv {

namespace {

constexpr std::string_view kChangedDuringRepair = " a changé pendant la réparation : rien n'est remis en place.";

}  // namespace

// A file the repair writes again.
struct Engine::RepairFile {
    bool recovery = false;
    std::uint32_t index = 0;  // from 0
    std::string path, partial;
    std::unique_ptr<File> file;
    Fingerprint written;
    std::optional<std::uint64_t> expected;
    std::string problem;  // why it is not put back ("" when it checks)
};

// Every file of the set judged, each bad one said; false when a stop was asked.
bool Engine::SurveyForRepair(const std::string& scriptPath, SetSurvey& survey, SliceAndFileFingerprints& seen) {
    survey = SurveySet(scriptPath, nullptr);
    // The verdict on a file the survey already knows bad.
    const auto missingOrDamaged = [&](const std::string& path) {
        const std::string place = PlaceVerdict(path);
        return place.empty() ? std::string(verdicts::kDamaged) : place;
    };
    for (std::int64_t n = 1; n <= state.RecordedSliceCount && !state.CancelRequested; ++n) {
        const auto index = static_cast<std::uint32_t>(n - 1);
        const std::string path = SliceFileName(scriptPath, n);
        const bool known = SetSurvey::Holds(survey.badData, index);
        const std::string verdict = known ? missingOrDamaged(path) : CheckOneSlice(path, n, seen);
        copier_.RunMessagesIfDue();
        // A stop inside the read leaves a slice half seen, not damaged.
        if (verdict == verdicts::kOk || state.CancelRequested) continue;
        if (!known) survey.badData.push_back(index);
        ui_.AppendLog(path + ": " + verdict);
    }
    for (std::uint32_t r = 0; r < survey.recoveryCount && !state.CancelRequested; ++r) {
        if (SetSurvey::Holds(survey.badRows, r)) {
            const std::string path = RecoverySliceFileName(scriptPath, r + 1, style_);
            ui_.AppendLog(path + ": " + missingOrDamaged(path));
        } else if (RecoverySliceIsSound(scriptPath, r)) {
            survey.soundRows.push_back(r);
        } else {
            survey.badRows.push_back(r);  // said as it was read
        }
    }
    std::sort(survey.badData.begin(), survey.badData.end());
    return !state.CancelRequested;
}

// The partial names this repair writes, cleared of a killed repair's files.
// Those cannot be told from a user's file of the same name: the user says,
// as for the join's partial file. False when the repair must not go on.
bool Engine::ClearRepairLeftovers(const std::string& scriptPath, const SetSurvey& survey) {
    for (const auto& [recovery, index] : survey.Bad())
        if (!ClearLeftoverPartial(scriptPath, RepairPartialName(scriptPath, index + 1, recovery, style_),
                                  "d'une réparation interrompue"))
            return false;
    return true;
}

// A live run's file under `partial` stops this repair; a dead run's goes
// once the user agrees. False when the repair must not go on.
bool Engine::ClearLeftoverPartial(const std::string& scriptPath, const std::string& partial,
                                  const std::string& deadRun) {
    Leftover leftover = ProbeLeftover(partial);
    if (leftover.live) {
        RefuseLiveRun(LiveRun::Join, scriptPath);
        return false;
    }
    return leftover.kind == EntryKind::None || RemoveLeftoverPartial(partial, leftover, deadRun);
}

std::string Engine::SetFileName(const std::string& scriptPath, bool recovery, std::uint32_t index) const {
    return recovery ? RecoverySliceFileName(scriptPath, index + 1, style_) : SliceFileName(scriptPath, index + 1);
}

std::optional<std::uint64_t> Engine::RecordedPrint(bool recovery, std::uint32_t index) const {
    return recovery ? script_.Secours.Slice(index + 1) : script_.Empreintes.Slice(index + 1);
}

// The rebuild is a function of files that each checked against the script:
// when it does not check too, the script contradicts itself.
std::string Engine::PrintDisagreement(const std::string& path, std::optional<std::uint64_t> recorded,
                                      std::uint64_t rebuilt) {
    if (recorded == rebuilt) return {};
    const std::string print = "L'empreinte de " + path + " dans le script ";
    if (!fs_.EntryExists(path)) return print + "ne correspond pas à sa reconstitution.";
    if (FingerprintOnDisk(path) == rebuilt) return print + "est fausse : le fichier est identique à sa reconstitution.";
    return print + "ne correspond ni au fichier ni à sa reconstitution.";
}

bool Engine::RebuildBadFiles(const std::string& scriptPath, const SetSurvey& survey, const Rebuilder::Emit& emit) {
    const std::vector<std::uint32_t> rows(survey.soundRows.begin(),
                                          survey.soundRows.begin() + static_cast<std::ptrdiff_t>(survey.badData.size()));
    Rebuilder rebuilder(RebuildJobFor(survey, survey.badData, rows, survey.badRows), RecoveryMemory);
    return rebuilder.Run(RebuildReader(scriptPath), emit);
}

// What a repair would find, without writing: the lines of the bad files
// whose rebuild the script's fingerprints do not take.
std::vector<std::string> Engine::FalsePrints(const std::string& scriptPath, const SetSurvey& survey) {
    std::map<std::pair<bool, std::uint32_t>, Fingerprint> prints;
    for (const auto& file : survey.Bad()) prints[file];
    const auto emit = [&](bool recovery, std::uint32_t index, std::uint64_t, std::span<const std::byte> bytes) {
        prints[{recovery, index}].Add(bytes);
    };
    std::vector<std::string> lines;
    if (!RebuildBadFiles(scriptPath, survey, emit)) return lines;
    for (const auto& [file, print] : prints) {
        const auto& [recovery, index] = file;
        const std::string problem =
            PrintDisagreement(SetFileName(scriptPath, recovery, index), RecordedPrint(recovery, index), print.Value());
        if (!problem.empty()) lines.push_back(problem);
    }
    return lines;
}

// The rebuilt files, under their partial names, each judged as written and
// read back; false when a stop was asked or another run holds one.
bool Engine::WriteRepairs(const std::string& scriptPath, const SetSurvey& survey, Outputs& outputs,
                          std::vector<RepairFile>& files) {
    for (const auto& [recovery, index] : survey.Bad()) {
        RepairFile f{recovery, index, SetFileName(scriptPath, recovery, index),
                     RepairPartialName(scriptPath, index + 1, recovery, style_), nullptr, Fingerprint(),
                     RecordedPrint(recovery, index), {}};
        f.file = outputs.Create(f.partial, true);
        // Until it is complete and closed: a run that dies leaves a file
        // whose lock the next one can take.
        const bool locked = f.file->TryLock();
        files.push_back(std::move(f));
        if (!locked) {
            RefuseLiveRun(LiveRun::Join, scriptPath);
            return false;
        }
    }
    const auto emit = [&](bool recovery, std::uint32_t index, std::uint64_t, std::span<const std::byte> bytes) {
        for (RepairFile& f : files) {
            if (f.recovery != recovery || f.index != index) continue;
            f.file->Write(bytes);
            f.written.Add(bytes);
        }
    };
    if (!RebuildBadFiles(scriptPath, survey, emit)) return false;
    for (RepairFile& f : files) f.file->Close();
    for (RepairFile& f : files) {
        FingerprintFrom back;
        std::int64_t shown = 0;
        const auto codingSize = static_cast<std::uint64_t>(script_.Secours.CodingSize());
        // A stop cuts the read short: a stop, not a bad rebuild.
        if (copier_.Copy(*fs_.OpenRead(f.partial), nullptr, codingSize, &back, shown).stopped ||
            copier_.RunMessagesIfDue())
            return false;
        f.problem = PrintDisagreement(f.path, f.expected, f.written.Value());
        if (f.problem.empty() && back.fingerprint.Value() != f.expected)
            f.problem = "Le fichier " + f.path + " n'a pas pu être refait à partir des tranches de secours.";
    }
    return true;
}

// Each rebuilt slice checks by its own value; read in order with the others
// they must also make the file the script describes, or the script
// contradicts itself and nothing is put in place. When one does not check,
// the script is blamed only if every file the rebuild read still checks.
// False when they do not (said) or a stop was asked.
bool Engine::RepairsMakeTheFile(const std::string& scriptPath, const SetSurvey& survey,
                                const std::vector<RepairFile>& files) {
    const std::optional<std::uint64_t> file = script_.Empreintes.File();
    const bool allCheck = std::all_of(files.begin(), files.end(), [](const RepairFile& f) { return f.problem.empty(); });
    if (!allCheck) return SourcesStillCheck(scriptPath, survey, kChangedDuringRepair);
    if (survey.badData.empty() || !file) return true;
    SliceAndFileFingerprints whole;
    for (std::int64_t n = 1; n <= state.RecordedSliceCount; ++n) {
        const auto rebuilt = std::find_if(files.begin(), files.end(),
                                          [n](const RepairFile& f) { return !f.recovery && f.index + 1 == n; });
        if (!SliceStillChecks(scriptPath, rebuilt != files.end() ? rebuilt->partial : SliceFileName(scriptPath, n), n,
                              whole, kChangedDuringRepair))
            return false;
    }
    if (whole.file.Value() == *file) return true;
    SayScriptBelied(scriptPath);
    return false;
}

// The sound files of the survey, read again: another program may have
// changed one since, which the rebuild then took in. `changed` ends the
// line that names such a file.
bool Engine::SourcesStillCheck(const std::string& scriptPath, const SetSurvey& survey, std::string_view changed) {
    SliceAndFileFingerprints seen;
    for (std::int64_t n = 1; n <= state.RecordedSliceCount; ++n)
        if (!SetSurvey::Holds(survey.badData, static_cast<std::uint32_t>(n - 1)) &&
            !SliceStillChecks(scriptPath, SliceFileName(scriptPath, n), n, seen, changed))
            return false;
    for (const std::uint32_t r : survey.soundRows) {
        const bool sound = !RecoverySliceFault(scriptPath, r);
        if (state.CancelRequested || copier_.RunMessagesIfDue()) return false;
        if (!sound) return Failed("La tranche de secours " + RecoverySliceFileName(scriptPath, r + 1, style_) + std::string(changed));
    }
    return true;
}

// Slice n, read from `readFrom`, checks as the survey found it; false when
// it changed (said) or a stop was asked.
bool Engine::SliceStillChecks(const std::string& scriptPath, const std::string& readFrom, std::int64_t n,
                              SliceAndFileFingerprints& seen, std::string_view changed) {
    const std::string verdict = CheckOneSlice(readFrom, n, seen);
    if (state.CancelRequested || copier_.RunMessagesIfDue()) return false;
    if (verdict == verdicts::kOk || verdict == verdicts::kPrintUnreadable) return true;
    return Failed("La tranche " + SliceFileName(scriptPath, n) + std::string(changed));
}

// A damaged file steps aside under a name of its own, never replaced; a
// checked one takes its name. One that does not check is not put back.
void Engine::PutRepairsInPlace(std::vector<RepairFile>& files, Outputs& outputs) {
    for (RepairFile& f : files) {
        if (!f.problem.empty()) continue;
        if (fs_.EntryExists(f.path)) {
            int attempt = 1;
            while (fs_.EntryExists(DamagedFileName(f.path, attempt))) ++attempt;
            fs_.Rename(f.path, DamagedFileName(f.path, attempt), false);
            ui_.AppendLog("Le fichier endommagé " + f.path + " est gardé sous le nom " + DamagedFileName(f.path, attempt) + ".");
        }
        outputs.Rename(f.partial, f.path, false);
        outputs.Keep(f.path);
        ui_.AppendLog(f.recovery ? "La tranche de secours " + f.path + " est refaite."
                                 : "La tranche " + f.path + " est reconstituée à partir des tranches de secours.");
    }
    files.erase(std::remove_if(files.begin(), files.end(), [](const RepairFile& f) { return f.problem.empty(); }),
                files.end());
    DiscardOutputs(outputs);
}

// A folder or a FIFO in a set file's place is the user's, not a damaged
// file to set aside: the repair would move it. Nothing is written then.
std::vector<std::string> Engine::StrayEntries(const std::string& scriptPath, const SetSurvey& survey) {
    std::vector<std::string> strays;
    for (const auto& [recovery, index] : survey.Bad()) {
        const std::string path = SetFileName(scriptPath, recovery, index);
        const EntryKind kind = WhatStandsIn(path);
        if (kind != EntryKind::None && kind != EntryKind::File) strays.push_back(path);
    }
    // A repair that writes takes the join's partial name too, as its lock.
    if (const std::string lock = PartialJoinName(scriptPath, style_); LockNameInTheWay(lock)) strays.push_back(lock);
    return strays;
}

bool Engine::RefuseStrayEntries(const std::string& scriptPath, const SetSurvey& survey) {
    const std::vector<std::string> strays = StrayEntries(scriptPath, survey);
    for (const std::string& path : strays) Fail(path + " n'est pas un fichier : il n'est pas déplacé, rien n'est réparé.");
    return !strays.empty();
}

// The join's lock for a repair: no join nor another repair of this set
// meanwhile. None when the medium takes no new file (read-only, write-
// protected), whose set no other run can be writing either: a repair that
// finds it whole needs no lock, one that must write stops, `refused` saying why.
std::unique_ptr<File> Engine::TakeRepairLock(Outputs& holder, const std::string& partial, std::string& refused) {
    try {
        return holder.Create(partial, true);
    } catch (const IoError& e) {
        if (e.code() != kAccessDenied && e.code() != kWriteProtected) throw;
        refused = partial + " ne peut pas être créé (" + e.text() + ") : rien n'est réparé.";
        return nullptr;
    }
}

// The entry itself, not what a link leads to: the lock is made there.
bool Engine::LockNameInTheWay(const std::string& partial) {
    const EntryKind kind = fs_.KindOf(partial);
    return kind != EntryKind::None && kind != EntryKind::File;
}

void Engine::RepairFlow(const std::string& scriptPath) {
    FlagScope busy(state.Busy);
    ScopeExit resetProgress([this] { ui_.ResetProgress(); });
    const std::string partial = PartialJoinName(scriptPath, style_);
    // What is not a file there is no run's lock, and takes none: a set
    // that needs nothing written is still judged.
    std::string refused = LockNameInTheWay(partial) ? InTheWay(partial) : "";
    if (refused.empty() && !ClearLeftoverPartial(scriptPath, partial)) return;
    Outputs lockHolder(fs_);
    auto lock = refused.empty() ? TakeRepairLock(lockHolder, partial, refused) : nullptr;
    // Removed while still locked, then closed, so that no other run can take
    // it for a dead join's file meanwhile; said when it stays.
    ScopeExit releaseLock([&] {
        DiscardOutputs(lockHolder);
        lock.reset();
    });
    if (lock && !lock->TryLock()) return RefuseLiveRun(LiveRun::Join, scriptPath);
    if (ASliceBeliesTheSize(scriptPath)) return;
    SetSurvey survey;
    SliceAndFileFingerprints seen;
    if (!SurveyForRepair(scriptPath, survey, seen)) return SayStopped();
    // Every slice read in order: the whole file was seen too.
    if (const auto file = script_.Empreintes.File(); survey.badData.empty() && file && *file != seen.file.Value())
        return SayScriptBelied(scriptPath);
    if (survey.badData.empty() && survey.badRows.empty()) {
        ui_.AppendLog("Le jeu est entier : rien à réparer.");
        ui_.AppendLog("...Ok");
        result_ = Outcome::Completed;
        return;
    }
    if (survey.badData.size() > survey.soundRows.size()) return Fail("Perdu : " + LostLine(survey.badData.size(), survey));
    if (!refused.empty()) return Fail(refused);
    if (RefuseStrayEntries(scriptPath, survey) || !OpenFilesSuffice(survey.badData.size() + survey.badRows.size()) ||
        !ClearRepairLeftovers(scriptPath, survey))
        return;
    WriteRepairedFiles(scriptPath, survey);
}

// Every bad file of the survey written again, checked and put in place.
void Engine::WriteRepairedFiles(const std::string& scriptPath, const SetSurvey& survey) {
    Outputs outputs(fs_);
    std::vector<RepairFile> files;
    try {
        if (!WriteRepairs(scriptPath, survey, outputs, files) || !RepairsMakeTheFile(scriptPath, survey, files)) {
            if (result_ == Outcome::Stopped) SayStopped();
            return DiscardOutputs(outputs);
        }
        PutRepairsInPlace(files, outputs);
    } catch (...) {
        files.clear();
        DiscardOutputs(outputs);
        throw;
    }
    // Left: the files that do not check; the set does not either.
    for (const RepairFile& f : files) Fail(f.problem);
    if (!files.empty()) return;
    ui_.AppendLog("...Ok");
    result_ = Outcome::Completed;
}

Outcome Engine::RepairSet(std::string scriptPath) {
    return RunFlow([&] {
        if (!LoadScript(scriptPath)) return;
        if (SetHeldByARun(scriptPath)) return RefuseLiveRun(LiveRun::Join, scriptPath);
        if (!ScriptDescribesAFile(scriptPath)) return;
        if (const std::string why = RecoveryProblem(); !why.empty())
            return Fail("Le script " + scriptPath + " ne permet aucune réparation (" + why + ").");
        ui_.SetProgressMax(state.RecordedSize);
        RepairFlow(scriptPath);
    });
}

}  // namespace sorv
