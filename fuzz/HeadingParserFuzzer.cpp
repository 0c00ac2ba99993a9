// Any bytes as a heading: parsing never reads outside the text, the text fields always end in a
// NUL within their 64 bytes, and composing or stemming the parts never fails.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "detect/HeadingParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brisna;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    HeadingParts parts = ParseHeading(text);
    if (std::memchr(parts.prefix, 0, sizeof parts.prefix) == nullptr) std::abort();
    if (std::memchr(parts.suffix, 0, sizeof parts.suffix) == nullptr) std::abort();
    if (parts.isArabic > 1 || parts.number < 0) std::abort();
    // The fields are slices of the text.
    if (text.substr(0, parts.Prefix().size()) != parts.Prefix()) std::abort();
    if (!parts.Suffix().empty() && text.find(parts.Suffix()) == std::string_view::npos)
        std::abort();

    std::string composed = ComposeHeading(parts);
    std::string stem = HeadingStem(parts);
    if (stem.size() > composed.size() || composed.compare(0, stem.size(), stem) != 0) std::abort();

    // Parts built by a caller by hand, with any number, compose as well.
    parts.number = -parts.number - 1;
    composed = ComposeHeading(parts);
    parts.isArabic = 1;
    stem = HeadingStem(parts);
    return 0;
}
