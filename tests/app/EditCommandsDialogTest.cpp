// Undo and redo of every chapter command, and the contents editor's own commands, through the
// dialog's routing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/CBrisnaMakeDlg.h"
#include "app/DialogTestSupport.h"
#include "app/HeadlessDialogHost.h"
#include "chapters/ChapterTitle.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"
#include "text/TraditionalToSimplified.h"

namespace brisna {
namespace {

using test::G;
using test::U;

class EditCommandsDialog : public test::OpenedBookDialog {
  protected:
    EditCommandsDialog()
        : OpenedBookDialog(
              "第一章 开端\r\n正文。\r\n第二章 發展\r\n正文。\r\n第三章 结局\r\n正文完。") {
        for (int32_t line : {0, 2, 4}) PressAtLine(line, kAddChapterButton);
    }
    void Select(int32_t row) {
        chapterList.SetSel(false, -1);
        chapterList.SetSel(true, row);
    }
    // Titles and offsets, from the list and the model, which must agree.
    std::string State() const {
        std::string state;
        for (uint32_t i = 0; i < dialog.chapters.Count(); ++i) {
            const ChapterRecord* record = dialog.chapters.RecordAt(i);
            EXPECT_EQ(chapterList.GetText(static_cast<int32_t>(i)), record->Title());
            state += U(record->Title()) + "@" + std::to_string(record->offset) + ";";
        }
        EXPECT_EQ(chapterList.GetCount(), static_cast<int32_t>(dialog.chapters.Count()));
        return state;
    }
};

TEST_F(EditCommandsDialog, EveryChapterCommandIsUndoneAndRedone) {
    struct Case {
        const char* name;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"添加章节", [&] { PressAtLine(1, kAddChapterButton); }},
        {"上移", [&] { Select(2), dialog.OnCommand(kMoveUpButton); }},
        {"下移", [&] { Select(0), dialog.OnUserMessage(kMsgMoveDown); }},
        {"删除", [&] { Select(1), dialog.OnCommand(kDeleteButton); }},
        {"全部删除", [&] { dialog.OnUserMessage(kMsgDeleteAll); }},
        {"重命名", [&] { dialog.OnRenameChapter(1, G("第二章 新名")); }},
        {"拖动", [&] { dialog.OnMoveChapterTo(0, 3); }},
        {"按位置排序",
         [&] {
             Select(0);
             PressAtLine(3, kAddChapterButton);  // after the first, not at its place
             dialog.OnSortChapters();
         }},
    };
    for (const Case& c : cases) {
        const std::string before = State();
        const size_t steps = dialog.history.UndoSteps();
        c.run();
        const std::string after = State();
        ASSERT_NE(after, before) << c.name;
        ASSERT_GT(dialog.history.UndoSteps(), steps) << c.name;
        while (dialog.history.UndoSteps() > steps) dialog.OnUndo();
        EXPECT_EQ(State(), before) << c.name;
        while (dialog.history.CanRedo()) dialog.OnRedo();
        EXPECT_EQ(State(), after) << c.name;
        while (dialog.history.UndoSteps() > steps) dialog.OnUndo();
        EXPECT_EQ(State(), before) << c.name;
    }
    // A refused command is no step; a new book starts a new history.
    const size_t steps = dialog.history.UndoSteps();
    Select(0);
    dialog.OnCommand(kMoveUpButton);
    EXPECT_EQ(dialog.history.UndoSteps(), steps);
    host.QueueFileChoice((dir / "book.txt").string());
    dialog.OnCommand(kOpenTextButton);
    EXPECT_FALSE(dialog.history.CanUndo());
    EXPECT_FALSE(dialog.history.CanRedo());
}

TEST_F(EditCommandsDialog, ConversionIsUndoneWithItsText) {
    if (!TraditionalToSimplifiedAvailable()) GTEST_SKIP() << "no conversion dictionary";
    const std::string original = ReadBookText(text);
    const std::string chapters = State();
    dialog.OnCommand(kConvertButton);
    const std::string converted = ReadBookText(text);
    ASSERT_NE(converted, original);
    dialog.OnUndo();
    EXPECT_EQ(ReadBookText(text), original);
    EXPECT_EQ(State(), chapters);
    dialog.OnRedo();
    EXPECT_EQ(ReadBookText(text), converted);
    // Converting a text that has nothing to convert is no step.
    const size_t steps = dialog.history.UndoSteps();
    dialog.OnCommand(kConvertButton);
    EXPECT_EQ(dialog.history.UndoSteps(), steps);
}

}  // namespace
}  // namespace brisna
