#include "epub/BookDescription.h"

#include <ctime>
#include <optional>
#include <vector>

#include "detect/HeadingParser.h"
#include "epub/BookIdentifier.h"
#include "epub/GbkLines.h"
#include "text/CodePage936.h"
#include "text/FileNames.h"
#include "text/TraditionalToSimplified.h"

namespace brisna {

namespace {

// How far into the text the title, author and summary are looked for.
constexpr int kHeadLines = 20;
constexpr size_t kHeadBytes = 64 * 1024;
// A first line longer than this (in GBK bytes, 20 characters) is text, not a title.
constexpr size_t kMaxBareTitleBytes = 40;
// The summary taken from the text: at most this many lines and bytes.
constexpr int kMaxSummaryLines = 12;
constexpr size_t kMaxSummaryBytes = 4000;

std::string IsoDate(int64_t seconds) {
    std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (gmtime_r(&time, &parts) == nullptr || parts.tm_year + 1900 < 1 ||
        parts.tm_year + 1900 > 9999) {
        return "2000-01-01T00:00:00Z";
    }
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return buffer;
}

bool StartsWithUtf8(std::string_view gbk, std::string_view utf8) {
    return gbk.starts_with(Utf8ToGbk(utf8));
}

// A chapter heading (第三章, 1. 启程, 序章 …) rather than a book's title.
bool LooksLikeHeading(std::string_view gbkLine) {
    for (std::string_view word : {"序", "楔子", "引子", "前言", "目录", "正文", "后记", "尾声",
                                  "番外", "内容简介", "简介", "作者", "书名"}) {
        if (StartsWithUtf8(gbkLine, word)) return true;
    }
    const HeadingParts parts = ParseHeading(gbkLine);
    if (parts.number == 0) return false;
    const std::string_view prefix = TrimGbk(parts.Prefix());
    if (prefix == Utf8ToGbk("第") || prefix.ends_with(Utf8ToGbk("第"))) return true;
    if (!prefix.empty()) return false;
    // A number at the start followed by a chapter word or a separator.
    const std::string_view suffix = parts.Suffix();
    if (suffix.empty()) return true;
    for (std::string_view word :
         {"章", "回", "卷", "节", "集", "篇", "部", "话", "、", "．", "。"}) {
        if (StartsWithUtf8(suffix, word)) return true;
    }
    return suffix.front() == '.' || suffix.front() == ' ' || suffix.front() == ':';
}

// A sentence has its punctuation; a title does not.
bool LooksLikeSentence(std::string_view gbkLine) {
    for (std::string_view mark : {"。", "，", "！", "？", "；", "：", "、", "…", "“", "”"}) {
        if (gbkLine.find(Utf8ToGbk(mark)) != std::string_view::npos) return true;
    }
    for (char c : gbkLine) {
        if (c == ',' || c == ';' || c == '!' || c == '?' || c == ':') return true;
    }
    return false;
}

// 《书名》 at the start of a line: the name and what follows the closing mark.
std::optional<std::pair<std::string_view, std::string_view>> BookTitleMarks(std::string_view gbk) {
    const std::string open = Utf8ToGbk("《");
    const std::string close = Utf8ToGbk("》");
    if (!gbk.starts_with(open)) return std::nullopt;
    const size_t end = gbk.find(close, open.size());
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view name = TrimGbk(gbk.substr(open.size(), end - open.size()));
    if (name.empty()) return std::nullopt;
    return std::make_pair(name, TrimGbk(gbk.substr(end + close.size())));
}

// The author after 作者： (or 作者:) somewhere in a piece of a line.
std::optional<std::string_view> AuthorAfterLabel(std::string_view gbk) {
    const std::string label = Utf8ToGbk("作者");
    const size_t at = gbk.find(label);
    if (at == std::string_view::npos) return std::nullopt;
    return LabelledValue(gbk.substr(at), "作者");
}

// The 内容简介 of the head: the text after the label on its line and the lines below it up to a
// blank line, a heading or another label.
std::string SummaryOf(const std::vector<std::string_view>& lines) {
    std::string summary;
    int taken = 0;
    bool inside = false;
    for (std::string_view raw : lines) {
        std::string_view line = TrimGbk(raw);
        if (!inside) {
            for (std::string_view label : {"内容简介", "【内容简介】", "简介", "内容提要"}) {
                if (!StartsWithUtf8(line, label)) continue;
                std::string_view rest = TrimGbk(line.substr(Utf8ToGbk(label).size()));
                if (rest.starts_with(Utf8ToGbk("："))) rest = TrimGbk(rest.substr(2));
                if (rest.starts_with(":")) rest = TrimGbk(rest.substr(1));
                inside = true;
                if (!rest.empty()) {
                    summary = GbkToUtf8(rest);
                    ++taken;
                }
                break;
            }
            continue;
        }
        if (line.empty()) {
            if (taken > 0) break;
            continue;
        }
        if (LooksLikeHeading(line) || LabelledValue(line, "作者") || LabelledValue(line, "书名")) {
            break;
        }
        if (!summary.empty()) summary += '\n';
        summary += GbkToUtf8(line);
        if (++taken >= kMaxSummaryLines || summary.size() >= kMaxSummaryBytes) break;
    }
    return summary;
}

std::string StemOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return Utf16ToUtf8(FileNameToUtf16(name));
}

std::string_view TrimUtf8(std::string_view text) {
    for (;;) {
        if (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
            text.remove_prefix(1);
        } else if (text.starts_with("\xE3\x80\x80")) {  // U+3000
            text.remove_prefix(3);
        } else if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
            text.remove_suffix(1);
        } else if (text.ends_with("\xE3\x80\x80")) {
            text.remove_suffix(3);
        } else {
            return text;
        }
    }
}

