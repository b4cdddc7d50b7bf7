#pragma once
// The small types the dock, the tool window and the tool bar share: where a
// dock sits, how a bar is laid out there, and the sets built from them.
#include <cstdint>
#include <initializer_list>

namespace sorv {

enum class TDockPosition { dpTop, dpBottom, dpLeft, dpRight };
// A bar without a dock is dkFloating.
enum class DockKind { dkFloating, dkHorizontal, dkVertical };
enum class TDragHandleStyle { dhDouble, dhNone, dhSingle };
enum class TDockBoundLinesValues { blTop, blBottom, blLeft, blRight };

// A set of one of the enumerations above, one bit per value (bit 0 = the
// first value), as the stored layouts keep it.
template <typename E>
class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> values) {
        for (E v : values) bits_ |= Bit(v);
    }
    static constexpr EnumSet FromBits(std::uint8_t bits) {
        EnumSet set;
        set.bits_ = bits;
        return set;
    }
    constexpr bool Has(E v) const { return (bits_ & Bit(v)) != 0; }
    constexpr std::uint8_t Bits() const { return bits_; }
    friend constexpr bool operator==(EnumSet, EnumSet) = default;

private:
    static constexpr std::uint8_t Bit(E v) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(v)); }
    std::uint8_t bits_ = 0;
};

using TDockBoundLines = EnumSet<TDockBoundLinesValues>;
using TDockableTo = EnumSet<TDockPosition>;

inline constexpr TDockableTo kAllDockPositions{TDockPosition::dpTop, TDockPosition::dpBottom, TDockPosition::dpLeft,
                                               TDockPosition::dpRight};

constexpr bool IsVertical(TDockPosition position) {
    return position == TDockPosition::dpLeft || position == TDockPosition::dpRight;
}

constexpr DockKind DockKindOf(TDockPosition position) {
    return IsVertical(position) ? DockKind::dkVertical : DockKind::dkHorizontal;
}

}  // namespace sorv
