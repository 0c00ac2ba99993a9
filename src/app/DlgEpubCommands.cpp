// The EPUB commands of the background menu, wired to the dialog.
#include "app/CBrisnaMakeDlg.h"
#include "epub/EpubCommands.h"

namespace brisna {

void CBrisnaMakeDlg::OnOpenEpub() {
    OpenEpubBook(bookText, chapterList, chapters, host, bookSourcePath, openedBookPath);
}

void CBrisnaMakeDlg::OnGenerateEpub() {
    // An EPUB holds the chapters as a generated book does: closing now loses nothing.
    if (GenerateEpubBook(bookText, chapterList, chapters, host, bookSourcePath, {}).succeeded) {
        MarkChaptersSaved();
    }
}

}  // namespace brisna
