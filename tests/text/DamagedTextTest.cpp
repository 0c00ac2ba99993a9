// Books that arrive damaged or unusual: UTF-8 with a few bad sequences, UTF-16 without a mark,
// a NUL inside, CR-only line ends, bytes that are no text at all.
#include <gtest/gtest.h>

#include <string>

#include "support/TestSupport.h"
#include "text/BookLoading.h"
#include "text/EncodingConversion.h"
#include "text/EncodingDetection.h"

namespace brisna {
namespace {

using test::G;

std::string Encode(std::string_view utf8, const char* encoding) {
    std::string out = test::IcuConvert(utf8, encoding, "UTF-8");
    EXPECT_TRUE(!out.empty() || utf8.empty()) << encoding;
    return out;
}

const std::string kParagraph =
    "第一章 开始\r\n他推开窗，夜色里的长街还亮着几盏灯，远处传来钟声。她没有回答，只是把那封信"
    "又看了一遍，然后轻轻放回抽屉里。众人面面相觑，谁也说不清这件事究竟从何而起。\r\n";

// About 10,000 characters of prose: room for an encoded surrogate (three malformed bytes, as
// strict decoders count them) within the bound.
std::string Prose() {
    std::string prose;
    for (int i = 0; i < 120; ++i) prose += kParagraph;
    return prose;
}

std::string InsertAt(std::string text, size_t at, std::string_view bytes) {
    // Never inside a character: move to the next line start.
    at = text.find('\n', at) + 1;
    text.insert(at, bytes);
    return text;
}

TEST(DamagedText, DetectionToleratesAFewBadUtf8Sequences) {
    const std::string prose = Prose();
    const std::string gbk = G(prose);
    std::string elevenBad = prose;
    for (int i = 0; i < 11; ++i) elevenBad = InsertAt(elevenBad, elevenBad.size() / 11 * i, "\xFF");
    struct Case {
        std::string bytes;
        TextEncoding expected;
        const char* what;
    } cases[] = {
        {prose.substr(0, prose.size() - 3), TextEncoding::kUtf8, "cut at the end"},
        {InsertAt(prose, prose.size() / 2, "\xC0\xAF"), TextEncoding::kUtf8, "overlong"},
        {InsertAt(prose, prose.size() / 3, "\xED\xA0\x80"), TextEncoding::kUtf8, "surrogate"},
        {InsertAt(prose, 10, "\xFF"), TextEncoding::kUtf8, "one stray byte"},
        {elevenBad, TextEncoding::kGbk, "eleven bad sequences in 10,000 characters"},
        {"\xE7\xAC\xAC\xFF", TextEncoding::kGbk, "a short text with one bad byte"},
        {gbk, TextEncoding::kGbk, "GBK"},
        {gbk.substr(0, gbk.size() - 3), TextEncoding::kGbk, "GBK cut in a character"},
        {Encode(prose, "UTF-16LE"), TextEncoding::kUtf16Le, "UTF-16LE without a mark"},
        {Encode(prose, "UTF-16BE"), TextEncoding::kUtf16Be, "UTF-16BE without a mark"},
        {gbk + std::string(1, '\0') + gbk, TextEncoding::kGbk, "GBK with a NUL"},
    };
    for (const Case& c : cases) EXPECT_EQ(DetectTextEncoding(c.bytes), c.expected) << c.what;
}

TEST(DamagedText, LoadsWhatCanBeLoadedAndSaysWhatWasNot) {
    const std::string prose = Prose();
    const std::string gbk = PrepareLoadedText(G(prose));
    const std::string le = Encode(prose, "UTF-16LE");
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) % 251));
    struct Case {
        std::string bytes;
        BookReadStatus status;
        std::string text;  // the loaded text; "" to skip
        size_t replaced;
        size_t firstReplacedLine;
        size_t nulLine;
        const char* what;
    } cases[] = {
        {prose.substr(0, prose.size() - 3), BookReadStatus::kOk,
         gbk.substr(0, gbk.size() - 4) + "?", 1, 240, 0, "cut UTF-8: the cut character is '?'"},
        {InsertAt(prose, 0, "\xFF"), BookReadStatus::kOk, "", 1, 2, 0, "stray byte on line 2"},
        {le, BookReadStatus::kOk, gbk, 0, 0, 0, "UTF-16LE without a mark"},
        {le.substr(0, le.size() / 2 & ~size_t{1}) + std::string(2, '\0') + le, BookReadStatus::kOk,
         "", 0, 0, 121, "UTF-16 with a NUL halfway"},
        {G("第一章\r正文\r第二章\r正文"), BookReadStatus::kOk,
         G("第一章\r\n正文\r\n第二章\r\n正文"), 0, 0, 0, "CR-only line ends"},
        {G("第一章\r\n正文\r第二章"), BookReadStatus::kOk, G("第一章\r\n正文第二章"), 0, 0, 0,
         "a stray CR beside LFs is dropped"},
        {G("正文\r\r\r\r第二章"), BookReadStatus::kOk, G("正文\r\n\r\n第二章"), 0, 0, 0,
         "CR-only blank lines shrink"},
        {binary, BookReadStatus::kNotText, "", 0, 0, 0, "binary"},
    };
    for (const Case& c : cases) {
        BookLoadResult loaded = DecodeBookBytes(c.bytes, TextEncoding::kAuto);
        EXPECT_EQ(loaded.status, c.status) << c.what;
        if (!c.text.empty()) {
            EXPECT_EQ(loaded.text, c.text) << c.what;
        }
        EXPECT_EQ(loaded.replaced, c.replaced) << c.what;
        EXPECT_EQ(loaded.firstReplacedLine, c.firstReplacedLine) << c.what;
        EXPECT_EQ(loaded.nulLine, c.nulLine) << c.what;
    }
    // Forced GBK takes even binary bytes as they stand.
    EXPECT_EQ(DecodeBookBytes(binary, TextEncoding::kGbk).status, BookReadStatus::kOk);
}

