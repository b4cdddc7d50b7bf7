// What a link label opens: its URL, its caption, or nothing.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "urllabel_rules.h"

namespace sorv {
namespace {

TEST(LinkTarget, TheUrlWinsUnlessItIsBlank) {
    EXPECT_EQ(LinkTarget("http://sorv.example.org/", "Accueil"), "http://sorv.example.org/");
    // Chosen as stored, blanks included.
    EXPECT_EQ(LinkTarget("  mailto:sorv@example.org?subject=Sorv ", "sorv@example.org"),
              "  mailto:sorv@example.org?subject=Sorv ");
    EXPECT_EQ(LinkTarget("", "http://sorv.example.org/"), "http://sorv.example.org/");
    EXPECT_EQ(LinkTarget(" \t \r\n", " http://sorv.example.org/ "), " http://sorv.example.org/ ");
}

TEST(LinkTarget, NothingWhenBothAreBlank) {
    EXPECT_EQ(LinkTarget("", ""), std::nullopt);
    EXPECT_EQ(LinkTarget("   ", ""), std::nullopt);
    EXPECT_EQ(LinkTarget("   ", " \t "), std::nullopt);
}

TEST(LinkTarget, TrimKeepsNonAsciiText) {
    EXPECT_EQ(TrimBlanks("  \u00e9t\u00e9 \n"), "\u00e9t\u00e9");
    EXPECT_EQ(TrimBlanks("\u00a0"), "\u00a0");  // not a blank byte by byte
    EXPECT_EQ(TrimBlanks(" "), "");
}

}  // namespace
}  // namespace sorv
