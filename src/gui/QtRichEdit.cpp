#include "gui/QtRichEdit.h"

#include <QPointer>
#include <QThread>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <functional>

#include "controls/HeadlessRichEdit.h"
#include "gui/RichEditText.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {
namespace {

using richedit::GbkOfViewText;
using richedit::ToQString;
using richedit::ToU16;
using richedit::ToViewText;

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

QtRichEdit::QtRichEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(12);
    setFont(font);
    // Tab moves on to the next control; Ctrl+Tab types a tab (see keyPressEvent).
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, &QtRichEdit::OnContentsChange);
}

void QtRichEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier && !isReadOnly()) {
        insertPlainText(QStringLiteral("\t"));
        return;
    }
    // Shift+Return would insert a line break inside the paragraph, a character the book text
    // cannot hold; every Return starts a new paragraph instead.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & Qt::ShiftModifier) && !isReadOnly()) {
        QTextCursor cursor = textCursor();
        cursor.insertBlock();
        setTextCursor(cursor);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

bool QtRichEdit::AnswerFileDrag(QDragMoveEvent* event) {
    if (!event->mimeData()->hasUrls()) return false;
    if (fileDropHandler && fileDropHandler(event->mimeData(), false)) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
    return true;
}

void QtRichEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (!AnswerFileDrag(event)) QPlainTextEdit::dragEnterEvent(event);
}

void QtRichEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (!AnswerFileDrag(event)) QPlainTextEdit::dragMoveEvent(event);
}

void QtRichEdit::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    // Accepted first: opening may show message boxes, and the drag source should not wait.
    const bool taken = fileDropHandler && fileDropHandler(event->mimeData(), false);
    if (!taken) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    fileDropHandler(event->mimeData(), true);
}

bool QtRichEdit::canInsertFromMimeData(const QMimeData* source) const {
    // File names (a file copied in the file manager) are not book text.
    if (source->hasUrls()) return false;
    return QPlainTextEdit::canInsertFromMimeData(source);
}

void QtRichEdit::insertFromMimeData(const QMimeData* source) {
    if (source->hasUrls()) return;
    QPlainTextEdit::insertFromMimeData(source);
}

void QtRichEdit::OnContentsChange(int from, int charsRemoved, int charsAdded) {
    if (applyingFormats_) return;  // highlights only: the characters stay as they are
    if (!viewTextValid_) {
        ++generation_;
        gbkTextValid_ = false;
        return;
    }
    // Formatting reports a change of equal size; when the characters are still those we hold,
    // the cached text stays good (the test command highlights many words in a row).
    if (charsRemoved == charsAdded && from >= 0 &&
        static_cast<size_t>(from) + static_cast<size_t>(charsAdded) <= viewText_.size()) {
        const QTextDocument* doc = document();
        bool same = true;
        for (int i = 0; i < charsAdded && same; ++i) {
            QChar c = doc->characterAt(from + i);
            char16_t unit = c == QChar::ParagraphSeparator ? u'\r' : c.unicode();
            same = unit == viewText_[static_cast<size_t>(from + i)];
        }
        if (same) return;
    }
    ++generation_;
    viewTextValid_ = false;
    gbkTextValid_ = false;
    viewText_.clear();
    gbkText_.reset();
}

const std::u16string& QtRichEdit::ViewText() const {
    if (!viewTextValid_) {
        // toRawText keeps every character as stored (no space for no-break space), with
        // U+2029 between paragraphs.
        viewText_ = ToU16(document()->toRawText());
        std::replace(viewText_.begin(), viewText_.end(), u'\u2029', u'\r');
        // The document ends without a mark, but some versions report the final one.
        if (static_cast<int32_t>(viewText_.size()) > GetCharCount()) {
            viewText_.resize(static_cast<size_t>(GetCharCount()));
        }
        viewTextValid_ = true;
    }
    return viewText_;
}

std::string QtRichEdit::GetText() const {
    return *SharedText();
}

