#pragma once
// The help of the epub subcommand: its description and the lines of its own options, each in
// English and Chinese. --help, the manual page, the completions and docs/cli.md are all made
// from these.

#include <array>
#include <string_view>

namespace brisna::cli::help::epub {

inline constexpr std::string_view kSummary = "mark chapters and write the book as an EPUB 3 file";
inline constexpr std::string_view kSummaryZh = "标记章节并把书写成 EPUB 3 文件";

inline constexpr std::array<std::string_view, 7> kDetails = {
    "Opens the book as 打开txt文件 (or, for a `.epub`, 打开EPUB) does, applies the chapter "
    "options, then runs 生成EPUB: the generate-side checks of 生成qbr without its 30 KB "
    "chapter size and 98-chapter count, then one EPUB 3 file with a table of contents "
    "(`nav.xhtml`, and `toc.ncx` for older readers) and one XHTML document per chapter. "
    "The title comes from a line 《书名》 or 书名：… at the head of the text, else the "
    "file name; the author from a line 作者：…; the identifier from the text, so the "
    "same book always gives the same file.",
    "Title and author: `--title` and `--author`, else an opened EPUB's own, else the "
    "text's head (《书名》, 书名：…, 作者：…, or a short first line that is neither a "
    "heading nor a sentence), else the file name read as `《书名》作者：某某`, "
    "`书名 作者：某某`, `书名_某某` or `书名(某某)`, else the bare file name, else "
    "\"（无标题）\". `--language` sets the language (default zh-CN, zh-TW for a text in "
    "Traditional characters). The identifier is a name-based UUID (version 5) of the text.",
    "Ahead of the text, out of its reading order, come a cover page, a title page (title, "
    "author, the text's 内容简介) and the contents. The cover is `--cover FILE` (JPEG or "
    "PNG), else `cover.jpg`, `cover.png`, `BOOK.jpg` or `BOOK.png` beside the book, else "
    "an opened EPUB's cover, else one drawn from the title and author; `--no-cover` "
    "leaves it out.",
    "The look: `--indent EM` (2 by default, 0 to 4), `--spacing EM` between paragraphs "
    "(0 by default, up to 3), `--line-height N` (1.6 by default, 1 to 3), "
    "`--heading-align centre|left`, `--font-family reader|serif|sans|kai` (宋体, 黑体, "
    "楷体; reader leaves it to the device), `--font FILE` to embed a TrueType, OpenType "
    "or WOFF font, `--vertical` for 竖排 (columns right to left, pages turned to the "
    "right; readers that cannot set columns show the text across), `--css FILE` for a "
    "style sheet of one's own, applied last. Blank lines of the text are not written as "
    "empty paragraphs (the style spaces the paragraphs) unless `--keep-blank-lines`.",
    "An EPUB holds any number of chapters. A book of more chapters than the chapter list "
    "holds (98) is written from its whole outline when no chapter is marked, with its "
    "volumes as the first level of the contents and their chapters below them; `--auto` "
    "marks nothing in such a book and leaves the contents to the outline. An EPUB read "
    "with a longer contents is written with all of it unless chapter options mark it "
    "afresh.",
    "The file is written beside the text as `BOOK.epub` (`.txt` removed from the name, "
    "as for the generated books), replacing an existing one as 生成qbr does. With "
    "`-o OUT.epub` it goes there instead, and an existing `OUT.epub` is left alone "
    "(exit 3) unless `--force` is given; `-o -` writes the file to standard output. The "
    "written path is printed; \"生成EPUB成功\" goes to standard error.",
    "Exit 0 when the file was written, else 3. A book read from standard input needs "
    "`-o`; an EPUB on standard input is recognised by its content."};

inline constexpr std::array<std::string_view, 7> kDetailsZh = {
    "像“打开txt文件”（`.epub` 则像“打开EPUB”）那样打开书，应用章节选项，然后执行"
    "“生成EPUB”：先做“生成qbr”的生成前检查（不含 30 KB 章节大小和 98 章的限制），再写出"
    "一个 EPUB 3 文件：带目录（`nav.xhtml`，以及给旧阅读器的 `toc.ncx`），每章一个 XHTML "
    "文档。书名取自文本开头的《书名》或“书名：…”一行，否则取文件名；作者取自“作者：…”"
    "一行；标识符由文本算出，所以同一本书总是得到相同的文件。",
    "书名和作者：先取 `--title`、`--author`，其次是打开的 EPUB 自带的，再次是文本开头"
    "（《书名》、“书名：…”、“作者：…”，或既不是标题也不是句子的简短首行），然后是按 "
    "`《书名》作者：某某`、`书名 作者：某某`、`书名_某某`、`书名(某某)` 解读的文件名，"
    "再然后是文件名本身，最后是“（无标题）”。`--language` 指定语言（默认 zh-CN，繁体"
    "文本为 zh-TW）。标识符是由文本算出的基于名字的 UUID（第 5 版）。",
    "正文之前（不在阅读顺序中）依次是封面页、书名页（书名、作者、文本中的内容简介）和目录。"
    "封面取 `--cover FILE`（JPEG 或 PNG），否则取书旁边的 `cover.jpg`、`cover.png`、"
    "`BOOK.jpg` 或 `BOOK.png`，否则取打开的 EPUB 自带的封面，否则用书名和作者生成一张；"
    "`--no-cover` 不要封面。",
    "版式：`--indent EM` 段首缩进（默认 2，0 到 4），`--spacing EM` 段间距（默认 0，"
    "最大 3），`--line-height N` 行高（默认 1.6，1 到 3），`--heading-align centre|left` "
    "标题对齐，`--font-family reader|serif|sans|kai` 字体（宋体、黑体、楷体；reader "
    "由阅读器决定），`--font FILE` 嵌入 TrueType、OpenType 或 WOFF 字体，`--vertical` "
    "竖排（从右到左分栏、向右翻页；不支持竖排的阅读器按横排显示），`--css FILE` 附加"
    "自己的样式表，最后生效。文本中的空行不写成空段落（段间距由样式决定），除非给出 "
    "`--keep-blank-lines`。",
    "EPUB 的章节数没有限制。章节多于章节列表所能容纳（98章）的书，在没有标记章节时按全书"
    "结构写出：卷为目录的第一级，各卷的章在其下；对这样的书 `--auto` 不标记章节，目录交给"
    "全书结构。读入的 EPUB 目录更长时，除非用章节选项重新标记，写出的是它的全部目录。",
    "文件写在文本旁边，名为 `BOOK.epub`（和生成的书一样，名字中去掉 `.txt`），已有的同名"
    "文件会像“生成qbr”那样被替换。给出 `-o OUT.epub` 时改写到那里，已有的 `OUT.epub` "
    "不会被改动（退出码 3），除非给出 `--force`；`-o -` 把文件写到标准输出。写出的路径"
    "会被打印；“生成EPUB成功”输出到标准错误。",
    "写出文件时退出码为 0，否则为 3。从标准输入读的书需要 `-o`；标准输入上的 EPUB "
    "按内容识别。"};

// The options only epub has.
inline constexpr std::string_view kOutputHelp =
    "write the EPUB to OUT instead of beside the text; - is standard output";
inline constexpr std::string_view kOutputHelpZh = "把 EPUB 写到 OUT，而不是文本旁边；- 为标准输出";

// The look of the book.
inline constexpr std::string_view kTitleHelp = "the book's title";
inline constexpr std::string_view kTitleHelpZh = "书名";
inline constexpr std::string_view kAuthorHelp = "the book's author";
inline constexpr std::string_view kAuthorHelpZh = "作者";
inline constexpr std::string_view kLanguageHelp = "the book's language (zh-CN, zh-TW, ...)";
inline constexpr std::string_view kLanguageHelpZh = "书的语言（zh-CN、zh-TW 等）";
inline constexpr std::string_view kCoverHelp = "the cover picture (JPEG or PNG)";
inline constexpr std::string_view kCoverHelpZh = "封面图片（JPEG 或 PNG）";
inline constexpr std::string_view kNoCoverHelp = "no cover";
inline constexpr std::string_view kNoCoverHelpZh = "不要封面";
inline constexpr std::string_view kIndentHelp = "paragraph indent in em (0 to 4, default 2)";
inline constexpr std::string_view kIndentHelpZh = "段首缩进，单位 em（0 到 4，默认 2）";
inline constexpr std::string_view kSpacingHelp =
    "space between paragraphs in em (0 to 3, default 0)";
inline constexpr std::string_view kSpacingHelpZh = "段间距，单位 em（0 到 3，默认 0）";
inline constexpr std::string_view kLineHeightHelp = "line height (1 to 3, default 1.6)";
inline constexpr std::string_view kLineHeightHelpZh = "行高（1 到 3，默认 1.6）";
inline constexpr std::string_view kHeadingAlignHelp = "headings centred or to the left";
inline constexpr std::string_view kHeadingAlignHelpZh = "标题居中或居左";
inline constexpr std::string_view kFontFamilyHelp = "the face: reader, serif, sans or kai";
inline constexpr std::string_view kFontFamilyHelpZh =
    "字体：reader、serif（宋体）、sans（黑体）或 kai（楷体）";
inline constexpr std::string_view kFontHelp = "a font file to embed";
inline constexpr std::string_view kFontHelpZh = "嵌入的字体文件";
inline constexpr std::string_view kVerticalHelp = "vertical writing (竖排)";
inline constexpr std::string_view kVerticalHelpZh = "竖排";
inline constexpr std::string_view kCssHelp = "a style sheet of one's own, applied last";
inline constexpr std::string_view kCssHelpZh = "自己的样式表，最后生效";
inline constexpr std::string_view kKeepBlankLinesHelp = "blank lines as empty paragraphs";
inline constexpr std::string_view kKeepBlankLinesHelpZh = "空行写成空段落";

}  // namespace brisna::cli::help::epub
