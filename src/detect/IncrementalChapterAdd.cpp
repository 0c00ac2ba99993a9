#include "detect/IncrementalChapterAdd.h"

#include "chapters/ManualChapterCommands.h"
#include "detect/AutomaticAdd.h"
#include "detect/HeadingOccurrences.h"
#include "detect/HeadingParser.h"

namespace brisna {

namespace {

void RunIncrementalAdd(detection::AddStart& start, CMyRECtrl& bookText, ListBox& chapterList,
                       ChapterModel& chapters, DialogHost& host, int32_t& detectionScanPosition,
                       bool headingsAtLineStart) {
    RichEdit& view = bookText.View();
    std::string& heading = start.heading;
    const std::string& text = start.text;
    size_t occurrence = start.occurrence;
    detection::CharPositions positions(text);

    HeadingParts parts = ParseHeading(heading);
    // Every pass appends a chapter or ends the command, so the chapter limit bounds the loop.
    for (;;) {
        // The byte search after the previous heading found this occurrence; the control search
        // starts at it, so the selected line (the title) is the line the offset comes from even
        // when the heading is mentioned earlier in the book.
        view.SetFocus();
        CharRange match = view.FindText({positions.CharHolding(occurrence), -1}, heading);
        if (match.min >= 0) view.SetSelection(match);

        if (AppendChapterAtCaretLine(
                bookText, chapterList, chapters, host,
                detection::TitleSearchStart(text, occurrence, detectionScanPosition), text) != 0) {
            break;
        }
        if (!detection::AdvanceNumber(parts)) break;
        detectionScanPosition = detection::PositionAfter(occurrence, heading.size());
        if (detection::HasNoNextHeading(parts)) break;

        heading = ComposeHeading(parts);
        occurrence =
            detection::FindHeading(text, heading, detectionScanPosition, headingsAtLineStart);
        if (occurrence == std::string::npos) break;
    }
    detectionScanPosition = 0;
}

}  // namespace

void IncrementalChapterAdd(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                           DialogHost& host, int32_t& detectionScanPosition,
                           bool headingsAtLineStart) {
    std::optional<detection::AddStart> start = detection::BeginAutomaticAdd(
        bookText.View(), host, detectionScanPosition, headingsAtLineStart);
    if (!start) return;
    RunIncrementalAdd(*start, bookText, chapterList, chapters, host, detectionScanPosition,
                      headingsAtLineStart);
}

void IncrementalChapterAddFrom(std::string_view startHeading, CMyRECtrl& bookText,
                               ListBox& chapterList, ChapterModel& chapters, DialogHost& host,
                               int32_t& detectionScanPosition, bool headingsAtLineStart) {
    std::optional<detection::AddStart> start =
        detection::BeginAutomaticAdd(std::string(startHeading), bookText.View(), host,
                                     detectionScanPosition, headingsAtLineStart);
    if (!start) return;
    RunIncrementalAdd(*start, bookText, chapterList, chapters, host, detectionScanPosition,
                      headingsAtLineStart);
}

}  // namespace brisna
