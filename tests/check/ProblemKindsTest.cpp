#include "check/ProblemKinds.h"

#include <gtest/gtest.h>

#include "controls/HeadlessListBox.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

TEST(ProblemKindsTest, CountsEveryRowOfTheList) {
    HeadlessListBox list;
    // The kind comes from the item data: the texts here would say otherwise.
    const std::pair<ProblemKind, const char*> entries[] = {
        {ProblemKind::kSuspicious, "乱码[Line 4]：??！"}, {ProblemKind::kSuspicious, "x"},
        {ProblemKind::kEmptyLine, "第3章偏移错误"},       {ProblemKind::kGarbled, "缺少第5章"},
        {ProblemKind::kBlocking, "[Line 3]为空行"},
    };
    for (const auto& [kind, entry] : entries) AddProblemEntry(list, kind, G(entry));
    // Entries added without a kind, or with data that names none, are other findings.
    list.AddString(G("第3章偏移错误"));
    list.SetItemData(list.AddString("y"), 99);
    const ProblemCounts counts = CountProblemKinds(list);
    EXPECT_EQ(counts.suspicious, 2u);
    EXPECT_EQ(counts.emptyLines, 1u);
    EXPECT_EQ(counts.garbled, 1u);
    EXPECT_EQ(counts.blocking, 1u);
    EXPECT_EQ(counts.other, 2u);
    EXPECT_EQ(counts.Total(), 7u);
}

}  // namespace
}  // namespace brisna
