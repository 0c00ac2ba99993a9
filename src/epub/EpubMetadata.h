#pragma once
// What an EPUB says about its book beside the text: read from an opened EPUB's package and
// written into the package of the EPUBs this program makes. Every text is UTF-8.

#include <string>
#include <vector>

namespace brisna {

struct EpubCover {
    std::string mediaType;  // "image/jpeg" or "image/png"
    std::string bytes;      // the picture file as it is
    bool Empty() const { return bytes.empty(); }
};

struct EpubMetadata {
    std::string title;
    std::string author;                    // the first creator; empty when the book names none
    std::vector<std::string> moreAuthors;  // further creators, in the package's order
    std::string language;                  // BCP 47 ("zh-CN", "zh-TW"); empty: from the text
    std::string identifier;                // "urn:uuid:..."
    std::string modified;                  // "CCYY-MM-DDThh:mm:ssZ"
    std::string description;
    std::string publisher;
    std::string date;
    std::string series;
    std::string seriesIndex;
    EpubCover cover;
};

}  // namespace brisna
