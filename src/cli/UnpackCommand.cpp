// unpack: open a generated book and print its chapters, or write its text.
#include <ostream>

#include "cli/BookOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "text/EncodingConversion.h"

namespace brisna::cli {
namespace {

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
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
            "chapter lines. `--output-encoding utf-8` writes the text as UTF-8 with LF line "
            "ends instead."};
        spec_.options.push_back({"BOOK", "", "BOOK", "the book file (.qbr2, .qbr or .epub)",
                                 ValueKind::kText, Completion::kGeneratedBook, false, true});
        spec_.options.push_back({"output", "-o,--output", "OUT",
                                 "write the book text (GBK) to OUT; - is standard output",
                                 ValueKind::kText, Completion::kAnyFile});
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
            sink.Message(MessageLine(message));
        });
        bool opened = epub ? session.OpenText(book) : session.OpenBook(book, qbr2);
        if (!toStandardOutput) {
            // Also after a damaged .qbr file: the chapters read before the damage are shown.
            session.ForEachChapterLine([&](const std::string& line) { sink.Result(line); });
        }
        if (!opened) return kExitFailed;
        if (output) {
            return WriteOutputFile(
                *output, GbkTextToOutput(session.View().GetText(), OutputEncodingOf(args)), force,
                streams.out, streams.err);
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
