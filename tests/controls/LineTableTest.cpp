#include <gtest/gtest.h>

#include "controls/CMyRECtrl.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

std::string Joined(const std::vector<std::string>& parts) {
    std::string all;
    for (const std::string& part : parts) all += part;
    return all;
}

TEST(LineTable, FourLinesWithABlankOneAndEveryLookup) {
    HeadlessRichEdit view;
    view.SetText(G("甲\r\n\r\n乙\r\n丙"));
    CMyRECtrl control(view);
    control.RebuildLineTable();

    EXPECT_EQ(control.LineStarts(), (std::vector<uint32_t>{0, 4, 6, 10}));
    EXPECT_EQ(control.LineTexts(),
              (std::vector<std::string>{G("甲\r\n"), "\r\n", G("乙\r\n"), G("丙")}));

    EXPECT_EQ(control.LineOfOffset(6), 2);
    EXPECT_EQ(control.LineOfOffset(5), 0);
    EXPECT_EQ(control.LineOfOffset(0), 0);
    EXPECT_EQ(control.LineContainingOffset(5), 1);
    EXPECT_EQ(control.LineContainingOffset(11), 3);
    EXPECT_EQ(control.LineContainingOffset(4), 1);
    EXPECT_EQ(control.LineContainingOffset(0), 0);
    EXPECT_EQ(control.LineContainingOffset(-7), 0);
    EXPECT_EQ(control.LineContainingOffset(5000), 3);
    EXPECT_EQ(control.NextShortLine(0), 1);
    EXPECT_EQ(control.NextShortLine(1), 3);
    EXPECT_EQ(control.NextShortLine(3), -1);
    EXPECT_EQ(control.NextShortLine(-1), 1);
    EXPECT_EQ(control.FirstLineContaining(G("乙")), 2);
    EXPECT_EQ(control.FirstLineContaining(G("丁")), 0);
    EXPECT_EQ(control.FirstLineContaining(""), 0);

    EXPECT_EQ(control.LineStartOffset(3), 10u);
    EXPECT_EQ(control.LineStartOffset(4), std::nullopt);
    EXPECT_EQ(control.LineStartOffset(-1), std::nullopt);
}

TEST(LineTable, EmptyTextAndTrailingParagraphMark) {
    HeadlessRichEdit view;
    CMyRECtrl control(view);
    control.RebuildLineTable();
    EXPECT_EQ(control.LineStarts(), (std::vector<uint32_t>{0}));
    EXPECT_EQ(control.LineTexts(), (std::vector<std::string>{""}));
    EXPECT_EQ(control.NextShortLine(-1), 0);

    view.SetText(G("一行\r\n二行\r\n"));
    control.RebuildLineTable();
    EXPECT_EQ(control.LineStarts(), (std::vector<uint32_t>{0, 6, 12}));
    EXPECT_EQ(control.LineTexts().back(), "");
    EXPECT_EQ(control.LineOfOffset(12), 2);
}

TEST(LineTable, StaleUntilRebuilt) {
    HeadlessRichEdit view;
    view.SetText("a\r\nb");
    CMyRECtrl control(view);
    control.RebuildLineTable();
    view.SetText("a\r\nb\r\nc");
    EXPECT_EQ(control.LineStartOffset(2), std::nullopt);
    control.RebuildLineTable();
    EXPECT_EQ(control.LineStartOffset(2), 6u);
}

TEST(LineTable, WrappedParagraphHasNoParagraphMarkBetweenItsLines) {
    // Eight columns: four double-byte characters per display line.
    HeadlessRichEdit view(8);
    view.SetText(G("一二三四五六\r\nab"));
    CMyRECtrl control(view);
    control.RebuildLineTable();
    EXPECT_EQ(control.LineStarts(), (std::vector<uint32_t>{0, 8, 14}));
    EXPECT_EQ(control.LineTexts(), (std::vector<std::string>{G("一二三四"), G("五六\r\n"), "ab"}));
    EXPECT_EQ(control.LineContainingOffset(9), 1);

    // Narrower: the same paragraph takes more lines, and the table follows on rebuild.
    view.SetWrapColumns(4);
    control.RebuildLineTable();
    EXPECT_EQ(control.LineStarts(), (std::vector<uint32_t>{0, 4, 8, 14}));
    EXPECT_EQ(Joined(control.LineTexts()), view.GetText());
}

TEST(LineTable, ManyParagraphsKeepExactStarts) {
    std::string text;
    std::vector<uint32_t> starts;
    for (int i = 0; i < 150; ++i) {
        starts.push_back(static_cast<uint32_t>(text.size()));
        text += G("第") + std::to_string(i) + G("段文字") + "\r\n";
        starts.push_back(static_cast<uint32_t>(text.size()));
        text += "\r\n";  // a blank line between paragraphs
    }
    starts.push_back(static_cast<uint32_t>(text.size()));
    HeadlessRichEdit view;
    view.SetText(text);
    CMyRECtrl control(view);
    control.RebuildLineTable();
    EXPECT_EQ(control.LineStarts(), starts);
    EXPECT_EQ(control.LineOfOffset(starts[198]), 198);
    EXPECT_EQ(Joined(control.LineTexts()), text);
}

TEST(LineTable, InvalidBytesKeepTheirPlace) {
    // A lone lead byte before a paragraph mark and an unassigned pair round-trip through the view.
    std::string text = std::string("\x81\r\n", 3) + std::string("\xA2\xA0", 2) + G("好") + "\r\nz";
    HeadlessRichEdit view;
    view.SetText(text);
    ASSERT_EQ(view.GetText(), text);
    CMyRECtrl control(view);
    control.RebuildLineTable();
    EXPECT_EQ(control.LineStarts(), (std::vector<uint32_t>{0, 3, 9}));
    EXPECT_EQ(Joined(control.LineTexts()), text);
}

}  // namespace
}  // namespace brisna
