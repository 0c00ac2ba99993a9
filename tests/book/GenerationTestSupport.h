#pragma once
// An editor without a window for the generate and open commands: text view, chapter list,
// chapter model and a dialog host that records what the operator would see.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"

namespace brisna::test {

class RecordingHost : public DialogHost {
  public:
    struct Message {
        std::string text;  // UTF-8
        MessageCaption caption;
        std::string path;    // for a message about a file
        std::string reason;  // the system's reason given with it, if any
    };
    void ShowMessage(std::string_view gbkText, MessageCaption caption) override;
    void ShowFileMessage(std::string_view gbkText, MessageCaption caption, std::string_view path,
                         std::string_view reason) override;
    std::optional<std::string> ChooseFileToOpen(FileFilter filter) override;
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }
    std::string GetFieldText(int) override { return {}; }

    std::vector<Message> messages;
    std::deque<std::optional<std::string>> choices;  // empty: the dialog is cancelled
    std::vector<FileFilter> filters;
    int waitDepth = 0;

    std::vector<std::string> Texts() const;
};

// A book text with chapters at known places: chapter i is headed by its title line
// "第<i+1>章" and filled with prose-like GBK text up to exactly the size asked for.
struct TestBook {
    std::string text;
    std::vector<ChapterRecord> chapters;
};
TestBook MakeBook(const std::vector<uint32_t>& chapterBytes, uint32_t seed = 1);

struct TestEditor {
    HeadlessRichEdit view;
    HeadlessListBox list;
    CMyRECtrl ctrl{view};
    ChapterModel model;
    RecordingHost host;
    std::string sourcePath;
    std::string openedPath;

    // Puts the text into the view and the chapters into the model and the list.
    void Load(const TestBook& book);
    std::vector<ChapterRecord> Records() const;
};

}  // namespace brisna::test
