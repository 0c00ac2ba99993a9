// Blocks coded ahead of building a book: taken only for the very text they were made from.
#include "book/BookFiles.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

std::vector<std::string> Files(const EncodedBook& book) {
    std::vector<std::string> files;
    for (const EncodedBookFile& file : book.files) files.push_back(file.path + "\n" + file.bytes);
    return files;
}

TEST(EncodeBookFiles, KeptBlocksChangeNoByteAndStandInOnlyForTheirOwnText) {
    std::vector<ChapterRecord> chapters;
    std::string book;
    for (int i = 1; i <= 4; ++i) {
        ChapterRecord& record = chapters.emplace_back();
        record.SetTitle(G("第") + std::to_string(i) + G("章"));
        record.offset = static_cast<uint32_t>(book.size());
        book += std::string(record.Title()) + "\r\n";
        for (int line = 0; line < 20 * i; ++line) {
            book += G("他走了") + std::to_string(line * i) + G("里，才到渡口。") + "\r\n";
        }
        record.length = static_cast<uint32_t>(book.size()) - record.offset;
    }
    // Coded where the book stands in a longer text, as a plan codes a whole novel.
    const std::string preface = G("序言一段。") + "\r\n";
    const uint32_t at = static_cast<uint32_t>(preface.size());
    QbrBlockCodes codes;
    CCompressLZ77 codec;
    for (const ChapterRecord& chapter : chapters) {
        ASSERT_TRUE(codes.JudgeChapter(preface + book, at + chapter.offset, chapter.length, codec));
    }
    std::string changed = book;  // one character of the second chapter, same length
    changed.replace(chapters[1].offset + chapters[1].length - 6, 2, G("头"));
    const struct {
        const char* name;
        const std::string& text;
        uint32_t codesOffset;
    } cases[] = {{"the same text", book, at},
                 {"a character changed since", changed, at},
                 {"the wrong place", book, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const EncodedBook fresh = EncodeBookFiles(c.text, chapters, "/b/x.txt");
        ASSERT_TRUE(fresh.ok());
        EXPECT_EQ(Files(EncodeBookFiles(c.text, chapters, "/b/x.txt", codes, c.codesOffset)),
                  Files(fresh));
    }
}

}  // namespace
}  // namespace brisna
