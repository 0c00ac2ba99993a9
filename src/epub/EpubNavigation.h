#pragma once
// The table of contents as an EPUB carries it: nested lists of links in the navigation document,
// and nested navPoints in the NCX that older readers use. Both nest every level the contents
// have, so a book of parts, volumes and chapters reads back with all three.

#include <string>
#include <string_view>
#include <vector>

#include "epub/EpubMetadata.h"

namespace brisna {

// One entry of the contents as written.
struct NavPoint {
    int level = 1;      // 1 the top; never more than one below the point before it
    std::string label;  // UTF-8
    std::string href;   // relative to the package folder
};

// The levels fit for nesting: each point one level below the nearest earlier point of a lower
// level (the first at the top), none deeper than maxDepth (at least 1).
void NestLevels(std::vector<NavPoint>& points, int maxDepth);

// The points as the navigation document's nested <ol>, each href preceded by `up`.
void AppendContentsList(std::string& out, const std::vector<NavPoint>& points, std::string_view up);

// The whole NCX document. Points that open the same document share its place in the reading
// order (playOrder), as the NCX requires of entries with one target.
std::string NcxDocument(const std::vector<NavPoint>& points, const EpubMetadata& metadata,
                        std::string_view language);

}  // namespace brisna
