#include "epub/EpubPackage.h"

#include "epub/EpubLinks.h"
#include "epub/EpubMessages.h"
#include "epub/EpubPackageMetadata.h"

namespace brisna {

namespace {

// The package document's entry as container.xml names it; nothing when refused.
std::optional<std::string> PackageEntry(EpubArchive& archive) {
    std::optional<std::string> container = archive.Entry("META-INF/container.xml", true);
    if (!container) return std::nullopt;
    XmlDocument document = archive.Parse(*container, false);
    if (archive.Refused()) return std::nullopt;
    xmlNode* rootfile =
        document ? FindElement(reinterpret_cast<xmlNode*>(document.get()), "rootfile", true)
                 : nullptr;
    std::optional<std::string> path =
        rootfile != nullptr ? AttributeOf(rootfile, "full-path") : std::nullopt;
    std::optional<EpubLink> package = path ? ResolveEpubLink("", *path) : std::nullopt;
    if (!package || package->entry.empty()) {
        archive.Refuse(std::string(epub_messages::kContainerUnreadable));
        return std::nullopt;
    }
    return package->entry;
}

void ReadManifest(xmlNode* manifest, EpubPackage& package) {
    for (xmlNode* node : ChildElements(manifest, "item")) {
        std::optional<std::string> id = AttributeOf(node, "id");
        std::optional<std::string> href = AttributeOf(node, "href");
        if (!id || !href) continue;
        std::optional<EpubLink> target = ResolveEpubLink(package.folder, *href);
        if (!target) continue;
        EpubManifestItem item{target->entry, AttributeOf(node, "media-type").value_or(""),
                              " " + AttributeOf(node, "properties").value_or("") + " "};
        if (package.navEntry.empty() && HasSpacedWord(item.properties, "nav")) {
            package.navEntry = item.entry;
        }
        package.items.emplace(*id, std::move(item));
    }
    for (const auto& [id, item] : package.items) {
        if (HasSpacedWord(item.properties, "cover-image")) package.coverEntry = item.entry;
    }
}

// The nav document: the contents, and the landmarks that name the pages which are no text.
bool ReadNavDocument(EpubArchive& archive, EpubPackage& package) {
    if (package.navEntry.empty()) return true;
    package.notText.insert(package.navEntry);
    if (std::optional<std::string> bytes = archive.Entry(package.navEntry, false)) {
        package.nav = archive.Parse(*bytes, true);
    }
    if (archive.Refused()) return false;
    std::vector<xmlNode*> navs;
    WalkTree(
        reinterpret_cast<xmlNode*>(package.nav.get()),
        [&](xmlNode* node) {
            if (node->type != XML_ELEMENT_NODE) return false;
            if (LocalName(node) == "nav") {
                navs.push_back(node);
                return false;
            }
            return true;
        },
        [](xmlNode*) {});
    const std::string navFolder = EpubFolderOf(package.navEntry);
    for (xmlNode* node : navs) {
        const std::string type = " " + AttributeOf(node, "type").value_or("") + " ";
        if (HasSpacedWord(type, "toc") && package.tocNav == nullptr) package.tocNav = node;
        if (!HasSpacedWord(type, "landmarks")) continue;
        WalkTree(
            node,
            [&](xmlNode* link) {
                if (link->type != XML_ELEMENT_NODE) return false;
                if (LocalName(link) != "a") return true;
                const std::string linkType = " " + AttributeOf(link, "type").value_or("") + " ";
                if (HasSpacedWord(linkType, "toc") || HasSpacedWord(linkType, "cover")) {
                    std::optional<EpubLink> target =
                        ResolveEpubLink(navFolder, AttributeOf(link, "href").value_or(""));
                    if (target) package.notText.insert(target->entry);
                }
                return false;
            },
            [](xmlNode*) {});
    }
    return true;
}

// The guide of older packages names the same pages as the landmarks.
void ReadGuide(xmlNode* root, EpubPackage& package) {
    xmlNode* guide = FindElement(root, "guide", false);
    if (guide == nullptr) return;
    for (xmlNode* reference : ChildElements(guide, "reference")) {
        const std::string type = AttributeOf(reference, "type").value_or("");
        if (type != "toc" && type != "cover") continue;
        std::optional<EpubLink> target =
            ResolveEpubLink(package.folder, AttributeOf(reference, "href").value_or(""));
        if (target) package.notText.insert(target->entry);
    }
}

}  // namespace

std::optional<EpubPackage> ReadEpubPackage(EpubArchive& archive, EpubMetadata& metadata) {
    std::optional<std::string> entry = PackageEntry(archive);
    if (!entry) return std::nullopt;
    std::optional<std::string> opf = archive.Entry(*entry, true);
    if (!opf) return std::nullopt;
    EpubPackage package;
    package.document = archive.Parse(*opf, false);
    if (archive.Refused()) return std::nullopt;
    opf = std::nullopt;
    xmlNode* root = package.document ? xmlDocGetRootElement(package.document.get()) : nullptr;
    xmlNode* manifest = FindElement(root, "manifest", false);
    package.spine = FindElement(root, "spine", false);
    if (root == nullptr || manifest == nullptr || package.spine == nullptr) {
        archive.Refuse(std::string(epub_messages::kPackageUnreadable));
        return std::nullopt;
    }
    package.folder = EpubFolderOf(*entry);
    ReadManifest(manifest, package);
    ReadPackageMetadata(root, package.items, archive, metadata);
    if (!ReadNavDocument(archive, package)) return std::nullopt;
    ReadGuide(root, package);
    return package;
}

}  // namespace brisna
