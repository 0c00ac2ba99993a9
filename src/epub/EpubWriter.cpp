#include "epub/EpubWriter.h"

#include <algorithm>

#include "epub/EpubCover.h"
#include "epub/EpubMessages.h"
#include "epub/EpubNavigation.h"
#include "epub/EpubReader.h"
#include "epub/EpubZip.h"
#include "epub/GbkLines.h"
#include "epub/XmlText.h"
#include "text/CodePage936.h"

namespace brisna {

namespace {

// Some reading devices load a whole document into memory before they show a page: a chapter
// longer than this is carried on in further documents, cut between paragraphs.
constexpr size_t kDocumentBodyBytes = 256 * 1024;
using epub_messages::kUntitled;

// What every page of the book shares: its language and the style sheets it links.
struct PageLook {
    std::string language = "zh-CN";
    bool userStylesheet = false;
};

// The head of an XHTML page; `up` leads from the page's folder to the package folder.
std::string XhtmlHead(std::string_view title, std::string_view up, const PageLook& look) {
    std::string out(kXmlDeclaration);
    out +=
        "<!DOCTYPE html>\n"
        "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\" "
        "xml:lang=\"" +
        XmlEscaped(look.language) + "\" lang=\"" + XmlEscaped(look.language) +
        "\">\n<head>\n<title>";
    AppendXmlEscaped(out, title);
    out += "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"";
    out += up;
    out += "style.css\"/>\n";
    if (look.userStylesheet) {
        out += "<link rel=\"stylesheet\" type=\"text/css\" href=\"";
        out += up;
        out += "user.css\"/>\n";
    }
    out += "</head>\n";
    return out;
}

const char kContainer[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
    "<rootfiles>\n"
    "<rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/>\n"
    "</rootfiles>\n"
    "</container>\n";

// One document of the book: a chapter, a part of a long chapter, or the text before the first.
struct Document {
    std::string id;     // manifest id, also the file name without extension
    std::string title;  // UTF-8, for its <title>
    std::string body;   // the XHTML inside <body>
};

// Appends a line's text as paragraph content: escaped, control characters left out, and the
// spaces a browser would drop written as no-break spaces.
void AppendLineContent(std::string& out, std::string_view gbkLine) {
    const std::string utf8 = GbkToUtf8(gbkLine);
    auto blank = [&](size_t i) { return utf8[i] == ' ' || utf8[i] == '\t'; };
    size_t plain = 0;  // the first byte not yet written
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        // Most bytes are Chinese text or letters, written as they stand in one run.
        if (c >= 0x80 || (c > '"' && c != '&' && c != '<' && c != '>')) continue;
        out.append(utf8, plain, i - plain);
        plain = i + 1;
        if (c != ' ' && c != '\t') {
            AppendXmlEscaped(out, std::string_view(utf8).substr(i, 1));
            continue;
        }
        const bool collapsible = i == 0 || i + 1 == utf8.size() || blank(i - 1) || blank(i + 1);
        // The last of a run stays a plain space where it can, so lines still wrap there.
        const bool lastOfInnerRun = i > 0 && i + 1 < utf8.size() && !blank(i + 1);
        out += collapsible && !lastOfInnerRun ? "&#160;" : " ";
    }
    out.append(utf8, plain, std::string::npos);
}

// A blank line of the text is no paragraph: the style sheet spaces the paragraphs evenly,
// unless the operator keeps the blank lines as they stand.
void AppendParagraph(std::string& out, std::string_view gbkLine, bool keepBlankLines) {
    if (gbkLine.empty()) {
        if (keepBlankLines) out += "<p class=\"blank\"><br/></p>\n";
        return;
    }
    // A line that indents itself keeps exactly that indent.
    const bool indented =
        gbkLine.starts_with(kFullWidthSpace) || gbkLine.front() == ' ' || gbkLine.front() == '\t';
    out += indented ? "<p class=\"noindent\">" : "<p>";
    AppendLineContent(out, gbkLine);
    out += "</p>\n";
}

// The documents of one stretch of text (a chapter, or the front matter): the first line is
// its heading when headingTag is given and the line has text.
void AddDocuments(std::vector<Document>& documents, const std::string& id, const std::string& title,
                  std::string_view text, std::string_view headingTag, bool keepBlankLines) {
    std::vector<std::string_view> lines = SplitLines(text);
    Document document{id, title, {}};
    int continuation = 1;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i == 0 && !headingTag.empty() && HasVisibleText(lines[0])) {
            document.body += "<" + std::string(headingTag) + ">";
            AppendLineContent(document.body, lines[0]);
            document.body += "</" + std::string(headingTag) + ">\n";
            continue;
        }
        if (document.body.size() >= kDocumentBodyBytes) {
            documents.push_back(std::move(document));
            document = Document{id + "_" + std::to_string(++continuation), title, {}};
        }
        AppendParagraph(document.body, lines[i], keepBlankLines);
    }
    // A chapter is never without a document, even an empty one: the contents link to it.
    if (document.body.empty()) document.body = "<p class=\"blank\"><br/></p>\n";
    documents.push_back(std::move(document));
}

