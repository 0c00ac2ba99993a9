#include "epub/EpubReader.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "Capacities.h"
#include "detect/BookOutline.h"
#include "epub/EpubContents.h"
#include "epub/EpubZip.h"
#include "epub/MarkupDocument.h"
#include "epub/XhtmlText.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"

namespace brisna {

namespace {

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

const char kTooLongText[] = "EPUB正文超过10M，无法打开";

// Text ahead of the contents' first entry up to this size is a title page, not a chapter.
constexpr uint32_t kMaxTitlePageBytes = 2048;

// The English labels other programs give their front pages in the contents: never a chapter.
bool IsFrontPageLabel(std::string_view utf8) {
    std::string lower;
    for (char c : utf8)
        lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    return lower == "title page" || lower == "titlepage" || lower == "table of contents" ||
           lower == "contents" || lower == "cover" || lower == "start";
}

bool IsDigitsOnly(std::string_view utf8) {
    return !utf8.empty() &&
           std::all_of(utf8.begin(), utf8.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A GBK title cut to `bytes` on a character boundary.
std::string CutGbk(std::string gbk, size_t bytes) {
    size_t end = 0;
    while (end < gbk.size()) {
        const size_t width =
            IsGbkLeadByte(static_cast<unsigned char>(gbk[end])) && end + 1 < gbk.size() ? 2 : 1;
        if (end + width > bytes) break;
        end += width;
    }
    gbk.resize(end);
    return gbk;
}

std::string ContentsTitle(std::string_view utf8) {
    return CutGbk(Utf8ToGbk(utf8), kMaxEpubTitleBytes);
}

bool HasWord(std::string_view list, std::string_view word) {
    size_t at = 0;
    while ((at = list.find(word, at)) != std::string_view::npos) {
        const bool startOk = at == 0 || list[at - 1] == ' ';
        const bool endOk = at + word.size() == list.size() || list[at + word.size()] == ' ';
        if (startOk && endOk) return true;
        at += word.size();
    }
    return false;
}

std::string CoverMediaType(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xD8\xFF")) return "image/jpeg";
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) return "image/png";
    return {};
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
    struct Item {
        std::string entry;
        std::string mediaType;
        std::string properties;  // space-separated, with a space at either end
    };

    std::optional<std::string> Entry(std::string_view name, Refusal& refusal, bool required);
    // The parsed document, after its elements were counted against the bounds.
    XmlDocument Parse(std::string_view bytes, bool markup, Refusal& refusal);
    bool Encrypted(Refusal& refusal);
    void ReadNav(xmlNode* list, std::string_view folder, int level, std::vector<Point>& points);
    void ReadNcx(xmlNode* parent, std::string_view folder, int level, std::vector<Point>& points);
    void ReadMetadata(xmlNode* root, const std::unordered_map<std::string, Item>& items,
                      EpubMetadata& metadata);
    void ReadCover(xmlNode* metadataNode, const std::unordered_map<std::string, Item>& items,
                   EpubMetadata& metadata);

    ZipArchiveReader& zip_;
    size_t elements_ = 0;
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
        case ZipReadStatus::kPassword:
            refusal.utf8 = "EPUB文件设有密码（zip加密），无法打开";
            return std::nullopt;
    }
    return std::nullopt;
}

XmlDocument EpubParser::Parse(std::string_view bytes, bool markup, Refusal& refusal) {
    const size_t elements = MostElements(bytes);
    elements_ += elements;
    if (elements > kMaxEpubDocumentElements || elements_ > kMaxEpubBookElements) {
        refusal.utf8 = kTooLongText;
        return nullptr;
    }
    return markup ? ParseMarkup(bytes) : ParseXml(bytes);
}

bool EpubParser::Encrypted(Refusal& refusal) {
    const char kEncryption[] = "META-INF/encryption.xml";
    if (!zip_.Has(kEncryption)) return false;
    std::optional<std::string> bytes = Entry(kEncryption, refusal, false);
    XmlDocument document = bytes ? Parse(*bytes, false, refusal) : nullptr;
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
            ReadNav(nested, folder, std::min(level + 1, kMaxEpubContentsDepth), points);
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
        ReadNcx(navPoint, folder, std::min(level + 1, kMaxEpubContentsDepth), points);
    }
}

// The text of the first metadata element of that name, white space collapsed.
std::string FirstText(xmlNode* metadata, std::string_view name) {
    for (xmlNode* node : ChildElements(metadata, name)) {
        std::string text = ShownText(node);
        if (!text.empty()) return text;
    }
    return {};
}

// A description may be HTML written as text: what it shows, one paragraph a line.
std::string DescriptionText(xmlNode* node) {
    if (node == nullptr || node->type != XML_ELEMENT_NODE) return {};
    xmlChar* raw = xmlNodeGetContent(node);
    std::string content = raw != nullptr ? reinterpret_cast<const char*>(raw) : "";
    xmlFree(raw);
    if (content.find('<') == std::string::npos) return ShownText(node);
    XmlDocument document = ParseMarkup("<html><body>" + content + "</body></html>");
    if (!document) return ShownText(node);
    std::string text;
    for (const std::string& line : LinesOf(xmlDocGetRootElement(document.get())).lines) {
        if (line.empty()) continue;
        if (!text.empty()) text.push_back('\n');
        text += line;
    }
    return text;
}

void EpubParser::ReadMetadata(xmlNode* root, const std::unordered_map<std::string, Item>& items,
                              EpubMetadata& metadata) {
    xmlNode* node = FindElement(root, "metadata", false);
    if (node == nullptr) return;
    // Packages of the first version may keep the Dublin Core elements a level down.
    xmlNode* dublinCore = FindElement(node, "dc-metadata", false);
    xmlNode* dc = dublinCore != nullptr ? dublinCore : node;
    metadata.title = FirstText(dc, "title");
    for (xmlNode* creator : ChildElements(dc, "creator")) {
        std::string name = ShownText(creator);
        if (name.empty()) continue;
        if (metadata.author.empty()) {
            metadata.author = std::move(name);
        } else {
            metadata.moreAuthors.push_back(std::move(name));
        }
    }
    metadata.language = FirstText(dc, "language");
    const std::optional<std::string> uniqueId = AttributeOf(root, "unique-identifier");
    for (xmlNode* identifier : ChildElements(dc, "identifier")) {
        std::string text = ShownText(identifier);
        if (text.empty()) continue;
        if (uniqueId && AttributeOf(identifier, "id") == uniqueId) {
            metadata.identifier = std::move(text);
            break;
        }
        if (metadata.identifier.empty()) metadata.identifier = std::move(text);
    }
    if (xmlNode* description = FindElement(dc, "description", false)) {
        metadata.description = DescriptionText(description);
    }
    metadata.publisher = FirstText(dc, "publisher");
    metadata.date = FirstText(dc, "date");
    std::string collectionId;
    for (xmlNode* meta : ChildElements(node, "meta")) {
        const std::string name = AttributeOf(meta, "name").value_or("");
        const std::string property = AttributeOf(meta, "property").value_or("");
        const std::string content = AttributeOf(meta, "content").value_or("");
        if (name == "calibre:series" && !content.empty()) {
            metadata.series = content;
        } else if (name == "calibre:series_index" && !content.empty()) {
            metadata.seriesIndex = content;
        } else if (property == "dcterms:modified") {
            metadata.modified = ShownText(meta);
        } else if (property == "belongs-to-collection" && metadata.series.empty()) {
            metadata.series = ShownText(meta);
            collectionId = AttributeOf(meta, "id").value_or("");
        }
    }
    if (!collectionId.empty() && metadata.seriesIndex.empty()) {
        for (xmlNode* meta : ChildElements(node, "meta")) {
            if (AttributeOf(meta, "property") == "group-position" &&
                AttributeOf(meta, "refines") == "#" + collectionId) {
                metadata.seriesIndex = ShownText(meta);
            }
        }
    }
    ReadCover(node, items, metadata);
}

void EpubParser::ReadCover(xmlNode* metadataNode,
                           const std::unordered_map<std::string, Item>& items,
                           EpubMetadata& metadata) {
    const Item* cover = nullptr;
    for (const auto& [id, item] : items) {
        if (HasWord(item.properties, "cover-image")) cover = &item;
    }
    if (cover == nullptr) {
        for (xmlNode* meta : ChildElements(metadataNode, "meta")) {
            if (AttributeOf(meta, "name") != "cover") continue;
            auto item = items.find(AttributeOf(meta, "content").value_or(""));
            if (item != items.end()) cover = &item->second;
        }
    }
    if (cover == nullptr) return;
    // A cover that cannot be read costs the book its cover, never its opening.
    ZipRead read = zip_.Read(cover->entry);
    if (read.status != ZipReadStatus::kOk) return;
    const std::string type = CoverMediaType(read.bytes);
    if (type.empty()) return;
    metadata.cover.mediaType = type;
    metadata.cover.bytes = std::move(read.bytes);
}

// The entries of the contents where they land in the text: `line` of the text's lines.
struct Placed {
    int level = 1;
    std::string title;  // GBK
    size_t line = 0;
};

// Whether the contents say nothing about where the chapters are: most titles are numbers or the
// labels of front pages, or most entries lead to one place.
bool IsSenselessContents(const std::vector<std::string>& titles,
                         const std::vector<Placed>& placed) {
    if (titles.empty()) return false;
    size_t noise = 0;
    for (const std::string& title : titles) noise += IsDigitsOnly(title) || IsFrontPageLabel(title);
    if (noise * 2 >= titles.size()) return true;
    if (placed.size() < 3) return false;
    // Entries nested at one place (a part, its volume, its first chapter) are no sign of it.
    size_t longestRun = 1;
    for (size_t i = 1, run = 1; i < placed.size(); ++i) {
        run = placed[i].line == placed[i - 1].line && placed[i].level == placed[i - 1].level
                  ? run + 1
                  : 1;
        longestRun = std::max(longestRun, run);
    }
    return longestRun >= 3 && longestRun * 2 > placed.size();
}

bool EpubParser::Read(EpubBook& book, Refusal& refusal) {
    if (Encrypted(refusal)) return false;
    std::optional<std::string> container = Entry("META-INF/container.xml", refusal, true);
    if (!container) return false;
    XmlDocument containerDocument = Parse(*container, false, refusal);
    if (!refusal.utf8.empty()) return false;
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
    XmlDocument packageDocument = Parse(*opf, false, refusal);
    if (!refusal.utf8.empty()) return false;
    opf = std::nullopt;
    xmlNode* root = packageDocument ? xmlDocGetRootElement(packageDocument.get()) : nullptr;
    xmlNode* manifest = FindElement(root, "manifest", false);
    xmlNode* spine = FindElement(root, "spine", false);
    if (root == nullptr || manifest == nullptr || spine == nullptr) {
        refusal.utf8 = "EPUB文件的内容清单（OPF）无法解析";
        return false;
    }
    const std::string packageFolder = FolderOf(package->entry);

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
        if (navEntry.empty() && HasWord(item.properties, "nav")) navEntry = item.entry;
        items.emplace(*id, std::move(item));
    }
    ReadMetadata(root, items, book.metadata);
    book.title = CutGbk(Utf8ToGbk(book.metadata.title), kTitleTextBytes);
    std::string coverEntry;
    for (const auto& [id, item] : items) {
        if (HasWord(item.properties, "cover-image")) coverEntry = item.entry;
    }

