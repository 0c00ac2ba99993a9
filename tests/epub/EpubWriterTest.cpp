// Writing EPUBs: what the reader gets back, the same bytes for the same book, the metadata
// taken from the text and the file name, the cover, the title page, the typography choices,
// and the container's fixed first entry.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <regex>
#include <set>

#include "epub/EpubCover.h"
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

// Blank lines are kept here, so the text reads back exactly as it went in.
std::string Written(const std::string& text, const std::vector<TocEntry>& toc) {
    EpubStyle style;
    style.keepBlankLines = true;
    std::optional<std::string> bytes = BuildEpub(text, toc, Metadata(), style);
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

// The written EPUB as an older reader sees it: the same archive without the navigation
// document's mark in the package, so its contents come from the NCX.
std::string WithoutNavigation(const std::string& epub, size_t chapters) {
    auto archive = ZipArchiveReader::Open(epub, {1 << 26, 1 << 27});
    EXPECT_TRUE(archive);
    if (!archive) return "";
    std::vector<std::string> names{
        "mimetype",      "META-INF/container.xml", "OEBPS/content.opf",         "OEBPS/nav.xhtml",
        "OEBPS/toc.ncx", "OEBPS/style.css",        "OEBPS/text/titlepage.xhtml"};
    for (size_t i = 1; i <= chapters; ++i) {
        std::string digits = std::to_string(i);
        names.push_back("OEBPS/text/c" + std::string(4 - digits.size(), '0') + digits + ".xhtml");
    }
    std::vector<ZipEntry> entries;
    for (const std::string& name : names) {
        ZipRead read = archive->Read(name);
        EXPECT_EQ(read.status, ZipReadStatus::kOk) << name;
        if (name == "OEBPS/content.opf") {
            read.bytes.erase(read.bytes.find(" properties=\"nav\""), 17);
        }
        entries.push_back({name, read.bytes, name == "mimetype"});
    }
    return BuildZip(entries).value_or("");
}

TEST(EpubWriter, EveryLevelOfTheContentsReadsBackFromNavAndNcx) {
    struct Case {
        const char* what;
        std::vector<int> levels;  // one per line of the text, each line an entry
        std::vector<int> back;
        std::vector<int> sharedWithNext;  // lines whose entry has no line of its own
    };
    const Case cases[] = {
        {"parts, volumes and chapters",
         {1, 2, 3, 3, 2, 3, 1, 2, 3},
         {1, 2, 3, 3, 2, 3, 1, 2, 3},
         {}},
        {"a part, its volume and its first chapter at one place",
         {1, 2, 3, 3, 1, 2, 3},
         {1, 2, 3, 3, 1, 2, 3},
         {0, 1, 4}},
        {"a level skipped nests one below", {1, 3, 3, 1, 4}, {1, 2, 2, 1, 2}, {}},
        {"the first entry stands at the top", {2, 3, 2}, {1, 2, 1}, {}},
        {"deeper than a reader reads",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 2},
         {1, 2, 3, 4, 5, 6, 7, 8, 8, 8, 2},
         {}},
    };
    for (const Case& c : cases) {
        std::string text;
        std::vector<TocEntry> toc;
        for (size_t i = 0; i < c.levels.size(); ++i) {
            const std::string title =
                G("第") + std::to_string(i + 1) + G("层") + std::to_string(c.levels[i]);
            toc.push_back({c.levels[i], title, static_cast<uint32_t>(text.size())});
            const bool shared = std::find(c.sharedWithNext.begin(), c.sharedWithNext.end(),
                                          static_cast<int>(i)) != c.sharedWithNext.end();
            if (!shared) text += title + "\r\n" + G("正文") + "\r\n";
        }
        const std::string epub = Written(text, toc);
        const size_t chapters = c.levels.size() - c.sharedWithNext.size();
        for (const std::string& bytes : {epub, WithoutNavigation(epub, chapters)}) {
            EpubReadResult read = ReadEpub(bytes);
            ASSERT_TRUE(read.ok) << c.what;
            EXPECT_TRUE(read.book.text == text) << c.what;
            ASSERT_EQ(read.book.toc.size(), toc.size()) << c.what;
            for (size_t i = 0; i < toc.size(); ++i) {
                EXPECT_EQ(read.book.toc[i].title, toc[i].title) << c.what << " " << i;
                EXPECT_EQ(read.book.toc[i].offset, toc[i].offset) << c.what << " " << i;
                EXPECT_EQ(read.book.toc[i].level, c.back[i]) << c.what << " " << i;
            }
        }
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
        {"第一章\r\n", "", "（无标题）", ""},
        {"正文《不是书名》\r\n", "/b/c.d.txt", "c.d", ""},
        // A short first line that is no heading and no sentence names the book.
        {"红楼旧梦\r\n\r\n　　那一年春天，雨下个不停。\r\n", "novel-classic.txt", "红楼旧梦", ""},
        {"　　那一年春天，雨下个不停。\r\n", "novel-classic.txt", "novel-classic", ""},
        {"三体\r\n第一章 科学边界\r\n", "a.txt", "三体", ""},
        {"1. 开始\r\n", "a.txt", "a", ""},
        {"《夜航》作者：周六\r\n", "a.txt", "夜航", "周六"},
        // The forms download sites name books by.
        {"第一章\r\n", "/d/《山河行》作者：林深见鹿.txt", "山河行", "林深见鹿"},
        {"第一章\r\n", "山河行 作者：林深见鹿.txt", "山河行", "林深见鹿"},
        {"第一章\r\n", "山河行_林深见鹿.txt", "山河行", "林深见鹿"},
        {"第一章\r\n", "山河行(林深见鹿).txt", "山河行", "林深见鹿"},
        {"第一章\r\n", "山河行（林深见鹿）.txt", "山河行", "林深见鹿"},
        {"第一章\r\n", "《山河行》.txt", "山河行", ""},
        {"第一章\r\n", "debian-faq-zh-cn.crlf.txt", "debian-faq-zh-cn.crlf", ""},
        // The text's own head goes before the file name; the file name fills what it lacks.
        {"《夜航》\r\n", "《山河行》作者：林深见鹿.txt", "夜航", "林深见鹿"},
        // Control characters never make a title or an author; nothing left is no title.
        {"书名：\x01\x02\r\n作者：\x03\r\n", "\x01.txt", "（无标题）", ""},
        {"《\x7F夜\t航》\r\n", "a.txt", "夜 航", ""},
    };
    for (const Case& c : cases) {
        EpubMetadata metadata = DescribeBook(G(c.text), c.path, 0);
        EXPECT_EQ(metadata.title, c.title) << c.text << " / " << c.path;
        EXPECT_EQ(metadata.author, c.author) << c.text << " / " << c.path;
    }
}

