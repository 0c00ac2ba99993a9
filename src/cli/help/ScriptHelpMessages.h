#pragma once
// The description of `script` and of the operator-script grammar, in both languages: --help,
// docs/cli.md, the manual page and the completions are all written from these texts.

#include <array>
#include <string_view>

namespace brisna::cli::help {

namespace script {

inline constexpr std::string_view kSummary =
    "run an operator script (- reads it from standard input)";
inline constexpr std::string_view kSummaryZh = "执行操作脚本（- 从标准输入读）";

inline constexpr std::array<std::string_view, 3> kDetails = {
    "Runs an operator script (see Scripts below). Message boxes print on standard "
    "output where they come up, between the outputs of `print`.",
    "Exit 0 when every line ran; 2 at the first malformed line, reported on standard "
    "error as `FILE:LINE: message` (the lines before it have run); 3 when the script "
    "cannot be read.",
    "`--encoding` is what every `open-txt` of the script reads its text as."};
inline constexpr std::array<std::string_view, 3> kDetailsZh = {
    "执行操作脚本（见下文“脚本”）。消息框在出现处打印到标准输出，夹在 `print` 的输出"
    "之间。",
    "每行都执行了时退出码为 0；遇到第一个格式错误的行时为 2，在标准错误上报告为 "
    "`FILE:LINE: 消息`（它之前的行已执行）；脚本读不了时为 3。",
    "`--encoding` 是脚本中每个 `open-txt` 读文本所用的编码。"};

inline constexpr std::string_view kFileHelp = "the script (UTF-8); - reads standard input";
inline constexpr std::string_view kFileHelpZh = "脚本（UTF-8）；- 读标准输入";

}  // namespace script

namespace script_grammar {

// One row of a two-column table: what is written, and what it does in either language.
struct RowText {
    std::string_view form;
    std::string_view meaning;
    std::string_view meaningZh;
};

// The paragraphs before the table of actions.
inline constexpr std::array<std::string_view, 1> kRules = {
    "One action per line. Blank lines and lines whose first word starts with `#` do "
    "nothing. Words are separated by blanks (spaces or tabs); a CR at the end of a line is "
    "ignored. Numbers are decimal and may be negative where a position allows -1. A "
    "malformed line stops the script with exit 2 and the message `FILE:LINE: message` on "
    "standard error (`<stdin>` for a script read from standard input)."};
inline constexpr std::array<std::string_view, 1> kRulesZh = {
    "每行一个动作。空行和第一个词以 `#` 开头的行什么也不做。词之间用空白（空格或制表符）"
    "分隔；行末的 CR 被忽略。数字为十进制，位置允许 -1 的地方可以为负。格式错误的行使脚本"
    "以退出码 2 停止，并在标准错误上给出 `FILE:LINE: 消息`（从标准输入读的脚本为 "
    "`<stdin>`）。"};

inline constexpr std::array<RowText, 14> kActions = {{
    {"`open-txt PATH`",
     "presses \"打开txt文件\" (1010); the dialog answers PATH (the rest of the line). A "
     "PATH ending in `.epub` (any case) is opened with \"打开EPUB\" instead",
     "按“打开txt文件”（1010）；对话框以 PATH（行的其余部分）作答。以 `.epub`（不分大小写）"
     "结尾的 PATH 改用“打开EPUB”打开"},
    {"`open-epub PATH`", "chooses \"打开EPUB\" with PATH", "以 PATH 选择“打开EPUB”"},
    {"`open-qbr2 PATH`", "presses \"打开qbr2文件\" (1011) with PATH",
     "以 PATH 按“打开qbr2文件”（1011）"},
    {"`open-qbr PATH`", "presses \"打开qbr\" (1016) with PATH", "以 PATH 按“打开qbr”（1016）"},
    {"`cancel-next-dialog`",
     "the next `open-*` action's dialog is cancelled instead (its PATH is ignored)",
     "下一个 `open-*` 动作的对话框改为取消（忽略它的 PATH）"},
    {"`caret LINE [COLUMN]`",
     "empty selection at character COLUMN (default 0) of display line LINE; a column "
     "past the end of the text puts the caret at the end",
     "在显示行 LINE 的第 COLUMN 个字符处（默认 0）放置空选区；超出文本末尾的列把光标放"
     "在末尾"},
    {"`select FROM TO`", "selects characters FROM to TO of the text (TO -1: to the end)",
     "选中文本的第 FROM 到 TO 个字符（TO 为 -1：到末尾）"},
    {"`type FIELD TEXT`",
     "sets edit field FIELD (`search`/1014 or `start-chapter`/1017) to TEXT: everything "
     "after the one blank that follows FIELD, possibly empty; for 1014 the field's "
     "change notification follows",
     "把编辑框 FIELD（`search`/1014 或 `start-chapter`/1017）设为 TEXT：FIELD 之后那一个"
     "空白后面的全部内容，可以为空；对 1014 随后发出编辑框的变更通知"},
    {"`press BUTTON`",
     "presses the button named by its caption, short name or control id (table below; "
     "any id is accepted, ids without a command do nothing). Pressing 1010, 1011 or "
     "1016 this way cancels the file dialog",
     "按下以标题、短名或控件编号指名的按钮（见下表；任何编号都接受，没有命令的编号什么也"
     "不做）。这样按 1010、1011 或 1016 会取消文件对话框"},
    {"`menu ITEM`",
     "chooses an item of the chapter list's context menu: 上移, 下移, 删除, 全部删除 (or "
     "their short names or ids)",
     "选择章节列表右键菜单的一项：上移、下移、删除、全部删除（或它们的短名或编号）"},
    {"`select-chapters I...`",
     "clears the chapter list's selection, selects the items I in the order given (the "
     "last one becomes the caret item), then sends one selection-change notification",
     "清除章节列表的选择，按给出的顺序选中各项 I（最后一项成为光标项），然后发出一次选择"
     "变更通知"},
    {"`select-problem I`",
     "clears the problem list's selection, selects item I (it becomes the caret item) "
     "and sends the selection-change notification",
     "清除问题列表的选择，选中第 I 项（它成为光标项）并发出选择变更通知"},
    {"`dblclick-problem I`",
     "selects item I as `select-problem` does, then sends the double-click notification "
     "(no selection-change notification)",
     "像 `select-problem` 那样选中第 I 项，然后发出双击通知（不发选择变更通知）"},
    {"`print WHAT`", "prints part of the window state, see below", "打印窗口状态的一部分，见下文"},
}};

// Introduces the table of control names.
inline constexpr std::string_view kNamesNote =
    "The names of buttons, menu items and fields (a caption, the short name or the id all "
    "work):";
inline constexpr std::string_view kNamesNoteZh =
    "按钮、菜单项和编辑框的名字（标题、短名或编号都可以）：";

// Introduces the table of `print` outputs.
inline constexpr std::string_view kPrintNote = "`print` output:";
inline constexpr std::string_view kPrintNoteZh = "`print` 的输出：";

inline constexpr std::array<RowText, 6> kPrints = {{
    {"`chapters`",
     "one per chapter record: offset, tab, length, tab, title (the lengths as the model "
     "holds them)",
     "每个章节记录一行：偏移、制表符、长度、制表符、标题（长度为模型中所记）"},
    {"`problems`", "one per problem list entry", "问题列表每项一行"},
    {"`marks`",
     "one per chapter list item: index, tab, problem mark (item data, 0 or 1), tab, "
     "item text",
     "章节列表每项一行：序号、制表符、问题标记（项数据，0 或 1）、制表符、项文字"},
    {"`selection`",
     "`text FROM TO` (the text selection), then `chapters CARET I...` and `problems "
     "CARET I...` (each list's caret item, -1 when empty, followed by its selected items "
     "in ascending order)",
     "`text FROM TO`（文本选区），然后是 `chapters CARET I...` 和 `problems CARET "
     "I...`（各列表的光标项，为空时为 -1，后面是按升序排列的选中项）"},
    {"`text`", "the whole text (CR LF line ends), then one line end",
     "全部文本（CR LF 行尾），再加一个行尾"},
    {"`scan`", "the detection scan position", "识别扫描位置"},
}};

// The paragraphs after the tables.
inline constexpr std::array<std::string_view, 1> kClosing = {
    "Message boxes print on standard output where they come up, between the outputs of "
    "`print`; titles, entries and messages show a CR or LF inside them as `\\r` or `\\n`."};
inline constexpr std::array<std::string_view, 1> kClosingZh = {
    "消息框在出现处打印到标准输出，夹在 `print` 的输出之间；标题、列表项和消息中的 CR 或 "
    "LF 显示为 `\\r` 或 `\\n`。"};

}  // namespace script_grammar

}  // namespace brisna::cli::help
