#pragma once
// Writing a book as an EPUB 3 file: one XHTML document per chapter, the table of contents as
// nav.xhtml and as toc.ncx for older readers, with a cover and a title page.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "epub/BookDescription.h"
#include "epub/EpubMetadata.h"
#include "epub/EpubStyle.h"

namespace brisna {

// One entry of the table of contents: a chapter (or a volume, a part, ... above chapters)
// starting at a byte offset of the GBK book text. Level 1 is the top (a volume, or a chapter of
// a book without volumes); each level below stands inside the entry above it before it.
struct TocEntry {
    int level = 1;
    std::string title;  // GBK
    uint32_t offset = 0;
};

// The EPUB of the text with the entries as its table of contents, every level kept (offsets
// in order and inside the text; others are passed over). Entries at one offset, such as a volume
// and its first chapter, lead to the same place. Text before the first entry is a document of
// its own ahead of the chapters. Ahead of the text, out of the reading order, come the cover page
// (when the metadata carries a JPEG or PNG cover), the title page and the contents. The style's
// choices make the style sheet; an embedded font that is no TrueType, OpenType or WOFF font is left
// out. The same arguments always give the same bytes. Nothing when the archive could not be built.
std::optional<std::string> BuildEpub(std::string_view gbkText, const std::vector<TocEntry>& toc,
                                     const EpubMetadata& metadata, const EpubStyle& style = {});

}  // namespace brisna
