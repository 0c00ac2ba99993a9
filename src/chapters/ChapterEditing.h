#pragma once
// The contents editor's chapter commands: correcting a title, moving a chapter to another place
// in the list, and putting the chapters in the order of their offsets. Like the manual commands
// they change the chapter list and the chapter model in the same step; the book text is never
// touched.

#include <cstdint>
#include <string_view>

#include "chapters/ChapterModel.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"

namespace brisna {

// Gives chapter `index` a new title (GBK). Refused with a message when the title is empty,
// longer than a record holds (63 bytes) or the title of another chapter. Returns true when
// the title changed.
bool RenameChapter(ListBox& chapterList, ChapterModel& chapters, DialogHost& host, int32_t index,
                   std::string_view gbkTitle);

// Moves chapter `from` so that it stands at `to` afterwards (both list indexes; `to` may be the
// item count, meaning the end). The moved item is selected alone. Returns true when the order
// changed.
bool MoveChapterTo(ListBox& chapterList, ChapterModel& chapters, DialogHost& host, int32_t from,
                   int32_t to);

// "按位置排序": the chapters in ascending order of their offsets (chapters at the same offset
// keep their order). Returns true when the order changed.
bool SortChaptersByPosition(ListBox& chapterList, ChapterModel& chapters);

// Shows the records in the list again from scratch: one item per record, no selection, no marks.
void RefillChapterList(ListBox& chapterList, const ChapterModel& chapters);

}  // namespace brisna
