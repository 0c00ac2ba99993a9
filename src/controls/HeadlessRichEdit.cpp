#include "controls/HeadlessRichEdit.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "controls/HeadlessListBox.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {
namespace {

// The first unit at or after `at` that equals `a` or `b`; `end` when there is none.
const char16_t* FindEitherUnit(const char16_t* at, const char16_t* end, char16_t a, char16_t b) {
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi16(static_cast<short>(a));
    const __m128i wantB = _mm_set1_epi16(static_cast<short>(b));
    while (end - at >= 8) {
        __m128i units;
        std::memcpy(&units, at, sizeof units);
        __m128i hits = _mm_or_si128(_mm_cmpeq_epi16(units, wantA), _mm_cmpeq_epi16(units, wantB));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0) return at + (std::countr_zero(mask) / 2);
        at += 8;
    }
#endif
    for (; at < end; ++at) {
        if (*at == a || *at == b) return at;
    }
    return end;
}

// The first position p at or after `at` and before `end` where p holds `a` or `b` and
// p + distance holds `c` or `d` (those units must exist for every p before `end`).
const char16_t* FindEitherPair(const char16_t* at, const char16_t* end, size_t distance, char16_t a,
                               char16_t b, char16_t c, char16_t d) {
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi16(static_cast<short>(a));
    const __m128i wantB = _mm_set1_epi16(static_cast<short>(b));
    const __m128i wantC = _mm_set1_epi16(static_cast<short>(c));
    const __m128i wantD = _mm_set1_epi16(static_cast<short>(d));
    while (end - at >= 8) {
        __m128i units;
        __m128i later;
        std::memcpy(&units, at, sizeof units);
        std::memcpy(&later, at + distance, sizeof later);
        __m128i firsts = _mm_or_si128(_mm_cmpeq_epi16(units, wantA), _mm_cmpeq_epi16(units, wantB));
        __m128i lasts = _mm_or_si128(_mm_cmpeq_epi16(later, wantC), _mm_cmpeq_epi16(later, wantD));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(firsts, lasts)));
        if (mask != 0) return at + (std::countr_zero(mask) / 2);
        at += 8;
    }
#endif
    for (; at < end; ++at) {
        if ((at[0] == a || at[0] == b) && (at[distance] == c || at[distance] == d)) return at;
    }
    return end;
}

// True when every CR of the text is followed by an LF and every LF follows a CR. The text may
// hold no NUL (it has been cut at the first one).
bool IsCrLfOnly(std::string_view gbk) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(gbk.data());
    const size_t size = gbk.size();
    size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: the LFs must sit exactly one after the CRs. A CR in the last
    // byte of a chunk hands its LF on to the next chunk.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    unsigned carried = 0;
    for (; size - i >= 16; i += 16) {
        __m128i chunk;
        std::memcpy(&chunk, bytes + i, sizeof chunk);
        unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, cr)));
        unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lf)));
        if (lfs != (((crs << 1) | carried) & 0xFFFF)) return false;
        carried = crs >> 15;
    }
    if (carried != 0 && (i == size || bytes[i] != '\n')) return false;
    if (carried != 0) ++i;  // that LF belongs to the pair just checked
#endif
    for (; i < size; ++i) {
        if (bytes[i] == '\n') return false;  // pairs are stepped over whole
        if (bytes[i] == '\r') {
            if (i + 1 == size || bytes[i + 1] != '\n') return false;
            ++i;
        }
    }
    return true;
}

// The text with every paragraph mark (CR LF, lone CR, lone LF) written as CR LF, up to the first
// NUL (the text arrives as a C string on the platform). Most books already are in that form.
std::string ToCrLfText(std::string_view gbk) {
    gbk = UpToNul(gbk);
    if (IsCrLfOnly(gbk)) return std::string(gbk);
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 8);
    for (size_t i = 0; i < gbk.size(); ++i) {
        char byte = gbk[i];
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r' && i + 1 < gbk.size() && gbk[i + 1] == '\n') ++i;
            out += "\r\n";
        } else {
            out.push_back(byte);
        }
    }
    return out;
}

