#pragma once
// The operator's commands that build the chapter list by hand, and the append step the automatic
// adds share. Every command changes the chapter list and the chapter model in the same step, so
// that list item i always shows the title of record i.

#include <cstdint>
#include <string_view>

#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"

namespace brisna {

// "添加章节": inserts the caret line as a chapter right after the list's caret item.
void AddChapterAtCaret(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                       DialogHost& host);

// Appends the caret line as a chapter at the end of list and model; the offset is the first
// occurrence of the title in the book text at or after the detection scan position.
// Returns 0 when a chapter was appended, -1 when it was refused (a message has been shown).
int AppendChapterAtCaretLine(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                             DialogHost& host, int32_t detectionScanPosition);

// The same with the book text read once by the caller: `text` must be what the view holds right
// now (cut at its NUL). A command that appends many chapters without changing the text saves
// reading ten megabytes per chapter.
int AppendChapterAtCaretLine(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                             DialogHost& host, int32_t detectionScanPosition,
                             std::string_view text);

// "上移" / "下移": the caret item changes places with its neighbour.
void MoveChapterUp(ListBox& chapterList, ChapterModel& chapters, DialogHost& host);
void MoveChapterDown(ListBox& chapterList, ChapterModel& chapters, DialogHost& host);

// "删除": removes every selected chapter.
void DeleteSelectedChapters(ListBox& chapterList, ChapterModel& chapters, DialogHost& host);

// "全部删除": removes every chapter.
void DeleteAllChapters(ListBox& chapterList, ChapterModel& chapters);

// Selection change of the chapter list: selects and highlights the caret item's heading on its
// own line in the text.
void ShowSelectedChapter(CMyRECtrl& bookText, ListBox& chapterList, const ChapterModel& chapters);

}  // namespace brisna