std::shared_ptr<const std::string> QtRichEdit::SharedText() const {
    if (!gbkTextValid_ || !gbkText_) {
        gbkText_ = std::make_shared<const std::string>(GbkOfViewText(ViewText()));
        gbkTextValid_ = true;
    }
    return gbkText_;
}

int32_t QtRichEdit::GetTextLength() const {
    return static_cast<int32_t>(SharedText()->size());
}

void QtRichEdit::BeginCommand() {
    ++commandDepth_;
}

void QtRichEdit::EndCommand() {
    if (commandDepth_ == 0 || --commandDepth_ > 0) return;
    ShowPendingSelection();
}

void QtRichEdit::ShowPendingSelection() {
    ApplyPendingHighlights();
    if (!pendingSelection_) return;
    const QTextCursor cursor = CursorFor(*pendingSelection_);
    pendingSelection_.reset();
    setTextCursor(cursor);
    ensureCursorVisible();
    RevealWithContext(cursor.selectionStart());
}

void QtRichEdit::RevealWithContext(int32_t position) {
    // A jump shows where the target starts, with a few rows above it, not just the caret at the
    // very edge of the view.
    constexpr int kContextRows = 3;
    QTextCursor start(document());
    start.setPosition(position);
    const QRect rect = cursorRect(start);
    const int row = fontMetrics().lineSpacing();
    if (rect.top() >= kContextRows * row && rect.bottom() <= viewport()->height()) return;
    const QTextBlock block = start.block();
    int visualRow = block.firstLineNumber();
    if (QTextLayout* layout = block.layout(); layout != nullptr && layout->lineCount() > 0) {
        const QTextLine line = layout->lineForTextPosition(position - block.position());
        if (line.isValid()) visualRow += line.lineNumber();
    }
    verticalScrollBar()->setValue(std::max(0, visualRow - kContextRows));
}

