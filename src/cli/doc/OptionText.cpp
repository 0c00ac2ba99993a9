#include "cli/doc/OptionText.h"

#include "cli/doc/DocMessages.h"

namespace brisna::cli {

std::string OptionLabel(const OptionSpec& spec) {
    if (spec.Positional()) return spec.valueName + (spec.repeatable ? "..." : "");
    std::string label = spec.names;
    size_t comma = label.find(',');
    if (comma != std::string::npos) label = label.substr(0, comma) + ", " + label.substr(comma + 1);
    if (!spec.valueName.empty()) label += " " + spec.valueName;
    return label;
}

std::string OptionHelp(const OptionSpec& spec, Language language) {
    std::string help = spec.Help(language);
    if (!spec.Positional() && spec.repeatable) {
        help += language == Language::kChinese ? doc::kRepeatableChinese : doc::kRepeatableEnglish;
    }
    return help;
}

}  // namespace brisna::cli