TEST(EpubWriter, WhatTheOperatorGivesGoesFirstAndLanguageFollowsTheScript) {
    EpubMetadata known;
    known.title = "\x01";  // nothing usable: the text decides
    known.author = "选定的作者";
    EpubMetadata metadata = DescribeBook(G("《书》\r\n作者：甲\r\n"), "a.txt", 0, known);
    EXPECT_EQ(metadata.title, "书");
    EXPECT_EQ(metadata.author, "选定的作者");
    EXPECT_EQ(metadata.language, "zh-CN");

    const std::string traditional =
        G("　　話說天下大勢，分久必合，合久必分。這一年，書院裡的學生們");
    EXPECT_EQ(DescribeBook(traditional, "a.txt", 0).language, "zh-TW");
    const std::string simplified =
        G("　　话说天下大势，分久必合，合久必分。这一年，书院里的学生们");
    EXPECT_EQ(DescribeBook(simplified, "a.txt", 0).language, "zh-CN");
    known.language = "en";
    EXPECT_EQ(DescribeBook(traditional, "a.txt", 0, known).language, "en");

    // The summary below 内容简介, up to the first heading.
    const std::string head =
        G("《书》\r\n内容简介：\r\n　　一个人走了很远。\r\n　　又回来了。\r\n"
          "第一章 出门\r\n正文\r\n");
    EXPECT_EQ(DescribeBook(head, "a.txt", 0).description, "一个人走了很远。\n又回来了。");
}

