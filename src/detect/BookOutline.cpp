#include "detect/BookOutline.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <tuple>

#include "Capacities.h"
#include "detect/TextLines.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

namespace {

// A heading line is short: a longer line is a paragraph that happens to begin like one.
constexpr size_t kMaxHeadingLineBytes = 100;
// A heading whose title follows the unit without a separator must be shorter still.
constexpr size_t kMaxJoinedHeadingLineBytes = 60;
// So many headings in a row, each holding nothing but its own line, are a contents list.
constexpr size_t kMinContentsRun = 3;
// No chapter number is written with more numeral characters (九千九百九十九万九千九百九十九
// takes 15); a longer run is a string of numerals in the prose.
constexpr size_t kMaxNumeralChars = 16;
constexpr size_t kMaxNumberDigits = 8;
// A word a download site or the book puts before the heading on its line (正文, VIP卷, a
// volume's own name) is short.
constexpr size_t kMaxPrefixBytes = 24;
// A line at least this long that does not end a sentence is a hard-wrapped line: the next line
// continues it.
constexpr size_t kWrappedLineBytes = 40;

struct NumeralChar {
    std::string gbk;
    int value;  // digit value, or the unit's value
    bool unit;
};

struct Bracket {
    std::string open;
    std::string close;
};

std::vector<std::string> GbkWords(std::initializer_list<const char*> utf8Words) {
    std::vector<std::string> words;
    for (const char* word : utf8Words) words.push_back(Utf8ToGbk(word));
    return words;
}

struct Vocabulary {
    std::vector<NumeralChar> numerals;
    std::string di = Utf8ToGbk("第");
    std::string juan = Utf8ToGbk("卷");
    // Simplified and Traditional forms: a Big5 book keeps its characters when it is read.
    std::vector<std::string> chapterUnits =
        GbkWords({"章", "回", "节", "集", "篇", "话", "幕", "節", "話"});
    std::vector<std::string> volumeUnits = GbkWords({"卷", "部", "册", "冊"});
    // Words a unit begins (第三回合过后): such a line is prose, not a heading.
    std::vector<std::string> unitWords = GbkWords(
        {"回合", "回到", "回来", "回去", "回头", "回事", "回答", "回家", "回忆", "回应", "回來",
         "回頭", "回答", "回憶", "回應", "章程", "节课", "节目", "节日", "节奏", "節課", "節目",
         "節日", "節奏", "集团", "集合", "集中", "集会", "集團", "集會", "篇幅", "篇文", "话题",
         "话语", "話題", "話語", "幕后", "幕後", "幕僚", "部分", "部队", "部门", "部落", "部位",
         "部隊", "部門", "卷入", "卷起", "卷子", "册子", "冊子"});
    // Named sections, longest first so 序章 is tried before 序.
    std::vector<std::string> sections = GbkWords(
        {"作品相关", "作品相關", "新书感言", "新書感言", "上架感言", "完本感言", "楔子", "引子",
         "序章",     "序言",     "前言",     "引言",     "番外",     "外传",     "外傳", "后记",
         "後記",     "尾声",     "尾聲",     "终章",     "終章",     "序"});
    // Named sections that may carry a number or a kind word right after them (番外一, 番外篇).
    std::vector<std::string> numberedSections =
        GbkWords({"番外", "外传", "外傳", "楔子", "序章", "尾声", "尾聲", "后记", "後記"});
    std::string preface = Utf8ToGbk("序");
    std::string colon = Utf8ToGbk("：");
    // Words download sites put before the heading on its line, longest first.
    std::vector<std::string> prefixes =
        GbkWords({"正文卷", "正文", "VIP卷", "VIP章节", "作品相关", "作品相關"});
    std::vector<Bracket> brackets;
    std::string pian = Utf8ToGbk("篇");
    std::string zhi = Utf8ToGbk("之");
    std::vector<std::string> fullStop = GbkWords({"。"});
    std::vector<std::string> sentenceMarks =
        GbkWords({"，", "。", "；", "！", "？", "…", "“", "”"});
    // What a finished sentence ends with: a line ending otherwise is cut in the middle.
    std::vector<std::string> sentenceEnds =
        GbkWords({"。", "！", "？", "…", "”", "」", "』", "）", "：", "—"});
    std::vector<std::string> separators = GbkWords({"：", "、", "．", "·", "—", "－", "（", "【",
                                                    "《", "「", "〔", "［", "“", "＜", "〖", "『"});

