#pragma once
// Every subcommand of brisnamake-cli, in the order --help and the manual list them, and the
// program's own description around them.

#include <memory>
#include <string>
#include <vector>

#include "cli/CommandSpec.h"

namespace brisna::cli {

std::unique_ptr<Command> MakeGenerateCommand();
std::unique_ptr<Command> MakeEpubCommand();
std::unique_ptr<Command> MakeCheckCommand();
std::unique_ptr<Command> MakeChaptersCommand();
std::unique_ptr<Command> MakeMissingCommand();
std::unique_ptr<Command> MakeDetectCommand();
std::unique_ptr<Command> MakeUnpackCommand();
std::unique_ptr<Command> MakeScriptCommand();
std::unique_ptr<Command> MakeT2sCommand();
std::unique_ptr<Command> MakeVersionCommand();

std::vector<std::unique_ptr<Command>> AllCommands();

// The program as a whole: what it is and the rules every subcommand keeps.
struct ProgramText {
    std::string name;     // "brisnamake-cli"
    std::string summary;  // one line
    // Sections of the rules shared by every subcommand: title and paragraphs (the same mark-up
    // as CommandSpec::details).
    std::vector<std::pair<std::string, std::vector<std::string>>> sections;
};
const ProgramText& Program();

// "brisnamake-cli 3.3.1.1"
std::string VersionLine();

}  // namespace brisna::cli
