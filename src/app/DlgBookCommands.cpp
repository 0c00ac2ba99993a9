// Generation and the opening of generated books, wired to the dialog.
#include "app/CBrisnaMakeDlg.h"
#include "app/EpubBookGeneration.h"
#include "book/BookOpening.h"
#include "book/Generation.h"

namespace brisna {

void CBrisnaMakeDlg::OnGenerate() {
    if (std::optional<PartPlan> plan = PlanOpenedEpubGeneration(*this)) {
        PartsOutcome outcome = GenerateOpenedEpub(*this, *plan);
        lastWrittenFiles = std::move(outcome.writtenFiles);
        if (outcome.succeeded) MarkChaptersSaved();
        return;
    }
    // A generated book holds the chapters: closing now loses nothing.
    GenerationOutcome outcome = GenerateBook(bookText, chapterList, chapters, host, bookSourcePath);
    lastWrittenFiles = std::move(outcome.writtenFiles);
    if (outcome.succeeded) MarkChaptersSaved();
}

void CBrisnaMakeDlg::OnOpenQbr2() {
    OpenBook(BookKind::kQbr2, bookText, chapterList, chapters, host, bookSourcePath,
             openedBookPath);
}

void CBrisnaMakeDlg::OnOpenQbr() {
    OpenBook(BookKind::kQbr, bookText, chapterList, chapters, host, bookSourcePath, openedBookPath);
}

}  // namespace brisna
