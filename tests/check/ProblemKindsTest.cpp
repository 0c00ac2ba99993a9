#include "check/ProblemKinds.h"

#include <gtest/gtest.h>

#include "controls/HeadlessListBox.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

// Every entry the test command and the missing-chapter check write, and titles that hold the
// words other kinds are known by.
TEST(ProblemKindsTest, EntriesAreKnownByTheirWholeShape) {
    struct Case {
        const char* entry;
        ProblemKind kind;
    };
    const Case cases[] = {
        {"可疑字（12）[Line 40]：到达！", ProblemKind::kSuspicious},
        {"乱码[Line 7]：\x81\x40！", ProblemKind::kGarbled},
        {"乱码[Line 7]：??！", ProblemKind::kGarbled},
        {"乱码[Line 7]：三个字！", ProblemKind::kOther},
        {"[Line 808]为空行", ProblemKind::kEmptyLine},
        {"第2章偏移错误", ProblemKind::kBlocking},
        {"第一章 乱码字数超过30K，不能生成QBR！", ProblemKind::kBlocking},
        {"可疑字（1）为空，不能生成QBR！", ProblemKind::kBlocking},
        {"“第三章”与“第三章”章节重复，不能生成QBR[Line 12]！", ProblemKind::kBlocking},
        {"  第四章行首不是文字内容，不能生成QBR！", ProblemKind::kBlocking},
        {"不足两章，不能生成QBR！", ProblemKind::kBlocking},
        {"第一个章节头不是文件开始，不能生成QBR", ProblemKind::kBlocking},
        {"QBR文件名超过15个汉字，不能生成QBR！", ProblemKind::kBlocking},
        {"第一章章节长度过短，无法生成QBR，建议合并章节", ProblemKind::kBlocking},
        // Not findings that stop generation: the missing-chapter check, near misses.
        {"缺少第5章", ProblemKind::kOther},
        {"第二章偏移错误", ProblemKind::kOther},
        {"[Line x]为空行", ProblemKind::kOther},
        {"第一章 [Line 3]为空行", ProblemKind::kOther},
        {"", ProblemKind::kOther},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyProblemEntry(G(c.entry)), c.kind) << c.entry;
    }
}

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
