#include "app/DlgCleanCommands.h"

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
        dialog.host.ShowMessage(Utf8ToGbk("文本已改动，请重新整理"), MessageCaption::kNone);
        return false;
    }
    WaitCursor wait(dialog.host);
    dialog.RunRecorded(
        [&] {
            view.SetText(result.text);
            dialog.bookText.RebuildLineTable();
            view.SetSelection({0, 0});
            // Headings are never removed or joined, so every chapter keeps its line; one marked
            // on a removed line moves on to the line after it.
            ChapterModel& chapters = dialog.chapters;
            for (uint32_t i = 0; i < chapters.Count(); ++i) {
                ChapterRecord* record = chapters.RecordAt(i);
                record->offset = static_cast<uint32_t>(result.offsets.Map(record->offset));
            }
            RefillChapterList(dialog.chapterList, chapters);
        },
        true);
    return true;
}

void CleanBookText(CBrisnaMakeDlg& dialog, const CleanupOptions& options) {
    const std::string before = ReadBookText(dialog.bookText.View());
    const CleanupResult result = CleanText(before, options);
    ApplyTextCleanup(dialog, result, before);
    dialog.host.ShowMessage(CleanupReport(result.counts), MessageCaption::kAppName);
}

}  // namespace brisna
