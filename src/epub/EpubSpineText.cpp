#include "epub/EpubSpineText.h"

#include "Capacities.h"
#include "epub/EpubLinks.h"
#include "epub/EpubMessages.h"
#include "epub/XhtmlText.h"

namespace brisna {

namespace {

// Whether a page of at most one short line only shows the cover picture: no text then.
bool ShowsOnlyCover(xmlNode* html, const std::string& entry, const XhtmlLines& text,
                    const std::string& coverEntry) {
    if (coverEntry.empty() || text.lines.size() > 1 ||
        (!text.lines.empty() && text.lines[0].size() > 12)) {
        return false;
    }
    bool showsCover = false;
    const std::string folder = EpubFolderOf(entry);
    WalkTree(
        html,
        [&](xmlNode* node) {
            if (node->type != XML_ELEMENT_NODE || showsCover) return false;
            const std::string name = LocalName(node);
            if (name == "img" || name == "image") {
                std::optional<std::string> source = AttributeOf(node, "src");
                if (!source) source = AttributeOf(node, "href");
                std::optional<EpubLink> target =
                    source ? ResolveEpubLink(folder, *source) : std::nullopt;
                showsCover = target && target->entry == coverEntry;
                return false;
            }
            return true;
        },
        [](xmlNode*) {});
    return showsCover;
}

// The text, and where each line starts in its GBK form.
bool ConvertLines(EpubArchive& archive, EpubSpineText& spine, uint64_t utf8Bytes) {
    std::string utf8;
    utf8.reserve(utf8Bytes);
    for (const std::string& line : spine.lines) {
        utf8 += line;
        utf8 += "\r\n";
    }
    spine.converted = ConvertToGbk(utf8, TextEncoding::kUtf8);
    utf8 = std::string();
    const std::string& gbk = spine.converted.gbk;
    if (gbk.size() >= kMaxTextBytes) {
        archive.Refuse(std::string(epub_messages::kTextTooLong));
        return false;
    }
    spine.lineStart.assign(1, 0);
    for (size_t i = 0; i + 1 < gbk.size(); ++i) {
        if (gbk[i] == '\r' && gbk[i + 1] == '\n') {
            spine.lineStart.push_back(static_cast<uint32_t>(i + 2));
        }
    }
    // Every line ended with CR LF, and a GBK trail byte is never CR or LF.
    spine.lineCount = spine.lineStart.size() - 1;
    return true;
}

}  // namespace

std::optional<EpubSpineText> ReadSpineText(EpubArchive& archive, const EpubPackage& package) {
    EpubSpineText spine;
    uint64_t budget = kMaxTextBytes;
    uint64_t utf8Bytes = 0;
    for (xmlNode* itemref : ChildElements(package.spine, "itemref")) {
        if (AttributeOf(itemref, "linear").value_or("yes") == "no") continue;
        std::optional<std::string> idref = AttributeOf(itemref, "idref");
        auto item = idref ? package.items.find(*idref) : package.items.end();
        if (item == package.items.end()) continue;
        const std::string& type = item->second.mediaType;
        if (type != "application/xhtml+xml" && type != "text/html") continue;
        const std::string& entry = item->second.entry;
        if (spine.documentLines.contains(entry) || package.notText.contains(entry)) continue;
        std::optional<std::string> bytes = archive.Entry(entry, false);
        if (!bytes) {
            if (archive.Refused()) return std::nullopt;
            continue;  // a document the archive lacks is passed over, as readers do
        }
        XmlDocument document = archive.Parse(*bytes, true);
        if (archive.Refused()) return std::nullopt;
        bytes = std::nullopt;
        if (!document) continue;
        xmlNode* html = xmlDocGetRootElement(document.get());
        xmlNode* body = FindElement(html, "body", true);
        XhtmlLines text = LinesOf(body != nullptr ? body : html, &budget);
        if (text.overBudget) {
            archive.Refuse(std::string(epub_messages::kTextTooLong));
            return std::nullopt;
        }
        if (ShowsOnlyCover(html, entry, text, package.coverEntry)) continue;
        const size_t start = spine.lines.size();
        spine.documentLines.emplace(entry, std::make_pair(start, start + text.lines.size()));
        spine.documents.emplace_back(entry, start);
        for (auto& [id, line] : text.anchors) {
            spine.anchorLine.emplace(entry + "#" + id, start + line);
        }
        for (std::string& line : text.lines) {
            utf8Bytes += line.size() + 2;
            spine.lines.push_back(std::move(line));
        }
    }
    if (spine.lines.empty()) {
        archive.Refuse(std::string(epub_messages::kNoText));
        return std::nullopt;
    }
    if (!ConvertLines(archive, spine, utf8Bytes)) return std::nullopt;
    return spine;
}

}  // namespace brisna