    Vocabulary() {
        const std::pair<const char*, int> digits[] = {
            {"〇", 0}, {"零", 0}, {"一", 1}, {"壹", 1}, {"二", 2}, {"贰", 2}, {"两", 2},
            {"兩", 2}, {"貳", 2}, {"三", 3}, {"叁", 3}, {"參", 3}, {"四", 4}, {"肆", 4},
            {"五", 5}, {"伍", 5}, {"六", 6}, {"陆", 6}, {"陸", 6}, {"七", 7}, {"柒", 7},
            {"八", 8}, {"捌", 8}, {"九", 9}, {"玖", 9}};
        for (const auto& [text, value] : digits)
            numerals.push_back({Utf8ToGbk(text), value, false});
        const std::pair<const char*, int> units[] = {{"十", 10},    {"拾", 10},   {"百", 100},
                                                     {"佰", 100},   {"千", 1000}, {"仟", 1000},
                                                     {"万", 10000}, {"萬", 10000}};
        for (const auto& [text, value] : units) numerals.push_back({Utf8ToGbk(text), value, true});
        const std::pair<const char*, const char*> pairs[] = {
            {"【", "】"}, {"［", "］"}, {"〖", "〗"}, {"[", "]"}, {"「", "」"}, {"『", "』"}};
        for (const auto& [open, close] : pairs)
            brackets.push_back({Utf8ToGbk(open), Utf8ToGbk(close)});
    }
};

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

enum class TailKind { kNone, kOpen, kJoined };

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

// Which run of headings a heading belongs to ("di" + its unit, "en", "juan", "section",
// "number-a", "number-c"). Held in place in eight bytes, unused ones zero (no form holds a zero
// byte): a book may hold half a million candidate headings, and a string each made the candidate
// list several times larger than the text.
class FormKey {
  public:
    FormKey() = default;
    FormKey(std::string_view text) { Assign(text); }
    FormKey(const char* text) { Assign(text); }
    FormKey& operator=(std::string_view text) {
        Assign(text);
        return *this;
    }
    FormKey& operator=(const char* text) { return *this = std::string_view(text); }

    std::string_view view() const {
        size_t size = 0;
        while (size < sizeof(text_) && text_[size] != 0) ++size;
        return {text_, size};
    }
    bool starts_with(std::string_view prefix) const { return view().starts_with(prefix); }
    friend bool operator==(const FormKey& a, const FormKey& b) {
        return std::equal(std::begin(a.text_), std::end(a.text_), std::begin(b.text_));
    }
    friend bool operator<(const FormKey& a, const FormKey& b) { return a.view() < b.view(); }

  private:
    void Assign(std::string_view text) {
        // Every form is one of the short words above; a longer one is a fault of this file.
        assert(text.size() <= sizeof(text_));
        std::fill(std::begin(text_), std::end(text_), 0);
        std::copy_n(text.data(), std::min(text.size(), sizeof(text_)), text_);
    }

    char text_[8] = {};
};

// No heading number needs more than 32 bits: a larger one reads as no number at all.
static_assert(kMaxHeadingNumber <= INT32_MAX);

struct LineHeading {
    int32_t number = -1;
    FormKey form;  // which run of headings it belongs to
    OutlineEntryKind kind = OutlineEntryKind::kChapter;
    // The heading word (第一章) in the text it was read from: within a heading's line, which is
    // never longer than kMaxHeadingLineBytes.
    uint16_t wordStart = 0;
    uint16_t wordEnd = 0;
};

// A heading word read at the start of a text, what follows it and where it ends.
struct ParsedWord {
    LineHeading heading;
    TailKind tail = TailKind::kNone;
    size_t end = 0;
};

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

// The headings a line begins with: one, or a volume and its first chapter on one line.
struct LineHeadings {
    LineHeading heading;
    std::optional<int32_t> volume;  // the number of a volume the line names before its chapter
    uint16_t chapterAt = 0;         // where the chapter's part of the line starts then
};

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

// `head` is a line from its first non-blank byte, without its line break.
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

// Kept small: a book of short headings holds hundreds of thousands, and writing them out cost
// more than reading the lines. Offsets are 32 bits as the outline's own are.
struct Candidate {
    LineHeadings headings;
    uint32_t lineStart = 0;
    uint32_t contentSize = 0;  // the line without its break
    int32_t line = 0;
    uint32_t firstText = 0;  // where its text starts after the blanks
    uint8_t breakSize = 0;   // its line break: CR LF, LF or none at the text's end

