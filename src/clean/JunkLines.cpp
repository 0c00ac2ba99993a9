#include "clean/JunkLines.h"

#include <algorithm>

#include "clean/LineText.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {
namespace {

// Site notices are short; a long line that mentions a site is somebody's prose.
constexpr size_t kMaxNoticeChars = 64;
// A line that only carries a web address is shorter still.
constexpr size_t kMaxAddressLineChars = 60;
// Begging and thanking lines are a few words.
constexpr size_t kMaxBeggingChars = 50;
constexpr size_t kMaxNoteChars = 80;
// A separator is a run, not a single dash.
constexpr size_t kMinSeparatorChars = 3;

// What download sites put into the books they hand out. `*` is any run of characters.
// Each is specific enough that a line of a story holding it is hardly thinkable: 手机阅读 alone
// could be somebody reading on a phone, 手机阅读*访问 is a notice.
constexpr const char* kSitePatterns[] = {
    "本书由*整理",   "本书由*提供", "本书由*首发",   "本书来自",   "本书首发",     "手机阅读*访问",
    "手机阅读*网址", "手机用户请",  "手机版阅读",    "请记住本站", "请记住本书",   "记住本站",
    "本站域名",      "本站地址",    "收藏本站",      "本站首发",   "本站提供",     "最新章节*访问",
    "最新章节*网",   "看最新章节",  "最快更新",      "更新最快",   "24小时内删除", "仅供试读",
    "仅供交流学习",  "小说网*首发", "小说网*最新",   "小说下载",   "txt下载",      "全文字*无弹窗",
    "无弹窗",        "一秒记住",    "百度搜索*小说", "电子书下载", "书友群*号",
};
constexpr const char* kNotePatterns[] = {"感谢*打赏", "感谢*月票", "感谢*推荐票", "感谢*的支持"};
constexpr const char* kSeparatorChars[] = {"=",  "-",  "*", "~", "_", "＝", "－", "＊",
                                           "～", "＿", "·", "—", "─", "━",  "#",  "＃"};
constexpr const char* kQuoteChars[] = {"“", "”", "‘", "’", "「", "」", "『", "』", "\""};
constexpr const char* kBracketChars[] = {"（", "）", "(",  ")", "【", "】", "[",  "]",  "〔", "〕",
                                         "。", ".",  "！", "!", "…",  "~",  "～", "　", " "};
constexpr const char* kEndMarks[] = {"本章完", "本章结束", "未完待续", "待续"};
// Begged for after 求: 求月票, 跪求推荐票 ...
constexpr const char* kBeggingWords[] = {"保底月票", "月票", "推荐票", "推荐", "收藏",
                                         "订阅",     "打赏", "票票",   "点击", "支持",
                                         "评论",     "首订", "全订",   "鲜花"};
// What may follow a begged-for word: another plea or a particle, never the rest of a word
// (求收藏家帮忙 is prose).
constexpr const char* kBeggingFollowers[] = {"求", "和", "与", "及", "、", "啦", "啊",
                                             "呀", "哈", "了", "哦", "票", "么", "吗"};
constexpr const char* kPsSeparators[] = {"：", ":", "，", ",", " ", "　", "."};
constexpr const char* kNoteStarts[] = {"作者有话说", "作者有话要说", "作者的话", "ＰＳ", "ｐｓ"};

template <size_t N>
std::vector<std::string> ToGbk(const char* const (&utf8)[N]) {
    std::vector<std::string> gbk;
    for (const char* text : utf8) gbk.push_back(Utf8ToGbk(text));
    return gbk;
}

bool ContainsAny(std::string_view line, const std::vector<std::string>& needles) {
    return std::any_of(needles.begin(), needles.end(), [&](const std::string& needle) {
        return line.find(needle) != std::string_view::npos && GbkContains(line, needle);
    });
}

bool StartsWithAny(std::string_view line, const std::vector<std::string>& starts,
                   size_t* length = nullptr) {
    for (const std::string& start : starts) {
        if (line.substr(0, start.size()) == start) {
            if (length) *length = start.size();
            return true;
        }
    }
    return false;
}

}  // namespace

