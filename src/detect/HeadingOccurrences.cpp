#include "detect/HeadingOccurrences.h"

#include <algorithm>
#include <limits>

#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna::detection {

namespace {

constexpr unsigned char kFullWidthSpaceByte = 0xA1;

size_t LineStartBefore(std::string_view text, size_t at) {
    size_t lf = at == 0 ? std::string_view::npos : text.rfind('\n', at - 1);
    return lf == std::string_view::npos ? 0 : lf + 1;
}

}  // namespace

bool BeginsLine(std::string_view text, size_t at) {
    if (at > text.size()) return false;
    size_t i = LineStartBefore(text, at);
    // Walk forward: backwards a full-width space cannot be told from the end of another
    // double-byte character.
    while (i < at) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte == ' ' || byte == '\t') {
            ++i;
        } else if (byte == kFullWidthSpaceByte && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) == kFullWidthSpaceByte) {
            i += 2;
        } else {
            return false;
        }
    }
    return i == at;
}

size_t FindHeading(std::string_view text, std::string_view heading, int64_t from,
                   bool atLineStart) {
    if (from < 0 || static_cast<uint64_t>(from) > text.size()) return std::string_view::npos;
    size_t at = FindBytesFast(text, heading, static_cast<size_t>(from));
    if (!atLineStart) return at;
    while (at != std::string_view::npos && !BeginsLine(text, at)) {
        at = FindBytesFast(text, heading, at + 1);
    }
    return at;
}

int32_t TitleSearchStart(std::string_view text, size_t occurrence, int32_t detectionScanPosition) {
    size_t lineStart = LineStartBefore(text, std::min(occurrence, text.size()));
    if (detectionScanPosition < 0 || lineStart <= static_cast<size_t>(detectionScanPosition)) {
        return detectionScanPosition;
    }
    return static_cast<int32_t>(std::min<size_t>(lineStart, std::numeric_limits<int32_t>::max()));
}

int32_t CharPositions::CharHolding(size_t offset) {
    offset = std::min(offset, text_.size());
    if (offset < byte_) {
        byte_ = 0;
        char_ = 0;
    }
    size_t paragraph = LineStartBefore(text_, offset);
    if (paragraph < byte_) paragraph = byte_;
    // Up to the paragraph start, in pieces that end after an LF (never inside a character).
    constexpr size_t kPiece = size_t{1} << 20;
    while (byte_ < paragraph) {
        size_t end = paragraph;
        if (end - byte_ > kPiece) {
            size_t lf = text_.find('\n', byte_ + kPiece);
            end = lf == std::string_view::npos || lf >= paragraph ? paragraph : lf + 1;
        }
        std::string_view piece = text_.substr(byte_, end - byte_);
        scratch_.clear();
        AppendGbkToUtf16Lossless(piece, scratch_);
        // Each CR LF is one paragraph mark to the view.
        char_ += static_cast<int64_t>(scratch_.size()) -
                 static_cast<int64_t>(std::count(piece.begin(), piece.end(), '\n'));
        byte_ = end;
    }
    // Within the paragraph: the character that holds `offset` is the last one decoded from the
    // bytes up to and including it (a lead byte alone decodes to one unit at its pair's place).
    size_t end = std::min(offset + 1, text_.size());
    std::string_view rest = text_.substr(byte_, end - byte_);
    scratch_.clear();
    AppendGbkToUtf16Lossless(rest, scratch_);
    int64_t units = static_cast<int64_t>(scratch_.size());
    int64_t position = char_ + units;
    if (offset < text_.size()) {
        position -= 1;
        if (rest.size() >= 2 && rest.substr(rest.size() - 2) == "\r\n") position -= 1;
    }
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::min(position, kMax));
}

}  // namespace brisna::detection
