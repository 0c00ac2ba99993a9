#pragma once
// A DialogHost without a window: it records every message box, answers the open-file dialog
// from a queue (an empty queue means the operator cancels) and holds the edit fields' texts.
// The command line and the tests use it.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "controls/DialogHost.h"

namespace brisna {

struct ShownMessage {
    std::string text;  // GBK
    MessageCaption caption = MessageCaption::kNone;
    std::string path;    // the file a file message is about (empty for other messages)
    std::string reason;  // the system's reason given with it, or empty
};

class HeadlessDialogHost : public DialogHost {
  public:
    void ShowMessage(std::string_view gbkText, MessageCaption caption) override;
    void ShowFileMessage(std::string_view gbkText, MessageCaption caption, std::string_view path,
                         std::string_view reason) override;
    std::optional<std::string> ChooseFileToOpen(FileFilter filter) override;
    void BeginWaitCursor() override {
        ++waitDepth_;
        ++waitCursorShown_;
    }
    void EndWaitCursor() override { --waitDepth_; }
    std::string GetFieldText(int fieldId) override;

    // What the next open-file dialog answers; nothing = the operator cancels.
    void QueueFileChoice(std::optional<std::string> path) {
        fileChoices_.push_back(std::move(path));
    }
    // Sets the text of edit field 1014 or 1017 (GBK).
    void SetFieldText(int fieldId, std::string_view gbk) override { fields_[fieldId] = gbk; }

    const std::vector<ShownMessage>& Messages() const { return messages_; }
    void ClearMessages() { messages_.clear(); }
    const std::vector<FileFilter>& AskedFilters() const { return askedFilters_; }
    int WaitDepth() const { return waitDepth_; }
    int WaitCursorShown() const { return waitCursorShown_; }
    // Called for every message box as it is shown (the command line prints it).
    std::function<void(const ShownMessage&)> onMessage;

  private:
    std::vector<ShownMessage> messages_;
    std::deque<std::optional<std::string>> fileChoices_;
    std::vector<FileFilter> askedFilters_;
    std::map<int, std::string> fields_;
    int waitDepth_ = 0;
    int waitCursorShown_ = 0;
};

}  // namespace brisna
