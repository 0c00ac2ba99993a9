#include "check/TestCommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/ProblemKinds.h"
#include "check/ValidationRules.h"
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

class TestCommandTest : public ::testing::Test {
  protected:
    void LoadGbk(std::string gbk) {
        text = std::move(gbk);
        view.SetText(text);
        book.RebuildLineTable();
    }
    void Load(std::string_view utf8) { LoadGbk(G(utf8)); }
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
        chapterList.AddString(record.Title());
    }
    // The entries as UTF-8 (garbled bytes show as private-use characters).
    std::vector<std::string> Run(std::string_view path = "/books/book.txt") {
        RunTestCommand(book, chapterList, problems, model, words, path);
        std::vector<std::string> entries;
        for (const std::string& entry : problems.Texts()) entries.push_back(U(entry));
        return entries;
    }
    std::vector<intptr_t> Marks() const {
        std::vector<intptr_t> marks;
        for (int32_t i = 0; i < chapterList.GetCount(); ++i) {
            marks.push_back(chapterList.GetItemData(i));
        }
        return marks;
    }

    std::string text;
    HeadlessRichEdit view;
    CMyRECtrl book{view};
    HeadlessListBox chapterList;
    HeadlessListBox problems;
    ChapterModel model;
    std::vector<std::string> words;
};

using Entries = std::vector<std::string>;

TEST_F(TestCommandTest, CleanBookGivesNoEntries) {
    Load("第一章\r\n正文一\r\n第二章\r\n正文二");
    Chapter("第一章");
    Chapter("第二章");
    words = {G("坏")};
    EXPECT_EQ(Run(), Entries{});
    EXPECT_EQ(Marks(), (std::vector<intptr_t>{0, 0}));
    EXPECT_EQ(chapterList.Invalidations(), 0);
    EXPECT_EQ(model.RecordAt(0)->length, 16u);
}

TEST_F(TestCommandTest, SuspiciousWordsAreNumberedOverTheWholeRun) {
    Load("第一章\r\n坏事和差事\r\n第二章\r\n又坏又差");
    Chapter("第一章");
    Chapter("第二章");
    words = {G("坏"), "", G("没有"), G("差")};
    EXPECT_EQ(Run(), (Entries{"可疑字（1）[Line 1]：坏！", "可疑字（2）[Line 3]：坏！",
                              "可疑字（3）[Line 1]：差！", "可疑字（4）[Line 3]：差！"}));
    ASSERT_EQ(view.HighlightedRanges().size(), 4u);
    EXPECT_EQ(view.HighlightedRanges()[0], (CharRange{4, 5}));
    EXPECT_EQ(view.HighlightedRanges()[3], (CharRange{17, 18}));
    // The selection stays on the last match.
    EXPECT_EQ(view.GetSelection(), (CharRange{17, 18}));
}

TEST_F(TestCommandTest, WordAtTheVeryFirstByteIsSkippedEverywhere) {
    Load("坏第一章\r\n坏\r\n第二章\r\n正文坏");
    ChapterAt("坏第一章", 0);
    Chapter("第二章");
    words = {G("坏"), G("一章")};
    EXPECT_EQ(Run(), (Entries{"可疑字（1）[Line 0]：一章！"}));
    EXPECT_EQ(view.HighlightedRanges().size(), 1u);

    // One byte further in, every occurrence counts (and the heading no longer starts its line).
    Load(" 坏第一章\r\n坏\r\n第二章\r\n正文坏");
    words = {G("坏")};
    EXPECT_EQ(Run(),
              (Entries{"可疑字（1）[Line 0]：坏！", "可疑字（2）[Line 1]：坏！",
                       "可疑字（3）[Line 3]：坏！", "坏第一章行首不是文字内容，不能生成QBR！"}));
}

TEST_F(TestCommandTest, PairsOutsideGb2312AreGarbled) {
    // 0x81 0x40 is GBK but not GB2312; 0xB0 0xA1 is GB2312; 0xA1 0x40 has a bad trail byte.
    LoadGbk(G("第一章\r\n") + "a\x81\x40" + G("正") + "\xB0\xA1" + "\xA1\x40" +
            G("\r\n第二章\r\n文"));
    Chapter("第一章");
    Chapter("第二章");
    RunTestCommand(book, chapterList, problems, model, words, "/books/book.txt");
    std::vector<std::string> entries = problems.Texts();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], G("乱码[Line 1]：") + "\x81\x40" + G("！"));
    EXPECT_EQ(entries[1], G("乱码[Line 1]：") + "\xA1\x40" + G("！"));
    // The last line holds one double-byte character and no line break: it is short.
    EXPECT_EQ(U(entries[2]), "[Line 3]为空行");
    // Garbled pairs are selected, never highlighted.
    EXPECT_TRUE(view.HighlightedRanges().empty());
}

TEST_F(TestCommandTest, TextsTooShortForAPairHaveNoGarbledEntries) {
    for (std::string text : {std::string(), std::string("\x81"), std::string("a\x81")}) {
        LoadGbk(text);
        for (const std::string& entry : Run()) EXPECT_EQ(entry.find("乱码"), std::string::npos);
    }
}

