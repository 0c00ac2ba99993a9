// generate: mark chapters and write the .qbr2 and .qbr files of one or more books.
#include <filesystem>
#include <ostream>

#include "app/EpubBookGeneration.h"
#include "book/Generation.h"
#include "chapters/ChapterTitle.h"
#include "cli/BookOptions.h"
#include "cli/CliMessages.h"
#include "cli/Commands.h"
#include "cli/UsageErrors.h"
#include "cli/help/GenerateHelpMessages.h"
#include "parts/PartGeneration.h"
#include "text/CodePage936.h"

namespace brisna::cli {
namespace {

class GenerateCommand : public Command {
  public:
    GenerateCommand() {
        spec_.name = "generate";
        spec_.synopsis =
            "BOOK... [CHAPTER OPTIONS] [--parts] [--output-dir DIR] [--words FILE] [--jobs N]";
        spec_.summary = std::string(help::generate::kSummary);
        spec_.details = Paragraphs(help::generate::kDetails);
        spec_.summaryZh = std::string(help::generate::kSummaryZh);
        spec_.detailsZh = Paragraphs(help::generate::kDetailsZh);
        spec_.options.push_back(BookArgument(true, false));
        spec_.options.push_back(EncodingOption());
        AddOptions(spec_.options, ChapterOptionSpecs());
        spec_.options.push_back(PartsOption(true));
        spec_.options.push_back({"output-dir", "--output-dir", "DIR",
                                 std::string(help::generate::kOutputDirHelp), ValueKind::kText,
                                 Completion::kDirectory});
        spec_.options.back().helpZh = help::generate::kOutputDirHelpZh;
        spec_.options.push_back(WordsOption());
        spec_.options.push_back(JobsOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        std::vector<std::string> books = args.Values("BOOK");
        for (const std::string& book : books) {
            if (book == "-") {
                return ReportUsageError(
                    streams.err,
                    "a book from standard input has no file name for its books; give the text as "
                    "a file",
                    std::string(messages::kGenerateStandardInputHasNoName), "generate");
            }
        }
        std::optional<std::string> outputDir = args.Value("output-dir");
        if (outputDir) {
            std::error_code error;
            if (!std::filesystem::is_directory(*outputDir, error)) {
                const std::string shown = EscapeLineBreaks(DisplayPath(*outputDir));
                return ReportUsageError(streams.err, "--output-dir: not a folder: " + shown,
                                        std::string(messages::kNotAFolder) + shown, "generate");
            }
        }
        // The names come from the book source path: the same file name in another folder.
        auto sourcePathFor = [&](const CBrisnaMakeDlg& dialog) {
            if (!outputDir) return dialog.bookSourcePath;
            return (std::filesystem::path(*outputDir) /
                    std::filesystem::path(dialog.bookSourcePath).filename())
                .string();
        };
        return RunPreparedBooks(
            args, JobsOf(args), streams,
            [&](CliSession& session, Prepared prepared, LineSink& sink) {
                // A refused option may have left some chapters marked: no half-marked book is
                // written.
                if (prepared != Prepared::kReady) return kExitFailed;
                CBrisnaMakeDlg& dialog = session.Dialog();
                dialog.bookSourcePath = sourcePathFor(dialog);
                if (args.Flag("parts")) {
                    PartPlan plan = PlanPreparedParts(session);
                    if (plan.status != PartPlanStatus::kOk) {
                        sink.Message(GbkToUtf8Lossless(PartPlanProblem(plan)));
                        return kExitFailed;
                    }
                    PartsOutcome parts =
                        GenerateParts(ReadBookText(session.View()), plan, dialog.host);
                    for (const std::string& path : parts.writtenFiles) {
                        sink.Result(path);
                    }
                    return parts.succeeded ? kExitOk : kExitFailed;
                }
                if (std::optional<PartPlan> plan = PlanOpenedEpubGeneration(dialog)) {
                    PartsOutcome parts = GenerateOpenedEpub(dialog, *plan);
                    for (const std::string& path : parts.writtenFiles) {
                        sink.Result(path);
                    }
                    return parts.succeeded ? kExitOk : kExitFailed;
                }
                GenerationOutcome outcome =
                    GenerateBook(dialog.bookText, dialog.chapterList, dialog.chapters, dialog.host,
                                 dialog.bookSourcePath);
                for (const std::string& path : outcome.writtenFiles) sink.Result(path);
                return outcome.succeeded ? kExitOk : kExitFailed;
            },
            [&](CliSession& session, Prepared prepared) -> std::vector<std::string> {
                if (prepared != Prepared::kReady) return {};
                CBrisnaMakeDlg& dialog = session.Dialog();
                if (args.Flag("parts")) {
                    // Planned under the name it is written under.
                    const std::string source = dialog.bookSourcePath;
                    dialog.bookSourcePath = sourcePathFor(dialog);
                    PartPlan plan = PlanPreparedParts(session);
                    dialog.bookSourcePath = source;
                    return PlannedPartPaths(ReadBookText(session.View()), plan);
                }
                const std::string source = dialog.bookSourcePath;
                dialog.bookSourcePath = sourcePathFor(dialog);
                std::optional<PartPlan> epubPlan = PlanOpenedEpubGeneration(dialog);
                dialog.bookSourcePath = source;
                if (epubPlan) return PlannedPartPaths(ReadBookText(session.View()), *epubPlan);
                return PlannedOutputPaths(dialog.bookText, dialog.chapters, sourcePathFor(dialog));
            });
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeGenerateCommand() {
    return std::make_unique<GenerateCommand>();
}

}  // namespace brisna::cli
