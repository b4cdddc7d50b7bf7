#pragma once
// What the floppy formatter asks of the shell's format dialog: the drive,
// format identifier and options passed to SHFormatDrive for each setting.
// The NT family reads the options the other way round from Windows 9x.
#include <cstdint>

namespace sorv {

enum class TCapacity : std::uint8_t { capDefault, capHigh, capLow };
enum class TFmtType : std::uint8_t { fmtQuick, fmtFull, fmtBoot };
enum class TDriveType : std::uint8_t { dtADrive, dtBDrive };

struct FormatRequest {
    unsigned drive = 0;     // 0 for A:, 1 for B:
    unsigned formatId = 0;  // 0: the drive's own capacity
    unsigned options = 0;

    bool operator==(const FormatRequest&) const = default;
};

FormatRequest MapFormatRequest(TCapacity capacity, TFmtType formatType, TDriveType drive, bool ntPlatform);

}  // namespace sorv
