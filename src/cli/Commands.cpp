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
    commands.push_back(MakeCleanCommand());
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
        "整理中文纯文本电子书，并生成 .qbr2 和 .qbr 文件",
        {
            {"Description",
             {"`brisnamake-cli` runs the same core as the BrisnaMake window, without a display. "
              "Behind every subcommand is a headless window: a text view (one display line per "
              "paragraph), the chapter list, the problem list and the main dialog with all its "
              "commands. The open-file dialog answers with the path given on the command line "
              "(or in the script).",
              "Book texts may be GBK, UTF-8, UTF-16 or Big5: the encoding is detected (or given "
              "with `--encoding`) and the text converted to GBK once, as the window does. "
              "Headings on the command line, script files and the texts typed by scripts are "
              "UTF-8; the command line converts them to GBK. Paths are used as they are given."},
             "说明",
             {"`brisnamake-cli` 运行与 BrisnaMake 窗口相同的核心，但不需要显示器。每个子命令背后"
              "都是一个无界面的窗口：文本视图（每段一个显示行）、章节列表、问题列表和带有全部命令"
              "的主对话框。打开文件对话框以命令行（或脚本）中给出的路径作答。",
              "书的文本可以是 GBK、UTF-8、UTF-16 或 Big5：编码自动识别（或用 `--encoding` "
              "指定），文本一次转换为 GBK，与窗口相同。命令行上的标题、脚本文件和脚本输入的文字"
              "都是 UTF-8，命令行会把它们转换为 GBK。路径按给出的原样使用。"}},
            {"Output",
             {"Results go to standard output: written paths, chapter lines, problem entries, "
              "missing-chapter entries, and the unpacked text with `-o -`. Every message box "
              "goes to standard error, one line of UTF-8 each, in the order they come up. A "
              "message about a file adds the path and, where the system gave one, its reason: "
              "`生成qbr2失败: /books/a1.qbr2: Permission denied`.",
              "No output line holds a raw line break: a CR or LF inside a title, a problem entry "
              "or a message is shown as `\\r` or `\\n`.",
              "Operator scripts are the exception: their message boxes print on standard output "
              "between the lines of `print`, since that is what a script is for."},
             "输出",
             {"结果输出到标准输出：写出的路径、章节行、问题列表项、缺章结果，以及 `-o -` 时解出的"
              "文本。每个消息框输出到标准错误，各占一行 UTF-8，按出现的顺序。关于文件的消息会加上"
              "路径，以及系统给出的原因：`生成qbr2失败: /books/a1.qbr2: Permission denied`。",
              "输出行中不含原样的换行：标题、问题项或消息中的 CR 或 LF 显示为 `\\r` 或 `\\n`。",
              "操作脚本是例外：它们的消息框打印到标准输出，夹在 `print` 的行之间，因为脚本本来就"
              "是为此而用的。"}},
            {"Exit status",
             {"- `0` done, nothing found.",
              "- `1` done, and the book has problems (`check` entries, `missing` entries), or "
              "`detect` found no heading form.",
              "- `2` usage error: an unknown option, a malformed value, a malformed script line, "
              "an explicit `--words` file that cannot be read.",
              "- `3` a command was refused, or a file could not be read or written. When both "
              "1 and 3 apply, 3. With several books, the worst of the books."},
             "退出状态",
             {"- `0` 完成，没有发现问题。",
              "- `1` 完成，书有问题（`check` 有结果、`missing` 有结果），或 `detect` 没有找到"
              "标题形式。",
              "- `2` 用法错误：未知选项、格式错误的值、格式错误的脚本行、显式给出的 `--words` "
              "文件读不了。",
              "- `3` 命令被拒绝，或文件读写失败。1 和 3 同时适用时为 3。多本书时取最坏的一本。"}},
        }};
    return text;
}

}  // namespace brisna::cli
