#include "controls/HeadlessRichEdit.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "controls/HeadlessListBox.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {
namespace {

// GBK bytes as the view stores them: up to the first NUL (the text arrives as a C string on the
// platform), each paragraph mark (CR LF, lone CR or lone LF) as one u'\r'.
std::u16string ToViewText(std::string_view gbk) {
    gbk = UpToNul(gbk);
    std::string marks;
    marks.reserve(gbk.size());
    for (size_t i = 0; i < gbk.size(); ++i) {
        char byte = gbk[i];
        if (byte == '\r') {
            if (i + 1 < gbk.size() && gbk[i + 1] == '\n') ++i;
            marks.push_back('\r');
        } else if (byte == '\n') {
            marks.push_back('\r');
        } else {
            marks.push_back(byte);
        }
    }
    // CR and LF are never trail bytes, so rewriting them cannot change how the rest pairs up.
    return GbkToUtf16Lossless(marks);
}

char16_t FoldLatin(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

struct FoldedHash {
    size_t operator()(char16_t unit) const { return std::hash<char16_t>{}(FoldLatin(unit)); }
};
struct FoldedEqual {
    bool operator()(char16_t a, char16_t b) const { return FoldLatin(a) == FoldLatin(b); }
};

}  // namespace

HeadlessRichEdit::HeadlessRichEdit(int32_t wrapColumns) : wrapColumns_(std::max(0, wrapColumns)) {
    Rewrap();
}

std::string HeadlessRichEdit::GetText() const {
    if (!gbkCacheValid_) {
        std::string bytes = Utf16ToGbkLossless(text_);
        size_t marks = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
        gbkCache_.clear();
        gbkCache_.reserve(bytes.size() + marks);
        for (char byte : bytes) {
            gbkCache_.push_back(byte);
            if (byte == '\r') gbkCache_.push_back('\n');
        }
        gbkCacheValid_ = true;
    }
    return gbkCache_;
}

int32_t HeadlessRichEdit::GetTextLength() const {
    if (!gbkCacheValid_) GetText();
    return static_cast<int32_t>(gbkCache_.size());
}

void HeadlessRichEdit::SetText(std::string_view gbk) {
    text_ = ToViewText(gbk);
    selection_ = {};
    firstVisibleLine_ = 0;
    highlights_.clear();
    TextChanged();
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
    int32_t start = lineStarts_[line];
    int32_t end = line + 1 < GetLineCount() ? lineStarts_[line + 1] : CharCount();
    // A paragraph mark converts to the single CR the line fetch reports.
    return Utf16ToGbkLossless(std::u16string_view(text_).substr(start, end - start));
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

CharRange HeadlessRichEdit::FindText(CharRange range, std::string_view gbk) const {
    constexpr CharRange kNotFound{-1, -1};
    std::u16string needle = ToViewText(gbk);
    int32_t count = CharCount();
    if (needle.empty() || range.min < 0 || range.min > count) return kNotFound;
    int32_t limit = range.max < 0 ? count : std::min(range.max, count);
    if (limit - range.min < static_cast<int32_t>(needle.size())) return kNotFound;

    auto first = text_.begin() + range.min;
    auto last = text_.begin() + limit;
    std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end(), FoldedHash{},
                                                FoldedEqual{});
    auto found = searcher(first, last).first;
    if (found == last) return kNotFound;
    int32_t start = static_cast<int32_t>(found - text_.begin());
    return {start, start + static_cast<int32_t>(needle.size())};
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
    int32_t column = 0;
    for (int32_t i = 0; i < count; ++i) {
        char16_t unit = text_[i];
        if (unit == u'\r') {
            lineStarts_.push_back(i + 1);
            column = 0;
            continue;
        }
        if (wrapColumns_ > 0) {
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
    gbkCacheValid_ = false;
    gbkCache_.clear();
    Rewrap();
}

}  // namespace brisna
