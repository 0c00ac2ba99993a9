#include "text/GbkText.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

TEST(GbkFind, NeverMatchesOnATrailByte) {
    // 癛 is 0xB0 0x41 ... use a pair whose trail byte is 'A' (0x41): 丄 = 0x81 0x41? Build by hand.
    std::string text = std::string("\x81\x41", 2) + "A";
    EXPECT_EQ(GbkFind(text, "A"), 2u);
    EXPECT_EQ(GbkFind(std::string("\x81\x41", 2), "A"), std::string_view::npos);
    std::string chinese = G("甲乙丙乙");
    EXPECT_EQ(GbkFind(chinese, G("乙")), 2u);
    EXPECT_EQ(GbkFind(chinese, G("乙"), 3), 6u);
    EXPECT_EQ(GbkFind(chinese, ""), 0u);
    EXPECT_EQ(GbkFind(chinese, "", 8), 8u);
    EXPECT_EQ(GbkFind(chinese, "", 9), std::string_view::npos);
}

TEST(GbkReplaceAll, ReplacesOnlyAtCharacterBoundaries) {
    // 0xA3 0xB1 is "１"; inside "\xB0\xA3\xB1..." the pair A3 B1 straddles two characters.
    std::string straddling("\xB0\xA3\xB1\xA1", 4);
    EXPECT_EQ(GbkReplaceAll(straddling, "\xA3\xB1", "1"), straddling);
    EXPECT_EQ(GbkReplaceAll(G("第１２章"), G("１"), "1"), G("第1２章"));
}

}  // namespace
}  // namespace brisna
