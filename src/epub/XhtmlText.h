#pragma once
// The text an XHTML document shows, as lines: block elements end a line before and after,
// <br> breaks one, entities and character references are decoded, scripts and styles are
// dropped, and runs of ASCII white space collapse to one space and vanish at the ends of a
// line, as in a browser (inside <pre> they are kept); a run holding a line break between two
// Chinese characters vanishes, since a reader draws no space there. Full-width spaces are text,
// never collapsed. A picture standing for a rare character (an alt of one to four Chinese
// characters) gives its alt text, other pictures nothing. Note calls and the arrows leading back
// from a note are no text; the notes themselves stay where they stand.

#include <cstddef>
#include <cstdint>
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
    // The budget ran out: the lines stop where it did.
    bool overBudget = false;
};

// The lines of the subtree below root. `budget`, when given, is what the lines may still take in
// GBK bytes at the least (a byte per character, two per line end): it is drawn from as the lines
// grow, and the reading stops once it is spent, so no document is turned into more text than the
// book can hold, however its entities multiply.
XhtmlLines LinesOf(xmlNode* root, uint64_t* budget = nullptr);

// The text a node shows on one line (UTF-8): its lines joined by spaces.
std::string ShownText(xmlNode* node);

}  // namespace brisna
