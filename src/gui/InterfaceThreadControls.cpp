#include "gui/InterfaceThreadControls.h"

#include <QThread>

#include "gui/InterfaceThread.h"
#include "gui/QtRichEdit.h"

namespace brisna {

// The text view's calls. The argument texts are views of the caller's memory, which stays put
// while the call waits for the window's thread.

std::string InterfaceThreadRichEdit::GetText() const {
    // Only the handle crosses over; the copy of the text is made on this thread.
    return *CallOnThreadOf(&view_, [&] { return view_.SharedText(); });
}

int32_t InterfaceThreadRichEdit::GetTextLength() const {
    return CallOnThreadOf(&view_, [&] { return view_.GetTextLength(); });
}

void InterfaceThreadRichEdit::SetText(std::string_view gbk) {
    if (QThread::currentThread() == view_.thread()) {
        view_.SetText(gbk);
        return;
    }
    // A big book's document is built here; the view only takes it over.
    const QtRichEdit::DocumentLook look = CallOnThreadOf(&view_, [&] { return view_.Look(); });
    QtRichEdit::PreparedText prepared = QtRichEdit::PrepareText(gbk, look, view_.thread());
    std::unique_ptr<QTextDocument> replaced;
    RunOnThreadOf(&view_, [&] { replaced = view_.SetPreparedText(std::move(prepared)); });
    replaced.reset();  // the old book is taken apart here, not on the window's thread
}

int32_t InterfaceThreadRichEdit::GetLineCount() const {
    return CallOnThreadOf(&view_, [&] { return view_.GetLineCount(); });
}

int32_t InterfaceThreadRichEdit::LineIndex(int32_t line) const {
    return CallOnThreadOf(&view_, [&] { return view_.LineIndex(line); });
}

std::string InterfaceThreadRichEdit::GetLine(int32_t line) const {
    return CallOnThreadOf(&view_, [&] { return view_.GetLine(line); });
}

int32_t InterfaceThreadRichEdit::GetCharCount() const {
    return CallOnThreadOf(&view_, [&] { return view_.GetCharCount(); });
}

CharRange InterfaceThreadRichEdit::GetSelection() const {
    return CallOnThreadOf(&view_, [&] { return view_.GetSelection(); });
}

void InterfaceThreadRichEdit::SetSelection(CharRange range) {
    RunOnThreadOf(&view_, [&] { view_.SetSelection(range); });
}

int32_t InterfaceThreadRichEdit::LineFromChar(int32_t charPosition) const {
    return CallOnThreadOf(&view_, [&] { return view_.LineFromChar(charPosition); });
}

CharRange InterfaceThreadRichEdit::FindText(CharRange range, std::string_view gbk) const {
    return CallOnThreadOf(&view_, [&] { return view_.FindText(range, gbk); });
}

void InterfaceThreadRichEdit::ReplaceSelection(std::string_view gbk) {
    RunOnThreadOf(&view_, [&] { view_.ReplaceSelection(gbk); });
}

void InterfaceThreadRichEdit::ApplyHighlightToSelection() {
    RunOnThreadOf(&view_, [&] { view_.ApplyHighlightToSelection(); });
}

int32_t InterfaceThreadRichEdit::GetFirstVisibleLine() const {
    return CallOnThreadOf(&view_, [&] { return view_.GetFirstVisibleLine(); });
}

void InterfaceThreadRichEdit::ScrollLines(int32_t lines) {
    RunOnThreadOf(&view_, [&] { view_.ScrollLines(lines); });
}

void InterfaceThreadRichEdit::SetFocus() {
    RunOnThreadOf(&view_, [&] { view_.SetFocus(); });
}

// The lists' calls.

int32_t InterfaceThreadListBox::GetCount() const {
    return CallOnThreadOf(&widget_, [&] { return list_.GetCount(); });
}

int32_t InterfaceThreadListBox::GetCaretIndex() const {
    return CallOnThreadOf(&widget_, [&] { return list_.GetCaretIndex(); });
}

int32_t InterfaceThreadListBox::GetSelCount() const {
    return CallOnThreadOf(&widget_, [&] { return list_.GetSelCount(); });
}

std::vector<int32_t> InterfaceThreadListBox::GetSelItems() const {
    return CallOnThreadOf(&widget_, [&] { return list_.GetSelItems(); });
}

int32_t InterfaceThreadListBox::AddString(std::string_view gbk) {
    return CallOnThreadOf(&widget_, [&] { return list_.AddString(gbk); });
}

// In one step, so a filtered view sees the row's kind when the row arrives.
int32_t InterfaceThreadListBox::AddItem(std::string_view gbk, intptr_t data) {
    return CallOnThreadOf(&widget_, [&] { return list_.AddItem(gbk, data); });
}

int32_t InterfaceThreadListBox::InsertString(int32_t index, std::string_view gbk) {
    return CallOnThreadOf(&widget_, [&] { return list_.InsertString(index, gbk); });
}

int32_t InterfaceThreadListBox::DeleteString(int32_t index) {
    return CallOnThreadOf(&widget_, [&] { return list_.DeleteString(index); });
}

void InterfaceThreadListBox::SetSel(bool select, int32_t index) {
    RunOnThreadOf(&widget_, [&] { list_.SetSel(select, index); });
}

std::string InterfaceThreadListBox::GetText(int32_t index) const {
    return CallOnThreadOf(&widget_, [&] { return list_.GetText(index); });
}

intptr_t InterfaceThreadListBox::GetItemData(int32_t index) const {
    return CallOnThreadOf(&widget_, [&] { return list_.GetItemData(index); });
}

void InterfaceThreadListBox::SetItemData(int32_t index, intptr_t data) {
    RunOnThreadOf(&widget_, [&] { list_.SetItemData(index, data); });
}

void InterfaceThreadListBox::SetFocus() {
    RunOnThreadOf(&widget_, [&] { list_.SetFocus(); });
}

void InterfaceThreadListBox::Invalidate() {
    RunOnThreadOf(&widget_, [&] { list_.Invalidate(); });
}

// The operator's calls.

void InterfaceThreadHost::Ask(const std::function<void()>& question) {
    RunOnThreadOf(&context_, [&] {
        if (aroundQuestion) {
            aroundQuestion(question);
        } else {
            question();
        }
    });
}

void InterfaceThreadHost::ShowMessage(std::string_view gbkText, MessageCaption caption) {
    Ask([&] { host_.ShowMessage(gbkText, caption); });
}

void InterfaceThreadHost::ShowFileMessage(std::string_view gbkText, MessageCaption caption,
                                          std::string_view path, std::string_view reason) {
    Ask([&] { host_.ShowFileMessage(gbkText, caption, path, reason); });
}

std::optional<std::string> InterfaceThreadHost::ChooseFileToOpen(FileFilter filter) {
    std::optional<std::string> chosen;
    Ask([&] { chosen = host_.ChooseFileToOpen(filter); });
    return chosen;
}

void InterfaceThreadHost::BeginWaitCursor() {
    RunOnThreadOf(&context_, [&] { host_.BeginWaitCursor(); });
}

void InterfaceThreadHost::EndWaitCursor() {
    RunOnThreadOf(&context_, [&] { host_.EndWaitCursor(); });
}

std::string InterfaceThreadHost::GetFieldText(int fieldId) {
    return CallOnThreadOf(&context_, [&] { return host_.GetFieldText(fieldId); });
}

int InterfaceThreadHost::AskQuestion(std::string_view gbkText,
                                     const std::vector<std::string>& gbkButtons,
                                     int defaultButton) {
    int answer = kCannotAsk;
    Ask([&] { answer = host_.AskQuestion(gbkText, gbkButtons, defaultButton); });
    return answer;
}

void InterfaceThreadHost::SetFieldText(int fieldId, std::string_view gbk) {
    RunOnThreadOf(&context_, [&] { host_.SetFieldText(fieldId, gbk); });
}

// The frame's calls.

PixelRect InterfaceThreadFrame::WindowRect() const {
    return CallOnThreadOf(&context_, [&] { return frame_.WindowRect(); });
}

bool InterfaceThreadFrame::IsMaximized() const {
    return CallOnThreadOf(&context_, [&] { return frame_.IsMaximized(); });
}

void InterfaceThreadFrame::MoveWindow(const PixelRect& rect) {
    RunOnThreadOf(&context_, [&] { frame_.MoveWindow(rect); });
}

void InterfaceThreadFrame::LayOutControls() {
    RunOnThreadOf(&context_, [&] { frame_.LayOutControls(); });
}

void InterfaceThreadFrame::SetControlText(int controlId, std::string_view gbk) {
    RunOnThreadOf(&context_, [&] { frame_.SetControlText(controlId, gbk); });
}

void InterfaceThreadFrame::ShowControl(int controlId, bool show) {
    RunOnThreadOf(&context_, [&] { frame_.ShowControl(controlId, show); });
}

void InterfaceThreadFrame::EnableControl(int controlId, bool enable) {
    RunOnThreadOf(&context_, [&] { frame_.EnableControl(controlId, enable); });
}

}  // namespace brisna
