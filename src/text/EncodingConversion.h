#pragma once
// Converting a text from the encoding it came in to the GBK text everything else works on, and
// the GBK book text to what is written for reading elsewhere.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/TextEncoding.h"

namespace brisna {

struct GbkConversion {
    std::string gbk;
    size_t replaced = 0;           // characters GBK cannot hold, each written as '?'
    size_t firstReplacedLine = 0;  // 1-based line of the first of them in the text; 0 if none
};

// The text's bytes in `encoding` as GBK. A byte-order mark of that encoding at the start is
// dropped; a sequence that is not valid in the encoding counts as a replaced character. kGbk and
// kAuto give the bytes unchanged.
GbkConversion ConvertToGbk(std::string_view bytes, TextEncoding encoding);

// ConvertToGbk(bytes, kUtf8) when the bytes (after a mark) are well-formed UTF-8, else nothing;
// one pass for both the check and the conversion.
std::optional<GbkConversion> ConvertValidUtf8ToGbk(std::string_view bytes);

// The message shown after a load that replaced characters (GBK):
// "有%d个字符无法转换为GBK，已替换为“?”，第一个在第%d行".
std::string ReplacedCharactersMessage(size_t replaced, size_t firstLine);

// The GBK book text (CR LF paragraph ends) as written out: kGbk gives the bytes unchanged;
// kUtf8 gives UTF-8 with LF line ends (bytes that form no GBK character read as the code page
// does, as U+30FB).
std::string GbkTextToOutput(std::string_view gbkText, OutputEncoding encoding);

}  // namespace brisna
