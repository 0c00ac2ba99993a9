#pragma once
// Walking a book text (GBK) line by line, for the scans that look at what each line begins
// with.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace brisna {

// The offset after the blanks (ASCII spaces, tabs and full-width spaces) at `at`.
inline size_t SkipBlanks(std::string_view line, size_t at) {
    while (at < line.size()) {
        const unsigned char byte = static_cast<unsigned char>(line[at]);
        if (byte == ' ' || byte == '\t') {
            ++at;
        } else if (byte == 0xA1 && at + 1 < line.size() &&
                   static_cast<unsigned char>(line[at + 1]) == 0xA1) {
            at += 2;
        } else {
            break;
        }
    }
    return at;
}

struct TextLine {
    size_t start = 0;           // where the line begins
    size_t next = 0;            // where the next one begins (the text's end for the last)
    int32_t number = 0;         // counted from 0
    std::string_view content;   // without its line break
    size_t firstText = 0;       // offset in content after the blanks it starts with
    bool endsWithCrLf = false;  // the break is CR LF
};

// Calls visit(line) for every line that holds more than blanks (ASCII and full-width spaces);
// the lines between still count.
template <typename Visit>
void ForEachTextLine(std::string_view text, Visit&& visit) {
    TextLine line;
    while (line.start < text.size()) {
        const size_t lf = text.find('\n', line.start);
        const size_t end = lf == std::string_view::npos ? text.size() : lf;
        const size_t contentEnd = end > line.start && text[end - 1] == '\r' ? end - 1 : end;
        line.content = text.substr(line.start, contentEnd - line.start);
        line.next = lf == std::string_view::npos ? text.size() : lf + 1;
        line.endsWithCrLf = lf != std::string_view::npos && contentEnd + 1 == end;
        line.firstText = SkipBlanks(line.content, 0);
        if (line.firstText < line.content.size()) visit(static_cast<const TextLine&>(line));
        if (lf == std::string_view::npos) break;
        line.start = lf + 1;
        ++line.number;
    }
}

}  // namespace brisna
