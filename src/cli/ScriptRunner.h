#pragma once
// Operator scripts: one action per line against the headless window (docs/cli.md has the
// grammar and the output of each action).

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "cli/CliSession.h"

namespace brisna::cli {

class ScriptRunner {
  public:
    // print output goes to out (the session's message boxes are expected to go there too).
    ScriptRunner(CliSession& session, std::ostream& out) : session_(session), out_(out) {}

    // Runs the script line by line. 0 when every line ran; 2 at the first malformed line, which
    // is reported on `errors` as "NAME:LINE: message" (the lines before it have run).
    int Run(std::string_view script, std::string_view name, std::ostream& errors);

    // Runs one line (blank lines and lines starting with '#' do nothing). False with a reason
    // when the line is malformed.
    bool RunLine(std::string_view line, std::string& error);

  private:
    // The actions on the two lists and print; any other action is unknown.
    bool RunListAction(std::string_view action, std::string_view rest, std::string& error);
    void Print(std::string_view what);
    // Answers the next open-file dialog with the path, or cancels it when asked to.
    void AnswerNextDialog(const std::string& path);

    CliSession& session_;
    std::ostream& out_;
    bool cancelNextDialog_ = false;
};

}  // namespace brisna::cli
