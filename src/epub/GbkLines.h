#pragma once
// Lines of the GBK book text as the EPUB writer and the book's description see them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisna {

inline constexpr std::string_view kFullWidthSpace = "\xA1\xA1";  // U+3000 in GBK

std::string GbkToUtf8(std::string_view gbk);

// The line without the ASCII and full-width spaces around it (a full-width space only where it
// is a whole character).
std::string_view TrimGbk(std::string_view line);

bool HasVisibleText(std::string_view gbk);

// The lines of a stretch of text: CR LF (or a lone CR or LF) ends a line; a final line break
// does not start another line.
std::vector<std::string_view> SplitLines(std::string_view text);

// The value after a label (UTF-8, such as 书名 or 作者) and a full-width or ASCII colon at the
// start of a line, trimmed; nothing when the line has no such label or no value.
std::optional<std::string_view> LabelledValue(std::string_view gbkLine, std::string_view utf8Label);

}  // namespace brisna
