#pragma once
// The 目录 block some downloads begin with: the chapter titles listed once more before the
// book starts, each on its own line.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace brisna {

struct ContentsBlock {
    size_t firstLine = 0;  // the 目录 line when there is one, else the first listed title
    size_t lastLine = 0;   // the last listed title
};

// lines: every line of the book (GBK, without line breaks); headingLines: the numbers of the
// lines that are the book's headings, ascending. The block lies before the first heading and
// lists at least three of the headings' titles; blank lines may stand between its lines.
std::optional<ContentsBlock> FindContentsBlock(const std::vector<std::string_view>& lines,
                                               const std::vector<size_t>& headingLines);

}  // namespace brisna
