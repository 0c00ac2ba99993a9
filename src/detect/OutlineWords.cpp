#include "detect/OutlineWords.h"

#include <algorithm>
#include <vector>

#include "Capacities.h"
#include "detect/TextLines.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna::outline {

std::vector<std::string> GbkWords(std::initializer_list<const char*> utf8Words) {
    std::vector<std::string> words;
    for (const char* word : utf8Words) words.push_back(Utf8ToGbk(word));
    return words;
}

const Vocabulary& Words() {
    static const Vocabulary words;
    return words;
}

// The words are a few bytes long: compared byte by byte in place, as a library call for each
// word of each character of each line cost more than the rest of the scan.
bool StartsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (text[i] != word[i]) return false;
    }
    return true;
}

bool StartsWithAny(std::string_view text, const std::vector<std::string>& words) {
    return std::any_of(words.begin(), words.end(),
                       [&](const std::string& word) { return StartsWithWord(text, word); });
}

bool ContainsAny(std::string_view text, const std::vector<std::string>& words) {
    // Character-aware: a mark never matches across two characters.
    for (size_t at = 0; at < text.size(); at += GbkCharLength(text, at)) {
        if (StartsWithAny(text.substr(at), words)) return true;
    }
    return false;
}

// True when `text` ends with one of `words` that starts on a character boundary.
bool EndsWithAnyChar(std::string_view text, const std::vector<std::string>& words) {
    size_t last = 0;
    for (size_t at = 0; at < text.size(); at += GbkCharLength(text, at)) last = at;
    std::string_view tail = text.substr(last);
    return !text.empty() &&
           std::any_of(words.begin(), words.end(), [&](const std::string& w) { return tail == w; });
}

const NumeralChar* NumeralAt(std::string_view text, size_t at) {
    if (at + 2 > text.size()) return nullptr;
    std::string_view two = text.substr(at, 2);
    for (const NumeralChar& numeral : Words().numerals) {
        if (numeral.gbk.size() == 2 && StartsWithWord(two, numeral.gbk)) return &numeral;
    }
    return nullptr;
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsAsciiAlnum(char c) {
    return IsAsciiDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsBlankAt(std::string_view text, size_t at) {
    return at < text.size() && SkipBlanks(text, at) > at;
}

// The number at the start of `text`: Chinese numerals or ASCII digits. Returns the bytes taken;
// 0 also for a number too long to number a chapter.
size_t ReadNumber(std::string_view text, int64_t& value) {
    size_t digits = 0;
    value = 0;
    while (digits < text.size() && IsAsciiDigit(text[digits])) {
        if (digits < kMaxNumberDigits) value = value * 10 + (text[digits] - '0');
        ++digits;
    }
    if (digits > kMaxNumberDigits) return 0;
    if (digits > 0) return digits;
    return ReadOutlineNumeral(text, value);
}

// What follows a heading's word on its line: nothing, a title after a separator (kOpen), or text
// straight after the word (kJoined, which only a short line without sentence marks may have).
TailKind TailAfter(std::string_view rest) {
    if (rest.empty()) return TailKind::kNone;
    size_t blanks = SkipBlanks(rest, 0);
    if (blanks == rest.size()) return TailKind::kNone;
    if (blanks > 0) return TailKind::kOpen;
    unsigned char first = static_cast<unsigned char>(rest[0]);
    if (first < 0x80) {
        // ASCII punctuation opens a title; a letter or digit runs the word on.
        return IsAsciiAlnum(rest[0]) ? TailKind::kJoined : TailKind::kOpen;
    }
    if (StartsWithAny(rest, Words().separators)) return TailKind::kOpen;
    return TailKind::kJoined;
}

// True when the line (from its first non-blank byte) with this tail reads as a heading and not
// as a sentence that begins like one.
bool ReadsAsHeading(std::string_view line, TailKind tail) {
    const Vocabulary& words = Words();
    if (line.size() > kMaxHeadingLineBytes) return false;
    if (ContainsAny(line, words.fullStop)) return false;
    // Latin prose: a sentence that ends, or runs on after a comma.
    std::string_view trimmed = line.substr(0, line.find_last_not_of(" \t") + 1);
    if (trimmed.ends_with('.') || trimmed.ends_with('!') || trimmed.ends_with('?') ||
        line.find(", ") != std::string_view::npos) {
        return false;
    }
    if (tail == TailKind::kJoined) {
        if (line.size() > kMaxJoinedHeadingLineBytes) return false;
        if (ContainsAny(line, words.sentenceMarks)) return false;
    }
    return true;
}

}  // namespace brisna::outline

namespace brisna {

using outline::kMaxNumeralChars;
using outline::NumeralAt;
using outline::NumeralChar;

size_t ReadOutlineNumeral(std::string_view text, int64_t& value) {
    value = 0;
    size_t at = 0;
    std::vector<const NumeralChar*> chars;
    while (at + 2 <= text.size()) {
        const NumeralChar* numeral = NumeralAt(text, at);
        if (numeral == nullptr) break;
        // No chapter number is that long: a run of numerals in the prose.
        if (chars.size() == kMaxNumeralChars) return 0;
        chars.push_back(numeral);
        at += 2;
    }
    if (chars.empty()) return 0;
    // A numeral begins with a digit or with 十 / 拾 (十二 is twelve).
    if (chars.front()->unit && chars.front()->value != 10) return 0;
    // Every step stays below the ceiling, so nothing can overflow; a number that would pass it
    // is no chapter number.
    constexpr int64_t kCeiling = kMaxHeadingNumber + 1;
    auto capped = [&](int64_t n) { return std::min(n, kCeiling); };
    bool anyUnit =
        std::any_of(chars.begin(), chars.end(), [](const NumeralChar* c) { return c->unit; });
    int64_t result = 0;
    if (!anyUnit) {
        // Digit by digit, as years are written: 二〇〇八.
        for (const NumeralChar* c : chars) result = capped(result * 10 + c->value);
    } else {
        int64_t total = 0;
        int64_t section = 0;
        int64_t digit = -1;  // -1: no digit since the last unit
        for (const NumeralChar* c : chars) {
            if (!c->unit) {
                digit = c->value;
                continue;
            }
            if (c->value == 10000) {
                section = capped(section + std::max<int64_t>(digit, 0));
                total = capped((total + section) * 10000);
                section = 0;
            } else {
                // 十 with no digit before it is one ten (十二, 一百十五).
                int64_t times = digit < 0 ? 1 : digit;
                section = capped(section + times * c->value);
            }
            digit = -1;
        }
        result = capped(total + section + std::max<int64_t>(digit, 0));
    }
    if (result > kMaxHeadingNumber) return 0;
    value = result;
    return at;
}

}  // namespace brisna
