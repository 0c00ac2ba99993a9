#pragma once
// The append step of the automatic adds for callers that already hold the book text.

#include <cstdint>
#include <string_view>

#include "app/DialogHost.h"
#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/ListBox.h"

namespace brisna {

// AppendChapterAtCaretLine with the book text read once by the caller: `bookText` must be what
// ReadBookText gives for the view right now. A command that appends many chapters without
// changing the text saves reading ten megabytes per chapter.
int AppendChapterAtCaretLine(CMyRECtrl& control, ListBox& chapterList, ChapterModel& chapters,
                             DialogHost& host, int32_t detectionScanPosition,
                             std::string_view bookText);

}  // namespace brisna