JunkPattern::JunkPattern(std::string_view gbkPattern) {
    std::string lower = LowerAsciiLetters(gbkPattern);
    size_t at = 0;
    std::string piece;
    while (at < lower.size()) {
        size_t length = CharLengthAt(lower, at);
        if (length == 1 && lower[at] == '*') {
            if (!piece.empty()) pieces_.push_back(std::move(piece));
            piece.clear();
        } else {
            piece.append(lower, at, length);
        }
        at += length;
    }
    if (!piece.empty()) pieces_.push_back(std::move(piece));
}

bool JunkPattern::Matches(std::string_view lowerLine) const {
    // Most lines hold no piece at all: a plain byte search rules them out before the search
    // that minds character boundaries.
    if (pieces_.empty() || lowerLine.find(pieces_.front()) == std::string_view::npos) {
        return false;
    }
    size_t from = 0;
    for (const std::string& piece : pieces_) {
        size_t found = GbkFind(lowerLine, piece, from);
        if (found == std::string_view::npos) return false;
        from = found + piece.size();
    }
    return true;
}

JunkLineRules::JunkLineRules(const std::vector<std::string>& userPatterns)
    : separatorChars_(ToGbk(kSeparatorChars)),
      quoteChars_(ToGbk(kQuoteChars)),
      bracketChars_(ToGbk(kBracketChars)),
      endMarks_(ToGbk(kEndMarks)),
      beggingWords_(ToGbk(kBeggingWords)),
      beggingFollowers_(ToGbk(kBeggingFollowers)),
      noteStarts_(ToGbk(kNoteStarts)) {
    for (const char* pattern : kSitePatterns) sitePatterns_.emplace_back(Utf8ToGbk(pattern));
    for (const char* pattern : kNotePatterns) notePatterns_.emplace_back(Utf8ToGbk(pattern));
    for (const std::string& pattern : userPatterns) {
        JunkPattern compiled(TrimLineBlanks(pattern));
        if (!compiled.Empty()) userPatterns_.push_back(std::move(compiled));
    }
}

JunkKind JunkLineRules::Classify(std::string_view line) const {
    const std::string_view trimmed = TrimLineBlanks(line);
    if (trimmed.empty()) return JunkKind::kNone;
    const std::string lower = LowerAsciiLetters(trimmed);
    // The user's own words are taken at their word, even inside dialogue.
    for (const JunkPattern& pattern : userPatterns_) {
        if (pattern.Matches(lower)) return JunkKind::kUserPattern;
    }
    if (IsSeparator(trimmed)) return JunkKind::kSeparator;
    // Somebody speaks on this line: whatever words it holds are the book's.
    if (ContainsAny(trimmed, quoteChars_)) return JunkKind::kNone;
    if (IsChapterEndMark(trimmed)) return JunkKind::kChapterEndMark;
    const size_t chars = GbkCharCount(trimmed);
    if (chars <= kMaxNoticeChars) {
        for (const JunkPattern& pattern : sitePatterns_) {
            if (pattern.Matches(lower)) return JunkKind::kSiteNotice;
        }
    }
    if (chars <= kMaxAddressLineChars && HasWebAddress(lower)) return JunkKind::kSiteNotice;
    if (chars <= kMaxBeggingChars && IsBegging(trimmed)) return JunkKind::kBegging;
    if (IsAuthorNote(trimmed, lower)) return JunkKind::kAuthorNote;
    return JunkKind::kNone;
}

bool JunkLineRules::IsSeparator(std::string_view trimmed) const {
    // Nearly every line starts with a letter no separator uses.
    const std::string_view first = trimmed.substr(0, CharLengthAt(trimmed, 0));
    if (std::find(separatorChars_.begin(), separatorChars_.end(), first) == separatorChars_.end()) {
        return false;
    }
    size_t symbols = 0;
    for (size_t at = 0; at < trimmed.size();) {
        size_t length = CharLengthAt(trimmed, at);
        std::string_view c = trimmed.substr(at, length);
        at += length;
        if (LeadingBlankBytes(c) == c.size()) continue;
        if (std::find(separatorChars_.begin(), separatorChars_.end(), c) == separatorChars_.end()) {
            return false;
        }
        ++symbols;
    }
    return symbols >= kMinSeparatorChars;
}

