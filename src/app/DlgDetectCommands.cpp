// Chapter detection, the missing-chapter check, problem-list navigation, search and
// Traditional-to-Simplified conversion, wired to the dialog.
#include "Capacities.h"
#include "app/AppMessages.h"
#include "app/CBrisnaMakeDlg.h"
#include "chapters/ChapterTitle.h"
#include "check/ProblemNavigation.h"
#include "detect/BookOutline.h"
#include "detect/ChapterRule.h"
#include "detect/HeadingPatternDetection.h"
#include "detect/IncrementalChapterAdd.h"
#include "detect/KeywordChapterAdd.h"
#include "detect/MissingChapterCheck.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"
#include "text/TraditionalToSimplified.h"

namespace brisna {

namespace msg = app_messages;

void CBrisnaMakeDlg::OnKeywordAdd() {
    KeywordChapterAdd(bookText, chapterList, chapters, host, detectionScanPosition,
                      headingsAtLineStart);
}

void CBrisnaMakeDlg::OnIncrementalAdd() {
    IncrementalChapterAdd(bookText, chapterList, chapters, host, detectionScanPosition,
                          headingsAtLineStart);
}

namespace {

// Gives the chapters of a recognised or ruled outline to the book: marked in the chapter list
// when they fit one book, else kept as the whole book's contents for 分册生成 and 生成EPUB.
// wholeBook: the caller goes on to write parts or an EPUB, so a long book is no question.
// Returns false when nothing was marked or kept.
bool ApplyOutline(CBrisnaMakeDlg& dialog, const BookOutline& outline, const std::string& text,
                  bool wholeBook) {
    DialogHost& host = dialog.host;
    const size_t count = outline.ChapterCount();
    if (count > kMaxChapters) {
        // The part plan and the EPUB take these contents while the text and the chapter list
        // stay as they are.
        dialog.openedContents.Keep(TocFromOutline(outline), text, dialog.chapters);
        if (wholeBook) return true;
        int answer =
            host.AskQuestion(Utf8ToGbk(msg::TooManyChaptersQuestion(count)),
                             {Utf8ToGbk(msg::kGeneratePartsButton),
                              Utf8ToGbk(msg::kGenerateEpubButton), Utf8ToGbk(msg::kCancelButton)},
                             2);
        if (answer == DialogHost::kCannotAsk) {
            host.ShowMessage(Utf8ToGbk(msg::TooManyChaptersNotice(count)), MessageCaption::kPrompt);
            return false;
        }
        if (answer == 0) dialog.OnGenerateParts();
        if (answer == 1) dialog.OnGenerateEpub();
        return answer == 0 || answer == 1;
    }
    if (dialog.chapters.Count() > 0) {
        // Appending to chapters marked by hand would mark them twice.
        const std::string question = msg::ReplaceMarkedChaptersQuestion(dialog.chapters.Count());
        int answer =
            host.AskQuestion(Utf8ToGbk(question),
                             {Utf8ToGbk(msg::kReplaceButton), Utf8ToGbk(msg::kCancelButton)}, 1);
        // Where nobody can be asked, the command was given on purpose after the others.
        if (answer != 0 && answer != DialogHost::kCannotAsk) return false;
    }
    MarkOutlineChapters(outline, dialog.chapterList, dialog.chapters);
    if (!outline.runs.empty())
        host.SetFieldText(kStartChapterField, outline.runs.front().firstHeading);
    return true;
}

}  // namespace

// The book's outline is the one recognition: the status bar, the part plan and the EPUB
// contents read the same outline, so every face counts the same chapters.
void CBrisnaMakeDlg::OnAutoDetectChapters() {
    WaitCursor wait(host);
    const std::string text = ReadBookText(bookText.View());
    BookOutline outline = BuildBookOutline(text);
    if (!outline.HasHeadings()) {
        host.ShowMessage(Utf8ToGbk(msg::kNoRecognisedHeadings), MessageCaption::kPrompt);
        return;
    }
    ApplyOutline(*this, outline, text, false);
}

bool CBrisnaMakeDlg::OnRuleChapters(const ChapterRule& rule, bool wholeBook) {
    WaitCursor wait(host);
    const std::string text = ReadBookText(bookText.View());
    std::string problem;
    BookOutline outline = BuildRuleOutline(text, rule, problem);
    if (!problem.empty()) {
        host.ShowMessage(Utf8ToGbk(problem), MessageCaption::kNone);
        return false;
    }
    if (!outline.HasHeadings()) {
        host.ShowMessage(Utf8ToGbk(msg::kNoLineMatchesRule), MessageCaption::kPrompt);
        return false;
    }
    return ApplyOutline(*this, outline, text, wholeBook);
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
        host.ShowMessage(Utf8ToGbk(msg::kEnterSearchText), MessageCaption::kPrompt);
        return;
    }
    // The search goes on after the selection and never wraps round to the start.
    RichEdit& view = bookText.View();
    CharRange selection = view.GetSelection();
    CharRange match = view.FindText({selection.max, -1}, wanted);
    if (match.min < 0) {
        host.ShowMessage(Utf8ToGbk(msg::kSearchNotFound), MessageCaption::kAppName);
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
        host.ShowMessage(Utf8ToGbk(msg::kNoConversionDictionary), MessageCaption::kNone);
        return;
    }
    bookText.ConvertToSimplified();
}

}  // namespace brisna
