#include "controls/HeadlessRichEdit.h"

#include <gtest/gtest.h>

#include "controls/HeadlessListBox.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

TEST(HeadlessRichEdit, ParagraphMarksAreOneCharacterAndComeBackAsCrLf) {
    HeadlessRichEdit view;
    view.SetText(G("甲\r\n乙\r丙\n丁"));
    EXPECT_EQ(view.GetText(), G("甲\r\n乙\r\n丙\r\n丁"));
    EXPECT_EQ(view.GetTextLength(), 14);
    EXPECT_EQ(view.GetCharCount(), 7);
    EXPECT_EQ(view.GetLineCount(), 4);
    EXPECT_EQ(view.LineIndex(2), 4);
    EXPECT_EQ(view.LineIndex(4), -1);
    EXPECT_EQ(view.GetLine(1), G("乙") + "\r");
    EXPECT_EQ(view.GetLine(3), G("丁"));
    EXPECT_EQ(view.GetLine(4), "");
}

TEST(HeadlessRichEdit, EmptyTextHasOneLine) {
    HeadlessRichEdit view;
    EXPECT_EQ(view.GetLineCount(), 1);
    EXPECT_EQ(view.LineIndex(0), 0);
    EXPECT_EQ(view.GetLine(0), "");
    EXPECT_EQ(view.GetText(), "");
    EXPECT_EQ(view.FindText({0, -1}, "a"), (CharRange{-1, -1}));
}

TEST(HeadlessRichEdit, TextStopsAtNul) {
    HeadlessRichEdit view;
    view.SetText(std::string("ab\0cd", 5));
    EXPECT_EQ(view.GetText(), "ab");
}

TEST(HeadlessRichEdit, SelectionClampsAndLineFromCharFollowsIt) {
    HeadlessRichEdit view;
    view.SetText(G("一二\r\n三四\r\n五"));
    view.SetSelection({4, 5});
    EXPECT_EQ(view.GetSelection(), (CharRange{4, 5}));
    EXPECT_EQ(view.LineFromChar(-1), 1);
    view.SetSelection({0, -1});
    EXPECT_EQ(view.GetSelection(), (CharRange{0, 7}));
    view.SetSelection({50, 60});
    EXPECT_EQ(view.GetSelection(), (CharRange{7, 7}));
    EXPECT_EQ(view.LineFromChar(-1), 2);
    view.SetSelection({5, 2});
    EXPECT_EQ(view.GetSelection(), (CharRange{2, 5}));
    EXPECT_EQ(view.LineFromChar(-1), 0);
    EXPECT_EQ(view.LineFromChar(3), 1);
    EXPECT_EQ(view.LineFromChar(1000), 2);
}

