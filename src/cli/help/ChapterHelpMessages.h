#pragma once
// The descriptions of chapters and detect, in English and Chinese, paragraph for paragraph: one
// description gives --help, the manual pages, the completions and docs/cli.md.

#include <array>
#include <string_view>

namespace brisna::cli::help {

namespace chapters {

inline constexpr std::string_view kSummary = "print the chapters the options mark";
inline constexpr std::array<std::string_view, 3> kDetails = {
    "Prints one line per chapter in list order: byte offset, a tab, byte length, a tab, "
    "the title. Lengths are computed from the offsets over the loaded text (each chapter "
    "runs to the next one's offset, the last to the end of the text). An EPUB opened "
    "without chapter options lists every entry of its contents instead, with a fourth "
    "column, the entry's level (1 the top); entries leading to one place share it.",
    "With `--parts` the part plan of `generate --parts` is printed instead, without "
    "writing anything: one line per chapter of every part, the part number, a tab, the "
    "byte offset in the whole loaded text, a tab, the length, a tab, the title; a volume "
    "line is a line of its own with `-` for its length.",
    "Exit 0; 3 when the book could not be opened or a chapter option was refused (the "
    "chapters marked before the refusal are printed), or, with `--parts`, when no part "
    "plan can be made (a book without headings)."};

inline constexpr std::string_view kSummaryZh = "打印选项标记出的章节";
inline constexpr std::array<std::string_view, 3> kDetailsZh = {
    "按列表顺序每章打印一行：字节偏移、制表符、字节长度、制表符、标题。长度由偏移在载入的"
    "文本上算出（每章到下一章的偏移为止，最后一章到文本末尾）。没有章节选项时，打开的 EPUB "
    "改为列出其目录的每一项，第四列为该项的层级（1 为最上层）；指向同一处的各项偏移相同。",
    "加 `--parts` 时改为打印 `generate --parts` 的分册方案，不写任何文件：每册的每章一行，"
    "册号、制表符、在整个载入文本中的字节偏移、制表符、长度、制表符、标题；卷标题单独一行，"
    "长度处为 `-`。",
    "退出码为 0；书打不开或章节选项被拒绝时为 3（打印被拒绝之前标记的章节）；加 `--parts` "
    "而无法分册（书中没有章节标题）时也为 3。"};

}  // namespace chapters

namespace detect {

inline constexpr std::string_view kSummary =
    "list the chapter headings automatic recognition finds";
inline constexpr std::array<std::string_view, 3> kDetails = {
    "Prints what automatic recognition (`--auto`, and every chapter command given no "
    "chapter option) finds: the first heading as the book writes it, a tab, the chapters "
    "it makes (the text before the first heading and named sections such as `楔子` and "
    "`后记` included, also past the 98 chapters one book holds), a tab, the share of the "
    "text from the first heading on (`97%`), and, when the first heading is not on the "
    "first line, a tab and `从第N行开始` (N counted from 1). A book that numbers its "
    "chapters in several runs (`第N节`, then `第N话`) gets one more line per run, in text "
    "order, with the run's own chapters and share.",
    "Headings are found at line start: `第 + number + 章/回/节/集/篇/话/幕` (Chinese "
    "numerals, `两`, digits, Traditional characters), volumes `第N卷/部/册` and `卷N`, "
    "`Chapter N`, a number alone on its line; in brackets (`【第一章】`, `［第12章］`, "
    "`〖第一卷〗`); after a site's word (`正文`, `VIP卷`) or a volume's name; a volume and "
    "its first chapter on one line; named sections as whole short lines. A contents list, "
    "sentences that begin like a heading and mentions in running text are passed over.",
    "Exit 0 when headings were found, 1 when none were (the book is read, but has no "
    "heading structure to offer), 3 when the book could not be opened."};

inline constexpr std::string_view kSummaryZh = "列出自动识别找到的章节标题";
inline constexpr std::array<std::string_view, 3> kDetailsZh = {
    "打印自动识别（`--auto`，以及没有章节选项的各章节子命令）找到的结果：书中写出的第一个"
    "标题、制表符、识别出的章数（包括第一个标题之前的文字和 `楔子`、`后记` 等有名称的章节，"
    "超过一本书能装的 98 章也照数）、制表符、从第一个标题起的文本比例（`97%`），第一个标题"
    "不在第一行时再加制表符和 `从第N行开始`（N 从 1 数起）。分几段编号的书（先 `第N节`，"
    "后 `第N话`）每段再按文本顺序多打印一行，给出该段自己的章数和比例。",
    "标题在行首识别：`第 + 数字 + 章/回/节/集/篇/话/幕`（中文数字、`两`、阿拉伯数字、繁体字）、"
    "卷 `第N卷/部/册` 和 `卷N`、`Chapter N`、单独一行的数字；括号中的标题（`【第一章】`、"
    "`［第12章］`、`〖第一卷〗`）；网站前缀（`正文`、`VIP卷`）或卷名之后的标题；同一行的卷和"
    "它的第一章；作为完整短行的有名称章节。目录、像标题开头的句子和正文中的提及都会跳过。",
    "找到标题时退出码为 0，一个也没有时为 1（书读了，但没有可用的标题结构），书打不开时为 "
    "3。"};

}  // namespace detect

}  // namespace brisna::cli::help
