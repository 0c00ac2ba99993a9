#include "chapters/ManualChapterCommands.h"

#include <optional>
#include <string>
#include <string_view>

#include "Capacities.h"
#include "chapters/ChapterMessages.h"
#include "chapters/ChapterTitle.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

namespace {

void Tell(DialogHost& host, std::string_view utf8Text) {
    host.ShowMessage(Utf8ToGbk(utf8Text), MessageCaption::kNone);
}

using chapter_messages::kDuplicateTitle;
using chapter_messages::kFirstNotAtStart;
using chapter_messages::kLineNotInTable;  // the text was edited since the table was built
using chapter_messages::kMoveFailed;
using chapter_messages::kNothingSelected;
using chapter_messages::kNoTitle;
using chapter_messages::kTooManyChapters;

ChapterRecord MakeRecord(std::string_view title, uint32_t offset) {
    ChapterRecord record;
    record.SetTitle(title);
    record.offset = offset;
    record.length = 0;
    return record;
}

}  // namespace

void AddChapterAtCaret(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                       DialogHost& host) {
    const RichEdit& view = bookText.View();
    int32_t line = view.LineFromChar(-1);
    std::optional<uint32_t> offset = bookText.LineStartOffset(line);
    if (!offset) {
        Tell(host, kLineNotInTable);
        return;
    }
    int32_t itemCount = chapterList.GetCount();
    if (itemCount >= static_cast<int32_t>(kMaxChapters)) {
        Tell(host, kTooManyChapters);
        return;
    }
    if (itemCount == 0 && *offset != 0) {
        Tell(host, kFirstNotAtStart);
        return;
    }
    std::optional<std::string> title = ReadTitleFromLine(view, line);
    if (!title) {
        Tell(host, kNoTitle);
        return;
    }
    for (uint32_t i = 0; i < chapters.Count(); ++i) {
        if (chapters.RecordAt(i)->Title() == *title) {
            Tell(host, kDuplicateTitle);
            return;
        }
    }
    // Right after the caret item, wherever the line lies in the text; the model does not sort.
    int32_t position = itemCount == 0 ? 0 : chapterList.GetCaretIndex() + 1;
    if (position < 0) position = 0;
    if (position > itemCount) position = itemCount;
    if (chapters.Count() >= kMaxChapters) {
        Tell(host, kTooManyChapters);
        return;
    }
    chapterList.InsertString(position, *title);
    for (int32_t i = 0, n = chapterList.GetCount(); i < n; ++i) chapterList.SetSel(false, i);
    chapterList.SetSel(true, position);
    // Clamped so that a model that fell behind its list is never written past its end.
    uint32_t modelPosition = static_cast<uint32_t>(position);
    if (modelPosition > chapters.Count()) modelPosition = chapters.Count();
    chapters.InsertAt(MakeRecord(*title, *offset), modelPosition);
}

int AppendChapterAtCaretLine(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                             DialogHost& host, int32_t detectionScanPosition) {
    return AppendChapterAtCaretLine(bookText, chapterList, chapters, host, detectionScanPosition,
                                    ReadBookText(bookText.View()));
}

int AppendChapterAtCaretLine(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                             DialogHost& host, int32_t detectionScanPosition,
                             std::string_view text) {
    const RichEdit& view = bookText.View();
    int32_t line = view.LineFromChar(-1);
    int32_t lineStart = view.LineIndex(line);
    int32_t itemCount = chapterList.GetCount();
    if (itemCount >= static_cast<int32_t>(kMaxChapters) || chapters.Count() >= kMaxChapters) {
        Tell(host, kTooManyChapters);
        return -1;
    }
    if (itemCount == 0 && lineStart != 0) {
        Tell(host, kFirstNotAtStart);
        return -1;
    }
    std::optional<std::string> title = ReadTitleFromLine(view, line);
    if (!title) {
        Tell(host, kNoTitle);
        return -1;
    }
    // The heading the caller selected lies at or after the scan position; a title that does not
    // occur there has no offset we could trust, so the chapter is refused.
    size_t from = detectionScanPosition < 0 ? 0 : static_cast<size_t>(detectionScanPosition);
    size_t found = FindBytesFast(text, *title, from);
    if (found == std::string_view::npos) {
        Tell(host, kNoTitle);
        return -1;
    }
    chapterList.AddString(*title);
    chapters.Append(MakeRecord(*title, static_cast<uint32_t>(found)));
    return 0;
}

