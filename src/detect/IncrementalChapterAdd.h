#pragma once
// "递增添加章节": marks a run of consecutively numbered chapters, taking the first occurrence of
// each heading after the previous one and stopping at the first number that is missing.

#include <cstdint>

#include "controls/DialogHost.h"
#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/ListBox.h"

namespace brisna {

// Reads the start heading from the start-chapter field and appends chapters through
// AppendChapterAtCaretLine. `detectionScanPosition` is the dialog's scan position: the command
// moves it while it runs and leaves it at 0 on every path past the empty-field check.
void IncrementalChapterAdd(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                           DialogHost& host, int32_t& detectionScanPosition);

}  // namespace brisna
