#pragma once
// The operator's side of the dialog in the window: Qt message boxes and file dialogs, the wait
// cursor and the two edit fields. Tests may answer the file dialog and the message boxes
// themselves through the two hooks.

#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "controls/DialogHost.h"

class QLineEdit;
class QWidget;

namespace brisna {

// The Qt form of a file filter ("Text Files (*.txt)").
QString QtFilterText(FileFilter filter);
// The caption of a message box of each kind.
QString CaptionText(MessageCaption caption);

class QtDialogHost : public DialogHost {
  public:
    explicit QtDialogHost(QWidget* owner) : owner_(owner) {}

    void ShowMessage(std::string_view gbkText, MessageCaption caption) override;
    std::optional<std::string> ChooseFileToOpen(FileFilter filter) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    std::string GetFieldText(int fieldId) override;
    // Shows GBK text in an edit field; line breaks are left out (a heading that is a number
    // alone carries CR LF, which a one-line field cannot show).
    void SetFieldText(int fieldId, std::string_view gbk) override;

    void AttachField(int fieldId, QLineEdit* field) { fields_[fieldId] = field; }

    // A question with 确定 and 取消 (caption "提示"); true for 确定.
    bool Confirm(std::string_view gbkQuestion);
    // A question with a button per answer (caption "提示").
    int AskQuestion(std::string_view gbkText, const std::vector<std::string>& gbkButtons,
                    int defaultButton) override;

    // The path the last open-file dialog (or its stand-in) gave, as file name bytes.
    const std::optional<std::string>& LastChosenPath() const { return lastChosen_; }
    void ForgetChosenPath() { lastChosen_.reset(); }

    struct Message {
        QString text;
        QString caption;
    };
    // Every message shown so far, in order.
    const std::vector<Message>& Messages() const { return messages_; }
    void ClearMessages() { messages_.clear(); }

    // When set, answers the open-file dialog instead of showing it (the path, or nothing).
    std::function<std::optional<QString>(FileFilter filter)> fileChooser;
    // Answers the file dialog with a path as platform bytes (a name that is not UTF-8 stays as it
    // is); tried before fileChooser.
    std::function<std::optional<std::string>(FileFilter filter)> fileBytesChooser;
    // When set, takes the message instead of a modal message box.
    std::function<void(const Message& message)> messagePresenter;
    // Called before any message box or dialog opens, so the window can show what it is about.
    std::function<void()> beforeDialog;
    // When set, answers Confirm instead of a modal message box.
    std::function<bool(const Message& question)> confirmPresenter;

  private:
    QWidget* owner_;
    std::map<int, QLineEdit*> fields_;
    std::vector<Message> messages_;
    std::optional<std::string> lastChosen_;
};

}  // namespace brisna
