#include "detect/ChapterRule.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "Capacities.h"
#include "detect/DetectMessages.h"
#include "detect/TextLines.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

namespace msg = detect_messages;

namespace {

// A title of a collection's piece is short; a longer line is a paragraph.
constexpr size_t kMaxShortTitleBytes = 40;

std::string ErrorText(UErrorCode status) {
    switch (status) {
        case U_REGEX_MISMATCHED_PAREN:
            return std::string(msg::kRuleUnbalancedParens);
        case U_REGEX_MISSING_CLOSE_BRACKET:
            return std::string(msg::kRuleMissingBracket);
        case U_REGEX_BAD_ESCAPE_SEQUENCE:
            return std::string(msg::kRuleBadEscape);
        case U_REGEX_INVALID_RANGE:
            return std::string(msg::kRuleBadRange);
        case U_REGEX_BAD_INTERVAL:
        case U_REGEX_MAX_LT_MIN:
        case U_REGEX_NUMBER_TOO_BIG:
            return std::string(msg::kRuleBadRepeat);
        case U_REGEX_PROPERTY_SYNTAX:
            return std::string(msg::kRuleBadProperty);
        case U_REGEX_INVALID_FLAG:
            return std::string(msg::kRuleBadFlag);
        case U_REGEX_LOOK_BEHIND_LIMIT:
            return std::string(msg::kRuleLookBehind);
        case U_REGEX_PATTERN_TOO_BIG:
            return std::string(msg::kRuleTooLong);
        default:
            return msg::RuleSyntaxError(u_errorName(status));
    }
}

std::unique_ptr<icu::RegexPattern> Compile(std::string_view utf8Pattern, std::string* problem) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError where{};
    icu::UnicodeString source = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8Pattern.data(), static_cast<int32_t>(utf8Pattern.size())));
    std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(source, where, status));
    if (U_FAILURE(status) || !compiled) {
        if (problem) {
            // ICU counts the offset in UTF-16 units on the pattern's line; a pattern is one line.
            int32_t offset = where.offset >= 0 ? where.offset : 0;
            int32_t characters = source.countChar32(0, std::min(offset, source.length()));
            *problem = msg::RuleError(int64_t{characters} + 1, ErrorText(status));
        }
        return nullptr;
    }
    return compiled;
}

// One matcher per pattern, reset on every line.
class LineMatcher {
  public:
    explicit LineMatcher(const icu::RegexPattern* pattern) {
        if (pattern == nullptr) return;
        UErrorCode status = U_ZERO_ERROR;
        matcher_.reset(pattern->matcher(status));
        if (U_FAILURE(status)) matcher_.reset();
    }

    // True when the pattern matches at the start of the line, and matches more than nothing: a
    // pattern that matches the empty text would otherwise take every line.
    bool MatchesStart(const icu::UnicodeString& line) {
        if (!matcher_) return false;
        matcher_->reset(line);
        UErrorCode status = U_ZERO_ERROR;
        if (!matcher_->lookingAt(status) || U_FAILURE(status)) return false;
        int32_t end = matcher_->end(status);
        return U_SUCCESS(status) && end > 0;
    }

  private:
    std::unique_ptr<icu::RegexMatcher> matcher_;
};

bool EndsSentence(std::string_view line) {
    static const std::vector<std::string> marks = [] {
        std::vector<std::string> gbk;
        for (const char* mark :
             {"。", "！", "？", "…", "”", "，", "；", "：", "」", "』", "）", "、"})
            gbk.push_back(Utf8ToGbk(mark));
        return gbk;
    }();
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.empty()) return false;
    unsigned char last = static_cast<unsigned char>(line.back());
    if (last < 0x80)
        return last == '.' || last == '!' || last == '?' || last == ',' || last == ';' ||
               last == ':';
    for (const std::string& mark : marks) {
        if (line.ends_with(mark)) return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> PatternProblem(std::string_view utf8Pattern) {
    std::string problem;
    if (Compile(utf8Pattern, &problem)) return std::nullopt;
    return problem;
}

BookOutline BuildRuleOutline(std::string_view text, const ChapterRule& rule, std::string& problem) {
    BookOutline outline;
    problem.clear();
    std::unique_ptr<icu::RegexPattern> chapter;
    std::unique_ptr<icu::RegexPattern> volume;
    if (!rule.pattern.empty() && !(chapter = Compile(rule.pattern, &problem))) return outline;
    if (!rule.volumePattern.empty() && !(volume = Compile(rule.volumePattern, &problem)))
        return outline;
    LineMatcher chapterMatcher(chapter.get());
    LineMatcher volumeMatcher(volume.get());

    struct Line {
        size_t start;
        int32_t number;
        std::string_view content;
        size_t firstText;
    };
    std::vector<Line> lines;
    ForEachTextLine(text, [&](const TextLine& line) {
        lines.push_back({line.start, line.number, line.content, line.firstText});
    });
    std::vector<OutlineEntry> entries;
    icu::UnicodeString unicode;
    std::u16string utf16;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        std::string_view head = line.content.substr(line.firstText);
        OutlineEntryKind kind = OutlineEntryKind::kChapter;
        bool found = false;
        if (chapter || volume) {
            utf16 = GbkToUtf16Lossless(head);
            unicode.setTo(false, utf16.data(), static_cast<int32_t>(utf16.size()));
            if (volumeMatcher.MatchesStart(unicode)) {
                kind = OutlineEntryKind::kVolume;
                found = true;
            } else if (chapterMatcher.MatchesStart(unicode)) {
                found = true;
            }
        }
        if (!found && rule.shortTitles) {
            // Blank lines (or the text's ends) on both sides: the lines between still count.
            bool blankBefore = i == 0 || lines[i - 1].number + 1 < line.number;
            bool blankAfter = i + 1 == lines.size() || line.number + 1 < lines[i + 1].number;
            found = blankBefore && blankAfter && head.size() <= kMaxShortTitleBytes &&
                    !EndsSentence(head);
        }
        if (!found) continue;
        OutlineEntry entry;
        entry.kind = kind;
        entry.title = OutlineTitle(line.content);
        entry.offset = static_cast<uint32_t>(line.start);
        entry.line = line.number;
        entries.push_back(std::move(entry));
    }
    bool anyChapter = std::any_of(entries.begin(), entries.end(), [](const OutlineEntry& e) {
        return e.kind == OutlineEntryKind::kChapter;
    });
    // Volumes without chapters under them are the book's chapters.
    if (!anyChapter) {
        for (OutlineEntry& entry : entries) entry.kind = OutlineEntryKind::kChapter;
    }
    size_t firstOffset = entries.empty() ? text.size() : entries.front().offset;
    bool frontText = false;
    for (size_t at = SkipBlanks(text, 0); at < firstOffset; at = SkipBlanks(text, at + 1)) {
        if (text[at] != '\r' && text[at] != '\n') {
            frontText = true;
            break;
        }
    }
    if (!entries.empty() && frontText) {
        OutlineEntry front;
        front.kind = OutlineEntryKind::kFrontMatter;
        front.title = FrontMatterTitle(text, firstOffset);
        outline.entries.push_back(std::move(front));
    }
    for (OutlineEntry& entry : entries) outline.entries.push_back(std::move(entry));
    return outline;
}

}  // namespace brisna