    // The nav document: the contents, and the landmarks that name the pages which are no text.
    XmlDocument nav;
    std::unordered_set<std::string> notText;
    if (!navEntry.empty()) {
        notText.insert(navEntry);
        if (std::optional<std::string> bytes = Entry(navEntry, refusal, false)) {
            nav = Parse(*bytes, true, refusal);
        }
        if (!refusal.utf8.empty()) return false;
    }
    std::vector<xmlNode*> navs;
    WalkTree(
        reinterpret_cast<xmlNode*>(nav.get()),
        [&](xmlNode* node) {
            if (node->type != XML_ELEMENT_NODE) return false;
            if (LocalName(node) == "nav") {
                navs.push_back(node);
                return false;
            }
            return true;
        },
        [](xmlNode*) {});
    xmlNode* tocNav = nullptr;
    for (xmlNode* node : navs) {
        const std::string type = " " + AttributeOf(node, "type").value_or("") + " ";
        if (HasWord(type, "toc") && tocNav == nullptr) tocNav = node;
        if (!HasWord(type, "landmarks")) continue;
        WalkTree(
            node,
            [&](xmlNode* link) {
                if (link->type != XML_ELEMENT_NODE) return false;
                if (LocalName(link) != "a") return true;
                const std::string linkType = " " + AttributeOf(link, "type").value_or("") + " ";
                if (HasWord(linkType, "toc") || HasWord(linkType, "cover")) {
                    std::optional<Target> target =
                        Resolve(FolderOf(navEntry), AttributeOf(link, "href").value_or(""));
                    if (target) notText.insert(target->entry);
                }
                return false;
            },
            [](xmlNode*) {});
    }
    // The guide of older packages names the same pages.
    if (xmlNode* guide = FindElement(root, "guide", false)) {
        for (xmlNode* reference : ChildElements(guide, "reference")) {
            const std::string type = AttributeOf(reference, "type").value_or("");
            if (type != "toc" && type != "cover") continue;
            std::optional<Target> target =
                Resolve(packageFolder, AttributeOf(reference, "href").value_or(""));
            if (target) notText.insert(target->entry);
        }
    }

