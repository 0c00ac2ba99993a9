#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "book/BookTestData.h"
#include "book/QbrFormat.h"
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
void Put32(std::string& bytes, size_t at, uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes.at(at + k) = static_cast<char>(value >> (8 * k));
}

std::string Decode(const std::string& file, size_t from, size_t length, size_t outputLength) {
    std::string out(65536, '\0');
    int64_t produced = DecodeLz77(reinterpret_cast<const uint8_t*>(file.data()) + from, length,
                                  reinterpret_cast<uint8_t*>(out.data()), out.size(), outputLength);
    EXPECT_EQ(produced, static_cast<int64_t>(outputLength));
    out.resize(produced < 0 ? 0 : static_cast<size_t>(produced));
    return out;
}

// LZ77-codes bytes the way the writer does, for files built by hand.
std::string Code(std::string_view bytes) {
    CCompressLZ77 codec;
    std::string out(bytes.size() + kLz77DestinationSlack, '\0');
    int produced =
        codec.Compress(reinterpret_cast<const uint8_t*>(bytes.data()),
                       static_cast<uint32_t>(bytes.size()), reinterpret_cast<uint8_t*>(out.data()));
    EXPECT_GT(produced, 0);
    out.resize(produced > 0 ? static_cast<size_t>(produced) : 0);
    return out;
}

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
    std::string ChapterText(size_t i) const {
        return text.substr(chapters[i].offset, chapters[i].length);
    }
};

Qbr2Header HeaderNamed(std::string_view path) {
    Qbr2Header header;
    header.bookName = Qbr2BookName(path);
    return header;
}

class QbrFormat : public ::testing::Test {
  protected:
    std::string Write(const Book& book, const std::string& name = "book.qbr") {
        const std::string path = (dir_ / name).string();
        CCompressLZ77 codec;
        QbrWriteResult result =
            WriteQbr(book.text, book.chapters, path, HeaderNamed("/x/book3.qbr2"), codec);
        EXPECT_TRUE(result.ok());
        return test::ReadFileBytes(path);
    }
    TempDir dir_;
};

TEST_F(QbrFormat, LayoutOfTwoChapters) {
    Book book;
    book.Add(G("第一章 风起"), G("第一章 风起\r\n") + test::SampleChineseGbk(5000, 1));
    book.Add(G("第二章"), test::SampleChineseGbk(16382 * 2, 2));
    const std::string file = Write(book);

    const uint32_t indexOffset = Get32(file, 0);
    ASSERT_EQ(Get32(file, 4), 72u + 84 * 2);  // 240 bytes before compression
    EXPECT_EQ(Get32(file, 12), indexOffset + Get32(file, 8));
    EXPECT_EQ(file.size(), Get32(file, 12));

    const std::string index = Decode(file, indexOffset, Get32(file, 8), 240);
    EXPECT_EQ(Utf16ToUtf8(LeBytesToUtf16(index.substr(0, 64)).c_str()), "book3.");
    EXPECT_EQ(Get32(index, 64), 2u);
    EXPECT_EQ(Get32(index, 68), 2u);
    uint32_t textOffset = 0;
    uint32_t blockOffset = 16;  // blocks start right after the header, back to back
    for (size_t i = 0; i < 2; ++i) {
        const std::string utf16 = Utf16ToLeBytes(GbkToUtf16(book.ChapterText(i)));
        const std::string record = index.substr(72 + 72 * i, 72);
        EXPECT_EQ(LeBytesToUtf16(record.substr(0, 64)).c_str(),
                  GbkToUtf16(book.chapters[i].Title()));
        EXPECT_EQ(Get32(record, 64), textOffset);
        EXPECT_EQ(Get32(record, 68), utf16.size());
        textOffset += static_cast<uint32_t>(utf16.size());

        const std::string block = index.substr(72 + 144 + 12 * i, 12);
        EXPECT_EQ(Get32(block, 0), blockOffset);
        EXPECT_EQ(Get32(block, 8), utf16.size());
        EXPECT_EQ(Decode(file, blockOffset, Get32(block, 4), utf16.size()), utf16);
        blockOffset += Get32(block, 4);
    }
    EXPECT_EQ(blockOffset, indexOffset);

    QbrReadResult read = ReadQbr(file);
    ASSERT_TRUE(read.ok) << test::U(read.message);
    ASSERT_EQ(read.chapters.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(read.chapters[i].title, book.chapters[i].Title());
        EXPECT_EQ(read.chapters[i].text, book.ChapterText(i));
    }
}

