#pragma once
// The main dialog without a window: a headless text view, the two lists and a dialog host
// whose message boxes print as UTF-8 lines on standard output. Every subcommand of the command
// line and every script runs against one of these.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"

namespace brisna::cli {

// A chapter option of the command line, applied in the order given.
struct ChapterOption {
    enum class Kind { kLine, kIncremental, kKeyword };
    Kind kind = Kind::kLine;
    std::string value;  // the line number, or the heading in UTF-8
};

class CliSession {
  public:
    // Reads the suspicious-word list from wordsFile, or from "BrisnaMake.csv" in the current
    // directory when none is given.
    CliSession(std::ostream& out, const std::optional<std::string>& wordsFile);

    CBrisnaMakeDlg& Dialog() { return *dialog_; }
    HeadlessRichEdit& View() { return view_; }
    HeadlessListBox& ChapterList() { return chapterList_; }
    HeadlessListBox& ProblemList() { return problemList_; }
    HeadlessDialogHost& Host() { return host_; }
    std::ostream& Out() { return out_; }

    // Message boxes shown so far (held ones included).
    size_t MessageCount() const { return host_.Messages().size(); }
    // While held, message boxes are kept back and printed by PrintHeldMessages.
    void HoldMessages(bool hold) { holding_ = hold; }
    void PrintHeldMessages();

    // Presses "打开txt文件" with the path as the dialog's answer. True when no message came up.
    bool OpenText(const std::string& path);
    // Presses 1011 or 1016 with the path as the dialog's answer. True when no message came up.
    bool OpenBook(const std::string& path, bool qbr2);
    // Applies one chapter option. False when it was refused: a message came up, or the line
    // lies past the end of the text (then `error` says so).
    bool ApplyChapterOption(const ChapterOption& option, std::string& error);
    // Puts the caret at a column of a display line; false when the line does not exist.
    bool PlaceCaret(int32_t line, int32_t column);

    // One line per chapter record: offset, tab, length, tab, title (UTF-8).
    void PrintChapters();
    // One line per entry of the problem list (UTF-8).
    void PrintProblems();

    // Prints a GBK text as one UTF-8 line.
    void PrintLine(std::string_view gbk);

  private:
    std::ostream& out_;
    HeadlessRichEdit view_;
    HeadlessListBox chapterList_;
    HeadlessListBox problemList_;
    HeadlessDialogHost host_;
    std::unique_ptr<CBrisnaMakeDlg> dialog_;
    bool holding_ = false;
    std::vector<std::string> held_;
};

}  // namespace brisna::cli
