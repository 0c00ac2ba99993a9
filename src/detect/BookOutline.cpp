#include "detect/BookOutline.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "Capacities.h"
#include "detect/HeadingPatternDetection.h"
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

struct NumeralChar {
    std::string gbk;
    int value;  // digit value, or the unit's value
    bool unit;
};

struct Vocabulary {
    std::vector<NumeralChar> numerals;
    std::string di = Utf8ToGbk("第");
    std::string juan = Utf8ToGbk("卷");
    std::vector<std::string> chapterUnits;
    std::vector<std::string> volumeUnits;
    // Words a unit begins (第三回合过后): such a line is prose, not a heading.
    std::vector<std::string> unitWords;
    // Named sections, longest first so 序章 is tried before 序.
    std::vector<std::string> sections;
    // Named sections that may carry a number or a kind word right after them (番外一, 番外篇).
    std::vector<std::string> numberedSections;
    std::string pian = Utf8ToGbk("篇");
    std::string zhi = Utf8ToGbk("之");
    std::string fullStop = Utf8ToGbk("。");
    std::vector<std::string> sentenceMarks;
    std::vector<std::string> separators;

    Vocabulary() {
        const std::pair<const char*, int> digits[] = {
            {"〇", 0}, {"零", 0}, {"一", 1}, {"壹", 1}, {"二", 2}, {"贰", 2}, {"两", 2},
            {"三", 3}, {"叁", 3}, {"四", 4}, {"肆", 4}, {"五", 5}, {"伍", 5}, {"六", 6},
            {"陆", 6}, {"七", 7}, {"柒", 7}, {"八", 8}, {"捌", 8}, {"九", 9}, {"玖", 9}};
        for (const auto& [text, value] : digits)
            numerals.push_back({Utf8ToGbk(text), value, false});
        const std::pair<const char*, int> units[] = {{"十", 10},   {"拾", 10},   {"百", 100},
                                                     {"佰", 100},  {"千", 1000}, {"仟", 1000},
                                                     {"万", 10000}};
        for (const auto& [text, value] : units) numerals.push_back({Utf8ToGbk(text), value, true});
        for (const char* unit : {"章", "回", "节", "集", "篇", "话"})
            chapterUnits.push_back(Utf8ToGbk(unit));
        for (const char* unit : {"卷", "部", "册"}) volumeUnits.push_back(Utf8ToGbk(unit));
        for (const char* word : {"回合", "回到", "回来", "回去", "回头", "回事", "回答", "回家",
                                 "回忆", "回应", "章程", "节课", "节目", "节日", "节奏", "集团",
                                 "集合", "集中", "集会", "篇幅", "篇文", "话题", "话语", "部分",
                                 "部队", "部门", "部落", "部位", "卷入", "卷起", "卷子", "册子"}) {
            unitWords.push_back(Utf8ToGbk(word));
        }
        for (const char* word : {"完本感言", "上架感言", "楔子", "引子", "序章", "序言", "前言",
                                 "引言", "番外", "外传", "后记", "尾声", "终章", "序"}) {
            sections.push_back(Utf8ToGbk(word));
        }
        for (const char* word : {"番外", "外传", "楔子", "序章", "尾声", "后记"})
            numberedSections.push_back(Utf8ToGbk(word));
        for (const char* mark : {"，", "。", "；", "！", "？", "…", "“", "”"})
            sentenceMarks.push_back(Utf8ToGbk(mark));
        for (const char* mark :
             {"：", "、", "．", "·", "—", "－", "（", "【", "《", "「", "〔", "［", "“", "＜"}) {
            separators.push_back(Utf8ToGbk(mark));
        }
    }
};

const Vocabulary& Words() {
    static const Vocabulary words;
    return words;
}

bool StartsWithAny(std::string_view text, const std::vector<std::string>& words) {
    return std::any_of(words.begin(), words.end(),
                       [&](const std::string& word) { return text.starts_with(word); });
}

bool ContainsAny(std::string_view text, const std::vector<std::string>& words) {
    // Character-aware: a mark never matches across two characters.
    for (size_t at = 0; at < text.size(); at += GbkCharLength(text, at)) {
        if (StartsWithAny(text.substr(at), words)) return true;
    }
    return false;
}

