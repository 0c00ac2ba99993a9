// Blocks coded ahead of building a book: taken only for the very text they were made from.
#include "book/BookFiles.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

// Chapters of differing prose, with their records (current lengths).
std::string Book(std::vector<ChapterRecord>& chapters) {
    std::string text;
    for (int i = 1; i <= 4; ++i) {
        ChapterRecord record;
        record.SetTitle(G("第") + std::to_string(i) + G("章"));
        record.offset = static_cast<uint32_t>(text.size());
        text += std::string(record.Title()) + "\r\n";
        for (int line = 0; line < 20 * i; ++line) {
            text += G("他沿着河岸走了") + std::to_string(line * i) + G("里，才到渡口。") + "\r\n";
        }
        record.length = static_cast<uint32_t>(text.size()) - record.offset;
        chapters.push_back(record);
    }
    return text;
}

std::vector<std::string> Bytes(const EncodedBook& book) {
    std::vector<std::string> files;
    for (const EncodedBookFile& file : book.files) files.push_back(file.path + "\n" + file.bytes);
    return files;
}

TEST(EncodeBookFiles, KeptBlocksChangeNoByteAndAreTakenOnlyForTheirOwnText) {
    std::vector<ChapterRecord> chapters;
    const std::string book = Book(chapters);
    // The codes are made from the book behind a preface, as a plan keeps a whole novel's.
    const std::string preface = G("序") + "\r\n" + G("一段序言。") + "\r\n";
    const std::string whole = preface + book;
    const uint32_t at = static_cast<uint32_t>(preface.size());
    QbrBlockCodes codes;
    CCompressLZ77 codec;
    for (const ChapterRecord& chapter : chapters) {
        EXPECT_TRUE(codes.JudgeChapter(whole, at + chapter.offset, chapter.length, codec));
    }
    ASSERT_NE(codes.Find(at + chapters[1].offset, chapters[1].length), nullptr);

    std::string changed = book;  // one character of the second chapter, same length
    changed.replace(chapters[1].offset + chapters[1].length - 6, 2, G("头"));
    const struct {
        const char* name;
        const std::string& text;
        uint32_t codesOffset;
    } cases[] = {
        {"the same text", book, at},
        {"a character changed since", changed, at},
        {"the wrong place", book, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const EncodedBook fresh = EncodeBookFiles(c.text, chapters, "/b/x.txt");
        const EncodedBook kept =
            EncodeBookFiles(c.text, chapters, "/b/x.txt", codes, c.codesOffset);
        ASSERT_TRUE(fresh.ok());
        EXPECT_EQ(kept.status, fresh.status);
        EXPECT_EQ(Bytes(kept), Bytes(fresh));
    }
}

TEST(QbrBlockCodes, JudgesAsCompressesAsQbrChapter) {
    const std::string prose = G("山高水长，他沿着河岸走了很久才到渡口。") + "\r\n";
    std::string repeated;
    while (repeated.size() < 30000) repeated += prose;
    const std::string ascii(25000, 'a');  // two blocks in UTF-16
    const std::string cases[] = {"", G("卷二") + "\r\n", prose, repeated, ascii, prose + ascii};
    CCompressLZ77 codec;
    for (const std::string& chapter : cases) {
        QbrBlockCodes codes;  // kept for one text
        const std::string text = "xx" + chapter;
        const uint32_t length = static_cast<uint32_t>(chapter.size());
        const bool expected = CompressesAsQbrChapter(chapter, codec);
        EXPECT_EQ(codes.JudgeChapter(text, 2, length, codec), expected) << chapter.size();
        // Judged again from the kept blocks.
        EXPECT_EQ(codes.JudgeChapter(text, 2, length, codec), expected) << chapter.size();
    }
}

}  // namespace
}  // namespace brisna
