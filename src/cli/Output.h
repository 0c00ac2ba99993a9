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

// A file name for messages: its bytes when they are UTF-8, else read as GBK. Results print a
// path as its bytes, so that it can be passed on.
std::string DisplayPath(std::string_view pathBytes);

// A message box as one line of UTF-8: "text", "text: path" or "text: path: reason".
std::string MessageLine(const ShownMessage& message);

// Says "写入标准输出失败" on err, once per run however many writes failed.
void ReportStandardOutputFailure(std::ostream& err);

// Standard output is a pipe (or socket) whose reader has gone away, as when `| head -1` has
// read its line.
bool StandardOutputReaderGone();

// The exit code after a failed write to standard output: kExitReaderGone without a word when
// the reader went away (as a writer killed by SIGPIPE ends), else kExitFailed after reporting.
int StandardOutputFailureExit(std::ostream& err);

// The last step of every subcommand: flushes standard output and checks that everything written
// to it arrived (a full disk or a closed descriptor lose it). Returns code, or the exit code of
// StandardOutputFailureExit.
int FinishStandardOutput(std::ostream& out, std::ostream& err, int code);

// Where one book's lines go.
class LineSink {
  public:
    // prefix is put in front of every line ("book.txt: "), or empty: as its bytes in front of
    // results, which are passed on to other programs, and readably in front of messages.
    LineSink(std::ostream& results, std::ostream& messages, std::string prefix)
        : results_(results),
          messages_(messages),
          prefix_(std::move(prefix)),
          messagePrefix_(DisplayPath(prefix_)) {}

    void Result(std::string_view utf8Line);
    void Message(std::string_view utf8Line);
    std::ostream& Results() { return results_; }

  private:
    std::ostream& results_;
    std::ostream& messages_;
    std::string prefix_;
    std::string messagePrefix_;
};

}  // namespace brisna::cli
