// The whole-book outline: which lines are headings, of which kind, and what is passed over.
#include <gtest/gtest.h>

#include "detect/BookOutline.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

TEST(OutlineNumeral, ReadsTheWaysChapterNumbersAreWritten) {
    struct Case {
        const char* text;
        int64_t value;
        size_t bytes;
    };
    const Case cases[] = {
        {"十", 10, 2},
        {"十二章", 12, 4},
        {"二十", 20, 4},
        {"一百零八回", 108, 8},
        {"两百一十八章", 218, 10},
        {"二〇〇八", 2008, 8},
        {"一二三", 123, 6},
        {"壹佰贰拾叁", 123, 10},
        {"拾壹", 11, 4},
        {"三千零五", 3005, 8},
        {"一万零一百", 10100, 10},
        {"十二万", 120000, 6},
        {"零", 0, 2},
        {"百章", 0, 0},
        {"章", 0, 0},
        {"一千二百三十四", 1234, 14},
    };
    for (const Case& c : cases) {
        int64_t value = -1;
        size_t bytes = ReadOutlineNumeral(G(c.text), value);
        EXPECT_EQ(bytes, c.bytes) << c.text;
        if (c.bytes > 0) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

struct Found {
    OutlineEntryKind kind;
    std::string title;  // UTF-8
};

std::vector<Found> Outline(const std::string& utf8Text) {
    std::vector<Found> found;
    for (const OutlineEntry& entry : BuildBookOutline(G(utf8Text)).entries) {
        found.push_back({entry.kind, test::U(entry.title)});
    }
    return found;
}

constexpr OutlineEntryKind kFront = OutlineEntryKind::kFrontMatter;
constexpr OutlineEntryKind kVolume = OutlineEntryKind::kVolume;
constexpr OutlineEntryKind kChapter = OutlineEntryKind::kChapter;
constexpr OutlineEntryKind kSection = OutlineEntryKind::kNamedSection;

void ExpectOutline(const std::string& text, const std::vector<Found>& expected) {
    std::vector<Found> found = Outline(text);
    ASSERT_EQ(found.size(), expected.size()) << text;
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].kind, expected[i].kind) << i << ": " << found[i].title;
        EXPECT_EQ(found[i].title, expected[i].title) << i;
    }
}

TEST(BookOutline, ProseThatBeginsLikeAHeadingIsText) {
    ExpectOutline(
        "第一章 开端\r\n"
        "第一封信是他母亲写的，字迹潦草。\r\n"
        "第四本书记载着锤法，他看了三遍。\r\n"
        "第三回合过后，两人都累了。\r\n"
        "第二天一早，他出了门。\r\n"
        "他想起第三章里说过的话。\r\n"
        "　　第二章　风起\r\n"
        "第三章讲的是他如何离开了家乡，走向远方。\r\n"
        "第三章\r\n"
        "正文。\r\n",
        {{kChapter, "第一章 开端"}, {kChapter, "　　第二章　风起"}, {kChapter, "第三章"}});
}

TEST(BookOutline, VolumesNamedSectionsAndFrontMatter) {
    ExpectOutline(
        "山河行\r\n作者：某人\r\n内容简介：一段简介。\r\n"
        "楔子\r\n很久以前。\r\n"
        "第一卷 潜龙\r\n"
        "第一章 少年\r\n正文。\r\n"
        "第2章 出山\r\n正文。\r\n"
        "第二卷 飞龙\r\n"
        "第两百一十八章 归来\r\n正文。\r\n"
        "第贰佰壹拾玖章 再战\r\n正文。\r\n"
        "第二卷的故事到这里并没有结束，还有很多。\r\n"
        "番外一 旧事\r\n正文。\r\n"
        "番外\r\n正文。\r\n"
        "后记\r\n谢谢。\r\n"
        "序幕拉开了，人们都来了。\r\n",
        {{kFront, "山河行"},
         {kSection, "楔子"},
         {kVolume, "第一卷 潜龙"},
         {kChapter, "第一章 少年"},
         {kChapter, "第2章 出山"},
         {kVolume, "第二卷 飞龙"},
         {kChapter, "第两百一十八章 归来"},
         {kChapter, "第贰佰壹拾玖章 再战"},
         {kSection, "番外一 旧事"},
         {kSection, "番外"},
         {kSection, "后记"}});
}

TEST(BookOutline, AContentsListIsPassedOver) {
    const std::string body =
        "第一章 甲\r\n正文一。\r\n第二章 乙\r\n正文二。\r\n第三章 丙\r\n正文三。\r\n";
    // The list ends straight before the first chapter, or with a line of text between.
    ExpectOutline("书名\r\n目录\r\n第一章 甲\r\n第二章 乙\r\n第三章 丙\r\n" + body,
                  {{kFront, "书名"},
                   {kChapter, "第一章 甲"},
                   {kChapter, "第二章 乙"},
                   {kChapter, "第三章 丙"}});
    ExpectOutline("目录\r\n第一章 甲\r\n第二章 乙\r\n第三章 丙\r\n正文开始\r\n" + body,
                  {{kFront, "目录"},
                   {kChapter, "第一章 甲"},
                   {kChapter, "第二章 乙"},
                   {kChapter, "第三章 丙"}});
    // A volume line and its chapter followed by a number alone on its line (an exit status in
    // the prose) that comes again later: no list, the list would share the number's form.
    ExpectOutline(
        "第一卷 甲\r\n第一章 甲\r\n正文。\r\n第十七卷 乙\r\n第二章 乙\r\n127\r\n"
        "返回码。\r\n第三章 丙\r\n127\r\n正文。\r\n",
        {{kVolume, "第一卷 甲"},
         {kChapter, "第一章 甲"},
         {kVolume, "第十七卷 乙"},
         {kChapter, "第二章 乙"},
         {kChapter, "第三章 丙"}});
    // Headings in the list alone: the book has none.
    BookOutline only = BuildBookOutline(
        G("目录\r\n第一章 甲\r\n第二章 乙\r\n第三章 丙\r\n正文一段。\r\n正文二段。\r\n"));
    EXPECT_FALSE(only.HasHeadings());
    EXPECT_GT(only.contentsEntries, 0u);
}

TEST(BookOutline, SkippedAndRepeatedNumbersDoNotEndTheRun) {
    std::vector<Found> found =
        Outline("第1章 a\r\nx\r\n第2章 b\r\nx\r\n第5章 c\r\nx\r\n第5章 d\r\nx\r\n第3章 e\r\nx\r\n");
    EXPECT_EQ(found.size(), 5u);
}

TEST(BookOutline, ATextWithoutHeadingsHasNone) {
    BookOutline outline = BuildBookOutline(G("只是一段文字。\r\n又一段。\r\n"));
    EXPECT_FALSE(outline.HasHeadings());
    EXPECT_EQ(outline.contentsEntries, 0u);
    EXPECT_FALSE(BuildBookOutline("").HasHeadings());
}

}  // namespace
}  // namespace brisna
