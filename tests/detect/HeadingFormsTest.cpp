// The heading forms real downloads use, the one recognition's limits (over-long numbers,
// wrapped lines), and the operator's own rule.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "detect/BookOutline.h"
#include "detect/ChapterRule.h"
#include "detect/HeadingPatternDetection.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna {
namespace {

using test::G;
using test::U;

constexpr OutlineEntryKind kFront = OutlineEntryKind::kFrontMatter;
constexpr OutlineEntryKind kVolume = OutlineEntryKind::kVolume;
constexpr OutlineEntryKind kChapter = OutlineEntryKind::kChapter;
constexpr OutlineEntryKind kSection = OutlineEntryKind::kNamedSection;

struct Found {
    OutlineEntryKind kind;
    std::string title;  // UTF-8
    int32_t line = -1;  // -1: not checked
};

const std::string kProse = "　　他走上了山路，远处的村庄亮起了灯火。\r\n";

void Expect(const BookOutline& outline, const std::vector<Found>& expected) {
    ASSERT_EQ(outline.entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const OutlineEntry& entry = outline.entries[i];
        EXPECT_EQ(entry.kind, expected[i].kind) << i << ": " << U(entry.title);
        EXPECT_EQ(U(entry.title), expected[i].title) << i;
        if (expected[i].line >= 0) {
            EXPECT_EQ(entry.line, expected[i].line) << i;
        }
    }
}

TEST(HeadingForms, EachFamilyIsFoundAtItsLine) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<Found> outline;
    };
    const std::string p = kProse;
    const Case cases[] = {
        {"brackets",
         "【第一章】初入\r\n" + p + "［第12章］ 再见\r\n" + p + "〖第一卷〗\r\n[第1章]\r\n" + p +
             "「楔子」\r\n" + p + "『第二章』 完\r\n" + p,
         {{kChapter, "【第一章】初入", 0},
          {kChapter, "［第12章］ 再见", 2},
          {kVolume, "〖第一卷〗", 4},
          {kChapter, "[第1章]", 5},
          {kSection, "「楔子」", 7},
          {kChapter, "『第二章』 完", 9}}},
        {"a site's prefix: the whole line is the title",
         "正文 第一章 标题\r\n" + p + "正文卷 第3章 再来\r\n" + p + "VIP卷 第一百零一章 末\r\n" + p,
         {{kChapter, "正文 第一章 标题"},
          {kChapter, "正文卷 第3章 再来"},
          {kChapter, "VIP卷 第一百零一章 末"}}},
        {"a volume and its first chapter on one line",
         "第一卷 初入江湖 第一章 少年\r\n" + p + "第二章 出山\r\n" + p + "第二卷第三章 归来\r\n" +
             p,
         {{kVolume, "第一卷 初入江湖", 0},
          {kChapter, "第一章 少年", 0},
          {kChapter, "第二章 出山", 2},
          {kVolume, "第二卷", 4},
          {kChapter, "第三章 归来", 4}}},
        {"several units, each run in text order",
         "第1节 甲\r\n" + p + "第2节 乙\r\n" + p + "第1话 丙\r\n" + p + "第2话 丁\r\n" + p +
             "第一集 戊\r\n" + p + "第二集 己\r\n" + p + "第一幕\r\n" + p + "第二幕\r\n" + p,
         {{kChapter, "第1节 甲"},
          {kChapter, "第2节 乙"},
          {kChapter, "第1话 丙"},
          {kChapter, "第2话 丁"},
          {kChapter, "第一集 戊"},
          {kChapter, "第二集 己"},
          {kChapter, "第一幕"},
          {kChapter, "第二幕"}}},
        {"a unit inside the chapters of another stays text",
         "第一章 甲\r\n第一节 小\r\n" + p + "第二节 小\r\n" + p + "第二章 乙\r\n" + p +
             "第三章 丙\r\n" + p,
         {{kChapter, "第一章 甲"}, {kChapter, "第二章 乙"}, {kChapter, "第三章 丙"}}},
        {"named sections at the front and the back",
         "作品相关\r\n" + p + "新书感言\r\n" + p + "引子\r\n" + p + "第一章 始\r\n" + p +
             "第二章 终\r\n" + p + "番外篇：旧梦\r\n" + p + "番外2 新梦\r\n" + p + "上架感言\r\n" +
             p + "完本感言\r\n" + p + "尾声\r\n" + p + "终章\r\n" + p,
         {{kSection, "作品相关"},
          {kSection, "新书感言"},
          {kSection, "引子"},
          {kChapter, "第一章 始"},
          {kChapter, "第二章 终"},
          {kSection, "番外篇：旧梦"},
          {kSection, "番外2 新梦"},
          {kSection, "上架感言"},
          {kSection, "完本感言"},
          {kSection, "尾声"},
          {kSection, "终章"}}},
        {"Traditional characters read as Simplified",
         "第一卷 風起\r\n第一回 初見\r\n" + p + "第兩百回 再見\r\n" + p + "第三節\r\n" + p +
             "第四節\r\n" + p + "後記\r\n" + p,
         {{kVolume, "第一卷 風起"},
          {kChapter, "第一回 初見"},
          {kChapter, "第兩百回 再見"},
          {kChapter, "第三節"},
          {kChapter, "第四節"},
          {kSection, "後記"}}},
        {"Chapter N and numbers alone",
         "Chapter 1 Start\r\n" + p + "CHAPTER 2\r\n" + p + "Chapter 10 is later, he said.\r\n",
         {{kChapter, "Chapter 1 Start"}, {kChapter, "CHAPTER 2"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Expect(BuildBookOutline(G(c.text)), c.outline);
    }
}

TEST(HeadingForms, ProseAndWrappedLinesAreText) {
    const std::string p = kProse;
    const std::string wrapped =
        "这是一本硬换行的书，每一行都在固定的宽度处断开，所以一句话会落在两行上，而下一行的开头"
        "可能是任何字，比如顺\r\n序\r\n";
    Expect(BuildBookOutline(G("第一章 甲\r\n" + p + wrapped + "序 ABC 的说明\r\n" +
                              "第三回合過後，兩人都累了。\r\n" + "第二章 乙\r\n" + p +
                              "正文里提到第三章的时候，他笑了。\r\n" +
                              "【注】这一行不是标题\r\n[1] 注释一\r\n")),
           {{kChapter, "第一章 甲"}, {kChapter, "第二章 乙"}});
    // Standing alone after a finished sentence, 序 is the preface.
    Expect(BuildBookOutline(G("书名\r\n" + p + "序\r\n" + p + "第一章 甲\r\n" + p)),
           {{kFront, "书名"}, {kSection, "序"}, {kChapter, "第一章 甲"}});
}

TEST(HeadingForms, OverLongNumbersAreNoHeadings) {
    std::string wan;
    for (int i = 0; i < 24; ++i) wan += "万";
    struct Case {
        std::string numeral;
        size_t bytes;  // 0: no numeral
    };
    const Case cases[] = {
        {"第一" + wan + "章", 0},
        {"一" + wan, 0},
        {"九九九九九九九九九九九九九九九九九九九九九九九九", 0},
        {"九千九百九十九万九千九百九十九", 30},
        {"一亿", 2},  // 亿 is no unit of chapter numbers: 一 alone
        {"壹萬", 4},
    };
    for (const Case& c : cases) {
        int64_t value = -1;
        EXPECT_EQ(ReadOutlineNumeral(G(c.numeral), value), c.bytes) << c.numeral;
        EXPECT_LE(value, kMaxHeadingNumber);
    }
    const std::string p = kProse;
    BookOutline outline = BuildBookOutline(G("第一" + wan + "章\r\n" + p + "第123456789012章\r\n" +
                                             p + "第1章 甲\r\n" + p + "第2章 乙\r\n" + p +
                                             "99999999999999999999\r\n" + p));
    Expect(outline,
           {{kFront, "第一" + wan + "章"}, {kChapter, "第1章 甲"}, {kChapter, "第2章 乙"}});
}

TEST(HeadingForms, DetectShowsTheWholeCountAndEachRun) {
    const std::string p = kProse;
    const std::string text = G("书名\r\n" + p + "第1节 甲\r\n" + p + "第2节 乙\r\n" + p +
                               "第1话 丙\r\n" + p + "第2话 丁\r\n" + p + "第3话 戊\r\n" + p);
    std::vector<HeadingCandidate> candidates = DetectHeadingPatterns(text);
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(U(FormatHeadingCandidate(candidates[0])).substr(0, 10), "第1节\t6\t");
    EXPECT_EQ(candidates[0].firstLine, 2);
    EXPECT_EQ(candidates[1].chapters, 2);
    EXPECT_EQ(U(candidates[2].startHeading), "第1话");
    EXPECT_EQ(candidates[2].chapters, 3);
    EXPECT_NEAR(candidates[1].coveragePercent + candidates[2].coveragePercent,
                candidates[0].coveragePercent, 1);
}

TEST(ChapterRule, APatternFindsItsHeadingsAtLineStartOnly) {
    const std::string p = kProse;
    const std::string text =
        G("书名\r\n卷一 风\r\n  ==1== 开始\r\n" + p + "他说 ==2== 不是标题\r\n" + "==2== 继续\r\n" +
          p + "卷二 云\r\n==3==\r\n" + p);
    struct Case {
        ChapterRule rule;
        std::vector<Found> outline;
    };
    const Case cases[] = {
        {{"==\\d+==", "", false},
         {{kFront, "书名"},
          {kChapter, "  ==1== 开始", 2},
          {kChapter, "==2== 继续", 5},
          {kChapter, "==3==", 8}}},
        {{"==\\d+==", "卷[一二三]", false},
         {{kFront, "书名"},
          {kVolume, "卷一 风"},
          {kChapter, "  ==1== 开始"},
          {kChapter, "==2== 继续"},
          {kVolume, "卷二 云"},
          {kChapter, "==3=="}}},
        // A pattern that matches the empty text marks nothing.
        {{"x*", "", false}, {}},
        {{"他说", "", false}, {{kFront, "书名"}, {kChapter, "他说 ==2== 不是标题"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule.pattern + " / " + c.rule.volumePattern);
        std::string problem;
        Expect(BuildRuleOutline(text, c.rule, problem), c.outline);
        EXPECT_EQ(problem, "");
    }
}

TEST(ChapterRule, BadPatternsAreReportedWithTheirPosition) {
    struct Case {
        std::string pattern;
        std::string what;  // the fault as the message names it
    };
    const Case cases[] = {
        {"第(.+章", "括号不成对"},
        {"第[一二章", "缺少 ]"},
        {"第.{3,1}章", "无效的重复次数"},
        {"第\\k章", "语法错误"},
    };
    const std::regex shape("章节规则有误（第([0-9]+)个字符）：(.*)");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        std::optional<std::string> problem = PatternProblem(c.pattern);
        ASSERT_TRUE(problem.has_value());
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(*problem, parts, shape)) << *problem;
        // ICU's position, in characters of the pattern as typed.
        int position = std::stoi(parts[1]);
        EXPECT_GE(position, 2);
        EXPECT_LE(position, static_cast<int>(Utf8ToUtf16(c.pattern).size()) + 1);
        EXPECT_TRUE(parts[2].str().starts_with(c.what)) << *problem;
        std::string reported;
        BookOutline outline = BuildRuleOutline(G("第一章\r\n"), {c.pattern, "", false}, reported);
        EXPECT_EQ(reported, *problem);
        EXPECT_TRUE(outline.entries.empty());
    }
    EXPECT_FALSE(PatternProblem("^第.{1,9}章").has_value());
}

TEST(ChapterRule, ShortTitlesMakeACollection) {
    const std::string text =
        G("散文集\r\n\r\n春\r\n\r\n　　春天来了，花开了。\r\n　　又是一年。\r\n\r\n夏日\r\n\r\n"
          "　　蝉在叫。\r\n\r\n他说：\r\n\r\n　　很热。\r\n\r\n秋\r\n\r\n　　叶落。\r\n");
    std::string problem;
    Expect(BuildRuleOutline(text, {"", "", true}, problem),
           {{kChapter, "散文集"}, {kChapter, "春"}, {kChapter, "夏日"}, {kChapter, "秋"}});
}

}  // namespace
}  // namespace brisna
