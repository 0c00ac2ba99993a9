#include "text/TraditionalToSimplified.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna {
namespace {

using test::G;
using test::U;

TEST(TraditionalToSimplified, MapsTraditionalCharactersAndKeepsTheLength) {
    ASSERT_TRUE(TraditionalToSimplifiedAvailable());
    std::string traditional = G("這是書");
    std::string simplified = TraditionalToSimplified(traditional);
    EXPECT_EQ(U(simplified), "这是书");
    EXPECT_EQ(simplified.size(), traditional.size());
    EXPECT_EQ(U(TraditionalToSimplified(G("第一章 風起雲湧\r\n龍與鳳"))),
              "第一章 风起云涌\r\n龙与凤");
}

TEST(TraditionalToSimplified, LeavesEverythingElseAlone) {
    std::string simplified = G("这是简体中文，没有繁体字。");
    EXPECT_EQ(TraditionalToSimplified(simplified), simplified);
    std::string ascii = "Chapter 12: ok\r\n\r\n\t~!@#$%^&*()";
    EXPECT_EQ(TraditionalToSimplified(ascii), ascii);
    EXPECT_EQ(TraditionalToSimplified(""), "");
}

TEST(TraditionalToSimplified, InvalidBytesAreUntouchedAndDoNotShiftTheWalk) {
    // 0x80 and 0xFF start no character; a lead byte with a bad trail byte stays as it is; a lead
    // byte at the very end stands alone.
    std::string text =
        std::string("\x80") + G("書") + "\xFF" + G("書") + "\x81\x7F" + G("書") + "\xB5";
    std::string expected =
        std::string("\x80") + G("书") + "\xFF" + G("书") + "\x81\x7F" + G("书") + "\xB5";
    EXPECT_EQ(TraditionalToSimplified(text), expected);
}

TEST(TraditionalToSimplified, EveryMappingIsOneGbkCharacterOfTheSameLength) {
    // Whatever the dictionary offers, a changed character is always a real two-byte GBK
    // character that survives the trip through Unicode, so the view shows what was written.
    std::string all;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            all.push_back(static_cast<char>(lead));
            all.push_back(static_cast<char>(trail));
        }
    std::string once = TraditionalToSimplified(all);
    ASSERT_EQ(once.size(), all.size());
    for (size_t at = 0; at < once.size(); at += 2) {
        if (once.compare(at, 2, all, at, 2) == 0) continue;
        std::string mapped = once.substr(at, 2);
        EXPECT_EQ(Utf16ToGbk(GbkToUtf16(mapped)), mapped) << at;
        EXPECT_EQ(GbkToUtf16(mapped).size(), 1u) << at;
    }
}

}  // namespace
}  // namespace brisna
