#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clean/TextCleanup.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

// A GBK book of CR LF lines from UTF-8 lines.
std::string Book(const std::vector<std::string>& lines) {
    std::string book;
    for (const std::string& line : lines) book += G(line) + "\r\n";
    return book;
}

CleanupOptions Only(bool junk, bool contents, bool join) {
    CleanupOptions options;
    options.removeJunk = junk;
    options.removeContents = contents;
    options.joinWrapped = join;
    options.evenIndents = false;
    options.squeezeBlankLines = false;
    return options;
}

const std::vector<std::string> kChapters = {
    "第一章　山门",   "　　少年背着柴走下山，雨下个不停。",
    "第二章　求推荐", "　　“求推荐！”小师妹喊道。",
    "第三章　下山",   "　　他终于下了山。",
};

TEST(TextCleanupTest, RemovesJunkAndContentsButNeverAHeading) {
    std::vector<std::string> lines = {"书名：山门",   "目录",
                                      "第一章　山门", "第二章　求推荐",
                                      "第三章　下山", "本书由××小说网整理，请于下载后24小时内删除"};
    lines.insert(lines.end(), kChapters.begin(), kChapters.end());
    lines.insert(lines.begin() + 8, "（本章完）");
    lines.push_back("求月票！求推荐票！");
    const CleanupResult result = CleanText(Book(lines), Only(true, true, false));

    std::vector<std::string> expected = {"书名：山门"};
    expected.insert(expected.end(), kChapters.begin(), kChapters.end());
    EXPECT_EQ(U(result.text), U(Book(expected)));
    EXPECT_EQ(result.counts.contentsBlocks, 1u);
    EXPECT_EQ(result.counts.contentsLines, 4u);
    EXPECT_EQ(result.counts.junkLines, 3u);
    EXPECT_EQ(U(CleanupReport(result.counts)), "已删除广告等 3 行、目录 1 处，合并断行 0 处");
    ASSERT_EQ(result.changes.size(), 7u);
    EXPECT_EQ(result.changes[0].kind, CleanupChangeKind::kContentsLine);
    EXPECT_EQ(result.changes[0].line, 1);
    EXPECT_EQ(U(result.changes[0].text), "目录");
    EXPECT_EQ(result.changes[5].line, 8);
    EXPECT_EQ(U(result.changes[5].text), "（本章完）");
}

TEST(TextCleanupTest, AuthorNotesStayUnlessAskedFor) {
    const std::string book = Book({"第一章　山门", "　　正文。", "PS：今天两更", "第二章　水",
                                   "　　正文。", "第三章　火", "　　正文。"});
    CleanupOptions options = Only(true, true, false);
    EXPECT_FALSE(CleanText(book, options).changed);
    options.removeNotes = true;
    const CleanupResult result = CleanText(book, options);
    EXPECT_EQ(result.counts.authorNotes, 1u);
    EXPECT_EQ(U(CleanupReport(result.counts)), "已删除广告等 1 行、目录 0 处，合并断行 0 处");
    EXPECT_EQ(U(result.text).find("PS"), std::string::npos);
}

// Paragraphs of the two kinds a wrapped book has, wrapped by hand at 12 characters.
const std::vector<std::string> kWrapped = {
    "第一章　开始",
    "　　天色将晚，山下的小镇",
    "亮起了灯。少年背着柴，沿",
    "着石阶往下走。",
    "　　“你回来了。”母亲站在",
    "门口说：“饭在锅里。”",
    "　　He said hello to the",
    "old man and went home.",
    "第二章　夜里",
    "　　夜里起了风，窗纸哗哗",
    "地响，他睡不着，坐起来听",
    "外面的动静。",
};

TEST(TextCleanupTest, JoinsWrappedParagraphsExactly) {
    const CleanupResult result = CleanText(Book(kWrapped), Only(false, false, true));
    EXPECT_TRUE(result.wrapped);
    EXPECT_EQ(U(result.text), U(Book({
                                  "第一章　开始",
                                  "　　天色将晚，山下的小镇亮起了灯。少年背着柴，沿着石阶往下走。",
                                  "　　“你回来了。”母亲站在门口说：“饭在锅里。”",
                                  "　　He said hello to the old man and went home.",
                                  "第二章　夜里",
                                  "　　夜里起了风，窗纸哗哗地响，他睡不着，坐起来听外面的动静。",
                              })));
    EXPECT_EQ(result.counts.joinedLines, 6u);
    EXPECT_EQ(U(CleanupReport(result.counts)), "已删除广告等 0 行、目录 0 处，合并断行 6 处");
    ASSERT_FALSE(result.changes.empty());
    EXPECT_EQ(result.changes[0].kind, CleanupChangeKind::kJoinedLine);
    EXPECT_EQ(result.changes[0].line, 2);
}