void QtRichEdit::ApplyPendingHighlights() {
    if (pendingHighlights_.empty()) return;
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setForeground(QColor(255, 0, 0));
    format.setBackground(QColor(255, 255, 0));
    applyingFormats_ = true;
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (const CharRange& range : pendingHighlights_) {
        cursor.setPosition(range.min);
        cursor.setPosition(range.max, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    cursor.endEditBlock();
    applyingFormats_ = false;
    pendingHighlights_.clear();
}

CharRange QtRichEdit::WorkingSelection() const {
    if (pendingSelection_) return *pendingSelection_;
    const QTextCursor cursor = textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

QTextCursor QtRichEdit::CursorFor(CharRange range) const {
    QTextCursor cursor(document());
    cursor.setPosition(range.min);
    cursor.setPosition(range.max, QTextCursor::KeepAnchor);
    return cursor;
}

void QtRichEdit::SetWorkingCursor(const QTextCursor& cursor) {
    if (commandDepth_ > 0) {
        pendingSelection_ = CharRange{cursor.selectionStart(), cursor.selectionEnd()};
        return;
    }
    setTextCursor(cursor);
    ensureCursorVisible();
    RevealWithContext(cursor.selectionStart());
}

int32_t QtRichEdit::GetLineCount() const {
    return document()->blockCount();
}

int32_t QtRichEdit::LineIndex(int32_t line) const {
    if (line == -1) line = LineFromChar(-1);  // the platform's "current line"
    if (line < 0 || line >= GetLineCount()) return -1;
    return document()->findBlockByNumber(line).position();
}

std::string QtRichEdit::GetLine(int32_t line) const {
    if (line < 0 || line >= GetLineCount()) return {};
    QTextBlock block = document()->findBlockByNumber(line);
    std::string bytes = Utf16ToGbkLossless(ToU16(block.text()));
    if (block.next().isValid()) bytes.push_back('\r');
    return bytes;
}

int32_t QtRichEdit::GetCharCount() const {
    return document()->characterCount() - 1;
}

CharRange QtRichEdit::GetSelection() const {
    return WorkingSelection();
}

void QtRichEdit::SetSelection(CharRange range) {
    int32_t count = GetCharCount();
    int32_t min = std::clamp(range.min, 0, count);
    int32_t max = range.max < 0 ? count : std::min(range.max, count);
    if (min > max) std::swap(min, max);
    if (commandDepth_ > 0) {
        pendingSelection_ = CharRange{min, max};  // placed and shown when the command ends
        return;
    }
    SetWorkingCursor(CursorFor({min, max}));
}

int32_t QtRichEdit::LineFromChar(int32_t charPosition) const {
    int32_t position = charPosition < 0 ? WorkingSelection().min : charPosition;
    position = std::clamp(position, 0, GetCharCount());
    return document()->findBlock(position).blockNumber();
}

namespace {
constexpr size_t kShortNeedleUnits = 64;
}  // namespace

CharRange QtRichEdit::FindText(CharRange range, std::string_view gbk) const {
    constexpr CharRange kNotFound{-1, -1};
    const std::u16string needle = ToViewText(gbk);
    const std::u16string& text = ViewText();
    const int32_t count = static_cast<int32_t>(text.size());
    if (needle.empty() || range.min < 0 || range.min > count) return kNotFound;
    const int32_t limit = range.max < 0 ? count : std::min(range.max, count);
    if (limit - range.min < static_cast<int32_t>(needle.size())) return kNotFound;

    if (needle.size() > kShortNeedleUnits) {
        // Horspool's skips can degrade to a compare at every start; long needles take the linear
        // search the headless view uses.
        const size_t found = FindFoldedLinear(text, static_cast<size_t>(range.min),
                                              static_cast<size_t>(limit), needle);
        if (found == std::u16string::npos) return kNotFound;
        const int32_t start = static_cast<int32_t>(found);
        return {start, start + static_cast<int32_t>(needle.size())};
    }
    auto first = text.begin() + range.min;
    auto last = text.begin() + limit;
    std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end(), FoldedHash{},
                                                FoldedEqual{});
    auto found = searcher(first, last).first;
    if (found == last) return kNotFound;
    int32_t start = static_cast<int32_t>(found - text.begin());
    return {start, start + static_cast<int32_t>(needle.size())};
}

void QtRichEdit::ReplaceSelection(std::string_view gbk) {
    std::u16string text = ToViewText(gbk);
    std::replace(text.begin(), text.end(), u'\r', u'\n');
    // Highlights asked for so far refer to the text before this change.
    ApplyPendingHighlights();
    QTextCursor cursor = CursorFor(WorkingSelection());
    // Not undoable: the replacement goes past the undo stack.
    const bool undo = document()->isUndoRedoEnabled();
    document()->setUndoRedoEnabled(false);
    // The new characters get the plain format: a highlight at the end of the old selection must
    // not spread over everything that replaces it.
    cursor.insertText(ToQString(text), QTextCharFormat());
    document()->setUndoRedoEnabled(undo);
    SetWorkingCursor(cursor);
}

void QtRichEdit::ApplyHighlightToSelection() {
    if (commandDepth_ > 0) {
        const CharRange range = WorkingSelection();
        if (range.min < range.max) pendingHighlights_.push_back(range);
        return;
    }
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) return;
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setForeground(QColor(255, 0, 0));
    format.setBackground(QColor(255, 255, 0));
    cursor.mergeCharFormat(format);
}

int32_t QtRichEdit::GetFirstVisibleLine() const {
    return firstVisibleBlock().blockNumber();
}

void QtRichEdit::ScrollLines(int32_t lines) {
    int64_t target = static_cast<int64_t>(GetFirstVisibleLine()) + lines;
    ScrollToLine(static_cast<int32_t>(std::clamp<int64_t>(target, 0, GetLineCount() - 1)));
}

void QtRichEdit::ScrollToLine(int32_t line) {
    // The scroll bar counts visual rows; a paragraph's first row is its first line number.
    QTextBlock block = document()->findBlockByNumber(line);
    if (block.isValid()) verticalScrollBar()->setValue(block.firstLineNumber());
}

void QtRichEdit::SetFocus() {
    setFocus(Qt::OtherFocusReason);
}

}  // namespace brisna
