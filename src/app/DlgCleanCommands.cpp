#include "app/DlgCleanCommands.h"

#include "Capacities.h"

#include "app/AppMessages.h"
#include "chapters/ChapterEditing.h"
#include "chapters/ChapterTitle.h"
#include "text/CodePage936.h"

namespace brisna {

CleanupResult PreviewTextCleanup(CBrisnaMakeDlg& dialog, const CleanupOptions& options) {
    WaitCursor wait(dialog.host);
    return CleanText(ReadBookText(dialog.bookText.View()), options);
}

bool ApplyTextCleanup(CBrisnaMakeDlg& dialog, const CleanupResult& result,
                      const std::string& previewedText) {
    if (!result.changed) return false;
    RichEdit& view = dialog.bookText.View();
    // The offsets of the preview belong to the text it was made from.
    if (ReadBookText(view) != previewedText) {
        dialog.host.ShowMessage(Utf8ToGbk(app_messages::kTextChangedSincePreview),
                                MessageCaption::kNone);
        return false;
    }
    // Indents may make a text longer; the editor holds no more than the bound, and would cut
    // the end of the book off.
    if (result.text.size() >= kMaxTextBytes) {
        dialog.host.ShowMessage(Utf8ToGbk(app_messages::kCleanedTextTooLarge),
                                MessageCaption::kNone);
        return false;
    }
    WaitCursor wait(dialog.host);
    // The whole contents of an opened EPUB go along with the text, as the chapters do.
    std::vector<TocEntry> contents;
    if (const std::vector<TocEntry>* kept =
            dialog.openedContents.For(previewedText, dialog.chapters)) {
        contents = *kept;
    }
    dialog.RunRecorded(
        [&] {
            view.SetText(result.text);
            dialog.bookText.RebuildLineTable();
            view.SetSelection({0, 0});
            // Headings are never removed or joined, so every chapter keeps its line; one marked
            // on a removed line moves on to the line after it.
            ChapterModel& chapters = dialog.chapters;
            std::vector<uint32_t> before(chapters.Count());
            for (uint32_t i = 0; i < chapters.Count(); ++i) {
                ChapterRecord* record = chapters.RecordAt(i);
                before[i] = record->offset;
                record->offset = static_cast<uint32_t>(result.offsets.Map(record->offset));
            }
            // A chapter whose every line was removed (a 目录 marked as the first chapter) would
            // now start where the next one does, and hold nothing: it goes.
            for (uint32_t i = chapters.Count(); i-- > 0;) {
                for (uint32_t j = 0; j < chapters.Count(); ++j) {
                    if (j != i && chapters.RecordAt(j)->offset == chapters.RecordAt(i)->offset &&
                        before[j] > before[i]) {
                        chapters.RemoveAt(i);
                        before.erase(before.begin() + i);
                        break;
                    }
                }
            }
            RefillChapterList(dialog.chapterList, chapters);
            if (!contents.empty()) {
                for (TocEntry& entry : contents) {
                    entry.offset = static_cast<uint32_t>(result.offsets.Map(entry.offset));
                }
                dialog.openedContents.Keep(std::move(contents), result.text, chapters);
            }
        },
        true);
    return true;
}

void CleanBookText(CBrisnaMakeDlg& dialog, const CleanupOptions& options) {
    const std::string before = ReadBookText(dialog.bookText.View());
    const CleanupResult result = CleanText(before, options);
    // A refusal has said so already; the report is of what was done.
    if (ApplyTextCleanup(dialog, result, before) || !result.changed) {
        dialog.host.ShowMessage(CleanupReport(result.counts), MessageCaption::kAppName);
    }
}

}  // namespace brisna
