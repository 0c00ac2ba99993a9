#include "detect/IncrementalChapterAdd.h"

#include "chapters/ManualChapterCommands.h"
#include "detect/HeadingParser.h"
#include "detect/KeywordChapterAdd.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

void IncrementalChapterAdd(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                           DialogHost& host, int32_t& detectionScanPosition) {
    RichEdit& view = bookText.View();
    std::optional<detection::AddStart> start =
        detection::BeginAutomaticAdd(view, host, detectionScanPosition);
    if (!start) return;
    std::string& heading = start->heading;
    const std::string& text = start->text;
    size_t occurrence = start->occurrence;

    HeadingParts parts = ParseHeading(heading);
    // Every pass appends a chapter or ends the command, so the chapter limit bounds the loop.
    for (;;) {
        // The title comes from the heading's first occurrence in the whole text; the offset and
        // the decision to go on come from the byte search after the previous heading.
        view.SetFocus();
        CharRange match = view.FindText({0, -1}, heading);
        if (match.min >= 0) view.SetSelection(match);

        if (AppendChapterAtCaretLine(bookText, chapterList, chapters, host, detectionScanPosition,
                                     text) != 0) {
            break;
        }
        if (!detection::AdvanceNumber(parts)) break;
        detectionScanPosition = detection::PositionAfter(occurrence, heading.size());
        if (detection::HasNoNextHeading(parts)) break;

        heading = ComposeHeading(parts);
        occurrence = detection::FindBytes(text, heading, detectionScanPosition);
        if (occurrence == std::string::npos) break;
    }
    detectionScanPosition = 0;
}

}  // namespace brisna
