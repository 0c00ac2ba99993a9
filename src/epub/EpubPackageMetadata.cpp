#include "epub/EpubPackageMetadata.h"

#include "epub/EpubLinks.h"
#include "epub/XhtmlText.h"

namespace brisna {

namespace {

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

std::string CoverMediaType(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xD8\xFF")) return "image/jpeg";
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) return "image/png";
    return {};
}

void ReadCover(xmlNode* metadataNode, const EpubManifest& items, EpubArchive& archive,
               EpubMetadata& metadata) {
    const EpubManifestItem* cover = nullptr;
    for (const auto& [id, item] : items) {
        if (HasSpacedWord(item.properties, "cover-image")) cover = &item;
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
    std::optional<std::string> bytes = archive.OptionalEntry(cover->entry);
    if (!bytes) return;
    const std::string type = CoverMediaType(*bytes);
    if (type.empty()) return;
    metadata.cover.mediaType = type;
    metadata.cover.bytes = std::move(*bytes);
}

void ReadCreatorsAndIdentifier(xmlNode* root, xmlNode* dc, EpubMetadata& metadata) {
    for (xmlNode* creator : ChildElements(dc, "creator")) {
        std::string name = ShownText(creator);
        if (name.empty()) continue;
        if (metadata.author.empty()) {
            metadata.author = std::move(name);
        } else {
            metadata.moreAuthors.push_back(std::move(name));
        }
    }
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
}

// The series as one program writes it (name and content) and as packages of the third version
// do (a collection refined by its position), and the date of the last change.
void ReadMetaElements(xmlNode* node, EpubMetadata& metadata) {
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
}

}  // namespace

void ReadPackageMetadata(xmlNode* root, const EpubManifest& items, EpubArchive& archive,
                         EpubMetadata& metadata) {
    xmlNode* node = FindElement(root, "metadata", false);
    if (node == nullptr) return;
    // Packages of the first version may keep the Dublin Core elements a level down.
    xmlNode* dublinCore = FindElement(node, "dc-metadata", false);
    xmlNode* dc = dublinCore != nullptr ? dublinCore : node;
    metadata.title = FirstText(dc, "title");
    ReadCreatorsAndIdentifier(root, dc, metadata);
    metadata.language = FirstText(dc, "language");
    if (xmlNode* description = FindElement(dc, "description", false)) {
        metadata.description = DescriptionText(description);
    }
    metadata.publisher = FirstText(dc, "publisher");
    metadata.date = FirstText(dc, "date");
    ReadMetaElements(node, metadata);
    ReadCover(node, items, archive, metadata);
}

}  // namespace brisna
