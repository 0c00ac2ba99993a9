#pragma once
// Telling which encoding the raw bytes of a book text or a word list are in. Books come as GBK,
// UTF-8 (with or without a byte-order mark), UTF-16 (with or without one) and Big5.

#include <cstddef>
#include <string_view>

#include "text/TextEncoding.h"

namespace brisna {

// The encoding of a text, never kAuto, decided in this order: a byte-order mark; UTF-16 without
// one when at least two thirds of the even or the odd bytes of the first 64 KiB are NUL; UTF-8
// when the whole text is valid UTF-8 with at least one non-ASCII character; Big5 when the bytes
// read clearly better as Big5 than as GBK; else GBK (the bytes are then taken as they stand).
TextEncoding DetectTextEncoding(std::string_view bytes);

// The steps of DetectTextEncoding, for callers that convert while they detect.
// A byte-order mark or the NUL pattern of UTF-16; kAuto when neither is there.
TextEncoding DetectMarkedEncoding(std::string_view bytes);
// True when some byte is 0x80 or above.
bool HasNonAscii(std::string_view bytes);
// True when the charset detector takes the bytes for Big5 clearly rather than GBK.
bool LooksLikeBig5(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points above
// U+10FFFF; pure ASCII and the empty text count).
bool IsValidUtf8(std::string_view bytes);

// Length of the byte-order mark of `encoding` that the bytes start with, 0 when there is none
// (GBK and Big5 have none).
size_t ByteOrderMarkLength(std::string_view bytes, TextEncoding encoding);

}  // namespace brisna
