#pragma once
// What the program asks of the book text view. The window implements it with a Qt text editor,
// the command line and the tests with HeadlessRichEdit.
//
// Text model: a sequence of characters; a GBK double-byte character is one character, and each
// paragraph mark counts as one character. The whole text, as GetText returns it, is GBK bytes with
// every paragraph mark written as CR LF; byte offsets always refer to that form. The view wraps
// paragraphs into display lines; line numbers count display lines from 0, and a blank line is a
// display line holding only the paragraph mark.

#include <cstdint>
#include <string>
#include <string_view>

namespace brisna {

// A range of character positions, [min, max). A max of -1 in a search range means "to the end".
struct CharRange {
    int32_t min = 0;
    int32_t max = 0;
    friend bool operator==(const CharRange&, const CharRange&) = default;
};

class RichEdit {
  public:
    virtual ~RichEdit() = default;

    // The whole text, GBK with CR LF paragraph ends, and its length in bytes in that form.
    virtual std::string GetText() const = 0;
    virtual int32_t GetTextLength() const = 0;
    // Replaces the whole text. CR LF, and a lone LF, start a new paragraph (a lone CR too).
    // The selection goes to {0, 0}; highlighting is dropped with the old text.
    virtual void SetText(std::string_view gbk) = 0;

    // Number of display lines, at least 1.
    virtual int32_t GetLineCount() const = 0;
    // Character position of the first character of a display line; -1 for a line past the end.
    virtual int32_t LineIndex(int32_t line) const = 0;
    // The characters of a display line in GBK, and for the last display line of a paragraph one
    // CR for the paragraph mark. No NUL is added. Empty for a line past the end.
    virtual std::string GetLine(int32_t line) const = 0;
    // Number of characters, each paragraph mark counted once.
    virtual int32_t GetCharCount() const = 0;

    virtual CharRange GetSelection() const = 0;
    // Sets the selection (an empty range places the caret) and brings it into view. Positions
    // are clamped to the text; a max of -1 selects to the end.
    virtual void SetSelection(CharRange range) = 0;
    // The display line that holds a character position; for -1 the line of the caret, or of the
    // selection's start when there is a selection.
    virtual int32_t LineFromChar(int32_t charPosition) const = 0;
    // Forward search: the first match that starts at or after range.min and ends at or before
    // range.max (-1: the end of the text). Case-insensitive for Latin letters only, never a whole
    // word search. The text is GBK; its CR LF pairs match paragraph marks. {-1, -1} when none.
    virtual CharRange FindText(CharRange range, std::string_view gbk) const = 0;
    // Replaces the selection with GBK text (not undoable); the caret ends after the new text.
    virtual void ReplaceSelection(std::string_view gbk) = 0;
    // Applies the highlight format (bold, red on yellow) to the selected characters.
    virtual void ApplyHighlightToSelection() = 0;

    virtual int32_t GetFirstVisibleLine() const = 0;
    // Scrolls the view by a number of display lines (negative: up).
    virtual void ScrollLines(int32_t lines) = 0;
    virtual void SetFocus() = 0;
};

}  // namespace brisna