TEST_F(QbrFormat, TheLongestChapterIsOneBlock) {
    Book book;
    std::string text;
    while (text.size() < 2 * 16380) text += G("风起云涌");
    text += G("文章");
    ASSERT_EQ(GbkToUtf16(text).size(), 16382u);
    book.Add(G("长"), text);
    const std::string file = Write(book);
    const std::string index = Decode(file, Get32(file, 0), Get32(file, 8), 72 + 84);
    EXPECT_EQ(Get32(index, 72 + 72 + 8), 32764u);
    QbrReadResult read = ReadQbr(file);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.chapters[0].text, text);
}

TEST_F(QbrFormat, AChapterThatDoesNotGetShorterStopsTheFileAndIsNamed) {
    Book book;
    book.Add(G("第一章"), test::SampleChineseGbk(3000, 3));
    book.Add(G("第二章 短"), G("短"));
    book.Add(G("第三章"), test::SampleChineseGbk(3000, 4));
    const std::string path = (dir_ / "short.qbr").string();
    CCompressLZ77 codec;
    QbrWriteResult result = WriteQbr(book.text, book.chapters, path, Qbr2Header{}, codec);
    EXPECT_EQ(result.status, QbrWriteResult::Status::kChapterTooShort);
    EXPECT_EQ(result.failedChapterTitle, G("第二章 短"));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(QbrFormat, OtherWriterFailures) {
    Book book;
    book.Add(G("一"), test::SampleChineseGbk(3000, 3));
    CCompressLZ77 codec;
    // A folder that does not exist.
    EXPECT_EQ(
        WriteQbr(book.text, book.chapters, (dir_ / "no" / "b.qbr").string(), Qbr2Header{}, codec)
            .status,
        QbrWriteResult::Status::kFailed);
    // Chapters longer than the text, and a chapter too long for one block.
    book.chapters[0].length += 1;
    EXPECT_EQ(
        WriteQbr(book.text, book.chapters, (dir_ / "b.qbr").string(), Qbr2Header{}, codec).status,
        QbrWriteResult::Status::kFailed);
    Book huge;
    huge.Add(G("大"), std::string(40000, 'a'));
    EXPECT_EQ(
        WriteQbr(huge.text, huge.chapters, (dir_ / "b.qbr").string(), Qbr2Header{}, codec).status,
        QbrWriteResult::Status::kFailed);
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
}

class QbrDamage : public QbrFormat {
  protected:
    void SetUp() override {
        for (int i = 0; i < 4; ++i) {
            book_.Add(G("第") + std::to_string(i) + G("章"), test::SampleChineseGbk(2000, i + 20));
        }
        file_ = Write(book_);
        index_ = Decode(file_, Get32(file_, 0), Get32(file_, 8), Get32(file_, 4));
    }
    // The file with its index replaced.
    std::string WithIndex(const std::string& index) const {
        const uint32_t indexOffset = Get32(file_, 0);
        std::string file = file_.substr(0, indexOffset) + Code(index);
        Put32(file, 4, static_cast<uint32_t>(index.size()));
        Put32(file, 8, static_cast<uint32_t>(file.size() - indexOffset));
        Put32(file, 12, static_cast<uint32_t>(file.size()));
        return file;
    }
    size_t BlockRecord(size_t i) const { return 72 + 72 * book_.chapters.size() + 12 * i; }

    Book book_;
    std::string file_;
    std::string index_;
};

TEST_F(QbrDamage, ADamagedBlockKeepsTheChaptersBeforeIt) {
    // Cut the third chapter's stream short by claiming one more byte of text.
    std::string index = index_;
    Put32(index, BlockRecord(2) + 8, Get32(index, BlockRecord(2) + 8) + 1);
    QbrReadResult read = ReadQbr(WithIndex(index));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(test::U(read.message), "解析qbr文件失败，章节数据错误");
    ASSERT_EQ(read.chapters.size(), 2u);
    EXPECT_EQ(read.chapters[1].text, book_.ChapterText(1));
}

TEST_F(QbrDamage, ADamagedIndexIsAHeaderError) {
    std::string file = file_;
    Put32(file, 4, Get32(file_, 4) + 2);  // the index no longer decodes to its stated length
    QbrReadResult read = ReadQbr(file);
    EXPECT_EQ(test::U(read.message), "解析qbr文件失败，文件头错误");
    EXPECT_TRUE(read.chapters.empty());
    file = file_;
    Put32(file, 8, Get32(file_, 8) - 3);
    EXPECT_EQ(test::U(ReadQbr(file).message), "解析qbr文件失败，文件头错误");
    EXPECT_EQ(test::U(ReadQbr(file_.substr(0, 15)).message), "解析qbr文件失败，文件头错误");
}

TEST_F(QbrDamage, RecordsPointingOutsideTheFileOrItsBuffersAreRefused) {
    struct Case {
        size_t field;
        uint32_t value;
        const char* message;
    } cases[] = {
        {BlockRecord(1), 0xFFFFFFF0u, "解析qbr文件失败，章节数据错误"},      // offset
        {BlockRecord(1) + 4, 0x7FFFFFFFu, "解析qbr文件失败，章节数据错误"},  // compressed length
        {BlockRecord(1) + 8, 65538u, "解析qbr文件失败，章节数据错误"},       // uncompressed length
        {64, 5u, "解析qbr文件失败，文件头错误"},                             // chapter count
        {64, 0x40000000u, "解析qbr文件失败，文件头错误"},
    };
    for (const Case& c : cases) {
        std::string index = index_;
        Put32(index, c.field, c.value);
        QbrReadResult read = ReadQbr(WithIndex(index));
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(test::U(read.message), c.message) << c.field;
    }
    // The header's index offset and length are checked against the file too.
    std::string file = file_;
    Put32(file, 0, 0xFFFFFFFFu);
    EXPECT_EQ(test::U(ReadQbr(file).message), "解析qbr文件失败，文件头错误");
    file = file_;
    Put32(file, 4, 70000);
    EXPECT_EQ(test::U(ReadQbr(file).message), "解析qbr文件失败，文件头错误");
}

TEST(QbrReader, SurvivesEveryTruncationAndByteChangeOfASmallFile) {
    TempDir dir;
    Book book;
    book.Add(G("第一章"), G("第一章\r\n") + test::SampleChineseGbk(200, 2));
    book.Add(G("第二章"), test::SampleChineseGbk(150, 3));
    const std::string path = (dir / "small.qbr").string();
    CCompressLZ77 codec;
    ASSERT_TRUE(WriteQbr(book.text, book.chapters, path, Qbr2Header{}, codec).ok());
    const std::string file = test::ReadFileBytes(path);
    for (size_t length = 0; length <= file.size(); ++length) {
        const std::vector<char> cut(file.begin(), file.begin() + length);
        QbrReadResult read = ReadQbr(std::string_view(cut.data(), cut.size()));
        EXPECT_EQ(read.ok, length == file.size()) << length;
    }
    for (size_t at = 0; at < file.size(); ++at) {
        for (int bit = 0; bit < 8; ++bit) {
            std::vector<char> changed(file.begin(), file.end());
            changed[at] = static_cast<char>(changed[at] ^ (1 << bit));
            QbrReadResult read = ReadQbr(std::string_view(changed.data(), changed.size()));
            EXPECT_TRUE(read.ok || !read.message.empty());
        }
    }
}

}  // namespace
}  // namespace brisna
