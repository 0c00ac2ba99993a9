#pragma once
// Operator scripts: one action per line against the headless window (see docs/cli.md for the
// grammar and the output of each action).

#include <iosfwd>
#include <string>
#include <string_view>

#include "cli/CliSession.h"

namespace brisna::cli {

class ScriptRunner {
  public:
    explicit ScriptRunner(CliSession& session) : session_(session) {}

    // Runs the script line by line. 0 when every line ran; 2 at the first malformed line, which
    // is reported on `errors` with its line number (the lines before it have run).
    int Run(std::istream& script, std::ostream& errors);

    // Runs one line (blank lines and lines starting with '#' do nothing). False with a reason
    // when the line is malformed.
    bool RunLine(std::string_view line, std::string& error);

  private:
    void Print(std::string_view what);
    // Answers the next open-file dialog with the path, or cancels it when asked to.
    void AnswerNextDialog(const std::string& path);

    CliSession& session_;
    bool cancelNextDialog_ = false;
};

}  // namespace brisna::cli
