#pragma once
// Where a heading stands in the book text: the byte searches of the automatic adds, the test for
// a heading that begins its line, and the way from a byte offset to the character position the
// text view counts in.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brisna::detection {

// True when only blanks (ASCII space, tab, the full-width space A1 A1) stand between the start of
// the line holding `at` and `at`. Lines are the text's own (ended by LF), so a paragraph that a
// narrow window wraps does not start a line in the middle of its running text.
bool BeginsLine(std::string_view text, size_t at);

// The first occurrence of the heading at or after `from` (a plain byte search); with
// `atLineStart`, the first one that also begins its line. npos when there is none or `from` lies
// outside the text.
size_t FindHeading(std::string_view text, std::string_view heading, int64_t from, bool atLineStart);

// Where the append step looks for the title it read from the heading's line: from the start of
// that line, so that a mention of the whole heading between the previous heading and this one
// cannot lend the chapter its offset; never before the scan position.
int32_t TitleSearchStart(std::string_view text, size_t occurrence, int32_t detectionScanPosition);

// Maps byte offsets of a CR LF text to the character positions of the view that holds it (one
// per GBK character, one per byte that is no GBK character, one per paragraph mark). Offsets are
// usually asked for in rising order, so the walk goes on from the last answer.
class CharPositions {
  public:
    explicit CharPositions(std::string_view text) : text_(text) {}
    // The position of the character that holds the byte at `offset` (an offset on a trail byte
    // gives its character's position); offsets past the end give the position of the end.
    int32_t CharHolding(size_t offset);

  private:
    std::string_view text_;
    size_t byte_ = 0;  // a paragraph start the walk has reached
    int64_t char_ = 0;
    std::u16string scratch_;
};

}  // namespace brisna::detection
