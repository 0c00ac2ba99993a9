#include "app/CBrisnaMakeDlg.h"

namespace brisna {

CBrisnaMakeDlg::CBrisnaMakeDlg(RichEdit& textView, ListBox& chapterList, ListBox& problemList,
                               DialogHost& host)
    : CBrisnaMakeDlg(textView, chapterList, problemList, host,
                     std::filesystem::current_path() / "BrisnaMake.csv") {}

CBrisnaMakeDlg::CBrisnaMakeDlg(RichEdit& textView, ListBox& chapterList, ListBox& problemList,
                               DialogHost& host, const std::filesystem::path& suspiciousWordFile)
    : bookText(textView), chapterList(chapterList), problemList(problemList), host(host) {
    (void)suspiciousWordFile;  // TODO: read the list
    chapters.Clear();
    detectionScanPosition = 0;
}

void CBrisnaMakeDlg::OnCommand(int controlId) {
    switch (controlId) {
        case kMoveUpButton: OnMoveUp(); break;
        case kMoveDownButton: OnMoveDown(); break;
        case kDeleteButton: OnDeleteChapters(); break;
        case kAddChapterButton: OnAddChapter(); break;
        case kGenerateButton: OnGenerate(); break;
        case kOpenTextButton: OnOpenText(); break;
        case kOpenQbr2Button: OnOpenQbr2(); break;
        case kTestButton: OnTest(); break;
        case kSearchButton: OnSearch(); break;
        case kOpenQbrButton: OnOpenQbr(); break;
        case kKeywordAddButton: OnKeywordAdd(); break;
        case kDeleteAllButton: OnDeleteAllChapters(); break;
        case kIncrementalAddButton: OnIncrementalAdd(); break;
        case kProblemListToggle: OnToggleProblemList(); break;
        case kConvertButton: OnConvertToSimplified(); break;
        case kCheckMissingButton: OnCheckMissing(); break;
        case kWideDisplayToggle: OnToggleWideDisplay(); break;
        default: break;
    }
}

void CBrisnaMakeDlg::OnListSelectionChanged(int listId) {
    if (listId == kChapterList) OnChapterSelectionChanged();
    if (listId == kProblemList) OnProblemSelectionChanged();
}

void CBrisnaMakeDlg::OnListDoubleClicked(int listId) {
    if (listId == kProblemList) OnProblemDoubleClicked();
}

void CBrisnaMakeDlg::OnFieldChanged(int fieldId) {
    if (fieldId == kSearchEdit) OnSearchTextChanged();
}

intptr_t CBrisnaMakeDlg::OnUserMessage(uint32_t message) {
    switch (message) {
        case kMsgMoveUp: OnMoveUp(); return 1;
        case kMsgMoveDown: OnMoveDown(); return 1;
        case kMsgDelete: OnDeleteChapters(); return 1;
        case kMsgDeleteAll: OnDeleteAllChapters(); return 1;
        default: return 0;
    }
}

void CBrisnaMakeDlg::OnOpenText() {}  // TODO

}  // namespace brisna
