// The EPUB commands of the background menu, wired to the dialog.
#include "app/AppMessages.h"
#include "app/CBrisnaMakeDlg.h"

#include <sys/stat.h>

#include "chapters/ChapterTitle.h"
#include "epub/EpubCommands.h"
#include "text/CodePage936.h"

namespace brisna {

void CBrisnaMakeDlg::OnOpenEpub() {
    OpenEpubBook(bookText, chapterList, chapters, host, bookSourcePath, openedBookPath,
                 openedContents);
}

std::vector<TocEntry> CBrisnaMakeDlg::WholeBookContentsNow() {
    RefreshLineTable();
    return WholeBookContents(ReadBookText(bookText.View()), chapters, openedContents);
}

namespace {

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

void CBrisnaMakeDlg::OnGenerateEpub() {
    // The EPUB of an opened EPUB goes where it came from; what the editor does not hold of it
    // (pictures, styles) would be lost, so the operator is asked first.
    if (confirm && SameFile(EpubPathFor(bookSourcePath), openedBookPath) &&
        !confirm(Utf8ToGbk(app_messages::kReplaceOpenedEpub))) {
        return;
    }
    // An EPUB holds the chapters as a generated book does: closing now loses nothing.
    const std::vector<TocEntry> contents = WholeBookContentsNow();
    lastWrittenFiles.clear();
    EpubChoices choices = epubChoices;
    choices.opened = &openedContents;
    if (GenerateEpubBook(bookText, chapterList, chapters, host, bookSourcePath, {}, contents,
                         choices)
            .succeeded) {
        MarkChaptersSaved();
        lastWrittenFiles = {EpubPathFor(bookSourcePath)};
    }
}

}  // namespace brisna