// The before and after the manual and the README show.
TEST(TextCleanupTest, TheDocumentedExample) {
    const std::vector<std::string> before = {"目录",
                                             "第1章　山门",
                                             "第2章　下山",
                                             "第3章　回家",
                                             "第1章　山门",
                                             "　　天色将晚，山下的小镇",
                                             "亮起了灯。少年背着柴，沿",
                                             "着石阶往下走。",
                                             "本书由××小说网整理，请于下载后24小时内删除",
                                             "　　“求推荐！”小师妹喊道。",
                                             "（本章完）",
                                             "第2章　下山",
                                             "　　雨停了。",
                                             "求月票！求推荐票！",
                                             "第3章　回家",
                                             "　　他回到了家。"};
    const std::vector<std::string> after = {
        "第1章　山门",
        "　　天色将晚，山下的小镇亮起了灯。少年背着柴，沿着石阶往下走。",
        "　　“求推荐！”小师妹喊道。",
        "第2章　下山",
        "　　雨停了。",
        "第3章　回家",
        "　　他回到了家。"};
    const CleanupResult result = CleanText(Book(before), CleanupOptions());
    EXPECT_EQ(U(result.text), U(Book(after)));
    EXPECT_EQ(U(CleanupReport(result.counts)), "已删除广告等 3 行、目录 1 处，合并断行 2 处");
}

TEST(TextCleanupTest, LeavesABookWithAParagraphPerLineAlone) {
    const std::vector<std::string> books[] = {
        kChapters,
        // Unindented lines of about one width that all end a sentence.
        {"第一章　开始", "天色将晚，山下的小镇亮起了灯。", "少年背着柴，沿着石阶往下走去。",
         "母亲站在门口说饭在锅里热着。", "他放下柴火，洗了手坐到桌边。", "第二章　夜里",
         "夜里起了风，窗纸哗哗地响着。", "他睡不着，坐起来听外面动静。"},
    };
    for (const std::vector<std::string>& lines : books) {
        const CleanupResult result = CleanText(Book(lines), CleanupOptions());
        EXPECT_FALSE(result.wrapped);
        EXPECT_EQ(result.counts.joinedLines, 0u);
    }
    EXPECT_FALSE(CleanText(Book(kChapters), CleanupOptions()).changed);
}

TEST(TextCleanupTest, EvensIndentsAndBlankLinesButNotHeadings) {
    const std::string book = Book({"  第一章 开始", "", "", "", "天色将晚。", "    少年下山。", "",
                                   "\t母亲说话。", "第二章 夜里", "　　　　风起。"});
    CleanupOptions options;
    options.joinWrapped = false;
    CleanupResult result = CleanText(book, options);
    EXPECT_EQ(U(result.text), U(Book({"  第一章 开始", "", "　　天色将晚。", "　　少年下山。", "",
                                      "　　母亲说话。", "第二章 夜里", "　　风起。"})));
    EXPECT_EQ(result.counts.blankLinesRemoved, 2u);
    EXPECT_EQ(result.counts.indentsChanged, 4u);

    options.indentChars = 0;
    options.maxBlankLines = 0;
    result = CleanText(book, options);
    EXPECT_EQ(U(result.text), U(Book({"  第一章 开始", "天色将晚。", "少年下山。", "母亲说话。",
                                      "第二章 夜里", "风起。"})));
}

TEST(TextCleanupTest, OffsetMapCarriesHeadingsAndMovesRemovedLinesOn) {
    const std::string book =
        Book({"目录", "第一章　山门", "第二章　水", "第三章　火", "=====", "第一章　山门",
              "正文一。", "（本章完）", "第二章　水", "正文二。", "第三章　火", "正文三。"});
    const CleanupResult result = CleanText(book, CleanupOptions());
    for (const char* heading : {"第一章　山门", "第二章　水", "第三章　火"}) {
        const size_t old = book.rfind(G(heading));
        const size_t now = result.offsets.Map(old);
        ASSERT_LT(now, result.text.size());
        EXPECT_EQ(result.text.compare(now, G(heading).size(), G(heading)), 0) << heading;
    }
    // A removed line's place is the start of the line after it.
    EXPECT_EQ(result.offsets.Map(0), 0u);
    const size_t mark = book.find(G("（本章完）"));
    EXPECT_EQ(result.offsets.Map(mark), result.text.find(G("第二章")));
    EXPECT_EQ(result.offsets.Map(book.size()), result.text.size());
}

TEST(TextCleanupTest, OddInputsNeitherCrashNorLoseText) {
    const std::string inputs[] = {
        "",
        "\r\n\r\n\r\n",
        "\x81",                       // a lead byte alone
        "abc",                        // no line break at all
        G("第一章\n正文\r\n第二章"),  // mixed line ends
        std::string("\0\0\r\n", 4),
    };
    for (const std::string& input : inputs) {
        const CleanupResult result = CleanText(input, CleanupOptions());
        EXPECT_LE(result.text.size(), input.size() + 64);
        for (char c : input) {
            if (c != ' ' && c != '\r' && c != '\n') {
                EXPECT_NE(result.text.find(c), std::string::npos);
            }
        }
    }
}

}  // namespace
}  // namespace brisna
