// 整理文本 in the editor: the marked chapters carried to their lines in the cleaned text, one
// step of the undo history, and a stale preview refused.
#include <gtest/gtest.h>

#include <string>

#include "Capacities.h"
#include "app/DialogTestSupport.h"
#include "app/DlgCleanCommands.h"
#include "chapters/ChapterTitle.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

class CleanCommandsDialog : public test::OpenedBookDialog {
  protected:
    CleanCommandsDialog()
        : OpenedBookDialog(
              "目录\r\n第一章 开端\r\n第二章 发展\r\n第三章 结局\r\n"
              "第一章 开端\r\n=====\r\n正文。\r\n（本章完）\r\n"
              "第二章 发展\r\n正文。\r\n求月票！\r\n第三章 结局\r\n正文完。") {
        // The first chapter starts the text: here the 目录 the clean-up removes.
        for (int32_t line : {0, 4, 8, 11}) PressAtLine(line, kAddChapterButton);
    }
    // Every chapter's title and the line its offset starts in the text.
    std::string Chapters() const {
        const std::string book = ReadBookText(text);
        std::string state;
        for (uint32_t i = 0; i < dialog.chapters.Count(); ++i) {
            const ChapterRecord* record = dialog.chapters.RecordAt(i);
            const size_t end = book.find("\r\n", record->offset);
            state += U(record->Title()) + "=" +
                     U(book.substr(record->offset, end - record->offset)) + ";";
        }
        return state;
    }
};

TEST_F(CleanCommandsDialog, CarriesTheChaptersAndIsOneUndoStep) {
    const std::string before = ReadBookText(text);
    ASSERT_EQ(dialog.chapters.Count(), 4u);
    const std::string chapters = Chapters();
    ASSERT_EQ(chapters.substr(0, chapters.find(';') + 1), "目录=目录;");
    const size_t steps = dialog.history.UndoSteps();

    CleanBookText(dialog, CleanupOptions());
    const std::string after = ReadBookText(text);
    EXPECT_EQ(U(after),
              "第一章 开端\r\n　　正文。\r\n第二章 发展\r\n　　正文。\r\n"
              "第三章 结局\r\n　　正文完。");
    // The chapters on their headings; the one whose every line went is gone.
    EXPECT_EQ(Chapters(), chapters.substr(chapters.find(';') + 1));
    EXPECT_EQ(dialog.history.UndoSteps(), steps + 1);
    ASSERT_FALSE(host.Messages().empty());
    EXPECT_EQ(U(host.Messages().back().text), "已删除广告等 3 行、目录 1 处，合并断行 0 处");

    dialog.OnUndo();
    EXPECT_EQ(ReadBookText(text), before);
    EXPECT_EQ(Chapters(), chapters);
    dialog.OnRedo();
    EXPECT_EQ(ReadBookText(text), after);

    // Nothing left to clean: no step.
    CleanBookText(dialog, CleanupOptions());
    EXPECT_EQ(dialog.history.UndoSteps(), steps + 1);
}

TEST_F(CleanCommandsDialog, RefusesAPreviewOfAnotherText) {
    const std::string before = ReadBookText(text);
    const CleanupResult preview = PreviewTextCleanup(dialog, CleanupOptions());
    text.SetSelection({0, 0});
    text.ReplaceSelection(G("新"));
    EXPECT_FALSE(ApplyTextCleanup(dialog, preview, before));
    EXPECT_EQ(U(host.Messages().back().text), "文本已改动，请重新整理");
    EXPECT_EQ(ReadBookText(text), G("新") + before);
}

// Indents added to a book near the size bound would make it longer than the editor holds.
TEST_F(CleanCommandsDialog, LeavesATextThatWouldOutgrowTheEditorAlone) {
    const std::string line = std::string(996, 'a') + G("。");
    std::string book;
    while (book.size() + 1000 < kMaxTextBytes - 1) book += line + "\r\n";
    text.SetText(book);
    dialog.bookText.RebuildLineTable();
    CleanBookText(dialog, CleanupOptions());
    EXPECT_EQ(ReadBookText(text), book);
    EXPECT_EQ(U(host.Messages().back().text), "整理后的文本超过10M，文本未改动");
}

}  // namespace
}  // namespace brisna
