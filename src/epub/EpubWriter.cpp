#include "epub/EpubWriter.h"

#include <ctime>

#include "epub/EpubZip.h"
#include "text/CodePage936.h"
#include "text/FileNames.h"

namespace brisna {

namespace {

// Some reading devices load a whole document into memory before they show a page: a chapter
// longer than this is carried on in further documents, cut between paragraphs.
constexpr size_t kDocumentBodyBytes = 256 * 1024;
// How far into the text the title and author lines are looked for.
constexpr int kHeadLines = 20;

constexpr std::string_view kFullWidthSpace = "\xA1\xA1";  // U+3000 in GBK
constexpr std::string_view kUntitled = "（无标题）";

std::string GbkToUtf8(std::string_view gbk) {
    return Utf16ToUtf8(GbkToUtf16(gbk));
}

// Text for XML content and attribute values. Control characters have no place in XML and are
// left out.
void AppendEscaped(std::string& out, std::string_view utf8) {
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out.push_back(c);
                break;
        }
    }
}

std::string Escaped(std::string_view utf8) {
    std::string out;
    AppendEscaped(out, utf8);
    return out;
}

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The line without the ASCII and full-width spaces around it (GBK, boundary-aware at the start;
// a full-width space at the end is matched on its two bytes after a character boundary walk).
std::string_view TrimGbk(std::string_view line) {
    for (;;) {
        if (!line.empty() && IsAsciiSpace(line.front())) {
            line.remove_prefix(1);
        } else if (line.starts_with(kFullWidthSpace)) {
            line.remove_prefix(2);
        } else {
            break;
        }
    }
    // Walk characters so a trailing A1 A1 is only taken when it is a whole character.
    size_t end = 0;
    size_t keep = 0;
    while (end < line.size()) {
        const unsigned char byte = static_cast<unsigned char>(line[end]);
        size_t width = IsGbkLeadByte(byte) && end + 1 < line.size() ? 2 : 1;
        std::string_view character = line.substr(end, width);
        end += width;
        if (!(width == 1 && IsAsciiSpace(character[0])) && character != kFullWidthSpace) {
            keep = end;
        }
    }
    return line.substr(0, keep);
}

bool HasVisibleText(std::string_view gbk) {
    return !TrimGbk(gbk).empty();
}

// The lines of a stretch of GBK text: CR LF (or a lone CR or LF) ends a line; a final line
// break does not start another line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// The value after a label such as 书名 or 作者 followed by a full-width or ASCII colon.
std::optional<std::string_view> LabelledValue(std::string_view line, std::string_view utf8Label) {
    const std::string label = Utf8ToGbk(utf8Label);
    if (!line.starts_with(label)) return std::nullopt;
    line.remove_prefix(label.size());
    const std::string colon = Utf8ToGbk("：");
    if (line.starts_with(colon)) {
        line.remove_prefix(colon.size());
    } else if (line.starts_with(":")) {
        line.remove_prefix(1);
    } else {
        return std::nullopt;
    }
    line = TrimGbk(line);
    if (line.empty()) return std::nullopt;
    return line;
}

std::string FileStem(std::string_view path) {
    const size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return Utf16ToUtf8(FileNameToUtf16(name));
}

// Two independent 64-bit FNV-1a sums over the text, as the 128 bits of a name-based UUID.
std::string IdentifierOf(std::string_view text) {
    uint64_t first = 0xcbf29ce484222325ull;
    uint64_t second = 0x84222325cbf29ce4ull ^ text.size();
    for (unsigned char byte : text) {
        first = (first ^ byte) * 0x100000001b3ull;
        second = (second ^ (byte + 0x5bu)) * 0x100000001b3ull;
        second ^= second >> 29;
    }
    unsigned char bits[16];
    for (int i = 0; i < 8; ++i) {
        bits[i] = static_cast<unsigned char>(first >> (56 - 8 * i));
        bits[8 + i] = static_cast<unsigned char>(second >> (56 - 8 * i));
    }
    bits[6] = static_cast<unsigned char>((bits[6] & 0x0F) | 0x50);  // version 5: name-based
    bits[8] = static_cast<unsigned char>((bits[8] & 0x3F) | 0x80);  // RFC 4122 variant
    static const char kHex[] = "0123456789abcdef";
    std::string out = "urn:uuid:";
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out.push_back('-');
        out.push_back(kHex[bits[i] >> 4]);
        out.push_back(kHex[bits[i] & 0x0F]);
    }
    return out;
}

