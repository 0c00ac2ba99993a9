#include "text/GbkText.h"

#include <cstring>

#include "text/CodePage936.h"

namespace brisna {

size_t GbkCharLength(std::string_view text, size_t at) {
    if (at >= text.size()) return 0;
    return IsGbkLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

size_t GbkFind(std::string_view text, std::string_view needle, size_t from) {
    if (from > text.size()) return std::string_view::npos;
    // Walk character boundaries from the start, but jump with memchr-like searches: a candidate
    // found by the byte search is accepted only when it lies on a boundary.
    size_t boundary = 0;
    size_t candidate = text.find(needle, from);
    while (candidate != std::string_view::npos) {
        while (boundary < candidate) boundary += GbkCharLength(text, boundary);
        if (boundary == candidate) return candidate;
        candidate = text.find(needle, candidate + 1);
    }
    return std::string_view::npos;
}

std::string GbkReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    size_t position = 0;
    while (position < text.size()) {
        if (text.compare(position, from.size(), from) == 0) {
            out.append(to);
            position += from.size();
        } else {
            size_t length = GbkCharLength(text, position);
            out.append(text.substr(position, length));
            position += length;
        }
    }
    return out;
}

}  // namespace brisna
