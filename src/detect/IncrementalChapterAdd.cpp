#include "detect/IncrementalChapterAdd.h"

#include "chapters/ChapterAppend.h"
#include "chapters/ManualChapterCommands.h"
#include "detect/HeadingParser.h"
#include "detect/KeywordChapterAdd.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

void IncrementalChapterAdd(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                           DialogHost& host, int32_t& detectionScanPosition) {
    std::string heading = host.GetFieldText(kStartChapterField);
    heading.resize(UpToNul(heading).size());
    if (heading.empty()) {
        host.ShowMessage(Utf8ToGbk("请输入自动查找章节的关键字"), MessageCaption::kPrompt);
        return;
    }

    RichEdit& view = bookText.View();
    const std::string text = detection::ReadBookText(view);
    size_t occurrence = detection::FindBytes(text, heading, detectionScanPosition);
    if (occurrence == std::string::npos) {
        detectionScanPosition = 0;
        host.ShowMessage(Utf8ToGbk("文本中没有找到可以自动添加章节的关键字"),
                         MessageCaption::kPrompt);
        return;
    }

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
