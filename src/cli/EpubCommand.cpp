// epub: mark chapters and write the book as an EPUB file.
#include <ostream>
#include <string>
#include <string_view>

#include "cli/BookOptions.h"
#include "cli/CliMessages.h"
#include "cli/Commands.h"
#include "cli/UsageErrors.h"
#include "cli/help/EpubHelpMessages.h"
#include "epub/EpubCommands.h"
#include "text/CodePage936.h"
#include "text/FileNames.h"

namespace brisna::cli {
namespace {

class EpubCommand : public Command {
  public:
    EpubCommand() {
        spec_.name = "epub";
        spec_.synopsis =
            "BOOK [CHAPTER OPTIONS] [-o OUT.epub|-] [--force] [--words FILE] [BOOK OPTIONS] "
            "[LOOK OPTIONS]";
        spec_.summary = std::string(help::epub::kSummary);
        spec_.details = Paragraphs(help::epub::kDetails);
        spec_.summaryZh = std::string(help::epub::kSummaryZh);
        spec_.detailsZh = Paragraphs(help::epub::kDetailsZh);
        spec_.options.push_back(BookArgument(false));
        spec_.options.push_back(EncodingOption());
        AddOptions(spec_.options, ChapterOptionSpecs());
        Add("output", "-o,--output", "OUT", help::epub::kOutputHelp, help::epub::kOutputHelpZh,
            ValueKind::kText, Completion::kAnyFile);
        spec_.options.push_back(ForceOption());
        spec_.options.push_back(WordsOption());
        AddLookOptions();
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        const std::string book = args.Value("BOOK").value_or("");
        const std::optional<std::string> output = args.Value("output");
        const bool force = args.Flag("force");
        const std::optional<EpubChoices> choices = ChoicesOf(args, streams.err);
        if (!choices) return kExitUsage;
        if (book == "-" && !output) {
            return ReportUsageError(streams.err,
                                    "a book from standard input has no file name to write its "
                                    "EPUB beside; give -o OUT.epub",
                                    std::string(messages::kEpubStandardInputNeedsOutput), "epub");
        }
        // Refused before any work, so a long run never ends in "exists".
        if (output && CheckOutputFree(*output, force, streams.err) != kExitOk) return kExitFailed;
        return RunPreparedBooks(
            args, 1, streams,
            [&](CliSession& session, Prepared prepared, LineSink& sink) {
                if (prepared != Prepared::kReady) return kExitFailed;
                CBrisnaMakeDlg& dialog = session.Dialog();
                const std::vector<TocEntry> contents = dialog.WholeBookContentsNow();
                EpubChoices bookChoices = *choices;
                bookChoices.opened = &dialog.openedContents;
                if (output && *output == "-") {
                    std::optional<std::string> bytes =
                        BuildCheckedEpub(dialog.bookText, dialog.chapterList, dialog.chapters,
                                         dialog.host, dialog.bookSourcePath, contents, bookChoices);
                    if (!bytes) return kExitFailed;
                    return WriteOutputFile("-", *bytes, true, sink.Results(), streams.err);
                }
                EpubOutcome outcome = GenerateEpubBook(
                    dialog.bookText, dialog.chapterList, dialog.chapters, dialog.host,
                    dialog.bookSourcePath, output.value_or(""), contents, bookChoices);
                if (!outcome.succeeded) return kExitFailed;
                sink.Result(outcome.path);
                return kExitOk;
            },
            {}, AutoChapters::kRecognitionUpToOneBook);
    }

  private:
    void Add(const char* key, const char* names, const char* valueName, std::string_view help,
             std::string_view helpZh, ValueKind kind, Completion completion = Completion::kNone,
             std::vector<std::string> choices = {}) {
        spec_.options.push_back({key, names, valueName, std::string(help), kind, completion, false,
                                 false, std::move(choices), std::string(helpZh)});
    }

