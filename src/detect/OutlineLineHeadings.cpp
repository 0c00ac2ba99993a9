#include "detect/OutlineLineHeadings.h"

#include "detect/TextLines.h"
#include "text/GbkText.h"

namespace brisna::outline {

namespace {

// 第 + number + unit at the start of `head`.
std::optional<ParsedWord> NumberedWord(std::string_view head) {
    const Vocabulary& words = Words();
    size_t at = SkipBlanks(head, words.di.size());
    int64_t value = 0;
    size_t numeral = ReadNumber(head.substr(at), value);
    if (numeral == 0) return std::nullopt;
    at = SkipBlanks(head, at + numeral);
    std::string_view unitAndRest = head.substr(at);
    std::string_view unit = unitAndRest.substr(0, 2);
    bool chapter =
        unit.size() == 2 && std::find(words.chapterUnits.begin(), words.chapterUnits.end(), unit) !=
                                words.chapterUnits.end();
    bool volume = !chapter && unit.size() == 2 &&
                  std::find(words.volumeUnits.begin(), words.volumeUnits.end(), unit) !=
                      words.volumeUnits.end();
    if (!chapter && !volume) return std::nullopt;
    ParsedWord parsed;
    parsed.tail = TailAfter(unitAndRest.substr(2));
    if (parsed.tail == TailKind::kJoined && StartsWithAny(unitAndRest, words.unitWords))
        return std::nullopt;
    parsed.heading.kind = chapter ? OutlineEntryKind::kChapter : OutlineEntryKind::kVolume;
    parsed.heading.number = static_cast<int32_t>(value);
    // Chinese numerals and digits of the same unit are one run: novels switch between them.
    char form[4] = {'d', 'i', unit[0], unit[1]};
    parsed.heading.form = std::string_view(form, sizeof(form));
    parsed.end = at + 2;
    return parsed;
}

// The heading word at the start of `head` (no blanks before it): 第N章 and the other numbered
// units, Chapter N, 卷N, a named section or a number alone. `wrapped` tells that the line
// continues a hard-wrapped line before it.
std::optional<ParsedWord> HeadingWord(std::string_view head, bool wrapped) {
    const Vocabulary& words = Words();
    if (head.empty()) return std::nullopt;
    std::optional<ParsedWord> parsed;
    if (head.starts_with(words.di)) {
        parsed = NumberedWord(head);
    } else if (head.starts_with("Chapter") || head.starts_with("CHAPTER")) {
        size_t at = 7;
        while (at < head.size() && head[at] == ' ') ++at;
        if (at == 7 || at >= head.size() || !IsAsciiDigit(head[at])) return std::nullopt;
        int64_t value = 0;
        size_t digits = ReadNumber(head.substr(at), value);
        if (digits == 0) return std::nullopt;
        parsed.emplace();
        parsed->tail = TailAfter(head.substr(at + digits));
        if (parsed->tail == TailKind::kJoined) return std::nullopt;
        parsed->heading.number = static_cast<int32_t>(value);
        parsed->heading.form = "en";
        parsed->end = at + digits;
    }
    if (!parsed && head.starts_with(words.juan)) {
        size_t at = SkipBlanks(head, words.juan.size());
        int64_t value = 0;
        size_t numeral = ReadNumber(head.substr(at), value);
        if (numeral > 0) {
            parsed.emplace();
            parsed->tail = TailAfter(head.substr(at + numeral));
            if (parsed->tail == TailKind::kJoined) return std::nullopt;
            parsed->heading.kind = OutlineEntryKind::kVolume;
            parsed->heading.number = static_cast<int32_t>(value);
            parsed->heading.form = "juan";
            parsed->end = at + numeral;
        }
    }
    if (!parsed) {
        for (const std::string& word : words.sections) {
            if (!head.starts_with(word)) continue;
            std::string_view rest = head.substr(word.size());
            TailKind tail = TailAfter(rest);
            size_t end = word.size();
            if (tail == TailKind::kJoined &&
                StartsWithAny(std::string_view(word), words.numberedSections)) {
                int64_t value = 0;
                size_t numeral = ReadNumber(rest, value);
                if (numeral > 0 || rest.starts_with(words.pian) || rest.starts_with(words.zhi)) {
                    size_t after = numeral > 0 ? numeral : 2;
                    TailKind next = TailAfter(rest.substr(after));
                    tail = next == TailKind::kJoined ? TailKind::kJoined : TailKind::kOpen;
                    end += after;
                }
            }
            // A section word run straight into more text is a word of a sentence (序幕拉开).
            if (tail == TailKind::kJoined) return std::nullopt;
            size_t after = SkipBlanks(rest, 0);
            // 序 before Latin text is a word of that text, and 序 alone on a line that carries on
            // a hard-wrapped one is the end of its sentence (顺 / 序).
            if (word == words.preface && after < rest.size() && IsAsciiAlnum(rest[after]))
                return std::nullopt;
            if (word == words.preface && wrapped && tail == TailKind::kNone) return std::nullopt;
            parsed.emplace();
            parsed->tail = tail;
            parsed->heading.kind = OutlineEntryKind::kNamedSection;
            parsed->heading.form = "section";
            parsed->end = end;
            break;
        }
    }
    if (!parsed) {
        // A number alone on its line.
        int64_t value = 0;
        size_t numeral = ReadNumber(head, value);
        if (numeral == 0 || SkipBlanks(head, numeral) != head.size()) return std::nullopt;
        parsed.emplace();
        parsed->heading.number = static_cast<int32_t>(value);
        parsed->heading.form = IsAsciiDigit(head[0]) ? "number-a" : "number-c";
        parsed->end = numeral;
    }
    if (parsed) parsed->heading.wordEnd = static_cast<uint16_t>(parsed->end);
    return parsed;
}

// A heading word inside a bracket at the start of `head` (【第一章】标题, ［第12章］, 〖第一卷〗,
// [第1章], 「楔子」). The word ends at the closing bracket; a number alone in brackets is a note
// mark, not a heading.
std::optional<ParsedWord> BracketedWord(std::string_view head) {
    for (const Bracket& bracket : Words().brackets) {
        if (!head.starts_with(bracket.open)) continue;
        size_t close = std::string_view::npos;
        for (size_t at = bracket.open.size(); at < head.size(); at += GbkCharLength(head, at)) {
            if (head.substr(at).starts_with(bracket.close)) {
                close = at;
                break;
            }
        }
        if (close == std::string_view::npos) return std::nullopt;
        size_t innerStart = SkipBlanks(head, bracket.open.size());
        std::string_view inner = head.substr(innerStart, close - innerStart);
        std::optional<ParsedWord> parsed = HeadingWord(inner, false);
        if (!parsed || parsed->tail == TailKind::kJoined ||
            parsed->heading.form.starts_with("number")) {
            return std::nullopt;
        }
        parsed->end = close + bracket.close.size();
        parsed->tail = TailKind::kOpen;
        parsed->heading.wordStart = 0;
        parsed->heading.wordEnd = static_cast<uint16_t>(parsed->end);
        return parsed;
    }
    return std::nullopt;
}

// A heading word at the start of `head`, bare or in brackets.
std::optional<ParsedWord> AnyHeadingWord(std::string_view head, bool wrapped) {
    if (std::optional<ParsedWord> bracketed = BracketedWord(head)) return bracketed;
    return HeadingWord(head, wrapped);
}

bool IsNumberedChapter(const ParsedWord& word) {
    return word.heading.kind == OutlineEntryKind::kChapter &&
           !word.heading.form.starts_with("number");
}

// A numbered chapter heading later on the line, after blanks (第一卷 初入江湖 第一章 少年) or
// straight after the volume's word (第一卷第一章).
std::optional<std::pair<ParsedWord, size_t>> ChapterLaterOnLine(std::string_view head,
                                                                size_t from) {
    for (size_t at = from; at < head.size();) {
        size_t start = SkipBlanks(head, at);
        if (start >= head.size()) break;
        if (at == from || start > at) {
            std::optional<ParsedWord> word = AnyHeadingWord(head.substr(start), false);
            if (word && IsNumberedChapter(*word)) return std::make_pair(*word, start);
        }
        at = start + GbkCharLength(head, start);
    }
    return std::nullopt;
}

}  // namespace

std::optional<LineHeadings> HeadingsOfLine(std::string_view head, bool wrapped) {
    const Vocabulary& words = Words();
    if (head.empty() || head.size() > kMaxHeadingLineBytes) return std::nullopt;
    if (std::optional<ParsedWord> word = AnyHeadingWord(head, wrapped)) {
        if (!ReadsAsHeading(head, word->tail)) return std::nullopt;
        LineHeadings found{word->heading, std::nullopt, 0};
        if (word->heading.kind == OutlineEntryKind::kVolume) {
            if (auto chapter = ChapterLaterOnLine(head, word->end)) {
                const auto at = static_cast<uint16_t>(chapter->second);
                found.volume = word->heading.number;
                found.heading = chapter->first.heading;
                found.heading.wordStart += at;
                found.heading.wordEnd += at;
                found.chapterAt = at;
            }
        }
        return found;
    }
    // A short word before the heading: a site's 正文 / VIP卷, or a volume's own name followed by
    // blanks. The whole line is the heading.
    size_t prefixEnd = 0;
    for (const std::string& prefix : words.prefixes) {
        if (head.starts_with(prefix)) {
            prefixEnd = prefix.size();
            break;
        }
    }
    size_t start = 0;
    if (prefixEnd > 0) {
        start = SkipBlanks(head, prefixEnd);
        if (head.substr(start).starts_with(words.colon)) start = SkipBlanks(head, start + 2);
    } else {
        size_t at = 0;
        while (at < head.size() && at <= kMaxPrefixBytes && !IsBlankAt(head, at))
            at += GbkCharLength(head, at);
        if (at == 0 || at > kMaxPrefixBytes || at >= head.size()) return std::nullopt;
        if (ContainsAny(head.substr(0, at), words.sentenceMarks)) return std::nullopt;
        start = SkipBlanks(head, at);
    }
    if (start >= head.size()) return std::nullopt;
    std::optional<ParsedWord> word = AnyHeadingWord(head.substr(start), false);
    if (!word || word->heading.form.starts_with("number") ||
        word->heading.kind == OutlineEntryKind::kNamedSection) {
        return std::nullopt;
    }
    if (!ReadsAsHeading(head, word->tail)) return std::nullopt;
    LineHeadings found{word->heading, std::nullopt, 0};
    found.heading.wordStart += static_cast<uint16_t>(start);
    found.heading.wordEnd += static_cast<uint16_t>(start);
    return found;
}

}  // namespace brisna::outline
