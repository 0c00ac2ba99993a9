// unpack: open a generated book and print its chapters, or write its text.
#include <ostream>

#include "chapters/ChapterTitle.h"
#include "cli/BookOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Output.h"
#include "cli/RunReport.h"
#include "cli/UsageErrors.h"
#include "epub/EpubContents.h"
#include "text/EncodingConversion.h"
#include "text/FileReading.h"

namespace brisna::cli {
namespace {

// unpack never checks a book, so it has no use for the suspicious-word list; an empty device
// stands in for it.
const char kNoWordList[] = "/dev/null";

class UnpackCommand : public Command {
  public:
    UnpackCommand() {
        spec_.name = "unpack";
        spec_.synopsis =
            "BOOK.qbr2|BOOK.qbr|BOOK.epub [-o OUT.txt|-] [--force] [--output-encoding ENC]";
        spec_.summary = "open a .qbr2, .qbr or .epub book and print its chapters or its text";
        spec_.details = {
            "Opens the book as 打开qbr2文件, 打开qbr or 打开EPUB does (chosen by the file's "
            "extension, `.qbr2`, `.qbr` or `.epub`; any other name is a usage error) and prints "
            "the chapter lines as `chapters` does, with the lengths the book gives. After a "
            "damaged `.qbr` file the "
            "chapters read before the damage are printed and the exit code is 3.",
            "With `-o OUT.txt` the book text (UTF-8, LF) is also written to `OUT.txt`; an "
            "existing `OUT.txt` is left alone (exit 3) unless `--force` is given. With `-o -` "
            "the text goes to standard output instead of the chapter lines. `--output-encoding "
            "gbk` writes the text as the device and the editor hold it instead (GBK, CR LF)."};
        spec_.summaryZh = "打开 .qbr2、.qbr 或 .epub 书，打印其章节或文本";
        spec_.detailsZh = {
            "像“打开qbr2文件”、“打开qbr”或“打开EPUB”那样打开书（按文件扩展名 `.qbr2`、`.qbr` 或 "
            "`.epub` 选择；其他名字是用法错误），并像 `chapters` 那样打印章节行，长度取书中所记。"
            "`.qbr` 文件损坏时，打印损坏之前读到的章节，退出码为 3。",
            "给出 `-o OUT.txt` 时，书的文本（UTF-8、LF）还会写入 `OUT.txt`；已有的 `OUT.txt` "
            "不会被改动（退出码 3），除非给出 `--force`。给出 `-o -` 时，文本代替章节行写到标准"
            "输出。`--output-encoding gbk` 改为按设备和编辑器中的样子（GBK、CR LF）写出文本。"};
        spec_.options.push_back({"BOOK", "", "BOOK", "the book file (.qbr2, .qbr or .epub)",
                                 ValueKind::kText, Completion::kGeneratedBook, false, true});
        spec_.options.back().helpZh = "书文件（.qbr2、.qbr 或 .epub）";
        spec_.options.push_back({"output", "-o,--output", "OUT",
                                 "write the book text (UTF-8) to OUT; - is standard output",
                                 ValueKind::kText, Completion::kAnyFile});
        spec_.options.back().helpZh = "把书的文本（UTF-8）写入 OUT；- 为标准输出";
        spec_.options.push_back(ForceOption());
        spec_.options.push_back(OutputEncodingOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        std::string book = args.Value("BOOK").value_or("");
        const BookFileKind kind = BookFileKindOf(book);
        if (kind == BookFileKind::kText) {
            const std::string shown = EscapeLineBreaks(DisplayPath(book));
            return ReportUsageError(
                streams.err, "the book file must end in .qbr2, .qbr or .epub: " + shown,
                "书文件的名字须以 .qbr2、.qbr 或 .epub 结尾: " + shown, "unpack");
        }
        std::optional<std::string> output = args.Value("output");
        bool force = args.Flag("force");
        bool toStandardOutput = output && *output == "-";
        // Refused before any work, so a long unpack never ends in "exists".
        if (output && CheckOutputFree(*output, force, streams.err) != kExitOk) return kExitFailed;

        LineSink sink(streams.out, streams.err, "");
        CliSession session(std::string(kNoWordList), [&sink](const ShownMessage& message) {
            if (Shown(message)) sink.Message(MessageLine(message));
        });
        bool opened = session.OpenText(book);
        if (!toStandardOutput) {
            // Also after a damaged .qbr file: the chapters read before the damage are shown.
            // An EPUB lists its whole contents, each entry with its level.
            const std::string text = ReadBookText(session.View());
            const auto* contents =
                opened ? session.Dialog().openedContents.For(text, session.Dialog().chapters)
                       : nullptr;
            if (contents != nullptr) {
                for (const ContentsRow& row : ContentsRows(*contents, text.size())) {
                    sink.Result(EscapeLineBreaks(ContentsLine(row)));
                }
            } else {
                session.ForEachChapterLine([&](const std::string& line) { sink.Result(line); });
            }
        }
        if (!opened) return kExitFailed;
        if (output) {
            // The text never replaces the book it came from (OpenText remembered it).
            return WriteOutputFile(*output,
                                   GbkTextToOutput(session.View().GetText(), WrittenEncoding(args)),
                                   force, streams.out, streams.err);
        }
        return kExitOk;
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeUnpackCommand() {
    return std::make_unique<UnpackCommand>();
}

}  // namespace brisna::cli
