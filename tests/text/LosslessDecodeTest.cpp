// The view's lossless decoding is table-driven; these sweep every one- and two-byte sequence so a
// wrong table entry cannot hide, and check that the view may keep the input bytes as its GBK form.

#include <gtest/gtest.h>

#include <string>

#include "text/CodePage936.h"

namespace brisna {
namespace {

TEST(LosslessDecode, EverySequenceComesBackByteForByte) {
    for (int byte = 0; byte < 256; ++byte) {
        std::string single(1, static_cast<char>(byte));
        std::u16string units = GbkToUtf16Lossless(single);
        ASSERT_EQ(units.size(), 1u) << byte;
        ASSERT_EQ(Utf16ToGbkLossless(units), single) << byte;
    }
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0; trail < 256; ++trail) {
            std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            std::u16string units = GbkToUtf16Lossless(pair);
            ASSERT_EQ(Utf16ToGbkLossless(units), pair) << lead << ' ' << trail;
            ASSERT_LE(units.size(), 2u);
            // A character shown as one unit is the same character the platform reads.
            if (units.size() == 1) {
                ASSERT_EQ(units, GbkToUtf16(pair)) << lead << ' ' << trail;
                ASSERT_EQ(GbkLosslessByteCount(units[0]), 2u);
            }
        }
    }
}

TEST(LosslessDecode, AppendingPiecesEqualsOneDecode) {
    // Pieces cut at character boundaries, including a lone lead byte before a cut.
    const std::string pieces[] = {std::string("ab\xB0\xA1", 4), std::string("\x81", 1),
                                  std::string("\xA3\xA0\xFF x", 5), std::string(),
                                  std::string("\xA2\xA0\xD6\xD0", 4)};
    std::string whole;
    std::u16string appended = u"=";
    for (const std::string& piece : pieces) {
        whole += piece;
        AppendGbkToUtf16Lossless(piece, appended);
    }
    // The lone 0x81 is followed by 0xA3 in the joined text and would pair with it there.
    std::u16string expected = u"=";
    for (const std::string& piece : pieces) expected += GbkToUtf16Lossless(piece);
    EXPECT_EQ(appended, expected);
    EXPECT_EQ(Utf16ToGbkLossless(appended.substr(1)), whole);
}

}  // namespace
}  // namespace brisna
