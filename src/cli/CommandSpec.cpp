#include "cli/CommandSpec.h"

#include <cstdlib>

namespace brisna::cli {

Language LanguageFromEnvironment() {
    // The first of these that is set and not empty decides, as for every other message.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0') continue;
        return std::string_view(value).substr(0, 2) == "zh" ? Language::kChinese
                                                            : Language::kEnglish;
    }
    return Language::kEnglish;
}

const std::string& InLanguage(Language language, const std::string& english,
                              const std::string& chinese) {
    return language == Language::kChinese && !chinese.empty() ? chinese : english;
}

const std::vector<std::string>& InLanguage(Language language,
                                           const std::vector<std::string>& english,
                                           const std::vector<std::string>& chinese) {
    return language == Language::kChinese && !chinese.empty() ? chinese : english;
}

void ParsedArgs::Add(const std::string& key, std::string value) {
    ordered_.emplace_back(key, value);
    values_[key].push_back(std::move(value));
}

void ParsedArgs::SetFlag(const std::string& key) {
    // Kept in order too: a flag such as --auto is a step among the chapter options.
    ordered_.emplace_back(key, std::string());
    flags_[key] = true;
}

bool ParsedArgs::Flag(std::string_view key) const {
    auto found = flags_.find(key);
    return found != flags_.end() && found->second;
}

std::vector<std::string> ParsedArgs::Values(std::string_view key) const {
    auto found = values_.find(key);
    return found == values_.end() ? std::vector<std::string>{} : found->second;
}

std::optional<std::string> ParsedArgs::Value(std::string_view key) const {
    auto found = values_.find(key);
    if (found == values_.end() || found->second.empty()) return std::nullopt;
    return found->second.back();
}

}  // namespace brisna::cli
