#include "cli/Commands.h"

#include "Version.h"

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
    commands.push_back(MakeVersionCommand());
    return commands;
}

std::string VersionLine() {
    return std::string("brisnamake-cli ") + kVersion;
}

const ProgramText& Program() {
    static const ProgramText text{
        "brisnamake-cli",
        "prepare Chinese plain-text e-books and generate them as .qbr2 and .qbr files",
        {
            {"Description",
             {"`brisnamake-cli` runs the same core as the BrisnaMake window, without a display. "
              "Behind every subcommand is a headless window: a text view (one display line per "
              "paragraph), the chapter list, the problem list and the main dialog with all its "
              "commands. The open-file dialog answers with the path given on the command line "
              "(or in the script).",
              "Book texts are GBK files, as in the window. Headings on the command line, script "
              "files and the texts typed by scripts are UTF-8; the command line converts them to "
              "GBK. Paths are used as they are given."}},
            {"Output",
             {"Results go to standard output: written paths, chapter lines, problem entries, "
              "missing-chapter entries, and the unpacked text with `-o -`. Every message box "
              "goes to standard error, one line of UTF-8 each, in the order they come up. A "
              "message about a file adds the path and, where the system gave one, its reason: "
              "`生成qbr2失败: /books/a1.qbr2: Permission denied`.",
              "No output line holds a raw line break: a CR or LF inside a title, a problem entry "
              "or a message is shown as `\\r` or `\\n`.",
              "Operator scripts are the exception: their message boxes print on standard output "
              "between the lines of `print`, since that is what a script is for."}},
            {"Exit status",
             {"- `0` done, nothing found.",
              "- `1` done, and the book has problems (`check` entries, `missing` entries), or "
              "`detect` found no heading form.",
              "- `2` usage error: an unknown option, a malformed value, a malformed script line, "
              "an explicit `--words` file that cannot be read.",
              "- `3` a command was refused, or a file could not be read or written. When both "
              "1 and 3 apply, 3. With several books, the worst of the books."}},
        }};
    return text;
}

}  // namespace brisna::cli
