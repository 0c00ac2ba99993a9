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
std::unique_ptr<Command> MakeCleanCommand();
std::unique_ptr<Command> MakeVersionCommand();

std::vector<std::unique_ptr<Command>> AllCommands();

// A titled run of paragraphs (the same mark-up as CommandSpec::details), in both languages.
struct TextSection {
    std::string title;
    std::vector<std::string> paragraphs;
    std::string titleZh;
    std::vector<std::string> paragraphsZh;

    const std::string& Title(Language language) const {
        return InLanguage(language, title, titleZh);
    }
    const std::vector<std::string>& Paragraphs(Language language) const {
        return InLanguage(language, paragraphs, paragraphsZh);
    }
};

// The program as a whole: what it is and the rules every subcommand keeps.
struct ProgramText {
    std::string name;       // "brisnamake-cli"
    std::string summary;    // one line
    std::string summaryZh;  // the same in Chinese
    // The rules shared by every subcommand; the first section is the description.
    std::vector<TextSection> sections;

    const std::string& Summary(Language language) const {
        return InLanguage(language, summary, summaryZh);
    }
};
const ProgramText& Program();

// "brisnamake-cli 3.3.1.1"
std::string VersionLine();

}  // namespace brisna::cli
