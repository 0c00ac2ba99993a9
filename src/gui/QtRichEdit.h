#pragma once
// The book text view of the window: a plain-text editor with character formats, one display line
// per paragraph (the view still wraps long paragraphs visually, but a paragraph is one line to the
// program, so line numbers do not depend on the window's width).
//
// Character positions are document positions: one per UTF-16 unit of the lossless code page 936
// form, one per paragraph mark. Bytes that are no GBK character show as private-use characters and
// come back unchanged, so the text the program reads is byte for byte what it loaded.

#include <QFont>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/RichEdit.h"

namespace brisna {

class QtRichEdit : public QPlainTextEdit, public RichEdit {
    Q_OBJECT
  public:
    explicit QtRichEdit(QWidget* parent = nullptr);

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

    // SetText in two halves, for a command on a worker: the document of a big book is built
    // there (the slow part), and the view only takes it over. The look is the view's own, read on
    // the window's thread; PrepareText runs on any thread and hands the document to viewThread.
    struct DocumentLook {
        QFont font;
        QTextOption option;
        qreal margin = 0;
    };
    struct PreparedText {
        std::unique_ptr<QTextDocument> document;
        std::u16string viewText;  // one u'\r' per paragraph mark, as ViewText gives it
        std::string gbkText;      // as GetText gives it
        bool wrapAnywhere = false;
    };
    DocumentLook Look() const;
    static PreparedText PrepareText(std::string_view gbk, const DocumentLook& look,
                                    QThread* viewThread);
    // Has the effect of SetText with the text prepared. Gives back the document it showed
    // before, when it was one it had been given, for the caller to delete on any thread.
    std::unique_ptr<QTextDocument> SetPreparedText(PreparedText&& prepared);

    // The text as GetText gives it, shared rather than copied: a worker copies a big book's text
    // itself instead of making the window's thread do it. Window's thread only.
    std::shared_ptr<const std::string> SharedText() const;

    // Counts changes of the characters (not of their formats); equal values mean equal text.
    uint64_t TextGeneration() const { return generation_; }

    // While a command runs, the selections it makes are kept aside and shown once when it ends:
    // the test command selects and highlights every finding, and bringing each one into view
    // would cost more than the whole check. Calls nest.
    void BeginCommand();
    void EndCommand();
    // Shows the selection kept aside now (before a message box that talks about it).
    void ShowPendingSelection();

    // Files dropped on the text: the window opens a book it knows and ignores anything else, so
    // a file name never lands in the book text. Returns whether it takes the drop; with `open`
    // false it only answers whether it would.
    std::function<bool(const QMimeData* data, bool open)> fileDropHandler;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    // A drag of files is answered here: accepted only when the window would open it. False for
    // any other drag, which the text handles as usual.
    bool AnswerFileDrag(QDragMoveEvent* event);
    void OnContentsChange(int from, int charsRemoved, int charsAdded);
    // The text with one u'\r' per paragraph mark, built on demand and kept until the next change.
    const std::u16string& ViewText() const;
    void ScrollToLine(int32_t line);
    // Scrolls so the row holding the character position shows with some rows above it.
    void RevealWithContext(int32_t position);
    // The selection the program works on: the one kept aside during a command, else the view's.
    CharRange WorkingSelection() const;
    QTextCursor CursorFor(CharRange range) const;
    void SetWorkingCursor(const QTextCursor& cursor);
    // Applies the highlights a command asked for, all in one edit: the view then lays out each
    // paragraph once instead of once per finding.
    void ApplyPendingHighlights();

    int commandDepth_ = 0;
    std::optional<CharRange> pendingSelection_;
    std::vector<CharRange> pendingHighlights_;
    bool applyingFormats_ = false;

    mutable std::u16string viewText_;
    mutable bool viewTextValid_ = false;
    mutable std::shared_ptr<const std::string> gbkText_;
    mutable bool gbkTextValid_ = false;
    uint64_t generation_ = 0;
};

}  // namespace brisna
