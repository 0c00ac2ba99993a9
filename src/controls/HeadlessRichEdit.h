#pragma once
// The text view without a window, with every operation behaving as RichEdit.h states. By
// default each paragraph is one display line; with a wrap width (in columns: one per one-byte
// character, two per double-byte character) long paragraphs wrap, as in a narrow window.
// Character positions are those of the lossless UTF-16 form of the text (one per GBK character,
// one per byte that is no GBK character, one per paragraph mark), the same as in the window.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "controls/RichEdit.h"

namespace brisna {

// The first place in text[from, limit) where needle stands, Latin letters compared without
// case as FindText compares them; npos for none. Linear in both lengths, for long needles.
size_t FindFoldedLinear(std::u16string_view text, size_t from, size_t limit, std::u16string needle);

class HeadlessRichEdit : public RichEdit {
  public:
    explicit HeadlessRichEdit(int32_t wrapColumns = 0);

    std::string GetText() const override;
    int32_t GetTextLength() const override;
    void SetText(std::string_view gbk) override;
    int32_t GetLineCount() const override;
    int32_t LineIndex(int32_t line) const override;
    std::string GetLine(int32_t line) const override;
    int32_t GetCharCount() const override;
    CharRange GetSelection() const override;
    void SetSelection(CharRange range) override;
    int32_t LineFromChar(int32_t charPosition) const override;
    CharRange FindText(CharRange range, std::string_view gbk) const override;
    void ReplaceSelection(std::string_view gbk) override;
    void ApplyHighlightToSelection() override;
    int32_t GetFirstVisibleLine() const override;
    void ScrollLines(int32_t lines) override;
    void SetFocus() override;

    // Changes the wrap width (0: no wrapping), as a resize of the window would.
    void SetWrapColumns(int32_t columns);
    // Every range the highlight format was applied to, in order.
    const std::vector<CharRange>& HighlightedRanges() const { return highlights_; }
    // See HeadlessListBox::FocusStamp.
    uint64_t FocusStamp() const { return focusStamp_; }
    // Number of visible lines the view pretends to show (for scrolling).
    void SetVisibleLines(int32_t lines) { visibleLines_ = lines; }

  private:
    void Rewrap();
    int32_t CharCount() const { return static_cast<int32_t>(text_.size()); }
    int32_t LineOfPosition(int32_t position) const;
    void ScrollIntoView(int32_t line);
    void TextChanged();
    // Makes gbk_ and lineByteStarts_ match text_ and lineStarts_.
    void EnsureGbk() const;
    void ComputeLineByteStarts() const;

    std::u16string text_;              // lossless UTF-16, one u'\r' per paragraph mark
    std::vector<int32_t> lineStarts_;  // character position of each display line
    int32_t wrapColumns_ = 0;
    CharRange selection_{};
    int32_t firstVisibleLine_ = 0;
    int32_t visibleLines_ = 30;
    std::vector<CharRange> highlights_;
    uint64_t focusStamp_ = 0;
    // The GBK form (CR LF paragraph marks) and the byte offset of every display line in it.
    // Commands read the whole text and fetch lines far more often than they change the text, so
    // both are kept; SetText fills them straight from its input, an edit rebuilds them on demand.
    mutable std::string gbk_;
    mutable std::vector<uint32_t> lineByteStarts_;
    mutable bool gbkValid_ = false;
};

}  // namespace brisna
