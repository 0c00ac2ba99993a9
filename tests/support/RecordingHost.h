#pragma once
// A DialogHost for the subsystem tests that do not link the dialog: it keeps every message box
// as a UTF-8 line with its caption, cancels every file dialog, and keeps the start-chapter field
// (the other edit fields are empty).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/DialogHost.h"
#include "support/TestSupport.h"

namespace brisna::test {

class RecordingHost : public DialogHost {
  public:
    void ShowMessage(std::string_view gbkText, MessageCaption caption) override {
        messages.push_back(U(gbkText));
        captions.push_back(caption);
    }
    std::optional<std::string> ChooseFileToOpen(FileFilter) override { return std::nullopt; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::string GetFieldText(int fieldId) override {
        return fieldId == kStartChapterField ? startChapter : std::string();
    }
    void SetFieldText(int fieldId, std::string_view gbk) override {
        if (fieldId == kStartChapterField) startChapter = gbk;
    }

    std::vector<std::string> messages;
    std::vector<MessageCaption> captions;
    std::string startChapter;  // GBK
};

// Lines of 'x' with CR LF, exactly `bytes` long (at least 2).
inline std::string Filler(size_t bytes) {
    std::string text;
    while (bytes > 100) {
        text += std::string(98, 'x') + "\r\n";
        bytes -= 100;
    }
    text += std::string(bytes - 2, 'x') + "\r\n";
    return text;
}

}  // namespace brisna::test
