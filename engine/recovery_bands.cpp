#include "recovery_bands.h"

#include <algorithm>
#include <cstring>

#include "recovery_field.h"

namespace sorv {

namespace {

constexpr std::uint64_t kBlock = gf16::kRegionBlock;

}  // namespace

std::int64_t RecoverySliceCount(const RecoveryRequest& request, std::int64_t slices) {
    if (request.percent <= 0) return std::max<std::int64_t>(request.count, 0);
    const std::int64_t wanted = (static_cast<std::int64_t>(request.percent) * slices + 99) / 100;
    return std::max<std::int64_t>(wanted, 1);
}

std::uint64_t BandWidth(std::uint64_t codingSize, std::uint64_t regions, std::uint64_t budget) {
    const std::uint64_t fits = budget / std::max<std::uint64_t>(regions, 1) / kBlock * kBlock;
    return std::clamp<std::uint64_t>(fits, kBlock, std::max(codingSize, kBlock));
}

std::uint64_t BandCount(std::uint64_t codingSize, std::uint64_t width) { return (codingSize + width - 1) / width; }

std::uint64_t SliceLengthOf(std::uint64_t index, std::uint64_t codingSize, std::uint64_t fileSize) {
    const std::uint64_t start = index * codingSize;
    return start >= fileSize ? 0 : std::min(codingSize, fileSize - start);
}

BandRegions::BandRegions(std::size_t count, std::size_t width) : width_(width), bytes_(count * width) {
    spans_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) spans_.push_back(std::span(bytes_).subspan(i * width, width));
}

void BandRegions::Clear() { std::fill(bytes_.begin(), bytes_.end(), std::byte{0}); }

BandFeeder::BandFeeder(Add add, std::span<const std::span<std::byte>> regions)
    : add_(std::move(add)), regions_(regions.begin(), regions.end()), shifted_(regions.size()), carry_(kBlock) {
    width_ = regions.empty() ? 0 : regions.front().size();
}

void BandFeeder::StartSlice(std::uint32_t data, std::uint64_t windowStart) {
    data_ = data;
    start_ = windowStart;
    at_ = 0;
    std::fill(carry_.begin(), carry_.end(), std::byte{0});
}

void BandFeeder::AddBlocks(std::span<const std::byte> blocks, std::uint64_t offset) {
    for (std::size_t i = 0; i < regions_.size(); ++i) shifted_[i] = regions_[i].subspan(offset, blocks.size());
    add_(data_, blocks, shifted_);
}

// A block is added once it is whole: straight from the piece when the piece
// holds it, through the carry when it straddles two pieces.
void BandFeeder::Observe(std::span<const std::byte> bytes) {
    const std::uint64_t end = at_ + bytes.size();
    const std::uint64_t from = std::max(at_, start_), to = std::min(end, start_ + width_);
    at_ = end;
    if (from >= to) return;
    bytes = bytes.subspan(static_cast<std::size_t>(from - (end - bytes.size())), static_cast<std::size_t>(to - from));
    std::uint64_t offset = from - start_;
    if (offset % kBlock != 0) {
        const auto fill = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock - offset % kBlock, bytes.size()));
        std::memcpy(carry_.data() + offset % kBlock, bytes.data(), fill);
        bytes = bytes.subspan(fill);
        offset += fill;
        if (offset % kBlock != 0) return;
        AddBlocks(carry_, offset - kBlock);
    }
    const std::size_t whole = bytes.size() / kBlock * kBlock;
    if (whole > 0) AddBlocks(bytes.first(whole), offset);
    const std::size_t rest = bytes.size() - whole;
    if (rest > 0) std::memcpy(carry_.data(), bytes.data() + whole, rest);
    std::fill(carry_.begin() + static_cast<std::ptrdiff_t>(rest), carry_.end(), std::byte{0});
}

void BandFeeder::EndSlice() {
    // What the slice left in the carry, zeros after it: the padding.
    const std::uint64_t seen = std::min(at_, start_ + width_);
    if (seen > start_ && (seen - start_) % kBlock != 0) AddBlocks(carry_, (seen - start_) / kBlock * kBlock);
}

}  // namespace sorv
