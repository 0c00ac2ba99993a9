#include "detect/KeywordChapterAdd.h"

#include <limits>

#include "Capacities.h"
#include "chapters/ManualChapterCommands.h"
#include "detect/HeadingOccurrences.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

namespace detection {

std::optional<AddStart> BeginAutomaticAdd(RichEdit& view, DialogHost& host,
                                          int32_t& detectionScanPosition, bool atLineStart) {
    return BeginAutomaticAdd(host.GetFieldText(kStartChapterField), view, host,
                             detectionScanPosition, atLineStart);
}

std::optional<AddStart> BeginAutomaticAdd(std::string heading, RichEdit& view, DialogHost& host,
                                          int32_t& detectionScanPosition, bool atLineStart) {
    heading.resize(UpToNul(heading).size());
    if (heading.empty()) {
        host.ShowMessage(Utf8ToGbk("请输入自动查找章节的关键字"), MessageCaption::kPrompt);
        return std::nullopt;
    }
    std::string text = ReadBookText(view);
    size_t occurrence = FindHeading(text, heading, detectionScanPosition, atLineStart);
    if (occurrence == std::string::npos) {
        detectionScanPosition = 0;
        host.ShowMessage(Utf8ToGbk("文本中没有找到可以自动添加章节的关键字"),
                         MessageCaption::kPrompt);
        return std::nullopt;
    }
    return AddStart{std::move(heading), std::move(text), occurrence};
}

std::string ReadBookText(const RichEdit& view) {
    std::string text = view.GetText();
    // The text is read into a buffer of kMaxTextBytes with room for its NUL.
    if (text.size() > kMaxTextBytes - 1) text.resize(kMaxTextBytes - 1);
    text.resize(UpToNul(text).size());
    return text;
}

size_t FindBytes(std::string_view text, std::string_view needle, int64_t from) {
    if (from < 0 || static_cast<uint64_t>(from) > text.size()) return std::string_view::npos;
    return FindBytesFast(text, needle, static_cast<size_t>(from));
}

int32_t PositionAfter(size_t occurrence, size_t length) {
    uint64_t end = static_cast<uint64_t>(occurrence) + length;
    constexpr uint64_t kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(end < kMax ? end : kMax);
}

bool AdvanceNumber(HeadingParts& parts) {
    if (parts.number == std::numeric_limits<int32_t>::max()) return false;
    ++parts.number;
    return true;
}

}  // namespace detection

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