// The view's UTF-16 form of CR LF text: each pair becomes one u'\r'. CR and LF are never trail
// bytes, so decoding paragraph by paragraph pairs the bytes exactly as one decode would.
std::u16string CrLfTextToView(std::string_view crlf) {
    std::u16string out;
    out.reserve(crlf.size());
    size_t from = 0;
    for (size_t mark = crlf.find('\r'); mark != std::string_view::npos;
         mark = crlf.find('\r', from)) {
        AppendGbkToUtf16Lossless(crlf.substr(from, mark - from), out);
        out.push_back(u'\r');
        from = mark + 2;
    }
    AppendGbkToUtf16Lossless(crlf.substr(from), out);
    return out;
}

std::u16string ToViewText(std::string_view gbk) {
    return CrLfTextToView(ToCrLfText(gbk));
}

char16_t FoldLatin(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

char16_t OtherLatinCase(char16_t unit) {
    if (unit >= u'A' && unit <= u'Z') return static_cast<char16_t>(unit + (u'a' - u'A'));
    if (unit >= u'a' && unit <= u'z') return static_cast<char16_t>(unit - (u'a' - u'A'));
    return unit;
}

}  // namespace

HeadlessRichEdit::HeadlessRichEdit(int32_t wrapColumns) : wrapColumns_(std::max(0, wrapColumns)) {
    Rewrap();
}

std::string HeadlessRichEdit::GetText() const {
    EnsureGbk();
    return gbk_;
}

int32_t HeadlessRichEdit::GetTextLength() const {
    EnsureGbk();
    return static_cast<int32_t>(gbk_.size());
}

void HeadlessRichEdit::SetText(std::string_view gbk) {
    gbk_ = ToCrLfText(gbk);
    if (wrapColumns_ == 0) {
        // Display lines are paragraphs: their starts come out of the decoding itself.
        lineStarts_.assign(1, 0);
        lineByteStarts_.assign(1, 0);
        text_ = GbkCrLfToUtf16Lossless(gbk_, lineStarts_, lineByteStarts_);
    } else {
        text_ = CrLfTextToView(gbk_);
    }
    selection_ = {};
    firstVisibleLine_ = 0;
    highlights_.clear();
    // The lossless decoding gives back exactly these bytes, so the GBK form needs no rebuild.
    gbkValid_ = true;
    if (wrapColumns_ != 0) Rewrap();
}

int32_t HeadlessRichEdit::GetLineCount() const {
    return static_cast<int32_t>(lineStarts_.size());
}

int32_t HeadlessRichEdit::LineIndex(int32_t line) const {
    if (line == -1) line = LineOfPosition(selection_.min);  // the platform's "current line"
    if (line < 0 || line >= GetLineCount()) return -1;
    return lineStarts_[line];
}

std::string HeadlessRichEdit::GetLine(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return {};
    EnsureGbk();
    const size_t index = static_cast<size_t>(line);
    const bool last = index + 1 == lineByteStarts_.size();
    size_t start = lineByteStarts_[index];
    size_t end = last ? gbk_.size() : lineByteStarts_[index + 1];
    // A paragraph mark is reported as a single CR.
    int32_t endChar = last ? CharCount() : lineStarts_[index + 1];
    if (endChar > lineStarts_[index] && text_[static_cast<size_t>(endChar) - 1] == u'\r') --end;
    return gbk_.substr(start, end - start);
}

int32_t HeadlessRichEdit::GetCharCount() const {
    return CharCount();
}

CharRange HeadlessRichEdit::GetSelection() const {
    return selection_;
}

void HeadlessRichEdit::SetSelection(CharRange range) {
    int32_t count = CharCount();
    int32_t min = std::clamp(range.min, 0, count);
    int32_t max = range.max < 0 ? count : std::min(range.max, count);
    if (min > max) std::swap(min, max);
    selection_ = {min, max};
    ScrollIntoView(LineOfPosition(max));
}

