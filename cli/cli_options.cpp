#include "cli_options.h"

#include <algorithm>
#include <array>
#include <utility>

#include "names.h"

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
    // The log writes "1,4 Mo": the French decimal comma is taken as the point.
    std::string spelled(text);
    std::replace(spelled.begin(), spelled.end(), ',', '.');
    for (const auto& s : kSizeSpellings)
        if (spelled == s.text) return s.choice;
    if (EqualsIgnoringAsciiCase(text, "zip")) return 7;
    return std::nullopt;
}

std::optional<RecoveryRequest> ParseRecoveryRequest(std::string_view text) {
    const bool percent = text.ends_with('%');
    if (percent) text.remove_suffix(1);
    // Leading zeros say nothing: 0000000005 is 5.
    while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
    // The flows keep a set to 65,535 files (one fewer than the recovery code
    // could take), one slice at least: 65,534 recovery slices at most.
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

namespace {

// What the arguments said, before it is judged as a whole.
struct SeenArguments {
    bool yes = false, no = false, split = false, join = false, verify = false, repair = false;
    // How many times -t and -s were given.
    int sizes = 0, recoveries = 0;
    bool optionsEnded = false;
    std::vector<std::string> files;
};

struct FlagSpelling {
    std::string_view shortName, longName;
    bool SeenArguments::*flag;
};

constexpr std::array<FlagSpelling, 6> kFlags{{
    {"-y", "--oui", &SeenArguments::yes},
    {"-n", "--non", &SeenArguments::no},
    {"", "--split", &SeenArguments::split},
    {"", "--join", &SeenArguments::join},
    {"", "--verifier", &SeenArguments::verify},
    {"", "--reparer", &SeenArguments::repair},
}};

bool TakeFlag(const std::string& arg, SeenArguments& seen) {
    for (const FlagSpelling& f : kFlags) {
        if (arg == f.longName || (!f.shortName.empty() && arg == f.shortName)) {
            seen.*f.flag = true;
            return true;
        }
    }
    return false;
}

// An option with a value (-t, -s); a refusal when it is wrong, nothing when
// the argument is none of them.
std::optional<CliParse> TakeValueOption(const std::vector<std::string>& args, std::size_t& i, CliOptions& o,
                                        SeenArguments& seen) {
    const std::string& arg = args[i];
    if (IsOption(arg, 't', "--taille")) {
        const std::optional<std::string> value = OptionValue(args, i, "--taille");
        if (!value) return Refuse("il manque la taille après " + arg);
        const auto choice = ParseSizeChoice(*value);
        if (!choice) return Refuse("taille inconnue : " + *value);
        o.sizeChoice = *choice;
        ++seen.sizes;
        return std::nullopt;
    }
    if (!IsOption(arg, 's', "--secours")) return Refuse("option inconnue : " + arg);
    const std::optional<std::string> value = OptionValue(args, i, "--secours");
    if (!value) return Refuse("il manque le nombre de tranches de secours après " + arg);
    const auto request = ParseRecoveryRequest(*value);
    if (!request)
        return Refuse("nombre de tranches de secours incorrect : " + *value +
                      " (un nombre de 0 à 65534, ou un pourcentage des tranches comme 5%)");
    o.recovery = *request;
    ++seen.recoveries;
    return std::nullopt;
}

// The options that only a split reads: given to another flow they would be
// passed over without a word, given twice one of them would.
struct SplitOption {
    std::string_view name;
    int SeenArguments::*given;
    std::string_view whyNotElsewhere;
};

constexpr std::array<SplitOption, 2> kSplitOptions{{
    {"-t", &SeenArguments::sizes, "la taille des tranches d'un script est déjà choisie"},
    {"-s", &SeenArguments::recoveries, "les tranches de secours d'un script sont déjà écrites"},
}};

bool GoesToASplit(const SeenArguments& seen) {
    if (seen.join || seen.verify || seen.repair) return false;
    // Without a flow named, the extension chooses it, as in the window program.
    return seen.split || !IsScriptExtension(ExtensionOf(seen.files.front()));
}

std::optional<CliParse> RefuseMisusedSplitOption(const SeenArguments& seen) {
    for (const SplitOption& option : kSplitOptions) {
        const int given = seen.*option.given;
        const std::string name(option.name);
        if (given > 1) return Refuse(name + " donné plus d'une fois");
        if (given == 1 && !GoesToASplit(seen))
            return Refuse(name + " ne sert qu'au découpage : " + std::string(option.whyNotElsewhere));
    }
    return std::nullopt;
}

// The arguments seen, judged together.
CliParse Conclude(CliParse result, const SeenArguments& seen) {
    CliOptions& o = result.options;
    if (seen.yes && seen.no) return Refuse("-y et -n s'excluent");
    if (seen.split + seen.join + seen.verify + seen.repair > 1)
        return Refuse("--split, --join, --verifier et --reparer s'excluent");
    if (seen.files.empty()) return Refuse("il manque le fichier");
    if (seen.files.size() > 1) return Refuse("un seul fichier à la fois");
    if (seen.files.front().empty()) return Refuse("le nom du fichier est vide");
    if (std::optional<CliParse> refused = RefuseMisusedSplitOption(seen)) return *refused;

    o.file = seen.files.front();
    o.answers = seen.yes ? AutoAnswer::Yes : seen.no ? AutoAnswer::No : AutoAnswer::Ask;
    o.flow = seen.split    ? FlowChoice::Split
             : seen.join   ? FlowChoice::Join
             : seen.verify ? FlowChoice::Verify
             : seen.repair ? FlowChoice::Repair
                           : FlowChoice::ByExtension;
    return result;
}

}  // namespace

CliParse ParseCliArguments(const std::vector<std::string>& args) {
    CliParse result;
    SeenArguments seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (seen.optionsEnded || arg.size() < 2 || arg[0] != '-') {
            // "-" alone is a file name like any other.
            seen.files.push_back(arg);
        } else if (arg == "--") {
            seen.optionsEnded = true;
        } else if (arg == "--help" || arg == "-h" || arg == "--version") {
            result.command = arg == "--version" ? CliCommand::Version : CliCommand::Help;
            return result;
        } else if (!TakeFlag(arg, seen)) {
            if (std::optional<CliParse> refused = TakeValueOption(args, i, result.options, seen)) return *refused;
        }
    }
    return Conclude(std::move(result), seen);
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
