// Books and word lists in the encodings they come in: detection, conversion to GBK, the load
// that puts both together, and the names and output forms around them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Capacities.h"
#include "support/TestSupport.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"
#include "text/EncodingDetection.h"
#include "text/TextEncoding.h"

namespace brisna {
namespace {

using test::G;

// The UTF-8 text in another encoding, through ICU (an independent converter).
std::string Encode(std::string_view utf8, const char* encoding) {
    std::string out = test::IcuConvert(utf8, encoding, "UTF-8");
    EXPECT_TRUE(!out.empty() || utf8.empty()) << encoding;
    return out;
}

const std::string kBom8 = "\xEF\xBB\xBF";
const std::string kBomLe = "\xFF\xFE";
const std::string kBomBe = "\xFE\xFF";

// Simplified prose with a heading, long enough for a charset detector to judge.
const std::string kProse =
    "第一章 风起\r\n他推开窗，夜色里的长街还亮着几盏灯，远处传来钟声。她没有回答，只是把那封信又"
    "看了一遍，然后轻轻放回抽屉里。众人面面相觑，谁也说不清这件事究竟从何而起，又将如何收场。\r\n"
    "第二章 雨落\r\n第１２天的清晨，雨下得很大。\r\n";
// Traditional prose that both Big5 and GBK can hold.
const std::string kTraditional =
    "第一章 風起\r\n這是一本關於歷史的書。我們的國家歷史很長，學習語言需要時間，也需要耐心。"
    "他們說話的時候，總是想起過去的事情，覺得這個世界變化得太快了。圖書館裡有許多舊書，"
    "記錄著從前的生活與戰爭，讀起來讓人感動。\r\n第二章 "
    "雨落\r\n這裡的雨下得很大，街道變成了河流。\r\n";

TEST(TextEncodingNames, ParseAndNameAgree) {
    struct Case {
        const char* name;
        std::optional<TextEncoding> parsed;
    } cases[] = {
        {"auto", TextEncoding::kAuto},
        {"GBK", TextEncoding::kGbk},
        {"utf-8", TextEncoding::kUtf8},
        {"UTF8", TextEncoding::kUtf8},
        {"utf-16le", TextEncoding::kUtf16Le},
        {"UTF-16BE", TextEncoding::kUtf16Be},
        {"Big5", TextEncoding::kBig5},
        {"utf-16", std::nullopt},
        {"", std::nullopt},
        {"gb2312", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseTextEncoding(c.name), c.parsed) << c.name;
        if (c.parsed) {
            EXPECT_EQ(ParseTextEncoding(TextEncodingName(*c.parsed)), c.parsed);
        }
    }
    EXPECT_EQ(ParseOutputEncoding("UTF-8"), OutputEncoding::kUtf8);
    EXPECT_EQ(ParseOutputEncoding("gbk"), OutputEncoding::kGbk);
    EXPECT_EQ(ParseOutputEncoding("big5"), std::nullopt);
}

TEST(DetectTextEncoding, EachFormIsRecognised) {
    struct Case {
        std::string bytes;
        TextEncoding expected;
        const char* what;
    } cases[] = {
        {kBom8 + "abc", TextEncoding::kUtf8, "UTF-8 mark, ASCII after it"},
        {kBomLe + Encode(kProse, "UTF-16LE"), TextEncoding::kUtf16Le, "UTF-16LE mark"},
        {kBomBe + Encode(kProse, "UTF-16BE"), TextEncoding::kUtf16Be, "UTF-16BE mark"},
        {Encode("Chapter 1\r\nplain words\r\n", "UTF-16LE"), TextEncoding::kUtf16Le, "LE NULs"},
        {Encode("Chapter 1\r\nplain words\r\n", "UTF-16BE"), TextEncoding::kUtf16Be, "BE NULs"},
        {kProse, TextEncoding::kUtf8, "UTF-8 prose"},
        {"plain ASCII\r\n", TextEncoding::kGbk, "ASCII"},
        {"", TextEncoding::kGbk, "empty"},
        {G(kProse), TextEncoding::kGbk, "GBK prose"},
        {G("中文"), TextEncoding::kGbk, "short GBK"},
        {G(kTraditional), TextEncoding::kGbk, "Traditional prose in GBK"},
        {Encode(kTraditional, "windows-950"), TextEncoding::kBig5, "Big5 prose"},
        // Neither valid UTF-8 nor anything better: taken as GBK bytes, as always.
        {std::string("\xFF\xFF\x80\x80\xC0\xAF abc", 9), TextEncoding::kGbk, "garbage"},
        // UTF-8 cut in the middle of its last character is still UTF-8.
        {kProse.substr(0, kProse.size() - 2) + "\xE6\x88", TextEncoding::kUtf8, "cut UTF-8"},
    };
    for (const Case& c : cases) EXPECT_EQ(DetectTextEncoding(c.bytes), c.expected) << c.what;
}

TEST(ConvertToGbk, EveryEncodingGivesTheSameGbk) {
    const std::string gbk = G(kProse);
    struct Case {
        std::string bytes;
        TextEncoding encoding;
    } cases[] = {
        {kProse, TextEncoding::kUtf8},
        {kBom8 + kProse, TextEncoding::kUtf8},
        {Encode(kProse, "UTF-16LE"), TextEncoding::kUtf16Le},
        {kBomLe + Encode(kProse, "UTF-16LE"), TextEncoding::kUtf16Le},
        {kBomBe + Encode(kProse, "UTF-16BE"), TextEncoding::kUtf16Be},
    };
    for (const Case& c : cases) {
        GbkConversion converted = ConvertToGbk(c.bytes, c.encoding);
        EXPECT_EQ(converted.gbk, gbk) << TextEncodingName(c.encoding);
        EXPECT_EQ(converted.replaced, 0u);
        EXPECT_EQ(converted.firstReplacedLine, 0u);
    }
    GbkConversion big5 = ConvertToGbk(Encode(kTraditional, "windows-950"), TextEncoding::kBig5);
    EXPECT_EQ(big5.gbk, G(kTraditional));
    EXPECT_EQ(big5.replaced, 0u);
}

TEST(ConvertToGbk, WhatGbkCannotHoldIsCountedWithItsLine) {
    // An emoji (beyond the first plane) and a Thai letter on line 3; a euro sign (which code
    // page 936 holds as the single byte 0x80) converts.
    const std::string utf8 = "第一行\r\n第二行€\n第三行😀和ก\r\n末行ก";
    for (const char* encoding : {"UTF-8", "UTF-16LE", "UTF-16BE"}) {
        TextEncoding chosen = *ParseTextEncoding(encoding);
        GbkConversion converted = ConvertToGbk(Encode(utf8, encoding), chosen);
        EXPECT_EQ(converted.replaced, 3u) << encoding;
        EXPECT_EQ(converted.firstReplacedLine, 3u) << encoding;
        EXPECT_EQ(converted.gbk, G("第一行\r\n第二行€\n第三行?和?\r\n末行?")) << encoding;
    }
    EXPECT_EQ(test::U(ReplacedCharactersMessage(3, 3)),
              "有3个字符无法转换为GBK，已替换为“?”，第一个在第3行");
    // No-break spaces (between 第, the number and 章 in real books) are plain spaces, not losses.
    GbkConversion spaced = ConvertToGbk("第\u00a01\u00a0章\u2009概览", TextEncoding::kUtf8);
    EXPECT_EQ(spaced.gbk, G("第 1 章 概览"));
    EXPECT_EQ(spaced.replaced, 0u);
    // A lone CR ends a line as well.
    EXPECT_EQ(ConvertToGbk("a\rb\r\nc\xF0\x9F\x98\x80", TextEncoding::kUtf8).firstReplacedLine, 3u);
}

TEST(ConvertToGbk, MalformedInputIsReplacedNotDropped) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        std::string gbk;
        size_t replaced;
    } cases[] = {
        {"a\xFF"
         "b",
         TextEncoding::kUtf8, "a?b", 1},
        {"a\xE4\xB8", TextEncoding::kUtf8, "a?", 1},  // cut at the end: one character
        {"\xED\xA0\x80x", TextEncoding::kUtf8, "???x", 3},
        {std::string("a\0\x00\xD8", 4), TextEncoding::kUtf16Le, "a?", 1},  // lone high surrogate
        {std::string("a\0b", 3), TextEncoding::kUtf16Le, "a?", 1},         // half a unit
        {std::string("\x81", 1), TextEncoding::kBig5, "?", 1},
        {std::string("\xFF\xFE", 2), TextEncoding::kUtf16Le, "", 0},  // the mark alone
    };
    for (const Case& c : cases) {
        GbkConversion converted = ConvertToGbk(c.bytes, c.encoding);
        EXPECT_EQ(converted.gbk, c.gbk) << test::U(c.bytes);
        EXPECT_EQ(converted.replaced, c.replaced) << test::U(c.bytes);
    }
    // GBK bytes are never touched, a mark-like start included.
    std::string bytes = kBom8 + G("中文");
    EXPECT_EQ(ConvertToGbk(bytes, TextEncoding::kGbk).gbk, bytes);
}