std::string ChapterId(size_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return "c" + digits;
}

// The landmarks readers use to find the cover, the title page, the contents and the start of
// the text (the front pages are out of the reading order, so they are reached from here).
void AppendLandmarks(std::string& out, bool hasCover, std::string_view firstText) {
    using namespace epub_messages;
    out += "<nav epub:type=\"landmarks\" id=\"landmarks\" hidden=\"hidden\">\n<h2>";
    out += kLandmarksCaption;
    out += "</h2>\n<ol>\n";
    if (hasCover) {
        out += "<li><a epub:type=\"cover\" href=\"text/cover.xhtml\">";
        out += kCoverCaption;
        out += "</a></li>\n";
    }
    out += "<li><a epub:type=\"titlepage\" href=\"text/titlepage.xhtml\">";
    out += kTitlePageCaption;
    out += "</a></li>\n<li><a epub:type=\"toc\" href=\"nav.xhtml#toc\">";
    out += kContentsCaption;
    out += "</a></li>\n<li><a epub:type=\"bodymatter\" href=\"";
    out += XmlEscaped(firstText);
    out += "\">";
    out += kTextCaption;
    out += "</a></li>\n</ol>\n</nav>\n";
}

std::string NavDocument(const std::vector<NavPoint>& points, const EpubMetadata& metadata,
                        const PageLook& look, bool hasCover) {
    std::string out = XhtmlHead(metadata.title, "", look);
    out += "<body>\n<nav epub:type=\"toc\" id=\"toc\">\n<h1>";
    out += epub_messages::kContentsCaption;
    out += "</h1>\n";
    AppendContentsList(out, points, "");
    out += "</nav>\n";
    AppendLandmarks(out, hasCover, points.empty() ? "" : points.front().href);
    out += "</body>\n</html>\n";
    return out;
}

// The cover page: the picture alone, filling the page.
std::string CoverPage(const EpubMetadata& metadata, std::string_view pictureHref,
                      const PageLook& look) {
    std::string out = XhtmlHead(metadata.title, "../", look);
    out += "<body epub:type=\"cover\">\n<div class=\"cover\"><img src=\"../";
    out += XmlEscaped(pictureHref);
    out += "\" alt=\"";
    AppendXmlEscaped(out, metadata.title);
    out += "\"/></div>\n</body>\n</html>\n";
    return out;
}

// The title page: title, author and the book's summary.
std::string TitlePage(const EpubMetadata& metadata, const PageLook& look) {
    std::string out = XhtmlHead(metadata.title, "../", look);
    out +=
        "<body epub:type=\"frontmatter\">\n<section class=\"titlepage\" "
        "epub:type=\"titlepage\">\n<h1>";
    AppendXmlEscaped(out, metadata.title);
    out += "</h1>\n";
    if (!metadata.author.empty()) {
        out += "<p class=\"author\">";
        AppendXmlEscaped(out, metadata.author);
        out += "</p>\n";
    }
    if (!metadata.description.empty()) {
        out += "<div class=\"summary\">\n<h2>";
        out += epub_messages::kSummaryCaption;
        out += "</h2>\n";
        std::string_view rest = metadata.description;
        while (!rest.empty()) {
            const size_t end = std::min(rest.find('\n'), rest.size());
            if (end > 0) {
                out += "<p>";
                AppendXmlEscaped(out, rest.substr(0, end));
                out += "</p>\n";
            }
            rest.remove_prefix(std::min(end + 1, rest.size()));
        }
        out += "</div>\n";
    }
    out += "</section>\n</body>\n</html>\n";
    return out;
}

// What the package lists beside the text documents.
struct Extras {
    std::string coverHref;  // images/cover.png or .jpg; empty without a cover
    std::string coverType;
    std::string fontHref;  // fonts/book.ttf, ...; empty without an embedded font
    std::string fontType;
    bool userStylesheet = false;
    bool vertical = false;
};

