#include "epub/EpubReader.h"

#include <unordered_map>

#include "Capacities.h"
#include "epub/EpubZip.h"
#include "epub/MarkupDocument.h"
#include "epub/XhtmlText.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"

namespace brisna {

namespace {

// Contents deeper than this are read as if they stood at this depth.
constexpr int kMaxContentsDepth = 8;

// Font obfuscation is not encryption of the text: such books open.
bool IsFontObfuscation(std::string_view algorithm) {
    return algorithm == "http://www.idpf.org/2008/embedding" ||
           algorithm == "http://ns.adobe.com/pdf/enc#RC";
}

struct Refusal {
    std::string utf8;
};

std::string FolderOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// A link inside the archive, resolved against the folder of the document it stands in: the
// entry name it points to and the fragment after '#'. Nothing for links that leave the archive
// (a scheme, or more ".." than there are folders).
struct Target {
    std::string entry;
    std::string fragment;
};

std::optional<Target> Resolve(std::string_view folder, std::string_view href) {
    Target target;
    if (size_t hash = href.find('#'); hash != std::string_view::npos) {
        target.fragment = PercentDecoded(href.substr(hash + 1));
        href = href.substr(0, hash);
    }
    if (size_t query = href.find('?'); query != std::string_view::npos) {
        href = href.substr(0, query);
    }
    const size_t colon = href.find(':');
    if (colon != std::string_view::npos && href.find('/') > colon) return std::nullopt;
    std::string path = href.starts_with('/') ? std::string(href.substr(1))
                                             : std::string(folder) + std::string(href);
    path = PercentDecoded(path);
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (segments.empty()) return std::nullopt;
            segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(std::move(segment));
        }
        start = end + 1;
    }
    for (size_t i = 0; i < segments.size(); ++i) {
        if (i > 0) target.entry.push_back('/');
        target.entry += segments[i];
    }
    return target;
}

class EpubParser {
  public:
    explicit EpubParser(ZipArchiveReader& zip) : zip_(zip) {}

    // Throws nothing; a refusal is returned through `refusal`.
    bool Read(EpubBook& book, Refusal& refusal);

  private:
    struct Point {
        int level = 1;
        std::string title;  // UTF-8
        std::optional<Target> target;
    };

    std::optional<std::string> Entry(std::string_view name, Refusal& refusal, bool required);
    bool Encrypted(Refusal& refusal);
    void ReadNav(xmlNode* list, std::string_view folder, int level, std::vector<Point>& points);
    void ReadNcx(xmlNode* parent, std::string_view folder, int level, std::vector<Point>& points);

    ZipArchiveReader& zip_;
};

std::optional<std::string> EpubParser::Entry(std::string_view name, Refusal& refusal,
                                             bool required) {
    ZipRead read = zip_.Read(name);
    switch (read.status) {
        case ZipReadStatus::kOk:
            return std::move(read.bytes);
        case ZipReadStatus::kMissing:
            if (required) refusal.utf8 = "EPUB文件缺少" + std::string(name);
            return std::nullopt;
        case ZipReadStatus::kTooLarge:
            refusal.utf8 = "EPUB文件中的条目过大（可能是压缩炸弹），无法打开";
            return std::nullopt;
        case ZipReadStatus::kDamaged:
            refusal.utf8 = "EPUB文件已损坏，无法解压";
            return std::nullopt;
    }
    return std::nullopt;
}

bool EpubParser::Encrypted(Refusal& refusal) {
    const char kEncryption[] = "META-INF/encryption.xml";
    if (!zip_.Has(kEncryption)) return false;
    std::optional<std::string> bytes = Entry(kEncryption, refusal, false);
    XmlDocument document = bytes ? ParseXml(*bytes) : nullptr;
    bool encrypted = !document;  // a list that cannot be read is taken at its word
    if (document) {
        WalkTree(
            reinterpret_cast<xmlNode*>(document.get()),
            [&](xmlNode* node) {
                if (node->type == XML_ELEMENT_NODE && LocalName(node) == "encryptionmethod") {
                    std::optional<std::string> algorithm = AttributeOf(node, "algorithm");
                    if (!algorithm || !IsFontObfuscation(*algorithm)) encrypted = true;
                }
                return true;
            },
            [](xmlNode*) {});
    }
    if (encrypted && refusal.utf8.empty()) refusal.utf8 = "EPUB文件已加密（DRM），无法打开";
    return encrypted || !refusal.utf8.empty();
}