int32_t HeadlessRichEdit::LineFromChar(int32_t charPosition) const {
    return LineOfPosition(charPosition < 0 ? selection_.min : charPosition);
}

namespace {
// Longer needles are searched in one linear pass rather than by candidates.
constexpr size_t kShortNeedleUnits = 64;
}  // namespace

size_t FindFoldedLinear(std::u16string_view text, size_t from, size_t limit,
                        std::u16string needle) {
    // Knuth-Morris-Pratt over the folded units: a long needle near-matched at many starts would
    // otherwise be compared anew at each.
    for (char16_t& unit : needle) unit = FoldLatin(unit);
    std::vector<size_t> border(needle.size() + 1, 0);
    for (size_t i = 1, k = 0; i < needle.size(); ++i) {
        while (k > 0 && needle[i] != needle[k]) k = border[k];
        if (needle[i] == needle[k]) ++k;
        border[i + 1] = k;
    }
    limit = std::min(limit, text.size());
    for (size_t i = from, k = 0; i < limit && !needle.empty(); ++i) {
        const char16_t unit = FoldLatin(text[i]);
        while (k > 0 && unit != needle[k]) k = border[k];
        if (unit == needle[k]) ++k;
        if (k == needle.size()) return i + 1 - k;
    }
    return std::u16string_view::npos;
}

CharRange HeadlessRichEdit::FindText(CharRange range, std::string_view gbk) const {
    constexpr CharRange kNotFound{-1, -1};
    std::u16string needle = ToViewText(gbk);
    int32_t count = CharCount();
    if (needle.empty() || range.min < 0 || range.min > count) return kNotFound;
    int32_t limit = range.max < 0 ? count : std::min(range.max, count);
    if (limit - range.min < static_cast<int32_t>(needle.size())) return kNotFound;

    if (needle.size() > kShortNeedleUnits) {
        const size_t found = FindFoldedLinear(text_, static_cast<size_t>(range.min),
                                              static_cast<size_t>(limit), needle);
        if (found == std::u16string_view::npos) return kNotFound;
        const int32_t start = static_cast<int32_t>(found);
        return {start, start + static_cast<int32_t>(needle.size())};
    }

    // Candidates are found by their first and last units (either Latin case), the rest compared
    // folded.
    const char16_t first = needle[0];
    const char16_t firstOther = OtherLatinCase(first);
    const size_t tail = needle.size() - 1;
    const char16_t* begin = text_.data();
    const char16_t* at = begin + range.min;
    const char16_t* lastStart = begin + (limit - static_cast<int32_t>(needle.size())) + 1;
    auto nextCandidate = [&](const char16_t* from) {
        if (tail == 0) return FindEitherUnit(from, lastStart, first, firstOther);
        return FindEitherPair(from, lastStart, tail, first, firstOther, needle[tail],
                              OtherLatinCase(needle[tail]));
    };
    while ((at = nextCandidate(at)) != lastStart) {
        size_t k = 0;
        while (k < tail && FoldLatin(at[k + 1]) == FoldLatin(needle[k + 1])) ++k;
        if (k == tail) {
            int32_t start = static_cast<int32_t>(at - begin);
            return {start, start + static_cast<int32_t>(needle.size())};
        }
        ++at;
    }
    return kNotFound;
}

void HeadlessRichEdit::ReplaceSelection(std::string_view gbk) {
    std::u16string inserted = ToViewText(gbk);
    text_.replace(selection_.min, selection_.max - selection_.min, inserted);
    int32_t caret = selection_.min + static_cast<int32_t>(inserted.size());
    selection_ = {caret, caret};
    TextChanged();
    ScrollIntoView(LineOfPosition(caret));
}

void HeadlessRichEdit::ApplyHighlightToSelection() {
    // An empty selection formats no character, so there is nothing to record.
    if (selection_.max > selection_.min) highlights_.push_back(selection_);
}

int32_t HeadlessRichEdit::GetFirstVisibleLine() const {
    return firstVisibleLine_;
}

