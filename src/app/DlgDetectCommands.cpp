// Chapter detection, the missing-chapter check, problem-list navigation, search and
// Traditional-to-Simplified conversion, wired to the dialog.
#include "app/CBrisnaMakeDlg.h"
#include "check/ProblemNavigation.h"
#include "detect/HeadingPatternDetection.h"
#include "detect/IncrementalChapterAdd.h"
#include "detect/KeywordChapterAdd.h"
#include "detect/MissingChapterCheck.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"
#include "text/TraditionalToSimplified.h"

namespace brisna {

void CBrisnaMakeDlg::OnKeywordAdd() {
    KeywordChapterAdd(bookText, chapterList, chapters, host, detectionScanPosition,
                      headingsAtLineStart);
}

void CBrisnaMakeDlg::OnIncrementalAdd() {
    IncrementalChapterAdd(bookText, chapterList, chapters, host, detectionScanPosition,
                          headingsAtLineStart);
}

// Always at line start: recognition proposes headings that begin their lines, and a run that
// took cross-references in running text would not mark what it proposed.
void CBrisnaMakeDlg::OnAutoDetectChapters() {
    AutoDetectChapters(bookText, chapterList, chapters, host, detectionScanPosition);
}

void CBrisnaMakeDlg::OnCheckMissing() {
    CheckMissingChapters(chapters, problemList);
}

void CBrisnaMakeDlg::OnProblemSelectionChanged() {
    OnProblemListSelectionChanged(problemList, bookText, suspiciousWords);
}

void CBrisnaMakeDlg::OnProblemDoubleClicked() {
    OnProblemListDoubleClicked(problemList, bookText);
}

void CBrisnaMakeDlg::OnSearch() {
    std::string wanted = host.GetFieldText(kSearchField);
    wanted.resize(UpToNul(wanted).size());
    if (wanted.empty()) {
        host.ShowMessage(Utf8ToGbk("请输入搜索关键字"), MessageCaption::kPrompt);
        return;
    }
    // The search goes on after the selection and never wraps round to the start.
    RichEdit& view = bookText.View();
    CharRange selection = view.GetSelection();
    CharRange match = view.FindText({selection.max, -1}, wanted);
    if (match.min < 0) {
        host.ShowMessage(Utf8ToGbk("搜索字符串未找到！"), MessageCaption::kAppName);
        return;
    }
    view.SetFocus();
    view.SetSelection(match);
}

// A new search text starts the automatic chapter adds from the beginning of the text again.
void CBrisnaMakeDlg::OnSearchTextChanged() {
    detectionScanPosition = 0;
}

void CBrisnaMakeDlg::OnConvertToSimplified() {
    WaitCursor wait(host);
    // Without its dictionary the conversion would silently change nothing.
    if (!TraditionalToSimplifiedAvailable()) {
        host.ShowMessage(Utf8ToGbk("繁体转简体字典无法加载，文本未转换"), MessageCaption::kNone);
        return;
    }
    bookText.ConvertToSimplified();
}

}  // namespace brisna
