// epub: mark chapters and write the book as an EPUB file.
#include <ostream>

#include "cli/BookOptions.h"
#include "cli/Commands.h"
#include "cli/UsageErrors.h"
#include "epub/EpubCommands.h"

namespace brisna::cli {
namespace {

class EpubCommand : public Command {
  public:
    EpubCommand() {
        spec_.name = "epub";
        spec_.synopsis = "BOOK [CHAPTER OPTIONS] [-o OUT.epub|-] [--force] [--words FILE]";
        spec_.summary = "mark chapters and write the book as an EPUB 3 file";
        spec_.details = {
            "Opens the book as 打开txt文件 (or, for a `.epub`, 打开EPUB) does, applies the chapter "
            "options, then runs 生成EPUB: the generate-side checks of 生成qbr without its 30 KB "
            "chapter size and 98-chapter count, then one EPUB 3 file with a table of contents "
            "(`nav.xhtml`, and `toc.ncx` for older readers) and one XHTML document per chapter. "
            "The title comes from a line 《书名》 or 书名：… at the head of the text, else the "
            "file name; the author from a line 作者：…; the identifier from the text, so the "
            "same book always gives the same file.",
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
        spec_.summaryZh = "标记章节并把书写成 EPUB 3 文件";
        spec_.detailsZh = {
            "像“打开txt文件”（`.epub` 则像“打开EPUB”）那样打开书，应用章节选项，然后执行"
            "“生成EPUB”：先做“生成qbr”的生成前检查（不含 30 KB 章节大小和 98 章的限制），再写出"
            "一个 EPUB 3 文件：带目录（`nav.xhtml`，以及给旧阅读器的 `toc.ncx`），每章一个 XHTML "
            "文档。书名取自文本开头的《书名》或“书名：…”一行，否则取文件名；作者取自“作者：…”"
            "一行；标识符由文本算出，所以同一本书总是得到相同的文件。",
            "EPUB 的章节数没有限制。章节多于章节列表所能容纳（98章）的书，在没有标记章节时按全书"
            "结构写出：卷为目录的第一级，各卷的章在其下；对这样的书 `--auto` 不标记章节，目录交给"
            "全书结构。读入的 EPUB 目录更长时，除非用章节选项重新标记，写出的是它的全部目录。",
            "文件写在文本旁边，名为 `BOOK.epub`（和生成的书一样，名字中去掉 `.txt`），已有的同名"
            "文件会像“生成qbr”那样被替换。给出 `-o OUT.epub` 时改写到那里，已有的 `OUT.epub` "
            "不会被改动（退出码 3），除非给出 `--force`；`-o -` 把文件写到标准输出。写出的路径"
            "会被打印；“生成EPUB成功”输出到标准错误。",
            "写出文件时退出码为 0，否则为 3。从标准输入读的书需要 `-o`；标准输入上的 EPUB "
            "按内容识别。"};
        spec_.options.push_back(BookArgument(false));
        spec_.options.push_back(EncodingOption());
        AddOptions(spec_.options, ChapterOptionSpecs());
        spec_.options.push_back({"output", "-o,--output", "OUT",
                                 "write the EPUB to OUT instead of beside the text; - is standard "
                                 "output",
                                 ValueKind::kText, Completion::kAnyFile});
        spec_.options.back().helpZh = "把 EPUB 写到 OUT，而不是文本旁边；- 为标准输出";
        spec_.options.push_back(ForceOption());
        spec_.options.push_back(WordsOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        const std::string book = args.Value("BOOK").value_or("");
        const std::optional<std::string> output = args.Value("output");
        const bool force = args.Flag("force");
        if (book == "-" && !output) {
            return ReportUsageError(
                streams.err,
                "a book from standard input has no file name to write its "
                "EPUB beside; give -o OUT.epub",
                "从标准输入读入的书没有文件名，EPUB 无处可写；请给出 -o OUT.epub", "epub");
        }
        // Refused before any work, so a long run never ends in "exists".
        if (output && CheckOutputFree(*output, force, streams.err) != kExitOk) return kExitFailed;
        return RunPreparedBooks(
            args, 1, streams,
            [&](CliSession& session, Prepared prepared, LineSink& sink) {
                if (prepared != Prepared::kReady) return kExitFailed;
                CBrisnaMakeDlg& dialog = session.Dialog();
                const std::vector<TocEntry> contents = dialog.WholeBookContentsNow();
                if (output && *output == "-") {
                    std::optional<std::string> bytes =
                        BuildCheckedEpub(dialog.bookText, dialog.chapterList, dialog.chapters,
                                         dialog.host, dialog.bookSourcePath, contents);
                    if (!bytes) return kExitFailed;
                    return WriteOutputFile("-", *bytes, true, sink.Results(), streams.err);
                }
                EpubOutcome outcome = GenerateEpubBook(
                    dialog.bookText, dialog.chapterList, dialog.chapters, dialog.host,
                    dialog.bookSourcePath, output.value_or(""), contents);
                if (!outcome.succeeded) return kExitFailed;
                sink.Result(outcome.path);
                return kExitOk;
            },
            {}, AutoChapters::kRecognitionUpToOneBook);
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeEpubCommand() {
    return std::make_unique<EpubCommand>();
}

}  // namespace brisna::cli