TEST_F(TestCommandTest, ShortLinesAreListedAsEmpty) {
    Load("第一章\r\n\r\n正文\r\n\r\n第二章\r\n正文\r\n");
    Chapter("第一章");
    Chapter("第二章");
    EXPECT_EQ(Run(), (Entries{"[Line 1]为空行", "[Line 3]为空行", "[Line 6]为空行"}));
}

TEST_F(TestCommandTest, FindingsBeyondTheBoundAreCountedInOneEntryBeforeTheChapterEntries) {
    // Garbled pairs and blank lines draw on one bound; the chapter entries always follow.
    const size_t pairs = kMaxListedFindings - 5;
    std::string gbk = G("第一章\r\n");
    for (size_t i = 0; i < pairs; ++i) gbk += "\x81\x40";
    gbk += "\r\n";
    for (int i = 0; i < 12; ++i) gbk += "\r\n";
    LoadGbk(gbk + G("第一章\r\n文"));
    Chapter("第一章");
    Chapter("第一章", 1);
    const Entries entries = Run();
    ASSERT_GT(entries.size(), kMaxListedFindings + 1);
    EXPECT_EQ(entries[pairs - 1].rfind("乱码[Line 1]：", 0), 0u);
    EXPECT_EQ(entries[kMaxListedFindings - 1], "[Line 6]为空行");
    // 13 short lines (the last line holds one character), 5 of them listed.
    EXPECT_EQ(entries[kMaxListedFindings], "另有8个问题未列出！");
    EXPECT_EQ(Entries(entries.begin() + kMaxListedFindings + 1, entries.end()),
              (Entries{"第一章字数超过30K，不能生成QBR！",
                       "“第一章”与“第一章”章节重复，不能生成QBR[Line 14]！"}));
}

TEST_F(TestCommandTest, EmptyModelReportsOnlyTooFewChapters) {
    Load("正文内容");
    EXPECT_EQ(Run(), Entries{"不足两章，不能生成QBR！"});
}

TEST_F(TestCommandTest, BookRulesAreCheckedIndependently) {
    Load("前言\r\n第一章\r\n正文");
    Chapter("第一章");
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += "书";
    EXPECT_EQ(Run("/书库/" + sixteen + ".txt"),
              (Entries{"不足两章，不能生成QBR！", "第一个章节头不是文件开始，不能生成QBR",
                       "QBR文件名超过15个汉字，不能生成QBR！"}));
    std::string fifteen = sixteen.substr(3);
    EXPECT_EQ(Run("/书库/" + fifteen + ".txt"),
              (Entries{"不足两章，不能生成QBR！", "第一个章节头不是文件开始，不能生成QBR"}));
}

TEST_F(TestCommandTest, OffsetsOutOfOrderNameTheChapter) {
    std::string lines;
    for (int i = 0; i < 6; ++i) {
        char head = i == 0 ? 'A' : i == 5 ? 'B' : i == 4 ? 'C' : 'x';
        lines += head + std::string(97, 'y') + "\r\n";
    }
    LoadGbk(lines);
    ChapterAt("A", 0);
    ChapterAt("B", 500);
    ChapterAt("C", 400);
    EXPECT_EQ(Run(), (Entries{"[Line 6]为空行", "第2章偏移错误"}));
}

TEST_F(TestCommandTest, LastChapterPastTheEndIsAnOffsetFaultNotAnOverlongChapter) {
    Load("第一章\r\n正文\r\n第二章\r\n正文");
    Chapter("第一章");
    ChapterAt("第二章", 5000);
    EXPECT_EQ(Run(), (Entries{"第2章偏移错误"}));
    EXPECT_EQ(Marks(), (std::vector<intptr_t>{0, 0}));
}

TEST_F(TestCommandTest, SizeLimitAndEmptinessMarkTheChapter) {
    Load("第一章\r\n" + Filler(30720 - 8) + "第二章\r\n" + Filler(30721 - 8) +
         "第三章\r\n第四章\r\n正文");
    Chapter("第一章");
    Chapter("第二章");
    Chapter("第三章");
    Chapter("第四章");
    EXPECT_EQ(Run(), (Entries{"第二章字数超过30K，不能生成QBR！", "第三章为空，不能生成QBR！"}));
    EXPECT_EQ(Marks(), (std::vector<intptr_t>{0, 1, 1, 0}));
    EXPECT_EQ(chapterList.Invalidations(), 1);
}

TEST_F(TestCommandTest, HeadingFollowedOnlyByItsLineBreakIsEmptyForTheTestButNotForGenerate) {
    Load("第一章\r\n正文\r\n第二章\r\n");
    Chapter("第一章");
    Chapter("第二章");
    EXPECT_EQ(Run(), (Entries{"[Line 3]为空行", "第二章为空，不能生成QBR！"}));
    RecordingHost host;
    EXPECT_TRUE(RunGenerateChecks(book, chapterList, model, host, "/books/book.txt"));
}

