#pragma once
// The candidate headings of a text, line by line, and the contents lists among them.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "detect/OutlineLineHeadings.h"

namespace brisna::outline {

// Kept small: a book of short headings holds hundreds of thousands, and writing them out cost
// more than reading the lines. Offsets are 32 bits as the outline's own are.
struct Candidate {
    LineHeadings headings;
    uint32_t lineStart = 0;
    uint32_t contentSize = 0;  // the line without its break
    int32_t line = 0;
    uint32_t firstText = 0;  // where its text starts after the blanks
    uint8_t breakSize = 0;   // its line break: CR LF, LF or none at the text's end

    const LineHeading& heading() const { return headings.heading; }
    std::string_view content(std::string_view text) const {
        return text.substr(lineStart, contentSize);
    }
    size_t lineEnd() const { return size_t{lineStart} + contentSize + breakSize; }
};

// True when the text holds nothing but blanks and line breaks.
bool OnlyBlankLines(std::string_view text);
std::string_view TrimmedTitle(std::string_view content);
// Every line of the text that reads as a heading, in text order.
std::vector<Candidate> FindCandidates(std::string_view text);
// Marks the candidates that stand in a contents list: several headings in a row, each holding
// nothing but its own line. Their lines stay text of the chapter before them. Returns how many.
size_t DropContentsLists(std::string_view text, const std::vector<Candidate>& candidates,
                         std::vector<bool>& dropped);

}  // namespace brisna::outline
