#include "cli/Commands.h"

#include "Version.h"
#include "cli/help/GeneralHelpMessages.h"

namespace brisna::cli {

std::vector<std::unique_ptr<Command>> AllCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(MakeGenerateCommand());
    commands.push_back(MakeEpubCommand());
    commands.push_back(MakeCheckCommand());
    commands.push_back(MakeChaptersCommand());
    commands.push_back(MakeMissingCommand());
    commands.push_back(MakeDetectCommand());
    commands.push_back(MakeUnpackCommand());
    commands.push_back(MakeScriptCommand());
    commands.push_back(MakeT2sCommand());
    commands.push_back(MakeCleanCommand());
    commands.push_back(MakeVersionCommand());
    return commands;
}

std::string VersionLine() {
    return std::string("brisnamake-cli ") + kVersion;
}

const ProgramText& Program() {
    namespace program_help = help::program;
    static const ProgramText program{
        "brisnamake-cli",
        std::string(program_help::kSummary),
        std::string(program_help::kSummaryZh),
        {
            {std::string(program_help::kDescriptionTitle), Paragraphs(program_help::kDescription),
             std::string(program_help::kDescriptionTitleZh),
             Paragraphs(program_help::kDescriptionZh)},
            {std::string(program_help::kOutputTitle), Paragraphs(program_help::kOutput),
             std::string(program_help::kOutputTitleZh), Paragraphs(program_help::kOutputZh)},
            {std::string(program_help::kExitStatusTitle), Paragraphs(program_help::kExitStatus),
             std::string(program_help::kExitStatusTitleZh),
             Paragraphs(program_help::kExitStatusZh)},
        }};
    return program;
}

}  // namespace brisna::cli
