// Cases the fuzz targets ran into, kept so they stay fixed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chapters/ChapterModel.h"
#include "controls/HeadlessListBox.h"
#include "detect/MissingChapterCheck.h"
#include "support/ShiftCountingList.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::ShiftCountingList;

ChapterRecord Chapter(const std::string& title, uint32_t offset) {
    ChapterRecord record;
    record.SetTitle(title);
    record.offset = offset;
    return record;
}

// The operator script that hung: "检查缺章" pressed while the problem list held tens of
// thousands of findings. Two chapters far apart fill it with thousands of entries; pressing
// again must empty it without shifting the list.
TEST(MissingChapterFuzzRegressions, SecondRunClearsOldEntriesFromTheEnd) {
    ChapterModel chapters;
    chapters.Append(Chapter(G("第1章"), 0));
    chapters.Append(Chapter(G("第3002章"), 100));
    ShiftCountingList problemList;

    CheckMissingChapters(chapters, problemList);
    const std::vector<std::string> first = problemList.Texts();
    ASSERT_GE(first.size(), 3000u);

    CheckMissingChapters(chapters, problemList);
    EXPECT_EQ(problemList.shiftingDeletes, 0);
    EXPECT_EQ(problemList.Texts(), first);
}

}  // namespace
}  // namespace brisna
