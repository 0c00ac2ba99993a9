// The manual chapter commands and the test command, wired to the dialog.
#include "app/CBrisnaMakeDlg.h"
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
}

}  // namespace brisna
