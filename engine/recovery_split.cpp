// The recovery slices of a split: the first band of slice offsets is made
// while the slices are copied, the later ones (when K bands of the whole
// slice size would not fit in memory) by reading the slices back.
#include "recovery_split.h"

#include <algorithm>

#include "engine.h"
#include "io_error.h"
#include "sizes.h"

namespace sorv {

SplitRecovery::SplitRecovery(std::uint32_t slices, std::uint32_t count, std::uint64_t codingSize,
                             std::uint64_t sourceSize, std::uint64_t budget)
    : set_(slices, count),
      encoder_(set_),
      codingSize_(codingSize),
      sourceSize_(sourceSize),
      regions_(count, BandWidth(codingSize, count, budget)),
      feeder_([this](std::uint32_t data, std::span<const std::byte> blocks,
                     std::span<const std::span<std::byte>> targets) { encoder_.Add(data, blocks, targets); },
              regions_.All()),
      tails_(slices) {}

std::uint64_t SplitRecovery::ReadBackBytes() const {
    std::uint64_t total = 0;
    for (std::uint32_t j = 0; j < set_.DataCount(); ++j) total += SliceLength(j) - std::min(SliceLength(j), Width());
    return total;
}

void SplitRecovery::StartSlice(std::uint32_t index) {
    index_ = index;
    feeder_.StartSlice(index, 0);
    tail_.Start(Width());
}

void SplitRecovery::Observe(std::span<const std::byte> bytes) {
    feeder_.Observe(bytes);
    if (Bands() > 1) tail_.Observe(bytes);
}

void SplitRecovery::EndSlice() {
    feeder_.EndSlice();
    tails_.at(index_) = tail_.fingerprint.Value();
}

// Refuses what cannot be coded before anything is written; sets RecoveryCount.
bool Engine::RecoveryPossible(const std::string& sourcePath) {
    state.RecoveryCount = RecoverySliceCount(state.Recovery, state.SliceCount);
    if (state.RecoveryCount == 0) return true;
    if (state.SliceCount + state.RecoveryCount > kMaxSetFiles) {
        Fail("Trop de tranches : " + std::to_string(state.SliceCount) + " tranche(s) et " +
             std::to_string(state.RecoveryCount) + " tranche(s) de secours dépassent " + std::to_string(kMaxSetFiles) +
             ".");
        return false;
    }
    if (state.SliceSize <= 0 || state.SliceSize % static_cast<std::int64_t>(gf16::kRegionBlock) != 0) {
        Fail("La taille de tranche " + std::to_string(state.SliceSize) +
             " n'est pas un multiple de 64 : pas de tranches de secours possibles.");
        return false;
    }
    fs_.CheckNewName(RecoverySliceFileName(sourcePath, state.RecoveryCount, style_));
    // The names a repair writes under are one letter longer, and those it
    // keeps a damaged file under longer still: a set it could not mend is not
    // cut, and the user is told why a name nothing writes yet matters.
    try {
        fs_.CheckNewName(RepairPartialName(sourcePath, state.SliceCount, false, style_));
        fs_.CheckNewName(RepairPartialName(sourcePath, state.RecoveryCount, true, style_));
        fs_.CheckNewName(DamagedFileName(SliceFileName(sourcePath, state.SliceCount), 1));
        fs_.CheckNewName(DamagedFileName(RecoverySliceFileName(sourcePath, state.RecoveryCount, style_), 1));
    } catch (const IoError& e) {
        if (e.code() != kNameTooLong) throw;
        throw IoError(kNameTooLong, e.path(),
                      "Nom de fichier trop long pour réparer le jeu : rien n'est découpé. Raccourcissez le nom "
                      "du fichier, ou découpez-le sans tranches de secours");
    }
    return OpenFilesSuffice(static_cast<std::uint64_t>(state.RecoveryCount));
}

// Recovery slices are written together, every one open at once, beside the
// source or script, the slice being read and the lock.
bool Engine::OpenFilesSuffice(std::uint64_t atOnce) {
    constexpr std::uint64_t kFilesBeside = 8;
    const std::optional<std::uint64_t> allowed = fs_.MoreFilesAllowed();
    if (!allowed || atOnce + kFilesBeside <= *allowed) return true;
    Fail("Trop de fichiers à écrire à la fois : " + std::to_string(atOnce) + " et " + std::to_string(kFilesBeside) +
         " à lire ; ce système n'en laisse plus ouvrir que " + std::to_string(*allowed) + ".");
    return false;
}

// One band of every recovery slice, written after the band before it.
void Engine::WriteRecoveryBand(RecoveryFiles& files, SplitRecovery& recovery, std::uint64_t band) {
    const std::uint64_t length = std::min(recovery.Width(), recovery.CodingSize() - band * recovery.Width());
    for (std::size_t r = 0; r < files.files.size(); ++r) {
        const auto bytes = recovery.Regions()[r].first(static_cast<std::size_t>(length));
        files.prints[r].Add(bytes);
        files.files[r]->Write(bytes);
    }
}

// Band `band` of slice `index`, read back into the recovery bands and into
// the fingerprint of what the slice holds past the first band.
SliceCopy::Result Engine::ReadBackBand(const std::string& sourcePath, SplitRecovery& recovery, std::uint32_t index,
                                       std::uint64_t band, ByteObserver& check) {
    SliceCopy::Result result;
    const std::uint64_t start = band * recovery.Width(), length = recovery.SliceLength(index);
    if (start >= length) return result;
    const std::uint64_t want = std::min(recovery.Width(), length - start);
    auto slice = fs_.OpenRead(SliceFileName(sourcePath, index + 1));
    slice->Seek(start);
    BothObservers both(recovery.Feeder(), check);
    recovery.Feeder().StartSlice(index, start);
    recovery.Feeder().StartAt(start);
    std::int64_t shown = 0;
    result = copier_.Copy(*slice, nullptr, want, &both, shown);
    recovery.Feeder().EndSlice();
    ui_.AdvanceProgress(static_cast<std::int64_t>(result.copied) - shown);
    // A band of each of many slices: the window is not kept waiting meanwhile.
    result.stopped = result.stopped || copier_.RunMessagesIfDue();
    // A slice cut short since it was written fails its check below.
    return result;
}

// The later bands; false when a stop was asked or a slice read back is not
// what was written (then said).
bool Engine::WriteLaterBands(const std::string& sourcePath, RecoveryFiles& files, SplitRecovery& recovery,
                             std::uint32_t slices) {
    std::vector<FingerprintFrom> checks(slices);
    for (std::uint64_t band = 1; band < recovery.Bands(); ++band) {
        recovery.Regions().Clear();
        for (std::uint32_t j = 0; j < slices; ++j)
            if (ReadBackBand(sourcePath, recovery, j, band, checks[j]).stopped) return false;
        WriteRecoveryBand(files, recovery, band);
        copier_.RunMessages();
        if (state.CancelRequested) return false;
    }
    for (std::uint32_t j = 0; j < slices; ++j) {
        if (recovery.Bands() > 1 && checks[j].fingerprint.Value() != recovery.TailFingerprint(j)) {
            Fail("La tranche " + SliceFileName(sourcePath, j + 1) +
                 " relue ne correspond plus à ce qui a été écrit : pas de tranches de secours.");
            return false;
        }
    }
    return true;
}

// Writes the recovery slices once the slices are written; false when the
// split must not end well (a stop, or a fault already said).
bool Engine::WriteRecoverySlices(const std::string& sourcePath, SplitRecovery& recovery, Outputs& outputs,
                                 Fingerprints& fingerprints) {
    RecoveryFiles files;
    for (std::uint32_t r = 1; r <= recovery.Count(); ++r) {
        files.files.push_back(outputs.Create(RecoverySliceFileName(sourcePath, r, style_)));
    }
    files.prints.resize(recovery.Count());
    WriteRecoveryBand(files, recovery, 0);
    const auto slices = static_cast<std::uint32_t>(fingerprints.slices.size());
    if (!WriteLaterBands(sourcePath, files, recovery, slices)) return false;
    fingerprints.codingSize = recovery.CodingSize();
    for (std::uint32_t r = 0; r < recovery.Count(); ++r) {
        files.files[r]->Close();
        fingerprints.recovery.push_back(files.prints[r].Value());
        ui_.AppendLog(RecoverySliceFileName(sourcePath, r + 1, style_) + ": " + std::to_string(recovery.CodingSize()) +
                      " octet(s)");
    }
    return true;
}

}  // namespace sorv
