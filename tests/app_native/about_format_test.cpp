// What the floppy formatter passes to the shell's format dialog, for every
// setting on both platform families.
#include <gtest/gtest.h>

#include "format_mapping.h"

namespace sorv {
namespace {

constexpr TCapacity kCapacities[] = {TCapacity::capDefault, TCapacity::capHigh, TCapacity::capLow};
constexpr TFmtType kTypes[] = {TFmtType::fmtQuick, TFmtType::fmtFull, TFmtType::fmtBoot};
constexpr TDriveType kDrives[] = {TDriveType::dtADrive, TDriveType::dtBDrive};

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
                    const unsigned options = nt ? (type == TFmtType::fmtQuick ? 1u : 0u)
                                                : (type == TFmtType::fmtQuick  ? 0u
                                                   : type == TFmtType::fmtFull ? 1u
                                                                               : 2u);
                    EXPECT_EQ(request.options, options);
                }
            }
        }
    }
}

TEST(FormatRequest, MainWindowSettingsAndTheEdgeCases) {
    // The main window's formatter: high capacity, full format, drive A.
    EXPECT_EQ(MapFormatRequest(TCapacity::capHigh, TFmtType::fmtFull, TDriveType::dtADrive, false),
              (FormatRequest{0, 0, 1}));
    EXPECT_EQ(MapFormatRequest(TCapacity::capHigh, TFmtType::fmtFull, TDriveType::dtADrive, true),
              (FormatRequest{0, 0, 0}));
    EXPECT_EQ(MapFormatRequest(TCapacity::capLow, TFmtType::fmtBoot, TDriveType::dtBDrive, false),
              (FormatRequest{1, 3, 2}));
    EXPECT_EQ(MapFormatRequest(TCapacity::capLow, TFmtType::fmtQuick, TDriveType::dtADrive, false),
              (FormatRequest{0, 5, 0}));
    EXPECT_EQ(MapFormatRequest(TCapacity::capLow, TFmtType::fmtQuick, TDriveType::dtBDrive, true),
              (FormatRequest{1, 0, 1}));
}

}  // namespace
}  // namespace sorv
