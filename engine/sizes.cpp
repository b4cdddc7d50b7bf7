#include "sizes.h"

#include <array>

namespace sorv {

namespace {

struct SizeRow {
    std::int64_t bytes;
    const char* label;
    const char* caption;
};

constexpr std::array<SizeRow, 7> kSizes{{
    {358'400, "360 Ko", "360 Ko"},
    {727'040, "720 Ko", "720 Ko"},
    {1'126'400, "1,1 Mo", "1.1 Mo"},
    {1'433'600, "1,4 Mo", "1.4 Mo"},
    {1'740'800, "1,7 Mo", "1.7 Mo"},
    {1'945'600, "1,9 Mo", "1.9 Mo"},
    {99'123'200, "99 Mo", "Lecteur Iomega Zip"},
}};

const SizeRow& RowFor(std::int32_t choice) {
    return (choice >= 1 && choice <= 7) ? kSizes[choice - 1] : kSizes[kDefaultSizeChoice - 1];
}

}  // namespace

std::int64_t SliceSizeFor(std::int32_t choice) { return RowFor(choice).bytes; }
std::string SliceLabelFor(std::int32_t choice) { return RowFor(choice).label; }
std::string SliceCaptionFor(std::int32_t choice) { return RowFor(choice).caption; }

std::string FormatSizeText(std::int64_t size) {
    const std::int64_t kilo = size / 1024;
    std::int64_t whole = kilo;
    std::int64_t rest = size % 1024;
    const char* unit = " Ko";
    if (kilo >= 1000) {
        whole = size / 1'048'576;
        rest = size % 1'048'576;
        unit = " Mo";
    }
    return std::to_string(whole) + "," + std::to_string(rest).substr(0, 2) + unit;
}

std::int64_t CountSlices(std::int64_t size, std::int64_t sliceSize) {
    if (sliceSize <= 0) return 0;
    std::int64_t count = size / sliceSize;
    if (count < 0) count = 0;
    if (size % sliceSize > 0) ++count;
    return count;
}

}  // namespace sorv
