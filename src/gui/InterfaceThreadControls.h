#pragma once
// The window's text view, lists, operator and frame as a command running on a worker sees them:
// each call runs on the window's thread (see InterfaceThread.h), in the order the command makes
// it, so the command does exactly what it does when the window runs it itself.

#include <QObject>
#include <functional>

#include "app/WindowFrame.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"
#include "controls/RichEdit.h"

namespace brisna {

class QtRichEdit;

class InterfaceThreadRichEdit : public RichEdit {
  public:
    explicit InterfaceThreadRichEdit(QtRichEdit& view) : view_(view) {}

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

  private:
    QtRichEdit& view_;
};

class InterfaceThreadListBox : public ListBox {
  public:
    // `list` is a widget too (QObject): the calls run on its thread.
    InterfaceThreadListBox(ListBox& list, QObject& widget) : list_(list), widget_(widget) {}

    int32_t GetCount() const override;
    int32_t GetCaretIndex() const override;
    int32_t GetSelCount() const override;
    std::vector<int32_t> GetSelItems() const override;
    int32_t AddString(std::string_view gbk) override;
    int32_t AddItem(std::string_view gbk, intptr_t data) override;
    int32_t InsertString(int32_t index, std::string_view gbk) override;
    int32_t DeleteString(int32_t index) override;
    void SetSel(bool select, int32_t index) override;
    std::string GetText(int32_t index) const override;
    intptr_t GetItemData(int32_t index) const override;
    void SetItemData(int32_t index, intptr_t data) override;
    void SetFocus() override;
    void Invalidate() override;

  private:
    ListBox& list_;
    QObject& widget_;
};

// The operator: while a box or file dialog waits for an answer, the window's busy indication
// steps aside (aroundQuestion runs the question; it may pause and resume the indication).
class InterfaceThreadHost : public DialogHost {
  public:
    InterfaceThreadHost(DialogHost& host, QObject& context) : host_(host), context_(context) {}

    void ShowMessage(std::string_view gbkText, MessageCaption caption) override;
    void ShowFileMessage(std::string_view gbkText, MessageCaption caption, std::string_view path,
                         std::string_view reason) override;
    std::optional<std::string> ChooseFileToOpen(FileFilter filter) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    std::string GetFieldText(int fieldId) override;
    int AskQuestion(std::string_view gbkText, const std::vector<std::string>& gbkButtons,
                    int defaultButton) override;
    void SetFieldText(int fieldId, std::string_view gbk) override;

    std::function<void(const std::function<void()>& question)> aroundQuestion;

  private:
    // Runs a question on the window's thread, inside aroundQuestion.
    void Ask(const std::function<void()>& question);

    DialogHost& host_;
    QObject& context_;
};

class InterfaceThreadFrame : public WindowFrame {
  public:
    InterfaceThreadFrame(WindowFrame& frame, QObject& context) : frame_(frame), context_(context) {}

    PixelRect WindowRect() const override;
    bool IsMaximized() const override;
    void MoveWindow(const PixelRect& rect) override;
    void LayOutControls() override;
    void SetControlText(int controlId, std::string_view gbk) override;
    void ShowControl(int controlId, bool show) override;
    void EnableControl(int controlId, bool enable) override;

  private:
    WindowFrame& frame_;
    QObject& context_;
};

}  // namespace brisna
