// EPUBs in the shapes real books have: nested and partly unlinked contents, front pages, the
// package's metadata and cover, documents in other encodings, and inputs built to exhaust the
// reader, which must stop at its bounds.
#include <gtest/gtest.h>

#include "Capacities.h"
#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "epub/EpubCommands.h"
#include "epub/EpubReader.h"
#include "epub/EpubTestSupport.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::SmallEpub;
using test::U;
using test::Zipped;

struct Entry {
    int level;
    std::string title;  // UTF-8
    uint32_t line;      // 0-based line of the text
    bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& entry) {
    return out << "{" << entry.level << ", " << entry.title << ", " << entry.line << "}";
}

std::vector<Entry> EntriesOf(const EpubBook& book) {
    std::vector<uint32_t> lineStarts{0};
    for (size_t i = 0; i + 1 < book.text.size(); ++i) {
        if (book.text.compare(i, 2, "\r\n") == 0) lineStarts.push_back(i + 2);
    }
    std::vector<Entry> entries;
    for (const TocEntry& entry : book.toc) {
        auto at = std::find(lineStarts.begin(), lineStarts.end(), entry.offset);
        EXPECT_NE(at, lineStarts.end()) << "an entry not at a line start";
        entries.push_back(
            {entry.level, U(entry.title), static_cast<uint32_t>(at - lineStarts.begin())});
    }
    return entries;
}

EpubReadResult Read(const std::vector<ZipEntry>& entries) {
    return ReadEpub(Zipped(entries));
}

// The package of SmallEpub with more in its metadata and manifest, and a guide.
std::vector<ZipEntry> WithPackage(std::vector<ZipEntry> entries, const std::string& metadata,
                                  const std::string& manifest, const std::string& guide = "") {
    std::string& opf = entries.back().bytes;
    opf.replace(opf.find("<dc:title>书</dc:title>"), std::string("<dc:title>书</dc:title>").size(),
                metadata);
    opf.insert(opf.find("</manifest>"), manifest);
    opf.insert(opf.find("</package>"), guide);
    return entries;
}

