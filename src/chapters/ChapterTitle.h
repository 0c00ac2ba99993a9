#pragma once
// Reading chapter titles and the book text from the text control.

#include <cstdint>
#include <optional>
#include <string>

#include "controls/RichEdit.h"

namespace brisna {

// The title a chapter gets from display line `line`: at most 60 bytes of the line, ending at the
// first CR among them. Leading spaces stay; a double-byte character may be cut at byte 60.
// Nothing when the line fetch copies no byte at all.
std::optional<std::string> ReadTitleFromLine(const RichEdit& view, int32_t line);

// The whole book text as the commands read it: GBK with CR LF, up to its first NUL and at most
// one byte less than the 10 MiB bound.
std::string ReadBookText(const RichEdit& view);

}  // namespace brisna
