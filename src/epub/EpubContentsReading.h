#pragma once
// The third step of reading an EPUB: the entries of its own table of contents, from the nav
// document, else from the NCX, in the order they stand there.

#include <optional>
#include <string>
#include <vector>

#include "epub/EpubArchive.h"
#include "epub/EpubLinks.h"
#include "epub/EpubPackage.h"

namespace brisna {

struct EpubContentsPoint {
    int level = 1;      // 1 the top, at most kMaxEpubContentsDepth
    std::string title;  // UTF-8
    std::optional<EpubLink> target;
};

// Nothing when the book is refused (an NCX over the bounds); empty when the book has no
// contents of its own.
std::optional<std::vector<EpubContentsPoint>> ReadContentsPoints(EpubArchive& archive,
                                                                 const EpubPackage& package);

}  // namespace brisna
