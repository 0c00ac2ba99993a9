#pragma once
// The text an XHTML document shows, as lines: block elements end a line before and after,
// <br> breaks one, entities and character references are decoded, scripts, styles and images
// are dropped, and runs of ASCII white space collapse to one space and vanish at the ends of a
// line, as in a browser (inside <pre> they are kept). Full-width spaces are text, never
// collapsed.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include <libxml/tree.h>

namespace brisna {

struct XhtmlLines {
    std::vector<std::string> lines;  // UTF-8, without line breaks
    // For every id (and every <a name>): the line its element's text starts on (lines.size()
    // when nothing follows it).
    std::unordered_map<std::string, size_t> anchors;
};

// The lines of the subtree below root.
XhtmlLines LinesOf(xmlNode* root);

// The text a node shows on one line (UTF-8): its lines joined by spaces.
std::string ShownText(xmlNode* node);

}  // namespace brisna
