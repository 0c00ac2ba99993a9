#pragma once
// Character-aware helpers for GBK byte strings: a byte of 0x81 .. 0xFE followed by another byte
// is one two-byte character (a lead byte in the last position stands alone); everything else is
// a one-byte character.

#include <cstddef>
#include <string>
#include <string_view>

namespace brisna {

// Length in bytes (1 or 2) of the character that starts at `at`; 0 at or past the end.
size_t GbkCharLength(std::string_view text, size_t at);

// The first occurrence of needle at or after `from` that starts on a character boundary, walking
// from the start of the text; npos when there is none. An empty needle is found at `from` (when
// `from` is within the text or at its end).
size_t GbkFind(std::string_view text, std::string_view needle, size_t from = 0);

inline bool GbkContains(std::string_view text, std::string_view needle) {
    return GbkFind(text, needle) != std::string_view::npos;
}

// Plain byte search with the result of std::string_view::find (a match may start on a trail
// byte), filtering candidates on the needle's first and last bytes sixteen positions at a time:
// the commands search ten-megabyte texts for headings whose first byte is everywhere.
size_t FindBytesFast(std::string_view text, std::string_view needle, size_t from = 0);

// Replaces every occurrence (character-aware, left to right, not overlapping) of `from` by `to`.
std::string GbkReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// The text without a lead byte that stands alone at its end (a title cut at its field's size):
// put in front of other text, such a byte would pair with the next one.
std::string_view WholeGbkCharacters(std::string_view text);

// The text up to its first NUL byte.
inline std::string_view UpToNul(std::string_view text) {
    size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

}  // namespace brisna
