#include "cli_options.h"

#include <array>
#include <utility>

namespace sorv {

namespace {

struct SizeSpelling {
    std::string_view text;
    std::int32_t choice;
};

constexpr std::array<SizeSpelling, 6> kSizeSpellings{{
    {"360", 1}, {"720", 2}, {"1.1", 3}, {"1.4", 4}, {"1.7", 5}, {"1.9", 6},
}};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (x != b[i]) return false;
    }
    return true;
}

CliParse Refuse(std::string why) {
    CliParse result;
    result.command = CliCommand::BadUsage;
    result.error = std::move(why);
    return result;
}

}  // namespace

std::optional<std::int32_t> ParseSizeChoice(std::string_view text) {
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '7') return text[0] - '0';
    for (const auto& s : kSizeSpellings)
        if (text == s.text) return s.choice;
    if (EqualsIgnoringAsciiCase(text, "zip")) return 7;
    return std::nullopt;
}

namespace {

// The value of -t or --taille: joined to it ("-t4", "--taille=4") or the
// next argument, which is then used up; none when there is no next one.
std::optional<std::string> SizeValue(const std::vector<std::string>& args, std::size_t& i) {
    const std::string& arg = args[i];
    if (arg == "-t" || arg == "--taille") {
        if (i + 1 >= args.size()) return std::nullopt;
        return args[++i];
    }
    return arg.starts_with("--taille=") ? arg.substr(9) : arg.substr(2);
}

}  // namespace

CliParse ParseCliArguments(const std::vector<std::string>& args) {
    CliParse result;
    CliOptions& o = result.options;
    bool sawYes = false, sawNo = false, sawSplit = false, sawJoin = false, sawVerify = false;
    bool optionsEnded = false;
    std::vector<std::string> files;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            // "-" alone is a file name like any other.
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            result.command = CliCommand::Help;
            return result;
        } else if (arg == "--version") {
            result.command = CliCommand::Version;
            return result;
        } else if (arg == "-y" || arg == "--oui") {
            sawYes = true;
        } else if (arg == "-n" || arg == "--non") {
            sawNo = true;
        } else if (arg == "--split") {
            sawSplit = true;
        } else if (arg == "--join") {
            sawJoin = true;
        } else if (arg == "--verifier") {
            sawVerify = true;
        } else if (arg.starts_with("-t") || arg == "--taille" || arg.starts_with("--taille=")) {
            const std::optional<std::string> value = SizeValue(args, i);
            if (!value) return Refuse("il manque la taille après " + arg);
            const auto choice = ParseSizeChoice(*value);
            if (!choice) return Refuse("taille inconnue : " + *value);
            o.sizeChoice = *choice;
        } else {
            return Refuse("option inconnue : " + arg);
        }
    }

    if (sawYes && sawNo) return Refuse("-y et -n s'excluent");
    if (sawSplit + sawJoin + sawVerify > 1) return Refuse("--split, --join et --verifier s'excluent");
    if (files.empty()) return Refuse("il manque le fichier");
    if (files.size() > 1) return Refuse("un seul fichier à la fois");

    o.file = files.front();
    o.answers = sawYes ? AutoAnswer::Yes : sawNo ? AutoAnswer::No : AutoAnswer::Ask;
    o.flow = sawSplit ? FlowChoice::Split : sawJoin ? FlowChoice::Join : sawVerify ? FlowChoice::Verify : FlowChoice::ByExtension;
    return result;
}

std::string UsageText() {
    return "Usage : sorv-cli [options] FICHIER\n"
           "Coupe FICHIER en tranches, ou le reconstitue quand c'est un script .d.\n"
           "\n"
           "  -t, --taille CHOIX  taille maximum d'une tranche : 1 à 7, ou 360, 720,\n"
           "                      1.1, 1.4, 1.7, 1.9, zip (par défaut 4 : 1.4 Mo)\n"
           "  -y, --oui           répond Oui à toutes les questions\n"
           "  -n, --non           répond Non à toutes les questions\n"
           "      --split         coupe FICHIER, quelle que soit son extension\n"
           "      --join          reconstitue à partir du script FICHIER\n"
           "      --verifier      vérifie les tranches du script FICHIER par leurs empreintes,\n"
           "                      sans rien reconstituer\n"
           "  -h, --help          affiche cette aide\n"
           "      --version       affiche la version\n"
           "      --              fin des options\n"
           "\n"
           "Code de sortie : 0 terminé (...Ok), 1 arrêté sans erreur, 2 erreur ou\n"
           "tranche endommagée, 64 ligne de commande incorrecte.\n";
}

}  // namespace sorv
