#include "detect/ChineseNumerals.h"

#include <gtest/gtest.h>

#include <string_view>

#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

// Value and remainder (as UTF-8) of a numeral given in UTF-8.
struct Reading {
    int32_t value;
    std::string rest;
};
Reading Read(std::string_view utf8) {
    std::string gbk = G(utf8);
    std::string_view remainder;
    int32_t value = ParseChineseNumeral(gbk, &remainder);
    EXPECT_GE(remainder.data(), gbk.data());
    EXPECT_EQ(remainder.data() + remainder.size(), gbk.data() + gbk.size());
    return {value, U(remainder)};
}

TEST(RenderChineseNumber, SmallNumbersAndTheTeens) {
    EXPECT_EQ(RenderChineseNumber(0), "");
    EXPECT_EQ(U(RenderChineseNumber(1)), "一");
    EXPECT_EQ(U(RenderChineseNumber(10)), "十");
    EXPECT_EQ(U(RenderChineseNumber(11)), "十一");
    EXPECT_EQ(U(RenderChineseNumber(19)), "十九");
    EXPECT_EQ(U(RenderChineseNumber(20)), "二十");
    EXPECT_EQ(U(RenderChineseNumber(21)), "二十一");
    EXPECT_EQ(U(RenderChineseNumber(99)), "九十九");
}

TEST(RenderChineseNumber, ZeroPlacesAreWrittenOnce) {
    const std::pair<uint32_t, const char*> cases[] = {
        {100, "一百"},
        {101, "一百零一"},
        {110, "一百一十"},
        {1000, "一千"},
        {1001, "一千零一"},
        {1010, "一千零一十"},
        {1100, "一千一百"},
        {10000, "一万"},
        {10001, "一万零一"},
        {10010, "一万零一十"},
        {10100, "一万零一百"},
        {12345, "一万二千三百四十五"},
        {100000, "十万"},
        {100001, "十万零一"},
        {109999, "十万九千九百九十九"},
        {90009, "九万零九"},
        {99999, "九万九千九百九十九"},
    };
    for (auto [n, text] : cases) EXPECT_EQ(U(RenderChineseNumber(n)), text) << n;
}

TEST(RenderChineseNumber, LargeValuesStillRender) {
    EXPECT_EQ(U(RenderChineseNumber(110000)), "十一万");
    EXPECT_EQ(U(RenderChineseNumber(120005)), "十二万零五");
    EXPECT_EQ(U(RenderChineseNumber(1000000)), "一百万");
    EXPECT_EQ(U(RenderChineseNumber(12345678)), "一千二百三十四万五千六百七十八");
    EXPECT_EQ(U(RenderChineseNumber(100000001)), "一亿零一");
    EXPECT_EQ(U(RenderChineseNumber(100010010)), "一亿零一万零一十");
    EXPECT_EQ(U(RenderChineseNumber(4294967295u)), "四十二亿九千四百九十六万七千二百九十五");
}

TEST(ChineseNumerals, EveryRenderedNumberReadsBack) {
    const std::string chapter = G("章");
    for (uint32_t n = 1; n <= 99999; ++n) {
        std::string text = RenderChineseNumber(n);
        std::string_view remainder = "x";
        ASSERT_EQ(ParseChineseNumeral(text, &remainder), static_cast<int32_t>(n)) << n;
        ASSERT_TRUE(remainder.empty()) << n;
        std::string heading = text + chapter;
        ASSERT_EQ(ParseChineseNumeral(heading, &remainder), static_cast<int32_t>(n)) << n;
        ASSERT_EQ(remainder, chapter) << n;
    }
}

TEST(ParseChineseNumeral, UnitsCountOnlyThroughTheirDigit) {
    EXPECT_EQ(Read("十").value, 10);
    EXPECT_EQ(Read("十一").value, 11);
    EXPECT_EQ(Read("二十").value, 20);
    EXPECT_EQ(Read("一百一十").value, 110);
    EXPECT_EQ(Read("一百零五").value, 105);
    EXPECT_EQ(Read("壹拾壹").value, 11);
    EXPECT_EQ(Read("贰佰叁拾肆").value, 234);
    // Only a leading 十 counts by itself, and units never multiply what came before.
    EXPECT_EQ(Read("拾壹").value, 1);
    EXPECT_EQ(Read("十二万").value, 20010);  // 10 + 2 x 10000
    EXPECT_EQ(Read("五亿").value, 500000000);
}

TEST(ParseChineseNumeral, DigitRunsKeepOnlyTheLastDigit) {
    EXPECT_EQ(Read("二〇〇八").value, 8);
    EXPECT_EQ(Read("一二三").value, 3);
    EXPECT_EQ(Read("二〇〇〇").value, 0);
}

TEST(ParseChineseNumeral, RemainderStartsAtTheFirstForeignCharacter) {
    Reading chapter = Read("十一章");
    EXPECT_EQ(chapter.value, 11);
    EXPECT_EQ(chapter.rest, "章");
    Reading ascii = Read("三: x");
    EXPECT_EQ(ascii.value, 3);
    EXPECT_EQ(ascii.rest, ": x");
    Reading zeroDigit = Read("〇章");
    EXPECT_EQ(zeroDigit.value, 0);
    EXPECT_EQ(zeroDigit.rest, "章");
    // Only 零 and units: the value is 0 and nothing is swallowed.
    Reading zeroWord = Read("零章");
    EXPECT_EQ(zeroWord.value, 0);
    EXPECT_EQ(zeroWord.rest, "章");
    Reading bareUnit = Read("拾章回");
    EXPECT_EQ(bareUnit.value, 0);
    EXPECT_EQ(bareUnit.rest, "章回");
    Reading twoDigits = Read("十二 回");
    EXPECT_EQ(twoDigits.value, 12);
    EXPECT_EQ(twoDigits.rest, " 回");
}

TEST(ParseChineseNumeral, HugeSumsSaturateInsteadOfOverflowing) {
    EXPECT_EQ(Read("九亿九亿九亿九亿").value, 2147483647);
    EXPECT_EQ(Read("二亿").value, 200000000);
}

TEST(ParseChineseNumeral, BrokenBytesEndTheNumeral) {
    std::string_view remainder;
    std::string lone = G("十二") + "\xB6";  // a lead byte without its trail byte
    EXPECT_EQ(ParseChineseNumeral(lone, &remainder), 12);
    EXPECT_EQ(remainder, "\xB6");
    EXPECT_EQ(ParseChineseNumeral("", &remainder), 0);
    EXPECT_TRUE(remainder.empty());
    EXPECT_EQ(ParseChineseNumeral(G("三十"), nullptr), 30);
}

TEST(ParseLeadingDigits, ValueAndRemainder) {
    std::string_view remainder;
    EXPECT_EQ(ParseLeadingDigits("12abc", &remainder), 12);
    EXPECT_EQ(remainder, "abc");
    EXPECT_EQ(ParseLeadingDigits("007", &remainder), 7);
    EXPECT_TRUE(remainder.empty());
    EXPECT_EQ(ParseLeadingDigits("2147483647x", &remainder), 2147483647);
    EXPECT_EQ(remainder, "x");
    EXPECT_EQ(ParseLeadingDigits("99999999999999999999999", &remainder), 2147483647);
    EXPECT_TRUE(remainder.empty());
}

}  // namespace
}  // namespace brisna
