// The manual chapter commands and the test command, wired to the dialog.
#include "app/CBrisnaMakeDlg.h"
#include "book/BookFiles.h"
#include "chapters/ChapterTitle.h"
#include "chapters/ManualChapterCommands.h"
#include "check/TestCommand.h"

namespace brisna {

void CBrisnaMakeDlg::OnAddChapter() {
    AddChapterAtCaret(bookText, chapterList, chapters, host);
}
void CBrisnaMakeDlg::OnMoveUp() {
    MoveChapterUp(chapterList, chapters, host);
}
void CBrisnaMakeDlg::OnMoveDown() {
    MoveChapterDown(chapterList, chapters, host);
}
void CBrisnaMakeDlg::OnDeleteChapters() {
    DeleteSelectedChapters(chapterList, chapters, host);
}
void CBrisnaMakeDlg::OnDeleteAllChapters() {
    DeleteAllChapters(chapterList, chapters);
}
void CBrisnaMakeDlg::OnChapterSelectionChanged() {
    ShowSelectedChapter(bookText, chapterList, chapters);
}
void CBrisnaMakeDlg::OnTest() {
    RunTestCommand(bookText, chapterList, problemList, chapters, suspiciousWords, bookSourcePath);
    // What only the .qbr writer finds out: the test names it so generation never surprises.
    ReportTooShortQbrChapters(ReadBookText(bookText.View()), chapters, problemList);
}

}  // namespace brisna
