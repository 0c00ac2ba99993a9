#include "check/ValidationRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::Filler;
using test::G;
using test::RecordingHost;
using test::U;

class GenerateChecksTest : public ::testing::Test {
  protected:
    // The text is UTF-8 with CR LF written out.
    void Load(std::string_view utf8) {
        text = G(utf8);
        view.SetText(text);
        book.RebuildLineTable();
    }
    // A chapter whose heading is the n-th occurrence (from 0) of the title in the text.
    void Chapter(std::string_view utf8Title, int occurrence = 0) {
        std::string title = G(utf8Title);
        size_t at = text.find(title);
        for (int i = 0; i < occurrence; ++i) at = text.find(title, at + 1);
        ASSERT_NE(at, std::string::npos);
        ChapterAt(utf8Title, static_cast<uint32_t>(at));
    }
    void ChapterAt(std::string_view utf8Title, uint32_t offset) {
        ChapterRecord record;
        record.SetTitle(G(utf8Title));
        record.offset = offset;
        model.Append(record);
        list.AddString(record.Title());
    }
    bool Run(std::string_view path = "/books/book.txt") {
        return RunGenerateChecks(book, list, model, host, path);
    }

    std::string text;
    HeadlessRichEdit view;
    CMyRECtrl book{view};
    HeadlessListBox list;
    ChapterModel model;
    RecordingHost host;
};

TEST_F(GenerateChecksTest, PassingBookLeavesCurrentLengths) {
    Load("第一章\r\n正文一\r\n第二章\r\n正文二");
    Chapter("第一章");
    Chapter("第二章");
    model.RecordAt(0)->length = 99999;  // from an earlier text
    EXPECT_TRUE(Run());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(model.TextLength(), text.size());
    EXPECT_EQ(model.RecordAt(0)->length, 16u);
    EXPECT_EQ(model.RecordAt(1)->length, text.size() - 16);
}

TEST_F(GenerateChecksTest, SizeLimitIsJudgedOnTheCurrentText) {
    // Lengths are 0 (chapters added since the last computation): they must not let it through.
    Load("第一章\r\n" + Filler(30720 - 8) + "第二章\r\n正文");
    Chapter("第一章");
    Chapter("第二章");
    EXPECT_TRUE(Run());
    EXPECT_EQ(model.RecordAt(0)->length, 30720u);

    model.Clear();
    list.SetSel(false, -1);
    while (list.GetCount() > 0) list.DeleteString(0);
    Load("第一章\r\n" + Filler(30721 - 8) + "第二章\r\n正文");
    Chapter("第一章");
    Chapter("第二章");
    EXPECT_FALSE(Run());
    EXPECT_EQ(host.messages, std::vector<std::string>{"第一章字数超过30K，不能生成QBR！"});
    EXPECT_EQ(host.captions[0], MessageCaption::kNone);
}

TEST_F(GenerateChecksTest, EmptyOnlyWhenTheLengthIsTheHeadingItself) {
    // The heading with its CR LF is not empty for generation.
    Load("第一章\r\n正文\r\n第二章\r\n");
    Chapter("第一章");
    Chapter("第二章");
    EXPECT_TRUE(Run());

    Load("第一章\r\n正文\r\n第二章");
    EXPECT_FALSE(Run());
    EXPECT_EQ(host.messages, std::vector<std::string>{"第二章为空，不能生成QBR！"});
}

TEST_F(GenerateChecksTest, ChapterOfTheTitlesLengthButOtherTextIsNotEmpty) {
    // A renamed last chapter whose text happens to be as long as its new title.
    Load("第一章\r\n正文\r\n第二章\r\n正文");
    Chapter("第一章");
    Chapter("第二章");
    model.RecordAt(1)->SetTitle(G("第2章 标题12"));  // 12 bytes, like "第二章\r\n正文"
    list.DeleteString(1);
    list.AddString(model.RecordAt(1)->Title());
    EXPECT_TRUE(Run()) << U(host.messages.empty() ? "" : host.messages[0]);
}

TEST_F(GenerateChecksTest, DuplicateTitleNamesTheLaterChapterFirst) {
    Load("第一章\r\n正文\r\n第二章\r\n正文\r\n第二章 \r\n正文\r\n第二章\r\n正文");
    Chapter("第一章");
    Chapter("第二章");
    Chapter("第二章 ");
    Chapter("第二章", 2);
    EXPECT_FALSE(Run());
    EXPECT_EQ(host.messages, std::vector<std::string>{"“第二章”与“第二章”章节重复，不能生成QBR！"});
}

TEST_F(GenerateChecksTest, HeadingMustStartItsLine) {
    // An earlier mention inside a line (a table of contents) does not count.
    Load("第一章 目录：第二章\r\n正文\r\n第二章\r\n正文");
    Chapter("第一章 目录：第二章");
    Chapter("第二章", 1);
    EXPECT_TRUE(Run());

    Load("第一章\r\n正文 第二章\r\n正文");
    model.RecordAt(1)->offset = 8;  // the line that holds the heading in its middle
    EXPECT_FALSE(Run());
    EXPECT_EQ(host.messages, std::vector<std::string>{"第二章行首不是文字内容，不能生成QBR！"});
}

