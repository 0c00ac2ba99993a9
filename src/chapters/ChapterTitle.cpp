#include "chapters/ChapterTitle.h"

#include "Capacities.h"
#include "text/GbkText.h"

namespace brisna {

std::optional<std::string> ReadTitleFromLine(const RichEdit& view, int32_t line) {
    std::string fetched = view.GetLine(line);
    if (fetched.empty()) return std::nullopt;
    std::string_view copied(fetched);
    if (copied.size() > kTitleTextBytes) copied = copied.substr(0, kTitleTextBytes);
    size_t cr = copied.find('\r');
    if (cr != std::string_view::npos) copied = copied.substr(0, cr);
    // The title ends at the first NUL as well, as it would in a zeroed buffer.
    return std::string(UpToNul(copied));
}

std::string ReadBookText(const RichEdit& view) {
    std::string text = view.GetText();
    size_t end = UpToNul(text).size();
    if (end > kMaxTextBytes - 1) end = kMaxTextBytes - 1;
    text.resize(end);
    return text;
}

}  // namespace brisna
