#include "cli/UsageErrors.h"
#include "cli/CliMessages.h"

#include <algorithm>
#include <ostream>
#include <regex>

namespace brisna::cli {

namespace {

// Edits (insert, delete, replace, swap two neighbours) between two names.
size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t replace = d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, replace});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

struct Translation {
    std::regex pattern;
    // Chinese with $1, $2 ... for the parts the pattern caught.
    std::string chinese;
};

const std::vector<Translation>& Translations() {
    static const std::vector<Translation> table = [] {
        std::vector<Translation> rows;
        auto add = [&rows](const char* pattern, std::string_view chinese) {
            rows.push_back({std::regex(pattern), std::string(chinese)});
        };
        add("^The following arguments? (?:was|were) not expected: (-[^ ].*)$",
            messages::kUnknownOption);
        add("^The following arguments? (?:was|were) not expected: (.*)$",
            messages::kExtraArguments);
        add("^A subcommand is required$", messages::kSubcommandRequired);
        add("^(.+) is required$", messages::kArgumentRequired);
        add("^(\\S+): Value (.*) not in range (\\S+) to (\\S+)$", messages::kValueOutOfRange);
        add("^(\\S+): Value (.*) could not be converted.*$", messages::kValueNotNumber);
        add("^(\\S+): (.*) not in \\{(.*)\\}$", messages::kValueNotAllowed);
        add("^(\\S+): \\d+ required ([^: ]+).* missing$", messages::kValueMissing);
        add("^(\\S+): too many inputs for a flag$", messages::kFlagTakesNoValue);
        add("^(\\S+): Should be true/false or a number$", messages::kFlagTakesNoValue);
        add("^Could not convert: (\\S+) = (.*)$", messages::kFlagGivenValue);
        return rows;
    }();
    return table;
}

}  // namespace

int ReportUsageError(std::ostream& err, const std::string& english, const std::string& chinese,
                     std::string_view subcommand) {
    const Language language = LanguageFromEnvironment();
    std::string help = "brisnamake-cli ";
    if (!subcommand.empty()) help += std::string(subcommand) + " ";
    help += "--help";
    err << kUsagePrefix << InLanguage(language, english, chinese) << '\n';
    if (language == Language::kChinese) {
        err << messages::kSeeHelpStart << help << messages::kSeeHelpEnd << '\n';
    } else {
        err << "Run " << help << " for more information.\n";
    }
    return kExitUsage;
}

std::string UsageErrorText(std::string_view parserMessage, Language language) {
    const std::string message(parserMessage);
    if (language != Language::kChinese) return message;
    for (const Translation& row : Translations()) {
        std::smatch match;
        if (std::regex_match(message, match, row.pattern)) return match.format(row.chinese);
    }
    return message;
}

std::string NearestName(std::string_view typed, const std::vector<std::string>& names) {
    std::string nearest;
    size_t best = std::string::npos;
    for (const std::string& name : names) {
        const size_t distance = EditDistance(typed, name);
        if (distance < best) {
            best = distance;
            nearest = name;
        }
    }
    // A third of the name may be wrong, and at least one letter: "chapter" is meant as
    // "chapters", "xyz" is no name at all.
    const size_t allowed = std::max<size_t>(1, typed.size() / 3);
    return best <= allowed ? nearest : std::string();
}

}  // namespace brisna::cli
