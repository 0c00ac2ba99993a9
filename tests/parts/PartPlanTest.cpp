// The part plan: how many chapters each part takes, how long chapters are cut, how parts are
// named, and that the parts together hold the whole text once.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

#include "Capacities.h"
#include "parts/PartPlan.h"
#include "support/TestSupport.h"
#include "text/FileNames.h"

namespace brisna {
namespace {

using test::G;

std::vector<bool> Volumes(size_t chapters, const std::vector<size_t>& starts) {
    std::vector<bool> flags(chapters, false);
    for (size_t start : starts) flags[start] = true;
    return flags;
}

TEST(PartSizes, FewestPartsAtVolumeStartsElseEven) {
    struct Case {
        const char* name;
        std::vector<bool> volumeStart;
        std::vector<uint32_t> sizes;
    };
    const Case cases[] = {
        {"fits one book", Volumes(98, {}), {98}},
        {"nothing", {}, {}},
        {"volumes that fit", Volumes(260, {0, 80, 175}), {80, 95, 85}},
        // Two parts need a cut inside a volume; three at volume starts would be one part more.
        {"fewest parts first", Volumes(180, {0, 60, 130}), {90, 90}},
    };
    for (const Case& c : cases) EXPECT_EQ(PartSizes(c.volumeStart), c.sizes) << c.name;

    std::vector<uint32_t> two = PartSizes(Volumes(99, {}));
    ASSERT_EQ(two.size(), 2u);
    EXPECT_LE(std::max(two[0], two[1]) - std::min(two[0], two[1]), 1u);
    // Without volumes: near-equal parts, as few as fit.
    std::vector<uint32_t> even = PartSizes(Volumes(1200, {}));
    ASSERT_EQ(even.size(), 13u);
    for (uint32_t size : even) EXPECT_TRUE(size == 92 || size == 93) << size;
    // Volumes of 100 chapters each are cut inside, still into the fewest parts.
    std::vector<size_t> hundreds;
    for (size_t v = 0; v < 12; ++v) hundreds.push_back(v * 100);
    std::vector<uint32_t> volumes = PartSizes(Volumes(1200, hundreds));
    EXPECT_EQ(volumes.size(), 13u);
    EXPECT_EQ(std::accumulate(volumes.begin(), volumes.end(), 0u), 1200u);
    EXPECT_LE(*std::max_element(volumes.begin(), volumes.end()), kMaxChapters);
}

std::string Paragraphs(size_t count, size_t bytes) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        std::string line = G("段");
        while (line.size() + 2 < bytes) line += G("字");
        text += line + "\r\n";
    }
    return text;
}

TEST(CutLongChapters, CutsAtParagraphEndsWithinTheLimit) {
    // Heading, then paragraphs of 1,000 bytes: 31 of them are over the limit.
    const std::string heading = G("第三回　宝玉初试云雨情") + "\r\n";
    const std::string body = Paragraphs(70, 1000);
    const std::string text = heading + body;
    ChapterRecord chapter;
    chapter.SetTitle(G("第三回　宝玉初试云雨情"));
    chapter.length = static_cast<uint32_t>(text.size());
    std::vector<ChapterRecord> pieces = CutLongChapters(text, {chapter});
    ASSERT_EQ(pieces.size(), 3u);
    uint32_t at = 0;
    for (const ChapterRecord& piece : pieces) {
        EXPECT_EQ(piece.offset, at);
        EXPECT_LE(piece.length, kChapterSizeLimit);
        // Every piece but the last ends a paragraph.
        EXPECT_EQ(text.substr(piece.offset + piece.length - 2, 2), "\r\n");
        at += piece.length;
    }
    EXPECT_EQ(at, text.size());
    EXPECT_EQ(test::U(pieces[0].Title()), "第三回　宝玉初试云雨情");
    EXPECT_EQ(test::U(pieces[1].Title()), "第三回　宝玉初试云雨情（二）");
    EXPECT_EQ(test::U(pieces[2].Title()), "第三回　宝玉初试云雨情（三）");

    // One paragraph longer than the limit is cut at a character boundary.
    const std::string one = G("第一章") + "\r\n" + Paragraphs(1, 70000);
    chapter.SetTitle(std::string(60, 'x'));
    chapter.length = static_cast<uint32_t>(one.size());
    pieces = CutLongChapters(one, {chapter});
    ASSERT_EQ(pieces.size(), 3u);
    for (const ChapterRecord& piece : pieces) {
        EXPECT_LE(piece.length, kChapterSizeLimit);
        EXPECT_LE(piece.Title().size(), kTitleTextBytes);
    }
    // The second piece starts on a whole character: the first ends after the heading's line
    // and an even number of double-byte characters.
    EXPECT_EQ((pieces[1].offset - 8) % 2, 0u);
    EXPECT_EQ(pieces[1].Title().substr(pieces[1].Title().size() - 6), G("（二）"));
}

