// The help file's rules: parsing topics, contexts, keywords and bodies; what
// garbage, empty and oversized files give; the help file shipped with the
// program; finding topics by context, by the start of a keyword, by words
// (case folded, accents respected).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "help_rules.h"
#include "temp_dir.h"

namespace sorv {
namespace {

using test::PathFromUtf8;
using test::TempDir;
using test::WriteFileBytes;

TEST(HelpFile, ParsesTopicsWithTheirContextsKeywordsAndBodies) {
    const HelpDocument document = ParseHelp(
        "# comment before anything\n"
        "text before the first topic\n"
        "@topic  Bienvenue dans Sorv  \n"
        "@context 10\n"
        "@keywords Sorv;  sommaire ; ;fenêtre principale\n"
        "\n"
        "Première ligne.\n"
        "# a comment inside a body\n"
        "\n"
        "  Après un blanc.\n"
        "@unknown stays text\n"
        "\n"
        "@topic Options\n"
        "@context 50 51\n"
        "@context 0 -3 12abc 99999999999\n"
        "@keywords options\n"
        "@keywords drag and drop\n"
        "Texte.");
    ASSERT_EQ(document.topics.size(), 2u);
    const HelpTopic& first = document.topics[0];
    EXPECT_EQ(first.title, "Bienvenue dans Sorv");
    EXPECT_EQ(first.contexts, (std::vector<int>{10}));
    EXPECT_EQ(first.keywords, (std::vector<std::string>{"Sorv", "sommaire", "fenêtre principale"}));
    EXPECT_EQ(first.body, "Première ligne.\n\n  Après un blanc.\n@unknown stays text");
    const HelpTopic& second = document.topics[1];
    EXPECT_EQ(second.title, "Options");
    EXPECT_EQ(second.contexts, (std::vector<int>{50, 51}));
    EXPECT_EQ(second.keywords, (std::vector<std::string>{"options", "drag and drop"}));
    EXPECT_EQ(second.body, "Texte.");
}

TEST(HelpFile, AcceptsWindowsLineEndsAndAByteOrderMark) {
    const HelpDocument document = ParseHelp("\xEF\xBB\xBF@topic Nouveautés\r\n@keywords Nouveautés\r\nUn.\r\nDeux.\r\n");
    ASSERT_EQ(document.topics.size(), 1u);
    EXPECT_EQ(document.topics[0].title, "Nouveautés");
    EXPECT_EQ(document.topics[0].keywords, (std::vector<std::string>{"Nouveautés"}));
    EXPECT_EQ(document.topics[0].body, "Un. Deux.");
}

// "~" stands for a no-break space in the expected bodies.
std::string NoBreak(std::string text) {
    for (std::size_t at = text.find('~'); at != std::string::npos; at = text.find('~', at))
        text.replace(at, 1, "\u00a0");
    return text;
}

TEST(HelpFile, ParagraphsAndListItemsFlowTogetherWhileItemsAndTableRowsStay) {
    struct Case {
        const char* text;
        const char* body;
    };
    const Case cases[] = {
        {"Une phrase coup\u00e9e\nsur deux lignes.\n\nListe :\n  - un\n  - deux\nSuite.",
         "Une phrase coup\u00e9e sur deux lignes.\n\nListe~:\n  - un\n  - deux\nSuite."},
        // An item's next lines, lined up with its text, belong to it.
        {"  1. Choisissez le menu\n     Fichier.\n  2. Puis\n     la suite\n     et la fin.",
         "  1. Choisissez le menu Fichier.\n  2. Puis la suite et la fin."},
        // A term and, indented further, its description on lines of its own.
        {"  Terme\n      sa description\n      sur deux lignes.", "  Terme\n      sa description sur deux lignes."},
        // Table rows never flow: their cells, lined up with blanks or tabs,
        // are parted by one tab; all but the last hold together.
        {"  360 Ko    disquette\n  720 Ko    disquette 3\"1/2", "  360~Ko\tdisquette\n  720~Ko\tdisquette 3\"1/2"},
        {"  A propos\tla version \u00ab Sorv \u00bb  \n    Lecteur Iomega Zip   cartouche   99 Mo",
         "  A~propos\tla version \u00ab~Sorv~\u00bb\n    Lecteur~Iomega~Zip\tcartouche\t99 Mo"},
        // Guillemets hold to their words, a blank to the ; : ? ! that follows.
        {"Cliquez sur \u00ab Ok \u00bb ; ou non ? Fin !", "Cliquez sur \u00ab~Ok~\u00bb~; ou non~? Fin~!"},
    };
    for (const Case& c : cases) {
        const HelpDocument document = ParseHelp(std::string("@topic T\n") + c.text);
        ASSERT_EQ(document.topics.size(), 1u);
        EXPECT_EQ(document.topics[0].body, NoBreak(c.body)) << c.text;
    }
}

TEST(HelpFile, TableColumnsStartAGapAfterTheirWidestCell) {
    // One unit a byte: the widths are the cells' lengths.
    const auto width = [](std::string_view text) { return static_cast<int>(text.size()); };
    EXPECT_TRUE(TableTabStops("Pas de tableau.\n  - un\n", width, 4).empty());
    const std::string body =
        "Texte.\n"
        "  360 Ko\tdisquette\n"
        "  Lecteur Zip\tcartouche\t99\n"  // the widest first cell, 13 with its indent
        "Fichier\n"
        "    Quitter\tfermer la fen\u00eatre\t1\n";  // the widest second cell, 18
    EXPECT_EQ(TableTabStops(body, width, 4), (std::vector<int>{17, 17 + 18 + 4}));
}

TEST(HelpFile, DropsATopicWithoutTitleAndWhatFollowsIt) {
    const HelpDocument document = ParseHelp(
        "@topic Un\ncorps un\n"
        "@topic   \n@context 40\n@keywords perdu\ncorps perdu\n"
        "@topic Deux\ncorps deux\n");
    ASSERT_EQ(document.topics.size(), 2u);
    EXPECT_EQ(document.topics[0].body, "corps un");
    EXPECT_EQ(document.topics[1].title, "Deux");
    EXPECT_FALSE(TopicForContext(document, 40).has_value());
    EXPECT_TRUE(TopicsForKeyPrefix(document, "perdu").empty());
}

TEST(HelpFile, EmptyAndGarbageTextGiveNoTopicsWithoutFailing) {
    EXPECT_TRUE(ParseHelp("").topics.empty());
    EXPECT_TRUE(ParseHelp("\n\n\r\n").topics.empty());
    EXPECT_TRUE(ParseHelp("@context 10\n@keywords a\nno topic yet\n").topics.empty());

    std::mt19937 random(1234);
    std::string garbage(256 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    const HelpDocument parsed = ParseHelp(garbage);
    for (const HelpTopic& topic : parsed.topics) EXPECT_FALSE(topic.title.empty());
    // Folding and searching whatever came out must hold up as well.
    SearchTopics(parsed, "\xC3 \xFF a");
    TopicsForKeyPrefix(parsed, "\xC3");
}

TEST(HelpFile, KeepsNoMoreThanTheTopicLimit) {
    std::string text;
    for (std::size_t i = 0; i < kMaxHelpTopics + 10; ++i) text += "@topic T" + std::to_string(i) + "\n@context 7\n";
    text += "@topic Dernière\n@context 8\n";
    const HelpDocument document = ParseHelp(text);
    EXPECT_EQ(document.topics.size(), kMaxHelpTopics);
    EXPECT_EQ(document.topics.back().title, "T" + std::to_string(kMaxHelpTopics - 1));
    EXPECT_FALSE(TopicForContext(document, 8).has_value());
}

TEST(HelpFile, LoadingReportsMissingOversizedAndTopicLessFiles) {
    TempDir dir;
    EXPECT_EQ(LoadHelpFile(dir.Path("absent.hlp")).status, HelpLoadStatus::CannotOpen);

    const std::string topic = "@topic Aide\nTexte.\n";
    std::string atLimit = topic;
    atLimit.resize(kMaxHelpFileBytes, '\n');
    WriteFileBytes(dir.Path("limite.hlp"), atLimit);
    const HelpLoad loaded = LoadHelpFile(dir.Path("limite.hlp"));
    EXPECT_EQ(loaded.status, HelpLoadStatus::Ok);
    ASSERT_EQ(loaded.document.topics.size(), 1u);
    EXPECT_EQ(loaded.document.topics[0].body, "Texte.");

    WriteFileBytes(dir.Path("énorme.hlp"), atLimit + "x");
    const HelpLoad huge = LoadHelpFile(dir.Path("énorme.hlp"));
    EXPECT_EQ(huge.status, HelpLoadStatus::TooLarge);
    EXPECT_TRUE(huge.document.topics.empty());

    WriteFileBytes(dir.Path("vide.hlp"), "");
    EXPECT_EQ(LoadHelpFile(dir.Path("vide.hlp")).status, HelpLoadStatus::NoTopics);
    WriteFileBytes(dir.Path("binaire.hlp"), std::string("MZ\x90\0\x03\0\0\0\x04\0\0\0\xFF\xFF", 14));
    EXPECT_EQ(LoadHelpFile(dir.Path("binaire.hlp")).status, HelpLoadStatus::NoTopics);
}

TEST(HelpFile, TheShippedHelpFileHasTheProgramsContextsAndKeywords) {
    const HelpLoad load = LoadHelpFile(SORV_SHIPPED_HELP);
    ASSERT_EQ(load.status, HelpLoadStatus::Ok);
    const HelpDocument& document = load.document;
    for (const int context : {10, 40, 50}) EXPECT_TRUE(TopicForContext(document, context).has_value()) << context;
    EXPECT_EQ(TopicForContext(document, 10), 0u) << "the main window's help is the contents page";

    const auto whatsNew = TopicsForKeyPrefix(document, "Nouveautés");
    ASSERT_EQ(whatsNew.size(), 1u);
    EXPECT_EQ(document.topics[whatsNew[0]].title, "Nouveautés");

    // Each subject the program's windows point to has its topic.
    for (const char* subject : {"Découper", "Regrouper", "taille des tranches", "options", "barre d'icônes"})
        EXPECT_FALSE(SearchTopics(document, subject).empty()) << subject;
    std::string bar = document.topics[SearchTopics(document, "barre d'icônes")[0]].body;
    for (std::size_t at = bar.find("\u00a0"); at != std::string::npos; at = bar.find("\u00a0", at))
        bar.replace(at, 2, " ");
    for (const char* button : {"Découper", "Regrouper", "Effacer", "Formater une disquette", "Options", "A propos",
                               "Quitter"})
        EXPECT_NE(bar.find(std::string("  ") + button + "\t"), std::string::npos) << button;
    // The welcome page lists the other topics in the contents' order.
    const std::string& welcome = document.topics[0].body;
    std::vector<std::string> listed;
    for (std::size_t at = welcome.find("\n  - "); at != std::string::npos; at = welcome.find("\n  - ", at + 1))
        listed.push_back(welcome.substr(at + 5, welcome.find('\n', at + 1) - at - 5));
    std::vector<std::string> titles;
    for (std::size_t i = 1; i < document.topics.size(); ++i) titles.push_back(document.topics[i].title);
    EXPECT_EQ(listed, titles);
    // The join's topic says what the recovery slices rebuild, and the options
    // name the boxes as the dialog shows them.
    const auto topicText = [&](const char* title) {
        for (const HelpTopic& topic : document.topics)
            if (topic.title == title) return topic.body;
        return std::string();
    };
    EXPECT_NE(topicText("Regrouper les tranches").find("est reconstituée à partir des tranches de secours."),
              std::string::npos);
    EXPECT_NE(topicText("Les options").find("Ajouter des tranches de secours.\u00a0»"), std::string::npos);
    for (const HelpTopic& topic : document.topics) {
        EXPECT_FALSE(topic.body.empty()) << topic.title;
        EXPECT_FALSE(topic.keywords.empty()) << topic.title;
    }
}

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
