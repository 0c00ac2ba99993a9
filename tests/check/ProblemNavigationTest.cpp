#include "check/ProblemNavigation.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

std::optional<std::string> Str(std::optional<std::string_view> part) {
    if (!part) return std::nullopt;
    return std::string(*part);
}

TEST(ProblemEntryParsing, LineNumbers) {
    EXPECT_EQ(EntryLineNumber(G("可疑字（12）[Line 34]：某！")), 34);
    EXPECT_EQ(EntryLineNumber(G("[Line 40]为空行")), 40);
    EXPECT_EQ(EntryLineNumber(G("“甲”与“甲”章节重复，不能生成QBR[Line 7]！")), 7);
    // The number stops at the first non-digit and never runs past the entry.
    EXPECT_EQ(EntryLineNumber("[Line 12x3]"), 12);
    EXPECT_EQ(EntryLineNumber("[Line 7"), 7);
    EXPECT_EQ(EntryLineNumber("[Line ]"), 0);
    EXPECT_EQ(EntryLineNumber("[Line 99999999999999]"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(EntryLineNumber(G("缺少第三！")), std::nullopt);
    EXPECT_EQ(EntryLineNumber("[Line"), std::nullopt);
}

TEST(ProblemEntryParsing, WordsAndGarbledBytes) {
    EXPECT_EQ(Str(EntryPayload(G("可疑字（1）[Line 2]：妈的！"))), G("妈的"));
    // A word holding "！" itself is read up to the "！" that ends the entry.
    EXPECT_EQ(Str(EntryPayload(G("可疑字（1）[Line 2]：啊！呀！"))), G("啊！呀"));
    // Garbled pairs are taken byte for byte, also when they upset the character boundaries.
    std::string pair("\x80\xA3", 2);
    EXPECT_EQ(Str(EntryPayload(G("乱码[Line 3]：") + pair + G("！"))), pair);
    EXPECT_EQ(Str(EntryPayload(G("乱码[Line 3]：") + std::string("\x81\x40", 2) + G("！"))),
              std::string("\x81\x40", 2));
    // Entries that were cut short.
    EXPECT_EQ(Str(EntryPayload(G("可疑字（1）[Line 2]：某！后"))), G("某"));
    EXPECT_EQ(EntryPayload(G("可疑字（1）[Line 2]：某")), std::nullopt);
    EXPECT_EQ(EntryPayload(G("可疑字（1）[Line 2]")), std::nullopt);
    EXPECT_EQ(Str(EntryPayload(G("：！"))), "");
}

TEST(ProblemEntryParsing, Titles) {
    EXPECT_EQ(
        Str(EntryDuplicateTitle(G("“第一章 风起”与“第一章 风起”章节重复，不能生成QBR[Line 9]！"))),
        G("第一章 风起"));
    // Both titles are the same, so a title holding the separator is still split right.
    EXPECT_EQ(Str(EntryDuplicateTitle(G("“甲”与“乙”与“甲”与“乙”章节重复，不能生成QBR[Line 1]！"))),
              G("甲”与“乙"));
    // A title cut inside a double-byte character keeps its odd byte.
    std::string cut = G("第一章") + "\xB7";
    EXPECT_EQ(Str(EntryDuplicateTitle(G("“") + cut + G("”与“") + cut +
                                      G("”章节重复，不能生成QBR[Line 1]！"))),
              cut);
    // Not in the usual form: the text before the first separator, without the opening quote.
    EXPECT_EQ(Str(EntryDuplicateTitle(G("“甲”与“乙”章节重复"))), G("甲"));
    EXPECT_EQ(Str(EntryDuplicateTitle(G("”与“章节重复"))), "");
    EXPECT_EQ(EntryDuplicateTitle(G("章节重复")), std::nullopt);

    EXPECT_EQ(Str(EntryOverlongTitle(G("第三章 大战字数超过30K，不能生成QBR！"))),
              G("第三章 大战"));
    EXPECT_EQ(Str(EntryOverlongTitle(G("论字数超过30K字数超过30K，不能生成QBR！"))),
              G("论字数超过30K"));
    EXPECT_EQ(Str(EntryOverlongTitle(G("第三章字数超过30K"))), G("第三章"));
    EXPECT_EQ(EntryOverlongTitle(G("第三章为空，不能生成QBR！")), std::nullopt);
}

// A book of numbered lines 行0 .. 行59 in a view that shows 20 lines at a time.
class Navigation : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string text;
        for (int i = 0; i < 60; ++i) text += "行" + std::to_string(i) + "\r\n";
        Load(G(text));
        view.SetVisibleLines(20);
    }
    void Load(const std::string& gbk) {
        view.SetText(gbk);
        bookText.RebuildLineTable();
    }
    void Select(const std::string& gbkEntry) { ShowProblemOnSelection(gbkEntry, bookText, words); }
    void DoubleClick(const std::string& gbkEntry) { ShowProblemOnDoubleClick(gbkEntry, bookText); }
    void ExpectNothingShown() {
        EXPECT_TRUE(view.HighlightedRanges().empty());
        EXPECT_EQ(view.GetSelection(), (CharRange{0, 0}));
        EXPECT_EQ(view.GetFirstVisibleLine(), 0);
    }

    HeadlessRichEdit view;
    CMyRECtrl bookText{view};
    std::vector<std::string> words{G("行1")};
};

