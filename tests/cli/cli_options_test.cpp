#include "cli_options.h"

#include <gtest/gtest.h>

#include "answer_text.h"
#include "exit_status.h"

namespace sorv {
namespace {

CliParse Parse(std::vector<std::string> args) { return ParseCliArguments(args); }

TEST(CliOptions, DefaultsFollowTheWindowProgram) {
    const CliParse p = Parse({"archive.zip"});
    ASSERT_EQ(p.command, CliCommand::Run);
    EXPECT_EQ(p.options.file, "archive.zip");
    EXPECT_EQ(p.options.flow, FlowChoice::ByExtension);
    EXPECT_EQ(p.options.sizeChoice, 4);
    EXPECT_EQ(p.options.answers, AutoAnswer::Ask);
}

TEST(CliOptions, EverySizeSpelling) {
    const std::vector<std::pair<std::string, int>> spellings{
        {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"7", 7},
        {"360", 1}, {"720", 2}, {"1.1", 3}, {"1.4", 4}, {"1.7", 5}, {"1.9", 6},
        {"1,1", 3}, {"1,4", 4}, {"1,7", 5}, {"1,9", 6}, {"zip", 7}, {"ZIP", 7}, {"Zip", 7},
    };
    for (const auto& [text, choice] : spellings) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseSizeChoice(text), choice);
        EXPECT_EQ(Parse({"-t", text, "f"}).options.sizeChoice, choice);
        EXPECT_EQ(Parse({"--taille", text, "f"}).options.sizeChoice, choice);
        EXPECT_EQ(Parse({"--taille=" + text, "f"}).options.sizeChoice, choice);
        EXPECT_EQ(Parse({"-t" + text, "f"}).options.sizeChoice, choice);
    }
    for (const char* bad : {"0", "8", "", "1,44", "1.44", "zipp", "14", " 4", "-1", "36,0"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseSizeChoice(bad));
        EXPECT_EQ(Parse({"-t", bad, "f"}).command, CliCommand::BadUsage);
    }
}

TEST(CliOptions, AnswersFlowsAndOptionOrder) {
    EXPECT_EQ(Parse({"-y", "f"}).options.answers, AutoAnswer::Yes);
    EXPECT_EQ(Parse({"f", "--oui"}).options.answers, AutoAnswer::Yes);
    EXPECT_EQ(Parse({"-n", "f"}).options.answers, AutoAnswer::No);
    EXPECT_EQ(Parse({"--non", "-n", "f"}).options.answers, AutoAnswer::No);
    EXPECT_EQ(Parse({"--split", "x.d"}).options.flow, FlowChoice::Split);
    EXPECT_EQ(Parse({"x.zip", "--join"}).options.flow, FlowChoice::Join);
    EXPECT_EQ(Parse({"--verifier", "x.d"}).options.flow, FlowChoice::Verify);

    const CliParse p = Parse({"-t", "zip", "-n", "--split", "--", "-y"});
    ASSERT_EQ(p.command, CliCommand::Run);
    EXPECT_EQ(p.options.file, "-y");
    EXPECT_EQ(p.options.answers, AutoAnswer::No);
    EXPECT_EQ(p.options.sizeChoice, 7);
    EXPECT_EQ(p.options.flow, FlowChoice::Split);

    EXPECT_EQ(Parse({"-"}).options.file, "-");
}

// -t and -s are read by a split only, once: anything else would pass over one silently.
TEST(CliOptions, SplitOptionsGoOnceToASplitOnly) {
    const std::string noSize = "-t ne sert qu'au découpage : la taille des tranches d'un script est déjà choisie";
    const std::string noRecovery = "-s ne sert qu'au découpage : les tranches de secours d'un script sont déjà écrites";
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused{
        {{"-t", "2", "-t", "6", "f"}, "-t donné plus d'une fois"},
        {{"-t", "2", "--taille=2", "f"}, "-t donné plus d'une fois"},
        {{"-s", "1", "--split", "--secours", "1", "f"}, "-s donné plus d'une fois"},
        {{"-t", "720", "-n", "a.d"}, noSize},
        {{"-s", "2", "a.D"}, noRecovery},
        {{"--join", "-t", "1", "f.zip"}, noSize},
        {{"--verifier", "-t", "1", "f.d"}, noSize},
        {{"--reparer", "-s", "1", "f.d"}, noRecovery},
        {{"--verifier", "-s", "2", "f.d"}, noRecovery},
    };
    for (const auto& [args, error] : refused) {
        const CliParse p = Parse(args);
        EXPECT_EQ(p.command, CliCommand::BadUsage) << args[1];
        EXPECT_EQ(p.error, error);
    }
    for (const std::vector<std::string>& split : std::vector<std::vector<std::string>>{
             {"-t", "2", "-s", "1", "a.dd"}, {"--split", "-t", "2", "-s", "1", "a.d"}, {"-s", "1", "a.d/f"}})
        EXPECT_EQ(Parse(split).command, CliCommand::Run) << split.back();
}

