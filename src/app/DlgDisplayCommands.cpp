// The two display toggles of the window.
#include "app/CBrisnaMakeDlg.h"

namespace brisna {

void CBrisnaMakeDlg::OnToggleProblemList() { problemListShown = !problemListShown; }
void CBrisnaMakeDlg::OnToggleWideDisplay() {}

}  // namespace brisna
