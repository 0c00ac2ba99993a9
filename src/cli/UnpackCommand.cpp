// unpack: open a generated book and print its chapters, or write its text.
#include <ostream>

#include "chapters/ChapterTitle.h"
#include "cli/BookOptions.h"
#include "cli/CliMessages.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Output.h"
#include "cli/RunReport.h"
#include "cli/UsageErrors.h"
#include "cli/help/UnpackHelpMessages.h"
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
        spec_.summary = help::unpack::kSummary;
        spec_.details = Paragraphs(help::unpack::kDetails);
        spec_.summaryZh = help::unpack::kSummaryZh;
        spec_.detailsZh = Paragraphs(help::unpack::kDetailsZh);
        spec_.options.push_back({"BOOK", "", "BOOK", std::string(help::unpack::kBook),
                                 ValueKind::kText, Completion::kGeneratedBook, false, true});
        spec_.options.back().helpZh = help::unpack::kBookZh;
        spec_.options.push_back({"output", "-o,--output", "OUT", std::string(help::unpack::kOutput),
                                 ValueKind::kText, Completion::kAnyFile});
        spec_.options.back().helpZh = help::unpack::kOutputZh;
        spec_.options.push_back(ForceOption());
        spec_.options.push_back(OutputEncodingOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        std::string book = args.Value("BOOK").value_or("");
        const BookFileKind kind = BookFileKindOf(book);
        if (kind == BookFileKind::kText) {
            const std::string shown = EscapeLineBreaks(DisplayPath(book));
            return ReportUsageError(streams.err,
                                    "the book file must end in .qbr2, .qbr or .epub: " + shown,
                                    std::string(messages::kBookFileKinds) + shown, "unpack");
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
