// Reading EPUBs: what the documents' markup becomes as text, where the contents put the
// chapters, and the files that must be refused without harm.
#include <gtest/gtest.h>

#include "epub/EpubReader.h"
#include "epub/EpubTestSupport.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::SmallEpub;
using test::U;
using test::Zipped;

struct Chapter {
    int level;
    std::string title;  // UTF-8
    uint32_t line;      // 0-based line of the text
    bool operator==(const Chapter&) const = default;
};

std::vector<Chapter> ChaptersOf(const EpubBook& book) {
    std::vector<uint32_t> lineStarts{0};
    for (size_t i = 0; i + 1 < book.text.size(); ++i) {
        if (book.text.compare(i, 2, "\r\n") == 0) lineStarts.push_back(i + 2);
    }
    std::vector<Chapter> chapters;
    for (const TocEntry& entry : book.toc) {
        auto at = std::find(lineStarts.begin(), lineStarts.end(), entry.offset);
        EXPECT_NE(at, lineStarts.end()) << "a chapter not at a line start";
        chapters.push_back(
            {entry.level, U(entry.title), static_cast<uint32_t>(at - lineStarts.begin())});
    }
    return chapters;
}

EpubBook MustRead(const std::string& bytes) {
    EpubReadResult read = ReadEpub(bytes);
    EXPECT_TRUE(read.ok) << U(read.message);
    return read.book;
}

TEST(EpubReaderText, MarkupBecomesLinesAsABrowserShowsThem) {
    struct Case {
        const char* what;
        std::string body;
        std::string text;  // UTF-8, \r\n after every line
    };
    const Case cases[] = {
        {"blocks and breaks", "<p>一</p><div>二<br/>三</div><p>四<br/></p><p></p>",
         "一\r\n二\r\n三\r\n四\r\n"},
        {"a break alone is an empty line", "<p>甲</p><br/><p>乙</p>", "甲\r\n\r\n乙\r\n"},
        {"entities and references", "<p>&amp;&lt;&gt;&#x4E2D;&#25991;&quot;&apos;</p>",
         "&<>中文\"'\r\n"},
        {"scripts, styles, pictures, ruby text",
         "<p>甲<script>x()</script><style>p{}</style><img src=\"a.png\" alt=\"a picture\"/>乙"
         "<ruby>汉<rt>han</rt></ruby><img src=\"b.png\" alt=\"五个汉字呢\"/></p>",
         "甲乙汉\r\n"},
        {"a picture set for a rare character gives its alt",
         "<p>甲<img src=\"x.png\" alt=\"槑\"/>乙<img src=\"y.png\" alt=\"囧囧\"/></p>",
         "甲槑乙囧囧\r\n"},
        {"a line break between Chinese characters draws no space",
         "<p>第一行\n  接着写<b>字</b>\n<i>再</i> 空格\nlatin\n词</p>",
         "第一行接着写字再 空格 latin 词\r\n"},
        {"note calls and back arrows go, the notes stay",
         "<p>正文<a href=\"#fn1\" class=\"footnote-ref\" id=\"fnref1\" "
         "role=\"doc-noteref\"><sup>1</sup></a>后文<sup><a href=\"n.xhtml#n2\">[2]</a></sup></p>"
         "<aside id=\"fn1\"><p>注释一<a href=\"#fnref1\">\xE2\x86\xA9\xEF\xB8\x8E</a></p></aside>",
         "正文后文\r\n注释一\r\n"},
        {"ASCII white space collapses, full-width spaces stay",
         "<p>  a \n\t b  </p><p>\xE3\x80\x80\xE3\x80\x80全角</p>",
         "a b\r\n\xE3\x80\x80\xE3\x80\x80全角\r\n"},
        {"preformatted text keeps its spaces", "<pre>a  b\nc</pre>", "a  b\r\nc\r\n"},
        {"inline elements run on", "<p>第<b>一</b><i>章</i> <span>开始</span></p>",
         "第一章 开始\r\n"},
        {"not well-formed: the forgiving parser", "<p>x&nbsp;y<p>z&mdash;", "x y\r\nz—\r\n"},
        {"table cells apart", "<table><tr><td>甲</td><td>乙</td></tr></table>", "甲 乙\r\n"},
    };
    for (const Case& c : cases) {
        EpubBook book = MustRead(Zipped(SmallEpub({{"a.xhtml", c.body}})));
        EXPECT_EQ(U(book.text), c.text) << c.what;
    }
}

