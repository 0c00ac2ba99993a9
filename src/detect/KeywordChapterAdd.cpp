#include "detect/KeywordChapterAdd.h"

#include <limits>

#include "Capacities.h"
#include "chapters/ManualChapterCommands.h"
#include "detect/HeadingOccurrences.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

void KeywordChapterAdd(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                       DialogHost& host, int32_t& detectionScanPosition, bool headingsAtLineStart) {
    RichEdit& view = bookText.View();
    std::optional<detection::AddStart> start =
        detection::BeginAutomaticAdd(view, host, detectionScanPosition, headingsAtLineStart);
    if (!start) return;
    std::string& heading = start->heading;
    const std::string& text = start->text;
    size_t occurrence = start->occurrence;
    detection::CharPositions positions(text);

    HeadingParts parts = ParseHeading(heading);
    // Every pass appends a chapter or ends the command, so the chapter limit bounds the loop.
    for (;;) {
        // The control search picks the line that becomes the title; the byte search in `text`
        // decides whether to go on and where the chapter's offset is taken from. The control
        // search starts at the occurrence the byte search found, so that title and offset come
        // from the same line even when the heading is mentioned earlier in the book.
        view.SetFocus();
        CharRange match = view.FindText({positions.CharHolding(occurrence), -1}, heading);
        if (match.min >= 0) view.SetSelection(match);

        if (AppendChapterAtCaretLine(
                bookText, chapterList, chapters, host,
                detection::TitleSearchStart(text, occurrence, detectionScanPosition), text) != 0) {
            break;
        }
        detectionScanPosition = detection::PositionAfter(occurrence, heading.size());

        bool sameHeadingAgain = false;
        size_t again =
            detection::FindHeading(text, heading, detectionScanPosition, headingsAtLineStart);
        if (again != std::string::npos) {
            view.SetFocus();
            CharRange next = view.FindText({positions.CharHolding(again), -1}, heading);
            if (next.min >= 0) {
                view.SetSelection(next);
                int32_t line = view.LineFromChar(-1);
                int32_t lineCount = view.GetLineCount();
                // An occurrence on the last two display lines is not followed.
                if (line <= lineCount - 3) {
                    occurrence = again;
                    sameHeadingAgain = true;
                }
            }
        }
        if (sameHeadingAgain) continue;

        if (detection::HasNoNextHeading(parts) || !detection::AdvanceNumber(parts)) break;
        heading = ComposeHeading(parts);
        occurrence =
            detection::FindHeading(text, heading, detectionScanPosition, headingsAtLineStart);
        if (occurrence == std::string::npos) break;
    }

    int32_t count = chapterList.GetCount();
    for (int32_t i = 0; i < count; ++i) chapterList.SetSel(false, i);
    if (count > 0) chapterList.SetSel(true, count - 1);
    detectionScanPosition = 0;
}

}  // namespace brisna
