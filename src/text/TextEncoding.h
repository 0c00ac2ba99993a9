#pragma once
// The encodings a book text or a word list may come in, and their names on the command line and
// in the window's menu.

#include <optional>
#include <string_view>

namespace brisna {

enum class TextEncoding { kAuto, kGbk, kUtf8, kUtf16Le, kUtf16Be, kBig5 };

// "auto", "gbk", "utf-8" (or "utf8"), "utf-16le", "utf-16be", "big5", in any letter case.
std::optional<TextEncoding> ParseTextEncoding(std::string_view name);

// The name ParseTextEncoding takes back: "auto", "gbk", "utf-8", ...
std::string_view TextEncodingName(TextEncoding encoding);

// What a text written for reading elsewhere is saved as.
enum class OutputEncoding { kGbk, kUtf8 };

// "gbk", "utf-8" (or "utf8"), in any letter case.
std::optional<OutputEncoding> ParseOutputEncoding(std::string_view name);

}  // namespace brisna
