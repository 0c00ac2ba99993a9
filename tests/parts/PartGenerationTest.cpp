// Writing the parts: a refused part writes nothing, and a shorter edition takes the earlier
// edition's surplus parts away.
#include "parts/PartGeneration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "Capacities.h"
#include "book/BookFiles.h"
#include "book/GenerationPlan.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

namespace fs = std::filesystem;
using test::G;

// A novel of `chapters` numbered chapters of a few hundred bytes each, with its headings.
std::string Novel(int chapters, std::vector<PlanHeading>& headings) {
    std::string text;
    for (int i = 1; i <= chapters; ++i) {
        std::string title = G("第") + std::to_string(i) + G("章 远行");
        headings.push_back({title, static_cast<uint32_t>(text.size()), false});
        text += title + "\r\n";
        for (int line = 0; line < 3; ++line) {
            text += G("山高水长，他沿着河岸走了很久，第") + std::to_string(i * 3 + line) +
                    G("天才到渡口。") + "\r\n";
        }
    }
    return text;
}

std::vector<std::string> Files(const fs::path& dir) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(GenerateParts, AShorterEditionRemovesTheEarlierEditionsSurplusParts) {
    test::TempDir dir;
    const std::string source = (dir / "book.txt").string();
    std::vector<PlanHeading> headings;
    std::string text = Novel(330, headings);
    test::RecordingHost host;
    ASSERT_TRUE(GenerateParts(text, PlanParts(text, headings, source), host).succeeded);
    ASSERT_EQ(
        Files(dir.path()),
        (std::vector<std::string>{"book(1).qbr", "book(1).qbr2", "book(2).qbr", "book(2).qbr2",
                                  "book(3).qbr", "book(3).qbr2", "book(4).qbr", "book(4).qbr2"}));
    // Files of those names that are not the edition's parts stay: not a book at all, and the
    // book of a text of its own.
    test::WriteFileBytes(dir / "book(5).qbr2", "not a book");
    fs::copy_file(dir / "book(1).qbr2", dir / "book(6).qbr2");
    test::WriteFileBytes(dir / "book(6).txt", "its own text");

    headings.clear();
    text = Novel(150, headings);
    host.messages.clear();
    ASSERT_TRUE(GenerateParts(text, PlanParts(text, headings, source), host).succeeded);
    EXPECT_EQ(Files(dir.path()), (std::vector<std::string>{
                                     "book(1).qbr", "book(1).qbr2", "book(2).qbr", "book(2).qbr2",
                                     "book(5).qbr2", "book(6).qbr2", "book(6).txt"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "分册生成成功：共2册，保存在" + dir.path().string() +
                                    "；已删除旧版的4个分册文件：book(3).qbr、book(3).qbr2、"
                                    "book(4).qbr、book(4).qbr2");
}

// A too short front matter and volume page (joined), and a chapter of two .qbr blocks: every
// part comes out as its text built alone, from blocks the plan kept.
TEST(GenerateParts, EveryPartIsItsTextBuiltAloneFromThePlansBlocks) {
    test::TempDir dir;
    std::vector<PlanHeading> headings{{G("山河行"), 0, false, true}};
    std::string text = G("山河行") + "\r\n" + G("作者：某人") + "\r\n";
    for (int i = 1; i <= 140; ++i) {
        if (i == 90) headings.push_back({G("卷二"), static_cast<uint32_t>(text.size()), false});
        if (i == 90) text += G("卷二") + "\r\n";
        headings.push_back({G("第") + std::to_string(i) + G("章"), uint32_t(text.size()), false});
        const std::string line = G("他走了") + std::to_string(i * 7) + G("天，山高水长。");
        text += headings.back().title + "\r\n" + line + line + line;
        for (int k = 0; k < (i == 60 ? 4000 : 0); ++k) text += std::to_string(k) + "x";
        text += "\r\n";
    }
    const PartPlan plan = PlanParts(text, headings, (dir / "book.txt").string());
    ASSERT_EQ(plan.status, PartPlanStatus::kOk) << test::U(plan.refusal);
    ASSERT_EQ(plan.parts.size(), 2u);
    test::RecordingHost host;
    const PartsOutcome outcome = GenerateParts(text, plan, host);
    ASSERT_TRUE(outcome.succeeded);
    std::vector<std::string> paths;
    size_t blocks = 0;
    for (const PlannedPart& part : plan.parts) {
        const std::string partText = text.substr(part.textOffset, part.textLength);
        for (const EncodedBookFile& file :
             EncodeBookFiles(partText, part.RelativeChapters(), part.sourcePath).files) {
            paths.push_back(file.path);
            EXPECT_EQ(test::ReadFileBytes(file.path), file.bytes) << file.path;
        }
        for (const ChapterRecord& piece :
             CutIntoPieces(partText, part.RelativeChapters(), kQbrPieceBytes)) {
            EXPECT_NE(plan.qbrCodes->Find(part.textOffset + piece.offset, piece.length), nullptr);
            ++blocks;
        }
    }
    EXPECT_EQ(outcome.writtenFiles, paths);
    EXPECT_EQ(blocks, plan.ChapterCount() + 1);  // chapter 60 is two blocks
}

TEST(GenerateParts, ARefusedPartWritesNothing) {
    test::TempDir dir;
    std::vector<PlanHeading> headings;
    const std::string text = Novel(60, headings);
    const std::string source = (dir / (G("一二三四五六七八九十甲乙丙丁戊己") + ".txt")).string();
    PartPlan plan = PlanParts(text, headings, source);
    ASSERT_EQ(plan.status, PartPlanStatus::kPartRefused);
    test::RecordingHost host;
    PartsOutcome outcome = GenerateParts(text, plan, host);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.writtenFiles.empty());
    EXPECT_TRUE(Files(dir.path()).empty());
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"QBR文件名不能超过15个汉字\n第1册不能生成，什么也没有写出"});
}

}  // namespace
}  // namespace brisna
