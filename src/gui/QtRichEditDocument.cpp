#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QThread>
#include <algorithm>

#include "gui/QtRichEdit.h"
#include "gui/RichEditText.h"

// Putting a whole text into the editor: at once, or in two halves with the document built off
// the window's thread.
namespace brisna {

using richedit::GbkOfViewText;
using richedit::kLongParagraphUnits;
using richedit::LongestParagraph;
using richedit::ToQString;
using richedit::ToViewText;

QtRichEdit::DocumentLook QtRichEdit::Look() const {
    return {document()->defaultFont(), document()->defaultTextOption(),
            document()->documentMargin()};
}

QtRichEdit::PreparedText QtRichEdit::PrepareText(std::string_view gbk, const DocumentLook& look,
                                                 QThread* viewThread) {
    PreparedText prepared;
    prepared.viewText = ToViewText(gbk);
    std::u16string text = prepared.viewText;
    std::replace(text.begin(), text.end(), u'\r', u'\n');
    const size_t longest = LongestParagraph(text);
    prepared.wrapAnywhere = longest > kLongParagraphUnits;
    auto document = std::make_unique<QTextDocument>();
    document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
    document->setDefaultFont(look.font);
    QTextOption option = look.option;
    option.setWrapMode(prepared.wrapAnywhere ? QTextOption::WrapAnywhere
                                             : QTextOption::WrapAtWordBoundaryOrAnywhere);
    document->setDefaultTextOption(option);
    document->setDocumentMargin(look.margin);
    document->setPlainText(ToQString(text));
    document->clearUndoRedoStacks();
    // The view lays each paragraph out again when it takes the document over; the layout objects
    // it needs for that are made here rather than on the window's thread.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        block.layout();
    }
    prepared.gbkText = GbkOfViewText(prepared.viewText);
    document->moveToThread(viewThread);
    prepared.document = std::move(document);
    return prepared;
}

std::unique_ptr<QTextDocument> QtRichEdit::SetPreparedText(PreparedText&& prepared) {
    // The editor deletes a document it made itself; one it was given is ours to delete.
    QPointer<QTextDocument> old = document();
    QTextDocument* taken = prepared.document.release();
    taken->setParent(this);

    setDocument(taken);
    setWordWrapMode(prepared.wrapAnywhere ? QTextOption::WrapAnywhere
                                          : QTextOption::WrapAtWordBoundaryOrAnywhere);
    connect(taken, &QTextDocument::contentsChange, this, &QtRichEdit::OnContentsChange);
    std::unique_ptr<QTextDocument> replaced;
    if (!old.isNull() && old != taken) {
        // Its owner may be another thread from now on (taking a big book apart takes a while).
        disconnect(old, nullptr, this, nullptr);
        old->setParent(nullptr);
        old->moveToThread(nullptr);
        replaced.reset(old.data());
    }
    if (prepared.wrapAnywhere) {
        for (QTextBlock block = taken->begin(); block.isValid(); block = block.next()) {
            if (static_cast<size_t>(block.length()) > kLongParagraphUnits) {
                block.layout()->setCacheEnabled(true);
            }
        }
    }
    ++generation_;
    viewText_ = std::move(prepared.viewText);
    viewTextValid_ = true;
    gbkText_ = std::make_shared<const std::string>(std::move(prepared.gbkText));
    gbkTextValid_ = true;
    QTextCursor cursor(taken);
    pendingSelection_.reset();
    pendingHighlights_.clear();
    setTextCursor(cursor);
    verticalScrollBar()->setValue(0);
    return replaced;
}

void QtRichEdit::SetText(std::string_view gbk) {
    std::u16string text = ToViewText(gbk);
    std::replace(text.begin(), text.end(), u'\r', u'\n');
    // Looking for a word boundary in a paragraph that has none goes over the rest of the
    // paragraph for every display line: a megabyte on one line froze the window for a minute.
    // Books with such paragraphs wrap anywhere; the positions of the characters stay the same.
    const size_t longest = LongestParagraph(text);
    const QTextOption::WrapMode wrap = longest > kLongParagraphUnits
                                           ? QTextOption::WrapAnywhere
                                           : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != wrap) {
        document()->setPlainText(QString());  // not the old text laid out again in the new mode
        setWordWrapMode(wrap);
    }
    // Straight to the document: it drops every old format, where the editor's own setPlainText
    // would give the whole new text the format at the old caret (a highlight, say).
    document()->setPlainText(ToQString(text));
    document()->clearUndoRedoStacks();
    if (wrap == QTextOption::WrapAnywhere) {
        // Without a cache the glyphs of a paragraph are thrown away after every paint, and an
        // overlong one was shaped anew for each page scrolled.
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            if (static_cast<size_t>(block.length()) > kLongParagraphUnits) {
                block.layout()->setCacheEnabled(true);
            }
        }
    }
    QTextCursor cursor(document());
    // Whatever a command meant to show belonged to the old text.
    pendingSelection_.reset();
    pendingHighlights_.clear();
    setTextCursor(cursor);
    verticalScrollBar()->setValue(0);
}

}  // namespace brisna
