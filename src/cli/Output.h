#pragma once
// How the command line writes: results and messages one line each, never a raw line break
// inside a line, and with the book's name in front when several books share the streams.

#include <iosfwd>
#include <string>
#include <string_view>

#include "app/HeadlessDialogHost.h"

namespace brisna::cli {

// CR and LF inside one line of output are shown as \r and \n.
std::string EscapeLineBreaks(std::string_view utf8);

// A file name for display: its bytes when they are UTF-8, else read as GBK.
std::string DisplayPath(std::string_view pathBytes);

// A message box as one line of UTF-8: "text", "text: path" or "text: path: reason".
std::string MessageLine(const ShownMessage& message);

// Says "写入标准输出失败" on err, once per run however many writes failed.
void ReportStandardOutputFailure(std::ostream& err);

// The last step of every subcommand: flushes standard output and checks that everything written
// to it arrived (a full disk, a closed pipe or a closed descriptor lose it). Returns code, or
// kExitFailed after reporting the failure.
int FinishStandardOutput(std::ostream& out, std::ostream& err, int code);

// Where one book's lines go.
class LineSink {
  public:
    // prefix is put in front of every line ("book.txt: "), or empty.
    LineSink(std::ostream& results, std::ostream& messages, std::string prefix)
        : results_(results), messages_(messages), prefix_(std::move(prefix)) {}

    void Result(std::string_view utf8Line);
    void Message(std::string_view utf8Line);
    std::ostream& Results() { return results_; }

  private:
    std::ostream& results_;
    std::ostream& messages_;
    std::string prefix_;
};

}  // namespace brisna::cli