TEST(DecodeBookBytes, GbkLoadsAsItAlwaysHasWithDetection) {
    const std::string texts[] = {
        "",
        "a",
        "ab",
        "plain ASCII\r\n\r\n\r\nlines\r",
        G("中"),
        G("中文"),
        G(kProse),
        G(kTraditional),
        std::string("ab\0cd", 5),
        G("第１２章\r\n") + std::string("\xA3\xA0\x81\x40\xFF", 5),
    };
    for (const std::string& text : texts) {
        BookLoadResult automatic = DecodeBookBytes(text, TextEncoding::kAuto);
        BookLoadResult forced = DecodeBookBytes(text, TextEncoding::kGbk);
        EXPECT_EQ(automatic.encoding, TextEncoding::kGbk) << test::U(text);
        EXPECT_EQ(automatic.text, PrepareLoadedText(text)) << test::U(text);
        EXPECT_EQ(forced.text, PrepareLoadedText(text)) << test::U(text);
        EXPECT_EQ(automatic.replaced, 0u);
    }
}

TEST(DecodeBookBytes, ConvertedTextIsNormalisedLikeGbk) {
    BookLoadResult loaded = DecodeBookBytes(kBom8 + kProse + "\r\n\r\n\r\n", TextEncoding::kAuto);
    EXPECT_EQ(loaded.status, BookReadStatus::kOk);
    EXPECT_EQ(loaded.encoding, TextEncoding::kUtf8);
    EXPECT_EQ(loaded.text, PrepareLoadedText(G(kProse) + "\r\n\r\n\r\n"));
    // A NUL in the converted text cuts it there, as in a GBK file.
    EXPECT_EQ(DecodeBookBytes(kBomLe + Encode("ab", "UTF-16LE") + std::string(2, '\0') +
                                  Encode("cd", "UTF-16LE"),
                              TextEncoding::kAuto)
                  .text,
              "ab");
}

