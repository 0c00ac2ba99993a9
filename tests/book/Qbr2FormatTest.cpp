#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "book/BookTestData.h"
#include "book/Qbr2Format.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna {
namespace {

using test::G;
using test::TempDir;

uint32_t Get32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int k = 3; k >= 0; --k) value = (value << 8) | static_cast<uint8_t>(bytes.at(at + k));
    return value;
}
uint16_t Get16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes.at(at)) |
                                 (static_cast<uint8_t>(bytes.at(at + 1)) << 8));
}
void Put32(std::string& bytes, size_t at, uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes.at(at + k) = static_cast<char>(value >> (8 * k));
}

// A book: the GBK text of its chapters back to back and their records.
struct Book {
    std::string text;
    std::vector<ChapterRecord> chapters;

    void Add(std::string_view gbkTitle, std::string_view gbkText) {
        ChapterRecord record;
        record.SetTitle(gbkTitle);
        record.offset = static_cast<uint32_t>(text.size());
        record.length = static_cast<uint32_t>(gbkText.size());
        chapters.push_back(record);
        text += gbkText;
    }
};

std::string Inflate(const std::string& file, size_t from, size_t length, size_t capacity) {
    std::string out(capacity, '\0');
    uLongf produced = capacity;
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &produced,
                         reinterpret_cast<const Bytef*>(file.data() + from), length),
              Z_OK);
    out.resize(produced);
    return out;
}

// Text of exactly `characters` two-byte GBK characters.
std::string TwoByteText(size_t characters, uint32_t seed) {
    std::string text = test::SampleChineseGbk(characters * 2, seed);
    for (size_t k = 0; k + 1 < text.size(); k += 2) {
        if (!IsGbkLeadByte(static_cast<unsigned char>(text[k]))) text.replace(k, 2, G("文"));
    }
    if (text.size() % 2 != 0 || !IsGbkLeadByte(static_cast<unsigned char>(text[text.size() - 2]))) {
        text.replace(text.size() - 2, 2, G("文"));
    }
    return text;
}

class Qbr2Format : public ::testing::Test {
  protected:
    // Writes the book and gives back the file's bytes.
    std::string Write(const Book& book, const std::string& name = "book.qbr2") {
        path_ = (dir_ / name).string();
        Qbr2Header header;
        EXPECT_EQ(WriteQbr2(book.text, book.chapters, path_, header), 0);
        header_ = header;
        return test::ReadFileBytes(path_);
    }

    TempDir dir_;
    std::string path_;
    Qbr2Header header_;
};

TEST_F(Qbr2Format, HeaderAndIndexOfThreeChaptersInTwoBlocks) {
    Book book;
    book.Add(G("第一章 开始"), G("第一章 开始\r\n") + test::SampleChineseGbk(40000, 1));
    book.Add(G("第二章"), test::SampleChineseGbk(30000, 2));
    book.Add(G("第三章 end"), "ascii only\r\n");
    const std::string file = Write(book);

    // Header, field by field.
    EXPECT_EQ(Get32(file, 0), 0u);
    EXPECT_EQ(Get16(file, 4), 104);
    EXPECT_EQ(Get16(file, 6), 2);
    EXPECT_EQ(Get32(file, 8), file.size());
    EXPECT_EQ(Utf16ToUtf8(LeBytesToUtf16(file.substr(12, 64)).c_str()), "book.");
    const uint32_t textLength = Get32(file, 76);
    const uint32_t indexCompressed = Get32(file, 80);
    EXPECT_EQ(Get16(file, 88), 3);
    EXPECT_EQ(Get16(file, 90), 2);
    EXPECT_EQ(Get32(file, 92), 0u);
    EXPECT_EQ(Get32(file, 96), 0u);
    EXPECT_EQ(file.size(), 104 + indexCompressed + Get32(file, 100));

    // The index: 3 chapter records and 2 block records, 232 bytes.
    const std::string index = Inflate(file, 104, indexCompressed, 65536);
    ASSERT_EQ(index.size(), 3u * 72 + 2 * 8);
    uint32_t offset = 0;
    for (int i = 0; i < 3; ++i) {
        const std::u16string units =
            GbkToUtf16(book.text.substr(book.chapters[i].offset, book.chapters[i].length));
        EXPECT_EQ(Get32(index, 72 * i + 64), offset);
        EXPECT_EQ(Get32(index, 72 * i + 68), 2 * units.size());
        offset += static_cast<uint32_t>(2 * units.size());
    }
    EXPECT_EQ(textLength, offset);
    EXPECT_EQ(LeBytesToUtf16(index.substr(72, 64)).c_str(), Utf8ToUtf16("第二章"));
    // Block records: offsets from the start of the compressed text, back to back.
    EXPECT_EQ(Get32(index, 216), 0u);
    EXPECT_EQ(Get32(index, 220), Get32(file, 84));
    EXPECT_EQ(Get32(index, 224), Get32(index, 220));
    EXPECT_EQ(Get32(index, 220) + Get32(index, 228), Get32(file, 100));
    // The text blocks: 65536 bytes, then the rest.
    const size_t textStart = 104 + indexCompressed;
    const std::string text = Inflate(file, textStart, Get32(index, 220), 65536) +
                             Inflate(file, textStart + Get32(index, 224), Get32(index, 228), 65536);
    EXPECT_EQ(text.size(), textLength);

    // The header handed back is the one written.
    const auto serialized = header_.Serialize();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(serialized.data()), 104),
              file.substr(0, 104));

    Qbr2ReadResult read = ReadQbr2(file);
    ASSERT_TRUE(read.ok) << test::U(read.message);
    ASSERT_EQ(read.chapters.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(read.chapters[i].title, book.chapters[i].Title());
        EXPECT_EQ(read.chapters[i].text,
                  book.text.substr(book.chapters[i].offset, book.chapters[i].length));
    }
}

