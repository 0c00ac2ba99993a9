#include "epub/EpubNavigation.h"

#include <algorithm>
#include <vector>

#include "epub/XmlText.h"

namespace brisna {

void NestLevels(std::vector<NavPoint>& points, int maxDepth) {
    // The levels of the points that enclose the current one: a point stands below every
    // earlier point of a lower level still open, so entries that were siblings stay siblings
    // when the contents skip a level.
    std::vector<int> open;
    for (NavPoint& point : points) {
        while (!open.empty() && open.back() >= point.level) open.pop_back();
        open.push_back(point.level);
        point.level = std::min(static_cast<int>(open.size()), std::max(maxDepth, 1));
    }
}

namespace {

// The level the point after i stands at; past the last point the lists close down to the top.
int NextLevel(const std::vector<NavPoint>& points, size_t i) {
    return i + 1 < points.size() ? points[i + 1].level : 1;
}

}  // namespace

void AppendContentsList(std::string& out, const std::vector<NavPoint>& points,
                        std::string_view up) {
    out += "<ol>\n";
    for (size_t i = 0; i < points.size(); ++i) {
        const NavPoint& point = points[i];
        out += "<li><a href=\"" + XmlEscaped(up) + XmlEscaped(point.href) + "\">";
        AppendXmlEscaped(out, point.label);
        out += "</a>";
        const int next = NextLevel(points, i);
        if (next > point.level) {
            // The entries below this one are a list inside its item.
            out += "\n<ol>\n";
            continue;
        }
        out += "</li>\n";
        for (int level = point.level; level > next; --level) out += "</ol>\n</li>\n";
    }
    out += "</ol>\n";
}

std::string NcxDocument(const std::vector<NavPoint>& points, const EpubMetadata& metadata,
                        std::string_view language) {
    int depth = 1;
    for (const NavPoint& point : points) depth = std::max(depth, point.level);
    std::string out(kXmlDeclaration);
    out +=
        "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\" "
        "xml:lang=\"" +
        XmlEscaped(language) + "\">\n<head>\n<meta name=\"dtb:uid\" content=\"" +
        XmlEscaped(metadata.identifier) + "\"/>\n<meta name=\"dtb:depth\" content=\"" +
        std::to_string(depth) +
        "\"/>\n<meta name=\"dtb:totalPageCount\" content=\"0\"/>\n"
        "<meta name=\"dtb:maxPageNumber\" content=\"0\"/>\n</head>\n<docTitle><text>";
    AppendXmlEscaped(out, metadata.title);
    out += "</text></docTitle>\n<navMap>\n";
    int playOrder = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const NavPoint& point = points[i];
        if (i == 0 || point.href != points[i - 1].href) ++playOrder;
        out += "<navPoint id=\"np" + std::to_string(i + 1) + "\" playOrder=\"" +
               std::to_string(playOrder) + "\"><navLabel><text>";
        AppendXmlEscaped(out, point.label);
        out += "</text></navLabel><content src=\"" + XmlEscaped(point.href) + "\"/>";
        const int next = NextLevel(points, i);
        if (next > point.level) {
            out += "\n";
            continue;
        }
        out += "</navPoint>\n";
        for (int level = point.level; level > next; --level) out += "</navPoint>\n";
    }
    out += "</navMap>\n</ncx>\n";
    return out;
}

}  // namespace brisna
