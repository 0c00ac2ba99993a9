// Writing EPUBs: what the reader gets back, the same bytes for the same book, the metadata
// taken from the text, and the container's fixed first entry.
#include <gtest/gtest.h>

#include "epub/EpubReader.h"
#include "epub/EpubWriter.h"
#include "epub/EpubZip.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

EpubMetadata Metadata() {
    return DescribeBook(G("正文"), "/books/书.txt", 0);
}

std::string Written(const std::string& text, const std::vector<TocEntry>& toc) {
    std::optional<std::string> bytes = BuildEpub(text, toc, Metadata());
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or("");
}

TEST(EpubWriter, WhatIsWrittenReadsBackWithItsChaptersAndLevels) {
    // Markup characters, full-width indents, blank lines, a volume above its chapters, a chapter
    // long enough to be carried on in further documents.
    std::string longChapter = G("第二章 长\r\n");
    while (longChapter.size() < 600000) longChapter += G("　　很长的一段文字，") + "<&>\"'\r\n";
    const std::string volume = G("第一卷 <风> & \"雨\"\r\n");
    const std::string first = G("第一章 开始\r\n　　第一段。\r\n\r\n第二段 a&b<c>\r\n");
    const std::string text = volume + first + longChapter + G("尾声\r\n完。\r\n");
    std::vector<TocEntry> toc{
        {1, G("第一卷 <风> & \"雨\""), 0},
        {2, G("第一章 开始"), static_cast<uint32_t>(volume.size())},
        {2, G("第二章 长"), static_cast<uint32_t>(volume.size() + first.size())},
        {1, G("尾声"), static_cast<uint32_t>(volume.size() + first.size() + longChapter.size())}};

    EpubReadResult read = ReadEpub(Written(text, toc));
    ASSERT_TRUE(read.ok) << U(read.message);
    EXPECT_TRUE(read.book.text == text);
    ASSERT_EQ(read.book.toc.size(), toc.size());
    for (size_t i = 0; i < toc.size(); ++i) {
        EXPECT_EQ(U(read.book.toc[i].title), U(toc[i].title));
        EXPECT_EQ(read.book.toc[i].offset, toc[i].offset) << i;
        EXPECT_EQ(read.book.toc[i].level, toc[i].level) << i;
    }
}

TEST(EpubWriter, TextComesBackUpToTheWhiteSpaceRules) {
    struct Case {
        const char* what;
        std::string text;  // UTF-8
        std::string back;
    };
    const Case cases[] = {
        {"a last line without a line break gets one", "甲\r\n乙", "甲\r\n乙\r\n"},
        {"spaces a reader would drop are kept", "  a   b  \r\n", "  a   b  \r\n"},
        {"a tab reads back as a space", "a\tb\t\r\n", "a b \r\n"},
        {"a line of spaces stays one", "甲\r\n   \r\n　　\r\n乙\r\n",
         "甲\r\n   \r\n　　\r\n乙\r\n"},
        {"control characters are left out",
         "a\x01"
         "b\r\n",
         "ab\r\n"},
    };
    for (const Case& c : cases) {
        EpubReadResult read = ReadEpub(Written(G(c.text), {{1, G("章"), 0}}));
        ASSERT_TRUE(read.ok) << c.what;
        EXPECT_EQ(U(read.book.text), c.back) << c.what;
    }
}

TEST(EpubWriter, TheSameBookGivesTheSameBytesAndIdentifier) {
    const std::string text = G("《书》\r\n第一章\r\n正文\r\n");
    const std::vector<TocEntry> toc{{1, G("《书》"), 0}, {1, G("第一章"), 8}};
    const std::string once = Written(text, toc);
    EXPECT_EQ(once, Written(text, toc));
    EXPECT_EQ(DescribeBook(text, "a.txt", 5).identifier,
              DescribeBook(text, "elsewhere/b.txt", 9).identifier);
    EXPECT_NE(DescribeBook(text, "a.txt", 5).identifier,
              DescribeBook(text + "x", "a.txt", 5).identifier);
    EXPECT_EQ(DescribeBook(text, "a.txt", 86400).modified, "1970-01-02T00:00:00Z");
}

TEST(EpubWriter, TheMimetypeEntryComesFirstAndStored) {
    const std::string bytes = Written(G("正文\r\n"), {});
    ASSERT_GT(bytes.size(), 58u);
    EXPECT_EQ(bytes.substr(0, 4), "PK\x03\x04");
    EXPECT_EQ(bytes[8] | bytes[9], 0);    // stored
    EXPECT_EQ(bytes[28] | bytes[29], 0);  // no extra field
    EXPECT_EQ(bytes.substr(30, 8), "mimetype");
    EXPECT_EQ(bytes.substr(38, 20), "application/epub+zip");
}

TEST(EpubWriter, MetadataComesFromTheHeadOfTheText) {
    struct Case {
        std::string text;  // UTF-8
        std::string path;
        std::string title, author;
    };
    const Case cases[] = {
        {"《山河行》\r\n作者：李四\r\n正文", "x/a.txt", "山河行", "李四"},
        {"\r\n　　书名：江湖 \r\n作者: 王五\r\n", "a.txt", "江湖", "王五"},
        {"第一章\r\n正文\r\n", "/books/长夜.txt", "长夜", ""},
        {"第一章\r\n", "", "未命名", ""},
        {"正文《不是书名》\r\n", "/b/c.d.txt", "c.d", ""},
    };
    for (const Case& c : cases) {
        EpubMetadata metadata = DescribeBook(G(c.text), c.path, 0);
        EXPECT_EQ(metadata.title, c.title) << c.text;
        EXPECT_EQ(metadata.author, c.author) << c.text;
    }
}

}  // namespace
}  // namespace brisna
