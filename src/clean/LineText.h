#pragma once
// Small questions the clean-up asks about one line of GBK text (without its line break).

#include <cstddef>
#include <string>
#include <string_view>

namespace brisna {

// The bytes (1 or 2) of the character at `at`, which lies inside the line: the clean-up walks
// every line of a 10 MiB book character by character, so this one is inline.
inline size_t CharLengthAt(std::string_view line, size_t at) {
    const unsigned char byte = static_cast<unsigned char>(line[at]);
    return byte >= 0x81 && byte <= 0xFE && at + 1 < line.size() ? 2 : 1;
}

// The line without the blanks (ASCII spaces, tabs, full-width spaces) at either end.
std::string_view TrimLineBlanks(std::string_view line);
// The bytes of blanks the line begins with.
size_t LeadingBlankBytes(std::string_view line);
// True when the line holds nothing but blanks.
inline bool IsBlankLine(std::string_view line) {
    return LeadingBlankBytes(line) == line.size();
}
// Characters in the line (a two-byte GBK character counts one).
size_t GbkCharCount(std::string_view line);
// The last character of the line (one or two bytes; empty for an empty line).
std::string_view LastGbkChar(std::string_view line);
// The line with ASCII letters made lower case; two-byte characters are left alone (their second
// byte may be a letter).
std::string LowerAsciiLetters(std::string_view line);
// True when the character at `at` is a two-byte Chinese character rather than punctuation or a
// symbol of the A1 .. A9 rows.
bool IsChineseCharAt(std::string_view line, size_t at);
// True for a Latin letter or digit.
inline bool IsAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace brisna
