#pragma once
// The descriptions of clean (and of the --clean option the book subcommands share) and t2s, in
// English and Chinese: one description gives --help, the manual pages, the completions and
// docs/cli.md.

#include <array>
#include <string_view>

namespace brisna::cli::help {

namespace clean {

inline constexpr std::string_view kSummary =
    "clean a downloaded book: site junk out, hard-wrapped paragraphs joined";
inline constexpr std::array<std::string_view, 5> kDetails = {
    "Opens `BOOK` as 打开txt文件 does (`-` reads standard input) and runs 整理文本: whole "
    "lines that are site notices (web addresses, 本书由…整理, 手机阅读, 请记住本站 ...), "
    "chapter-end marks (（本章完）, （未完待续）), begging lines (求月票, 求推荐票 ...) and "
    "separator lines (=====, ------) are removed, and so is the 目录 block that lists the "
    "chapters again before the first one. When the book is hard-wrapped, the lines of "
    "a paragraph are joined (nothing between Chinese characters, one space between "
    "Latin words). Every paragraph is then indented with two full-width spaces and runs "
    "of blank lines shrink to one.",
    "Headings are never changed, joined or removed, and no character outside a removed "
    "line is lost or moved. A line where somebody speaks (“求推荐！”她说) stays.",
    "The cleaned text goes to `OUT` (`-` or no `-o`: standard output) in the book's own "
    "encoding: UTF-8 for a UTF-8 or UTF-16 book, GBK otherwise. An existing `OUT` is "
    "left alone (exit 3) unless `--force` is given. What was done goes to standard "
    "error: `已删除广告等 N 行、目录 1 处，合并断行 M 处`.",
    "`--dry-run` writes nothing and lists every change on standard output instead, one "
    "line each: the kind (广告, 目录, 作者的话, 合并断行), a tab, the line number "
    "(from 1), a tab and the line's text.",
    "`--junk-file FILE` adds the patterns of `FILE` (one a line, in any encoding a book "
    "may have; `*` stands for any run of characters, Latin letters match either case): "
    "a line that contains one is removed."};

inline constexpr std::string_view kSummaryZh = "整理下载的书：去掉网站广告等杂行，合并断行";
inline constexpr std::array<std::string_view, 5> kDetailsZh = {
    "像“打开txt文件”那样打开 `BOOK`（`-` 读标准输入），执行“整理文本”：删除整行的网站"
    "广告（网址、本书由…整理、手机阅读、请记住本站……）、章末标记（（本章完）、"
    "（未完待续））、求票的行（求月票、求推荐票……）和分隔线（=====、------），以及第一章"
    "之前把各章标题再列一遍的目录。书是硬换行的时候，把一段中的各行合并（汉字之间不加"
    "字符，英文单词之间加一个空格）。然后每段以两个全角空格缩进，连续的空行缩为一行。",
    "标题绝不改动、合并或删除，删除的行以外的字符一个也不丢、次序不变。有人说话的行"
    "（“求推荐！”她说）保留。",
    "整理后的文本写入 `OUT`（`-` 或不给 `-o` 时写到标准输出），编码与书相同：UTF-8 或 "
    "UTF-16 的书写成 UTF-8，其他写成 GBK。已有的 `OUT` 不会被改动（退出码 3），除非给出 "
    "`--force`。做了什么写到标准错误：`已删除广告等 N 行、目录 1 处，合并断行 M 处`。",
    "`--dry-run` 什么也不写，而是在标准输出列出每处改动，各占一行：种类（广告、目录、"
    "作者的话、合并断行）、制表符、行号（从 1 起）、制表符和该行的文字。",
    "`--junk-file FILE` 加上 `FILE` 中的模式（每行一个，编码可以是书能用的任何编码；"
    "`*` 代表任意一串字符，英文字母不分大小写）：含有其中一个的行被删除。"};

inline constexpr std::string_view kOutput = "write the cleaned text to OUT; - is standard output";
inline constexpr std::string_view kOutputZh = "把整理后的文本写入 OUT；- 为标准输出";
inline constexpr std::string_view kNoJunk =
    "keep site notices, chapter-end marks, begging and separator lines";
inline constexpr std::string_view kNoJunkZh = "保留网站广告、章末标记、求票的行和分隔线";
inline constexpr std::string_view kNoContents = "keep the 目录 block before the first chapter";
inline constexpr std::string_view kNoContentsZh = "保留第一章之前的目录";
inline constexpr std::string_view kNoUnwrap = "never join lines, even in a hard-wrapped book";
inline constexpr std::string_view kNoUnwrapZh = "不合并断行，即使书是硬换行的";
inline constexpr std::string_view kNotes = "also remove the author's notes (PS：…, 作者有话说)";
inline constexpr std::string_view kNotesZh = "也删除作者的话（PS：…、作者有话说）";
inline constexpr std::string_view kIndent =
    "full-width spaces before every paragraph: 0 or 2 (default 2)";
inline constexpr std::string_view kIndentZh = "每段前的全角空格数：0 或 2（默认 2）";
inline constexpr std::string_view kJunkFile = "more junk patterns, one a line";
inline constexpr std::string_view kJunkFileZh = "更多的广告模式，每行一个";
inline constexpr std::string_view kDryRun = "list the changes instead of writing the text";
inline constexpr std::string_view kDryRunZh = "列出改动，不写文本";

// --clean, the same clean-up as an option of the subcommands that open a book.
inline constexpr std::string_view kCleanOption =
    "run 整理文本 (see clean) on the book before its chapters are marked";
inline constexpr std::string_view kCleanOptionZh = "标记章节之前先对书执行“整理文本”（见 clean）";

}  // namespace clean

namespace t2s {

inline constexpr std::string_view kSummary =
    "convert a book from Traditional to Simplified characters";
inline constexpr std::array<std::string_view, 2> kDetails = {
    "Opens `IN.txt` as 打开txt文件 does (`-` reads standard input), runs 繁体转简体 and "
    "writes the text to `OUT.txt` (`-` writes standard output). An existing `OUT.txt` is "
    "left alone (exit 3) unless `--force` is given.",
    "The text is written back the way it came: a GBK book stays GBK, a UTF-8 book stays "
    "UTF-8 (with its byte-order mark, if it had one), each with the line ends of `IN.txt`; "
    "a UTF-16 or Big5 book, or an EPUB, is written as UTF-8, and so is text to a terminal. "
    "`--output-encoding gbk` or `utf-8` chooses the encoding instead. When the conversion "
    "dictionary cannot be loaded nothing is written (exit 3)."};

inline constexpr std::string_view kSummaryZh = "把书从繁体字转换为简体字";
inline constexpr std::array<std::string_view, 2> kDetailsZh = {
    "像“打开txt文件”那样打开 `IN.txt`（`-` 读标准输入），执行“繁体转简体”，并把文本写入 "
    "`OUT.txt`（`-` 写到标准输出）。已有的 `OUT.txt` 不会被改动（退出码 3），除非给出 "
    "`--force`。",
    "文本按读入时的样子写回：GBK 的书仍是 GBK，UTF-8 的书仍是 UTF-8（原有字节顺序标记的"
    "保留标记），行尾都与 `IN.txt` 相同；UTF-16 或 Big5 的书、EPUB 以及写到终端的文本都写成 "
    "UTF-8。`--output-encoding gbk` 或 `utf-8` 改用指定的编码。转换词典载入不了时什么也不写"
    "（退出码 3）。"};

inline constexpr std::string_view kIn = "the book text (.txt); - reads standard input";
inline constexpr std::string_view kInZh = "书的文本（.txt）；- 读标准输入";
inline constexpr std::string_view kOut = "where the converted text goes; - is standard output";
inline constexpr std::string_view kOutZh = "转换后的文本写到哪里；- 为标准输出";

}  // namespace t2s

}  // namespace brisna::cli::help
