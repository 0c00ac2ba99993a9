#include "detect/MissingChapterCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/HeadlessListBox.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

// Runs the check over chapters with the given titles and returns the entries, in UTF-8.
std::vector<std::string> Check(const std::vector<std::string>& utf8Titles,
                               HeadlessListBox* list = nullptr) {
    ChapterModel chapters;
    chapters.Clear();
    for (const std::string& title : utf8Titles) {
        ChapterRecord record;
        record.SetTitle(G(title));
        chapters.Append(record);
    }
    HeadlessListBox own;
    HeadlessListBox& problems = list ? *list : own;
    CheckMissingChapters(chapters, problems);
    std::vector<std::string> entries;
    for (const std::string& entry : problems.Texts()) entries.push_back(U(entry));
    return entries;
}

using Entries = std::vector<std::string>;

TEST(MissingChapterCheck, ReportsEachSkippedNumberByItsStem) {
    EXPECT_EQ(Check({"第一章 风起", "第二章 云涌", "第五章 雷动"}),
              (Entries{"缺少第三！", "缺少第四！"}));
    EXPECT_EQ(Check({"第1章", "第2章", "第4章"}), (Entries{"缺少第3！"}));
    EXPECT_EQ(Check({"第一章", "第三章"}), (Entries{"缺少第二！"}));
    // A title ending in its number has an empty suffix, so its stem is empty.
    EXPECT_EQ(Check({"第一", "第三"}), (Entries{"缺少！"}));
}

TEST(MissingChapterCheck, RunsThatAreCompleteOrRestartGiveNothing) {
    EXPECT_EQ(Check({"第九章", "第十章", "第十一章", "第十二章"}), Entries{});
    EXPECT_EQ(Check({"第一章", "第二章", "第一章", "第二章"}), Entries{});
    EXPECT_EQ(Check({"第三章", "第四章"}), Entries{});
    EXPECT_EQ(Check({"第二章", "第二章", "第一章"}), Entries{});
    EXPECT_EQ(Check({"一、风起", "二、云涌", "四、雷动"}), Entries{});
    EXPECT_EQ(Check({}), Entries{});
}

TEST(MissingChapterCheck, TitleWithoutNumberCountsAsZero) {
    EXPECT_EQ(Check({"第二章", "楔子", "第三章"}), (Entries{"缺少第一！", "缺少第二！"}));
}

TEST(MissingChapterCheck, TitlesStartingWithTheirNumberFormGroups) {
    // 一、风起 makes 一 the group heading; the chapters inside it are counted after it, and the
    // entries name the group in front of the stem. 二、云涌 starts the next group from scratch.
    EXPECT_EQ(
        Check({"一、风起", "一、第一回", "一、第四回", "二、云涌", "二、第一回", "二、第三回"}),
        (Entries{"缺少一、第二！", "缺少一、第三！", "缺少二、第二！"}));
}

TEST(MissingChapterCheck, GroupBelowTheCurrentOneReportsTheNumbersBetween) {
    // 第五章 makes 第五 the group; 第二章 lies below it, so the numbers between are reported by
    // the group's stem, which ends with its number and so is empty.
    EXPECT_EQ(Check({"一、风起", "第五章", "第二章"}), (Entries{"缺少！", "缺少！"}));
}

TEST(MissingChapterCheck, GroupAboveTheCurrentOneMovesOn) {
    // 第二章 makes 第二 the group; at 第五章 the group moves on to the stem of 第三, which is
    // empty and so occurs everywhere: 第七章 and 第九章 are then counted as one run.
    EXPECT_EQ(Check({"一、风起", "第二章", "第五章", "第七章", "第九章"}), (Entries{"缺少第八！"}));
}

TEST(MissingChapterCheck, HugeGapsAreBoundedAndNumbersDoNotOverflow) {
    Entries entries = Check({"第1章", "第2147483647章"});
    ASSERT_EQ(entries.size(), kMaxMissingChapterEntries);
    EXPECT_EQ(entries.front(), "缺少第2！");
    EXPECT_EQ(entries.back(), "缺少第" + std::to_string(kMaxMissingChapterEntries + 1) + "！");
    // A group at the largest number is neither moved past it nor counted on from it.
    EXPECT_EQ(Check({"一、风起", "第2147483647章", "第2147483648章"}), Entries{});
    EXPECT_EQ(Check({"一、风起", "第2147483647章", "第1章"}).size(), kMaxMissingChapterEntries);
}

TEST(MissingChapterCheck, EachRunStartsWithAnEmptyList) {
    HeadlessListBox problems;
    problems.AddString(G("第3章偏移错误"));
    EXPECT_EQ(Check({"第1章", "第3章"}, &problems), (Entries{"缺少第2！"}));
    EXPECT_EQ(Check({"第1章", "第3章"}, &problems), (Entries{"缺少第2！"}));
    EXPECT_EQ(Check({"第1章"}, &problems), Entries{});
}

}  // namespace
}  // namespace brisna
