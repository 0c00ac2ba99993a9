// The operator's road through the chapter commands, driven through the dialog's routing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CBrisnaMakeDlg.h"
#include "app/DialogTestSupport.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

class ChapterCommandsDialog : public test::OpenedBookDialog {
  protected:
    ChapterCommandsDialog()
        : OpenedBookDialog(
              "第一章 开端\r\n正文，坏人来了。\r\n第二章 发展\r\n正文。\r\n第三章 "
              "结局\r\n正文完。") {}
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (const std::string& t : chapterList.Texts()) titles.push_back(U(t));
        return titles;
    }
    std::vector<std::string> ModelTitles() const {
        std::vector<std::string> titles;
        for (uint32_t i = 0; i < dialog.chapters.Count(); ++i) {
            titles.push_back(U(dialog.chapters.RecordAt(i)->Title()));
        }
        return titles;
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const ShownMessage& m : host.Messages()) texts.push_back(U(m.text));
        return texts;
    }
};

TEST_F(ChapterCommandsDialog, ButtonsAndContextMenuMessagesRunTheCommands) {
    ASSERT_EQ(text.GetLineCount(), 6);
    PressAtLine(2, kAddChapterButton);  // not the first line
    PressAtLine(0, kAddChapterButton);
    PressAtLine(4, kAddChapterButton);
    chapterList.SetSel(true, 0);  // caret back on the first chapter
    PressAtLine(2, kAddChapterButton);
    EXPECT_EQ(Messages(), std::vector<std::string>{"第一个章节头必须是文件开始"});
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第一章 开端", "第二章 发展", "第三章 结局"}));
    EXPECT_EQ(ModelTitles(), Titles());

    // The context menu's messages answer 1 and act like the buttons.
    chapterList.SetSel(false, -1);
    chapterList.SetSel(true, 2);
    EXPECT_EQ(dialog.OnUserMessage(kMsgMoveUp), 1);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第一章 开端", "第三章 结局", "第二章 发展"}));
    EXPECT_EQ(dialog.OnUserMessage(kMsgMoveDown), 1);
    EXPECT_EQ(ModelTitles(),
              (std::vector<std::string>{"第一章 开端", "第二章 发展", "第三章 结局"}));
    dialog.OnCommand(kMoveUpButton);
    dialog.OnCommand(kMoveDownButton);
    EXPECT_EQ(ModelTitles(), Titles());
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第一章 开端", "第二章 发展", "第三章 结局"}));

    chapterList.SetSel(false, -1);
    EXPECT_EQ(dialog.OnUserMessage(kMsgDelete), 1);
    EXPECT_EQ(Messages().back(), "请先选择列表项");
    chapterList.SetSel(true, 1);
    dialog.OnCommand(kDeleteButton);
    EXPECT_EQ(ModelTitles(), (std::vector<std::string>{"第一章 开端", "第三章 结局"}));
    EXPECT_EQ(Titles(), ModelTitles());

    EXPECT_EQ(dialog.OnUserMessage(kMsgDeleteAll), 1);
    EXPECT_EQ(chapterList.GetCount(), 0);
    EXPECT_EQ(dialog.chapters.Count(), 0u);
    PressAtLine(0, kAddChapterButton);
    dialog.OnCommand(kDeleteAllButton);
    EXPECT_EQ(chapterList.GetCount(), 0);
    EXPECT_EQ(dialog.chapters.Count(), 0u);
}

TEST_F(ChapterCommandsDialog, SelectingAChapterHighlightsItsHeading) {
    PressAtLine(0, kAddChapterButton);
    PressAtLine(2, kAddChapterButton);
    chapterList.SetSel(false, -1);
    chapterList.SetSel(true, 1);
    dialog.OnListSelectionChanged(kChapterList);
    int32_t line = text.LineIndex(2);
    EXPECT_EQ(text.GetSelection(), (CharRange{line, line + 6}));
    ASSERT_EQ(text.HighlightedRanges().size(), 1u);
    EXPECT_GT(chapterList.FocusStamp(), text.FocusStamp());
}

TEST_F(ChapterCommandsDialog, TestCommandFillsTheProblemListAndMarksChapters) {
    dialog.suspiciousWords = {G("坏人")};
    PressAtLine(0, kAddChapterButton);
    PressAtLine(2, kAddChapterButton);
    PressAtLine(4, kAddChapterButton);
    // The second chapter's heading is typed twice: a duplicate the manual add would refuse.
    ChapterRecord copy = *dialog.chapters.RecordAt(1);
    dialog.chapters.Append(copy);
    chapterList.AddString(copy.Title());
    dialog.OnCommand(kTestButton);
    std::vector<std::string> entries;
    for (const std::string& e : problemList.Texts()) entries.push_back(U(e));
    EXPECT_EQ(entries, (std::vector<std::string>{
                           "可疑字（1）[Line 1]：坏人！", "第3章偏移错误",
                           "“第二章 发展”与“第二章 发展”章节重复，不能生成QBR[Line 2]！"}));
    EXPECT_EQ(chapterList.GetItemData(3), 1);
    EXPECT_EQ(chapterList.Invalidations(), 1);
    EXPECT_TRUE(host.Messages().empty());

    // Moving the marked item re-inserts it without its mark.
    chapterList.SetSel(true, 3);
    dialog.OnCommand(kMoveUpButton);
    EXPECT_EQ(chapterList.GetItemData(2), 0);
    EXPECT_EQ(chapterList.GetItemData(3), 0);
}

// Chapter work counts as unsaved from the first change after opening; only the open commands
// and 全部删除 ask, and only when someone can answer (never on the command line).
TEST_F(ChapterCommandsDialog, UnsavedChaptersAskBeforeOpeningOrDeletingAll) {
    EXPECT_FALSE(dialog.ChaptersAtRisk());
    PressAtLine(0, kAddChapterButton);
    PressAtLine(2, kAddChapterButton);
    EXPECT_TRUE(dialog.ChaptersAtRisk());
    dialog.OnCommand(kDeleteAllButton);  // nobody to ask: acts at once, as it always did
    EXPECT_EQ(dialog.chapters.Count(), 0u);
    EXPECT_FALSE(dialog.ChaptersAtRisk());

    std::vector<std::string> questions;
    bool agree = false;
    dialog.confirm = [&](std::string_view gbk) {
        questions.push_back(U(std::string(gbk)));
        return agree;
    };
    PressAtLine(0, kAddChapterButton);
    host.QueueFileChoice((dir / "book.txt").string());
    dialog.OnCommand(kOpenTextButton);
    dialog.OnUserMessage(kMsgDeleteAll);
    EXPECT_EQ(dialog.chapters.Count(), 1u);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0], "章节列表尚未生成，确定要放弃吗？");

    agree = true;
    host.QueueFileChoice((dir / "book.txt").string());
    dialog.OnCommand(kOpenTextButton);
    EXPECT_EQ(dialog.chapters.Count(), 0u);
    EXPECT_FALSE(dialog.ChaptersAtRisk());
    // Moving a chapter is a change too; a move that cannot happen is not.
    PressAtLine(0, kAddChapterButton);
    dialog.MarkChaptersSaved();
    dialog.OnCommand(kMoveUpButton);
    EXPECT_FALSE(dialog.ChaptersAtRisk());
}

}  // namespace
}  // namespace brisna