// Long needles are searched in one pass; the answers are those of the candidate search.
TEST(HeadlessRichEdit, LongNeedlesAreFoundLikeShortOnes) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += (i % 7 == 3) ? "Ab" : "ab";
    const std::string gbkRun = test::G("啊啊啊啊啊啊啊啊啊啊");
    text += gbkRun + "xyz";
    HeadlessRichEdit view;
    view.SetText(text);
    struct Case {
        std::string needle;
        CharRange range;
        CharRange expected;
    } cases[] = {
        {text.substr(2, 60), {0, -1}, {0, 60}},  // Latin case folded: "ab" and "Ab" alike
        {text.substr(2, 100), {0, -1}, {0, 100}},
        {text.substr(2, 100), {3, -1}, {4, 104}},   // the next place it fits
        {text.substr(2, 100), {3, 100}, {-1, -1}},  // not within the range
        {text.substr(500, 100) + gbkRun + "xyz", {0, -1}, {500, 613}},
        {text.substr(500, 100) + gbkRun + "xyw", {0, -1}, {-1, -1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(view.FindText(c.range, c.needle), c.expected) << c.needle.size();
    }
}

TEST(HeadlessRichEdit, FindTextIsForwardBoundedAndFoldsOnlyLatinCase) {
    HeadlessRichEdit view;
    view.SetText(G("第一章 Intro\r\n正文ＡＢ\r\n第二章 intro"));
    EXPECT_EQ(view.FindText({0, -1}, "INTRO"), (CharRange{4, 9}));
    EXPECT_EQ(view.FindText({5, -1}, "INTRO"), (CharRange{19, 24}));
    // The match must end inside the range.
    EXPECT_EQ(view.FindText({5, 23}, "intro"), (CharRange{-1, -1}));
    // Full-width letters are not folded.
    EXPECT_EQ(view.FindText({0, -1}, G("ａｂ")), (CharRange{-1, -1}));
    EXPECT_EQ(view.FindText({0, -1}, G("ＡＢ")), (CharRange{12, 14}));
    // A CR LF in the needle matches a paragraph mark.
    EXPECT_EQ(view.FindText({0, -1}, "o\r\n" + G("正")), (CharRange{8, 11}));
    EXPECT_EQ(view.FindText({0, -1}, G("第二")), (CharRange{15, 17}));
    EXPECT_EQ(view.FindText({30, -1}, G("第")), (CharRange{-1, -1}));
}

TEST(HeadlessRichEdit, FindTextNeverMatchesAcrossCharacters) {
    // 癰 (B0 B0) followed by 啊 (B0 A1): the bytes B0 B0 A1 hold "B0 A1" across two characters.
    HeadlessRichEdit view;
    view.SetText(G("癰啊"));
    EXPECT_EQ(view.FindText({0, -1}, G("啊")), (CharRange{1, 2}));
    EXPECT_EQ(view.FindText({0, -1}, std::string("\xB0\xB0\xB0", 3)), (CharRange{-1, -1}));
    // Garbled pairs are found by their bytes.
    view.SetText(std::string("x\xFF\xFFy", 4));
    EXPECT_EQ(view.FindText({0, -1}, std::string("\xFF\xFF", 2)), (CharRange{1, 3}));
}

TEST(HeadlessRichEdit, ReplaceSelectionMovesTheCaretAndRelinesTheText) {
    HeadlessRichEdit view;
    view.SetText(G("繁體\r\n字"));
    view.SetSelection({1, 2});
    view.ReplaceSelection(G("体") + "\r\n");
    EXPECT_EQ(view.GetText(), G("繁体\r\n\r\n字"));
    EXPECT_EQ(view.GetSelection(), (CharRange{3, 3}));
    EXPECT_EQ(view.GetLineCount(), 3);
}

TEST(HeadlessRichEdit, HighlightsAreRecordedUntilTheTextIsReplaced) {
    HeadlessRichEdit view;
    view.SetText("abcdef");
    view.SetSelection({1, 3});
    view.ApplyHighlightToSelection();
    view.SetSelection({4, 4});
    view.ApplyHighlightToSelection();
    EXPECT_EQ(view.HighlightedRanges(), (std::vector<CharRange>{{1, 3}}));
    view.SetText("x");
    EXPECT_TRUE(view.HighlightedRanges().empty());
    EXPECT_EQ(view.GetSelection(), (CharRange{0, 0}));
}

TEST(HeadlessRichEdit, ScrollingIsClampedAndSelectionIsBroughtIntoView) {
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line\r\n";
    HeadlessRichEdit view;
    view.SetVisibleLines(10);
    view.SetText(text);
    view.ScrollLines(40);
    EXPECT_EQ(view.GetFirstVisibleLine(), 40);
    view.ScrollLines(-100);
    EXPECT_EQ(view.GetFirstVisibleLine(), 0);
    view.ScrollLines(1000);
    EXPECT_EQ(view.GetFirstVisibleLine(), 100);
    view.SetSelection({view.LineIndex(5), view.LineIndex(5)});
    EXPECT_EQ(view.GetFirstVisibleLine(), 5);
    view.SetSelection({view.LineIndex(30), view.LineIndex(30)});
    EXPECT_EQ(view.GetFirstVisibleLine(), 21);
}

TEST(HeadlessRichEdit, FocusStampsOrderControls) {
    HeadlessRichEdit view;
    HeadlessListBox list;
    view.SetFocus();
    list.SetFocus();
    EXPECT_GT(list.FocusStamp(), view.FocusStamp());
    view.SetFocus();
    EXPECT_GT(view.FocusStamp(), list.FocusStamp());
}

TEST(HeadlessRichEdit, WrapCountsTwoColumnsPerDoubleByteCharacter) {
    HeadlessRichEdit view(5);
    view.SetText(G("ab一二三四"));
    // "ab一" fills 4 columns, 二 would make 6: it starts the next line.
    EXPECT_EQ(view.GetLineCount(), 3);
    EXPECT_EQ(view.LineIndex(1), 3);
    EXPECT_EQ(view.LineIndex(2), 5);
    EXPECT_EQ(view.GetLine(0), "ab" + G("一"));
    EXPECT_EQ(view.GetLine(2), G("四"));
    EXPECT_EQ(view.LineFromChar(3), 1);
    view.SetWrapColumns(0);
    EXPECT_EQ(view.GetLineCount(), 1);
}

}  // namespace
}  // namespace brisna
