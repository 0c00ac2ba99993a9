// Traditional -> Simplified conversion of the whole book text in the view.

#include "controls/CMyRECtrl.h"
#include "text/TraditionalToSimplified.h"

namespace brisna {
namespace {

// Where replacing every non-blank display line in turn would leave the caret: after the last
// line replaced, or nowhere (-1) when every line is blank. The last display line is replaced
// from its start to the end of the text unless the text length minus its start is 1.
// A blank line is one whose fetch is the paragraph mark alone: a wrapped display line of a
// single character is one character long too, but it must still be converted.
int32_t CaretAfterLineByLineReplacement(const RichEdit& view) {
    const int32_t lines = view.GetLineCount();
    const int32_t lastStart = view.LineIndex(lines - 1);
    if (view.GetTextLength() - lastStart != 1) return view.GetCharCount();
    for (int32_t line = lines - 2; line >= 0; --line) {
        if (view.GetLine(line) != "\r") return view.LineIndex(line + 1);
    }
    return -1;
}

}  // namespace

void CMyRECtrl::ConvertToSimplified() {
    // Every character maps to one of the same byte length, and display lines begin and end on
    // character boundaries, so converting line by line gives exactly the whole text converted
    // at once. Replacing the text once keeps a 10 MiB book from costing one full re-layout of
    // the view per line.
    const int32_t caret = CaretAfterLineByLineReplacement(view_);
    const std::string text = view_.GetText();
    const std::string converted = TraditionalToSimplified(text);
    if (converted != text) {
        view_.SetSelection({0, -1});
        view_.ReplaceSelection(converted);
    }
    if (caret >= 0) view_.SetSelection({caret, caret});
    RebuildLineTable();
}

}  // namespace brisna
