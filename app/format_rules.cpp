#include "format_rules.h"

namespace sorv {
namespace {

// Outside the NT family the dialog takes the low capacity by an identifier
// that depends on the drive; the NT family has no such identifiers.
constexpr unsigned kLowDensityA = 5;
constexpr unsigned kLowDensityOther = 3;

unsigned FormatId(TCapacity capacity, unsigned drive, bool ntPlatform) {
    if (ntPlatform || capacity != TCapacity::capLow) return 0;
    return drive == 0 ? kLowDensityA : kLowDensityOther;
}

unsigned Options(TFmtType formatType, bool ntPlatform) {
    switch (formatType) {
        case TFmtType::fmtQuick: return ntPlatform ? 1 : 0;
        case TFmtType::fmtFull: return ntPlatform ? 0 : 1;
        case TFmtType::fmtBoot: return ntPlatform ? 0 : 2;
    }
    return 0;
}

}  // namespace

FormatRequest MapFormatRequest(TCapacity capacity, TFmtType formatType, TDriveType drive, bool ntPlatform) {
    const unsigned driveNumber = static_cast<unsigned>(drive);
    return {driveNumber, FormatId(capacity, driveNumber, ntPlatform), Options(formatType, ntPlatform)};
}

}  // namespace sorv
