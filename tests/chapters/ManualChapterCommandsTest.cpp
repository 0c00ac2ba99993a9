#include "chapters/ManualChapterCommands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chapters/ChapterTitle.h"
#include "controls/DialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::RecordingHost;
using test::U;

class ChapterCommandsTest : public ::testing::Test {
  protected:
    // Lines are joined with CR LF.
    void Load(const std::vector<std::string>& lines) {
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) text += "\r\n";
            text += G(lines[i]);
        }
        view.SetText(text);
        book.RebuildLineTable();
    }
    void CaretOnLine(int32_t line, int32_t column = 0) {
        int32_t at = view.LineIndex(line) + column;
        view.SetSelection({at, at});
    }
    void AddAt(int32_t line) {
        CaretOnLine(line);
        AddChapterAtCaret(book, list, model, host);
    }
    int AppendAt(int32_t line, int32_t scanPosition = 0) {
        CaretOnLine(line);
        return AppendChapterAtCaretLine(book, list, model, host, scanPosition);
    }
    std::vector<std::string> ListTitles() const {
        std::vector<std::string> titles;
        for (const std::string& text : list.Texts()) titles.push_back(U(text));
        return titles;
    }
    std::vector<std::string> ModelTitles() const {
        std::vector<std::string> titles;
        for (uint32_t i = 0; i < model.Count(); ++i)
            titles.push_back(U(model.RecordAt(i)->Title()));
        return titles;
    }
    std::vector<uint32_t> Offsets() const {
        std::vector<uint32_t> offsets;
        for (uint32_t i = 0; i < model.Count(); ++i) offsets.push_back(model.OffsetAt(i));
        return offsets;
    }
    std::vector<int32_t> Selected() const { return list.GetSelItems(); }
    // Chapters A..E on lines 0..4, added in order (each after the previous caret item).
    void LoadFiveChapters() {
        Load({"A", "B", "C", "D", "E"});
        for (int32_t line = 0; line < 5; ++line) AddAt(line);
        ASSERT_EQ(ListTitles(), (std::vector<std::string>{"A", "B", "C", "D", "E"}));
    }

    HeadlessRichEdit view;
    CMyRECtrl book{view};
    HeadlessListBox list;
    ChapterModel model;
    RecordingHost host;
};

TEST_F(ChapterCommandsTest, FirstChapterMustBeOnTheFirstLine) {
    Load({"第一章 开端", "正文", "第二章 发展"});
    CaretOnLine(1);
    AddChapterAtCaret(book, list, model, host);
    EXPECT_EQ(host.messages, std::vector<std::string>{"第一个章节头必须是文件开始"});
    EXPECT_EQ(host.captions[0], MessageCaption::kNone);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(model.Count(), 0u);

    host.messages.clear();
    CaretOnLine(0, 3);  // anywhere on the first line
    AddChapterAtCaret(book, list, model, host);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(ListTitles(), std::vector<std::string>{"第一章 开端"});
    EXPECT_EQ(Offsets(), std::vector<uint32_t>{0});
    EXPECT_EQ(model.RecordAt(0)->length, 0u);
    EXPECT_EQ(Selected(), std::vector<int32_t>{0});

    AddAt(2);
    EXPECT_EQ(ListTitles(), (std::vector<std::string>{"第一章 开端", "第二章 发展"}));
    EXPECT_EQ(Offsets(), (std::vector<uint32_t>{0, 19}));
}

TEST_F(ChapterCommandsTest, TitleIsTheLineCutAtSixtyBytes) {
    std::string seventy(70, 'x');
    // One ASCII byte then double-byte characters: byte 60 falls inside a character.
    std::string odd = "a";
    for (int i = 0; i < 35; ++i) odd += "章";
    Load({"  第一章  开端  ", seventy, odd, "第四章"});
    AddAt(0);
    AddAt(1);
    AddAt(2);
    ASSERT_EQ(model.Count(), 3u);
    // Leading and trailing spaces belong to the title; the CR does not.
    EXPECT_EQ(U(model.RecordAt(0)->Title()), "  第一章  开端  ");
    EXPECT_EQ(model.RecordAt(1)->Title(), std::string(60, 'x'));
    std::string cut(model.RecordAt(2)->Title());
    ASSERT_EQ(cut.size(), 60u);
    EXPECT_EQ(cut, G(odd).substr(0, 60));  // the last character is cut in half
    EXPECT_EQ(list.GetText(2), cut);
}

