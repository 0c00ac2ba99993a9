#pragma once
// The description of unpack, in English and Chinese, paragraph for paragraph: one description
// gives --help, the manual pages, the completions and docs/cli.md.

#include <array>
#include <string_view>

namespace brisna::cli::help::unpack {

inline constexpr std::string_view kSummary =
    "open a .qbr2, .qbr or .epub book and print its chapters or its text";
inline constexpr std::array<std::string_view, 2> kDetails = {
    "Opens the book as 打开qbr2文件, 打开qbr or 打开EPUB does (chosen by the file's "
    "extension, `.qbr2`, `.qbr` or `.epub`; any other name is a usage error) and prints "
    "the chapter lines as `chapters` does, with the lengths the book gives. After a "
    "damaged `.qbr` file the chapters read before the damage are printed and the exit code "
    "is 3.",
    "With `-o OUT.txt` the book text (UTF-8, LF) is also written to `OUT.txt`; an "
    "existing `OUT.txt` is left alone (exit 3) unless `--force` is given. With `-o -` "
    "the text goes to standard output instead of the chapter lines. `--output-encoding "
    "gbk` writes the text as the device and the editor hold it instead (GBK, CR LF)."};

inline constexpr std::string_view kSummaryZh = "打开 .qbr2、.qbr 或 .epub 书，打印其章节或文本";
inline constexpr std::array<std::string_view, 2> kDetailsZh = {
    "像“打开qbr2文件”、“打开qbr”或“打开EPUB”那样打开书（按文件扩展名 `.qbr2`、`.qbr` 或 "
    "`.epub` 选择；其他名字是用法错误），并像 `chapters` 那样打印章节行，长度取书中所记。"
    "`.qbr` 文件损坏时，打印损坏之前读到的章节，退出码为 3。",
    "给出 `-o OUT.txt` 时，书的文本（UTF-8、LF）还会写入 `OUT.txt`；已有的 `OUT.txt` "
    "不会被改动（退出码 3），除非给出 `--force`。给出 `-o -` 时，文本代替章节行写到标准"
    "输出。`--output-encoding gbk` 改为按设备和编辑器中的样子（GBK、CR LF）写出文本。"};

inline constexpr std::string_view kBook = "the book file (.qbr2, .qbr or .epub)";
inline constexpr std::string_view kBookZh = "书文件（.qbr2、.qbr 或 .epub）";
inline constexpr std::string_view kOutput =
    "write the book text (UTF-8) to OUT; - is standard output";
inline constexpr std::string_view kOutputZh = "把书的文本（UTF-8）写入 OUT；- 为标准输出";

}  // namespace brisna::cli::help::unpack
