#pragma once
// The help of the generate subcommand: its description and the line of its own option, each in
// English and Chinese. --help, the manual page, the completions and docs/cli.md are all made
// from these.

#include <array>
#include <string_view>

namespace brisna::cli::help::generate {

inline constexpr std::string_view kSummary = "mark chapters and write the .qbr2 and .qbr files";
inline constexpr std::string_view kSummaryZh = "标记章节并写出 .qbr2 和 .qbr 文件";

inline constexpr std::array<std::string_view, 4> kDetails = {
    "Opens each book as 打开txt文件 does, applies the chapter options, then runs "
    "生成qbr: the book is checked once more and written as `.qbr2` and `.qbr` files "
    "beside the text (`book.qbr2`, or `book1.qbr2`, `book2.qbr2`, ... when the book "
    "needs several files; the same for `.qbr`). Existing books of those names are "
    "replaced, as in the window. Each written path is printed on its own line; the "
    "messages (\"生成qbr和qbr2成功\" included) go to standard error.",
    "Exit 0 when \"生成qbr和qbr2成功\" came up, else 3. When a chapter option is "
    "refused, nothing is written for that book. Every file of both formats is built "
    "before the first is written, so a book that one format refuses leaves no file of "
    "the other. A book opened from an EPUB is written as `--parts` writes it: chapters "
    "too short for a `.qbr` go with the chapter after them, and contents of more than "
    "98 entries become parts (a message says so).",
    "With `--parts` a book of any length is written as several complete books (册) of at "
    "most 98 chapters each: `book(1).qbr2`, `book(2).qbr2`, ... (the number has as many "
    "digits as the last part's, so the names sort in reading order; the name is "
    "shortened on a character boundary to keep within 15 double-byte characters). The "
    "chapters are every heading of the book (numbered headings, volumes, named sections "
    "such as 楔子 and 番外, the front matter before the first heading) or, with "
    "`--incremental`, `--keyword` or `--line`, the chapters those mark. Parts are cut at "
    "volume starts where the volumes allow it, else into nearly equal parts; a chapter "
    "over 30 KB is cut at paragraph ends, its next pieces titled with （二）, （三）, .... "
    "A chapter too short for a `.qbr` (a title page, a closing line) goes with the "
    "chapter after it (the last one with the one before). Every part is checked as "
    "`generate` checks a book, and all parts are built, before the first file is "
    "written: a part that would be refused is named and nothing is written (exit 3), "
    "and `chapters --parts` refuses exactly such a book. The parts' texts joined give "
    "back the whole text. A book that fits one book is written under its usual name. "
    "Parts of an earlier edition of the same name that this run did not write again "
    "(`book(3).qbr2` after an edition of two parts) are removed, and the message names "
    "them; only files that are this program's books of those names, and not the book "
    "of a text `book(3).txt` beside them. Exit 0 when every part was written; a part "
    "that cannot be written leaves the parts before it and says which part failed "
    "(exit 3); a book without headings is refused (exit 3) and nothing is written.",
    "A book read from standard input has no name to name its files after, so `generate` "
    "takes files only."};

inline constexpr std::array<std::string_view, 4> kDetailsZh = {
    "像“打开txt文件”那样打开每本书，应用章节选项，然后执行“生成qbr”：书再检查一遍，"
    "以 `.qbr2` 和 `.qbr` 文件写在文本旁边（`book.qbr2`；书需要几个文件时为 "
    "`book1.qbr2`、`book2.qbr2`……；`.qbr` 相同）。同名的已有书会被替换，和窗口中一样。"
    "每个写出的路径各占一行；消息（包括“生成qbr和qbr2成功”）输出到标准错误。",
    "出现“生成qbr和qbr2成功”时退出码为 0，否则为 3。章节选项被拒绝时，这本书什么也不写。"
    "两种格式的所有文件都先在内存中生成，然后才写第一个文件，所以一种格式拒绝的书不会只留下"
    "另一种格式的文件。从 EPUB 打开的书像 `--parts` 那样写出：太短、无法写成 `.qbr` "
    "章节的章并入下一章，目录超过 98 项时分册（并有消息说明）。",
    "加 `--parts` 时，任意长度的书写成几本完整的书（册），每册最多 98 章：`book(1).qbr2`、"
    "`book(2).qbr2`"
    "……（编号的位数与最后一册相同，文件名按阅读顺序排列；书名在字符边界处缩短，"
    "不超过 15 "
    "个汉字）。章节取全书的所有章节标题（带编号的标题、卷、楔子和番外等、第一个标题"
    "之前的内容），给出 `--incremental`、`--keyword` 或 `--line` "
    "时取它们标记的章节。有卷时尽量"
    "在卷首分册，否则分成章数几乎相等的几册；超过 30 KB "
    "的章节在段落结尾处切开，后面的部分标题"
    "加上（二）、（三）……。太短、无法写成 `.qbr` "
    "章节的章（书名页、结尾一行）并入下一章（最后一章并入前一章）。"
    "每册像 `generate` 检查一本书那样检查，所有分册都生成好以后才写第一个文件：会被拒绝的"
    "一册会被指出，什么也不写（退出码 3），`chapters --parts` 也正好拒绝这样的书。各册的"
    "文本连起来就是整个文本。一本书装得下时按平常的名字写出。同名旧版中这次没有重写的分册"
    "（分成两册后的 "
    "`book(3).qbr2`）会被删除，消息中列出它们；只删除本程序生成的、能完整读出"
    "的这些名字的书，旁边有 `book(3).txt` 的不删。所有分册都写出时退出码为 0；某一册写不"
    "出时，前面的分册保留，并说明哪一册失败（退出码 3）；没有章节标题的书被拒绝（退出码 "
    "3），什么也不写。",
    "从标准输入读的书没有名字可以用来命名它的文件，所以 `generate` 只接受文件。"};

inline constexpr std::string_view kOutputDirHelp =
    "write the books into DIR instead of beside the text (same names)";
inline constexpr std::string_view kOutputDirHelpZh = "把书写进 DIR，而不是文本旁边（名字不变）";

}  // namespace brisna::cli::help::generate