    // The spine's documents in reading order, and where each begins among the lines.
    std::vector<std::string> lines;
    std::unordered_map<std::string, std::pair<size_t, size_t>> documentLines;  // first, end
    std::unordered_map<std::string, size_t> anchorLine;                        // "entry#id"
    std::vector<std::pair<std::string, size_t>> documents;
    uint64_t budget = kMaxTextBytes;
    uint64_t utf8Bytes = 0;
    for (xmlNode* itemref : ChildElements(spine, "itemref")) {
        if (AttributeOf(itemref, "linear").value_or("yes") == "no") continue;
        std::optional<std::string> idref = AttributeOf(itemref, "idref");
        auto item = idref ? items.find(*idref) : items.end();
        if (item == items.end()) continue;
        const std::string& type = item->second.mediaType;
        if (type != "application/xhtml+xml" && type != "text/html") continue;
        const std::string& entry = item->second.entry;
        if (documentLines.contains(entry) || notText.contains(entry)) continue;
        std::optional<std::string> bytes = Entry(entry, refusal, false);
        if (!bytes) {
            if (!refusal.utf8.empty()) return false;
            continue;  // a document the archive lacks is passed over, as readers do
        }
        XmlDocument document = Parse(*bytes, true, refusal);
        if (!refusal.utf8.empty()) return false;
        bytes = std::nullopt;
        if (!document) continue;
        xmlNode* html = xmlDocGetRootElement(document.get());
        xmlNode* body = FindElement(html, "body", true);
        XhtmlLines text = LinesOf(body != nullptr ? body : html, &budget);
        if (text.overBudget) {
            refusal.utf8 = kTooLongText;
            return false;
        }
        // A page that only shows the cover picture is no text.
        if (!coverEntry.empty() && text.lines.size() <= 1 &&
            (text.lines.empty() || text.lines[0].size() <= 12)) {
            bool showsCover = false;
            const std::string folder = FolderOf(entry);
            WalkTree(
                html,
                [&](xmlNode* node) {
                    if (node->type != XML_ELEMENT_NODE || showsCover) return false;
                    const std::string name = LocalName(node);
                    if (name == "img" || name == "image") {
                        std::optional<std::string> source = AttributeOf(node, "src");
                        if (!source) source = AttributeOf(node, "href");
                        std::optional<Target> target =
                            source ? Resolve(folder, *source) : std::nullopt;
                        showsCover = target && target->entry == coverEntry;
                        return false;
                    }
                    return true;
                },
                [](xmlNode*) {});
            if (showsCover) continue;
        }
        const size_t start = lines.size();
        documentLines.emplace(entry, std::make_pair(start, start + text.lines.size()));
        documents.emplace_back(entry, start);
        for (auto& [id, line] : text.anchors) anchorLine.emplace(entry + "#" + id, start + line);
        for (std::string& line : text.lines) {
            utf8Bytes += line.size() + 2;
            lines.push_back(std::move(line));
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
        refusal.utf8 = kTooLongText;
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
    if (xmlNode* list = FindElement(tocNav, "ol", true)) {
        ReadNav(list, FolderOf(navEntry), 1, points);
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
                XmlDocument document = Parse(*bytes, false, refusal);
                if (!refusal.utf8.empty()) return false;
                xmlNode* navMap = FindElement(
                    document ? xmlDocGetRootElement(document.get()) : nullptr, "navmap", false);
                if (navMap != nullptr) ReadNcx(navMap, FolderOf(ncx->second.entry), 1, points);
            } else if (!refusal.utf8.empty()) {
                return false;
            }
        }
    }