TEST(DamagedText, NoticesFollowTheLoad) {
    BookLoadResult loaded;
    loaded.replaced = 2;
    loaded.firstReplacedLine = 3;
    loaded.nulLine = 7;
    const std::vector<std::string> notices = LoadNotices(loaded);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0], ReplacedCharactersMessage(2, 3));
    EXPECT_EQ(notices[1], G("第7行有空字符，其后的文本未载入"));
    EXPECT_TRUE(LoadNotices(BookLoadResult{}).empty());
}

TEST(DamagedText, Big5UserDefinedCharactersAreCounted) {
    // FA 40 is in Big5's user-defined area; A4 A4 is 中.
    GbkConversion converted = ConvertToGbk("\xA4\xA4\xFA\x40", TextEncoding::kBig5);
    EXPECT_EQ(converted.gbk, G("中?"));
    EXPECT_EQ(converted.replaced, 1u);
}

TEST(DamagedText, Utf8CensusCountsWhatIcuSubstitutes) {
    struct Case {
        std::string bytes;
        size_t multiByte, malformed;
        bool cut;
    } cases[] = {
        {"abc", 0, 0, false},
        {"\xE4\xB8\xAD\xF0\x9F\x98\x80", 2, 0, false},
        {"\xE4\xB8\xAD\xE4\xB8", 1, 0, true},
        {"\xC0\xAF", 0, 2, false},
        {"a\xED\xA0\x80z", 0, 3, false},
    };
    for (const Case& c : cases) {
        Utf8Census census = CountUtf8(c.bytes, c.bytes.size());
        EXPECT_EQ(census.multiByte, c.multiByte) << test::U(c.bytes);
        EXPECT_EQ(census.malformed, c.malformed) << test::U(c.bytes);
        EXPECT_EQ(census.cutAtEnd, c.cut) << test::U(c.bytes);
        EXPECT_EQ(IsValidUtf8(c.bytes), c.malformed == 0 && !c.cut);
    }
}

}  // namespace
}  // namespace brisna