std::string IsoDate(int64_t seconds) {
    std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (gmtime_r(&time, &parts) == nullptr || parts.tm_year + 1900 < 1 ||
        parts.tm_year + 1900 > 9999) {
        return "2000-01-01T00:00:00Z";
    }
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return buffer;
}

const char kXmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string XhtmlHead(std::string_view title, std::string_view stylesheet) {
    std::string out = kXmlDeclaration;
    out +=
        "<!DOCTYPE html>\n"
        "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\" "
        "xml:lang=\"zh-CN\" lang=\"zh-CN\">\n<head>\n<title>";
    AppendEscaped(out, title);
    out += "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"";
    out += stylesheet;
    out += "\"/>\n</head>\n";
    return out;
}

const char kStylesheet[] =
    "body { margin: 0 0.5em; text-align: justify; line-height: 1.6; }\n"
    "p { margin: 0; text-indent: 2em; }\n"
    "p.noindent, p.blank { text-indent: 0; }\n"
    "h1, h2 { text-align: center; text-indent: 0; margin: 1em 0; }\n"
    "h1 { font-size: 1.5em; }\n"
    "h2 { font-size: 1.25em; }\n";

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

// A table-of-contents entry as written: its label, level and the document it opens.
struct NavPoint {
    int level = 1;
    std::string label;  // UTF-8
    std::string href;   // relative to the package folder
};

// A line's text for a paragraph: every ASCII space or tab that a reader would collapse or drop
// (leading, trailing, or after another) becomes a no-break space, so the line reads back with
// the spaces it has.
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
            AppendEscaped(out, std::string_view(utf8).substr(i, 1));
            continue;
        }
        const bool collapsible = i == 0 || i + 1 == utf8.size() || blank(i - 1) || blank(i + 1);
        // The last of a run stays a plain space where it can, so lines still wrap there.
        const bool lastOfInnerRun = i > 0 && i + 1 < utf8.size() && !blank(i + 1);
        out += collapsible && !lastOfInnerRun ? "&#160;" : " ";
    }
    out.append(utf8, plain, std::string::npos);
}

