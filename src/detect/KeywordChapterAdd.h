#pragma once
// "模糊添加章节": marks a chapter at every occurrence of a heading and of the headings numbered
// after it, until the next heading is not found.

#include <cstdint>

#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"
#include "detect/AutomaticAdd.h"

namespace brisna {

// Reads the heading from the start-chapter field and appends chapters through
// AppendChapterAtCaretLine. `detectionScanPosition` is the dialog's scan position: the command
// moves it while it runs and leaves it at 0 on every path past the empty-field check. With
// `headingsAtLineStart` an occurrence counts only where it begins its line (after blanks), so
// cross-references in running text are passed over.
void KeywordChapterAdd(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                       DialogHost& host, int32_t& detectionScanPosition,
                       bool headingsAtLineStart = false);

}  // namespace brisna