TEST_F(TestCommandTest, EmptinessIsJudgedOnTheTextNotTheLength) {
    // Titles that do not stand in the text (renamed chapters): only their lengths match.
    Load("第一章\r\n正文一\r\n第二章\r\n正文\r\n第三章");
    ChapterAt("第1章 标题一二", 0);  // 14 bytes + 2 = "第一章\r\n正文一\r\n"
    ChapterAt("第2章 标题12", 16);   // 12 bytes + 2 = "第二章\r\n正文\r\n"
    Chapter("第三章");               // the heading alone at the end: generation refuses it
    EXPECT_EQ(Run(), (Entries{"第三章为空，不能生成QBR！"}));
    EXPECT_EQ(Marks(), (std::vector<intptr_t>{0, 0, 1}));
}

TEST_F(TestCommandTest, EveryPairOfEqualTitlesIsReportedAndTheLaterOneMarked) {
    Load("甲\r\n正文\r\n甲\r\n正文\r\n甲\r\n正文");
    Chapter("甲");
    Chapter("甲", 1);
    Chapter("甲", 2);
    EXPECT_EQ(Run(), (Entries{"“甲”与“甲”章节重复，不能生成QBR[Line 2]！",
                              "“甲”与“甲”章节重复，不能生成QBR[Line 4]！",
                              "“甲”与“甲”章节重复，不能生成QBR[Line 4]！"}));
    EXPECT_EQ(Marks(), (std::vector<intptr_t>{0, 1, 1}));
}

TEST_F(TestCommandTest, HeadingInsideALineIsReportedWithoutAMark) {
    Load("第一章\r\n正文\r\n正文 第二章\r\n正文");
    Chapter("第一章");
    ChapterAt("第二章", 14);
    EXPECT_EQ(Run(), (Entries{"第二章行首不是文字内容，不能生成QBR！"}));
    EXPECT_EQ(Marks(), (std::vector<intptr_t>{0, 0}));
}

TEST_F(TestCommandTest, MarksOutliveTheFaultAndEntriesAreReplaced) {
    Load("第一章\r\n" + Filler(31000) + "第二章\r\n正文");
    Chapter("第一章");
    Chapter("第二章");
    EXPECT_EQ(Run(), (Entries{"第一章字数超过30K，不能生成QBR！"}));
    EXPECT_EQ(Marks(), (std::vector<intptr_t>{1, 0}));

    // The chapter is shortened; its mark stays, and the list is still repainted for it.
    Load("第一章\r\n正文\r\n第二章\r\n正文");
    model.RecordAt(1)->offset = 14;
    EXPECT_EQ(Run(), Entries{});
    EXPECT_EQ(Marks(), (std::vector<intptr_t>{1, 0}));
    EXPECT_EQ(chapterList.Invalidations(), 2);
}

TEST_F(TestCommandTest, EntriesFollowTheOrderOfTheRules) {
    LoadGbk(G("第一章\r\n坏\r\n\r\n第一章\r\n正文") + "\x81\x40");
    Chapter("第一章");
    Chapter("第一章", 1);
    words = {G("坏")};
    EXPECT_EQ(Run(""),
              (Entries{"可疑字（1）[Line 1]：坏！", U(G("乱码[Line 4]：") + "\x81\x40" + G("！")),
                       "[Line 2]为空行", "“第一章”与“第一章”章节重复，不能生成QBR[Line 3]！"}));
}

// Each entry carries the kind its text has: suspicious words, garbled pairs, empty lines and the
// chapter and book rules, mixed in one run.
TEST_F(TestCommandTest, EntriesCarryTheirKindAsItemData) {
    LoadGbk(G("第一章\r\n坏事") + "\x81\x40" + G("\r\n\r\n第一章\r\n正文\r\n 第三章\r\n"));
    ChapterAt("第一章", 10);
    Chapter("第一章", 1);
    Chapter("第三章");
    words = {G("坏")};
    Run("/books/" + std::string(40, 'x') + ".txt");
    ASSERT_GE(problems.GetCount(), 6);
    ProblemCounts seen;
    for (int32_t row = 0; row < problems.GetCount(); ++row) {
        const ProblemKind kind = ProblemKindAt(problems, row);
        const std::string entry = U(problems.GetText(row));
        const ProblemKind expected = entry.starts_with("可疑字（") ? ProblemKind::kSuspicious
                                     : entry.starts_with("乱码[")  ? ProblemKind::kGarbled
                                     : entry.ends_with("]为空行")  ? ProblemKind::kEmptyLine
                                                                   : ProblemKind::kBlocking;
        EXPECT_EQ(kind, expected) << entry;
        if (kind == ProblemKind::kSuspicious) ++seen.suspicious;
        if (kind == ProblemKind::kGarbled) ++seen.garbled;
        if (kind == ProblemKind::kEmptyLine) ++seen.emptyLines;
        if (kind == ProblemKind::kBlocking) ++seen.blocking;
    }
    EXPECT_GT(seen.suspicious, 0u);
    EXPECT_GT(seen.garbled, 0u);
    EXPECT_GT(seen.emptyLines, 0u);
    EXPECT_GT(seen.blocking, 0u);
}

}  // namespace
}  // namespace brisna
