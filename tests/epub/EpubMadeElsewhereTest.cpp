// EPUBs made by another program from Chinese text (the installed Debian FAQ): the contents, the
// text and the metadata read back as the source has them. Skipped where the program or the
// text is not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "epub/EpubReader.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::U;

constexpr const char* kChineseFaq = "/usr/share/doc/debian/FAQ/debian-faq.zh-cn.txt.gz";

std::string CommandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
        pclose(pipe);
    }
    return out;
}

// The Chinese characters of the FAQ's longer lines, which markdown leaves as they are.
std::vector<std::string> ChineseParagraphs(size_t count) {
    return test::ChineseParagraphs(
        CommandOutput(std::string("gzip -dc ") + kChineseFaq + " 2>/dev/null"), 90, count);
}

TEST(EpubMadeElsewhere, PandocBookWithVolumesNotesAndATitlePage) {
    if (std::system("pandoc --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "pandoc is missing";
    const std::vector<std::string> prose = ChineseParagraphs(8);
    if (prose.size() < 8) GTEST_SKIP() << "the Chinese Debian FAQ (debian-faq-zh-cn) is missing";
    test::TempDir dir;
    // Text before the first heading, two volumes, a chapter with a note.
    const std::string markdown = "---\ntitle: 常见问题\nauthor: 编者\nlang: zh-TW\n---\n\n" +
                                 prose[0] + "\n\n# 第一卷\n\n## 第一章 开始\n\n" + prose[1] +
                                 "[^1]\n\n" + prose[2] + "\n\n## 第二章 继续\n\n" + prose[3] +
                                 "\n\n# 第二卷\n\n## 第三章 结束\n\n" + prose[4] +
                                 "\n\n[^1]: " + prose[5] + "\n";
    test::WriteFileBytes(dir / "book.md", markdown);
    const std::string command =
        "cd '" + dir.path().string() + "' && pandoc book.md -o book.epub --toc 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EpubReadResult read = ReadEpub(test::ReadFileBytes(dir / "book.epub"));
    ASSERT_TRUE(read.ok) << U(read.message);
    const std::string text = U(read.book.text);

    std::vector<std::pair<int, std::string>> contents;
    for (const TocEntry& entry : read.book.toc) contents.push_back({entry.level, U(entry.title)});
    const std::vector<std::pair<int, std::string>> expected{
        {1, "第一卷"}, {2, "第一章 开始"}, {2, "第二章 继续"}, {1, "第二卷"}, {2, "第三章 结束"}};
    EXPECT_EQ(contents, expected);
    // The title page opens the first volume; the contents page is no text.
    EXPECT_EQ(read.book.toc.front().offset, 0u);
    EXPECT_EQ(text.find("Table of Contents"), std::string::npos);
    EXPECT_EQ(text.find("Title Page"), std::string::npos);
    for (size_t i = 0; i < read.book.toc.size(); ++i) {
        if (i > 0) {
            const std::string heading =
                U(read.book.text.substr(read.book.toc[i].offset, read.book.toc[i].title.size()));
            EXPECT_EQ(heading, contents[i].second) << "entry " << i << " not at its heading";
        }
    }
    // Every paragraph as the source has it: the note kept, its call and its back arrow gone.
    for (size_t i : {0, 1, 2, 3, 4}) {
        EXPECT_NE(text.find(prose[i] + "\r\n"), std::string::npos) << i;
    }
    EXPECT_NE(text.find(prose[5]), std::string::npos);
    EXPECT_EQ(text.find("?"), std::string::npos);
    EXPECT_EQ(read.book.metadata.title, "常见问题");
    EXPECT_EQ(read.book.metadata.author, "编者");
    EXPECT_EQ(read.book.metadata.language, "zh-TW");
}

TEST(EpubMadeElsewhere, ConverterDefaultsWithAContentsOfOneStartEntry) {
    if (std::system("ebook-convert --version >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "ebook-convert (calibre) is missing";
    }
    const std::vector<std::string> prose = ChineseParagraphs(10);
    if (prose.size() < 10) GTEST_SKIP() << "the Chinese Debian FAQ (debian-faq-zh-cn) is missing";
    test::TempDir dir;
    std::string text = "小城春秋\n\n";
    for (int chapter = 1; chapter <= 5; ++chapter) {
        text += "第" + std::to_string(chapter) + "章 标题" + std::to_string(chapter) + "\n\n" +
                prose[chapter * 2 - 2] + "\n\n" + prose[chapter * 2 - 1] + "\n\n";
    }
    test::WriteFileBytes(dir / "book.txt", text);
    const std::string command =
        "cd '" + dir.path().string() + "' && ebook-convert book.txt book.epub >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "ebook-convert cannot run here";
    EpubReadResult read = ReadEpub(test::ReadFileBytes(dir / "book.epub"));
    ASSERT_TRUE(read.ok) << U(read.message);
    // Its contents lead only to the cover page: the chapters are recognised in the text, the
    // book's title line opening the first.
    EXPECT_FALSE(read.book.notice.empty());
    std::vector<std::string> titles;
    for (const TocEntry& entry : read.book.toc) titles.push_back(U(entry.title));
    EXPECT_EQ(titles, (std::vector<std::string>{"第1章 标题1", "第2章 标题2", "第3章 标题3",
                                                "第4章 标题4", "第5章 标题5"}));
    const std::string shown = U(read.book.text);
    EXPECT_EQ(shown.rfind("小城春秋\r\n", 0), 0u);
    for (const std::string& paragraph : prose) {
        EXPECT_NE(shown.find(paragraph + "\r\n"), std::string::npos);
    }
    EXPECT_EQ(read.book.metadata.cover.mediaType, "image/jpeg");
}

}  // namespace
}  // namespace brisna
