#include "epub/GbkLines.h"

#include "text/CodePage936.h"

namespace brisna {

namespace {

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    return Utf16ToUtf8(GbkToUtf16(gbk));
}

std::string_view TrimGbk(std::string_view line) {
    for (;;) {
        if (!line.empty() && IsAsciiSpace(line.front())) {
            line.remove_prefix(1);
        } else if (line.starts_with(kFullWidthSpace)) {
            line.remove_prefix(2);
        } else {
            break;
        }
    }
    // Walk characters so a trailing A1 A1 is only taken when it is a whole character.
    size_t end = 0;
    size_t keep = 0;
    while (end < line.size()) {
        const unsigned char byte = static_cast<unsigned char>(line[end]);
        size_t width = IsGbkLeadByte(byte) && end + 1 < line.size() ? 2 : 1;
        std::string_view character = line.substr(end, width);
        end += width;
        if (!(width == 1 && IsAsciiSpace(character[0])) && character != kFullWidthSpace) {
            keep = end;
        }
    }
    return line.substr(0, keep);
}

bool HasVisibleText(std::string_view gbk) {
    return !TrimGbk(gbk).empty();
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::optional<std::string_view> LabelledValue(std::string_view line, std::string_view utf8Label) {
    const std::string label = Utf8ToGbk(utf8Label);
    if (!line.starts_with(label)) return std::nullopt;
    line.remove_prefix(label.size());
    const std::string colon = Utf8ToGbk("：");
    if (line.starts_with(colon)) {
        line.remove_prefix(colon.size());
    } else if (line.starts_with(":")) {
        line.remove_prefix(1);
    } else {
        return std::nullopt;
    }
    line = TrimGbk(line);
    if (line.empty()) return std::nullopt;
    return line;
}

}  // namespace brisna
