#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/GbkText.h"

namespace brisna {
namespace {

TEST(FindBytesFast, AgreesWithPlainFindAtEveryStartAndLength) {
    // A small alphabet makes near misses (first and last byte right, middle wrong) common, and
    // the lengths cross the sixteen-byte chunks at every offset.
    std::mt19937 random(3);
    std::uniform_int_distribution<int> letter(0, 2);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int i = 0; i < round % 70; ++i)
            text.push_back(static_cast<char>(0xB0 + letter(random)));
        for (size_t length = 0; length <= 6; ++length) {
            std::string needle;
            for (size_t k = 0; k < length; ++k)
                needle.push_back(static_cast<char>(0xB0 + letter(random)));
            for (size_t from = 0; from <= text.size() + 1; ++from) {
                ASSERT_EQ(FindBytesFast(text, needle, from),
                          std::string_view(text).find(needle, from))
                    << text.size() << ' ' << length << ' ' << from;
            }
        }
    }
}

// Long needles take other searches: they must give the same answers, also where matches overlap
// and where a match on a second byte hides a later one on a boundary.
TEST(FindBytesFast, LongNeedlesAgreeWithPlainAndBoundaryAwareSearch) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> letter(0, 1);
    auto naiveGbkFind = [](std::string_view text, std::string_view needle, size_t from) {
        for (size_t at = 0; at < text.size(); at += GbkCharLength(text, at)) {
            if (at >= from && text.substr(at, needle.size()) == needle) return at;
        }
        return std::string_view::npos;
    };
    for (int round = 0; round < 60; ++round) {
        std::string text, needle;
        // Lead-range bytes only: every second one may pair up either way.
        for (int i = 0; i < 400; ++i) text.push_back(static_cast<char>(0xB0 + letter(random) * 17));
        const size_t start = static_cast<size_t>(round) * 5 % 300;
        needle = text.substr(start, 65 + round);
        if (round % 3 == 0) needle.back() ^= 1;  // found nowhere, but near everywhere
        for (size_t from : {size_t{0}, size_t{1}, start, start + 1}) {
            ASSERT_EQ(FindBytesFast(text, needle, from), std::string_view(text).find(needle, from))
                << round << ' ' << from;
            ASSERT_EQ(GbkFind(text, needle, from), naiveGbkFind(text, needle, from))
                << round << ' ' << from;
        }
    }
    EXPECT_EQ(WholeGbkCharacters(std::string("ab\xD6\xD0\xD6", 5)), "ab\xD6\xD0");
    EXPECT_EQ(WholeGbkCharacters(std::string("ab\xD6\xD0", 4)), "ab\xD6\xD0");
}

TEST(FindBytesFast, MatchMayStartOnASecondByte) {
    // B0 B0 and A1 A1: the byte search finds B0 A1 across the two characters, GbkFind does not.
    const std::string text("\xB0\xB0\xA1\xA1", 4);
    EXPECT_EQ(FindBytesFast(text, "\xB0\xA1"), 1u);
    EXPECT_EQ(GbkFind(text, "\xB0\xA1"), std::string::npos);
    // A needle longer than what is left, and the very end.
    EXPECT_EQ(FindBytesFast(text, text + "x"), std::string::npos);
    EXPECT_EQ(FindBytesFast(text, "", 4), 4u);
    EXPECT_EQ(FindBytesFast(text, "", 5), std::string::npos);
}

}  // namespace
}  // namespace brisna
