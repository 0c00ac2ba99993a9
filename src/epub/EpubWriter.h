#pragma once
// Writing a book as an EPUB 3 file: one XHTML document per chapter, the table of contents as
// nav.xhtml and as toc.ncx for older readers, the metadata taken from the text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "epub/EpubMetadata.h"

namespace brisna {

// One entry of the table of contents: a chapter (or a volume above chapters) starting at a
// byte offset of the GBK book text. Level 1 is the top (a volume, or a chapter of a book
// without volumes); level 2 a chapter inside the volume before it.
struct TocEntry {
    int level = 1;
    std::string title;  // GBK
    uint32_t offset = 0;
};


// The metadata of a book: the title from a line 《书名》 or 书名：… at the head of the text, else
// the file name of the book source path without its extension; the author from a line 作者：…
// near the start; an identifier made from the text alone, so the same text always gets the same
// one; `modifiedSeconds` (seconds since 1970, UTC) as the modification date.
EpubMetadata DescribeBook(std::string_view gbkText, std::string_view bookSourcePath,
                          int64_t modifiedSeconds);

// The EPUB of the text with the entries as its table of contents (offsets ascending and inside
// the text; others are passed over). Text before the first entry is a document of its own ahead
// of the chapters. The same arguments always give the same bytes. Nothing when the archive
// could not be built.
std::optional<std::string> BuildEpub(std::string_view gbkText, const std::vector<TocEntry>& toc,
                                     const EpubMetadata& metadata);

}  // namespace brisna