TEST_F(ChapterCommandsTest, SameTitleIsRefusedByAddButNotByAppend) {
    Load({"第一章", "第一章"});
    AddAt(0);
    AddAt(1);
    EXPECT_EQ(host.messages, std::vector<std::string>{"已添加有同名的章节，添加章节失败"});
    EXPECT_EQ(model.Count(), 1u);
    EXPECT_EQ(list.GetCount(), 1);

    host.messages.clear();
    // The automatic append compares no titles: it takes the occurrence after the scan position.
    EXPECT_EQ(AppendAt(1, 1), 0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Offsets(), (std::vector<uint32_t>{0, 8}));
}

TEST_F(ChapterCommandsTest, AddInsertsRightAfterTheCaretItemWhateverItsOffset) {
    Load({"A", "B", "C", "new"});
    AddAt(0);
    AddAt(1);
    AddAt(2);
    list.SetSel(true, 2);  // C stays selected; the add must clear it
    list.SetSel(true, 0);  // caret on A
    AddAt(3);
    EXPECT_EQ(ListTitles(), (std::vector<std::string>{"A", "new", "B", "C"}));
    EXPECT_EQ(ModelTitles(), ListTitles());
    EXPECT_EQ(Offsets(), (std::vector<uint32_t>{0, 9, 3, 6}));
    EXPECT_EQ(Selected(), std::vector<int32_t>{1});
    EXPECT_EQ(list.GetCaretIndex(), 1);
}

TEST_F(ChapterCommandsTest, AddRefusesTheNinetyNinthChapter) {
    std::vector<std::string> lines;
    for (int i = 0; i < 99; ++i) lines.push_back("chapter " + std::to_string(i));
    Load(lines);
    for (int32_t line = 0; line < 98; ++line) AddAt(line);
    ASSERT_EQ(model.Count(), 98u);
    ASSERT_TRUE(host.messages.empty());
    AddAt(98);
    EXPECT_EQ(AppendAt(98), -1);
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"图书章节数量不能超过98章", "图书章节数量不能超过98章"}));
    EXPECT_EQ(model.Count(), 98u);
    EXPECT_EQ(list.GetCount(), 98);
}

TEST_F(ChapterCommandsTest, NothingToReadOnTheCaretLineIsRefused) {
    // A text that ends with CR LF has a last, empty display line.
    Load({"第一章", "正文", ""});
    AddAt(0);
    AddAt(2);
    EXPECT_EQ(AppendAt(2), -1);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"添加章节名失败", "添加章节名失败"}));
    EXPECT_EQ(model.Count(), 1u);
    EXPECT_EQ(list.GetCount(), 1);
}

TEST_F(ChapterCommandsTest, CaretLineMissingFromTheLineTableIsRefusedWithAMessage) {
    Load({"第一章", "正文"});
    AddAt(0);
    // Text typed since the table was built: the view has more lines than the table.
    view.SetText(G("第一章\r\n正文\r\n第二章\r\n更多"));
    AddAt(3);
    EXPECT_EQ(host.messages, std::vector<std::string>{"当前行超出行表范围，请重新打开图书"});
    EXPECT_EQ(model.Count(), 1u);
    EXPECT_EQ(list.GetCount(), 1);
}

TEST_F(ChapterCommandsTest, AppendTakesTheFirstOccurrenceAtOrAfterTheScanPosition) {
    // A table of contents names the chapter before its heading.
    Load({"目录", "第一章 起", "正文", "第一章 起", "正文"});
    EXPECT_EQ(AppendAt(0), 0);
    list.SetSel(true, 0);
    EXPECT_EQ(AppendAt(3, 10), 0);
    EXPECT_EQ(ListTitles(), (std::vector<std::string>{"目录", "第一章 起"}));
    EXPECT_EQ(Offsets(), (std::vector<uint32_t>{0, 23}));
    // The selection is left alone.
    EXPECT_EQ(Selected(), std::vector<int32_t>{0});
    EXPECT_EQ(model.RecordAt(1)->length, 0u);
}

