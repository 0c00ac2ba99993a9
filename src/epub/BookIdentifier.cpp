#include "epub/BookIdentifier.h"

#include <uuid/uuid.h>

namespace brisna {

namespace {

// The namespace of the identifiers this program gives its books (itself a random UUID, chosen
// once): the same text made into an EPUB by another program gets another identifier.
constexpr unsigned char kBookNamespace[16] = {0x6b, 0x1f, 0x3a, 0x52, 0x9c, 0x0e, 0x4d, 0x7a,
                                              0xa3, 0x58, 0x21, 0xe4, 0x90, 0xc6, 0x2f, 0x8d};

}  // namespace

std::string BookIdentifier(std::string_view text) {
    uuid_t id;
    uuid_generate_sha1(id, kBookNamespace, text.data(), text.size());
    char printed[UUID_STR_LEN] = {};
    uuid_unparse_lower(id, printed);
    return std::string("urn:uuid:") + printed;
}

}  // namespace brisna