void EpubParser::ReadNav(xmlNode* list, std::string_view folder, int level,
                         std::vector<Point>& points) {
    for (xmlNode* item : ChildElements(list, "li")) {
        Point point;
        point.level = level;
        for (xmlNode* child = item->children; child != nullptr; child = child->next) {
            if (child->type != XML_ELEMENT_NODE) continue;
            const std::string name = LocalName(child);
            if (name == "a" || name == "span") {
                point.title = ShownText(child);
                if (std::optional<std::string> href = AttributeOf(child, "href")) {
                    point.target = Resolve(folder, *href);
                }
                break;
            }
        }
        points.push_back(std::move(point));
        if (xmlNode* nested = FindElement(item, "ol", false)) {
            ReadNav(nested, folder, std::min(level + 1, kMaxContentsDepth), points);
        }
    }
}

void EpubParser::ReadNcx(xmlNode* parent, std::string_view folder, int level,
                         std::vector<Point>& points) {
    // Iterates the points of one level; a nested level is read by a call of its own, so the
    // recursion is as deep as the contents, which libxml2 keeps within its nesting limit.
    for (xmlNode* navPoint : ChildElements(parent, "navpoint")) {
        Point point;
        point.level = level;
        if (xmlNode* label = FindElement(navPoint, "navlabel", false)) {
            point.title = ShownText(FindElement(label, "text", false));
        }
        if (xmlNode* content = FindElement(navPoint, "content", false)) {
            if (std::optional<std::string> src = AttributeOf(content, "src")) {
                point.target = Resolve(folder, *src);
            }
        }
        points.push_back(std::move(point));
        ReadNcx(navPoint, folder, std::min(level + 1, kMaxContentsDepth), points);
    }
}

// A GBK title cut to what a chapter record holds, on a character boundary.
std::string RecordTitle(std::string_view utf8) {
    std::string gbk = Utf8ToGbk(utf8);
    size_t end = 0;
    while (end < gbk.size()) {
        const size_t width =
            IsGbkLeadByte(static_cast<unsigned char>(gbk[end])) && end + 1 < gbk.size() ? 2 : 1;
        if (end + width > kTitleTextBytes) break;
        end += width;
    }
    gbk.resize(end);
    return gbk;
}