TEST_F(Navigation, SuspiciousWordIsShownFromTheStartOfItsLine) {
    // 行1 also begins 行10 .. 行19; the entry for line 12 shows the match on line 12, whatever
    // the running number.
    Select(G("可疑字（345）[Line 12]：行1！"));
    int32_t line12 = view.LineIndex(12);
    ASSERT_EQ(view.HighlightedRanges().size(), 1u);
    EXPECT_EQ(view.HighlightedRanges()[0], (CharRange{line12, line12 + 2}));
    EXPECT_EQ(view.GetSelection(), (CharRange{line12, line12 + 2}));

    // A word taken off the list since the test, and entries pointing past the text, show nothing.
    words = {G("行2")};
    size_t before = view.HighlightedRanges().size();
    Select(G("可疑字（1）[Line 12]：行1！"));
    Select(G("可疑字（1）[Line 5000]：行2！"));
    EXPECT_EQ(view.HighlightedRanges().size(), before);
}

TEST_F(Navigation, GarbledPairIsShownOnSelection) {
    Load(G("甲\r\n乙") + std::string("\x81\x30", 2) + G("丙\r\n") + std::string("\x81\x30", 2));
    Select(G("乱码[Line 1]：") + std::string("\x81\x30", 2) + G("！"));
    ASSERT_EQ(view.HighlightedRanges().size(), 1u);
    // 乙 is character 2 of line 1; the stray lead byte and the '0' are characters 3 and 4.
    EXPECT_EQ(view.HighlightedRanges()[0], (CharRange{3, 5}));
}

TEST_F(Navigation, EmptyLineEntryScrollsItsLineToTheTop) {
    Select(G("[Line 40]为空行"));
    EXPECT_EQ(view.GetFirstVisibleLine(), 40);
    view.ScrollLines(10);
    Select(G("[Line 12]为空行"));
    EXPECT_EQ(view.GetFirstVisibleLine(), 12);
    EXPECT_TRUE(view.HighlightedRanges().empty());
    EXPECT_EQ(view.GetSelection(), (CharRange{0, 0}));
}

TEST_F(Navigation, EachKindReactsOnlyToItsOwnNotification) {
    DoubleClick(G("可疑字（1）[Line 12]：行1！"));
    DoubleClick(G("[Line 40]为空行"));
    DoubleClick(G("乱码[Line 1]：行1！"));
    Select(G("“行3”与“行3”章节重复，不能生成QBR[Line 3]！"));
    Select(G("行3字数超过30K，不能生成QBR！"));
    Select(G("第3章偏移错误"));
    Select(G("缺少第三！"));
    DoubleClick(G("不足两章，不能生成QBR！"));
    ExpectNothingShown();
}

