#pragma once
// Telling a hard-wrapped book (every paragraph broken into lines of about one width) from one
// with a paragraph per line, and finding the line breaks that only wrap.

#include <cstddef>
#include <string_view>
#include <vector>

namespace brisna {

struct WrapLine {
    std::string_view content;  // GBK, without its line break
    bool heading = false;      // never joined, to either side
};

struct WrapAnalysis {
    bool wrapped = false;
    size_t width = 0;  // the width (in display columns) most wrapped lines have
    // For each line: it and the next one are one paragraph (always false when not wrapped).
    std::vector<bool> joinWithNext;
};

// Looks at the lines of a book, in order (removed lines already left out).
WrapAnalysis AnalyseWrapping(const std::vector<WrapLine>& lines);

// The text that goes between two joined lines: one space between Latin words, nothing for
// Chinese (or when the first line already ends in a blank).
std::string_view JoinSeparator(std::string_view first, std::string_view second);

}  // namespace brisna
