#include "sizes.h"

#include <gtest/gtest.h>

namespace sorv {
namespace {

TEST(SizeTable, EveryChoiceGivesWholeBlocksAndItsLabel) {
    const std::int64_t bytes[] = {358'400, 727'040, 1'126'400, 1'433'600, 1'740'800, 1'945'600, 99'123'200};
    const char* labels[] = {"360 Ko", "720 Ko", "1,1 Mo", "1,4 Mo", "1,7 Mo", "1,9 Mo", "99 Mo"};
    const char* captions[] = {"360 Ko", "720 Ko", "1.1 Mo", "1.4 Mo", "1.7 Mo", "1.9 Mo", "Lecteur Iomega Zip"};
    for (int c = 1; c <= 7; ++c) {
        EXPECT_EQ(SliceSizeFor(c), bytes[c - 1]) << c;
        EXPECT_EQ(SliceSizeFor(c) % kBlockSize, 0) << c;
        EXPECT_EQ(SliceLabelFor(c), labels[c - 1]) << c;
        EXPECT_EQ(SliceCaptionFor(c), captions[c - 1]) << c;
    }
    for (int other : {0, 8, -1, 1000}) {
        EXPECT_EQ(SliceSizeFor(other), 1'433'600);
        EXPECT_EQ(SliceLabelFor(other), "1,4 Mo");
    }
}

TEST(SizeText, RemainderDigitsAreLeadingDigitsOfTheBytes) {
    EXPECT_EQ(FormatSizeText(1'049'600), "1,10 Mo");
    EXPECT_EQ(FormatSizeText(1'500), "1,47 Ko");
    EXPECT_EQ(FormatSizeText(3'000'000), "2,90 Mo");
    EXPECT_EQ(FormatSizeText(1'433'600), "1,38 Mo");
    EXPECT_EQ(FormatSizeText(0), "0,0 Ko");
    EXPECT_EQ(FormatSizeText(1'023'999), "999,10 Ko");
    EXPECT_EQ(FormatSizeText(1'024'000), "0,10 Mo");
    EXPECT_EQ(FormatSizeText(1'048'575), "0,10 Mo");
    EXPECT_EQ(FormatSizeText(5), "0,5 Ko");
    EXPECT_EQ(FormatSizeText(5'000'000'000LL), "4768,38 Mo");
}

TEST(SliceCount, QuotientRoundedUp) {
    EXPECT_EQ(CountSlices(2'867'200, 1'433'600), 2);
    EXPECT_EQ(CountSlices(2'867'201, 1'433'600), 3);
    EXPECT_EQ(CountSlices(1'433'600, 1'433'600), 1);
    EXPECT_EQ(CountSlices(1, 1'433'600), 1);
    EXPECT_EQ(CountSlices(0, 1'433'600), 0);
    EXPECT_EQ(CountSlices(-5, 1'433'600), 0);
    EXPECT_EQ(CountSlices(5'000'000'000LL, 99'123'200), 51);
}

}  // namespace
}  // namespace sorv