// Splits at the first of the separators, both sides trimmed and not empty.
std::optional<std::pair<std::string, std::string>> SplitAt(
    std::string_view text, std::initializer_list<std::string_view> separators) {
    for (std::string_view separator : separators) {
        const size_t at = text.find(separator);
        if (at == std::string_view::npos) continue;
        std::string_view left = TrimUtf8(text.substr(0, at));
        std::string_view right = TrimUtf8(text.substr(at + separator.size()));
        if (left.empty() || right.empty()) continue;
        return std::make_pair(std::string(left), std::string(right));
    }
    return std::nullopt;
}

}  // namespace

std::string CleanMetadataText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            // A tab or line break between words still parts them.
            if ((c == '\t' || c == '\n' || c == '\r') && !out.empty() && out.back() != ' ') {
                out.push_back(' ');
            }
            continue;
        }
        out.push_back(c);
    }
    return std::string(TrimUtf8(out));
}

NameParts NamePartsOfFile(std::string_view bookSourcePath) {
    const std::string stem = CleanMetadataText(StemOf(bookSourcePath));
    NameParts parts;
    std::string_view name = stem;
    // 《书名》作者：某某, or 《书名》 alone.
    if (name.starts_with("《")) {
        const size_t close = name.find("》");
        if (close != std::string_view::npos) {
            parts.title = TrimUtf8(name.substr(3, close - 3));
            std::string_view rest = TrimUtf8(name.substr(close + 3));
            for (std::string_view label : {"作者：", "作者:", "作者"}) {
                if (rest.starts_with(label)) {
                    rest = TrimUtf8(rest.substr(label.size()));
                    break;
                }
            }
            parts.author = rest;
            if (!parts.title.empty()) return parts;
        }
    }
    if (auto split = SplitAt(name, {"作者：", "作者:"})) {
        return {split->first, split->second};
    }
    // 书名(作者) and 书名（作者）.
    for (auto [open, close] : {std::pair<std::string_view, std::string_view>{"(", ")"},
                               std::pair<std::string_view, std::string_view>{"（", "）"}}) {
        if (!name.ends_with(close)) continue;
        const size_t at = name.rfind(open);
        if (at == std::string_view::npos || at == 0) continue;
        std::string_view title = TrimUtf8(name.substr(0, at));
        std::string_view author =
            TrimUtf8(name.substr(at + open.size(), name.size() - close.size() - at - open.size()));
        if (!title.empty() && !author.empty()) return {std::string(title), std::string(author)};
    }
    if (auto split = SplitAt(name, {"_"})) return {split->first, split->second};
    parts.title = stem;
    return parts;
}

bool IsTraditionalText(std::string_view gbkText) {
    const std::string_view sample = gbkText.substr(0, kHeadBytes);
    const std::string simplified = TraditionalToSimplified(sample);
    size_t characters = 0, changed = 0;
    for (size_t i = 0; i + 1 < sample.size(); ++i) {
        if (!IsGbkLeadByte(static_cast<unsigned char>(sample[i]))) continue;
        ++characters;
        if (sample[i] != simplified[i] || sample[i + 1] != simplified[i + 1]) ++changed;
        ++i;
    }
    // A Simplified text holds a Traditional form only here and there (names, quotations).
    return changed >= 5 && changed * 20 >= characters;
}

EpubMetadata DescribeBook(std::string_view gbkText, std::string_view bookSourcePath,
                          int64_t modifiedSeconds, const EpubMetadata& known) {
    EpubMetadata metadata = known;
    metadata.title = CleanMetadataText(known.title);
    metadata.author = CleanMetadataText(known.author);
    metadata.language = CleanMetadataText(known.language);

    const std::vector<std::string_view> lines = SplitLines(gbkText.substr(0, kHeadBytes));
    std::vector<std::string_view> head;
    for (std::string_view raw : lines) {
        if (!HasVisibleText(raw)) continue;
        if (static_cast<int>(head.size()) >= kHeadLines) break;
        head.push_back(TrimGbk(raw));
    }
    auto take = [](std::string& field, std::string_view gbk) {
        if (field.empty()) field = CleanMetadataText(GbkToUtf8(gbk));
    };
    for (std::string_view line : head) {
        if (auto marks = BookTitleMarks(line)) {
            take(metadata.title, marks->first);
            if (auto author = AuthorAfterLabel(marks->second)) take(metadata.author, *author);
        } else if (auto title = LabelledValue(line, "书名")) {
            take(metadata.title, *title);
        }
        if (auto author = LabelledValue(line, "作者")) take(metadata.author, *author);
    }
    // A short first line that is neither a heading nor a sentence names the book.
    if (!head.empty() && head.front().size() <= kMaxBareTitleBytes &&
        !LooksLikeHeading(head.front()) && !LooksLikeSentence(head.front())) {
        take(metadata.title, head.front());
    }
    if (metadata.title.empty() || metadata.author.empty()) {
        const NameParts parts = NamePartsOfFile(bookSourcePath);
        if (metadata.title.empty()) metadata.title = parts.title;
        if (metadata.author.empty()) metadata.author = parts.author;
    }
    if (metadata.title.empty()) metadata.title = kUntitledBook;
    if (metadata.language.empty())
        metadata.language = IsTraditionalText(gbkText) ? "zh-TW" : "zh-CN";
    if (CleanMetadataText(metadata.description).empty()) metadata.description = SummaryOf(lines);
    metadata.identifier = BookIdentifier(gbkText);
    metadata.modified = IsoDate(modifiedSeconds);
    return metadata;
}

}  // namespace brisna
