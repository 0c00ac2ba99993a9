#pragma once
// Chapter headings split into the text before the number, the number and the text after it,
// and put back together with another number in the same style.

#include <cstdint>
#include <string>
#include <string_view>

#include "Capacities.h"

namespace brisna {

struct HeadingParts {
    char prefix[kHeadingFieldBytes] = {};  // at most 63 bytes of GBK and a NUL
    int32_t number = 0;
    char suffix[kHeadingFieldBytes] = {};  // at most 63 bytes of GBK and a NUL
    uint8_t isArabic = 0;                  // 1: ASCII digits, 0: Chinese numerals

    std::string_view Prefix() const;
    std::string_view Suffix() const;
};

// Splits a heading at its first numeral (Chinese or ASCII digits). A text without a numeral
// gives all-zero parts. Text fields longer than 63 bytes are cut at a character boundary.
HeadingParts ParseHeading(std::string_view text);

// prefix + number (decimal digits when isArabic, otherwise Chinese numerals) + suffix.
std::string ComposeHeading(const HeadingParts& parts);

// The composed heading cut before the first occurrence of its suffix (the empty text for an
// empty suffix).
std::string HeadingStem(const HeadingParts& parts);

}  // namespace brisna
