#pragma once
// A dialog over headless controls with a three-chapter book opened, for the tests of the
// dialog's commands.

#include <gtest/gtest.h>

#include <string>

#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"

namespace brisna::test {

class OpenedBookDialog : public ::testing::Test {
  protected:
    // Opens `utf8Book` (saved as GBK) with 打开txt文件.
    explicit OpenedBookDialog(const std::string& utf8Book)
        : dialog(text, chapterList, problemList, host, dir / "no-words.csv") {
        WriteFileBytes(dir / "book.txt", G(utf8Book));
        host.QueueFileChoice((dir / "book.txt").string());
        dialog.OnCommand(kOpenTextButton);
    }
    // Puts the caret at the start of display line `line` and presses the button.
    void PressAtLine(int32_t line, int controlId) {
        int32_t at = text.LineIndex(line);
        text.SetSelection({at, at});
        dialog.OnCommand(controlId);
    }

    TempDir dir;
    HeadlessRichEdit text;
    HeadlessListBox chapterList;
    HeadlessListBox problemList;
    HeadlessDialogHost host;
    CBrisnaMakeDlg dialog;
};

}  // namespace brisna::test