const std::string kPng("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);

TEST(EpubContentsShapes, EveryEntryKeepsItsLevelAndPlace) {
    const std::vector<std::pair<std::string, std::string>> book{
        {"a.xhtml",
         "<h1>第一部</h1><h2 id=\"v1\">第一卷</h2><h3 id=\"c1\">第一章</h3><p>甲</p>"
         "<h3 id=\"c2\">第二章</h3><p>乙</p>"},
        {"b.xhtml", "<h3>第一百零一章</h3><p>丙</p>"},
        {"c.xhtml", "<h3>第一百零二章</h3><p>丁</p>"}};
    struct Case {
        const char* what;
        std::string nav, ncx;
        std::vector<Entry> entries;
    };
    const Case cases[] = {
        {"three levels of nav",
         "<ol><li><a href=\"a.xhtml\">第一部</a><ol><li><a href=\"a.xhtml#v1\">第一卷</a><ol>"
         "<li><a href=\"a.xhtml#c1\">第一章</a></li><li><a href=\"a.xhtml#c2\">第二章</a></li>"
         "</ol></li></ol></li></ol>",
         "",
         {{1, "第一部", 0}, {2, "第一卷", 1}, {3, "第一章", 2}, {3, "第二章", 4}}},
        {"labels without a link stand at their first linked descendant",
         "<ol><li><span>第一部</span><ol><li><span>第一卷</span><ol>"
         "<li><a href=\"a.xhtml#c1\">第一章</a></li></ol></li>"
         "<li><span>第二卷</span><ol><li><a href=\"b.xhtml\">第一百零一章</a></li></ol></li>"
         "<li><span>空卷</span></li></ol></li></ol>",
         "",
         {{1, "第一部", 0},
          {2, "第一卷", 2},
          {3, "第一章", 2},
          {2, "第二卷", 6},
          {3, "第一百零一章", 6}}},
        {"a chapter sharing its volume's target is kept at the same place",
         "<ol><li><a href=\"a.xhtml\">第一卷</a><ol><li><a href=\"a.xhtml#c2\">第二章</a></li>"
         "</ol></li><li><a href=\"b.xhtml\">第二卷</a><ol><li><a href=\"b.xhtml\">第一百零一章"
         "</a></li><li><a href=\"c.xhtml\">第一百零二章</a></li></ol></li></ol>",
         "",
         {{1, "第一卷", 0},
          {2, "第二章", 4},
          {1, "第二卷", 6},
          {2, "第一百零一章", 6},
          {2, "第一百零二章", 8}}},
        {"an NCX label without content",
         "",
         "<navPoint><navLabel><text>上部</text></navLabel><navPoint><navLabel><text>第一百零一章"
         "</text></navLabel><content src=\"b.xhtml\"/></navPoint></navPoint>",
         {{1, "上部", 0}, {2, "第一百零一章", 6}}},
    };
    for (const Case& c : cases) {
        EpubReadResult read = Read(SmallEpub(book, c.nav, c.ncx));
        ASSERT_TRUE(read.ok) << c.what;
        EXPECT_EQ(EntriesOf(read.book), c.entries) << c.what;
    }
}

TEST(EpubContentsShapes, FrontPagesAreNoTextAndNoChapters) {
    // A cover page, a title page, the contents as a page of the spine, then the book.
    std::vector<ZipEntry> entries = SmallEpub(
        {{"cover.xhtml", "<div><img src=\"cover.png\" alt=\"封面\"/></div>"},
         {"title.xhtml", "<h1>小城春秋</h1><p>高云览 著</p>"},
         {"toc.xhtml", "<h1>目录</h1><p><a href=\"c1.xhtml\">第一章</a></p>"},
         {"c1.xhtml", "<h1>第一章 开始</h1><p>正文一</p>"},
         {"c2.xhtml", "<h1>第二章 继续</h1><p>正文二</p>"}},
        "<ol><li><a href=\"cover.xhtml\">封面</a></li><li><a href=\"title.xhtml\">Title Page</a>"
        "</li><li><a href=\"toc.xhtml\">Table of Contents</a></li><li><a href=\"c1.xhtml\">第一章 "
        "开始</a></li><li><a href=\"c2.xhtml\">第二章 继续</a></li></ol>");
    entries = WithPackage(entries, "<dc:title>小城春秋</dc:title>",
                          "<item id=\"img\" href=\"cover.png\" media-type=\"image/png\" "
                          "properties=\"cover-image\"/>",
                          "<guide><reference type=\"toc\" href=\"toc.xhtml\"/></guide>");
    // The nav document stands in the spine too, as some programs put it.
    std::string& opf = entries.back().bytes;
    opf.insert(opf.find("</spine>"), "<itemref idref=\"nav\"/>");
    entries.push_back({"OPS/cover.png", kPng, false});
    EpubReadResult read = Read(entries);
    ASSERT_TRUE(read.ok) << U(read.message);
    EXPECT_EQ(U(read.book.text),
              "小城春秋\r\n高云览 著\r\n第一章 开始\r\n正文一\r\n第二章 继续\r\n正文二\r\n");
    EXPECT_EQ(EntriesOf(read.book),
              (std::vector<Entry>{{1, "第一章 开始", 0}, {1, "第二章 继续", 4}}));
    EXPECT_EQ(read.book.metadata.cover.mediaType, "image/png");
    EXPECT_EQ(read.book.metadata.cover.bytes, kPng);
}

TEST(EpubContentsShapes, ContentsThatPointNowhereAreReplacedByRecognition) {
    std::string body;
    for (int i = 1; i <= 4; ++i) {
        body += "<p>第" + std::to_string(i) + "章 标题" + std::to_string(i) + "</p><p>" +
                std::string(200, 'x') + "</p>";
    }
    struct Case {
        const char* what;
        std::string nav;
    };
    const Case cases[] = {
        {"digits and Start",
         "<ol><li><a href=\"a.xhtml\">0123456789</a></li><li><a "
         "href=\"a.xhtml\">Start</a></li></ol>"},
        {"most entries at one place",
         "<ol><li><a href=\"a.xhtml\">一</a></li><li><a href=\"a.xhtml\">二</a></li><li><a "
         "href=\"a.xhtml\">三</a></li></ol>"},
    };
    for (const Case& c : cases) {
        EpubReadResult read = Read(SmallEpub({{"a.xhtml", body}}, c.nav));
        ASSERT_TRUE(read.ok) << c.what;
        ASSERT_EQ(read.book.toc.size(), 4u) << c.what;
        EXPECT_EQ(U(read.book.toc[2].title), "第3章 标题3") << c.what;
        EXPECT_FALSE(read.book.notice.empty()) << c.what;
    }
}

TEST(EpubMetadataRead, ThePackageSaysWhatTheBookIs) {
    std::vector<ZipEntry> entries = WithPackage(
        SmallEpub({{"a.xhtml", "<p>正文</p>"}}),
        "<dc:title> 小城\n春秋 </dc:title><dc:creator>高云览</dc:creator><dc:creator>某编者"
        "</dc:creator><dc:language>zh-TW</dc:language><dc:identifier "
        "id=\"other\">isbn</dc:identifier>"
        "<dc:identifier id=\"uid\">urn:uuid:1234</dc:identifier><dc:description>&lt;p&gt;第一段"
        "&lt;/p&gt;&lt;p&gt;第二段&lt;/p&gt;</dc:description><dc:publisher>出版社</dc:publisher>"
        "<dc:date>1956-01-01</dc:date><meta name=\"calibre:series\" content=\"丛书\"/>"
        "<meta name=\"calibre:series_index\" content=\"2\"/><meta name=\"cover\" content=\"img\"/>",
        "<item id=\"img\" href=\"images/c.jpg\" media-type=\"image/jpeg\"/>");
    std::string& opf = entries.back().bytes;
    opf.replace(opf.find("version=\"3.0\""), 13, "version=\"2.0\" unique-identifier=\"uid\"");
    entries.push_back({"OPS/images/c.jpg", "\xFF\xD8\xFF\xE0jpeg", false});
    EpubReadResult read = Read(entries);
    ASSERT_TRUE(read.ok) << U(read.message);
    const EpubMetadata& m = read.book.metadata;
    EXPECT_EQ(m.title, "小城春秋");
    EXPECT_EQ(m.author, "高云览");
    EXPECT_EQ(m.moreAuthors, std::vector<std::string>{"某编者"});
    EXPECT_EQ(m.language, "zh-TW");
    EXPECT_EQ(m.identifier, "urn:uuid:1234");
    EXPECT_EQ(m.description, "第一段\n第二段");
    EXPECT_EQ(m.publisher, "出版社");
    EXPECT_EQ(m.date, "1956-01-01");
    EXPECT_EQ(m.series, "丛书");
    EXPECT_EQ(m.seriesIndex, "2");
    EXPECT_EQ(m.cover.mediaType, "image/jpeg");
    EXPECT_EQ(m.cover.bytes, "\xFF\xD8\xFF\xE0jpeg");
}

// A document body as raw bytes (not through SmallEpub's UTF-8 wrapper).
std::vector<ZipEntry> WithDocumentBytes(std::string bytes) {
    std::vector<ZipEntry> entries = SmallEpub({{"a.xhtml", ""}});
    entries[2].bytes = std::move(bytes);
    return entries;
}

TEST(EpubDocumentDecoding, DeclaredEncodingsAndBrokenDeclarations) {
    const std::string gbkBody = G("<p>简体中文</p><p>第二段</p>");
    struct Case {
        const char* what;
        std::string bytes;
        std::string text;  // UTF-8
    };
    const Case cases[] = {
        {"meta charset, well-formed",
         "<html><head><meta charset=\"gbk\"/></head><body>" + gbkBody + "</body></html>",
         "简体中文\r\n第二段\r\n"},
        {"http-equiv, not well-formed, labelled gb2312",
         "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=GB2312\">"
         "</head><body>" +
             gbkBody + G("<p>未闭合"),
         "简体中文\r\n第二段\r\n未闭合\r\n"},
        {"an internal subset before markup the XML parser refuses",
         "<!DOCTYPE html [\n<!ENTITY x \"y]>\">\n<!-- ] > -->\n]>\n<html><body><p>甲<p>乙&x;"
         "</body></html>",
         "甲\r\n乙&x;\r\n"},
    };
    for (const Case& c : cases) {
        EpubReadResult read = Read(WithDocumentBytes(c.bytes));
        ASSERT_TRUE(read.ok) << c.what << ": " << U(read.message);
        EXPECT_EQ(U(read.book.text), c.text) << c.what;
    }
}

// The entry's local and central headers marked as encrypted with a zip password.
std::string WithPasswordFlag(std::string zip) {
    for (size_t at = zip.find("PK\x03\x04"); at != std::string::npos;
         at = zip.find("PK\x03\x04", at + 4)) {
        zip[at + 6] = static_cast<char>(zip[at + 6] | 1);
    }
    for (size_t at = zip.find("PK\x01\x02"); at != std::string::npos;
         at = zip.find("PK\x01\x02", at + 4)) {
        zip[at + 8] = static_cast<char>(zip[at + 8] | 1);
    }
    return zip;
}

// Inputs made to cost far more to read than their size: each is refused with the size message,
// and the reader's bounds let through a book just under them.
TEST(EpubReaderBounds, HostileDocumentsStopAtTheBounds) {
    const std::string entity(30000, 'x');
    std::string references;
    for (int i = 0; i < 20000; ++i) references += "&e;";
    const std::string entityDocument = "<?xml version=\"1.0\"?><!DOCTYPE html [<!ENTITY e \"" +
                                       entity + "\">]><html><body><p>" + references +
                                       "</p></body></html>";
    std::string empties;
    for (size_t i = 0; i < kMaxEpubDocumentElements + 1; ++i) empties += "<b/>";
    std::string breaks;
    for (size_t i = 0; i < kMaxEpubDocumentElements + 1; ++i) breaks += "<br/>";
    // Each within a document's bound, together over the book's.
    std::string italics = "<p>x</p>";
    for (size_t i = 0; i < (kMaxEpubDocumentElements - 20) / 2; ++i) italics += "<i/><i/>";
    std::vector<std::pair<std::string, std::string>> documents;
    for (size_t i = 0; i * (kMaxEpubDocumentElements - 20) <= kMaxEpubBookElements; ++i) {
        documents.push_back({"d" + std::to_string(i) + ".xhtml", italics});
    }
    std::string fitting;  // just under the text bound
    while (fitting.size() + 200 < kMaxTextBytes - 1024)
        fitting += "<p>" + std::string(190, 'a') + "</p>";

    std::string nestedLinks;  // each looked at as a possible note call
    for (int i = 0; i < 200; ++i) nestedLinks += "<a href=\"#n\"><sup>";
    nestedLinks += "1";
    for (int i = 0; i < 200; ++i) nestedLinks += "</sup></a>";

    struct Case {
        const char* what;
        std::string bytes;
        const char* message;  // empty: read
    };
    const Case cases[] = {
        {"one entity referenced 20,000 times", Zipped(WithDocumentBytes(entityDocument)),
         "EPUB正文超过10M，无法打开"},
        {"a document of empty elements", Zipped(SmallEpub({{"a.xhtml", "<p>x</p>" + empties}})),
         "EPUB正文超过10M，无法打开"},
        {"a document of line breaks", Zipped(SmallEpub({{"a.xhtml", "<p>x</p>" + breaks}})),
         "EPUB正文超过10M，无法打开"},
        {"documents of many elements together", Zipped(SmallEpub(documents)),
         "EPUB正文超过10M，无法打开"},
        {"a password-protected archive",
         WithPasswordFlag(Zipped(SmallEpub({{"a.xhtml", "<p>x</p>"}}))),
         "EPUB文件设有密码（zip加密），无法打开"},
        {"note links nested deep", Zipped(SmallEpub({{"a.xhtml", "<p>x" + nestedLinks + "</p>"}})),
         ""},
        {"a text just under the bound", Zipped(SmallEpub({{"a.xhtml", fitting}})), ""},
    };
    for (const Case& c : cases) {
        EpubReadResult read = ReadEpub(c.bytes);
        EXPECT_EQ(read.ok, *c.message == 0) << c.what;
        EXPECT_EQ(U(read.message), c.message) << c.what;
    }
}

TEST(EpubOpenCommand, TheChapterListHoldsOnePlaceEachAndTheWholeContentsStay) {
    std::string nav = "<ol><li><a href=\"a.xhtml\">第一卷</a><ol>";
    std::vector<std::pair<std::string, std::string>> documents;
    const std::string longTitle =
        "第1章 " + std::string(30, 'x') + "一二三四五六七八九十一二三四五";
    for (int i = 1; i <= 100; ++i) {
        const std::string name = i == 1 ? "a.xhtml" : "c" + std::to_string(i) + ".xhtml";
        const std::string title = i == 1 ? longTitle : "第" + std::to_string(i) + "章";
        documents.push_back({name, "<h2>" + title + "</h2><p>正文</p>"});
        nav += "<li><a href=\"" + name + "\">" + title + "</a></li>";
    }
    nav += "</ol></li></ol>";
    std::vector<ZipEntry> entries = WithPackage(
        SmallEpub(documents, nav), "<dc:title>长书</dc:title><dc:language>zh-TW</dc:language>", "");

    HeadlessRichEdit view;
    HeadlessListBox list;
    CMyRECtrl text(view);
    ChapterModel chapters;
    test::RecordingHost host;
    OpenedContents opened;
    ASSERT_TRUE(LoadEpubBytes(Zipped(entries), "长书.epub", text, list, chapters, host, opened));
    // The volume shares its place with the first chapter: one chapter there, titled by it.
    ASSERT_EQ(chapters.Count(), kMaxChapters);
    const std::string first(chapters.RecordAt(0)->Title());
    EXPECT_LE(first.size(), kTitleBytes - 1);
    EXPECT_EQ(U(first), U(G(longTitle)).substr(0, U(first).size()));
    EXPECT_GE(first.size(), kTitleBytes - 2);
    EXPECT_EQ(host.messages.back(), "EPUB目录共100章，超过98章，只标记了前98章");
    const std::string bookText = view.GetText();
    const std::vector<TocEntry>* kept = opened.For(bookText, chapters);
    ASSERT_NE(kept, nullptr);
    ASSERT_EQ(kept->size(), 101u);
    EXPECT_EQ(U((*kept)[1].title), longTitle);
    EXPECT_EQ((*kept)[1].level, 2);
    ASSERT_NE(opened.MetadataFor(bookText), nullptr);
    EXPECT_EQ(opened.MetadataFor(bookText)->language, "zh-TW");
    EXPECT_EQ(opened.MetadataFor(bookText + "x"), nullptr);
    const std::vector<ContentsRow> rows = ContentsRows(*kept, bookText.size());
    // The volume stands at its first chapter's place and runs as far.
    EXPECT_EQ(rows[1].offset, rows[0].offset);
    EXPECT_EQ(rows[1].length, rows[0].length);
    EXPECT_EQ(rows[1].length, rows[2].offset - rows[1].offset);
}

}  // namespace
}  // namespace brisna