TEST(EpubWriter, TheIdentifierIsAVersionFiveUuidOfTheText) {
    const std::string id = DescribeBook(G("正文"), "a.txt", 0).identifier;
    EXPECT_TRUE(std::regex_match(
        id,
        std::regex("urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-5[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}")))
        << id;
    // Fixed for good: a library that knows the book by it must find it again.
    EXPECT_EQ(id, DescribeBook(G("正文"), "b.txt", 99).identifier);
    EXPECT_NE(id, DescribeBook(G("正文。"), "a.txt", 0).identifier);
}

// The entries of an EPUB as text.
std::string Entry(const std::string& epub, std::string_view name) {
    std::unique_ptr<ZipArchiveReader> zip = ZipArchiveReader::Open(epub, {1 << 26, 1 << 27});
    if (!zip) return "(not a zip)";
    ZipRead read = zip->Read(name);
    return read.status == ZipReadStatus::kOk ? read.bytes : "(missing)";
}

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;

    uint32_t At(int x, int y) const {
        const size_t at = (static_cast<size_t>(y) * width + x) * 3;
        return uint32_t{rgb[at]} << 16 | uint32_t{rgb[at + 1]} << 8 | rgb[at + 2];
    }
};

// Decodes a PNG; a picture of no size when the bytes are not one.
Picture Decode(const std::string& png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (png_image_begin_read_from_memory(&image, png.data(), png.size()) == 0) return picture;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0) {
        picture.width = static_cast<int>(image.width);
        picture.height = static_cast<int>(image.height);
        picture.rgb = std::move(rgb);
    }
    png_image_free(&image);
    return picture;
}

TEST(EpubWriter, TheDrawnCoverIsAPictureOfTheTitleAndTheSameEachTime) {
    const EpubCover cover = DrawCover("山河行", "林深见鹿");
    ASSERT_EQ(cover.mediaType, "image/png");
    const Picture picture = Decode(cover.bytes);
    ASSERT_EQ(picture.width, kCoverWidth);
    ASSERT_EQ(picture.height, kCoverHeight);
    EXPECT_TRUE(DrawCover("山河行", "林深见鹿").bytes == cover.bytes);
    EXPECT_FALSE(DrawCover("山河行", "").bytes == cover.bytes);
    // Whatever a title holds, a picture comes out.
    for (std::string title : {std::string(), std::string(5000, 'x'), std::string("\xE5\xB1")}) {
        EXPECT_EQ(Decode(DrawCover(title, title).bytes).width, kCoverWidth) << title.size();
    }

    // Ink on one of the cloth grounds: the frames, the title in the upper part, the rule and the
    // author below it.
    const uint32_t ground = picture.At(0, 0);
    const std::set<uint32_t> grounds = {0x2f4f4f, 0x5b3a29, 0x1f3a5f, 0x4a5d3a, 0x6b2e2e, 0x3d3d5c};
    EXPECT_TRUE(grounds.contains(ground)) << std::hex << ground;
    constexpr uint32_t kInk = 0xf3ebd8;
    const struct {
        int x, y;
        uint32_t colour;
    } points[] = {{30, 30, ground},   {60, 800, kInk},   {70, 800, ground},   {80, 800, kInk},
                  {1140, 1000, kInk}, {600, 1540, kInk}, {600, 1570, ground}, {1199, 1599, ground}};
    for (const auto& point : points) {
        EXPECT_EQ(picture.At(point.x, point.y), point.colour) << point.x << "," << point.y;
    }
    // Count the inked pixels band by band: the title stands around two fifths of the height,
    // the author below it, and nothing is drawn between the inner frame and the text column.
    auto inked = [&](int top, int bottom, int left, int right) {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) count += picture.At(x, y) != ground;
        }
        return count;
    };
    EXPECT_GT(inked(560, 720, 160, 1040), 2000);
    EXPECT_GT(inked(800, 1000, 160, 1040), 500);
    EXPECT_EQ(inked(100, 1500, 90, 150), 0);
    EXPECT_EQ(inked(100, 1500, 1050, 1110), 0);
}