TEST(EpubReaderText, CharactersGbkCannotHoldAreCountedWithTheirLine) {
    EpubBook book = MustRead(Zipped(SmallEpub({{"a.xhtml", "<p>一</p><p>二😀三😀</p>"}})));
    EXPECT_EQ(book.text, G("一\r\n二?三?\r\n"));
    EXPECT_EQ(book.replaced, 2u);
    EXPECT_EQ(book.firstReplacedLine, 2u);
}

TEST(EpubReaderContents, ChaptersComeFromNavElseNcxElseTheDocuments) {
    const std::vector<std::pair<std::string, std::string>> volume{
        {"a.xhtml", "<h1>卷一</h1><p>x</p><h2 id=\"c1\">第一章</h2><p>y</p>"},
        {"b.xhtml", "<h2>第二章</h2><p>z</p>"}};
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> docs;
        std::string nav, ncx;
        std::vector<Chapter> chapters;
    };
    const Case cases[] = {
        {"nav with a volume and a fragment",
         volume,
         "<ol><li><a href=\"a.xhtml\">卷一</a><ol><li><a href=\"a.xhtml#c1\">第一章</a></li>"
         "<li><a href=\"b.xhtml\"> 第二章\n</a></li></ol></li></ol>",
         "",
         {{1, "卷一", 0}, {2, "第一章", 2}, {2, "第二章", 4}}},
        {"NCX when there is no nav",
         volume,
         "",
         "<navPoint><navLabel><text>卷一</text></navLabel><content src=\"a.xhtml\"/>"
         "<navPoint><navLabel><text>第一章</text></navLabel><content src=\"a.xhtml#c1\"/>"
         "</navPoint></navPoint>"
         "<navPoint><navLabel><text>第二章</text></navLabel><content src=\"b.xhtml\"/>"
         "</navPoint>",
         {{1, "卷一", 0}, {2, "第一章", 2}, {1, "第二章", 4}}},
        {"one chapter per document without contents",
         volume,
         "",
         "",
         {{1, "卷一", 0}, {1, "第二章", 4}}},
        {"a title page ahead of the contents belongs to the first chapter",
         {{"t.xhtml", "<p>书名页</p>"}, {"c.xhtml", "<h1>第一章</h1><p>a</p>"}},
         "<ol><li><a href=\"c.xhtml\">第一章</a></li></ol>",
         "",
         {{1, "第一章", 0}}},
        {"a long text ahead of the contents is a chapter of its own",
         {{"t.xhtml", "<p>序言</p><p>" + std::string(3000, 'x') + "</p>"},
          {"c.xhtml", "<h1>第一章</h1><p>a</p>"}},
         "<ol><li><a href=\"c.xhtml\">第一章</a></li></ol>",
         "",
         {{1, "序言", 0}, {1, "第一章", 2}}},
        {"links out of the archive, to nowhere, or backwards are passed over",
         volume,
         "<ol><li><a href=\"../../../etc/passwd\">x</a></li><li><a href=\"http://e.org/a.xhtml\">"
         "y</a></li><li><a href=\"b.xhtml\">第二章</a></li><li><a href=\"a.xhtml\">卷一</a></li>"
         "<li><a href=\"missing.xhtml\">z</a></li></ol>",
         "",
         // The first usable entry is past the start: the short text ahead of it belongs to it.
         {{1, "第二章", 0}}},
    };
    for (const Case& c : cases) {
        EpubBook book = MustRead(Zipped(SmallEpub(c.docs, c.nav, c.ncx)));
        EXPECT_EQ(ChaptersOf(book), c.chapters) << c.what;
    }
}

TEST(EpubReaderContents, TitlesAreKeptWhole) {
    const std::string longTitle(std::string("章") + std::string(70, 'x') + "一二三四五六七八九十");
    EpubBook book =
        MustRead(Zipped(SmallEpub({{"a.xhtml", "<p>" + longTitle + "</p>"}},
                                  "<ol><li><a href=\"a.xhtml\">" + longTitle + "</a></li></ol>")));
    ASSERT_EQ(book.toc.size(), 1u);
    EXPECT_EQ(U(book.toc[0].title), longTitle);
}

// The archive's sizes, patched to claim less than the entry really inflates to.
std::string WithUnderstatedSizes(std::string zip, const std::string& name, uint32_t claimed) {
    auto patch = [&](size_t at) {
        for (int i = 0; i < 4; ++i) zip[at + i] = static_cast<char>(claimed >> (8 * i));
    };
    for (size_t at = zip.find("PK\x03\x04"); at != std::string::npos;
         at = zip.find("PK\x03\x04", at + 4)) {
        if (zip.compare(at + 30, name.size(), name) == 0) patch(at + 22);
    }
    for (size_t at = zip.find("PK\x01\x02"); at != std::string::npos;
         at = zip.find("PK\x01\x02", at + 4)) {
        if (zip.compare(at + 46, name.size(), name) == 0) patch(at + 24);
    }
    return zip;
}

