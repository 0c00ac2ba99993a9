// Generation and the opening of generated books, wired to the dialog.
#include "app/CBrisnaMakeDlg.h"

namespace brisna {

void CBrisnaMakeDlg::OnGenerate() {}
void CBrisnaMakeDlg::OnOpenQbr2() {}
void CBrisnaMakeDlg::OnOpenQbr() {}

}  // namespace brisna