void HeadlessRichEdit::ScrollLines(int32_t lines) {
    int64_t target = static_cast<int64_t>(firstVisibleLine_) + lines;
    firstVisibleLine_ = static_cast<int32_t>(std::clamp<int64_t>(target, 0, GetLineCount() - 1));
}

void HeadlessRichEdit::SetFocus() {
    focusStamp_ = NextFocusStamp();
}

void HeadlessRichEdit::SetWrapColumns(int32_t columns) {
    wrapColumns_ = std::max(0, columns);
    Rewrap();
}

void HeadlessRichEdit::Rewrap() {
    lineStarts_.assign(1, 0);
    const int32_t count = CharCount();
    if (wrapColumns_ == 0) {
        const char16_t* begin = text_.data();
        const char16_t* end = begin + count;
        for (const char16_t* mark = FindEitherUnit(begin, end, u'\r', u'\r'); mark != end;
             mark = FindEitherUnit(mark + 1, end, u'\r', u'\r')) {
            lineStarts_.push_back(static_cast<int32_t>(mark - begin) + 1);
        }
    } else {
        int32_t column = 0;
        for (int32_t i = 0; i < count; ++i) {
            char16_t unit = text_[i];
            if (unit == u'\r') {
                lineStarts_.push_back(i + 1);
                column = 0;
                continue;
            }
            int32_t width = static_cast<int32_t>(GbkLosslessByteCount(unit));
            // A character wider than the whole line still gets a line of its own.
            if (column > 0 && column + width > wrapColumns_) {
                lineStarts_.push_back(i);
                column = 0;
            }
            column += width;
        }
    }
    firstVisibleLine_ = std::clamp(firstVisibleLine_, 0, GetLineCount() - 1);
    if (gbkValid_) ComputeLineByteStarts();
}

void HeadlessRichEdit::EnsureGbk() const {
    if (gbkValid_) return;
    std::string bytes = Utf16ToGbkLossless(text_);
    size_t marks = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
    gbk_.clear();
    gbk_.reserve(bytes.size() + marks);
    for (char byte : bytes) {
        gbk_.push_back(byte);
        if (byte == '\r') gbk_.push_back('\n');
    }
    gbkValid_ = true;
    ComputeLineByteStarts();
}

void HeadlessRichEdit::ComputeLineByteStarts() const {
    lineByteStarts_.assign(1, 0);
    lineByteStarts_.reserve(lineStarts_.size());
    if (wrapColumns_ == 0) {
        // Display lines are paragraphs, and every CR of the GBK form is a paragraph mark.
        for (size_t mark = gbk_.find('\r'); mark != std::string::npos;
             mark = gbk_.find('\r', mark + 2)) {
            lineByteStarts_.push_back(static_cast<uint32_t>(mark + 2));
        }
        return;
    }
    size_t bytes = 0;
    size_t next = 1;
    for (size_t i = 0; i < text_.size() && next < lineStarts_.size(); ++i) {
        char16_t unit = text_[i];
        bytes += unit == u'\r' ? 2 : GbkLosslessByteCount(unit);
        if (static_cast<int32_t>(i) + 1 == lineStarts_[next]) {
            lineByteStarts_.push_back(static_cast<uint32_t>(bytes));
            ++next;
        }
    }
}

int32_t HeadlessRichEdit::LineOfPosition(int32_t position) const {
    position = std::clamp(position, 0, CharCount());
    auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position);
    return static_cast<int32_t>(after - lineStarts_.begin()) - 1;
}

void HeadlessRichEdit::ScrollIntoView(int32_t line) {
    int32_t visible = std::max(1, visibleLines_);
    if (line < firstVisibleLine_) {
        firstVisibleLine_ = line;
    } else if (line >= firstVisibleLine_ + visible) {
        firstVisibleLine_ = line - visible + 1;
    }
}

void HeadlessRichEdit::TextChanged() {
    gbkValid_ = false;
    gbk_.clear();
    lineByteStarts_.clear();
    Rewrap();
}

}  // namespace brisna