TEST(EpubReaderRefusals, DamagedOrHostileFilesGetOneClearMessage) {
    std::vector<ZipEntry> encrypted = SmallEpub({{"a.xhtml", "<p>x</p>"}});
    encrypted.push_back(
        {"META-INF/encryption.xml",
         "<encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
         "xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\"><enc:EncryptedData><enc:EncryptionMethod "
         "Algorithm=\"http://www.w3.org/2001/04/xmlenc#aes128-cbc\"/></enc:EncryptedData>"
         "</encryption>",
         false});
    std::vector<ZipEntry> huge = SmallEpub({{"a.xhtml", "<p>x</p>"}});
    huge[1].bytes.append(49u * 1024 * 1024, ' ');
    std::vector<ZipEntry> longText = SmallEpub({{"a.xhtml", ""}});
    std::string paragraphs;
    while (paragraphs.size() < 11u * 1024 * 1024)
        paragraphs += "<p>" + std::string(90, 'a') + "</p>";
    longText[2].bytes.replace(longText[2].bytes.find("<body>") + 6, 0, paragraphs);
    std::vector<ZipEntry> badPackage = SmallEpub({{"a.xhtml", "<p>x</p>"}});
    badPackage.back().bytes = "<package><manifest/>";

    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"not a zip", "plain text, not an archive", "不是EPUB文件（无法作为zip文件打开）"},
        {"empty file", "", "不是EPUB文件（无法作为zip文件打开）"},
        {"no container", Zipped({{"mimetype", "application/epub+zip", true}}),
         "EPUB文件缺少META-INF/container.xml"},
        {"encrypted content", Zipped(encrypted), "EPUB文件已加密（DRM），无法打开"},
        {"an entry over the bound", Zipped(huge),
         "EPUB文件中的条目过大（可能是压缩炸弹），无法打开"},
        {"an entry inflating past its stated size",
         WithUnderstatedSizes(
             Zipped(SmallEpub({{"a.xhtml", "<p>" + std::string(5000, 'x') + "</p>"}})),
             "OPS/a.xhtml", 100),
         "EPUB文件已损坏，无法解压"},
        {"a package that is no package", Zipped(badPackage), "EPUB文件的内容清单（OPF）无法解析"},
        {"no text at all", Zipped(SmallEpub({{"a.xhtml", "<p> </p><img src=\"x.png\"/>"}})),
         "EPUB文件没有正文"},
        {"a text over 10 MiB", Zipped(longText), "EPUB正文超过10M，无法打开"},
    };
    for (const Case& c : cases) {
        EpubReadResult read = ReadEpub(c.bytes);
        EXPECT_FALSE(read.ok) << c.what;
        EXPECT_EQ(U(read.message), c.message) << c.what;
        EXPECT_TRUE(read.book.text.empty()) << c.what;
    }
}

TEST(EpubReaderRefusals, ObfuscatedFontsAreNoEncryptionOfTheText) {
    std::vector<ZipEntry> entries = SmallEpub({{"a.xhtml", "<p>正文</p>"}});
    entries.push_back(
        {"META-INF/encryption.xml",
         "<encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
         "xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\"><enc:EncryptedData><enc:EncryptionMethod "
         "Algorithm=\"http://www.idpf.org/2008/embedding\"/></enc:EncryptedData></encryption>",
         false});
    EXPECT_EQ(MustRead(Zipped(entries)).text, G("正文\r\n"));
}

TEST(ZipArchiveReader, EveryEntryAndTheirSumAreBoundedBeforeInflating) {
    const std::string zip = Zipped({{"a", std::string(80, 'a'), false},
                                    {"b", std::string(80, 'b'), false},
                                    {"c", std::string(120, 'c'), false}});
    std::unique_ptr<ZipArchiveReader> reader = ZipArchiveReader::Open(zip, {100, 150});
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->Read("c").status, ZipReadStatus::kTooLarge);  // over one entry's bound
    EXPECT_EQ(reader->Read("a").bytes, std::string(80, 'a'));
    EXPECT_EQ(reader->Read("b").status, ZipReadStatus::kTooLarge);  // over what is left
    EXPECT_EQ(reader->Read(std::string("a\0b", 3)).status, ZipReadStatus::kMissing);
    EXPECT_EQ(reader->Read("A").status, ZipReadStatus::kTooLarge);  // found ignoring case
}

}  // namespace
}  // namespace brisna
