// 整理文本 on novels made of real Chinese prose (the Chinese manual pages installed on the
// machine): one downloaded with every kind of junk and a contents list, one hard-wrapped.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "clean/TextCleanup.h"
#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna::e2e {
namespace {

using test::G;
using test::U;

constexpr int kChapterCount = 24;
constexpr size_t kWrapColumns = 70;  // 35 Chinese characters

const std::string kIndent = G("　　");

// One novel in three shapes: its lines as a reader wants them, the lines a download site adds,
// and which of them are junk.
struct Novel {
    std::vector<std::string> clean;  // GBK lines
    std::vector<std::string> downloaded;
    std::set<size_t> junkLines;  // numbers of the downloaded lines that are junk
};

// The manual pages' lines, but for those that point to a web or mail address ("完整文档请见：
// <https://...>"): in a novel such a short line is a site notice, and goes.
std::vector<std::string> ProseLines(size_t bytes) {
    const std::string prose = InstalledChineseText(bytes);
    std::vector<std::string> lines;
    for (size_t at = 0; at < prose.size();) {
        size_t end = prose.find("\r\n", at);
        if (end == std::string::npos) break;
        std::string line = prose.substr(at, end - at);
        at = end + 2;
        bool address = line.find("://") != std::string::npos ||
                       line.find("www.") != std::string::npos ||
                       line.find('@') != std::string::npos;
        if (!address) lines.push_back(line);
    }
    return lines;
}

// Paragraphs of two to five lines of prose run together, spaces at their ends trimmed.
std::vector<std::string> Paragraphs(const std::vector<std::string>& prose) {
    std::vector<std::string> paragraphs;
    size_t at = 0;
    for (size_t n = 0; at < prose.size(); ++n) {
        std::string paragraph;
        for (size_t k = 0; k < 2 + n % 4 && at < prose.size(); ++k) paragraph += prose[at++];
        while (!paragraph.empty() && paragraph.back() == ' ') paragraph.pop_back();
        size_t start = paragraph.find_first_not_of(' ');
        if (start != std::string::npos) paragraphs.push_back(paragraph.substr(start));
    }
    return paragraphs;
}

Novel MakeNovel(const std::vector<std::string>& paragraphs) {
    const char* const junk[] = {
        "本书由××小说网整理，仅供试读，请于下载后24小时内删除",
        "手机阅读请访问 m.example.com",
        "请记住本站域名：www.example.la",
        "求月票！求推荐票！",
        "=====",
        "------------------",
        "新书上传，跪求收藏！",
        "（未完待续。）",
    };
    const char* const dialogue[] = {
        "“求推荐！”小师妹扯着他的袖子喊道，“你就帮我这一回吧。”",
        "“本章完了吗？”他合上书问道。",
        "他笑着说：“收藏家们明天就到，最新的那一批货也该到了。”",
    };
    Novel novel;
    auto add = [&](const std::string& line, bool isJunk) {
        if (isJunk) {
            novel.junkLines.insert(novel.downloaded.size());
        } else {
            novel.clean.push_back(line);
        }
        novel.downloaded.push_back(line);
    };
    add(kIndent + G("山门记"), false);
    add(kIndent + G("作者：无名"), false);
    std::vector<std::string> headings;
    for (int c = 1; c <= kChapterCount; ++c) {
        headings.push_back(G("第" + std::to_string(c) + "章　山门之" + std::to_string(c)));
    }
    add(G("目录"), true);
    for (const std::string& heading : headings) add(heading, true);
    add(G(junk[0]), true);

    size_t next = 0;
    for (int c = 0; c < kChapterCount; ++c) {
        add(headings[c], false);
        for (int p = 0; p < 8; ++p) {
            add(kIndent + paragraphs[next++ % paragraphs.size()], false);
            if ((c + p) % 5 == 0) add(kIndent + G(dialogue[(c + p) % 3]), false);
            if ((c * 8 + p) % 7 == 3) add(G(junk[(c + p) % 8]), true);
        }
        add(G("（本章完）"), true);
    }
    return novel;
}

std::string Text(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// The characters that are not blanks or line breaks, in order.
std::string Characters(std::string_view text) {
    static const std::string fullWidthSpace = G("　");
    std::string kept;
    for (size_t at = 0; at < text.size();) {
        size_t length = GbkCharLength(text, at);
        std::string_view c = text.substr(at, length);
        at += length;
        if (c == " " || c == "\t" || c == "\r" || c == "\n" || c == fullWidthSpace) continue;
        kept.append(c);
    }
    return kept;
}

// No character outside a removed line is lost or moved.
void ExpectCharactersKept(const std::string& before, const CleanupResult& result) {
    std::set<int32_t> removed;
    for (const CleanupChange& change : result.changes) {
        if (change.kind != CleanupChangeKind::kJoinedLine) removed.insert(change.line);
    }
    std::string left;
    int32_t line = 0;
    for (size_t at = 0; at < before.size(); ++line) {
        size_t end = before.find('\n', at);
        end = end == std::string::npos ? before.size() : end + 1;
        if (removed.count(line) == 0) left += before.substr(at, end - at);
        at = end;
    }
    EXPECT_TRUE(Characters(left) == Characters(result.text)) << "characters lost or moved";
}

// Wraps a paragraph at `columns` as a fixed-width editor would: Chinese anywhere, Latin words
// whole with the space between two of them dropped at the break, and never leaving a line
// shorter than half the width.
std::vector<std::string> Wrap(const std::string& paragraph, size_t columns) {
    // Tokens: one Chinese character, a run of Latin characters, or a run of spaces.
    std::vector<std::string> tokens;
    for (size_t at = 0; at < paragraph.size();) {
        size_t length = GbkCharLength(paragraph, at);
        size_t end = at + length;
        if (length == 1) {
            const bool space = paragraph[at] == ' ';
            while (end < paragraph.size() && GbkCharLength(paragraph, end) == 1 &&
                   (paragraph[end] == ' ') == space) {
                ++end;
            }
        }
        tokens.push_back(paragraph.substr(at, end - at));
        at = end;
    }
    auto latin = [](const std::string& token) {
        return token.size() >= 1 && token[0] != ' ' && static_cast<unsigned char>(token[0]) < 0x80;
    };
    std::vector<std::string> lines(1);
    for (size_t k = 0; k < tokens.size(); ++k) {
        const std::string& token = tokens[k];
        std::string& line = lines.back();
        if (line.size() + token.size() <= columns || line.size() < columns / 2) {
            line += token;
            continue;
        }
        if (token[0] == ' ') {
            // A single space between two words goes; anything else stays at the line's end.
            bool between = token == " " && k > 0 && latin(tokens[k - 1]) && k + 1 < tokens.size() &&
                           latin(tokens[k + 1]);
            if (!between) line += token;
            lines.emplace_back();
            continue;
        }
        lines.push_back(token);
    }
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

class CleanBook : public ::testing::Test {
  protected:
    void SetUp() override {
        prose_ = ProseLines(200 * 1024);
        if (prose_.empty())
            GTEST_SKIP() << "the Chinese manual pages (manpages-zh) are not installed";
        novel_ = MakeNovel(Paragraphs(prose_));
    }
    std::vector<std::string> prose_;
    Novel novel_;
};

TEST_F(CleanBook, RealProseIsNeverJunk) {
    CleanupOptions options;
    options.removeNotes = true;
    options.joinWrapped = false;
    const std::string book = Text(prose_);
    const CleanupResult result = CleanText(book, options);
    for (const CleanupChange& change : result.changes) {
        ADD_FAILURE() << "line " << change.line << " removed: " << U(change.text);
    }
    ExpectCharactersKept(book, result);
}

TEST_F(CleanBook, RemovesEveryJunkLineAndNoOther) {
    const std::string downloaded = Text(novel_.downloaded);
    const CleanupResult result = CleanText(downloaded, CleanupOptions());
    std::set<size_t> removed;
    for (const CleanupChange& change : result.changes) {
        EXPECT_NE(change.kind, CleanupChangeKind::kJoinedLine) << U(change.text);
        removed.insert(static_cast<size_t>(change.line));
        EXPECT_EQ(change.text, novel_.downloaded[change.line]);
    }
    for (size_t line : novel_.junkLines) {
        EXPECT_EQ(removed.count(line), 1u) << "kept: " << U(novel_.downloaded[line]);
    }
    for (size_t line : removed) {
        EXPECT_EQ(novel_.junkLines.count(line), 1u) << "removed: " << U(novel_.downloaded[line]);
    }
    EXPECT_EQ(U(result.text), U(Text(novel_.clean)));
    EXPECT_EQ(result.counts.contentsBlocks, 1u);
    EXPECT_EQ(U(CleanupReport(result.counts)),
              "已删除广告等 " + std::to_string(novel_.junkLines.size() - kChapterCount - 1) +
                  " 行、目录 1 处，合并断行 0 处");
    ExpectCharactersKept(downloaded, result);
}

TEST_F(CleanBook, JoinsEveryWrappedParagraphExactly) {
    std::vector<std::string> wrapped;
    size_t wraps = 0;
    for (const std::string& line : novel_.clean) {
        std::vector<std::string> pieces = Wrap(line, kWrapColumns);
        // Headings stand on their own lines as they are.
        if (line.substr(0, kIndent.size()) != kIndent) pieces = {line};
        wraps += pieces.size() - 1;
        wrapped.insert(wrapped.end(), pieces.begin(), pieces.end());
    }
    ASSERT_GT(wraps, novel_.clean.size());
    const std::string book = Text(wrapped);
    const CleanupResult result = CleanText(book, CleanupOptions());
    EXPECT_TRUE(result.wrapped);
    EXPECT_EQ(result.counts.joinedLines, wraps);
    const std::vector<std::string> expected = novel_.clean;
    const std::string joined = result.text;
    // Compared paragraph by paragraph, so that a failure shows the one that went wrong.
    size_t at = 0;
    for (const std::string& line : expected) {
        size_t end = joined.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(U(joined.substr(at, end - at)), U(line));
        at = end + 2;
    }
    EXPECT_EQ(at, joined.size());
    ExpectCharactersKept(book, result);
}

TEST_F(CleanBook, LeavesAnUnwrappedBookUnchanged) {
    const std::string book = Text(novel_.clean);
    const CleanupResult result = CleanText(book, CleanupOptions());
    EXPECT_FALSE(result.wrapped);
    EXPECT_TRUE(result.text == book);
    EXPECT_TRUE(result.changes.empty());

    // Without indents the paragraphs are told apart by their lengths and full stops alone.
    std::vector<std::string> flush;
    for (const std::string& line : novel_.clean) {
        flush.push_back(line.substr(0, kIndent.size()) == kIndent ? line.substr(kIndent.size())
                                                                  : line);
    }
    CleanupOptions joinOnly;
    joinOnly.removeJunk = joinOnly.removeContents = joinOnly.evenIndents = false;
    const CleanupResult flushResult = CleanText(Text(flush), joinOnly);
    EXPECT_FALSE(flushResult.wrapped);
    EXPECT_TRUE(flushResult.text == Text(flush));
}

}  // namespace
}  // namespace brisna::e2e