TEST_F(Qbr2Format, TitlesAreCutToThirtyUnits) {
    Book book;
    std::string thirty;
    for (int k = 0; k < 30; ++k) thirty += G("章");
    book.Add(thirty, G("正文"));
    book.Add(thirty + G("多出"), G("正文"));
    const std::string file = Write(book);
    const std::string index = Inflate(file, 104, Get32(file, 80), 65536);
    for (int i = 0; i < 2; ++i) {
        const std::string field = index.substr(72 * i, 64);
        EXPECT_EQ(LeBytesToUtf16(field.substr(0, 60)), Utf8ToUtf16(test::U(thirty)));
        EXPECT_EQ(field.substr(60), std::string(4, '\0'));
    }
    Qbr2ReadResult read = ReadQbr2(file);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.chapters[1].title, thirty);
}

TEST_F(Qbr2Format, TextBlocksAtTheSixtyFourKilobyteBoundary) {
    // 32768 characters = 65536 bytes of UTF-16: one block; one more character: two blocks,
    // the second holding 2 bytes.
    for (size_t characters : {32768u, 32769u}) {
        Book book;
        const std::string text = TwoByteText(characters, static_cast<uint32_t>(characters));
        ASSERT_EQ(GbkToUtf16(text).size(), characters);
        book.Add(G("一"), text);
        const std::string file = Write(book);
        EXPECT_EQ(Get32(file, 76), characters * 2);
        EXPECT_EQ(Get16(file, 90), characters == 32768 ? 1 : 2);
        Qbr2ReadResult read = ReadQbr2(file);
        ASSERT_TRUE(read.ok) << characters;
        EXPECT_EQ(read.chapters.at(0).text, text);
    }
}

TEST_F(Qbr2Format, BookNameComesFromTheFileName) {
    auto name = [](std::string_view path) {
        const auto field = Qbr2BookName(path);
        return Utf16ToUtf8(
            LeBytesToUtf16(std::string_view(reinterpret_cast<const char*>(field.data()), 64))
                .c_str());
    };
    EXPECT_EQ(name("/home/x/book3.qbr2"), "book3.");
    EXPECT_EQ(name("dir.v2/书名.qbr2"), "书名.");
    EXPECT_EQ(name(".qbr2"), ".");
    EXPECT_EQ(name("a/abc"), "");
    EXPECT_EQ(name("/x/" + std::string(40, 'n') + "1.qbr2"), std::string(32, 'n'));
}

TEST_F(Qbr2Format, AnEmptyChapterListGivesAReadableFile) {
    const std::string file = Write(Book{});
    EXPECT_EQ(Get16(file, 90), 0);
    Qbr2ReadResult read = ReadQbr2(file);
    EXPECT_TRUE(read.ok);
    EXPECT_TRUE(read.chapters.empty());
}

