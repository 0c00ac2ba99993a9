#pragma once
// What the command line says about a run as a whole, apart from each book's own lines: -q, the
// progress line of a batch and the summary at its end.

#include <cstddef>
#include <iosfwd>
#include <string>

#include "app/HeadlessDialogHost.h"
#include "cli/CommandSpec.h"
#include "text/TextEncoding.h"

namespace brisna::cli {

// -q: no messages but errors. Set once, before any book is worked on.
void SetQuiet(bool quiet);
bool Quiet();

// A message that reports no failure: the success of generation, what a load had to replace or
// cut, the heading forms --auto chose among. -q leaves these out.
bool IsNotice(const ShownMessage& message);
// Whether the message is printed in this run.
bool Shown(const ShownMessage& message);

// How the books of a batch ended.
struct BatchTally {
    size_t succeeded = 0;
    size_t withProblems = 0;
    size_t failed = 0;

    void Count(int exitCode);
    size_t Books() const { return succeeded + withProblems + failed; }
};

// Whether standard error is a terminal (a progress line is drawn only there).
bool StandardErrorIsTerminal();

// What an unpacked text is saved as: --output-encoding when given, else UTF-8 (the encoding
// of the system's editors, pagers and terminals; the device's GBK is asked for by name).
OutputEncoding WrittenEncoding(const ParsedArgs& args);

// "共N本：成功N，有问题N，失败N", one line.
void WriteBatchSummary(std::ostream& err, const BatchTally& tally);

// The progress line, "[3/100] books/c.txt", rewritten in place; Clear() wipes it before other
// lines are printed. Draws nothing unless enabled.
class ProgressLine {
  public:
    ProgressLine(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(size_t done, size_t total, const char* what);
    void Clear();

  private:
    std::ostream& err_;
    bool enabled_;
    bool shown_ = false;
};

}  // namespace brisna::cli
