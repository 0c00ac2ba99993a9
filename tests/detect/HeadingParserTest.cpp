#include "detect/HeadingParser.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

struct Expected {
    const char* text;
    const char* prefix;
    int32_t number;
    const char* suffix;
    uint8_t isArabic;
};

HeadingParts Make(const char* prefix, int32_t number, const char* suffix, uint8_t isArabic) {
    HeadingParts parts;
    std::string p = G(prefix), s = G(suffix);
    std::memcpy(parts.prefix, p.data(), p.size());
    std::memcpy(parts.suffix, s.data(), s.size());
    parts.number = number;
    parts.isArabic = isArabic;
    return parts;
}

bool AllZero(const HeadingParts& parts) {
    auto zeroField = [](const char* field) {
        for (size_t i = 0; i < kHeadingFieldBytes; ++i)
            if (field[i] != 0) return false;
        return true;
    };
    return zeroField(parts.prefix) && parts.number == 0 && zeroField(parts.suffix) &&
           parts.isArabic == 0;
}

TEST(ParseHeading, SplitsAtTheFirstNumeral) {
    const Expected cases[] = {
        {"第一章 开始", "第", 1, "章 开始", 0},
        {"第12章", "第", 12, "章", 1},
        {"第12", "第", 12, "", 1},
        {"Chapter 3: x", "Chapter ", 3, ": x", 1},
        {"十二、风起", "", 12, "、风起", 0},
        {"第二十 回", "第", 20, " 回", 0},
        {"第一卷 第三章", "第", 1, "卷 第三章", 0},
        {"卷五 第2章", "卷", 5, " 第2章", 0},
        {"第九万九千九百九十九章", "第", 99999, "章", 0},
        {"第零章", "第", 0, "章", 0},
    };
    for (const Expected& c : cases) {
        HeadingParts parts = ParseHeading(G(c.text));
        EXPECT_EQ(U(parts.Prefix()), c.prefix) << c.text;
        EXPECT_EQ(parts.number, c.number) << c.text;
        EXPECT_EQ(U(parts.Suffix()), c.suffix) << c.text;
        EXPECT_EQ(parts.isArabic, c.isArabic) << c.text;
    }
}

TEST(ParseHeading, TextsWithoutANumeralGiveAllZeroParts) {
    for (const char* text : {"序言", "第百章", "第１２章", "", "Prologue"})
        EXPECT_TRUE(AllZero(ParseHeading(G(text)))) << text;
}

TEST(ParseHeading, NeverMatchesOnATrailByte) {
    // 甲 (BC D7) has no numeral, but the pair D7 D2 BB would show 一 one byte late.
    std::string text = "\xBC\xD7\xD2\xBB";
    HeadingParts parts = ParseHeading(text);
    EXPECT_EQ(parts.Prefix(), "\xBC\xD7");
    EXPECT_EQ(parts.number, 1);
    // "\xD7\xD2" hides 一's lead byte; the heading has no numeral of its own.
    EXPECT_TRUE(AllZero(ParseHeading("\xD7\xD2\xBB\xC1")));
    // 0x80 is a character of its own (the euro sign), so the digits after it are all read.
    parts = ParseHeading(
        "\x80"
        "12" +
        G("章"));
    EXPECT_EQ(parts.Prefix(), "\x80");
    EXPECT_EQ(parts.number, 12);
}

TEST(ParseHeading, LongTextsAreCutAtACharacterBoundary) {
    std::string longChinese;
    for (int i = 0; i < 40; ++i) longChinese += G("卷");
    HeadingParts parts = ParseHeading(longChinese + G("第三章") + longChinese);
    EXPECT_EQ(parts.Prefix().size(), 62u);  // 31 characters: a 32nd would need byte 64
    EXPECT_EQ(parts.number, 3);
    EXPECT_EQ(parts.Suffix().size(), 62u);
    EXPECT_EQ(parts.Suffix().substr(0, 2), G("章"));

    std::string ascii(200, 'a');
    parts = ParseHeading(ascii + "7" + ascii);
    EXPECT_EQ(parts.Prefix(), std::string(63, 'a'));
    EXPECT_EQ(parts.Suffix(), std::string(63, 'a'));
    EXPECT_EQ(parts.prefix[63], '\0');
    EXPECT_EQ(parts.suffix[63], '\0');
}

TEST(ComposeHeading, WritesTheNumberInTheHeadingsStyle) {
    EXPECT_EQ(U(ComposeHeading(Make("第", 12, "章", 1))), "第12章");
    EXPECT_EQ(U(ComposeHeading(Make("第", 12, "章", 0))), "第十二章");
    EXPECT_EQ(ComposeHeading(HeadingParts{}), "");
    // A parse composed again with the next number gives the next heading.
    HeadingParts parts = ParseHeading(G("第九十九回 归来"));
    parts.number += 1;
    EXPECT_EQ(U(ComposeHeading(parts)), "第一百回 归来");
}

TEST(HeadingStem, CutsBeforeTheFirstOccurrenceOfTheSuffix) {
    EXPECT_EQ(U(HeadingStem(Make("第", 3, "章 风起", 0))), "第三");
    EXPECT_EQ(U(HeadingStem(Make("第", 3, "", 0))), "");
    EXPECT_EQ(U(HeadingStem(Make("第", 12, "章", 1))), "第12");
    // The suffix text also occurs in the prefix: the cut falls there.
    EXPECT_EQ(U(HeadingStem(Make("章节第", 4, "章", 0))), "");
    EXPECT_EQ(U(HeadingStem(Make("卷章第", 4, "章", 0))), "卷");
}

}  // namespace
}  // namespace brisna
