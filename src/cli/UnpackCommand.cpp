// unpack: open a generated book and print its chapters, or write its text.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <ostream>

#include "chapters/ChapterTitle.h"
#include "cli/BookOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Output.h"
#include "cli/RunReport.h"
#include "epub/EpubContents.h"
#include "text/EncodingConversion.h"
#include "text/FileReading.h"

namespace brisna::cli {
namespace {

// In any letter case: the window opens BOOK.QBR2 too.
bool EndsWith(const std::string& text, std::string_view end) {
    if (text.size() < end.size()) return false;
    const std::string_view tail = std::string_view(text).substr(text.size() - end.size());
    return std::equal(tail.begin(), tail.end(), end.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

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
            "With `-o OUT.txt` the book text (GBK, CR LF, as the editor holds it) is also "
            "written to `OUT.txt`; an existing `OUT.txt` is left alone (exit 3) unless "
            "`--force` is given. With `-o -` the text goes to standard output instead of the "
            "chapter lines, as UTF-8 when standard output is a terminal and as GBK to a pipe or "
            "a file. `--output-encoding utf-8` writes the text as UTF-8 with LF line ends "
            "instead."};
        spec_.summaryZh = "打开 .qbr2、.qbr 或 .epub 书，打印其章节或文本";
        spec_.detailsZh = {
            "像“打开qbr2文件”、“打开qbr”或“打开EPUB”那样打开书（按文件扩展名 `.qbr2`、`.qbr` 或 "
            "`.epub` 选择；其他名字是用法错误），并像 `chapters` 那样打印章节行，长度取书中所记。"
            "`.qbr` 文件损坏时，打印损坏之前读到的章节，退出码为 3。",
            "给出 `-o OUT.txt` 时，书的文本（GBK、CR LF，与编辑器中相同）还会写入 `OUT.txt`；"
            "已有的 `OUT.txt` 不会被改动（退出码 3），除非给出 `--force`。给出 `-o -` 时，文本"
            "代替章节行写到标准输出：标准输出是终端时为 UTF-8，写到管道或文件时为 GBK。"
            "`--output-encoding utf-8` 改为以 UTF-8 和 LF 行尾写出文本。"};
        spec_.options.push_back({"BOOK", "", "BOOK", "the book file (.qbr2, .qbr or .epub)",
                                 ValueKind::kText, Completion::kGeneratedBook, false, true});
        spec_.options.back().helpZh = "书文件（.qbr2、.qbr 或 .epub）";
        spec_.options.push_back({"output", "-o,--output", "OUT",
                                 "write the book text (GBK) to OUT; - is standard output",
                                 ValueKind::kText, Completion::kAnyFile});
        spec_.options.back().helpZh = "把书的文本（GBK）写入 OUT；- 为标准输出";
        spec_.options.push_back(ForceOption());
        spec_.options.push_back(OutputEncodingOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        std::string book = args.Value("BOOK").value_or("");
        bool qbr2 = EndsWith(book, ".qbr2");
        bool epub = IsEpubPath(book);
        if (!qbr2 && !epub && !EndsWith(book, ".qbr")) {
            streams.err << "unpack: the book file must end in .qbr2, .qbr or .epub: "
                        << EscapeLineBreaks(DisplayPath(book)) << '\n';
            return kExitUsage;
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
        bool opened = epub ? session.OpenText(book) : session.OpenBook(book, qbr2);
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
            // The text never replaces the book it came from, by its name or through a link.
            struct stat info {};
            if (::stat(book.c_str(), &info) == 0) {
                RememberInputFile(IdentityOf(info));
            }
            return WriteOutputFile(
                *output, GbkTextToOutput(session.View().GetText(), WrittenEncoding(args, *output)),
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
