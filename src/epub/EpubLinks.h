#pragma once
// Links between the entries of an EPUB archive, as the reader follows them.

#include <optional>
#include <string>
#include <string_view>

namespace brisna {

// A link inside the archive, resolved against the folder of the document it stands in: the
// entry name it points to and the fragment after '#'.
struct EpubLink {
    std::string entry;
    std::string fragment;
};

// The folder of an entry with its trailing '/', empty at the archive's root.
std::string EpubFolderOf(std::string_view entry);

// The link `href` written in a document of `folder`, percent-decoded. Nothing for links that
// leave the archive (a scheme, or more ".." than there are folders).
std::optional<EpubLink> ResolveEpubLink(std::string_view folder, std::string_view href);

// Whether a space-separated list (properties, epub:type) holds the word.
bool HasSpacedWord(std::string_view list, std::string_view word);

}  // namespace brisna