TEST(CliOptions, HelpAndVersionWinOverTheRest) {
    EXPECT_EQ(Parse({"--help"}).command, CliCommand::Help);
    EXPECT_EQ(Parse({"-h", "a", "b"}).command, CliCommand::Help);
    EXPECT_EQ(Parse({"--version"}).command, CliCommand::Version);
    EXPECT_EQ(Parse({"f", "--version"}).command, CliCommand::Version);
    // After "--" they are file names.
    EXPECT_EQ(Parse({"--", "--help"}).options.file, "--help");
}

TEST(CliOptions, BadUsageIsRefusedWithAReason) {
    const std::vector<std::vector<std::string>> bad{
        {},
        {""},
        {"-y"},
        {"a", "b"},
        {"--", "a", "b"},
        {"-y", "-n", "f"},
        {"--non", "f", "--oui"},
        {"--split", "--join", "f"},
        {"--verifier", "--join", "f"},
        {"--split", "f", "--verifier"},
        {"-x", "f"},
        {"--taille"},
        {"f", "-t"},
        {"--tail", "4", "f"},
        {"-yn", "f"},
        {"--version=1", "f"},
    };
    for (const auto& args : bad) {
        std::string joined;
        for (const auto& a : args) joined += "[" + a + "]";
        SCOPED_TRACE(joined);
        const CliParse p = Parse(args);
        EXPECT_EQ(p.command, CliCommand::BadUsage);
        EXPECT_FALSE(p.error.empty());
    }
    EXPECT_NE(UsageText().find("sorv-cli"), std::string::npos);
}

TEST(CliAnswers, TypedAnswers) {
    for (const char* yes : {"o", "O", "oui", "OUI", "Oui", "y", "Y", "yes", "YES", "  oui \r\n", "o\n"})
        EXPECT_EQ(ParseYesNoAnswer(yes), true) << yes;
    for (const char* no : {"n", "N", "non", "NON", "no", "No", "\tn\r\n"})
        EXPECT_EQ(ParseYesNoAnswer(no), false) << no;
    for (const char* none : {"", "\n", "ou", "ouii", "yes please", "nope", "0", "o n"})
        EXPECT_FALSE(ParseYesNoAnswer(none)) << none;
}

TEST(CliExit, ErrorTextGetsItsDotAsInTheErrorBox) {
    EXPECT_EQ(ErrorBoxText("Erreur E/S 39"), "Erreur E/S 39.");
    EXPECT_EQ(ErrorBoxText("Accès au fichier refusé"), "Accès au fichier refusé.");
    // "é" ends in a byte above ".": the dot is added as after the ANSI é.
    EXPECT_EQ(ErrorBoxText("Ne peut écrire dans C:\\dé"), "Ne peut écrire dans C:\\dé.");
    EXPECT_EQ(ErrorBoxText("fin."), "fin.");
    EXPECT_EQ(ErrorBoxText("virgule,"), "virgule,");
    EXPECT_EQ(ErrorBoxText("C:\\"), "C:\\.");
    EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
}  // namespace sorv

namespace sorv {
namespace {

TEST(CliOptions, RecoverySlicesAreACountOrAPercentForASplitOnly) {
    const struct {
        std::vector<std::string> args;
        std::int64_t count;
        std::int32_t percent;
    } good[] = {
        {{"-s", "3", "f"}, 3, 0},      {{"-s3", "f"}, 3, 0},           {{"--secours", "5%", "f"}, 0, 5},
        {{"--secours=0", "f"}, 0, 0}, {{"-s", "65534", "f"}, 65534, 0}, {{"--split", "-s", "150%", "f"}, 0, 150},
        {{"-s", "0000000005", "f"}, 5, 0}, {{"-s", "000%", "f"}, 0, 0},
    };
    for (const auto& g : good) {
        const CliParse p = ParseCliArguments(g.args);
        ASSERT_EQ(p.command, CliCommand::Run) << g.args[1];
        EXPECT_EQ(p.options.recovery.count, g.count);
        EXPECT_EQ(p.options.recovery.percent, g.percent);
    }
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"-s", "65535", "f"}, {"-s", "0065535", "f"}, {"-s", "-1", "f"}, {"-s", "2.5%", "f"}, {"-s", "%", "f"}, {"-s", "x", "f"},
             {"-s", "f"}, {"--join", "-s", "2", "f.d"}, {"--reparer", "--verifier", "f.d"}}) {
        const CliParse p = ParseCliArguments(bad);
        EXPECT_EQ(p.command, CliCommand::BadUsage) << bad[1];
        EXPECT_FALSE(p.error.empty());
    }
    EXPECT_EQ(ParseCliArguments({"--reparer", "f.d"}).options.flow, FlowChoice::Repair);
}

}  // namespace
}  // namespace sorv
