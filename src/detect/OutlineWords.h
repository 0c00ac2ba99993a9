#pragma once
// The words and characters the outline reads headings by: numerals, units, section names,
// brackets, sentence marks, and the small byte-level tests on them. Shared by the files of the
// outline only.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "detect/BookOutline.h"
#include "text/CodePage936.h"

namespace brisna::outline {

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

std::vector<std::string> GbkWords(std::initializer_list<const char*> utf8Words);

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

const Vocabulary& Words();

bool StartsWithWord(std::string_view text, std::string_view word);
bool StartsWithAny(std::string_view text, const std::vector<std::string>& words);
// Character-aware: a mark never matches across two characters.
bool ContainsAny(std::string_view text, const std::vector<std::string>& words);
// True when `text` ends with one of `words` that starts on a character boundary.
bool EndsWithAnyChar(std::string_view text, const std::vector<std::string>& words);
const NumeralChar* NumeralAt(std::string_view text, size_t at);
bool IsAsciiDigit(char c);
bool IsAsciiAlnum(char c);
bool IsBlankAt(std::string_view text, size_t at);
// The number at the start of `text`: Chinese numerals or ASCII digits. Returns the bytes taken;
// 0 also for a number too long to number a chapter.
size_t ReadNumber(std::string_view text, int64_t& value);

enum class TailKind { kNone, kOpen, kJoined };

// What follows a heading's word on its line: nothing, a title after a separator (kOpen), or text
// straight after the word (kJoined, which only a short line without sentence marks may have).
TailKind TailAfter(std::string_view rest);
// True when the line (from its first non-blank byte) with this tail reads as a heading and not
// as a sentence that begins like one.
bool ReadsAsHeading(std::string_view line, TailKind tail);

}  // namespace brisna::outline