    void AddLookOptions() {
        Add("title", "--title", "TEXT", help::epub::kTitleHelp, help::epub::kTitleHelpZh,
            ValueKind::kText);
        Add("author", "--author", "TEXT", help::epub::kAuthorHelp, help::epub::kAuthorHelpZh,
            ValueKind::kText);
        Add("language", "--language", "LANG", help::epub::kLanguageHelp,
            help::epub::kLanguageHelpZh, ValueKind::kText);
        Add("cover", "--cover", "FILE", help::epub::kCoverHelp, help::epub::kCoverHelpZh,
            ValueKind::kText, Completion::kAnyFile);
        Add("no-cover", "--no-cover", "", help::epub::kNoCoverHelp, help::epub::kNoCoverHelpZh,
            ValueKind::kFlag);
        Add("indent", "--indent", "EM", help::epub::kIndentHelp, help::epub::kIndentHelpZh,
            ValueKind::kText);
        Add("spacing", "--spacing", "EM", help::epub::kSpacingHelp, help::epub::kSpacingHelpZh,
            ValueKind::kText);
        Add("line-height", "--line-height", "N", help::epub::kLineHeightHelp,
            help::epub::kLineHeightHelpZh, ValueKind::kText);
        Add("heading-align", "--heading-align", "ALIGN", help::epub::kHeadingAlignHelp,
            help::epub::kHeadingAlignHelpZh, ValueKind::kText, Completion::kNone,
            {"centre", "center", "left"});
        Add("font-family", "--font-family", "FAMILY", help::epub::kFontFamilyHelp,
            help::epub::kFontFamilyHelpZh, ValueKind::kText, Completion::kNone,
            {"reader", "serif", "sans", "kai"});
        Add("font", "--font", "FILE", help::epub::kFontHelp, help::epub::kFontHelpZh,
            ValueKind::kText, Completion::kAnyFile);
        Add("vertical", "--vertical", "", help::epub::kVerticalHelp, help::epub::kVerticalHelpZh,
            ValueKind::kFlag);
        Add("css", "--css", "FILE", help::epub::kCssHelp, help::epub::kCssHelpZh, ValueKind::kText,
            Completion::kAnyFile);
        Add("keep-blank-lines", "--keep-blank-lines", "", help::epub::kKeepBlankLinesHelp,
            help::epub::kKeepBlankLinesHelpZh, ValueKind::kFlag);
    }

    // The choices of the options; nothing (after a line on standard error) for a value out of
    // its bounds.
    static std::optional<EpubChoices> ChoicesOf(const ParsedArgs& args, std::ostream& err) {
        EpubChoices choices;
        // A title typed in a GBK terminal is read as GBK, as file names are.
        auto text = [&](const char* key) {
            std::optional<std::string> value = args.Value(key);
            return value ? Utf16ToUtf8(FileNameToUtf16(*value)) : std::string();
        };
        choices.known.title = text("title");
        choices.known.author = text("author");
        choices.known.language = text("language");
        choices.coverPath = args.Value("cover").value_or("");
        choices.noCover = args.Flag("no-cover");
        choices.fontPath = args.Value("font").value_or("");
        choices.stylesheetPath = args.Value("css").value_or("");
        choices.style.vertical = args.Flag("vertical");
        choices.style.keepBlankLines = args.Flag("keep-blank-lines");
        struct Length {
            const char* key;
            int low, high;
            int* field;
        };
        for (const Length& length :
             {Length{"indent", 0, kMaxIndentTenths, &choices.style.indentTenths},
              Length{"spacing", 0, kMaxSpacingTenths, &choices.style.spacingTenths},
              Length{"line-height", kMinLineHeightTenths, kMaxLineHeightTenths,
                     &choices.style.lineHeightTenths}}) {
            std::optional<std::string> value = args.Value(length.key);
            if (!value) continue;
            std::optional<int> tenths = ParseTenths(*value, length.low, length.high);
            if (!tenths) {
                const std::string low = FormatTenths(length.low, "");
                const std::string high = FormatTenths(length.high, "");
                ReportUsageError(err,
                                 std::string("--") + length.key + " takes a number from " + low +
                                     " to " + high + " with at most one decimal, not \"" + *value +
                                     "\"",
                                 messages::LengthOutOfRange(length.key, low, high, *value), "epub");
                return std::nullopt;
            }
            *length.field = *tenths;
        }
        if (std::optional<std::string> value = args.Value("heading-align")) {
            std::optional<HeadingAlignment> alignment = ParseHeadingAlignment(*value);
            if (!alignment) {
                ReportUsageError(err, "--heading-align is centre or left, not \"" + *value + "\"",
                                 messages::HeadingAlignmentNotKnown(*value), "epub");
                return std::nullopt;
            }
            choices.style.headingAlignment = *alignment;
        }
        if (std::optional<std::string> value = args.Value("font-family")) {
            std::optional<FontFamily> family = ParseFontFamily(*value);
            if (!family) {
                ReportUsageError(
                    err, "--font-family is reader, serif, sans or kai, not \"" + *value + "\"",
                    messages::FontFamilyNotKnown(*value), "epub");
                return std::nullopt;
            }
            choices.style.fontFamily = *family;
        }
        if (choices.noCover && !choices.coverPath.empty()) {
            ReportUsageError(err, "--cover and --no-cover exclude each other",
                             std::string(messages::kCoverAndNoCover), "epub");
            return std::nullopt;
        }
        return choices;
    }

    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeEpubCommand() {
    return std::make_unique<EpubCommand>();
}

}  // namespace brisna::cli