TEST_F(Qbr2Format, WriterFailuresLeaveNoFile) {
    Book book;
    book.Add(G("一"), G("正文"));
    Qbr2Header header;
    // Chapters longer than the text they come from.
    book.chapters[0].length += 10;
    const std::string path = (dir_ / "short.qbr2").string();
    EXPECT_EQ(WriteQbr2(book.text, book.chapters, path, header), -1);
    EXPECT_FALSE(std::filesystem::exists(path));
    book.chapters[0].length -= 10;
    // A folder that does not exist.
    EXPECT_EQ(WriteQbr2(book.text, book.chapters, (dir_ / "none" / "b.qbr2").string(), header), -1);
    // An existing book is replaced only by a whole new one.
    test::WriteFileBytes(path, "old");
    book.chapters[0].length += 10;
    EXPECT_EQ(WriteQbr2(book.text, book.chapters, path, header), -1);
    EXPECT_EQ(test::ReadFileBytes(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

class Qbr2Damage : public Qbr2Format {
  protected:
    void SetUp() override {
        Book book;
        book.Add(G("第一章"), test::SampleChineseGbk(70000, 5));
        book.Add(G("第二章"), test::SampleChineseGbk(2000, 6));
        file_ = Write(book);
    }
    std::string Message(const std::string& file) {
        Qbr2ReadResult read = ReadQbr2(file);
        EXPECT_FALSE(read.ok);
        EXPECT_TRUE(read.chapters.empty());
        return test::U(read.message);
    }
    std::string file_;
};

TEST_F(Qbr2Damage, EachCheckGivesItsMessage) {
    EXPECT_EQ(Message(file_ + '\0'), "解析qbr文件失败，文件长度错误");
    EXPECT_EQ(Message(file_.substr(0, file_.size() - 1)), "解析qbr文件失败，文件长度错误");
    EXPECT_EQ(Message(file_.substr(0, 50)), "解析qbr文件失败，文件长度错误");

    std::string index = file_;
    index[104 + Get32(file_, 80) / 2] ^= 0x55;
    EXPECT_EQ(Message(index), "解析qbr文件失败，章节数据错误");

    std::string block = file_;
    block[file_.size() - 10] ^= 0x55;
    EXPECT_EQ(Message(block), "解析qbr文件失败，图书压缩块数据错误");

    // Two full blocks, and a text length that they do not fill.
    Book full;
    full.Add(G("一"), TwoByteText(65536, 4));
    std::string content = Write(full, "full.qbr2");
    ASSERT_EQ(Get32(content, 76), 131072u);
    Put32(content, 76, 131074);
    EXPECT_EQ(Message(content), "解析qbr文件失败，图书内容数据错误");
}

TEST_F(Qbr2Damage, LengthsAndOffsetsFromTheFileAreNotTrusted) {
    // Fields that add up to the file size only when the sum wraps around 32 bits.
    std::string wrapped = file_;
    Put32(wrapped, 96, 0xFFFFFFFFu);
    Put32(wrapped, 100, Get32(file_, 100) + 1);
    EXPECT_EQ(Message(wrapped), "解析qbr文件失败，文件长度错误");

    // An index stating more chapters than 65536 bytes hold.
    std::string chapters = file_;
    chapters[88] = chapters[89] = '\xFF';
    EXPECT_EQ(Message(chapters), "解析qbr文件失败，章节数据错误");

    // A one-block file whose text length is beyond any block.
    Book one;
    one.Add(G("一"), test::SampleChineseGbk(3000, 8));
    std::string single = Write(one, "one.qbr2");
    Put32(single, 76, 0x7FFFFFFF);
    EXPECT_EQ(Message(single), "解析qbr文件失败，图书压缩块数据错误");

    // A header length that moves the text area past the end of the file.
    std::string header = file_;
    header[4] = header[5] = '\x7F';
    EXPECT_EQ(Message(header), "解析qbr文件失败，图书压缩块数据错误");
}

TEST_F(Qbr2Damage, ChapterLengthsRunningPastTheTextAreRefused) {
    // Rebuild the index with a last chapter that claims more text than the file has, or less:
    // the text after it would be lost without a word.
    for (int32_t change : {2, -2}) {
        SCOPED_TRACE(change);
        std::string index = Inflate(file_, 104, Get32(file_, 80), 65536);
        Put32(index, 72 + 68, Get32(index, 72 + 68) + change);
        std::string packed(65536, '\0');
        uLongf packedLength = packed.size();
        ASSERT_EQ(compress(reinterpret_cast<Bytef*>(packed.data()), &packedLength,
                           reinterpret_cast<const Bytef*>(index.data()), index.size()),
                  Z_OK);
        packed.resize(packedLength);
        std::string file = file_.substr(0, 104) + packed + file_.substr(104 + Get32(file_, 80));
        Put32(file, 80, static_cast<uint32_t>(packedLength));
        EXPECT_EQ(Message(file), "解析qbr文件失败，章节数据错误");
    }
}

TEST(Qbr2Reader, SurvivesEveryTruncationAndByteChangeOfASmallFile) {
    TempDir dir;
    Book book;
    book.Add(G("第一章"), G("第一章\r\n") + test::SampleChineseGbk(300, 2));
    book.Add(G("第二章"), test::SampleChineseGbk(200, 3));
    Qbr2Header header;
    const std::string path = (dir / "small.qbr2").string();
    ASSERT_EQ(WriteQbr2(book.text, book.chapters, path, header), 0);
    const std::string file = test::ReadFileBytes(path);
    for (size_t length = 0; length < file.size(); ++length) {
        // Exact-size copies, so the sanitizer sees any read past the end.
        const std::vector<char> cut(file.begin(), file.begin() + length);
        EXPECT_FALSE(ReadQbr2(std::string_view(cut.data(), cut.size())).ok) << length;
    }
    for (size_t at = 0; at < file.size(); ++at) {
        for (int value : {0x00, 0x01, 0x80, 0xFF}) {
            std::vector<char> changed(file.begin(), file.end());
            changed[at] = static_cast<char>(static_cast<uint8_t>(changed[at]) ^ value);
            Qbr2ReadResult read = ReadQbr2(std::string_view(changed.data(), changed.size()));
            EXPECT_TRUE(read.ok || !read.message.empty());
        }
    }
}

}  // namespace
}  // namespace brisna
