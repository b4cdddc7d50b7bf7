// Rebuilding a file from its script and slices.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>

#include "engine.h"
#include "join_pass.h"
#include "fingerprint_observer.h"
#include "input_files.h"
#include "io_error.h"
#include "recovery_bands.h"
#include "scope_guards.h"
#include "sizes.h"

namespace sorv {

namespace {

// The bar advances 2048 per read, and each slice ends with one empty read.
std::int64_t JoinProgressFor(std::uint64_t bytes) {
    const auto blocks = static_cast<std::int64_t>((bytes + kBlockSize - 1) / kBlockSize);
    return (blocks + 1) * kBlockSize;
}

std::uint64_t SizeOrZero(std::int64_t size) { return size > 0 ? static_cast<std::uint64_t>(size) : 0; }

// Every slice but the last is as long as the first, the last no longer: a
// set cut otherwise rebuilds another file, even at the right total size.
bool CutOtherwise(std::int64_t i, std::int64_t count, std::uint64_t size, std::uint64_t& first) {
    if (i == 1) first = size;
    return i == count ? size > first : size != first;
}

}  // namespace

std::string Engine::JoinTarget(const std::string& scriptPath) const {
    return FolderOf(scriptPath, style_) + NamePartOf(state.RecordedName, RecordedNameStyle(style_));
}

// With recovery slices every missing slice is named.
std::int64_t Engine::VerifySlices(const std::string& scriptPath) {
    const bool repairable = RecoveryUsable();
    std::int64_t missing = 0;
    for (std::int64_t k = 1; k <= state.RecordedSliceCount; ++k) {
        const std::string slice = SliceFileName(scriptPath, k);
        // An entry that is no file (a folder, a link to one, a FIFO) is named
        // plainly: with recovery slices it is a slice to rebuild, without
        // them it ends the join here.
        const EntryKind kind = WhatStandsIn(slice);
        if (kind == EntryKind::File) continue;
        ui_.AppendLog(kind == EntryKind::None     ? "Il manque la tranche " + std::string(kDegree) + SliceNumberText(k)
                      : kind == EntryKind::Folder ? slice + " est un dossier, pas une tranche."
                                                  : slice + " n'est pas un fichier ordinaire, pas une tranche.");
        ++missing;
        if (!repairable) break;
    }
    // Without recovery slices the file cannot be rebuilt; with them, whether
    // they are enough is judged once the set's script is known sound.
    if (missing > 0 && !repairable) {
        state.SlicesVerified = false;
        result_ = Outcome::Failed;
    }
    return missing;
}

// A target that is the script or a slice under another name (a case or a
// trailing dot Windows ignores, a link, a second hard link) would replace
// an input of the join; so would a partial file that is one of them.
bool Engine::TargetIsAnInput(const std::string& scriptPath, const std::string& target, const std::string& partial) {
    InputFiles inputs(fs_);
    inputs.Add(scriptPath);
    for (std::int64_t k = 1; k <= state.RecordedSliceCount; ++k) inputs.Add(SliceFileName(scriptPath, k));
    for (std::int64_t r = 1; r <= script_.Secours.Count() && script_.Secours.Count() < kMaxSetFiles; ++r)
        inputs.Add(RecoverySliceFileName(scriptPath, r, style_));
    return inputs.Reaches(target) || inputs.Reaches(partial) || fs_.SameFile(target, partial);
}

// False when the join must not write: the target is an input, or it exists
// and the user keeps it. `replace` says the user agreed to replace it.
bool Engine::TargetMayBeWritten(const std::string& scriptPath, const std::string& target, const std::string& partial,
                                bool& replace) {
    // A folder cannot become the rebuilt file.
    if (fs_.KindOf(target) == EntryKind::Folder) {
        Fail("Le fichier à reconstituer " + target + " est un dossier : rien n'est reconstitué.");
        return false;
    }
    fs_.CheckNewName(target);
    const bool exists = fs_.EntryExists(target);
    if (exists) ui_.AppendLog("Le fichier à reconstituer existe déjà :" + target);
    if (TargetIsAnInput(scriptPath, target, partial)) {
        if (!exists) ui_.AppendLog("Le fichier à reconstituer porterait le nom du fichier partiel :" + target);
        else ui_.ReportFailure(target + " est le script ou une tranche de ce jeu : rien n'est reconstitué.");
        ui_.AppendLog("Arrêt. ");
        return false;
    }
    // A later repair would take it for the file a killed repair left.
    if (IsRepairPartialOf(target, scriptPath, state.RecordedSliceCount, script_.Secours.Count())) {
        ui_.ReportFailure("Le fichier à reconstituer porterait le nom que prend la réparation d'une tranche :" + target);
        ui_.AppendLog("Arrêt. ");
        return false;
    }
    if (!exists) return true;
    if (ui_.AskConfirmation("Le fichier à reconstituer existe déjà ! Voulez vous l'effacer ?") != Answer::Yes) {
        ui_.AppendLog("Arrêt. ");
        return false;
    }
    // Replaced when the rebuilt file is complete and checked, not before.
    replace = true;
    return true;
}

// A file under the partial name that no live join (or repair) holds: a
// killed run's part, or a file of the user's; which one cannot be told, so
// the user says.
bool Engine::RemoveLeftoverPartial(const std::string& partial, Leftover& leftover, const std::string& deadRun) {
    // No run leaves a folder, a link or a FIFO: not asked about, never removed.
    if (leftover.kind != EntryKind::File) {
        Fail(InTheWay(partial));
        return false;
    }
    ui_.AppendLog("Le fichier " + partial + " existe déjà.");
    if (ui_.AskConfirmation("Le fichier " + partial + " existe déjà : reste " + deadRun + ", ou fichier "
                            "à vous ? Voulez-vous l'effacer ?") != Answer::Yes) {
        ui_.AppendLog("Arrêt. ");
        return false;
    }
    const bool removed = leftover.held ? fs_.RemoveExactly(partial, leftover.held->Identity()) == Removal::Removed
                                       : fs_.Delete(partial);
    leftover.held.reset();
    if (!removed) throw IoError(kAccessDenied, partial);
    return true;
}

// Says what the slice's fingerprint shows; false when the slice is damaged.
bool Engine::SliceIsSound(const std::string& slicePath, std::int64_t n, std::uint64_t fingerprint, bool repairable) {
    const std::optional<std::uint64_t> recorded = script_.Empreintes.Slice(n);
    if (!recorded) {
        ui_.AppendLog("Empreinte illisible pour la tranche " + slicePath + " : elle est vérifiée avec le fichier entier.");
        return true;
    }
    if (*recorded == fingerprint) return true;
    // Not yet a failure when recovery slices may rebuild it.
    if (repairable) ui_.AppendLog("La tranche " + slicePath + " est endommagée.");
    else Fail("La tranche " + slicePath + " est endommagée.");
    return false;
}

// What the slices hold together, so that no more room is reserved than the
// join can fill.
std::uint64_t Engine::SlicesTotal(const std::string& scriptPath) {
    std::uint64_t total = 0;
    for (std::int64_t k = 1; k <= state.RecordedSliceCount; ++k) total += SizeOrZero(FileSizeOf(SliceFileName(scriptPath, k)));
    return total;
}

// Slices that each check make another file only when the script's counts
// were lowered to fewer of them, which leaves the last one full: only then
// is the whole file's value needed beside theirs (one more fingerprint pass).
bool Engine::LastSliceFull(const std::string& scriptPath) {
    const std::int64_t first = FileSizeOf(SliceFileName(scriptPath, 1));
    // Divided, not multiplied: a slice of any size must not overflow.
    return first > 0 && state.RecordedSize % first == 0 && state.RecordedSize / first == state.RecordedSliceCount;
}

// Copies the slices in order, checking each; once one is damaged nothing
// more is written, but the others are still read whole and checked. With
// recovery slices (`survey`) the slices known bad are passed over, every
// slice is written at its place, and the syndromes of the known bad ones are
// gathered on the way (`gathering`).
Engine::JoinPass Engine::CopySlices(const std::string& scriptPath, File& output, std::vector<ReadInput>& read,
                                    const SetSurvey* survey, Rebuilder* gathering) {
    JoinPass pass;
    pass.seen.withFile = !script_.Empreintes.EverySliceReadable(state.RecordedSliceCount) ||
                         (script_.Empreintes.File() && LastSliceFull(scriptPath));
    for (std::int64_t i = 1; i <= state.RecordedSliceCount; ++i) {
        const auto index = static_cast<std::uint32_t>(i - 1);
        if (survey && SetSurvey::Holds(survey->badData, index)) {
            pass.bad.push_back(index);
            continue;
        }
        if (survey) output.Seek(static_cast<std::uint64_t>(script_.Secours.CodingSize()) * index);
        // Started once: starting it again at the end would drop the slice's last, partial block.
        BandFeeder* feeder = gathering ? &gathering->StartPresent(index, 0) : nullptr;
        std::optional<BothObservers> both;
        if (feeder) both.emplace(pass.seen, *feeder);
        if (!CopyOneSlice(scriptPath, i, output, read, pass, both ? &*both : nullptr, survey != nullptr)) return pass;
        if (feeder) feeder->EndSlice();
        copier_.RunMessages();
        if (state.CancelRequested) {
            pass.stopped = true;
            return pass;
        }
    }
    return pass;
}

// Never past the recorded total: a slice that grows (or feeds on the
// output) cannot fill the disk. Written at its place, a slice never writes
// past it either. Once nothing is written, a slice is read whole.
std::uint64_t Engine::SliceReadLimit(std::int64_t i, std::uint64_t size, const JoinPass& pass, bool repairing) const {
    const auto recordedSize = static_cast<std::uint64_t>(state.RecordedSize);
    if (repairing) return ExpectedSliceSize(i);
    return pass.damaged == 0 ? std::min(size, recordedSize - std::min(pass.rebuilt, recordedSize)) : size;
}

// One slice of the pass; false when a stop was asked inside it. With
// recovery slices (`repairing`) a slice that cannot be opened or read is
// rebuilt like a damaged one: what was written of it is overwritten then.
bool Engine::CopyOneSlice(const std::string& scriptPath, std::int64_t i, File& output, std::vector<ReadInput>& read,
                          JoinPass& pass, ByteObserver* extra, bool repairing) {
    const bool checking = script_.Empreintes.Present();
    const std::string slicePath = SliceFileName(scriptPath, i);
    const bool writing = pass.damaged == 0 || repairing;
    std::unique_ptr<File> slice;
    std::uint64_t size = 0;
    std::int64_t shown = 0;
    SliceCopy::Result copy;
    pass.seen.slice.Reset();
    try {
        slice = fs_.OpenRead(slicePath);
        read.push_back({slicePath, slice->Identity(), slice->Stamp()});
        // From the open handle: the file being read, not a name looked up again.
        size = slice->Size();
        ByteObserver* observer = extra ? extra : checking ? &pass.seen : nullptr;
        copy = copier_.Copy(*slice, writing ? &output : nullptr, SliceReadLimit(i, size, pass, repairing), observer, shown);
    } catch (const IoError& e) {
        // Only the slice's own failure: the output's, a full disk say, ends the join.
        if (!repairing || e.path() != slicePath) throw;
        ui_.AdvanceProgress(JoinProgressFor(ExpectedSliceSize(i)) - shown);
        ui_.AppendLog("La tranche " + slicePath + " est illisible (" + e.text() + ").");
        pass.bad.push_back(static_cast<std::uint32_t>(i - 1));
        return true;
    }
    pass.slicesHold += std::max(slice->Size(), copy.copied);
    // A stop asked inside the slice is acted on at once.
    if (copy.stopped) {
        pass.stopped = true;
        return false;
    }
    ui_.AdvanceProgress(JoinProgressFor(copy.copied) - shown);
    ui_.AppendLog(slicePath + ": " + std::to_string(size) + " octet(s)");
    const bool atEnd = slice->AtEnd();
    const std::uint64_t held = std::max(slice->Size(), copy.copied);
    // Cut short by the script's size: read whole, the slice tells whether it
    // or the script is wrong, and is judged by all of its bytes.
    std::uint64_t print = pass.seen.slice.Value();
    if (checking && !atEnd && SliceBeliesTheSize(scriptPath, i, &print)) {
        pass.failed = true;
        return false;
    }
    slice->Close();
    if (repairing) {
        JudgeSliceInPlace(slicePath, i, copy.copied, held, atEnd, pass);
        return true;
    }
    if (writing) pass.rebuilt += copy.copied;
    pass.sliceSizeWrong = pass.sliceSizeWrong || !atEnd;
    // Only the sizes can tell when no fingerprint does.
    if (!checking) pass.cutOtherwise = CutOtherwise(i, state.RecordedSliceCount, size, pass.firstSize) || pass.cutOtherwise;
    if (checking && !SliceIsSound(slicePath, i, print, false)) ++pass.damaged;
    return true;
}

// A slice the script's size cuts short or finds of another size that
// matches its fingerprint read whole: the size the script records is wrong,
// not the slice (said). `print`, when given, gets the whole slice's value.
bool Engine::SliceBeliesTheSize(const std::string& scriptPath, std::int64_t n, std::uint64_t* print) {
    SliceAndFileFingerprints seen;
    const std::string verdict = CheckOneSlice(SliceFileName(scriptPath, n), n, seen);
    if (print && (verdict == verdicts::kOk || verdict == verdicts::kDamaged)) *print = seen.slice.Value();
    if (verdict != verdicts::kOk) return false;
    SaySizeBelied(scriptPath, n);
    return true;
}

// Said of slice n, which matches its fingerprint: what the slices make,
// when they are all there.
void Engine::SaySizeBelied(const std::string& scriptPath, std::int64_t n) {
    bool allThere = true;
    for (std::int64_t k = 1; k <= state.RecordedSliceCount && allThere; ++k)
        allThere = fs_.SizeOf(SliceFileName(scriptPath, k)) >= 0;
    if (!allThere || !SizeBelied(scriptPath))
        Fail("La tranche " + SliceFileName(scriptPath, n) + " correspond à son empreinte, pas aux " +
             std::to_string(state.RecordedSize) + " octet(s) que le script annonce : le script " + scriptPath +
             " ne décrit pas ce jeu.");
}

// With recovery slices every slice's size is known before the copy: one of
// another size that matches its fingerprint blames the script. `checkedBad`,
// when given, holds the slices a check has read and found bad (the others
// are sound): none is read again.
bool Engine::ASliceBeliesTheSize(const std::string& scriptPath, const std::vector<std::uint32_t>* checkedBad) {
    for (std::int64_t n = 1; n <= state.RecordedSliceCount; ++n) {
        const std::int64_t size = fs_.SizeOf(SliceFileName(scriptPath, n));
        if (size < 0 || size == static_cast<std::int64_t>(ExpectedSliceSize(n))) continue;
        if (!checkedBad) {
            if (SliceBeliesTheSize(scriptPath, n, nullptr)) return true;
        } else if (!SetSurvey::Holds(*checkedBad, static_cast<std::uint32_t>(n - 1))) {
            SaySizeBelied(scriptPath, n);
            return true;
        }
    }
    return false;
}

// A slice copied at its place, with recovery slices at hand: one whose size
// or bytes are wrong, whenever that was found, is rebuilt, and what it gave
// is overwritten then; only sound ones count as rebuilt bytes.
void Engine::JudgeSliceInPlace(const std::string& slicePath, std::int64_t i, std::uint64_t copied, std::uint64_t held,
                               bool readToEnd, JoinPass& pass) {
    const std::uint64_t expected = ExpectedSliceSize(i);
    const bool sizeRight = copied == expected && readToEnd;
    if (!sizeRight)
        ui_.AppendLog("La tranche " + slicePath + " est endommagée : " + std::to_string(held) + " octet(s) au lieu de " +
                      std::to_string(expected) + ".");
    if (sizeRight && SliceIsSound(slicePath, i, pass.seen.slice.Value(), true)) pass.rebuilt += copied;
    else pass.bad.push_back(static_cast<std::uint32_t>(i - 1));
}

// The copy, and with recovery slices the rebuild of what it could not copy.
Engine::JoinPass Engine::RunJoinPass(const std::string& scriptPath, File& output, std::vector<ReadInput>& read) {
    if (!RecoveryUsable()) {
        output.Reserve(std::min(SizeOrZero(state.RecordedSize), SlicesTotal(scriptPath)));
        return CopySlices(scriptPath, output, read, nullptr, nullptr);
    }
    SetSurvey survey = SurveySet(scriptPath, &read);
    SayKnownBad(scriptPath, survey);
    std::optional<Rebuilder> gathering;
    PrepareGathering(scriptPath, survey, gathering);
    output.Reserve(SizeOrZero(state.RecordedSize));
    JoinPass pass = CopySlices(scriptPath, output, read, &survey, gathering ? &*gathering : nullptr);
    pass.stopped = pass.stopped || state.CancelRequested;
    if (!pass.stopped && !pass.failed && !pass.bad.empty() && !RebuildInto(scriptPath, output, pass, survey, gathering))
        pass.failed = !pass.stopped;
    return pass;
}

// A truncated, damaged or missing piece must not pass for a good copy:
// nothing under the real name, the slices and the script kept, no offer to
// delete them.
bool Engine::RebuiltFileIsSound(const JoinPass& pass, const std::string& scriptPath, const std::string& target) {
    if (pass.damaged > 0) {
        Fail(std::to_string(pass.damaged) + " tranche(s) endommagée(s) : " + target + " n'est pas reconstitué.");
        return false;
    }
    // Every slice matched its own value: it is the size the script records that is wrong.
    const bool everySliceChecked = script_.Empreintes.EverySliceReadable(state.RecordedSliceCount) && pass.bad.empty();
    if (pass.rebuilt != static_cast<std::uint64_t>(state.RecordedSize) && everySliceChecked && SizeBelied(scriptPath))
        return false;
    if (pass.sliceSizeWrong || pass.rebuilt != static_cast<std::uint64_t>(state.RecordedSize)) {
        Fail("Taille reconstituée incorrecte : " + std::to_string(pass.slicesHold) + " octet(s) au lieu de " +
             std::to_string(state.RecordedSize) + " octet(s).");
        return false;
    }
    if (pass.cutOtherwise) {
        Fail("Les tranches ne sont pas toutes de la taille de la première : " + target + " n'est pas reconstitué.");
        return false;
    }
    const std::optional<std::uint64_t> file = script_.Empreintes.File();
    // Rebuilt slices are written out of order, each checked by its own value.
    if (script_.Empreintes.Present() && pass.seen.withFile && pass.bad.empty() && file && *file != pass.seen.file.Value()) {
        Fail("Le fichier reconstitué ne correspond pas à son empreinte : " + target + " n'est pas reconstitué.");
        return false;
    }
    return true;
}

// The rebuilt file moved under its real name, held open (and locked) across
// the move: a second run never finds it unlocked to take for a dead run's,
// and its identity (`id`, updated) is known even where FAT numbers it anew.
// False when another file took either name or it was deleted meanwhile: said.
bool Engine::PutInPlace(const std::string& partial, const std::string& target, bool replace, Outputs& outputs,
                        File& held, FileId& id) {
    const bool there = outputs.StillThere(partial) && held.Identity() == id;
    if (there) outputs.Rename(partial, target, replace, &held);
    id = outputs.Registered(target).value_or(id);
    if (there && outputs.StillThere(target)) return true;
    Fail("Le fichier " + partial + " a été remplacé ou effacé pendant le regroupement : " + target +
         " n'est pas reconstitué.");
    return false;
}

void Engine::JoinSlices(const std::string& scriptPath) {
    FlagScope busy(state.Busy);
    ScopeExit resetProgress([this] { ui_.ResetProgress(); });
    const std::string target = JoinTarget(scriptPath);
    ui_.SetProgressMax(state.RecordedSize);
    const std::string partial = PartialJoinName(scriptPath, style_);
    // A live join of this script holds its partial file, or its rebuilt file
    // until its clean-up ends: stop at once.
    Leftover leftover = ProbeLeftover(partial);
    if (leftover.live || RebuiltFileHeld(target)) return RefuseLiveRun(LiveRun::Join, scriptPath);
    bool replaceTarget = false;
    if (!TargetMayBeWritten(scriptPath, target, partial, replaceTarget)) return;
    if (leftover.kind != EntryKind::None && !RemoveLeftoverPartial(partial, leftover)) return;
    Outputs outputs(fs_);
    // Locked from here until the clean-up ends, under either name.
    auto output = outputs.Create(partial, true);
    if (!output->TryLock()) return RefuseLiveRun(LiveRun::Join, scriptPath);
    FileId written = output->Identity();
    std::unique_ptr<File> held;
    std::vector<ReadInput> read;
    try {
        const JoinPass pass = RunJoinPass(scriptPath, *output, read);
        if (pass.failed) {
            output->Close();
            DiscardOutputs(outputs);
            return SayNotRebuilt(scriptPath);
        }
        if (pass.stopped) {
            ui_.ResetProgress();
            output->Close();
            SayStopped();
            return DiscardOutputs(outputs);
        }
        ui_.ResetProgress();
        if (!RebuiltFileIsSound(pass, scriptPath, target)) {
            output->Close();
            return DiscardOutputs(outputs);
        }
        // The writing handle closes here, its errors counted; the lock stays,
        // through the move and the clean-up: the set is this run's until then.
        held = output->CloseKeepingLock();
        if (!held) return RefuseLiveRun(LiveRun::Join, scriptPath);
        if (!PutInPlace(partial, target, replaceTarget, outputs, *held, written)) return;
    } catch (...) {
        DiscardOutputs(outputs);
        throw;
    }
    outputs.Commit();
    ui_.AppendLog("...Ok");
    result_ = Outcome::Completed;
    OfferCleanUp(scriptPath, target, written, read);
}

void Engine::OfferCleanUp(const std::string& scriptPath, const std::string& target, const FileId& written,
                          const std::vector<ReadInput>& read) {
    // A stop asked once the file was in place (a signal to sorv-cli) keeps the inputs.
    if (CleanUpStopped(target) || ui_.AskConfirmation("Effacer les tranches et le script ?") != Answer::Yes) return;
    // Another run may have replaced it meanwhile (the user agreed there).
    if (const auto now = InputAsItIs(target); !now || !(now->id == written))
        return ui_.AppendLog("Tranches et script gardés : " + target + " n'est plus le fichier reconstitué.");
    // The file may still be only in memory: a power cut or a medium pulled
    // out after the slices went would lose both copies.
    if (!fs_.MakeDurable(target, written))
        return ui_.AppendLog("Tranches et script gardés : l'écriture de " + target + " sur le disque n'est pas confirmée.");
    DeleteInputs(scriptPath, target, read);
}

// A stop asked once the file is whole and in place (the sync can take a
// while) stops only the deleting: what is not deleted yet is kept.
bool Engine::CleanUpStopped(const std::string& target) {
    if (!state.CancelRequested) return false;
    ui_.AppendLog("Effacement arrêté : " + target + " est reconstitué, ce qui n'est pas encore effacé est gardé.");
    state.CancelRequested = false;
    return true;
}

// The script, then the slices, each only while it is the very file the join
// read, unchanged: never a file that has taken its name since (a freed
// inode is given again at once, to the next file made), one rewritten in
// place, nor what a link points to.
void Engine::DeleteInputs(const std::string& scriptPath, const std::string& target,
                          const std::vector<ReadInput>& inputs) {
    std::vector<ReadInput> all;
    if (scriptInput_) all.push_back({scriptPath, scriptInput_->id, scriptInput_->stamp});
    all.insert(all.end(), inputs.begin(), inputs.end());
    for (const ReadInput& input : all) {
        copier_.RunMessages();
        if (CleanUpStopped(target)) return;
        if (const auto now = InputAsItIs(input.path); now && now->id == input.id && now->stamp != input.stamp) {
            ui_.AppendLog("Non effacé, modifié depuis sa lecture : " + input.path);
            continue;
        }
        SayNotRemoved(input.path, fs_.RemoveExactly(input.path, input.id),
                      "Non effacé, ce n'est plus le fichier lu (un lien ?) : ");
    }
    SayUnreadKept(scriptPath, target, all);
}

// Set files the join never read (a slice rebuilt from the recovery slices
// and not read whole, recovery slices it did not use) are not deleted
// unread, nor is what a killed repair left (it cannot be told from a file
// of the user's); the user is told they are still there.
void Engine::SayUnreadKept(const std::string& scriptPath, const std::string& target,
                           const std::vector<ReadInput>& read) {
    std::set<std::string> readPaths;
    for (const ReadInput& input : read) readPaths.insert(input.path);
    const auto sayIfLeft = [&](const std::string& path, std::string_view why) {
        if (!fs_.EntryExists(path)) return false;
        if (readPaths.count(path) == 0 && !fs_.SameFile(path, target)) ui_.AppendLog(std::string(why) + path);
        return true;
    };
    constexpr std::string_view kUnread = "Non effacé, le regroupement ne l'a pas lu : ";
    constexpr std::string_view kRepairs = "Non effacé, reste d'une réparation interrompue, ou fichier à vous : ";
    for (std::int64_t n = 1; n <= state.RecordedSliceCount; ++n) {
        sayIfLeft(SliceFileName(scriptPath, n), kUnread);
        sayIfLeft(RepairPartialName(scriptPath, n, false, style_), kRepairs);
    }
    // A section that cannot count its recovery slices: they are looked for in order.
    const std::int64_t recorded = std::min(script_.Secours.Count(), kMaxSetFiles);
    const bool counted = recorded > 0 || !script_.Secours.Present();
    for (std::int64_t r = 1; r <= (counted ? recorded : kMaxSetFiles); ++r) {
        const bool found = sayIfLeft(RecoverySliceFileName(scriptPath, r, style_), kUnread);
        if (!found && !counted) break;
        sayIfLeft(RepairPartialName(scriptPath, r, true, style_), kRepairs);
    }
}

// The file under `path` as it is now; none when it cannot be opened.
std::optional<Engine::ReadInput> Engine::InputAsItIs(const std::string& path) {
    try {
        const std::unique_ptr<File> file = fs_.OpenRead(path);
        return ReadInput{path, file->Identity(), file->Stamp()};
    } catch (const IoError&) {
        return std::nullopt;
    }
}

}  // namespace sorv
