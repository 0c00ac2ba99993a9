#include "app/CBrisnaMakeDlg.h"

#include <cstring>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "app/AppMessages.h"
#include "app/SuspiciousWords.h"
#include "chapters/ManualChapterCommands.h"
#include "controls/HeadlessListBox.h"
#include "detect/MissingChapterCheck.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"

namespace brisna {
namespace {

// The list is looked for in the current directory, not beside the program.
std::filesystem::path SuspiciousWordFileInCurrentDirectory() {
    std::error_code error;
    std::filesystem::path directory = std::filesystem::current_path(error);
    if (error) return {};  // no current directory: no list, as for a missing file
    return directory / "BrisnaMake.csv";
}

}  // namespace

CBrisnaMakeDlg::CBrisnaMakeDlg(RichEdit& textView, ListBox& chapterList, ListBox& problemList,
                               DialogHost& host)
    : CBrisnaMakeDlg(textView, chapterList, problemList, host,
                     SuspiciousWordFileInCurrentDirectory()) {}

CBrisnaMakeDlg::CBrisnaMakeDlg(RichEdit& textView, ListBox& chapterList, ListBox& problemList,
                               DialogHost& host, const std::filesystem::path& suspiciousWordFile)
    : bookText(textView), chapterList(chapterList), problemList(problemList), host(host) {
    WordListResult words = LoadSuspiciousWords(suspiciousWordFile);
    if (words.status == WordListStatus::kTooLarge) {
        host.ShowFileMessage(WordListTooLargeMessage(), MessageCaption::kNone,
                             suspiciousWordFile.string(), "");
    }
    suspiciousWords = std::move(words.words);
    chapters.Clear();
    detectionScanPosition = 0;
    MarkChaptersSaved();
}

bool CBrisnaMakeDlg::ChaptersAtRisk() const {
    return chapters.Count() > 0 && chapters.Revision() != savedChapterRevision_;
}

bool CBrisnaMakeDlg::ConfirmDiscardChapters() {
    if (!ChaptersAtRisk() || !confirm) return true;
    return confirm(Utf8ToGbk(app_messages::kDiscardChapters));
}

void CBrisnaMakeDlg::RefreshLineTable() {
    if (!bookText.IsStale()) return;
    WaitCursor wait(host);
    bookText.RebuildLineTable();
}

void CBrisnaMakeDlg::OpenReplacingChapters(void (CBrisnaMakeDlg::*open)()) {
    if (!ConfirmDiscardChapters()) return;
    const uint64_t before = chapters.Revision();
    (this->*open)();
    // A book that loaded replaced the chapters: what is in the list now is what the file holds.
    if (chapters.Revision() != before) {
        MarkChaptersSaved();
        ++booksOpened_;
        history.Clear();
        // The entries of the last test point into the book that went; clicking one would jump to
        // a wrong place in this one. The files generation wrote belong to that book too.
        DeleteAllItems(problemList);
        lastWrittenFiles.clear();
    }
}

void CBrisnaMakeDlg::CheckMissingChaptersTellingNone() {
    // Checked aside first: with nothing missing the list keeps what the last test found.
    HeadlessListBox found;
    CheckMissingChapters(chapters, found);
    if (found.GetCount() == 0) {
        host.ShowMessage(Utf8ToGbk(app_messages::kNoMissingChapters), MessageCaption::kPrompt);
        return;
    }
    OnCheckMissing();
}

void CBrisnaMakeDlg::OnCommand(int controlId) {
    RunRecorded([&] { RouteCommand(controlId); }, controlId == kConvertButton);
}

void CBrisnaMakeDlg::RouteCommand(int controlId) {
    switch (controlId) {
        case kOpenTextButton:
            OpenReplacingChapters(&CBrisnaMakeDlg::OnOpenText);
            return;
        case kOpenQbr2Button:
            OpenReplacingChapters(&CBrisnaMakeDlg::OnOpenQbr2);
            return;
        case kOpenQbrButton:
            OpenReplacingChapters(&CBrisnaMakeDlg::OnOpenQbr);
            return;
        case kOpenEpubCommand:
            OpenReplacingChapters(&CBrisnaMakeDlg::OnOpenEpub);
            return;
        case kDeleteAllButton:
            if (ConfirmDiscardChapters()) OnDeleteAllChapters();
            return;
        case kProblemListToggle:
        case kWideDisplayToggle:
            break;  // these only move controls
        default:
            RefreshLineTable();
            break;
    }
    switch (controlId) {
        case kMoveUpButton:
            OnMoveUp();
            break;
        case kMoveDownButton:
            OnMoveDown();
            break;
        case kDeleteButton:
            OnDeleteChapters();
            break;
        case kAddChapterButton:
            OnAddChapter();
            break;
        case kGenerateButton:
            OnGenerate();
            break;
        case kGenerateEpubCommand:
            OnGenerateEpub();
            break;
        case kTestButton:
            OnTest();
            break;
        case kSearchButton:
            OnSearch();
            break;
        case kKeywordAddButton:
            OnKeywordAdd();
            break;
        case kIncrementalAddButton:
            OnIncrementalAdd();
            break;
        case kProblemListToggle:
            OnToggleProblemList();
            break;
        case kConvertButton:
            OnConvertToSimplified();
            break;
        case kCheckMissingButton:
            if (tellWhenNothingMissing) {
                CheckMissingChaptersTellingNone();
            } else {
                OnCheckMissing();
            }
            break;
        case kWideDisplayToggle:
            OnToggleWideDisplay();
            break;
        default:
            break;
    }
}

void CBrisnaMakeDlg::OnListSelectionChanged(int listId) {
    RefreshLineTable();
    if (listId == kChapterList) OnChapterSelectionChanged();
    if (listId == kProblemList) OnProblemSelectionChanged();
}

void CBrisnaMakeDlg::OnListDoubleClicked(int listId) {
    RefreshLineTable();
    if (listId == kProblemList) OnProblemDoubleClicked();
}

void CBrisnaMakeDlg::OnFieldChanged(int fieldId) {
    if (fieldId == kSearchEdit) OnSearchTextChanged();
}

intptr_t CBrisnaMakeDlg::OnUserMessage(uint32_t message) {
    intptr_t result = 0;
    RunRecorded([&] { result = RouteUserMessage(message); });
    return result;
}

intptr_t CBrisnaMakeDlg::RouteUserMessage(uint32_t message) {
    RefreshLineTable();
    switch (message) {
        case kMsgMoveUp:
            OnMoveUp();
            return 1;
        case kMsgMoveDown:
            OnMoveDown();
            return 1;
        case kMsgDelete:
            OnDeleteChapters();
            return 1;
        case kMsgDeleteAll:
            if (ConfirmDiscardChapters()) OnDeleteAllChapters();
            return 1;
        default:
            return 0;
    }
}

void CBrisnaMakeDlg::OnOpenText() {
    std::optional<std::string> chosen = host.ChooseFileToOpen(FileFilter::kText);
    if (!chosen) return;
    WaitCursor wait(host);
    // Generation reads the path, so it is kept even when the file then fails to load.
    bookSourcePath = *chosen;

    BookLoadResult loaded = LoadBookFile(bookSourcePath, textEncoding);
    if (loaded.status != BookReadStatus::kOk) {
        // Which file and why: the one message of a batch that would otherwise say neither.
        host.ShowFileMessage(BookReadMessage(loaded.status), MessageCaption::kNone, bookSourcePath,
                             loaded.error != 0 ? std::strerror(loaded.error) : "");
        return;
    }

    DeleteAllChapters(chapterList, chapters);
    loadedEncoding = loaded.encoding;

    RichEdit& view = bookText.View();
    view.SetText(loaded.text);
    loaded.text = std::string();  // the view holds its own copy
    bookText.RebuildLineTable();
    view.SetFocus();
    view.SetSelection({0, 0});
    chapters.SetTextLength(0);
    // The book is loaded; what could not be kept is said once, as a notice rather than a failure.
    for (const std::string& notice : LoadNotices(loaded)) {
        host.ShowMessage(notice, MessageCaption::kPrompt);
    }
}

}  // namespace brisna
