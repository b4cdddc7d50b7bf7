#include "recovery_rebuild.h"

#include <algorithm>
#include <cstring>

namespace sorv {

namespace {

std::vector<std::span<std::byte>> Part(const BandRegions& regions, std::size_t from, std::size_t count) {
    const auto all = regions.All();
    return {all.begin() + static_cast<std::ptrdiff_t>(from), all.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

// Copies what it is shown into one region, from its start.
class IntoRegion final : public ByteObserver {
public:
    explicit IntoRegion(std::span<std::byte> region) : region_(region) {}
    void Observe(std::span<const std::byte> bytes) override {
        std::memcpy(region_.data() + at_, bytes.data(), bytes.size());
        at_ += bytes.size();
    }

private:
    std::span<std::byte> region_;
    std::size_t at_ = 0;
};

}  // namespace

Rebuilder::Rebuilder(RebuildJob job, std::uint64_t budget)
    : job_(std::move(job)),
      set_(job_.dataCount, job_.recoveryCount),
      solver_(set_, job_.missing, job_.rows),
      encoder_(set_, job_.remake),
      regions_(2 * job_.missing.size() + job_.remake.size(),
               BandWidth(job_.codingSize, 2 * job_.missing.size() + job_.remake.size(), budget)),
      syndromes_(Part(regions_, 0, job_.missing.size())),
      remade_(Part(regions_, job_.missing.size(), job_.remake.size())),
      rebuilt_(Part(regions_, job_.missing.size() + job_.remake.size(), job_.missing.size())),
      gathered_(Part(regions_, 0, job_.missing.size() + job_.remake.size())),
      feeder_(
          [this](std::uint32_t data, std::span<const std::byte> blocks, std::span<const std::span<std::byte>> targets) {
              const std::size_t m = syndromes_.size();
              solver_.AddPresent(data, blocks, targets.first(m));
              encoder_.Add(data, blocks, targets.subspan(m));
          },
          gathered_) {}

bool Rebuilder::IsMissing(std::uint32_t data) const {
    return std::find(job_.missing.begin(), job_.missing.end(), data) != job_.missing.end();
}

bool Rebuilder::LoadRows(std::uint64_t band, const Read& read) {
    regions_.Clear();
    const std::uint64_t offset = band * regions_.Width();
    const std::uint64_t length = std::min<std::uint64_t>(regions_.Width(), job_.codingSize - offset);
    for (std::size_t i = 0; i < syndromes_.size(); ++i) {
        IntoRegion into(syndromes_[i]);
        if (!read(true, solver_.Rows()[i], offset, length, into)) return false;
    }
    return true;
}

BandFeeder& Rebuilder::StartPresent(std::uint32_t data, std::uint64_t band) {
    feeder_.StartSlice(data, band * regions_.Width());
    return feeder_;
}

void Rebuilder::Finish(std::uint64_t band, const Emit& emit) {
    solver_.Solve(syndromes_, rebuilt_);
    const std::uint64_t offset = band * regions_.Width();
    for (std::size_t k = 0; k < rebuilt_.size(); ++k) encoder_.Add(job_.missing[k], rebuilt_[k], remade_);
    for (std::size_t k = 0; k < rebuilt_.size(); ++k) {
        const std::uint64_t length = SliceLength(job_.missing[k]);
        if (offset < length)
            emit(false, job_.missing[k], offset,
                 rebuilt_[k].first(static_cast<std::size_t>(std::min<std::uint64_t>(regions_.Width(), length - offset))));
    }
    const std::uint64_t length = std::min<std::uint64_t>(regions_.Width(), job_.codingSize - offset);
    for (std::size_t i = 0; i < remade_.size(); ++i)
        emit(true, job_.remake[i], offset, remade_[i].first(static_cast<std::size_t>(length)));
}

bool Rebuilder::Run(const Read& read, const Emit& emit) {
    for (std::uint64_t band = 0; band < Bands(); ++band) {
        if (!LoadRows(band, read)) return false;
        const std::uint64_t offset = band * regions_.Width();
        for (std::uint32_t j = 0; j < job_.dataCount; ++j) {
            const std::uint64_t length = SliceLength(j);
            if (IsMissing(j) || offset >= length) continue;
            BandFeeder& feeder = StartPresent(j, band);
            feeder.StartAt(offset);
            const bool read_ok = read(false, j, offset, std::min<std::uint64_t>(regions_.Width(), length - offset), feeder);
            feeder.EndSlice();
            if (!read_ok) return false;
        }
        Finish(band, emit);
    }
    return true;
}

}  // namespace sorv
