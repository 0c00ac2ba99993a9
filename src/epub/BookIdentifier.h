#pragma once
// The identifier an EPUB of a book carries: a name-based UUID (version 5, SHA-1) of the book's
// text, so the same text always gets the same identifier and a reader's library keeps its place.

#include <string>
#include <string_view>

namespace brisna {

// "urn:uuid:xxxxxxxx-xxxx-5xxx-yxxx-xxxxxxxxxxxx" for the text, in this program's namespace.
std::string BookIdentifier(std::string_view text);

}  // namespace brisna
