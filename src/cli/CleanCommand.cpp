// clean: 整理文本 on a book file, and the --clean option of the book subcommands.
#include "app/DlgCleanCommands.h"
#include "app/SuspiciousWords.h"
#include "chapters/ChapterTitle.h"
#include "cli/BookOptions.h"
#include "cli/CliMessages.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/RunReport.h"
#include "cli/UsageErrors.h"
#include "cli/help/CleanHelpMessages.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"

namespace brisna::cli {
namespace {

// A UTF-8 or UTF-16 book is written back as UTF-8; GBK and Big5 books as GBK, the text the
// program holds.
OutputEncoding EncodingToWrite(TextEncoding loaded) {
    switch (loaded) {
        case TextEncoding::kUtf8:
        case TextEncoding::kUtf16Le:
        case TextEncoding::kUtf16Be:
            return OutputEncoding::kUtf8;
        default:
            return OutputEncoding::kGbk;
    }
}

class CleanCommand : public Command {
  public:
    CleanCommand() {
        spec_.name = "clean";
        spec_.synopsis =
            "BOOK [-o OUT|-] [--force] [--no-junk] [--no-contents] [--no-unwrap] [--notes] "
            "[--indent 0|2] [--junk-file FILE] [--dry-run] [--encoding ENC]";
        spec_.summary = help::clean::kSummary;
        spec_.details = Paragraphs(help::clean::kDetails);
        spec_.summaryZh = help::clean::kSummaryZh;
        spec_.detailsZh = Paragraphs(help::clean::kDetailsZh);
        spec_.options.push_back(BookArgument(false));
        spec_.options.push_back({"output", "-o,--output", "OUT", std::string(help::clean::kOutput),
                                 ValueKind::kText, Completion::kAnyFile});
        spec_.options.back().helpZh = help::clean::kOutputZh;
        spec_.options.push_back(ForceOption());
        Flag("no-junk", help::clean::kNoJunk, help::clean::kNoJunkZh);
        Flag("no-contents", help::clean::kNoContents, help::clean::kNoContentsZh);
        Flag("no-unwrap", help::clean::kNoUnwrap, help::clean::kNoUnwrapZh);
        Flag("notes", help::clean::kNotes, help::clean::kNotesZh);
        spec_.options.push_back({"indent",
                                 "--indent",
                                 "N",
                                 std::string(help::clean::kIndent),
                                 ValueKind::kText,
                                 Completion::kNone,
                                 false,
                                 false,
                                 {"0", "2"}});
        spec_.options.back().helpZh = help::clean::kIndentZh;
        spec_.options.push_back({"junk-file", "--junk-file", "FILE",
                                 std::string(help::clean::kJunkFile), ValueKind::kText,
                                 Completion::kAnyFile});
        spec_.options.back().helpZh = help::clean::kJunkFileZh;
        Flag("dry-run", help::clean::kDryRun, help::clean::kDryRunZh);
        spec_.options.push_back(EncodingOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        const std::string input = args.Value("BOOK").value_or("");
        const std::string output = args.Value("output").value_or("-");
        const bool force = args.Flag("force");
        const bool dryRun = args.Flag("dry-run");

        CleanupOptions options;
        options.removeJunk = !args.Flag("no-junk");
        options.removeContents = !args.Flag("no-contents");
        options.joinWrapped = !args.Flag("no-unwrap");
        options.removeNotes = args.Flag("notes");
        options.indentChars = args.Value("indent").value_or("2") == "0" ? 0 : 2;
        if (std::optional<std::string> file = args.Value("junk-file")) {
            WordListResult patterns = LoadSuspiciousWords(*file);
            if (patterns.status != WordListStatus::kOk) {
                streams.err << kUsagePrefix << messages::kReadJunkPatternsFailed
                            << EscapeLineBreaks(DisplayPath(*file)) << ": "
                            << (patterns.status == WordListStatus::kTooLarge
                                    ? GbkToUtf8Lossless(WordListTooLargeMessage())
                                    : std::string("cannot be read"))
                            << '\n';
                return kExitUsage;
            }
            options.junkPatterns = std::move(patterns.words);
        }
        if (!dryRun && CheckOutputFree(output, force, streams.err) != kExitOk) return kExitFailed;

        BookSettings settings;
        if (int code = ReadBookSettings(args, {input}, streams, settings); code != kExitOk) {
            return code;
        }
        settings.wordsFile = "/dev/null";  // nothing is checked, so no list is needed
        LineSink sink(streams.out, streams.err, "");
        std::unique_ptr<CliSession> session = NewBookSession(settings, sink);
        if (PrepareBook(*session, input, settings, sink) != Prepared::kReady) return kExitFailed;

        CBrisnaMakeDlg& dialog = session->Dialog();
        const CleanupResult result = PreviewTextCleanup(dialog, options);
        sink.Message(GbkToUtf8Lossless(CleanupReport(result.counts)));
        if (dryRun) {
            for (const CleanupChange& change : result.changes) {
                sink.Result(GbkToUtf8Lossless(CleanupChangeKindName(change.kind)) + "\t" +
                            std::to_string(change.line + 1) + "\t" +
                            EscapeLineBreaks(GbkToUtf8Lossless(change.text)));
            }
            return kExitOk;
        }
        return WriteOutputFile(output,
                               GbkTextToOutput(result.text, EncodingToWrite(dialog.loadedEncoding)),
                               force, streams.out, streams.err);
    }

  private:
    void Flag(const char* key, std::string_view english, std::string_view chinese) {
        spec_.options.push_back({key, std::string("--") + key, "", std::string(english),
                                 ValueKind::kFlag, Completion::kNone});
        spec_.options.back().helpZh = chinese;
    }

    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeCleanCommand() {
    return std::make_unique<CleanCommand>();
}

OptionSpec CleanOption() {
    OptionSpec spec{"clean", "--clean", "", std::string(help::clean::kCleanOption),
                    ValueKind::kFlag};
    spec.helpZh = help::clean::kCleanOptionZh;
    return spec;
}

void CleanPreparedBook(CliSession& session, LineSink& sink) {
    CBrisnaMakeDlg& dialog = session.Dialog();
    const std::string before = ReadBookText(dialog.bookText.View());
    const CleanupResult result = CleanText(before, CleanupOptions());
    if (ApplyTextCleanup(dialog, result, before) || !result.changed) {
        sink.Message(GbkToUtf8Lossless(CleanupReport(result.counts)));
    }
}

}  // namespace brisna::cli
