#pragma once
// The second step of reading an EPUB: the spine's documents in reading order as lines of text,
// where each document and each anchor begins among them, and the whole as GBK text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "epub/EpubArchive.h"
#include "epub/EpubPackage.h"
#include "text/EncodingConversion.h"

namespace brisna {

struct EpubSpineText {
    std::vector<std::string> lines;  // UTF-8, without line breaks
    // Per document with text: its first line and the line after its last.
    std::unordered_map<std::string, std::pair<size_t, size_t>> documentLines;
    std::unordered_map<std::string, size_t> anchorLine;     // by "entry#id"
    std::vector<std::pair<std::string, size_t>> documents;  // entry and first line, in order
    GbkConversion converted;                                // the lines as GBK, CR LF after each
    // Where each line starts in the GBK text, and one more entry for the text's end.
    std::vector<uint32_t> lineStart;
    size_t lineCount = 0;
};

// Nothing when the book is refused: a document over the bounds, a text over 10 MiB, no text.
// Documents that are missing, no XHTML, marked as no text or only show the cover are passed
// over.
std::optional<EpubSpineText> ReadSpineText(EpubArchive& archive, const EpubPackage& package);

}  // namespace brisna