    // Where each entry leads: a line of a document with text. An entry leading nowhere (a
    // label without a link, a page without text) stands where its first descendant that leads
    // somewhere does, or is no entry at all.
    std::vector<std::optional<size_t>> lineOf(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const Point& point = points[i];
        if (!point.target) continue;
        auto document = documentLines.find(point.target->entry);
        if (document == documentLines.end()) continue;
        const auto [first, end] = document->second;
        if (first == end) continue;
        size_t line = first;
        if (!point.target->fragment.empty()) {
            auto anchor = anchorLine.find(point.target->entry + "#" + point.target->fragment);
            if (anchor != anchorLine.end()) line = anchor->second;
        }
        if (line < lineCount) lineOf[i] = line;
    }
    for (size_t i = points.size(); i-- > 0;) {
        if (lineOf[i]) continue;
        for (size_t j = i + 1; j < points.size() && points[j].level > points[i].level; ++j) {
            if (lineOf[j]) {
                lineOf[i] = lineOf[j];
                break;
            }
        }
    }
    std::vector<std::string> rawTitles;
    std::vector<Placed> placed;
    for (size_t i = 0; i < points.size(); ++i) {
        rawTitles.push_back(points[i].title);
        if (!lineOf[i] || IsFrontPageLabel(points[i].title)) continue;
        // An entry named like the book ahead of all others leads to its title page.
        if (placed.empty() && i + 1 < points.size() && !book.metadata.title.empty() &&
            points[i].title == book.metadata.title) {
            continue;
        }
        // Entries leading backwards are passed over; the text is read in spine order.
        if (!placed.empty() && *lineOf[i] < placed.back().line) continue;
        std::string title = ContentsTitle(points[i].title);
        if (title.empty()) title = ContentsTitle(lines[*lineOf[i]]);
        placed.push_back({points[i].level, std::move(title), *lineOf[i]});
    }
    if (IsSenselessContents(rawTitles, placed)) {
        placed.clear();
        BookOutline outline = BuildBookOutline(converted.gbk);
        if (outline.HasHeadings()) {
            for (TocEntry& entry : TocFromOutline(outline)) book.toc.push_back(std::move(entry));
            // A short front matter is the title page: it opens the first chapter below.
            if (outline.entries.front().kind == OutlineEntryKind::kFrontMatter &&
                book.toc.size() > 1 && book.toc[1].offset < kMaxTitlePageBytes) {
                book.toc.erase(book.toc.begin());
            }
            book.notice = Utf8ToGbk("EPUB的目录不指向正文的章节，已按正文识别章节");
        }
    }
    if (placed.empty() && book.toc.empty()) {
        for (const auto& [entry, line] : documents) {
            if (line >= lineCount || (!placed.empty() && line <= placed.back().line)) continue;
            placed.push_back({1, ContentsTitle(lines[line]), line});
        }
    }
    for (Placed& entry : placed) {
        book.toc.push_back({entry.level, std::move(entry.title), lineStart[entry.line]});
    }
    // Text ahead of the first entry is a title page when it is short or opens with the book's
    // title: it belongs to the first chapter. Anything longer is a chapter of its own, titled
    // with its first line.
    if (!book.toc.empty() && book.toc.front().offset > 0) {
        size_t first = 0;
        while (first < lineCount && lineStart[first] < book.toc.front().offset &&
               lines[first].empty()) {
            ++first;
        }
        const bool titlePage =
            book.toc.front().offset < kMaxTitlePageBytes ||
            (!book.metadata.title.empty() && lines[first] == book.metadata.title);
        if (titlePage || lineStart[first] >= book.toc.front().offset) {
            book.toc.front().offset = 0;
        } else {
            book.toc.insert(book.toc.begin(), {1, ContentsTitle(lines[first]), 0});
        }
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