std::string PackageDocument(const std::vector<Document>& documents, const EpubMetadata& metadata,
                            const PageLook& look, const Extras& extras) {
    std::string out(kXmlDeclaration);
    out +=
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" "
        "unique-identifier=\"bookid\" xml:lang=\"" +
        XmlEscaped(look.language) +
        "\">\n"
        "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
        "<dc:identifier id=\"bookid\">" +
        XmlEscaped(metadata.identifier) + "</dc:identifier>\n<dc:title>" +
        XmlEscaped(metadata.title) + "</dc:title>\n";
    if (!metadata.author.empty()) {
        out += "<dc:creator>" + XmlEscaped(metadata.author) + "</dc:creator>\n";
    }
    for (const std::string& author : metadata.moreAuthors) {
        if (XmlEscaped(author).empty()) continue;
        out += "<dc:creator>" + XmlEscaped(author) + "</dc:creator>\n";
    }
    out += "<dc:language>" + XmlEscaped(look.language) + "</dc:language>\n";
    if (!XmlEscaped(metadata.description).empty()) {
        out += "<dc:description>" + XmlEscaped(metadata.description) + "</dc:description>\n";
    }
    out += "<meta property=\"dcterms:modified\">" + XmlEscaped(metadata.modified) + "</meta>\n";
    // Older readers find the cover by this name only.
    if (!extras.coverHref.empty()) out += "<meta name=\"cover\" content=\"cover-image\"/>\n";
    out +=
        "</metadata>\n<manifest>\n"
        "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" "
        "properties=\"nav\"/>\n"
        "<item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>\n"
        "<item id=\"css\" href=\"style.css\" media-type=\"text/css\"/>\n";
    if (extras.userStylesheet) {
        out += "<item id=\"usercss\" href=\"user.css\" media-type=\"text/css\"/>\n";
    }
    if (!extras.fontHref.empty()) {
        out += "<item id=\"font\" href=\"" + extras.fontHref + "\" media-type=\"" +
               extras.fontType + "\"/>\n";
    }
    if (!extras.coverHref.empty()) {
        out += "<item id=\"cover-image\" href=\"" + extras.coverHref + "\" media-type=\"" +
               extras.coverType +
               "\" properties=\"cover-image\"/>\n"
               "<item id=\"cover\" href=\"text/cover.xhtml\" "
               "media-type=\"application/xhtml+xml\"/>\n";
    }
    out +=
        "<item id=\"titlepage\" href=\"text/titlepage.xhtml\" "
        "media-type=\"application/xhtml+xml\"/>\n";
    for (const Document& document : documents) {
        out += "<item id=\"" + document.id + "\" href=\"text/" + document.id +
               ".xhtml\" media-type=\"application/xhtml+xml\"/>\n";
    }
    out += "</manifest>\n<spine toc=\"ncx\"";
    if (extras.vertical) out += " page-progression-direction=\"rtl\"";
    out += ">\n";
    // The front pages come first but out of the reading order: the text read back from the
    // book is the book's own text, nothing added.
    if (!extras.coverHref.empty()) out += "<itemref idref=\"cover\" linear=\"no\"/>\n";
    out += "<itemref idref=\"titlepage\" linear=\"no\"/>\n<itemref idref=\"nav\" linear=\"no\"/>\n";
    for (const Document& document : documents) {
        out += "<itemref idref=\"" + document.id + "\"/>\n";
    }
    out += "</spine>\n</package>\n";
    return out;
}

// The label of an entry in the contents: its title, or a stand-in for one without text (a
// reader shows an empty entry as nothing to click on).
std::string LabelOf(std::string_view gbkTitle) {
    if (!HasVisibleText(gbkTitle)) return std::string(kUntitled);
    std::string label = GbkToUtf8(gbkTitle);
    if (XmlEscaped(label).find_first_not_of(" \t") == std::string::npos)
        return std::string(kUntitled);
    return label;
}

// The chapters' documents and their points in the contents, every level kept. Entries at one
// place (a volume and its first chapter) open the same document. A document's heading is as deep
// as its entry, one deeper for an entry with nothing below it: h1 for a volume, h2 for its
// chapters, h2 for the chapters of a book without volumes.
void AddChapters(std::vector<Document>& documents, std::vector<NavPoint>& points,
                 std::string_view gbkText, const std::vector<TocEntry>& entries,
                 bool keepBlankLines) {
    std::vector<NavPoint> chapters;
    size_t chapterCount = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i == 0 || entries[i].offset != entries[i - 1].offset) ++chapterCount;
        chapters.push_back({entries[i].level, LabelOf(entries[i].title),
                            "text/" + ChapterId(chapterCount) + ".xhtml"});
    }
    // The reader reads nothing deeper, so nothing deeper is written.
    NestLevels(chapters, kMaxEpubContentsDepth);
    chapterCount = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0 && entries[i].offset == entries[i - 1].offset) continue;
        size_t end = gbkText.size();
        for (size_t j = i + 1; j < entries.size(); ++j) {
            if (entries[j].offset != entries[i].offset) {
                end = entries[j].offset;
                break;
            }
        }
        const bool hasEntriesBelow =
            i + 1 < entries.size() && chapters[i + 1].level > chapters[i].level;
        const int heading = std::min(chapters[i].level + (hasEntriesBelow ? 0 : 1), 6);
        AddDocuments(documents, ChapterId(++chapterCount), chapters[i].label,
                     gbkText.substr(entries[i].offset, end - entries[i].offset),
                     "h" + std::to_string(heading), keepBlankLines);
    }
    points.insert(points.end(), chapters.begin(), chapters.end());
}

}  // namespace