TEST(EpubWriter, TheCoverAndTitlePageStandBeforeTheTextOutOfItsReadingOrder) {
    EpubMetadata metadata =
        DescribeBook(G("《书》\r\n作者：甲\r\n内容简介：很好的书。\r\n\r\n正文\r\n"), "a.txt", 0);
    metadata.cover = DrawCover(metadata.title, metadata.author);
    const std::string text =
        G("《书》\r\n作者：甲\r\n内容简介：很好的书。\r\n\r\n第一章\r\n正文\r\n");
    EpubStyle style;
    style.keepBlankLines = true;
    const std::string epub = BuildEpub(text, {{1, G("第一章"), 40}}, metadata, style).value();
    const std::string package = Entry(epub, "OEBPS/content.opf");
    EXPECT_NE(package.find("<meta name=\"cover\" content=\"cover-image\"/>"), std::string::npos);
    EXPECT_NE(package.find("href=\"images/cover.png\" media-type=\"image/png\" "
                           "properties=\"cover-image\""),
              std::string::npos);
    EXPECT_NE(package.find("<dc:description>很好的书。</dc:description>"), std::string::npos);
    EXPECT_TRUE(Entry(epub, "OEBPS/images/cover.png") == metadata.cover.bytes);
    EXPECT_NE(Entry(epub, "OEBPS/text/cover.xhtml").find("src=\"../images/cover.png\""),
              std::string::npos);
    const std::string titlePage = Entry(epub, "OEBPS/text/titlepage.xhtml");
    for (const char* part : {"<h1>书</h1>", "<p class=\"author\">甲</p>", "<p>很好的书。</p>"}) {
        EXPECT_NE(titlePage.find(part), std::string::npos) << part;
    }
    // Cover, title page and contents first, and the text reads back as it was.
    const size_t cover = package.find("<itemref idref=\"cover\" linear=\"no\"/>");
    const size_t title = package.find("<itemref idref=\"titlepage\" linear=\"no\"/>");
    const size_t contents = package.find("<itemref idref=\"nav\" linear=\"no\"/>");
    const size_t front = package.find("<itemref idref=\"front\"/>");
    EXPECT_TRUE(cover < title && title < contents && contents < front) << package;
    EpubReadResult read = ReadEpub(epub);
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(read.book.text == text) << U(read.book.text);

    metadata.cover = {};
    const std::string bare = BuildEpub(text, {}, metadata).value();
    EXPECT_EQ(Entry(bare, "OEBPS/content.opf").find("cover"), std::string::npos);
    EXPECT_EQ(Entry(bare, "OEBPS/text/cover.xhtml"), "(missing)");
}

