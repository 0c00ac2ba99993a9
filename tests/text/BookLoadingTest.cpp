#include "text/BookLoading.h"

#include <gtest/gtest.h>

#include "Capacities.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

std::string Pairs(int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += "\r\n";
    return out;
}

TEST(ReadBookFile, SizeLimitIsTenMebibytes) {
    test::TempDir dir;
    std::string justBelow(kMaxTextBytes - 1, 'a');
    test::WriteFileBytes(dir / "below.txt", justBelow);
    BookReadResult below = ReadBookFile((dir / "below.txt").string());
    EXPECT_EQ(below.status, BookReadStatus::kOk);
    EXPECT_EQ(below.bytes.size(), kMaxTextBytes - 1);

    test::WriteFileBytes(dir / "at.txt", std::string(kMaxTextBytes, 'a'));
    BookReadResult at = ReadBookFile((dir / "at.txt").string());
    EXPECT_EQ(at.status, BookReadStatus::kTooLarge);
    EXPECT_TRUE(at.bytes.empty());
    EXPECT_EQ(BookReadMessage(at.status), G("txt文件大小不能超过10M"));
}

TEST(ReadBookFile, FailuresAndEmptyFile) {
    test::TempDir dir;
    BookReadResult missing = ReadBookFile((dir / "none.txt").string());
    EXPECT_EQ(missing.status, BookReadStatus::kCannotOpen);
    EXPECT_EQ(BookReadMessage(missing.status), G("打开文件失败"));

    // A folder opens but yields no bytes for the size it claims (or no size at all).
    BookReadResult folder = ReadBookFile(dir.path().string());
    EXPECT_NE(folder.status, BookReadStatus::kOk);

    test::WriteFileBytes(dir / "empty.txt", "");
    BookReadResult empty = ReadBookFile((dir / "empty.txt").string());
    EXPECT_EQ(empty.status, BookReadStatus::kOk);
    EXPECT_EQ(empty.bytes, "");

    EXPECT_EQ(BookReadMessage(BookReadStatus::kShortRead), G("读取文件失败"));
    EXPECT_EQ(BookReadMessage(BookReadStatus::kOk), "");
}

TEST(ReplaceFullWidthDigits, OnlyWholeCharactersAreReplaced) {
    EXPECT_EQ(ReplaceFullWidthDigits(G("第１２章")), G("第12章"));
    EXPECT_EQ(ReplaceFullWidthDigits(G("０１２３４５６７８９")), "0123456789");
    // B0 A3 is one character; the A3 B1 that straddles it and the next one is no digit.
    std::string straddling("\xB0\xA3\xB1\xA1", 4);
    EXPECT_EQ(ReplaceFullWidthDigits(straddling), straddling);
    // A lone lead byte at the end is copied as it is.
    EXPECT_EQ(ReplaceFullWidthDigits(std::string("x\xA3", 2)), std::string("x\xA3", 2));
    // Full-width letters stay.
    EXPECT_EQ(ReplaceFullWidthDigits(G("ＡＢ")), G("ＡＢ"));
}

TEST(NormalizeLoadedText, FullWidthSpaceAndLoneCarriageReturns) {
    EXPECT_EQ(NormalizeLoadedText(std::string("ab\xA3\xA0"
                                              "cd",
                                              6)),
              "ab cd");
    EXPECT_EQ(NormalizeLoadedText("a\r\nb"), "a\r\nb");
    EXPECT_EQ(NormalizeLoadedText("a\rb"), "ab");
    EXPECT_EQ(NormalizeLoadedText("a\nb"), "a\nb");
    EXPECT_EQ(NormalizeLoadedText("a\r\r\nb"), "a\r\nb");
    EXPECT_EQ(NormalizeLoadedText("a\r"), "a");
    EXPECT_EQ(NormalizeLoadedText("a\r\n\r"), "a\r\n");
    EXPECT_EQ(NormalizeLoadedText(""), "");
}

TEST(NormalizeLoadedText, FullWidthSpaceOnlyAsAWholeCharacter) {
    // B0 A3 and A0 A1 are two characters; the A3 A0 between them is no space, and replacing it
    // would break both.
    std::string straddling("\xB0\xA3\xA0\xA1", 4);
    EXPECT_EQ(NormalizeLoadedText(straddling), straddling);
    EXPECT_EQ(NormalizeLoadedText(straddling + "\xA3\xA0"), straddling + " ");
    // A lead byte before a line end does not swallow the CR.
    EXPECT_EQ(NormalizeLoadedText("\xB0\r\n\r\n\r\nx"), "\xB0\r\n\r\nx");
}

TEST(NormalizeLoadedText, BlankLineRunsShrinkTenPairsAtATime) {
    struct Case {
        int pairs;
        int expected;
    };
    for (Case c : {Case{1, 1}, Case{2, 2}, Case{3, 2}, Case{4, 2}, Case{10, 2}, Case{11, 3},
                   Case{12, 4}, Case{21, 5}, Case{22, 6}}) {
        EXPECT_EQ(NormalizeLoadedText("a" + Pairs(c.pairs) + "b"), "a" + Pairs(c.expected) + "b")
            << c.pairs << " pairs";
    }
    // A run at the very end of the text shrinks the same way.
    EXPECT_EQ(NormalizeLoadedText("a" + Pairs(5)), "a" + Pairs(2));
    // A pair broken by a stray CR is two runs of one.
    EXPECT_EQ(NormalizeLoadedText("a\r\n\r\r\nb"), "a\r\n\r\nb");
}

TEST(PrepareLoadedText, NulCutsTheTextAndStepsCombine) {
    EXPECT_EQ(PrepareLoadedText(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(PrepareLoadedText(std::string("\0ab", 3)), "");
    std::string file =
        G("第１章") + "\r\n\r\n\r\n\r\n" + std::string("\xA3\xA0", 2) + G("正文") + "\r";
    EXPECT_EQ(PrepareLoadedText(file), G("第1章") + "\r\n\r\n " + G("正文"));
}

TEST(PrepareLoadedText, NeverGrowsOnArbitraryBytes) {
    uint32_t state = 12345;
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        for (int i = 0; i < 64; ++i) {
            state = state * 1103515245u + 12345u;
            static const char kPool[] = {'\r', '\n', '\xA3', '\xA0', '\xB1', 'a', '\0', '\x81'};
            bytes.push_back(kPool[(state >> 16) % sizeof kPool]);
        }
        std::string prepared = PrepareLoadedText(bytes);
        EXPECT_LE(prepared.size(), bytes.size());
        EXPECT_EQ(prepared.find('\0'), std::string::npos);
        EXPECT_EQ(NormalizeLoadedText(prepared).size() <= prepared.size(), true);
    }
}

}  // namespace
}  // namespace brisna
