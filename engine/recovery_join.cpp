// What the join and the check do with recovery slices: the set looked at
// before the copy, the recovery slices chosen and checked, the missing or
// damaged slices rebuilt into the partial file, each checked by its own
// fingerprint.
#include <algorithm>
#include <limits>

#include "engine.h"
#include "join_pass.h"
#include "io_error.h"
#include "recovery_rebuild.h"

namespace sorv {

namespace {

std::string Count(std::size_t n) { return std::to_string(n); }

template <typename Pass>
bool Stopped(Pass& pass) {
    pass.stopped = true;
    return false;
}

}  // namespace

// The script can rebuild slices: its recovery section serves, and every
// slice has a fingerprint that tells a damaged one.
std::string Engine::RecoveryProblem() const {
    if (!script_.Secours.Present()) return "pas de section [Secours]";
    std::string why = script_.Secours.Unusable(state.RecordedSliceCount, state.RecordedSize);
    if (why.empty() && codingSizeBelied_) why = "Taille ne correspond pas aux tranches";
    const RecordedFingerprints& prints = script_.Empreintes;
    if (why.empty() && !(prints.Present() && prints.KnownAlgorithm() && prints.EverySliceReadable(state.RecordedSliceCount)))
        why = "empreintes des tranches illisibles";
    if (why.empty()) why = prints.CountProblem(state.RecordedSliceCount);
    return why;
}

// Every slice but the last, and every recovery slice, is cut to the coding
// size. One of another size that checks against its own fingerprint is the
// set as it was cut: the section's size is wrong, and with it every offset
// it would rebuild at. One that does not check is merely damaged.
bool Engine::CodingSizeBelied(const std::string& scriptPath) {
    const RecordedRecovery& section = script_.Secours;
    if (!section.Present() || !section.Unusable(state.RecordedSliceCount, state.RecordedSize).empty()) return false;
    const auto belies = [&](const std::string& path, std::optional<std::uint64_t> recorded) {
        const std::int64_t size = fs_.SizeOf(path);
        return size >= 0 && size != section.CodingSize() && recorded && FingerprintOnDisk(path) == recorded;
    };
    if (state.RecordedSliceCount >= 2 && belies(SliceFileName(scriptPath, 1), script_.Empreintes.Slice(1))) return true;
    for (std::int64_t r = 1; r <= section.Count(); ++r)
        if (belies(RecoverySliceFileName(scriptPath, r, style_), section.Slice(r))) return true;
    return false;
}

// A section that cannot serve is said: a set that joins is not to be taken
// for one that is still protected.
void Engine::SayRecoveryUnused() {
    if (const std::string why = RecoveryProblem(); script_.Secours.Present() && !why.empty())
        ui_.AppendLog("La section [Secours] ne sert pas (" + why + ") : les tranches de secours ne sont pas utilisées.");
}

std::optional<std::uint64_t> Engine::FingerprintOnDisk(const std::string& path) {
    FingerprintFrom seen;
    try {
        std::int64_t shown = 0;
        if (copier_.Copy(*fs_.OpenRead(path), nullptr, std::numeric_limits<std::uint64_t>::max(), &seen, shown).stopped)
            return std::nullopt;
    } catch (const IoError&) {
        return std::nullopt;
    }
    return seen.fingerprint.Value();
}

std::uint64_t Engine::ExpectedSliceSize(std::int64_t n) const {
    return SliceLengthOf(static_cast<std::uint64_t>(n - 1), static_cast<std::uint64_t>(script_.Secours.CodingSize()),
                         static_cast<std::uint64_t>(state.RecordedSize));
}

// What can be told before reading: files absent or of the wrong size.
Engine::SetSurvey Engine::SurveySet(const std::string& scriptPath, std::vector<ReadInput>* found) {
    SetSurvey survey;
    survey.recoveryCount = static_cast<std::uint32_t>(script_.Secours.Count());
    const auto codingSize = static_cast<std::uint64_t>(script_.Secours.CodingSize());
    for (std::int64_t n = 1; n <= state.RecordedSliceCount; ++n)
        if (fs_.SizeOf(SliceFileName(scriptPath, n)) != static_cast<std::int64_t>(ExpectedSliceSize(n)))
            survey.badData.push_back(static_cast<std::uint32_t>(n - 1));
    for (std::uint32_t r = 1; r <= survey.recoveryCount; ++r) {
        const std::string path = RecoverySliceFileName(scriptPath, r, style_);
        if (fs_.SizeOf(path) != static_cast<std::int64_t>(codingSize)) {
            survey.badRows.push_back(r - 1);
        } else if (found != nullptr) {
            if (auto input = InputAsItIs(path)) found->push_back(std::move(*input));
        }
    }
    return survey;
}

// Names what the look before the copy found: missing slices are already
// named, slices of the wrong size and recovery slices absent or of the wrong size not.
void Engine::SayKnownBad(const std::string& scriptPath, const SetSurvey& survey) {
    for (const std::uint32_t index : survey.badData) {
        const std::string path = SliceFileName(scriptPath, index + 1);
        const std::int64_t size = fs_.SizeOf(path);
        if (size >= 0)
            ui_.AppendLog("La tranche " + path + " est endommagée : " + std::to_string(size) + " octet(s) au lieu de " +
                          std::to_string(ExpectedSliceSize(index + 1)) + ".");
    }
    for (const std::uint32_t row : survey.badRows) {
        const std::string path = RecoverySliceFileName(scriptPath, row + 1, style_);
        const std::string place = PlaceVerdict(path);
        ui_.AppendLog(place.empty()                 ? WrongRecoverySize(path)
                      : place == verdicts::kMissing ? "Il manque la tranche de secours " + path
                                                    : path + " : " + place + ".");
    }
}

// Reads a whole recovery slice to check it; none when sound. Bytes past the
// coding size are damage too: the check, the join and the repair must judge
// such a file alike.
std::optional<Engine::RecoveryFault> Engine::RecoverySliceFault(const std::string& scriptPath, std::uint32_t row) {
    const std::string path = RecoverySliceFileName(scriptPath, row + 1, style_);
    const auto codingSize = static_cast<std::uint64_t>(script_.Secours.CodingSize());
    const RecoveryFault damaged{std::string(verdicts::kDamaged), "La tranche de secours " + path + " est endommagée."};
    FingerprintFrom seen;
    try {
        auto file = fs_.OpenRead(path);
        if (file->Size() != codingSize) return RecoveryFault{damaged.verdict, WrongRecoverySize(path)};
        std::int64_t shown = 0;
        if (copier_.Copy(*file, nullptr, codingSize, &seen, shown).stopped)
            return RecoveryFault{damaged.verdict, "La tranche de secours " + path + " n'est pas lue jusqu'au bout."};
    } catch (const IoError& e) {
        const std::string why = "illisible (" + e.text() + ")";
        return RecoveryFault{why, "La tranche de secours " + path + " est " + why + "."};
    }
    if (seen.fingerprint.Value() == script_.Secours.Slice(row + 1)) return std::nullopt;
    return damaged;
}

// The same, said when it is damaged (a stop is not).
bool Engine::RecoverySliceIsSound(const std::string& scriptPath, std::uint32_t row) {
    const std::optional<RecoveryFault> fault = RecoverySliceFault(scriptPath, row);
    if (fault && !state.CancelRequested) ui_.AppendLog(fault->sentence);
    return !fault;
}

std::string Engine::WrongRecoverySize(const std::string& path) {
    return "La tranche de secours " + path + " n'a pas la taille d'une tranche.";
}

// The first `count` sound recovery slices; each is read whole once.
std::vector<std::uint32_t> Engine::ChooseRows(const std::string& scriptPath, SetSurvey& survey, std::size_t count) {
    std::vector<std::uint32_t> rows;
    for (std::uint32_t r = 0; r < survey.recoveryCount && rows.size() < count && !state.CancelRequested; ++r) {
        if (SetSurvey::Holds(survey.badRows, r)) continue;
        if (!SetSurvey::Holds(survey.soundRows, r)) {
            if (!RecoverySliceIsSound(scriptPath, r)) {
                survey.badRows.push_back(r);
                continue;
            }
            survey.soundRows.push_back(r);
        }
        rows.push_back(r);
    }
    return rows;
}

// Reads a part of a slice or recovery slice of the set for the rebuild;
// false when a stop was asked.
Rebuilder::Read Engine::RebuildReader(const std::string& scriptPath) {
    return [this, scriptPath](bool recovery, std::uint32_t index, std::uint64_t offset, std::uint64_t length,
                              ByteObserver& to) {
        const std::string path = recovery ? RecoverySliceFileName(scriptPath, index + 1, style_)
                                          : SliceFileName(scriptPath, index + 1);
        auto file = fs_.OpenRead(path);
        file->Seek(offset);
        std::int64_t shown = 0;
        const SliceCopy::Result copy = copier_.Copy(*file, nullptr, length, &to, shown);
        if (copy.stopped) return false;
        // Checked whole before, cut short since: its rebuild would be wrong.
        if (copy.copied < length) throw IoError(kReadPastEnd, path);
        if (recovery) return true;
        copier_.RunMessages();
        return !state.CancelRequested;
    };
}

RebuildJob Engine::RebuildJobFor(const SetSurvey& survey, const std::vector<std::uint32_t>& missing,
                                 const std::vector<std::uint32_t>& rows,
                                 const std::vector<std::uint32_t>& remake) const {
    return {static_cast<std::uint32_t>(state.RecordedSliceCount), survey.recoveryCount,
            static_cast<std::uint64_t>(script_.Secours.CodingSize()), static_cast<std::uint64_t>(state.RecordedSize),
            missing, rows, remake};
}

std::string Engine::LostLine(std::size_t damaged, const SetSurvey& survey) const {
    return Count(damaged) + " tranche(s) manquante(s) ou endommagée(s) : il faudrait " + Count(damaged) +
           " tranche(s) de secours intacte(s), il y en a " + Count(survey.UsableRows()) +
           " sur " + Count(survey.recoveryCount) + ".";
}

// Before anything is written: a set that has lost more files than it has
// recovery slices left cannot be rebuilt, whatever the copy would find.
bool Engine::LostBeforeTheCopy(const std::string& scriptPath) {
    if (!RecoveryUsable()) return false;
    const SetSurvey survey = SurveySet(scriptPath, nullptr);
    if (survey.badData.size() <= survey.UsableRows()) return false;
    SayKnownBad(scriptPath, survey);
    Fail(LostLine(survey.badData.size(), survey));
    SayNotRebuilt(scriptPath);
    return true;
}

void Engine::SayNotRebuilt(const std::string& scriptPath) { Fail(JoinTarget(scriptPath) + " n'est pas reconstitué."); }

// Before the copy: when slices are known missing, the syndromes of a
// single band are gathered while the others are copied.
void Engine::PrepareGathering(const std::string& scriptPath, SetSurvey& survey, std::optional<Rebuilder>& rebuilder) {
    if (survey.badData.empty() || survey.badData.size() > survey.UsableRows()) return;
    std::vector<std::uint32_t> rows = ChooseRows(scriptPath, survey, survey.badData.size());
    if (rows.size() < survey.badData.size()) return;
    rebuilder.emplace(RebuildJobFor(survey, survey.badData, rows), RecoveryMemory);
    if (rebuilder->Bands() != 1 || !rebuilder->LoadRows(0, RebuildReader(scriptPath))) rebuilder.reset();
}

// Rebuilds the slices the copy found missing or damaged into the partial
// file; false when that cannot be done (said) or a stop was asked (pass.stopped).
bool Engine::RebuildInto(const std::string& scriptPath, File& output, JoinPass& pass, SetSurvey& survey,
                         std::optional<Rebuilder>& gathered) {
    std::vector<std::uint32_t>& bad = pass.bad;
    std::sort(bad.begin(), bad.end());
    if (bad.size() > survey.UsableRows()) return Failed(LostLine(bad.size(), survey));
    const auto codingSize = static_cast<std::uint64_t>(script_.Secours.CodingSize());
    std::vector<Fingerprint> prints(bad.size());
    const auto emit = [&](bool, std::uint32_t index, std::uint64_t offset, std::span<const std::byte> bytes) {
        output.Seek(std::uint64_t{index} * codingSize + offset);
        output.Write(bytes);
        prints[static_cast<std::size_t>(std::find(bad.begin(), bad.end(), index) - bad.begin())].Add(bytes);
        pass.rebuilt += bytes.size();
    };
    if (gathered && gathered->Job().missing == bad) {
        gathered->Finish(0, emit);
    } else {
        gathered.reset();  // its bands would double the memory
        std::vector<std::uint32_t> rows = ChooseRows(scriptPath, survey, bad.size());
        if (state.CancelRequested) return Stopped(pass);
        if (rows.size() < bad.size()) return Failed(LostLine(bad.size(), survey));
        Rebuilder rebuilder(RebuildJobFor(survey, bad, rows), RecoveryMemory);
        if (!rebuilder.Run(RebuildReader(scriptPath), emit)) return Stopped(pass);
    }
    for (std::size_t k = 0; k < bad.size(); ++k) {
        const std::string path = SliceFileName(scriptPath, bad[k] + 1);
        if (const std::string problem = PrintDisagreement(path, script_.Empreintes.Slice(bad[k] + 1), prints[k].Value());
            !problem.empty()) {
            // Read again for the rebuild, a slice may have changed since the copy checked it.
            SetSurvey read = survey;
            read.badData = bad;
            if (!gathered && !SourcesStillCheck(scriptPath, read, " a changé pendant le regroupement."))
                return state.CancelRequested ? Stopped(pass) : false;
            return Failed(problem);
        }
        ui_.AppendLog("La tranche " + path + " est reconstituée à partir des tranches de secours.");
    }
    return true;
}

}  // namespace sorv
