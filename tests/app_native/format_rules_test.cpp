// What the floppy formatter passes to the shell's format dialog, for every
// setting on both platform families.
#include <gtest/gtest.h>

#include "format_rules.h"

namespace sorv {
namespace {

constexpr TCapacity kCapacities[] = {TCapacity::capDefault, TCapacity::capHigh, TCapacity::capLow};
constexpr TFmtType kTypes[] = {TFmtType::fmtQuick, TFmtType::fmtFull, TFmtType::fmtBoot};
constexpr TDriveType kDrives[] = {TDriveType::dtADrive, TDriveType::dtBDrive};

// Options by format type (quick, full, boot), outside then inside the NT family.
constexpr unsigned kOptions[3][2] = {{0, 1}, {1, 0}, {2, 0}};

TEST(FormatRequest, EveryCombinationOnBothFamilies) {
    for (const bool nt : {false, true}) {
        for (const TCapacity capacity : kCapacities) {
            for (const TFmtType type : kTypes) {
                for (const TDriveType drive : kDrives) {
                    const FormatRequest request = MapFormatRequest(capacity, type, drive, nt);
                    SCOPED_TRACE(testing::Message() << "nt " << nt << " capacity " << static_cast<int>(capacity)
                                                    << " type " << static_cast<int>(type) << " drive "
                                                    << static_cast<int>(drive));
                    EXPECT_EQ(request.drive, drive == TDriveType::dtADrive ? 0u : 1u);
                    const unsigned lowId = drive == TDriveType::dtADrive ? 5u : 3u;
                    EXPECT_EQ(request.formatId, !nt && capacity == TCapacity::capLow ? lowId : 0u);
                    EXPECT_EQ(request.options, kOptions[static_cast<int>(type)][nt]);
                }
            }
        }
    }
}

}  // namespace
}  // namespace sorv