TEST(PartSourcePath, NumbersSortAndNamesFitTheRule) {
    struct Case {
        std::string source;
        int number;
        int count;
        std::string expected;
    };
    const Case cases[] = {
        {"/b/山河行.txt", 2, 3, "/b/山河行(2).txt"},
        {"/b/山河行.txt", 2, 13, "/b/山河行(02).txt"},
        {"/b/山河行.TXT", 13, 13, "/b/山河行(13).txt"},
        // Fifteen characters and a mark do not fit 34 bytes: the base loses characters.
        {"/b/一二三四五六七八九十一二三四五.txt", 1, 13, "/b/一二三四五六七八九十一二三(01).txt"},
        {"abcdefghijklmnopqrstuvwxyzabcdefghij.txt", 1, 2, "abcdefghijklmnopqrstuvwxyza(1).txt"},
    };
    for (const Case& c : cases) {
        std::string path = PartSourcePath(c.source, c.number, c.count);
        EXPECT_EQ(path, c.expected) << c.source;
        std::string name = path.substr(path.rfind('/') + 1);
        EXPECT_LE(FileNameToGbk(name).size(), kMaxBookFileNameBytes) << path;
    }
}

TEST(PlanParts, PartsHoldTheWholeTextOnce) {
    // 250 chapters in three volumes, some over the size limit, and front matter.
    std::string text = G("山河行\r\n作者：某人\r\n");
    std::vector<PlanHeading> headings;
    for (int i = 0; i < 250; ++i) {
        if (i % 90 == 0) {
            headings.push_back({G("第一卷"), static_cast<uint32_t>(text.size()), true});
            text += G("第一卷") + "\r\n";
        }
        std::string title = G("第") + std::to_string(i + 1) + G("章");
        headings.push_back({title, static_cast<uint32_t>(text.size()), false});
        text += title + "\r\n" + Paragraphs(i % 40 == 0 ? 45 : 2, 800);
    }
    headings.insert(headings.begin(), PlanHeading{G("山河行"), 0, false});
    PartPlan plan = PlanParts(text, headings, "/books/山河行.txt");
    ASSERT_EQ(plan.status, PartPlanStatus::kOk);
    ASSERT_GE(plan.parts.size(), 3u);
    uint32_t at = 0;
    for (const PlannedPart& part : plan.parts) {
        EXPECT_EQ(part.textOffset, at);
        EXPECT_LE(part.chapters.size(), kMaxChapters);
        EXPECT_GE(part.chapters.size(), 2u);
        std::vector<ChapterRecord> relative = part.RelativeChapters();
        EXPECT_EQ(relative.front().offset, 0u);
        uint32_t inside = 0;
        for (const ChapterRecord& chapter : relative) {
            EXPECT_EQ(chapter.offset, inside);
            EXPECT_LE(chapter.length, kChapterSizeLimit);
            inside += chapter.length;
        }
        EXPECT_EQ(inside, part.textLength);
        at += part.textLength;
    }
    EXPECT_EQ(at, text.size());
    // Each volume start is a part start.
    for (const PlannedPart& part : plan.parts) {
        EXPECT_TRUE(part.lines.front().volume || part.number == 1) << part.number;
    }

    EXPECT_EQ(PlanParts(text, {}, "/b/x.txt").status, PartPlanStatus::kNoHeadings);
    EXPECT_EQ(PlanParts(text, {{G("a"), 10, false}}, "/b/x.txt").status,
              PartPlanStatus::kFirstNotAtStart);
    EXPECT_EQ(PlanParts(text, {{G("a"), 0, false}, {G("b"), 0, false}}, "/b/x.txt").status,
              PartPlanStatus::kBadOffsets);
}

