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
