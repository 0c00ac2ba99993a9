#pragma once
// Traditional -> Simplified Chinese for GBK text, one character at a time. Every character keeps
// its byte length, so the text keeps its length and every byte offset into it stays valid.

#include <string>
#include <string_view>

namespace brisna {

// The converted copy of a GBK text. ASCII, punctuation, line breaks and bytes that form no GBK
// character come through unchanged; so does a Traditional character whose Simplified form is
// not one two-byte GBK character.
std::string TraditionalToSimplified(std::string_view gbk);

// The same conversion on a buffer, in place.
void TraditionalToSimplifiedInPlace(std::string& gbk);

// False when the character dictionary could not be loaded; the conversion then changes nothing.
bool TraditionalToSimplifiedAvailable();

}  // namespace brisna
