#pragma once
// The help texts of brisnamake-cli as a whole, of `version`, and of the options the book
// subcommands share, each in English and Chinese side by side so a description stays together.
// --help, the manual pages, the completions and docs/cli.md are all generated from these; a
// change here changes every one of them.

#include <array>
#include <string>
#include <string_view>

namespace brisna::cli::help {

// The program: its summary, the sections of its manual and the closing lines of --help.
namespace program {

inline constexpr std::string_view kSummary =
    "prepare Chinese plain-text e-books and generate them as .qbr2 and .qbr files";
inline constexpr std::string_view kSummaryZh = "整理中文纯文本电子书，并生成 .qbr2 和 .qbr 文件";

inline constexpr std::string_view kDescriptionTitle = "Description";
inline constexpr std::array<std::string_view, 2> kDescription = {
    "`brisnamake-cli` runs the same core as the BrisnaMake window, without a display. Behind every "
    "subcommand is a headless window: a text view (one display line per paragraph), the chapter "
    "list, the problem list and the main dialog with all its commands. The open-file dialog "
    "answers with the path given on the command line (or in the script).",
    "Book texts may be GBK, UTF-8, UTF-16 or Big5: the encoding is detected (or given with "
    "`--encoding`) and the text converted to GBK once, as the window does. Headings on the "
    "command line, script files and the texts typed by scripts are UTF-8; the command line "
    "converts them to GBK. Paths are used as they are given."};
inline constexpr std::string_view kDescriptionTitleZh = "说明";
inline constexpr std::array<std::string_view, 2> kDescriptionZh = {
    "`brisnamake-cli` 运行与 BrisnaMake 窗口相同的核心，但不需要显示器。每个子命令背后都是一个"
    "无界面的窗口：文本视图（每段一个显示行）、章节列表、问题列表和带有全部命令的主对话框。"
    "打开文件对话框以命令行（或脚本）中给出的路径作答。",
    "书的文本可以是 GBK、UTF-8、UTF-16 或 Big5：编码自动识别（或用 `--encoding` 指定），文本"
    "一次转换为 GBK，与窗口相同。命令行上的标题、脚本文件和脚本输入的文字都是 UTF-8，命令行会"
    "把它们转换为 GBK。路径按给出的原样使用。"};

inline constexpr std::string_view kOutputTitle = "Output";
inline constexpr std::array<std::string_view, 3> kOutput = {
    "Results go to standard output: written paths, chapter lines, problem entries, "
    "missing-chapter entries, and the unpacked text with `-o -`. Every message box goes to "
    "standard error, one line of UTF-8 each, in the order they come up. A message about a file "
    "adds the path and, where the system gave one, its reason: "
    "`生成qbr2失败: /books/a1.qbr2: Permission denied`.",
    "No output line holds a raw line break: a CR or LF inside a title, a problem entry or a "
    "message is shown as `\\r` or `\\n`.",
    "Operator scripts are the exception: their message boxes print on standard output between "
    "the lines of `print`, since that is what a script is for."};
inline constexpr std::string_view kOutputTitleZh = "输出";
inline constexpr std::array<std::string_view, 3> kOutputZh = {
    "结果输出到标准输出：写出的路径、章节行、问题列表项、缺章结果，以及 `-o -` 时解出的文本。"
    "每个消息框输出到标准错误，各占一行 UTF-8，按出现的顺序。关于文件的消息会加上路径，以及"
    "系统给出的原因：`生成qbr2失败: /books/a1.qbr2: Permission denied`。",
    "输出行中不含原样的换行：标题、问题项或消息中的 CR 或 LF 显示为 `\\r` 或 `\\n`。",
    "操作脚本是例外：它们的消息框打印到标准输出，夹在 `print` 的行之间，因为脚本本来就是为此"
    "而用的。"};

inline constexpr std::string_view kExitStatusTitle = "Exit status";
inline constexpr std::array<std::string_view, 5> kExitStatus = {
    "- `0` done, nothing found.",
    "- `1` done, and the book has problems (`check` entries, `missing` entries), or `detect` "
    "found no heading form.",
    "- `2` usage error: an unknown option, a malformed value, a malformed script line, an "
    "explicit `--words` file that cannot be read.",
    "- `3` a command was refused, or a file could not be read or written. When both 1 and 3 "
    "apply, 3. With several books, the worst of the books.",
    "- `141` the reader of standard output went away (`| head -1`): the run ends quietly, as a "
    "writer killed by SIGPIPE ends."};
inline constexpr std::string_view kExitStatusTitleZh = "退出状态";
inline constexpr std::array<std::string_view, 5> kExitStatusZh = {
    "- `0` 完成，没有发现问题。",
    "- `1` 完成，书有问题（`check` 有结果、`missing` 有结果），或 `detect` 没有找到标题形式。",
    "- `2` 用法错误：未知选项、格式错误的值、格式错误的脚本行、显式给出的 `--words` 文件读不了。",
    "- `3` 命令被拒绝，或文件读写失败。1 和 3 同时适用时为 3。多本书时取最坏的一本。",
    "- `141` 标准输出的读者已离开（`| head -1`）：像被 SIGPIPE 终止的写者那样安静地结束。"};

// The last lines of the program's --help: where the rest is written.
inline constexpr std::string_view kMoreHelp =
    "Every subcommand, option and the operator-script grammar: man brisnamake-cli,\n"
    "/usr/share/doc/brisnamake-cli/cli.md, or brisnamake-cli SUBCOMMAND --help.";
inline constexpr std::string_view kMoreHelpZh =
    "每个子命令、选项和操作脚本的语法：man brisnamake-cli、\n"
    "/usr/share/doc/brisnamake-cli/cli.md，或 brisnamake-cli 子命令 --help。";

// The title above the script grammar in script --help.
inline constexpr std::string_view kScriptsTitle = "Scripts";
inline constexpr std::string_view kScriptsTitleZh = "脚本";

// The flags every help screen shows.
inline constexpr std::string_view kHelpFlag = "Print this help message and exit";
inline constexpr std::string_view kHelpFlagZh = "显示此帮助并退出";
inline constexpr std::string_view kVersionFlag = "print the version and exit";
inline constexpr std::string_view kVersionFlagZh = "打印版本并退出";
inline constexpr std::string_view kQuietFlag = "no messages but errors";
inline constexpr std::string_view kQuietFlagZh = "除错误外不输出消息";

// The parser's own labels, in Chinese (its English ones are its defaults).
inline constexpr std::string_view kUsageLabelZh = "用法";
inline constexpr std::string_view kPositionalsLabelZh = "参数";
inline constexpr std::string_view kOptionsLabelZh = "选项";
inline constexpr std::string_view kRequiredLabelZh = "必需";
inline constexpr std::string_view kSubcommandsGroupZh = "子命令";

// Not words shown but rules of the help screens' line breaking: the punctuation that may not
// begin a line, and the opening brackets that may not end one.
inline constexpr std::array<std::string_view, 11> kMarksNotStartingLine = {
    "，", "。", "、", "；", "：", "）", "”", "’", "！", "？", "」"};
inline constexpr std::array<std::string_view, 4> kMarksNotEndingLine = {"（", "“", "‘", "「"};

}  // namespace program

// version.
namespace version {

inline constexpr std::string_view kSummary = "print the version (as --version does)";
inline constexpr std::string_view kSummaryZh = "打印版本（与 --version 相同）";

// The one paragraph, around the version line it quotes.
inline std::string Details(std::string_view versionLine) {
    return "Prints the program's name and version: `" + std::string(versionLine) + "`.";
}
inline std::string DetailsZh(std::string_view versionLine) {
    return "打印程序的名字和版本：`" + std::string(versionLine) + "`。";
}

}  // namespace version

// The options the book subcommands share.
namespace book_options {

inline constexpr std::string_view kBooks = "the book texts (.txt or .epub)";
inline constexpr std::string_view kBook = "the book text (.txt or .epub)";
inline constexpr std::string_view kBookZh = "书的文本文件（.txt 或 .epub）";
// Added to the book argument's line where `-` may stand for standard input.
inline constexpr std::string_view kStandardInput = "; - reads standard input";
inline constexpr std::string_view kStandardInputZh = "；- 读标准输入";

inline constexpr std::string_view kLine =
    "put the caret on display line N (0-based) and press 添加章节";
inline constexpr std::string_view kLineZh = "把光标放在第 N 个显示行（从 0 数起）并按“添加章节”";
inline constexpr std::string_view kIncremental =
    "type HEADING into 起始章节 and press 递增添加章节";
inline constexpr std::string_view kIncrementalZh = "在“起始章节”中输入 HEADING 并按“递增添加章节”";
inline constexpr std::string_view kKeyword = "type HEADING into 起始章节 and press 模糊添加章节";
inline constexpr std::string_view kKeywordZh = "在“起始章节”中输入 HEADING 并按“模糊添加章节”";
inline constexpr std::string_view kAuto =
    "mark the chapters recognition finds (as detect counts them), replacing those marked "
    "before; text before the first heading becomes the first chapter";
inline constexpr std::string_view kAutoZh =
    "标记自动识别找到的章节（与 detect 的计数相同），替换之前标记的章节；第一个标题之前的文字"
    "成为第一章";
inline constexpr std::string_view kAtLineStart =
    "--incremental and --keyword take a heading only where it begins its line (after blanks), "
    "skipping mentions in running text";
inline constexpr std::string_view kAtLineStartZh =
    "--incremental 和 --keyword 只取位于行首（空白之后）的标题，跳过正文中的提及";
inline constexpr std::string_view kPattern =
    "mark a chapter at every line whose text (after its leading blanks) begins with a match of "
    "REGEX (ICU regular expression), replacing other marks";
inline constexpr std::string_view kPatternZh =
    "在每个开头（行首空白之后）与 REGEX（ICU 正则表达式）匹配的行标记一章，替换其他标记";
inline constexpr std::string_view kVolumePattern =
    "lines that begin with a match of REGEX are volume headings above the chapters";
inline constexpr std::string_view kVolumePatternZh = "开头与 REGEX 匹配的行是章节之上的卷标题";
inline constexpr std::string_view kShortTitles =
    "a collection: every short line between blank lines that ends no sentence is the title of "
    "a piece";
inline constexpr std::string_view kShortTitlesZh =
    "作品集：空行之间不以句末标点结尾的短行都是一篇的标题";

inline constexpr std::string_view kWords =
    "read the suspicious-word list from FILE instead of ./BrisnaMake.csv";
inline constexpr std::string_view kWordsZh = "从 FILE 读可疑字列表，而不是 ./BrisnaMake.csv";
inline constexpr std::string_view kJobs =
    "work on N books at a time (default: the number of cores)";
inline constexpr std::string_view kJobsZh = "同时处理 N 本书（默认：处理器核数）";
inline constexpr std::string_view kForce = "replace an existing output file";
inline constexpr std::string_view kForceZh = "替换已有的输出文件";

// --parts where it writes the parts, and where it only prints their plan.
inline constexpr std::string_view kPartsWritten =
    "write the whole book as parts of at most 98 chapters each (BOOK(1).qbr2, BOOK(2).qbr2, "
    "...), from the marked chapters or, with no chapter option, from every heading of the book";
inline constexpr std::string_view kPartsWrittenZh =
    "把整本书写成每册最多 98 章的几册（BOOK(1).qbr2、BOOK(2).qbr2……），章节取标记的章节，"
    "没有章节选项时取全书的所有章节标题";
inline constexpr std::string_view kPartsPlanned =
    "print the part plan instead: part, offset, length and title per chapter";
inline constexpr std::string_view kPartsPlannedZh =
    "改为打印分册方案：每章的册号、偏移、长度和标题";

inline constexpr std::string_view kEncoding =
    "read the book as ENC: auto (detect), gbk, utf-8, utf-16le, utf-16be, big5";
inline constexpr std::string_view kEncodingZh =
    "按 ENC 读书：auto（自动识别）、gbk、utf-8、utf-16le、utf-16be、big5";
inline constexpr std::string_view kOutputEncoding =
    "write the text as gbk or utf-8 instead of the default";
inline constexpr std::string_view kOutputEncodingZh = "按 gbk 或 utf-8 写出文本，而不用默认的编码";

}  // namespace book_options

}  // namespace brisna::cli::help