std::optional<std::string> BuildEpub(std::string_view gbkText, const std::vector<TocEntry>& toc,
                                     const EpubMetadata& givenMetadata, const EpubStyle& style) {
    // Nothing the package or a page names is ever empty.
    EpubMetadata metadata = givenMetadata;
    metadata.title = CleanMetadataText(metadata.title);
    if (metadata.title.empty()) metadata.title = kUntitledBook;
    metadata.author = CleanMetadataText(metadata.author);
    PageLook look;
    look.language = CleanMetadataText(metadata.language);
    if (look.language.empty()) look.language = "zh-CN";
    look.userStylesheet = !style.userStylesheet.empty();
    const bool keepBlankLines = style.keepBlankLines;

    // The entries that can be written: in order, inside the text.
    std::vector<TocEntry> entries;
    for (const TocEntry& entry : toc) {
        if (entry.offset >= gbkText.size() && !(gbkText.empty() && entry.offset == 0)) continue;
        if (!entries.empty() && entry.offset < entries.back().offset) continue;
        entries.push_back(entry);
    }

    std::vector<Document> documents;
    std::vector<NavPoint> points;
    const uint32_t firstOffset =
        entries.empty() ? static_cast<uint32_t>(gbkText.size()) : entries.front().offset;
    if (firstOffset > 0) {
        // The text ahead of the first chapter (or all of it, when there are none).
        AddDocuments(documents, "front", metadata.title, gbkText.substr(0, firstOffset), "",
                     keepBlankLines);
        if (entries.empty()) points.push_back({1, metadata.title, "text/front.xhtml"});
    }
    AddChapters(documents, points, gbkText, entries, keepBlankLines);
    if (documents.empty()) {
        // An empty book still has one page for the contents to open.
        AddDocuments(documents, "front", metadata.title, "", "", keepBlankLines);
        points.push_back({1, metadata.title, "text/front.xhtml"});
    }

    Extras extras;
    extras.userStylesheet = look.userStylesheet;
    extras.vertical = style.vertical;
    const std::optional<std::string> coverType = PictureMediaType(metadata.cover.bytes);
    if (coverType) {
        extras.coverType = *coverType;
        extras.coverHref = *coverType == "image/png" ? "images/cover.png" : "images/cover.jpg";
    }
    const std::optional<FontKind> font = FontKindOf(style.fontBytes);
    if (font) {
        extras.fontType = font->mediaType;
        extras.fontHref = "fonts/book." + std::string(font->extension);
    }

    std::vector<ZipEntry> zip;
    zip.push_back({"mimetype", "application/epub+zip", true});
    zip.push_back({"META-INF/container.xml", kContainer, false});
    zip.push_back({"OEBPS/content.opf", PackageDocument(documents, metadata, look, extras), false});
    zip.push_back(
        {"OEBPS/nav.xhtml", NavDocument(points, metadata, look, coverType.has_value()), false});
    zip.push_back({"OEBPS/toc.ncx", NcxDocument(points, metadata, look.language), false});
    zip.push_back({"OEBPS/style.css", BookStylesheet(style, extras.fontHref), false});
    if (look.userStylesheet) zip.push_back({"OEBPS/user.css", style.userStylesheet, false});
    if (font) zip.push_back({"OEBPS/" + extras.fontHref, style.fontBytes, false});
    if (coverType) {
        // A picture is compressed already.
        zip.push_back({"OEBPS/" + extras.coverHref, metadata.cover.bytes, true});
        zip.push_back(
            {"OEBPS/text/cover.xhtml", CoverPage(metadata, extras.coverHref, look), false});
    }
    zip.push_back({"OEBPS/text/titlepage.xhtml", TitlePage(metadata, look), false});
    for (Document& document : documents) {
        std::string page = XhtmlHead(document.title, "../", look);
        page += "<body>\n";
        page += document.body;
        page += "</body>\n</html>\n";
        zip.push_back({"OEBPS/text/" + document.id + ".xhtml", std::move(page), false});
        document.body.clear();
    }
    return BuildZip(zip);
}

}  // namespace brisna
