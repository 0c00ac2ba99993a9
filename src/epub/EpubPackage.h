#pragma once
// The first step of reading an EPUB: the package document that container.xml points to, with
// its manifest, metadata and cover, and the nav document with the pages that are no text
// (the cover and contents pages named by the landmarks or the guide).

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "epub/EpubArchive.h"
#include "epub/EpubMetadata.h"
#include "epub/MarkupDocument.h"

namespace brisna {

struct EpubManifestItem {
    std::string entry;
    std::string mediaType;
    std::string properties;  // space-separated, with a space at either end
};

using EpubManifest = std::unordered_map<std::string, EpubManifestItem>;  // by id

struct EpubPackage {
    XmlDocument document;  // the package document; `spine` points into it
    xmlNode* spine = nullptr;
    std::string folder;  // where the package document lies, for its links
    EpubManifest items;
    std::string navEntry;    // the nav document; empty without one
    std::string coverEntry;  // the picture the manifest marks as the cover; may be empty
    XmlDocument nav;         // the parsed nav document; `tocNav` points into it
    xmlNode* tocNav = nullptr;
    std::unordered_set<std::string> notText;  // entries that are no text of the book
};

// Nothing when the book is refused (the reason is in the archive). The package's metadata and
// cover go into `metadata`.
std::optional<EpubPackage> ReadEpubPackage(EpubArchive& archive, EpubMetadata& metadata);

}  // namespace brisna