    const LineHeading& heading() const { return headings.heading; }
    std::string_view content(std::string_view text) const {
        return text.substr(lineStart, contentSize);
    }
    size_t lineEnd() const { return size_t{lineStart} + contentSize + breakSize; }
};

// True when the text holds nothing but blanks and line breaks.
bool OnlyBlankLines(std::string_view text) {
    size_t at = 0;
    while (at < text.size()) {
        at = SkipBlanks(text, at);
        if (at == text.size()) break;
        if (text[at] != '\r' && text[at] != '\n') return false;
        ++at;
    }
    return true;
}

std::string_view TrimmedTitle(std::string_view content) {
    while (!content.empty() && (content.back() == ' ' || content.back() == '\t'))
        content.remove_suffix(1);
    return content;
}

std::vector<Candidate> FindCandidates(std::string_view text) {
    const Vocabulary& words = Words();
    std::vector<Candidate> candidates;
    // Room for one candidate a line, up to one in eight bytes, so that a book of little but
    // headings never moves its candidates as the list grows; what is never written is never
    // touched.
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    candidates.reserve(std::min(lines, text.size() / 8));
    std::string_view previous;
    int32_t previousLine = -2;
    ForEachTextLine(text, [&](const TextLine& line) {
        std::string_view head = line.content.substr(line.firstText);
        // A line straight after a long one that stops mid-sentence continues it. Only 序 asks.
        bool wrapped = head.starts_with(words.preface) && previousLine + 1 == line.number &&
                       line.firstText == 0 && previous.size() >= kWrappedLineBytes &&
                       !EndsWithAnyChar(TrimmedTitle(previous), words.sentenceEnds);
        previous = line.content;
        previousLine = line.number;
        std::optional<LineHeadings> headings = HeadingsOfLine(head, wrapped);
        if (!headings) return;
        Candidate candidate;
        candidate.headings = std::move(*headings);
        candidate.lineStart = static_cast<uint32_t>(line.start);
        candidate.contentSize = static_cast<uint32_t>(line.content.size());
        candidate.breakSize = static_cast<uint8_t>(line.next - line.start - line.content.size());
        candidate.line = line.number;
        candidate.firstText = static_cast<uint32_t>(line.firstText);
        candidates.push_back(std::move(candidate));
    });
    return candidates;
}

// Marks the candidates that stand in a contents list: several headings in a row, each holding
// nothing but its own line. Their lines stay text of the chapter before them. Returns how many.
size_t DropContentsLists(std::string_view text, const std::vector<Candidate>& candidates,
                         std::vector<bool>& dropped) {
    size_t listed = 0;
    auto tiny = [&](size_t i) {
        size_t next = i + 1 < candidates.size() ? candidates[i + 1].lineStart : text.size();
        const size_t end = candidates[i].lineEnd();
        return OnlyBlankLines(text.substr(end, next - end));
    };
    // Whether a heading's title comes again later, found once for all from the end. The titles
    // seen so far sit in an open table of candidate indices with their hashes: a node per title
    // cost more than all the rest of the outline.
    std::vector<bool> listedAgain(candidates.size(), false);
    {
        // Candidate indices fit in 32 bits as their offsets do.
        struct Slot {
            uint32_t candidate = UINT32_MAX;  // UINT32_MAX: empty
            uint32_t hash = 0;
        };
        size_t capacity = 16;
        while (capacity < candidates.size() + candidates.size() / 2) capacity *= 2;
        std::vector<Slot> later(capacity);
        const std::hash<std::string_view> hasher;
        for (size_t i = candidates.size(); i-- > 0;) {
            std::string_view title = TrimmedTitle(candidates[i].content(text));
            const size_t fullHash = hasher(title);
            const auto hash =
                static_cast<uint32_t>(uint64_t{fullHash} ^ (uint64_t{fullHash} >> 32));
            size_t at = hash & (capacity - 1);
            bool seen = false;
            while (later[at].candidate != UINT32_MAX) {
                if (later[at].hash == hash &&
                    TrimmedTitle(candidates[later[at].candidate].content(text)) == title) {
                    seen = true;
                    break;
                }
                at = (at + 1) & (capacity - 1);
            }
            listedAgain[i] = seen;
            if (!seen) later[at] = {static_cast<uint32_t>(i), hash};
        }
    }
    for (size_t i = 0; i < candidates.size();) {
        size_t j = i;
        while (j < candidates.size() && tiny(j)) ++j;
        // The list's last line is followed by the book's text rather than by another heading:
        // it belongs to the list when its title comes again later as a real heading. So does the
        // last heading of the book after such a run: a book is no list of empty chapters.
        // A list's lines share a form: a number alone on its line after a volume heading and
        // its chapter is text, however often the number comes again.
        auto continuesRun = [&](size_t last) {
            for (size_t k = i; k < last; ++k) {
                if (candidates[k].heading().form == candidates[last].heading().form) return true;
            }
            return false;
        };
        bool lastListed = j < candidates.size() && j - i >= kMinContentsRun - 1 &&
                          continuesRun(j) && (j + 1 == candidates.size() || listedAgain[j]);
        size_t stop = lastListed ? j + 1 : j;
        if (stop - i >= kMinContentsRun) {
            for (size_t k = i; k < stop; ++k) dropped[k] = true;
            listed += stop - i;
            i = stop;
        } else {
            i = j + 1;
        }
    }
    return listed;
}

struct FormRun {
    size_t count = 0;
    size_t first = 0;  // candidate index of its first and last heading
    size_t last = 0;
};

// The forms whose headings make chapters. The form seen most often comes first, a 第/Chapter
// form before a bare number (lists of numbered points are common inside chapters); another 第 or
// Chapter form counts too when its headings stand in a stretch of the book of their own (a book
// in 节, then 话, then 集), never between the headings of a form already taken (第N节 inside
// 第N章).
std::vector<FormKey> ChapterForms(const std::vector<Candidate>& candidates,
                                  const std::vector<bool>& dropped) {
    // A book holds a handful of forms: a list searched from the form seen last beats a map.
    std::vector<std::pair<FormKey, FormRun>> forms;
    size_t recent = 0;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const LineHeading& heading = candidates[i].heading();
        if (dropped[i] || heading.kind != OutlineEntryKind::kChapter) continue;
        if (recent >= forms.size() || !(forms[recent].first == heading.form)) {
            recent = 0;
            while (recent < forms.size() && !(forms[recent].first == heading.form)) ++recent;
            if (recent == forms.size()) forms.emplace_back(heading.form, FormRun{});
        }
        FormRun& run = forms[recent].second;
        if (run.count++ == 0) run.first = i;
        run.last = i;
    }
    // In the order of their names, as ties in the ranking below are broken.
    std::sort(forms.begin(), forms.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    auto bare = [](const FormKey& form) { return form.starts_with("number"); };
    std::vector<std::pair<FormKey, FormRun>> ranked = std::move(forms);
    auto rank = [&](const std::pair<FormKey, FormRun>& form) {
        return std::make_tuple(!bare(form.first) && form.second.count >= 2, form.second.count,
                               -static_cast<int64_t>(form.second.first));
    };
    std::stable_sort(ranked.begin(), ranked.end(),
                     [&](const auto& a, const auto& b) { return rank(a) > rank(b); });
    std::vector<FormKey> taken;
    std::vector<FormRun> spans;
    for (const auto& entry : ranked) {
        // Named, not a structured binding: the lambda below captures it.
        const auto& form = entry.first;
        const auto& run = entry.second;
        if (!taken.empty()) {
            // A later run of numbers alone is too often a numbered list in the prose.
            if (bare(form) || run.count < 2) continue;
            bool overlaps = std::any_of(spans.begin(), spans.end(), [&](const FormRun& span) {
                return run.first <= span.last && span.first <= run.last;
            });
            if (overlaps) continue;
        }
        taken.push_back(form);
        spans.push_back(run);
    }
    return taken;
}

}  // namespace

