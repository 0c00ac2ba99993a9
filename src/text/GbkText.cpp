#include "text/GbkText.h"

#include <string.h>

#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/CodePage936.h"

namespace brisna {
namespace {

// Up to this length a needle is searched with a first/last-byte filter and a plain compare per
// candidate, which a long run of near-matches cannot make slow.
constexpr size_t kShortNeedleBytes = 64;

}  // namespace

size_t GbkCharLength(std::string_view text, size_t at) {
    if (at >= text.size()) return 0;
    return IsGbkLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

size_t FindBytesFast(std::string_view text, std::string_view needle, size_t from) {
    constexpr size_t kNone = std::string_view::npos;
    const size_t size = text.size();
    const size_t length = needle.size();
    if (from > size) return kNone;
    if (length == 0) return from;
    if (size - from < length) return kNone;
    const char* const base = text.data();
    if (length == 1) {
        const void* hit = std::memchr(base + from, needle[0], size - from);
        return hit == nullptr ? kNone : static_cast<size_t>(static_cast<const char*>(hit) - base);
    }
    if (length > kShortNeedleBytes) {
        // Candidates that share a long prefix with the needle would each cost a long compare:
        // the C library's two-way search stays linear whatever the text.
        const void* hit = ::memmem(base + from, size - from, needle.data(), length);
        return hit == nullptr ? kNone : static_cast<size_t>(static_cast<const char*>(hit) - base);
    }
    const char* at = base + from;
    const char* const lastStart = base + (size - length);
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(needle.front());
    const __m128i last = _mm_set1_epi8(needle.back());
    // Sixteen starts at a time; the loads reach at most the text's last byte.
    while (lastStart - at >= 15) {
        __m128i starts;
        __m128i ends;
        std::memcpy(&starts, at, sizeof starts);
        std::memcpy(&ends, at + length - 1, sizeof ends);
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, last))));
        for (; mask != 0; mask &= mask - 1) {
            const char* candidate = at + std::countr_zero(mask);
            if (std::memcmp(candidate + 1, needle.data() + 1, length - 2) == 0) {
                return static_cast<size_t>(candidate - base);
            }
        }
        at += 16;
    }
#endif
    for (; at <= lastStart; ++at) {
        if (*at == needle.front() && std::memcmp(at, needle.data(), length) == 0) {
            return static_cast<size_t>(at - base);
        }
    }
    return kNone;
}

// Every occurrence of needle at or after from, in order, in time linear in both lengths
// (Knuth-Morris-Pratt): onMatch(at) returns true to stop. For long needles, whose occurrences
// may overlap so that repeated searches would go over the same bytes again and again.
template <typename OnMatch>
size_t EachOccurrence(std::string_view text, std::string_view needle, size_t from,
                      OnMatch onMatch) {
    std::vector<size_t> border(needle.size() + 1, 0);
    for (size_t i = 1, k = 0; i < needle.size(); ++i) {
        while (k > 0 && needle[i] != needle[k]) k = border[k];
        if (needle[i] == needle[k]) ++k;
        border[i + 1] = k;
    }
    for (size_t i = from, k = 0; i < text.size(); ++i) {
        while (k > 0 && text[i] != needle[k]) k = border[k];
        if (text[i] == needle[k]) ++k;
        if (k == needle.size()) {
            if (onMatch(i + 1 - k)) return i + 1 - k;
            k = border[k];
        }
    }
    return std::string_view::npos;
}

size_t GbkFind(std::string_view text, std::string_view needle, size_t from) {
    if (from > text.size()) return std::string_view::npos;
    if (needle.size() > kShortNeedleBytes) {
        // Only a match found after one that missed a boundary takes the slower exact walk.
        const size_t first = FindBytesFast(text, needle, from);
        if (first == std::string_view::npos) return first;
        size_t boundary = 0;
        return EachOccurrence(text, needle, first, [&](size_t at) {
            while (boundary < at) boundary += GbkCharLength(text, boundary);
            return boundary == at;
        });
    }
    // Walk character boundaries from the start, but jump with memchr-like searches: a candidate
    // found by the byte search is accepted only when it lies on a boundary.
    size_t boundary = 0;
    size_t candidate = FindBytesFast(text, needle, from);
    while (candidate != std::string_view::npos) {
        while (boundary < candidate) boundary += GbkCharLength(text, boundary);
        if (boundary == candidate) return candidate;
        candidate = FindBytesFast(text, needle, candidate + 1);
    }
    return std::string_view::npos;
}

std::string_view WholeGbkCharacters(std::string_view text) {
    size_t at = 0;
    while (at < text.size()) {
        const size_t length = GbkCharLength(text, at);
        if (length == 1 && IsGbkLeadByte(static_cast<unsigned char>(text[at]))) break;
        at += length;
    }
    return text.substr(0, at);
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
