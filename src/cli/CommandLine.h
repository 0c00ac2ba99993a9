#pragma once
// The command line as a whole: parses the arguments against the subcommands' descriptions,
// runs the chosen subcommand and turns anything it throws into a message and exit code 3.

#include <string>

#include "cli/CommandSpec.h"

namespace brisna::cli {

int RunCommandLine(int argc, const char* const* argv, CommandStreams& streams);

// Wraps text at the width for --help; "- " items are indented under their dash.
std::string WrapParagraph(const std::string& text, size_t width, const std::string& indent);

}  // namespace brisna::cli
