// The manual chapter commands and the test command, wired to the dialog.
#include "app/CBrisnaMakeDlg.h"

namespace brisna {

void CBrisnaMakeDlg::OnAddChapter() {}
void CBrisnaMakeDlg::OnMoveUp() {}
void CBrisnaMakeDlg::OnMoveDown() {}
void CBrisnaMakeDlg::OnDeleteChapters() {}
void CBrisnaMakeDlg::OnDeleteAllChapters() {}
void CBrisnaMakeDlg::OnChapterSelectionChanged() {}
void CBrisnaMakeDlg::OnTest() {}

}  // namespace brisna
