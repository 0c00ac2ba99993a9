#pragma once
// Code page 936 (GBK) conversions.
//
// Two families:
//  - the platform's rules (what the book writers and readers use): every GBK character becomes
//    one UTF-16 unit; a byte sequence that is no GBK character becomes U+30FB, the code page's
//    default Unicode character, one unit per rejected lead byte (a lead byte with a valid trail
//    byte that has no mapping gives one U+30FB for the pair). The other way, a unit that has no
//    GBK form becomes '?' (0x3F), the code page's default character.
//  - the lossless pair (what the window shows): bytes that are no GBK character map to the
//    private-use units U+F780 .. U+F7FF (0xF700 + byte), and back, so text survives a round trip
//    through the view byte for byte.
// Both are table-driven (the tables are filled once from ICU's windows-936 converter).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brisna {

// True for a byte that starts a two-byte GBK character (0x81 .. 0xFE).
inline bool IsGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}
// True for a byte that may follow a lead byte (0x40 .. 0x7E, 0x80 .. 0xFE).
inline bool IsGbkTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

// Platform rules (MultiByteToWideChar / WideCharToMultiByte with code page 936, no flags).
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);

// The GBK form of one unit when it has one that reads back as the same unit: the byte for ASCII
// and the other single bytes, (lead << 8) | trail for a pair; kNoGbkCode otherwise (no form, or
// only a best-fit one, which would change the text).
inline constexpr uint16_t kNoGbkCode = 0xFFFF;
uint16_t GbkCodeOfUnit(char16_t unit);
// The same for every unit at once: 65536 entries, for converters that look up every character.
const uint16_t* GbkCodeTable();

// Lossless pair for the text view.
std::u16string GbkToUtf16Lossless(std::string_view gbk);
std::string Utf16ToGbkLossless(std::u16string_view utf16);
// GbkToUtf16Lossless appending to `out`, for callers that decode a text piece by piece (pairs
// never span the pieces when each piece ends on a character boundary).
void AppendGbkToUtf16Lossless(std::string_view gbk, std::u16string& out);
// The lossless form of text whose paragraph marks are all CR LF (a CR is always followed by an
// LF, and an LF always follows a CR): each pair becomes one u'\r'. For every mark, the unit
// position and the byte offset just after it are appended to the two vectors.
std::u16string GbkCrLfToUtf16Lossless(std::string_view crlfGbk,
                                      std::vector<int32_t>& unitLineStarts,
                                      std::vector<uint32_t>& byteLineStarts);
// Number of bytes (1 or 2) Utf16ToGbkLossless writes for one unit.
size_t GbkLosslessByteCount(char16_t unit);

// Convenience for faces and tests: UTF-8 <-> GBK. Utf8ToGbk follows the platform rules
// ('?' for what GBK cannot hold, private-use units of the lossless range give back their byte);
// GbkToUtf8Lossless shows invalid bytes as their private-use characters.
std::string Utf8ToGbk(std::string_view utf8);
std::string GbkToUtf8Lossless(std::string_view gbk);
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// UTF-16LE byte forms used by the book formats.
std::string Utf16ToLeBytes(std::u16string_view utf16);
std::u16string LeBytesToUtf16(std::string_view bytes);  // an odd last byte is ignored

}  // namespace brisna
