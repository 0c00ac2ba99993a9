#pragma once
// "递增添加章节": marks a run of consecutively numbered chapters, taking the first occurrence of
// each heading after the previous one and stopping at the first number that is missing.

#include <cstdint>
#include <string_view>

#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"

namespace brisna {

// Reads the start heading from the start-chapter field and appends chapters through
// AppendChapterAtCaretLine. `detectionScanPosition` is the dialog's scan position: the command
// moves it while it runs and leaves it at 0 on every path past the empty-field check. With
// `headingsAtLineStart` an occurrence counts only where it begins its line (after blanks), so
// cross-references in running text are passed over.
void IncrementalChapterAdd(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                           DialogHost& host, int32_t& detectionScanPosition,
                           bool headingsAtLineStart = false);

// The same for a start heading the caller gives (GBK) instead of the field's text; the search
// starts at `detectionScanPosition` as it stands.
void IncrementalChapterAddFrom(std::string_view startHeading, CMyRECtrl& bookText,
                               ListBox& chapterList, ChapterModel& chapters, DialogHost& host,
                               int32_t& detectionScanPosition, bool headingsAtLineStart);

}  // namespace brisna
