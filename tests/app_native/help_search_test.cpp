// Finding help topics: by context, by the start of a keyword, by words; case
// folded, accents respected.
#include <gtest/gtest.h>

#include "help_file.h"
#include "help_search.h"

namespace sorv {
namespace {

const HelpDocument& Sample() {
    static const HelpDocument document = ParseHelp(
        "@topic Bienvenue\n@context 10\n@keywords sommaire\nSorv découpe les gros fichiers.\n"
        "@topic Nouveautés\n@keywords Nouveautés; version\nLa barre d'icônes flotte.\n"
        "@topic Nouvelles tailles\n@keywords nouvelle taille; Zip\nÉCRAN et disquette.\n"
        "@topic Options\n@context 50 10\n@keywords ÉTAT\nLe menu contextuel.\n"
        "@topic La barre d'icônes\n@keywords icônes\nSept boutons.\n");
    return document;
}

std::vector<std::string> Titles(const std::vector<std::size_t>& indices) {
    std::vector<std::string> titles;
    for (const std::size_t i : indices) titles.push_back(Sample().topics[i].title);
    return titles;
}

using TitleList = std::vector<std::string>;

TEST(HelpSearch, FoldsCaseOfAsciiAndAccentedCapitalsKeepingAccentsAndLength) {
    EXPECT_EQ(FoldCase("NOUVEAUTÉS À Ç Œ Ÿ Ā Ł Ž"), "nouveautés à ç œ ÿ ā ł ž");
    EXPECT_EQ(FoldCase("déjà ß × ÷"), "déjà ß × ÷");
    EXPECT_NE(FoldCase("Nouveautés"), FoldCase("Nouveautes"));
    // Broken sequences pass through unchanged and never grow.
    const std::string broken = "A\xC3\xC3\x89Z\xC3";
    EXPECT_EQ(FoldCase(broken), "a\xC3\xC3\xA9z\xC3");
    EXPECT_EQ(FoldCase(broken).size(), broken.size());
}

TEST(HelpSearch, ContextsLeadToTheFirstTopicThatCarriesThem) {
    EXPECT_EQ(TopicForContext(Sample(), 10), 0u);
    EXPECT_EQ(TopicForContext(Sample(), 50), 3u);
    EXPECT_FALSE(TopicForContext(Sample(), 40).has_value());
    EXPECT_FALSE(TopicForContext(Sample(), 0).has_value());
}

TEST(HelpSearch, KeywordPrefixesIgnoreCaseButNotAccents) {
    EXPECT_EQ(Titles(TopicsForKeyPrefix(Sample(), "Nouv")), (TitleList{"Nouveautés", "Nouvelles tailles"}));
    EXPECT_EQ(Titles(TopicsForKeyPrefix(Sample(), "Nouveautés")), (TitleList{"Nouveautés"}));
    EXPECT_EQ(Titles(TopicsForKeyPrefix(Sample(), "  NOUVEAUTÉS ")), (TitleList{"Nouveautés"}));
    EXPECT_EQ(Titles(TopicsForKeyPrefix(Sample(), "état")), (TitleList{"Options"}));
    EXPECT_TRUE(TopicsForKeyPrefix(Sample(), "Nouveautes").empty());
    EXPECT_TRUE(TopicsForKeyPrefix(Sample(), "etat").empty());
    // A keyword's middle is no prefix.
    EXPECT_TRUE(TopicsForKeyPrefix(Sample(), "veautés").empty());
    EXPECT_TRUE(TopicsForKeyPrefix(Sample(), "Rien").empty());
    EXPECT_EQ(TopicsForKeyPrefix(Sample(), "").size(), Sample().topics.size());
}

TEST(HelpSearch, SearchNeedsEveryWordAndListsTitleMatchesFirst) {
    // "icônes" is in a body and in a later title: the title match comes first.
    EXPECT_EQ(Titles(SearchTopics(Sample(), "icônes")), (TitleList{"La barre d'icônes", "Nouveautés"}));
    EXPECT_EQ(Titles(SearchTopics(Sample(), "écran")), (TitleList{"Nouvelles tailles"}));
    EXPECT_EQ(Titles(SearchTopics(Sample(), "zip DISQUETTE")), (TitleList{"Nouvelles tailles"}));
    EXPECT_EQ(Titles(SearchTopics(Sample(), "sommaire\tgros")), (TitleList{"Bienvenue"}));
    EXPECT_TRUE(SearchTopics(Sample(), "zip contextuel").empty());
    EXPECT_TRUE(SearchTopics(Sample(), "ecran").empty());
    EXPECT_EQ(SearchTopics(Sample(), "  ").size(), Sample().topics.size());
}

}  // namespace
}  // namespace sorv