const NumeralChar* NumeralAt(std::string_view text, size_t at) {
    if (at + 2 > text.size()) return nullptr;
    std::string_view two = text.substr(at, 2);
    for (const NumeralChar& numeral : Words().numerals) {
        if (two == numeral.gbk) return &numeral;
    }
    return nullptr;
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number at the start of `text`: Chinese numerals or ASCII digits. Returns the bytes taken.
size_t ReadNumber(std::string_view text, int64_t& value) {
    size_t digits = 0;
    value = 0;
    while (digits < text.size() && IsAsciiDigit(text[digits])) {
        if (value < 1'000'000'000) value = value * 10 + (text[digits] - '0');
        ++digits;
    }
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
    const Vocabulary& words = Words();
    unsigned char first = static_cast<unsigned char>(rest[0]);
    if (first < 0x80) {
        // ASCII punctuation opens a title; a letter or digit runs the word on.
        bool alnum = (first >= '0' && first <= '9') || (first >= 'A' && first <= 'Z') ||
                     (first >= 'a' && first <= 'z');
        return alnum ? TailKind::kJoined : TailKind::kOpen;
    }
    if (StartsWithAny(rest, words.separators)) return TailKind::kOpen;
    return TailKind::kJoined;
}

// True when the line (from its first non-blank byte) with this tail reads as a heading and not
// as a sentence that begins like one.
bool ReadsAsHeading(std::string_view line, std::string_view wordAndRest, TailKind tail) {
    const Vocabulary& words = Words();
    if (line.size() > kMaxHeadingLineBytes) return false;
    if (ContainsAny(line, {words.fullStop})) return false;
    if (tail == TailKind::kJoined) {
        if (line.size() > kMaxJoinedHeadingLineBytes) return false;
        if (ContainsAny(line, words.sentenceMarks)) return false;
        if (StartsWithAny(wordAndRest, words.unitWords)) return false;
    }
    return true;
}

struct LineHeading {
    OutlineEntryKind kind = OutlineEntryKind::kChapter;
    std::string form;  // which run of headings it belongs to
    int64_t number = -1;
};

// The heading that begins `head` (a line from its first non-blank byte, without its line
// break), or nothing.
std::optional<LineHeading> HeadingOf(std::string_view head) {
    const Vocabulary& words = Words();
    if (head.empty()) return std::nullopt;
    LineHeading heading;
    if (head.starts_with(words.di)) {
        size_t at = SkipBlanks(head, words.di.size());
        int64_t value = 0;
        size_t numeral = ReadNumber(head.substr(at), value);
        if (numeral == 0) return std::nullopt;
        at = SkipBlanks(head, at + numeral);
        std::string_view unitAndRest = head.substr(at);
        std::string_view unit = unitAndRest.substr(0, 2);
        bool chapter = std::find(words.chapterUnits.begin(), words.chapterUnits.end(), unit) !=
                       words.chapterUnits.end();
        bool volume = !chapter && std::find(words.volumeUnits.begin(), words.volumeUnits.end(),
                                            unit) != words.volumeUnits.end();
        if (!chapter && !volume) return std::nullopt;
        TailKind tail = TailAfter(unitAndRest.substr(2));
        if (!ReadsAsHeading(head, unitAndRest, tail)) return std::nullopt;
        heading.kind = chapter ? OutlineEntryKind::kChapter : OutlineEntryKind::kVolume;
        heading.number = value;
        // Chinese numerals and digits of the same unit are one run: novels switch between them.
        heading.form = std::string("di") + std::string(unit);
        return heading;
    }
    if (head.starts_with("Chapter") || head.starts_with("CHAPTER")) {
        size_t at = 7;
        while (at < head.size() && head[at] == ' ') ++at;
        if (at == 7 || at >= head.size() || !IsAsciiDigit(head[at])) return std::nullopt;
        int64_t value = 0;
        size_t digits = ReadNumber(head.substr(at), value);
        std::string_view rest = head.substr(at + digits);
        TailKind tail = TailAfter(rest);
        if (tail == TailKind::kJoined || !ReadsAsHeading(head, rest, tail)) return std::nullopt;
        heading.number = value;
        heading.form = "en";
        return heading;
    }
    if (head.starts_with(words.juan)) {
        size_t at = SkipBlanks(head, words.juan.size());
        int64_t value = 0;
        size_t numeral = ReadNumber(head.substr(at), value);
        if (numeral == 0) return std::nullopt;
        std::string_view rest = head.substr(at + numeral);
        TailKind tail = TailAfter(rest);
        if (tail == TailKind::kJoined || !ReadsAsHeading(head, rest, tail)) return std::nullopt;
        heading.kind = OutlineEntryKind::kVolume;
        heading.number = value;
        heading.form = "juan";
        return heading;
    }
    for (const std::string& word : words.sections) {
        if (!head.starts_with(word)) continue;
        std::string_view rest = head.substr(word.size());
        TailKind tail = TailAfter(rest);
        if (tail == TailKind::kJoined &&
            StartsWithAny(std::string_view(word), words.numberedSections)) {
            int64_t value = 0;
            size_t numeral = ReadNumber(rest, value);
            if (numeral > 0 || rest.starts_with(words.pian) || rest.starts_with(words.zhi)) {
                size_t after = numeral > 0 ? numeral : 2;
                TailKind next = TailAfter(rest.substr(after));
                tail = next == TailKind::kJoined ? TailKind::kJoined : TailKind::kOpen;
            }
        }
        // A section word run straight into more text is a word of a sentence (序幕拉开).
        if (tail == TailKind::kJoined) return std::nullopt;
        if (!ReadsAsHeading(head, rest, tail)) return std::nullopt;
        heading.kind = OutlineEntryKind::kNamedSection;
        heading.form = "section";
        return heading;
    }
    // A number alone on its line.
    int64_t value = 0;
    size_t numeral = ReadNumber(head, value);
    if (numeral > 0 && SkipBlanks(head, numeral) == head.size()) {
        heading.number = value;
        heading.form = IsAsciiDigit(head[0]) ? "number-a" : "number-c";
        return heading;
    }
    return std::nullopt;
}

struct Candidate {
    LineHeading heading;
    size_t lineStart = 0;
    size_t lineEnd = 0;  // after the line break
    int32_t line = 0;
    std::string_view content;  // the line without its break
};

std::string TitleOf(std::string_view content) {
    size_t cut = 0;
    while (cut < content.size()) {
        size_t length = GbkCharLength(content, cut);
        if (cut + length > kTitleTextBytes) break;
        cut += length;
    }
    return std::string(content.substr(0, cut));
}

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

}  // namespace

size_t ReadOutlineNumeral(std::string_view text, int64_t& value) {
    value = 0;
    size_t at = 0;
    std::vector<const NumeralChar*> chars;
    while (at + 2 <= text.size()) {
        const NumeralChar* numeral = NumeralAt(text, at);
        if (numeral == nullptr) break;
        chars.push_back(numeral);
        at += 2;
        if (chars.size() > 24) break;  // no chapter number is that long
    }
    if (chars.empty()) return 0;
    // A numeral begins with a digit or with 十 / 拾 (十二 is twelve).
    if (chars.front()->unit && chars.front()->value != 10) return 0;
    bool anyUnit =
        std::any_of(chars.begin(), chars.end(), [](const NumeralChar* c) { return c->unit; });
    if (!anyUnit) {
        // Digit by digit, as years are written: 二〇〇八.
        for (const NumeralChar* c : chars) value = value * 10 + c->value;
        return at;
    }
    int64_t total = 0;
    int64_t section = 0;
    int64_t digit = -1;  // -1: no digit since the last unit
    for (const NumeralChar* c : chars) {
        if (!c->unit) {
            digit = c->value;
            continue;
        }
        if (c->value == 10000) {
            section += std::max<int64_t>(digit, 0);
            total = (total + section) * 10000;
            section = 0;
        } else {
            // 十 with no digit before it is one ten (十二, 一百十五).
            int64_t times = digit < 0 ? 1 : digit;
            section += times * c->value;
        }
        digit = -1;
    }
    value = total + section + std::max<int64_t>(digit, 0);
    return at;
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
    std::vector<Candidate> candidates;
    std::map<std::string, size_t> formCounts;
    std::map<std::string, size_t> formFirstSeen;
    ForEachTextLine(text, [&](const TextLine& line) {
        std::optional<LineHeading> heading = HeadingOf(line.content.substr(line.firstText));
        if (!heading) return;
        Candidate candidate;
        candidate.heading = std::move(*heading);
        candidate.lineStart = line.start;
        candidate.lineEnd = line.next;
        candidate.line = line.number;
        candidate.content = line.content;
        candidates.push_back(std::move(candidate));
    });

    // A contents list: several headings in a row, each holding nothing but its own line. Its
    // lines stay text of the chapter before them.
    std::vector<bool> dropped(candidates.size(), false);
    auto tiny = [&](size_t i) {
        size_t next = i + 1 < candidates.size() ? candidates[i + 1].lineStart : text.size();
        return OnlyBlankLines(text.substr(candidates[i].lineEnd, next - candidates[i].lineEnd));
    };
    auto listedAgain = [&](size_t i) {
        std::string_view title = TrimmedTitle(candidates[i].content);
        for (size_t k = i + 1; k < candidates.size(); ++k) {
            if (TrimmedTitle(candidates[k].content) == title) return true;
        }
        return false;
    };
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
                if (candidates[k].heading.form == candidates[last].heading.form) return true;
            }
            return false;
        };
        bool lastListed = j < candidates.size() && j - i >= kMinContentsRun - 1 &&
                          continuesRun(j) && (j + 1 == candidates.size() || listedAgain(j));
        size_t stop = lastListed ? j + 1 : j;
        if (stop - i >= kMinContentsRun) {
            for (size_t k = i; k < stop; ++k) dropped[k] = true;
            outline.contentsEntries += stop - i;
            i = stop;
        } else {
            i = j + 1;
        }
    }
    // Headings found only in a contents list: the one after the list is its last line, and the
    // book has no headings in its text.
    if (outline.contentsEntries > 0) {
        size_t left = 0;
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (!dropped[i] && candidates[i].heading.kind != OutlineEntryKind::kVolume) ++left;
        }
        if (left <= 1) {
            outline.contentsEntries += left;
            dropped.assign(candidates.size(), true);
        }
    }

    for (size_t i = 0; i < candidates.size(); ++i) {
        if (dropped[i] || candidates[i].heading.kind != OutlineEntryKind::kChapter) continue;
        const std::string& form = candidates[i].heading.form;
        if (formCounts[form]++ == 0) formFirstSeen[form] = i;
    }
    // The run that makes the chapters: the form seen most often, a 第/Chapter form before a
    // bare number (lists of numbered points are common inside chapters).
    std::string best;
    auto rank = [&](const std::string& form) {
        bool bare = form.starts_with("number");
        return std::make_tuple(!bare && formCounts[form] >= 2, formCounts[form],
                               -static_cast<int64_t>(formFirstSeen[form]));
    };
    for (const auto& [form, count] : formCounts) {
        if (best.empty() || rank(form) > rank(best)) best = form;
    }

    std::vector<OutlineEntry> entries;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (dropped[i]) continue;
        const Candidate& candidate = candidates[i];
        const LineHeading& heading = candidate.heading;
        if (heading.kind == OutlineEntryKind::kChapter && heading.form != best) continue;
        OutlineEntry entry;
        entry.kind = heading.kind;
        entry.title = TitleOf(candidate.content);
        entry.offset = static_cast<uint32_t>(candidate.lineStart);
        entry.line = candidate.line;
        entry.number = heading.number;
        entries.push_back(std::move(entry));
    }
    // A volume counts only when chapters follow it before the next volume; without them its line
    // is text of the chapter it stands in. A book of volumes alone has its volumes as chapters.
    bool anyChapter = std::any_of(entries.begin(), entries.end(), [](const OutlineEntry& e) {
        return e.kind == OutlineEntryKind::kChapter;
    });
    std::vector<OutlineEntry> kept;
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
        kept.push_back(std::move(entry));
    }

    size_t firstOffset = kept.empty() ? text.size() : kept.front().offset;
    if (firstOffset > 0 && !OnlyBlankLines(text.substr(0, firstOffset))) {
        OutlineEntry front;
        front.kind = OutlineEntryKind::kFrontMatter;
        front.title = FrontMatterTitle(text, firstOffset);
        front.offset = 0;
        outline.entries.push_back(std::move(front));
    }
    for (OutlineEntry& entry : kept) outline.entries.push_back(std::move(entry));
    return outline;
}

}  // namespace brisna