std::string OutlineTitle(std::string_view content) {
    size_t cut = 0;
    while (cut < content.size()) {
        size_t length = GbkCharLength(content, cut);
        if (cut + length > kTitleTextBytes) break;
        cut += length;
    }
    return std::string(content.substr(0, cut));
}

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

std::string FrontMatterTitle(std::string_view gbkText, size_t end) {
    end = std::min(end, gbkText.size());
    size_t at = 0;
    while (at < end) {
        size_t lf = gbkText.find('\n', at);
        size_t lineEnd = lf == std::string_view::npos || lf > end ? end : lf;
        std::string_view line = gbkText.substr(at, lineEnd - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (SkipBlanks(line, 0) < line.size()) return OutlineTitle(line);
        if (lf == std::string_view::npos) break;
        at = lf + 1;
    }
    return Utf8ToGbk("前言");
}

size_t BookOutline::ChapterCount() const {
    return static_cast<size_t>(std::count_if(entries.begin(), entries.end(), [](const auto& e) {
        return e.kind != OutlineEntryKind::kVolume;
    }));
}

bool BookOutline::HasHeadings() const {
    return std::any_of(entries.begin(), entries.end(), [](const OutlineEntry& e) {
        return e.kind == OutlineEntryKind::kChapter || e.kind == OutlineEntryKind::kNamedSection;
    });
}

BookOutline BuildBookOutline(std::string_view text) {
    BookOutline outline;
    std::vector<Candidate> candidates = FindCandidates(text);
    std::vector<bool> dropped(candidates.size(), false);
    outline.contentsEntries = DropContentsLists(text, candidates, dropped);
    // Headings found only in a contents list: the one after the list is its last line, and the
    // book has no headings in its text.
    if (outline.contentsEntries > 0) {
        size_t left = 0;
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (!dropped[i] && candidates[i].heading().kind != OutlineEntryKind::kVolume) ++left;
        }
        if (left <= 1) {
            outline.contentsEntries += left;
            dropped.assign(candidates.size(), true);
        }
    }
    const std::vector<FormKey> forms = ChapterForms(candidates, dropped);
    auto taken = [&](const FormKey& form) {
        return std::find(forms.begin(), forms.end(), form) != forms.end();
    };

    std::vector<OutlineEntry> entries;
    // Room for the front matter too: the entries become the outline's without another copy.
    entries.reserve(candidates.size() + 1);
    // The run each form's chapters count in; a book holds a handful of forms.
    std::vector<std::pair<FormKey, size_t>> runOfForm;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (dropped[i]) continue;
        const Candidate& candidate = candidates[i];
        const LineHeading& heading = candidate.heading();
        const std::string_view content = candidate.content(text);
        bool chapter = heading.kind == OutlineEntryKind::kChapter;
        auto entryAt = [&](OutlineEntryKind kind, std::string title, int64_t number) {
            OutlineEntry entry;
            entry.kind = kind;
            entry.title = std::move(title);
            entry.offset = static_cast<uint32_t>(candidate.lineStart);
            entry.line = candidate.line;
            entry.number = number;
            entries.push_back(std::move(entry));
        };
        if (candidate.headings.volume) {
            // A volume and its first chapter on one line: the volume is titled by its part.
            size_t cut = candidate.firstText + candidate.headings.chapterAt;
            entryAt(OutlineEntryKind::kVolume, OutlineTitle(TrimmedTitle(content.substr(0, cut))),
                    *candidate.headings.volume);
            if (!taken(heading.form)) continue;
            entryAt(heading.kind, OutlineTitle(content.substr(cut)), heading.number);
        } else {
            if (chapter && !taken(heading.form)) continue;
            entryAt(heading.kind, OutlineTitle(content), heading.number);
        }
        if (!chapter) continue;
        auto at = std::find_if(runOfForm.begin(), runOfForm.end(),
                               [&](const auto& run) { return run.first == heading.form; });
        if (at == runOfForm.end()) {
            at = runOfForm.emplace(runOfForm.end(), heading.form, outline.runs.size());
            OutlineRun run;
            std::string_view head = content.substr(candidate.firstText);
            run.firstHeading =
                std::string(head.substr(heading.wordStart, heading.wordEnd - heading.wordStart));
            run.firstLine = candidate.line;
            run.firstOffset = static_cast<uint32_t>(candidate.lineStart);
            outline.runs.push_back(std::move(run));
        }
        ++outline.runs[at->second].chapters;
    }
    // A volume counts only when chapters follow it before the next volume; without them its line
    // is text of the chapter it stands in. A book of volumes alone has its volumes as chapters.
    bool anyChapter = std::any_of(entries.begin(), entries.end(), [](const OutlineEntry& e) {
        return e.kind == OutlineEntryKind::kChapter;
    });
    // Filtered in place: the book's entries are moved once more, into the outline.
    size_t kept = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        OutlineEntry& entry = entries[i];
        if (entry.kind == OutlineEntryKind::kVolume) {
            if (!anyChapter) {
                entry.kind = OutlineEntryKind::kChapter;
            } else {
                bool followed = false;
                for (size_t k = i + 1; k < entries.size(); ++k) {
                    if (entries[k].kind == OutlineEntryKind::kVolume) break;
                    if (entries[k].kind == OutlineEntryKind::kChapter) {
                        followed = true;
                        break;
                    }
                }
                if (!followed) continue;
            }
        }
        if (kept != i) entries[kept] = std::move(entry);
        ++kept;
    }
    entries.resize(kept);

    size_t firstOffset = entries.empty() ? text.size() : entries.front().offset;
    if (firstOffset > 0 && !OnlyBlankLines(text.substr(0, firstOffset))) {
        OutlineEntry front;
        front.kind = OutlineEntryKind::kFrontMatter;
        front.title = FrontMatterTitle(text, firstOffset);
        front.offset = 0;
        entries.insert(entries.begin(), std::move(front));
    }
    outline.entries = std::move(entries);
    return outline;
}

}  // namespace brisna