bool JunkLineRules::IsChapterEndMark(std::string_view trimmed) const {
    if (std::none_of(endMarks_.begin(), endMarks_.end(), [&](const std::string& mark) {
            return trimmed.find(mark) != std::string_view::npos;
        })) {
        return false;
    }
    // The mark stripped of its brackets and closing punctuation.
    std::string_view core = trimmed;
    bool bracketed = false;
    size_t length = 0;
    while (!core.empty() && StartsWithAny(core, bracketChars_, &length)) {
        core.remove_prefix(length);
        bracketed = true;
    }
    while (!core.empty()) {
        std::string_view last = LastGbkChar(core);
        if (std::find(bracketChars_.begin(), bracketChars_.end(), last) == bracketChars_.end()) {
            break;
        }
        core.remove_suffix(last.size());
    }
    for (const std::string& mark : endMarks_) {
        if (core == mark) return true;
        // （未完待续，请搜索…） carries a plea after the mark.
        if (bracketed && core.substr(0, mark.size()) == mark &&
            GbkCharCount(trimmed) <= kMaxNoticeChars) {
            return true;
        }
    }
    return false;
}

bool JunkLineRules::IsBegging(std::string_view trimmed) const {
    static const std::string plea = Utf8ToGbk("求");
    if (trimmed.find(plea) == std::string_view::npos) return false;
    for (size_t at = GbkFind(trimmed, plea); at != std::string_view::npos;
         at = GbkFind(trimmed, plea, at + plea.size())) {
        std::string_view rest = trimmed.substr(at + plea.size());
        for (const std::string& word : beggingWords_) {
            if (rest.substr(0, word.size()) != word) continue;
            std::string_view after = rest.substr(word.size());
            if (after.empty() || !IsChineseCharAt(after, 0) ||
                StartsWithAny(after, beggingFollowers_)) {
                return true;
            }
        }
    }
    return false;
}

bool JunkLineRules::HasWebAddress(std::string_view lower) const {
    if (lower.find("http://") != std::string_view::npos ||
        lower.find("https://") != std::string_view::npos ||
        lower.find("www.") != std::string_view::npos) {
        return true;
    }
    // A domain: letters or digits, a dot and one of the endings sites use, then no more letters.
    static constexpr std::string_view kEndings[] = {"com", "net",  "org", "cc",  "la",
                                                    "cn",  "info", "me",  "xyz", "top"};
    for (size_t dot = lower.find('.'); dot != std::string_view::npos;
         dot = lower.find('.', dot + 1)) {
        if (dot == 0 || !IsAsciiAlnum(static_cast<unsigned char>(lower[dot - 1]))) continue;
        // The letter before the dot must be a character of its own, not a GBK trail byte.
        if (GbkFind(lower, lower.substr(dot - 1, 2), dot - 1) != dot - 1) continue;
        std::string_view after = lower.substr(dot + 1);
        for (std::string_view ending : kEndings) {
            if (after.substr(0, ending.size()) != ending) continue;
            if (after.size() == ending.size() ||
                !IsAsciiAlnum(static_cast<unsigned char>(after[ending.size()]))) {
                return true;
            }
        }
    }
    return false;
}

bool JunkLineRules::IsAuthorNote(std::string_view trimmed, std::string_view lower) const {
    if (StartsWithAny(trimmed, noteStarts_)) return true;
    if (GbkCharCount(trimmed) > kMaxNoteChars) return false;
    // PS：, P.S. and ps followed by a colon, a comma or a blank.
    if (lower.substr(0, 4) == "p.s.") return true;
    if (lower.substr(0, 2) == "ps") {
        static const std::vector<std::string> separators = ToGbk(kPsSeparators);
        std::string_view rest = lower.substr(2);
        return rest.empty() || StartsWithAny(rest, separators);
    }
    return std::any_of(notePatterns_.begin(), notePatterns_.end(),
                       [&](const JunkPattern& pattern) { return pattern.Matches(lower); });
}

}  // namespace brisna
