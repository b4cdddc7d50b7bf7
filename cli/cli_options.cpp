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

std::optional<RecoveryRequest> ParseRecoveryRequest(std::string_view text) {
    const bool percent = text.ends_with('%');
    if (percent) text.remove_suffix(1);
    // A set holds at most 65,535 files, one slice at least.
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) value = value * 10 + (c - '0');
    RecoveryRequest request;
    if (percent && value > 0) {
        request.percent = static_cast<std::int32_t>(value);
    } else if (!percent) {
        if (value > 65534) return std::nullopt;
        request.count = value;
    }
    return request;
}

namespace {

// The value of an option with a short and a long spelling: joined to it
// ("-t4", "--taille=4") or the next argument, which is then used up; none
// when there is no next one.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i, const std::string& longName) {
    const std::string& arg = args[i];
    if (arg.size() == 2 || arg == longName) {
        if (i + 1 >= args.size()) return std::nullopt;
        return args[++i];
    }
    return arg.starts_with(longName + "=") ? arg.substr(longName.size() + 1) : arg.substr(2);
}

bool IsOption(const std::string& arg, char letter, const std::string& longName) {
    return (arg.size() >= 2 && arg[0] == '-' && arg[1] == letter) || arg == longName || arg.starts_with(longName + "=");
}

}  // namespace

CliParse ParseCliArguments(const std::vector<std::string>& args) {
    CliParse result;
    CliOptions& o = result.options;
    bool sawYes = false, sawNo = false, sawSplit = false, sawJoin = false, sawVerify = false, sawRepair = false;
    bool sawRecovery = false;
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
        } else if (arg == "--reparer") {
            sawRepair = true;
        } else if (IsOption(arg, 't', "--taille")) {
            const std::optional<std::string> value = OptionValue(args, i, "--taille");
            if (!value) return Refuse("il manque la taille après " + arg);
            const auto choice = ParseSizeChoice(*value);
            if (!choice) return Refuse("taille inconnue : " + *value);
            o.sizeChoice = *choice;
        } else if (IsOption(arg, 's', "--secours")) {
            const std::optional<std::string> value = OptionValue(args, i, "--secours");
            if (!value) return Refuse("il manque le nombre de tranches de secours après " + arg);
            const auto request = ParseRecoveryRequest(*value);
            if (!request)
                return Refuse("nombre de tranches de secours incorrect : " + *value +
                              " (un nombre de 0 à 65534, ou un pourcentage des tranches comme 5%)");
            o.recovery = *request;
            sawRecovery = true;
        } else {
            return Refuse("option inconnue : " + arg);
        }
    }

    if (sawYes && sawNo) return Refuse("-y et -n s'excluent");
    if (sawSplit + sawJoin + sawVerify + sawRepair > 1)
        return Refuse("--split, --join, --verifier et --reparer s'excluent");
    if (sawRecovery && (sawJoin || sawVerify || sawRepair))
        return Refuse("-s ne sert qu'au découpage : les tranches de secours d'un script sont déjà écrites");
    if (files.empty()) return Refuse("il manque le fichier");
    if (files.size() > 1) return Refuse("un seul fichier à la fois");

    o.file = files.front();
    o.answers = sawYes ? AutoAnswer::Yes : sawNo ? AutoAnswer::No : AutoAnswer::Ask;
    o.flow = sawSplit    ? FlowChoice::Split
             : sawJoin   ? FlowChoice::Join
             : sawVerify ? FlowChoice::Verify
             : sawRepair ? FlowChoice::Repair
                         : FlowChoice::ByExtension;
    return result;
}

std::string UsageText() {
    return "Usage : sorv-cli [options] FICHIER\n"
           "Coupe FICHIER en tranches, ou le reconstitue quand c'est un script .d.\n"
           "\n"
           "  -t, --taille CHOIX  taille maximum d'une tranche : 1 à 7, ou 360, 720,\n"
           "                      1.1, 1.4, 1.7, 1.9, zip (par défaut 4 : 1.4 Mo)\n"
           "  -s, --secours K     écrit K tranches de secours en plus des tranches, ou K%\n"
           "                      du nombre de tranches (arrondi au-dessus) : jusqu'à K\n"
           "                      fichiers perdus ou endommagés seront reconstitués\n"
           "  -y, --oui           répond Oui à toutes les questions\n"
           "  -n, --non           répond Non à toutes les questions\n"
           "      --split         coupe FICHIER, quelle que soit son extension\n"
           "      --join          reconstitue à partir du script FICHIER\n"
           "      --verifier      vérifie les tranches du script FICHIER par leurs empreintes,\n"
           "                      sans rien reconstituer (0 entier, 1 réparable, 2 perdu)\n"
           "      --reparer       refait les tranches et tranches de secours manquantes ou\n"
           "                      endommagées du script FICHIER (les fichiers endommagés\n"
           "                      sont gardés sous le nom NOM.endommagée)\n"
           "  -h, --help          affiche cette aide\n"
           "      --version       affiche la version\n"
           "      --              fin des options\n"
           "\n"
           "Code de sortie : 0 terminé (...Ok), 1 arrêté sans erreur, 2 erreur ou\n"
           "tranche endommagée, 64 ligne de commande incorrecte.\n";
}

}  // namespace sorv
