#pragma once
// Telling which encoding the raw bytes of a book text or a word list are in. Books come as GBK,
// UTF-8 (with or without a byte-order mark), UTF-16 (with or without one) and Big5.

#include <cstddef>
#include <string_view>

#include "text/TextEncoding.h"

namespace brisna {

// The encoding of a text, never kAuto, decided in this order: a byte-order mark; UTF-16 without
// one when at least two thirds of the even or the odd bytes of the first 64 KiB are NUL, or when
// the text has the line ends and the characters of Chinese UTF-16; UTF-8 when the text reads as
// UTF-8 (ReadsAsUtf8); Big5 when the bytes read clearly better as Big5 than as GBK; else GBK
// (the bytes are then taken as they stand).
TextEncoding DetectTextEncoding(std::string_view bytes);

// The steps of DetectTextEncoding, for callers that convert while they detect.
// A byte-order mark or UTF-16 without one; kAuto when neither is there.
TextEncoding DetectMarkedEncoding(std::string_view bytes);
// True when some byte is 0x80 or above.
bool HasNonAscii(std::string_view bytes);
// True when the charset detector takes the bytes for Big5 clearly rather than GBK.
bool LooksLikeBig5(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points above
// U+10FFFF; pure ASCII and the empty text count).
bool IsValidUtf8(std::string_view bytes);

// A UTF-8 book with a few damaged sequences is still a UTF-8 book: at most one in
// kUtf8CharactersPerDamage characters and at most kUtf8DamagePercent of its multi-byte
// sequences may be malformed, and a sequence cut short by the end of the text is forgiven.
inline constexpr size_t kUtf8CharactersPerDamage = 1000;
inline constexpr size_t kUtf8DamagePercent = 1;

// True when the text holds at least one well-formed multi-byte sequence and no more damage than
// the bounds above. Every valid UTF-8 text with a non-ASCII character reads as UTF-8.
bool ReadsAsUtf8(std::string_view bytes);

// What the UTF-8 reading of a text found. A sequence is malformed as ICU counts substitutions.
struct Utf8Census {
    size_t ascii = 0;
    size_t multiByte = 0;   // well-formed sequences of two to four bytes
    size_t malformed = 0;   // not counting a sequence cut short at the very end
    bool cutAtEnd = false;  // the text ends inside a sequence that began well-formed
};
// Counting stops once more than giveUpAfter sequences were malformed.
Utf8Census CountUtf8(std::string_view bytes, size_t giveUpAfter);

// True for bytes no text is made of when read in `encoding` (characters of one byte unless it
// is UTF-16): many control characters other than the tab, the line ends, the form feed and the
// escape (a picture, a program, a compressed archive).
bool LooksLikeBinary(std::string_view bytes, TextEncoding encoding);

// Length of the byte-order mark of `encoding` that the bytes start with, 0 when there is none
// (GBK and Big5 have none).
size_t ByteOrderMarkLength(std::string_view bytes, TextEncoding encoding);

}  // namespace brisna
