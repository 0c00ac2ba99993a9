#pragma once
// "检查缺章": reads the number of every chapter title and lists each number that a run of titles
// skips, as entries of the problem list ("缺少第三！").

#include <cstddef>

#include "chapters/ChapterModel.h"
#include "controls/ListBox.h"

namespace brisna {

// A gap of millions of numbers (a title such as 第2147483647章) would otherwise fill memory
// with entries; one run writes at most this many.
inline constexpr size_t kMaxMissingChapterEntries = 100000;

// Empties the problem list and fills it with one entry per missing chapter number.
void CheckMissingChapters(const ChapterModel& chapters, ListBox& problemList);

}  // namespace brisna