TEST(PlanParts, TitlesRepeatedByVolumesCountingAgainAreToldApart) {
    // Three volumes of 40 chapters, each counting from 第1章 again: 120 chapters, two parts.
    std::string text;
    std::vector<PlanHeading> headings;
    for (int volume = 1; volume <= 3; ++volume) {
        std::string name = G("第") + std::to_string(volume) + G("卷 远行");
        headings.push_back({name, static_cast<uint32_t>(text.size()), true});
        text += name + "\r\n";
        for (int i = 1; i <= 40; ++i) {
            std::string title = G("第") + std::to_string(i) + G("章");
            headings.push_back({title, static_cast<uint32_t>(text.size()), false});
            text += title + "\r\n" + Paragraphs(2, 200);
        }
    }
    PartPlan plan = PlanParts(text, headings, "/b/x.txt");
    ASSERT_EQ(plan.status, PartPlanStatus::kOk);
    ASSERT_EQ(plan.parts.size(), 2u);
    bool sawVolumeName = false;
    for (const PlannedPart& part : plan.parts) {
        std::set<std::string> titles;
        for (const ChapterRecord& chapter : part.chapters) {
            EXPECT_TRUE(titles.insert(std::string(chapter.Title())).second)
                << test::U(chapter.Title());
            sawVolumeName = sawVolumeName || test::U(chapter.Title()) == "第2卷 远行 第1章";
        }
    }
    EXPECT_TRUE(sawVolumeName);
}

// A novel of numbered chapters, each of a few paragraphs, whose last chapter is only a line.
std::string NovelWithShortLastChapter(int chapters, std::vector<PlanHeading>& headings) {
    std::string text;
    for (int i = 1; i < chapters; ++i) {
        std::string title = G("第") + std::to_string(i) + G("章 远行");
        headings.push_back({title, static_cast<uint32_t>(text.size()), false});
        text += title + "\r\n" + Paragraphs(3, 300);
    }
    std::string last = G("第") + std::to_string(chapters) + G("章 结束");
    headings.push_back({last, static_cast<uint32_t>(text.size()), false});
    return text + last + "\r\n" + G("尾声。");
}

TEST(PlanParts, ChaptersTooShortForABookJoinTheNextAndEveryPartPassesGeneration) {
    std::vector<PlanHeading> headings;
    std::string text = NovelWithShortLastChapter(201, headings);
    // A volume's title page of one line, as a chapter of its own, in the middle.
    const uint32_t page = headings[120].offset;
    text.insert(page, G("卷二") + "\r\n");
    for (size_t i = 120; i < headings.size(); ++i) headings[i].offset += 6;
    headings.insert(headings.begin() + 120, PlanHeading{G("卷二"), page, false});

    PartPlan plan = PlanParts(text, headings, "/b/x.txt");
    ASSERT_EQ(plan.status, PartPlanStatus::kOk) << test::U(plan.refusal);
    EXPECT_EQ(plan.ChapterCount(), 200u);  // 202 headings, two joined
    const PlannedPart& last = plan.parts.back();
    EXPECT_EQ(test::U(last.chapters.back().Title()), "第200章 远行");
    EXPECT_EQ(last.textOffset + last.textLength, text.size());
    bool pageKept = false;
    for (const PlannedPart& part : plan.parts) {
        for (const ChapterRecord& chapter : part.chapters) {
            EXPECT_NE(test::U(chapter.Title()), "卷二");
            if (test::U(chapter.Title()) == "第121章 远行") {
                // The page's line begins the chapter it joined.
                pageKept = text.substr(chapter.offset, 6) == G("卷二") + "\r\n";
            }
        }
    }
    EXPECT_TRUE(pageKept);
}

TEST(PlanParts, APartThatGenerationWouldRefuseRefusesThePlan) {
    std::vector<PlanHeading> headings;
    const std::string text = NovelWithShortLastChapter(50, headings);
    // One part, written under the book's own name: too long for the device.
    PartPlan plan =
        PlanParts(text, headings, "/b/" + G("一二三四五六七八九十甲乙丙丁戊己") + ".txt");
    EXPECT_EQ(plan.status, PartPlanStatus::kPartRefused);
    EXPECT_EQ(plan.refusedPart, 1);
    EXPECT_EQ(test::U(plan.refusal), "QBR文件名不能超过15个汉字");
    ASSERT_EQ(plan.parts.size(), 1u);  // still shown
}

}  // namespace
}  // namespace brisna
