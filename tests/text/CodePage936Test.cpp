#include "text/CodePage936.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

TEST(CodePage936, EveryGbkCharacterIsOneUnit) {
    std::string gbk = G("第一章 开始");
    std::u16string utf16 = GbkToUtf16(gbk);
    EXPECT_EQ(utf16, u"第一章 开始");
    EXPECT_EQ(Utf16ToGbk(utf16), gbk);
    EXPECT_EQ(gbk.size(), 11u);
}

TEST(CodePage936, RejectedSequencesReadAsTheDefaultCharacter) {
    // 0x81 0x20: a lead byte without a trail byte; the space is read afresh.
    EXPECT_EQ(GbkToUtf16(std::string("\x81\x20", 2)), u"\u30FB ");
    // A lead byte at the very end.
    EXPECT_EQ(GbkToUtf16(std::string("a\xB0", 2)), u"a\u30FB");
    // A NUL byte is a character like any other here.
    EXPECT_EQ(GbkToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(CodePage936, UnitsWithoutGbkFormBecomeQuestionMarks) {
    EXPECT_EQ(Utf16ToGbk(u"a\U0001F600b"), "a??b");  // a surrogate pair: two units, two marks
}

TEST(CodePage936, LosslessRoundTripOfAnyBytes) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
    for (int i = 255; i >= 0; --i) bytes.push_back(static_cast<char>(i));
    bytes += std::string("\x81\x40\xA1\x40\xFF\xFF\xB0", 7);
    EXPECT_EQ(Utf16ToGbkLossless(GbkToUtf16Lossless(bytes)), bytes);
    // Valid text is ordinary text in the view.
    EXPECT_EQ(GbkToUtf16Lossless(G("這是書")), u"這是書");
}

TEST(CodePage936, Utf8AndLittleEndianForms) {
    EXPECT_EQ(test::U(G("乙丙")), "乙丙");
    EXPECT_EQ(Utf16ToLeBytes(u"A甲"), std::string("A\0\x32\x75", 4));
    EXPECT_EQ(LeBytesToUtf16(std::string("A\0\x32\x75\x99", 5)), u"A甲");
}

}  // namespace
}  // namespace brisna