void MoveChapterUp(ListBox& chapterList, ChapterModel& chapters, DialogHost& host) {
    int32_t caret = chapterList.GetCaretIndex();
    if (caret <= 0) return;
    const ChapterRecord* upper = chapters.RecordAt(static_cast<uint32_t>(caret - 1));
    const ChapterRecord* lower = chapters.RecordAt(static_cast<uint32_t>(caret));
    if (upper == nullptr || lower == nullptr) {
        Tell(host, kMoveFailed);
        return;
    }
    // Copies: the model is swapped only after the list has been rewritten from the old order.
    std::string upperTitle(upper->Title());
    std::string lowerTitle(lower->Title());
    chapterList.DeleteString(caret - 1);
    chapterList.InsertString(caret - 1, lowerTitle);
    chapterList.DeleteString(caret);
    chapterList.InsertString(caret, upperTitle);
    chapters.MoveUp(static_cast<uint32_t>(caret));
    chapterList.SetSel(true, caret - 1);
}

void MoveChapterDown(ListBox& chapterList, ChapterModel& chapters, DialogHost& host) {
    int32_t caret = chapterList.GetCaretIndex();
    if (caret < 0 || caret + 1 >= chapterList.GetCount()) return;
    const ChapterRecord* upper = chapters.RecordAt(static_cast<uint32_t>(caret));
    const ChapterRecord* lower = chapters.RecordAt(static_cast<uint32_t>(caret + 1));
    if (upper == nullptr || lower == nullptr) {
        Tell(host, kMoveFailed);
        return;
    }
    std::string upperTitle(upper->Title());
    std::string lowerTitle(lower->Title());
    chapterList.DeleteString(caret);
    chapterList.InsertString(caret, lowerTitle);
    chapterList.DeleteString(caret + 1);
    chapterList.InsertString(caret + 1, upperTitle);
    chapters.MoveDown(static_cast<uint32_t>(caret));
    chapterList.SetSel(true, caret + 1);
}

void DeleteSelectedChapters(ListBox& chapterList, ChapterModel& chapters, DialogHost& host) {
    if (chapterList.GetSelCount() <= 0) {
        Tell(host, kNothingSelected);
        return;
    }
    std::vector<int32_t> selected = chapterList.GetSelItems();
    if (selected.empty()) {
        Tell(host, kNothingSelected);
        return;
    }
    // Each deletion shifts the later items up by one.
    for (size_t k = 0; k < selected.size(); ++k) {
        int32_t index = selected[k] - static_cast<int32_t>(k);
        if (index < 0) continue;
        chapterList.DeleteString(index);
        chapters.RemoveAt(static_cast<uint32_t>(index));
    }
    int32_t remaining = chapterList.GetCount();
    int32_t lastSelected = selected.back();
    if (lastSelected < remaining) {
        chapterList.SetSel(true, lastSelected);
    } else if (remaining > 0) {
        chapterList.SetSel(true, lastSelected - 1);
    }
}

void DeleteAllChapters(ListBox& chapterList, ChapterModel& chapters) {
    chapters.Clear();
    DeleteAllItems(chapterList);
}

void ShowSelectedChapter(CMyRECtrl& bookText, ListBox& chapterList, const ChapterModel& chapters) {
    int32_t caret = chapterList.GetCaretIndex();
    if (caret < 0) return;
    RichEdit& view = bookText.View();
    int32_t lineStart =
        view.LineIndex(bookText.LineOfOffset(chapters.OffsetAt(static_cast<uint32_t>(caret))));
    if (lineStart < 0) lineStart = 0;
    std::string title = chapterList.GetText(caret);
    view.SetFocus();
    if (title.empty()) return;
    CharRange match = view.FindText({0, -1}, title);
    if (match.min < 0) return;
    // The heading may also stand earlier in the text (a table of contents, say): show the
    // occurrence that starts on the chapter's own line or after it. When the heading has been
    // edited out of that part of the text, nothing is selected.
    if (match.min < lineStart) {
        match = view.FindText({lineStart, -1}, title);
        if (match.min < 0) return;
    }
    view.SetSelection(match);
    view.ApplyHighlightToSelection();
    chapterList.SetFocus();
}

}  // namespace brisna