TEST_F(Navigation, DuplicateShowsTheFirstOccurrenceInTheWholeText) {
    view.SetSelection({50, 50});
    DoubleClick(G("“行3”与“行3”章节重复，不能生成QBR[Line 33]！"));
    int32_t line3 = view.LineIndex(3);
    EXPECT_EQ(view.GetSelection(), (CharRange{line3, line3 + 2}));
    ASSERT_EQ(view.HighlightedRanges().size(), 1u);
}

// Character position of a byte offset of the text, a paragraph mark counting once.
int32_t CharPositionOfByte(const std::string& gbk, size_t byteOffset) {
    int32_t position = 0;
    size_t i = 0;
    while (i < byteOffset) {
        unsigned char byte = static_cast<unsigned char>(gbk[i]);
        i += (byte == '\r' && gbk[i + 1] == '\n') || byte >= 0x81 ? 2 : 1;
        ++position;
    }
    return position;
}

TEST_F(Navigation, OverlongChapterPutsTheCaretAtTheSizeLimit) {
    // The title first occurs in the table of contents on line 1; that line is measured from.
    std::string text = G("目录\r\n第二章 长篇\r\n第一章 开篇\r\n正文\r\n第二章 长篇\r\n") +
                       std::string(40000, 'a') + "\r\n";
    Load(text);
    DoubleClick(G("第二章 长篇字数超过30K，不能生成QBR！"));
    int32_t expected = CharPositionOfByte(text, 6 + 30720);
    EXPECT_EQ(view.GetSelection(), (CharRange{expected, expected}));
    EXPECT_TRUE(view.HighlightedRanges().empty());
}

TEST_F(Navigation, OverlongChapterInWrappedLinesOfOneRepeatedCharacter) {
    // Every display line of the paragraph starts with the character the previous one ends
    // with; the caret must still land on the exact byte.
    std::string text = G("第一章 长\r\n") + std::string(40000, '.') + "\r\n";
    view.SetWrapColumns(64);
    Load(text);
    DoubleClick(G("第一章 长字数超过30K，不能生成QBR！"));
    int32_t expected = CharPositionOfByte(text, 30720);
    EXPECT_EQ(view.GetSelection(), (CharRange{expected, expected}));
}

TEST_F(Navigation, OverlongChapterLimitAtALineStart) {
    // 第一章 CR LF is 8 bytes and every body line 8 more, so byte 30720 starts line 3840.
    std::string text = G("第一章\r\n");
    for (int i = 0; i < 4000; ++i) text += "aaaaaa\r\n";
    Load(text);
    DoubleClick(G("第一章字数超过30K，不能生成QBR！"));
    int32_t lineStart = view.LineIndex(3840);
    EXPECT_EQ(view.GetSelection(), (CharRange{lineStart, lineStart}));
}

TEST_F(Navigation, OverlongChapterAfterTheTextChangedEndsQuietly) {
    std::string text = G("第一章\r\n") + std::string(40000, 'b') + "\r\n";
    Load(text);
    // Edited by hand: the line table is stale and its lines lie past the end of the text.
    view.SetText(G("甲乙"));
    view.SetSelection({1, 1});
    DoubleClick(G("第一章字数超过30K，不能生成QBR！"));
    EXPECT_EQ(view.GetSelection(), (CharRange{1, 1}));
    view.SetText(G("第一章\r\n"));
    DoubleClick(G("第一章字数超过30K，不能生成QBR！"));
    EXPECT_EQ(view.GetSelection(), (CharRange{0, 0}));
}

TEST_F(Navigation, ListNotificationsActOnTheCaretItem) {
    HeadlessListBox problems;
    OnProblemListSelectionChanged(problems, bookText, words);
    OnProblemListDoubleClicked(problems, bookText);
    ExpectNothingShown();

    problems.AddString(G("[Line 40]为空行"));
    problems.AddString(G("[Line 30]为空行"));
    problems.SetSel(true, 1);
    OnProblemListSelectionChanged(problems, bookText, words);
    EXPECT_EQ(view.GetFirstVisibleLine(), 30);
}

}  // namespace
}  // namespace brisna