TEST_F(ChapterCommandsTest, AppendRefusesATitleThatDoesNotOccurAfterTheScanPosition) {
    Load({"第一章", "正文", "第二章", "正文"});
    ASSERT_EQ(AppendAt(0), 0);
    EXPECT_EQ(AppendAt(2, 20), -1);  // 第二章 starts at byte 14
    EXPECT_EQ(AppendAt(2, 5000), -1);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"添加章节名失败", "添加章节名失败"}));
    EXPECT_EQ(model.Count(), 1u);
    EXPECT_EQ(list.GetCount(), 1);
}

TEST_F(ChapterCommandsTest, AppendChecksTheFirstLineAndCountsTheList) {
    Load({"第一章", "正文", "第二章"});
    EXPECT_EQ(AppendAt(2), -1);
    EXPECT_EQ(host.messages, std::vector<std::string>{"第一个章节头必须是文件开始"});
    EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(ChapterCommandsTest, MoveAtTheEdgesDoesNothing) {
    LoadFiveChapters();
    list.SetSel(false, -1);
    list.SetSel(true, 0);
    MoveChapterUp(list, model, host);
    list.SetSel(true, 4);
    MoveChapterDown(list, model, host);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(ListTitles(), (std::vector<std::string>{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(ModelTitles(), ListTitles());

    HeadlessListBox empty;
    ChapterModel none;
    MoveChapterUp(empty, none, host);
    MoveChapterDown(empty, none, host);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ChapterCommandsTest, MoveSwapsListAndModelAndClearsTheMarksOfBothItems) {
    LoadFiveChapters();
    list.SetSel(false, -1);
    list.SetItemData(1, 1);
    list.SetItemData(2, 1);
    list.SetItemData(4, 1);
    list.SetSel(true, 4);  // stays selected
    list.SetSel(true, 2);  // caret on C
    MoveChapterUp(list, model, host);
    EXPECT_EQ(ListTitles(), (std::vector<std::string>{"A", "C", "B", "D", "E"}));
    EXPECT_EQ(ModelTitles(), ListTitles());
    EXPECT_EQ(Offsets(), (std::vector<uint32_t>{0, 6, 3, 9, 12}));
    EXPECT_EQ(list.GetItemData(1), 0);
    EXPECT_EQ(list.GetItemData(2), 0);
    EXPECT_EQ(list.GetItemData(4), 1);
    EXPECT_EQ(list.GetCaretIndex(), 1);
    EXPECT_TRUE(list.IsSelected(1));
    EXPECT_TRUE(list.IsSelected(4));

    MoveChapterDown(list, model, host);
    MoveChapterDown(list, model, host);
    EXPECT_EQ(ListTitles(), (std::vector<std::string>{"A", "B", "D", "C", "E"}));
    EXPECT_EQ(ModelTitles(), ListTitles());
    EXPECT_EQ(Offsets(), (std::vector<uint32_t>{0, 3, 9, 6, 12}));
    EXPECT_EQ(list.GetCaretIndex(), 3);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ChapterCommandsTest, MoveRefusesWhenTheModelLacksARecord) {
    Load({"A", "B"});
    AddAt(0);
    list.AddString("B");  // an item without a record
    list.SetSel(true, 1);
    MoveChapterUp(list, model, host);
    list.SetSel(true, 0);
    MoveChapterDown(list, model, host);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"移动失败", "移动失败"}));
    EXPECT_EQ(ListTitles(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(ModelTitles(), std::vector<std::string>{"A"});
}

TEST_F(ChapterCommandsTest, DeleteRemovesTheSelectedItemsAndSelectsNearTheLastOne) {
    LoadFiveChapters();
    list.SetSel(false, -1);
    list.SetSel(true, 1);
    list.SetSel(true, 3);
    DeleteSelectedChapters(list, model, host);
    EXPECT_EQ(ListTitles(), (std::vector<std::string>{"A", "C", "E"}));
    EXPECT_EQ(ModelTitles(), ListTitles());
    EXPECT_EQ(Offsets(), (std::vector<uint32_t>{0, 6, 12}));
    EXPECT_EQ(Selected(), std::vector<int32_t>{2});

    list.SetSel(false, -1);
    list.SetSel(true, 0);
    DeleteSelectedChapters(list, model, host);
    EXPECT_EQ(ListTitles(), (std::vector<std::string>{"C", "E"}));
    EXPECT_EQ(Selected(), std::vector<int32_t>{0});  // q = 0 is still below m = 2
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ChapterCommandsTest, DeletingTheOnlyItemLeavesNothingSelected) {
    Load({"A"});
    AddAt(0);
    DeleteSelectedChapters(list, model, host);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(model.Count(), 0u);
    EXPECT_EQ(list.GetSelCount(), 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ChapterCommandsTest, DeleteWithoutSelectionAsksForOne) {
    LoadFiveChapters();
    list.SetSel(false, -1);
    DeleteSelectedChapters(list, model, host);
    EXPECT_EQ(host.messages, std::vector<std::string>{"请先选择列表项"});
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_EQ(model.Count(), 5u);
}

TEST_F(ChapterCommandsTest, DeleteAllEmptiesListAndModel) {
    LoadFiveChapters();
    DeleteAllChapters(list, model);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(model.Count(), 0u);
    DeleteAllChapters(list, model);  // on an empty list: nothing to see
    EXPECT_TRUE(host.messages.empty());
    AddAt(0);  // the list starts again from the top
    EXPECT_EQ(ListTitles(), std::vector<std::string>{"A"});
}

class ShowChapterTest : public ChapterCommandsTest {};

TEST_F(ShowChapterTest, SelectsTheHeadingOnTheChaptersOwnLine) {
    // The heading also stands in the table of contents, and directly above its own line.
    Load({"目录", "第二章", "正文", "第二章", "第二章", "正文"});
    AddAt(0);
    list.SetSel(true, 0);
    CaretOnLine(4);
    ASSERT_EQ(AppendChapterAtCaretLine(book, list, model, host, 21), 0);
    ASSERT_EQ(Offsets(), (std::vector<uint32_t>{0, 28}));
    list.SetSel(true, 1);
    ShowSelectedChapter(book, list, model);
    int32_t ownLine = view.LineIndex(4);
    EXPECT_EQ(view.GetSelection(), (CharRange{ownLine, ownLine + 3}));
    ASSERT_EQ(view.HighlightedRanges().size(), 1u);
    EXPECT_EQ(view.HighlightedRanges()[0], (CharRange{ownLine, ownLine + 3}));
    EXPECT_GT(list.FocusStamp(), view.FocusStamp());
}

TEST_F(ShowChapterTest, HeadingEditedOutOfTheTextEndsTheSearch) {
    Load({"第一章", "正文", "第二章", "正文"});
    AddAt(0);
    AddAt(2);
    // The heading now only occurs before the chapter's line.
    view.SetText(G("第一章\r\n第二章\r\n正文\r\n改过的标题\r\n正文"));
    ShowSelectedChapter(book, list, model);
    EXPECT_TRUE(view.HighlightedRanges().empty());
    EXPECT_GT(view.FocusStamp(), list.FocusStamp());

    // Not in the text at all.
    view.SetText(G("第一章\r\n正文"));
    ShowSelectedChapter(book, list, model);
    EXPECT_TRUE(view.HighlightedRanges().empty());
}

TEST_F(ShowChapterTest, NoCaretItemDoesNothing) {
    Load({"第一章"});
    CharRange before = view.GetSelection();
    ShowSelectedChapter(book, list, model);
    EXPECT_EQ(view.GetSelection(), before);
    EXPECT_TRUE(view.HighlightedRanges().empty());
}

TEST(ChapterTitleTest, ReadsTheBookTextUpToItsFirstNul) {
    HeadlessRichEdit view;
    view.SetText(G("第一章\r\n正文"));
    EXPECT_EQ(U(ReadBookText(view)), "第一章\r\n正文");
    EXPECT_EQ(ReadTitleFromLine(view, 5), std::nullopt);
    EXPECT_EQ(U(*ReadTitleFromLine(view, 1)), "正文");
}

}  // namespace
}  // namespace brisna