TEST_F(GenerateChecksTest, ChapterRulesComeBeforeTheBookRulesAndOnlyTheFirstIsShown) {
    Load("第一章\r\n" + Filler(40000));
    Chapter("第一章");
    EXPECT_FALSE(Run("/books/" + std::string(40, 'n') + ".txt"));
    EXPECT_EQ(host.messages, std::vector<std::string>{"第一章字数超过30K，不能生成QBR！"});
}

TEST_F(GenerateChecksTest, BookRulesInTheirOrder) {
    Load("第一章\r\n正文\r\n第二章\r\n正文");
    Chapter("第一章");
    EXPECT_FALSE(Run());
    // The count comes from the chapter list.
    ChapterRecord extra;
    extra.SetTitle(G("第二章"));
    extra.offset = 14;
    model.Append(extra);
    EXPECT_FALSE(Run());
    list.AddString(extra.Title());
    model.RecordAt(0)->offset = 2;
    EXPECT_FALSE(Run());
    model.RecordAt(0)->offset = 0;
    EXPECT_FALSE(Run("/书库/" + std::string(31, 'a') + ".txt"));
    EXPECT_TRUE(Run());
    EXPECT_EQ(host.messages, (std::vector<std::string>{"请至少添加2个章节", "请至少添加2个章节",
                                                       "第一个章节头必须是文件开始",
                                                       "QBR文件名不能超过15个汉字"}));
}

TEST(BookFileNameTest, MeasuresTheNameInGbkBytes) {
    std::string fifteen;
    for (int i = 0; i < 15; ++i) fifteen += "书";
    EXPECT_EQ(BookFileNameBytes("/home/用户/很长很长很长很长很长的文件夹/" + fifteen + ".txt"),
              34u);
    EXPECT_EQ(BookFileNameBytes(fifteen + "书.txt"), 36u);
    EXPECT_EQ(BookFileNameBytes(""), 0u);
    EXPECT_EQ(BookFileNameBytes("/books/"), 0u);
}

TEST_F(GenerateChecksTest, FileNameOfFifteenChineseCharactersPasses) {
    Load("第一章\r\n正文\r\n第二章\r\n正文");
    Chapter("第一章");
    Chapter("第二章");
    std::string fifteen;
    for (int i = 0; i < 15; ++i) fifteen += "书";
    EXPECT_TRUE(Run("/书库/" + fifteen + ".txt"));
    EXPECT_TRUE(Run(""));
    EXPECT_FALSE(Run("/书库/" + fifteen + "书.txt"));
    EXPECT_EQ(host.messages, std::vector<std::string>{"QBR文件名不能超过15个汉字"});
}

// Lines of 100 bytes; the chapter headings A, B, C start lines 0, 5 and 4.
std::string HundredByteLines(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) {
        char head = i == 0 ? 'A' : i == 5 ? 'B' : i == 4 ? 'C' : 'x';
        text += head + std::string(97, 'y') + "\r\n";
    }
    return text;
}

TEST_F(GenerateChecksTest, OffsetFaultIsReportedLastAndStaleLengthsAreNotJudged) {
    Load(HundredByteLines(6));
    ChapterAt("A", 0);
    ChapterAt("B", 500);
    ChapterAt("C", 400);
    model.RecordAt(2)->length = 40000;  // stale, from another text
    EXPECT_FALSE(Run());
    EXPECT_EQ(host.messages, std::vector<std::string>{"第2章偏移错误"});
    EXPECT_EQ(model.RecordAt(0)->length, 500u);
}

TEST_F(GenerateChecksTest, LastChapterAtOrBeyondTheEndIsAnOffsetFault) {
    Load(HundredByteLines(5));  // 500 bytes
    ChapterAt("A", 0);
    ChapterAt("C", 400);
    EXPECT_TRUE(Run());
    model.RecordAt(1)->offset = 500;
    EXPECT_FALSE(Run());
    model.RecordAt(1)->offset = 700;
    EXPECT_FALSE(Run());
    EXPECT_EQ(host.messages, (std::vector<std::string>{"第2章偏移错误", "第2章偏移错误"}));

    // A single chapter in an empty text.
    ChapterModel single;
    ChapterRecord record;
    record.SetTitle("A");
    single.Append(record);
    bool beyond = false;
    EXPECT_EQ(ComputeChapterLengths(single, 0, &beyond), 1u);
    EXPECT_FALSE(beyond);
    EXPECT_EQ(ComputeChapterLengths(single, 10, &beyond), 0u);
    EXPECT_EQ(single.RecordAt(0)->length, 10u);
}

TEST(FormatGbkMessageTest, FillsNumbersAndGbkTextsInOrder) {
    std::string title = G("第一章") + "\x81\x40";
    EXPECT_EQ(FormatGbkMessage("“%s”与“%s”[Line %d]！", {title, "B", int64_t{12}}),
              G("“") + title + G("”与“") + "B" + G("”[Line 12]！"));
    // A format without enough values keeps its remaining placeholders.
    EXPECT_EQ(FormatGbkMessage("%d%%s", {int64_t{-3}}), "-3%%s");
}

}  // namespace
}  // namespace brisna