void AppendParagraph(std::string& out, std::string_view gbkLine) {
    if (gbkLine.empty()) {
        out += "<p class=\"blank\"><br/></p>\n";
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
                  std::string_view text, const char* headingTag) {
    std::vector<std::string_view> lines = SplitLines(text);
    Document document{id, title, {}};
    int continuation = 1;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i == 0 && headingTag != nullptr && HasVisibleText(lines[0])) {
            document.body += std::string("<") + headingTag + ">";
            AppendLineContent(document.body, lines[0]);
            document.body += std::string("</") + headingTag + ">\n";
            continue;
        }
        if (document.body.size() >= kDocumentBodyBytes) {
            documents.push_back(std::move(document));
            document = Document{id + "_" + std::to_string(++continuation), title, {}};
        }
        AppendParagraph(document.body, lines[i]);
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

std::string NavDocument(const std::vector<NavPoint>& points, const EpubMetadata& metadata) {
    std::string out = XhtmlHead(metadata.title, "style.css");
    out += "<body>\n<nav epub:type=\"toc\" id=\"toc\">\n<h1>目录</h1>\n<ol>\n";
    for (size_t i = 0; i < points.size(); ++i) {
        const NavPoint& point = points[i];
        out += "<li><a href=\"" + Escaped(point.href) + "\">";
        AppendEscaped(out, point.label);
        out += "</a>";
        const bool opensChildren = i + 1 < points.size() && points[i + 1].level > point.level;
        if (opensChildren) {
            out += "\n<ol>\n";
            continue;
        }
        out += "</li>\n";
        const bool closesChildren =
            point.level == 2 && (i + 1 == points.size() || points[i + 1].level == 1);
        if (closesChildren) out += "</ol>\n</li>\n";
    }
    out += "</ol>\n</nav>\n</body>\n</html>\n";
    return out;
}

std::string NcxDocument(const std::vector<NavPoint>& points, const EpubMetadata& metadata) {
    int depth = 1;
    for (const NavPoint& point : points) depth = std::max(depth, point.level);
    std::string out = kXmlDeclaration;
    out +=
        "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\" "
        "xml:lang=\"zh-CN\">\n<head>\n<meta name=\"dtb:uid\" content=\"" +
        Escaped(metadata.identifier) + "\"/>\n<meta name=\"dtb:depth\" content=\"" +
        std::to_string(depth) +
        "\"/>\n<meta name=\"dtb:totalPageCount\" content=\"0\"/>\n"
        "<meta name=\"dtb:maxPageNumber\" content=\"0\"/>\n</head>\n<docTitle><text>";
    AppendEscaped(out, metadata.title);
    out += "</text></docTitle>\n<navMap>\n";
    for (size_t i = 0; i < points.size(); ++i) {
        const NavPoint& point = points[i];
        const std::string number = std::to_string(i + 1);
        out += "<navPoint id=\"np" + number + "\" playOrder=\"" + number + "\"><navLabel><text>";
        AppendEscaped(out, point.label);
        out += "</text></navLabel><content src=\"" + Escaped(point.href) + "\"/>";
        if (i + 1 < points.size() && points[i + 1].level > point.level) {
            out += "\n";
            continue;
        }
        out += "</navPoint>\n";
        if (point.level == 2 && (i + 1 == points.size() || points[i + 1].level == 1)) {
            out += "</navPoint>\n";
        }
    }
    out += "</navMap>\n</ncx>\n";
    return out;
}

std::string PackageDocument(const std::vector<Document>& documents, const EpubMetadata& metadata) {
    std::string out = kXmlDeclaration;
    out +=
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" "
        "unique-identifier=\"bookid\" xml:lang=\"zh-CN\">\n"
        "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
        "<dc:identifier id=\"bookid\">" +
        Escaped(metadata.identifier) + "</dc:identifier>\n<dc:title>" + Escaped(metadata.title) +
        "</dc:title>\n";
    if (!metadata.author.empty()) {
        out += "<dc:creator>" + Escaped(metadata.author) + "</dc:creator>\n";
    }
    out += "<dc:language>zh-CN</dc:language>\n<meta property=\"dcterms:modified\">" +
           Escaped(metadata.modified) +
           "</meta>\n</metadata>\n<manifest>\n"
           "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" "
           "properties=\"nav\"/>\n"
           "<item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>\n"
           "<item id=\"css\" href=\"style.css\" media-type=\"text/css\"/>\n";
    for (const Document& document : documents) {
        out += "<item id=\"" + document.id + "\" href=\"text/" + document.id +
               ".xhtml\" media-type=\"application/xhtml+xml\"/>\n";
    }
    out += "</manifest>\n<spine toc=\"ncx\">\n";
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
    return GbkToUtf8(gbkTitle);
}

}  // namespace

