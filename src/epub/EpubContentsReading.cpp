#include "epub/EpubContentsReading.h"

#include <algorithm>

#include "epub/EpubReader.h"
#include "epub/XhtmlText.h"

namespace brisna {

namespace {

void ReadNav(xmlNode* list, std::string_view folder, int level,
             std::vector<EpubContentsPoint>& points) {
    for (xmlNode* item : ChildElements(list, "li")) {
        EpubContentsPoint point;
        point.level = level;
        for (xmlNode* child = item->children; child != nullptr; child = child->next) {
            if (child->type != XML_ELEMENT_NODE) continue;
            const std::string name = LocalName(child);
            if (name == "a" || name == "span") {
                point.title = ShownText(child);
                if (std::optional<std::string> href = AttributeOf(child, "href")) {
                    point.target = ResolveEpubLink(folder, *href);
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

void ReadNcx(xmlNode* parent, std::string_view folder, int level,
             std::vector<EpubContentsPoint>& points) {
    // Iterates the points of one level; a nested level is read by a call of its own, so the
    // recursion is as deep as the contents, which libxml2 keeps within its nesting limit.
    for (xmlNode* navPoint : ChildElements(parent, "navpoint")) {
        EpubContentsPoint point;
        point.level = level;
        if (xmlNode* label = FindElement(navPoint, "navlabel", false)) {
            point.title = ShownText(FindElement(label, "text", false));
        }
        if (xmlNode* content = FindElement(navPoint, "content", false)) {
            if (std::optional<std::string> src = AttributeOf(content, "src")) {
                point.target = ResolveEpubLink(folder, *src);
            }
        }
        points.push_back(std::move(point));
        ReadNcx(navPoint, folder, std::min(level + 1, kMaxEpubContentsDepth), points);
    }
}

// The NCX the spine names, else the first of its media type in the manifest.
const EpubManifestItem* FindNcx(const EpubPackage& package) {
    std::optional<std::string> ncxId = AttributeOf(package.spine, "toc");
    auto ncx = ncxId ? package.items.find(*ncxId) : package.items.end();
    if (ncx == package.items.end()) {
        for (auto it = package.items.begin(); it != package.items.end(); ++it) {
            if (it->second.mediaType == "application/x-dtbncx+xml") ncx = it;
        }
    }
    return ncx != package.items.end() ? &ncx->second : nullptr;
}

}  // namespace

std::optional<std::vector<EpubContentsPoint>> ReadContentsPoints(EpubArchive& archive,
                                                                 const EpubPackage& package) {
    std::vector<EpubContentsPoint> points;
    if (xmlNode* list = FindElement(package.tocNav, "ol", true)) {
        ReadNav(list, EpubFolderOf(package.navEntry), 1, points);
    }
    if (!points.empty()) return points;
    const EpubManifestItem* ncx = FindNcx(package);
    if (ncx == nullptr) return points;
    std::optional<std::string> bytes = archive.Entry(ncx->entry, false);
    if (!bytes) {
        if (archive.Refused()) return std::nullopt;
        return points;
    }
    XmlDocument document = archive.Parse(*bytes, false);
    if (archive.Refused()) return std::nullopt;
    xmlNode* navMap =
        FindElement(document ? xmlDocGetRootElement(document.get()) : nullptr, "navmap", false);
    if (navMap != nullptr) ReadNcx(navMap, EpubFolderOf(ncx->entry), 1, points);
    return points;
}

}  // namespace brisna