TEST(LoadBookFile, SizeBoundsApplyToTheGbkText) {
    test::TempDir dir;
    // UTF-8 of more than 10 MiB whose GBK text is below the bound: loads.
    const std::string line = "这是一行中文字。\r\n";  // 26 UTF-8 bytes, 18 GBK bytes
    const size_t lineGbkBytes = G(line).size();
    std::string big;
    for (size_t n = (kMaxTextBytes - 1) / lineGbkBytes; n > 0; --n) big += line;
    ASSERT_GT(big.size(), kMaxTextBytes);
    test::WriteFileBytes(dir / "big-utf8.txt", big);
    BookLoadResult loaded = LoadBookFile((dir / "big-utf8.txt").string(), TextEncoding::kAuto);
    EXPECT_EQ(loaded.status, BookReadStatus::kOk);
    EXPECT_EQ(loaded.text.size(), big.size() / line.size() * lineGbkBytes);

    // One more line and the GBK text reaches the bound: refused with the usual message.
    test::WriteFileBytes(dir / "too-big-utf8.txt", big + line);
    EXPECT_EQ(LoadBookFile((dir / "too-big-utf8.txt").string(), TextEncoding::kAuto).status,
              BookReadStatus::kTooLarge);
    // Forced GBK keeps today's bound on the file itself.
    EXPECT_EQ(LoadBookFile((dir / "big-utf8.txt").string(), TextEncoding::kGbk).status,
              BookReadStatus::kTooLarge);

    // A sparse file of 32 MiB + 1 byte is refused from its size alone; 32 MiB is read.
    for (uint64_t size : {kMaxSourceBytes + 1, kMaxSourceBytes}) {
        const std::filesystem::path huge = dir / "huge.txt";
        { std::ofstream(huge, std::ios::binary).put('x'); }
        std::filesystem::resize_file(huge, size);
        BookLoadResult result = LoadBookFile(huge.string(), TextEncoding::kAuto);
        EXPECT_EQ(result.status, BookReadStatus::kTooLarge) << size;
        EXPECT_EQ(BookReadMessage(result.status), G("txt文件大小不能超过10M"));
    }

    EXPECT_EQ(LoadBookFile((dir / "none.txt").string(), TextEncoding::kAuto).status,
              BookReadStatus::kCannotOpen);
    EXPECT_EQ(LoadBookFile(dir.path().string(), TextEncoding::kAuto).status,
              BookReadStatus::kCannotOpen);
}

TEST(GbkTextToOutput, Utf8WithLineFeeds) {
    const std::string gbk = G("第一章\r\n正文\r\n\r\n完");
    EXPECT_EQ(GbkTextToOutput(gbk, OutputEncoding::kGbk), gbk);
    EXPECT_EQ(GbkTextToOutput(gbk, OutputEncoding::kUtf8), "第一章\n正文\n\n完");
    // What the code page cannot read comes out as it would be shown in a generated book.
    EXPECT_EQ(GbkTextToOutput(std::string("a\x81\r\n", 4), OutputEncoding::kUtf8), "a\u30FB\n");
}

}  // namespace
}  // namespace brisna