EpubMetadata DescribeBook(std::string_view gbkText, std::string_view bookSourcePath,
                          int64_t modifiedSeconds) {
    EpubMetadata metadata;
    const std::string titleOpen = Utf8ToGbk("《");
    const std::string titleClose = Utf8ToGbk("》");
    std::vector<std::string_view> lines = SplitLines(gbkText.substr(0, 64 * 1024));
    int seen = 0;
    for (std::string_view raw : lines) {
        if (!HasVisibleText(raw)) continue;
        if (++seen > kHeadLines) break;
        std::string_view line = TrimGbk(raw);
        if (metadata.title.empty()) {
            if (line.starts_with(titleOpen)) {
                const size_t close = line.find(titleClose, titleOpen.size());
                if (close != std::string_view::npos && close > titleOpen.size()) {
                    metadata.title =
                        GbkToUtf8(TrimGbk(line.substr(titleOpen.size(), close - titleOpen.size())));
                }
            } else if (std::optional<std::string_view> value = LabelledValue(line, "书名")) {
                metadata.title = GbkToUtf8(*value);
            }
        }
        if (metadata.author.empty()) {
            if (std::optional<std::string_view> value = LabelledValue(line, "作者")) {
                metadata.author = GbkToUtf8(*value);
            }
        }
    }
    if (metadata.title.empty()) metadata.title = FileStem(bookSourcePath);
    if (metadata.title.empty()) metadata.title = "未命名";
    metadata.identifier = IdentifierOf(gbkText);
    metadata.modified = IsoDate(modifiedSeconds);
    return metadata;
}

std::optional<std::string> BuildEpub(std::string_view gbkText, const std::vector<TocEntry>& toc,
                                     const EpubMetadata& metadata) {
    // The entries that can be written: ascending, inside the text.
    std::vector<TocEntry> entries;
    for (const TocEntry& entry : toc) {
        if (entry.offset >= gbkText.size() && !(gbkText.empty() && entry.offset == 0)) continue;
        if (!entries.empty() && entry.offset <= entries.back().offset) continue;
        TocEntry kept = entry;
        // A chapter sits inside a volume only after one; deeper levels are not kept.
        const bool insideVolume = !entries.empty();
        kept.level = entry.level >= 2 && insideVolume ? 2 : 1;
        entries.push_back(std::move(kept));
    }

    std::vector<Document> documents;
    std::vector<NavPoint> points;
    const uint32_t firstOffset =
        entries.empty() ? static_cast<uint32_t>(gbkText.size()) : entries.front().offset;
    if (firstOffset > 0) {
        // The text ahead of the first chapter (or all of it, when there are none).
        AddDocuments(documents, "front", metadata.title, gbkText.substr(0, firstOffset), nullptr);
        if (entries.empty()) points.push_back({1, metadata.title, "text/front.xhtml"});
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        const TocEntry& entry = entries[i];
        const size_t end = i + 1 < entries.size() ? entries[i + 1].offset : gbkText.size();
        const bool volume = entry.level == 1 && i + 1 < entries.size() && entries[i + 1].level == 2;
        const std::string id = ChapterId(i + 1);
        const std::string label = LabelOf(entry.title);
        AddDocuments(documents, id, label, gbkText.substr(entry.offset, end - entry.offset),
                     volume ? "h1" : "h2");
        points.push_back({entry.level, label, "text/" + id + ".xhtml"});
    }
    if (documents.empty()) {
        // An empty book still has one page for the contents to open.
        AddDocuments(documents, "front", metadata.title, "", nullptr);
        points.push_back({1, metadata.title, "text/front.xhtml"});
    }

    std::vector<ZipEntry> zip;
    zip.push_back({"mimetype", "application/epub+zip", true});
    zip.push_back({"META-INF/container.xml", kContainer, false});
    zip.push_back({"OEBPS/content.opf", PackageDocument(documents, metadata), false});
    zip.push_back({"OEBPS/nav.xhtml", NavDocument(points, metadata), false});
    zip.push_back({"OEBPS/toc.ncx", NcxDocument(points, metadata), false});
    zip.push_back({"OEBPS/style.css", kStylesheet, false});
    for (Document& document : documents) {
        std::string page = XhtmlHead(document.title, "../style.css");
        page += "<body>\n";
        page += document.body;
        page += "</body>\n</html>\n";
        zip.push_back({"OEBPS/text/" + document.id + ".xhtml", std::move(page), false});
        document.body.clear();
    }
    return BuildZip(zip);
}

}  // namespace brisna