bool EpubParser::Read(EpubBook& book, Refusal& refusal) {
    if (Encrypted(refusal)) return false;
    std::optional<std::string> container = Entry("META-INF/container.xml", refusal, true);
    if (!container) return false;
    XmlDocument containerDocument = ParseXml(*container);
    xmlNode* rootfile =
        containerDocument
            ? FindElement(reinterpret_cast<xmlNode*>(containerDocument.get()), "rootfile", true)
            : nullptr;
    std::optional<std::string> packagePath =
        rootfile != nullptr ? AttributeOf(rootfile, "full-path") : std::nullopt;
    std::optional<Target> package = packagePath ? Resolve("", *packagePath) : std::nullopt;
    if (!package || package->entry.empty()) {
        refusal.utf8 = "EPUB文件的META-INF/container.xml无法解析";
        return false;
    }
    std::optional<std::string> opf = Entry(package->entry, refusal, true);
    if (!opf) return false;
    XmlDocument packageDocument = ParseXml(*opf);
    opf = std::nullopt;
    xmlNode* root = packageDocument ? xmlDocGetRootElement(packageDocument.get()) : nullptr;
    xmlNode* manifest = FindElement(root, "manifest", false);
    xmlNode* spine = FindElement(root, "spine", false);
    if (root == nullptr || manifest == nullptr || spine == nullptr) {
        refusal.utf8 = "EPUB文件的内容清单（OPF）无法解析";
        return false;
    }
    const std::string packageFolder = FolderOf(package->entry);
    if (xmlNode* metadata = FindElement(root, "metadata", false)) {
        if (xmlNode* title = FindElement(metadata, "title", false)) {
            book.title = RecordTitle(ShownText(title));
        }
    }

    struct Item {
        std::string entry;
        std::string mediaType;
        std::string properties;
    };
    std::unordered_map<std::string, Item> items;
    std::string navEntry;
    for (xmlNode* node : ChildElements(manifest, "item")) {
        std::optional<std::string> id = AttributeOf(node, "id");
        std::optional<std::string> href = AttributeOf(node, "href");
        if (!id || !href) continue;
        std::optional<Target> target = Resolve(packageFolder, *href);
        if (!target) continue;
        Item item{target->entry, AttributeOf(node, "media-type").value_or(""),
                  " " + AttributeOf(node, "properties").value_or("") + " "};
        if (navEntry.empty() && item.properties.find(" nav ") != std::string::npos) {
            navEntry = item.entry;
        }
        items.emplace(*id, std::move(item));
    }

    // The spine's documents in reading order, and where each begins among the lines.
    std::vector<std::string> lines;
    std::unordered_map<std::string, size_t> documentStart;
    std::unordered_map<std::string, size_t> anchorLine;  // "entry#id"
    std::vector<std::pair<std::string, size_t>> documents;
    uint64_t utf8Bytes = 0;
    for (xmlNode* itemref : ChildElements(spine, "itemref")) {
        if (AttributeOf(itemref, "linear").value_or("yes") == "no") continue;
        std::optional<std::string> idref = AttributeOf(itemref, "idref");
        auto item = idref ? items.find(*idref) : items.end();
        if (item == items.end()) continue;
        const std::string& type = item->second.mediaType;
        if (type != "application/xhtml+xml" && type != "text/html") continue;
        const std::string& entry = item->second.entry;
        if (documentStart.contains(entry)) continue;
        std::optional<std::string> bytes = Entry(entry, refusal, false);
        if (!bytes) {
            if (!refusal.utf8.empty()) return false;
            continue;  // a document the archive lacks is passed over, as readers do
        }
        XmlDocument document = ParseMarkup(*bytes);
        bytes = std::nullopt;
        if (!document) continue;
        xmlNode* html = xmlDocGetRootElement(document.get());
        xmlNode* body = FindElement(html, "body", true);
        XhtmlLines text = LinesOf(body != nullptr ? body : html);
        const size_t start = lines.size();
        documentStart.emplace(entry, start);
        documents.emplace_back(entry, start);
        for (auto& [id, line] : text.anchors) anchorLine.emplace(entry + "#" + id, start + line);
        for (std::string& line : text.lines) {
            utf8Bytes += line.size() + 2;
            lines.push_back(std::move(line));
        }
        // GBK never takes more bytes than UTF-8, nor fewer than a quarter of them.
        if (utf8Bytes / 4 >= kMaxTextBytes) {
            refusal.utf8 = "EPUB正文超过10M，无法打开";
            return false;
        }
    }
    if (lines.empty()) {
        refusal.utf8 = "EPUB文件没有正文";
        return false;
    }

    // The text, and where each line starts in its GBK form.
    std::string utf8;
    utf8.reserve(utf8Bytes);
    for (const std::string& line : lines) {
        utf8 += line;
        utf8 += "\r\n";
    }
    GbkConversion converted = ConvertToGbk(utf8, TextEncoding::kUtf8);
    utf8 = std::string();
    if (converted.gbk.size() >= kMaxTextBytes) {
        refusal.utf8 = "EPUB正文超过10M，无法打开";
        return false;
    }
    std::vector<uint32_t> lineStart{0};
    for (size_t i = 0; i + 1 < converted.gbk.size(); ++i) {
        if (converted.gbk[i] == '\r' && converted.gbk[i + 1] == '\n') {
            lineStart.push_back(static_cast<uint32_t>(i + 2));
        }
    }
    // Every line ended with CR LF, and a GBK trail byte is never CR or LF.
    const size_t lineCount = lineStart.size() - 1;

    // The contents: nav, else NCX, else one chapter per document.
    std::vector<Point> points;
    if (!navEntry.empty()) {
        if (std::optional<std::string> bytes = Entry(navEntry, refusal, false)) {
            XmlDocument nav = ParseMarkup(*bytes);
            xmlNode* toc = nullptr;
            WalkTree(
                reinterpret_cast<xmlNode*>(nav.get()),
                [&](xmlNode* node) {
                    if (toc != nullptr) return false;
                    if (node->type == XML_ELEMENT_NODE && LocalName(node) == "nav") {
                        std::string type = " " + AttributeOf(node, "type").value_or("") + " ";
                        if (type.find(" toc ") != std::string::npos) toc = node;
                    }
                    return toc == nullptr;
                },
                [](xmlNode*) {});
            if (xmlNode* list = FindElement(toc, "ol", true)) {
                ReadNav(list, FolderOf(navEntry), 1, points);
            }
        } else if (!refusal.utf8.empty()) {
            return false;
        }
    }
    if (points.empty()) {
        std::optional<std::string> ncxId = AttributeOf(spine, "toc");
        auto ncx = ncxId ? items.find(*ncxId) : items.end();
        if (ncx == items.end()) {
            for (auto it = items.begin(); it != items.end(); ++it) {
                if (it->second.mediaType == "application/x-dtbncx+xml") ncx = it;
            }
        }
        if (ncx != items.end()) {
            if (std::optional<std::string> bytes = Entry(ncx->second.entry, refusal, false)) {
                XmlDocument document = ParseXml(*bytes);
                xmlNode* navMap = FindElement(
                    document ? xmlDocGetRootElement(document.get()) : nullptr, "navmap", false);
                if (navMap != nullptr) ReadNcx(navMap, FolderOf(ncx->second.entry), 1, points);
            } else if (!refusal.utf8.empty()) {
                return false;
            }
        }
    }
    auto titleOfLine = [&](size_t line) {
        return RecordTitle(line < lines.size() ? lines[line] : std::string());
    };
    std::vector<std::pair<int, size_t>> starts;  // level, line
    std::vector<std::string> titles;
    for (const Point& point : points) {
        if (!point.target) continue;
        auto document = documentStart.find(point.target->entry);
        if (document == documentStart.end()) continue;
        size_t line = document->second;
        if (!point.target->fragment.empty()) {
            auto anchor = anchorLine.find(point.target->entry + "#" + point.target->fragment);
            if (anchor != anchorLine.end()) line = anchor->second;
        }
        if (line >= lineCount) continue;
        if (!starts.empty() && line <= starts.back().second) continue;
        starts.emplace_back(point.level, line);
        titles.push_back(RecordTitle(point.title));
    }
    if (starts.empty()) {
        for (const auto& [entry, line] : documents) {
            if (line >= lineCount || (!starts.empty() && line <= starts.back().second)) continue;
            starts.emplace_back(1, line);
            titles.push_back(titleOfLine(line));
        }
    }
    if (!starts.empty() && starts.front().second > 0) {
        // Text ahead of the first entry (a title page) becomes a chapter of its own, titled
        // with its first line, so every byte of the text belongs to a chapter.
        size_t first = 0;
        while (first < starts.front().second && lines[first].empty()) ++first;
        if (first < starts.front().second) {
            starts.insert(starts.begin(), {1, 0});
            titles.insert(titles.begin(), titleOfLine(first));
        } else {
            starts.front().second = 0;
        }
    }
    for (size_t i = 0; i < starts.size(); ++i) {
        book.toc.push_back(
            {std::min(starts[i].first, 2), std::move(titles[i]), lineStart[starts[i].second]});
    }
    book.text = std::move(converted.gbk);
    book.replaced = converted.replaced;
    book.firstReplacedLine = converted.firstReplacedLine;
    return true;
}

}  // namespace

EpubReadResult ReadEpub(std::string_view bytes) {
    EpubReadResult result;
    std::unique_ptr<ZipArchiveReader> zip =
        ZipArchiveReader::Open(bytes, {kMaxEpubEntryBytes, kMaxEpubInflatedBytes});
    if (!zip) {
        result.message = Utf8ToGbk("不是EPUB文件（无法作为zip文件打开）");
        return result;
    }
    EpubParser parser(*zip);
    Refusal refusal;
    if (!parser.Read(result.book, refusal)) {
        result.message = Utf8ToGbk(refusal.utf8.empty() ? "EPUB文件无法解析" : refusal.utf8);
        result.book = EpubBook();
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace brisna