TEST(EpubWriter, TypographyChoicesShapeTheStyleSheetAndTheSpine) {
    struct Case {
        const char* what;
        void (*choose)(EpubStyle&);
        std::string entry;
        std::string expected;  // found in the entry
        bool found = true;
    };
    const Case cases[] = {
        {"default indent", [](EpubStyle&) {}, "OEBPS/style.css", "text-indent: 2em;"},
        {"no indent", [](EpubStyle& s) { s.indentTenths = 0; }, "OEBPS/style.css",
         "p { margin: 0 0 0 0; text-indent: 0; }"},
        {"spacing", [](EpubStyle& s) { s.spacingTenths = 5; }, "OEBPS/style.css",
         "margin: 0 0 0.5em 0;"},
        {"line height", [](EpubStyle& s) { s.lineHeightTenths = 20; }, "OEBPS/style.css",
         "line-height: 2;"},
        {"headings left", [](EpubStyle& s) { s.headingAlignment = HeadingAlignment::kLeft; },
         "OEBPS/style.css", "h1, h2 { text-align: left;"},
        {"kai", [](EpubStyle& s) { s.fontFamily = FontFamily::kKai; }, "OEBPS/style.css",
         "\"KaiTi\""},
        {"reader's own face", [](EpubStyle&) {}, "OEBPS/style.css", "font-family", false},
        {"vertical columns", [](EpubStyle& s) { s.vertical = true; }, "OEBPS/style.css",
         "writing-mode: vertical-rl;"},
        {"vertical spine", [](EpubStyle& s) { s.vertical = true; }, "OEBPS/content.opf",
         "<spine toc=\"ncx\" page-progression-direction=\"rtl\">"},
        {"across by default", [](EpubStyle&) {}, "OEBPS/content.opf", "page-progression", false},
        {"blank lines dropped", [](EpubStyle&) {}, "OEBPS/text/c0001.xhtml", "class=\"blank\"",
         false},
        {"blank lines kept", [](EpubStyle& s) { s.keepBlankLines = true; },
         "OEBPS/text/c0001.xhtml", "<p>甲</p>\n<p class=\"blank\"><br/></p>\n<p>乙</p>"},
        {"user style sheet last", [](EpubStyle& s) { s.userStylesheet = "p { color: red; }"; },
         "OEBPS/text/c0001.xhtml",
         "href=\"../style.css\"/>\n<link rel=\"stylesheet\" type=\"text/css\" "
         "href=\"../user.css\"/>"},
        {"font embedded",
         [](EpubStyle& s) { s.fontBytes = std::string("\0\1\0\0", 4) + std::string(60, 'f'); },
         "OEBPS/content.opf", "href=\"fonts/book.ttf\" media-type=\"font/ttf\""},
        {"font named in the style sheet",
         [](EpubStyle& s) { s.fontBytes = "wOFF" + std::string(60, 'f'); }, "OEBPS/style.css",
         "src: url(\"fonts/book.woff\")"},
        {"no font of bytes that are none", [](EpubStyle& s) { s.fontBytes = "not a font at all"; },
         "OEBPS/content.opf", "fonts/", false},
    };
    const std::string text = G("第一章\r\n甲\r\n\r\n乙\r\n");
    for (const Case& c : cases) {
        EpubStyle style;
        c.choose(style);
        std::optional<std::string> epub = BuildEpub(text, {{1, G("第一章"), 0}}, Metadata(), style);
        ASSERT_TRUE(epub) << c.what;
        const std::string entry = Entry(*epub, c.entry);
        EXPECT_EQ(entry.find(c.expected) != std::string::npos, c.found) << c.what << "\n" << entry;
        EXPECT_TRUE(BuildEpub(text, {{1, G("第一章"), 0}}, Metadata(), style) == epub) << c.what;
    }
}

TEST(EpubWriter, LengthsAreReadInTenthsWithinTheirBounds) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"2", 20},
        {"2em", 20},
        {"0", 0},
        {"0.5", 5},
        {"1.5em", 15},
        {"4", 40},
        {"4.1", std::nullopt},
        {"1.25", std::nullopt},
        {".5", std::nullopt},
        {"1.", std::nullopt},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"2px", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& [text, tenths] : cases) {
        EXPECT_EQ(ParseTenths(text, 0, 40), tenths) << text;
    }
    EXPECT_EQ(FormatTenths(15, "em"), "1.5em");
    EXPECT_EQ(FormatTenths(20, ""), "2");
}

}  // namespace
}  // namespace brisna
