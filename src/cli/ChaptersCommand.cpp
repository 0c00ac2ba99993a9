// chapters: print the chapters the chapter options mark in a book.
#include "chapters/ChapterTitle.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/help/ChapterHelpMessages.h"
#include "epub/EpubContents.h"
#include "parts/PartGeneration.h"
#include "text/CodePage936.h"

namespace brisna::cli {
namespace {

class ChaptersCommand : public Command {
  public:
    ChaptersCommand() {
        spec_.name = "chapters";
        spec_.synopsis = "BOOK [CHAPTER OPTIONS] [--parts]";
        spec_.summary = help::chapters::kSummary;
        spec_.details = Paragraphs(help::chapters::kDetails);
        spec_.summaryZh = help::chapters::kSummaryZh;
        spec_.detailsZh = Paragraphs(help::chapters::kDetailsZh);
        spec_.options.push_back(BookArgument(false));
        spec_.options.push_back(EncodingOption());
        AddOptions(spec_.options, ChapterOptionSpecs());
        spec_.options.push_back(PartsOption(false));
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        const bool parts = args.Flag("parts");
        return RunPreparedBooks(
            args, 1, streams, [parts](CliSession& session, Prepared prepared, LineSink& sink) {
                if (parts && prepared == Prepared::kReady) return PrintPlan(session, sink);
                ChapterModel& model = session.Dialog().chapters;
                model.SetTextLength(static_cast<uint32_t>(ReadBookText(session.View()).size()));
                model.ComputeLengths();
                // An opened EPUB lists its whole contents, each entry with its level.
                const std::string text = ReadBookText(session.View());
                const auto* contents = prepared == Prepared::kRefused
                                           ? nullptr
                                           : session.Dialog().openedContents.For(text, model);
                if (contents != nullptr) {
                    for (const ContentsRow& row : ContentsRows(*contents, text.size())) {
                        sink.Result(EscapeLineBreaks(ContentsLine(row)));
                    }
                    return kExitOk;
                }
                session.ForEachChapterLine([&](const std::string& line) { sink.Result(line); });
                return prepared == Prepared::kRefused ? kExitFailed : kExitOk;
            });
    }

  private:
    static int PrintPlan(CliSession& session, LineSink& sink) {
        PartPlan plan = PlanPreparedParts(session);
        if (plan.status != PartPlanStatus::kOk) {
            sink.Message(GbkToUtf8Lossless(PartPlanProblem(plan)));
            return kExitFailed;
        }
        for (const PlannedPart& part : plan.parts) {
            const std::string number = std::to_string(part.number) + '\t';
            for (const PartLine& line : part.lines) {
                const ChapterRecord& record = line.record;
                sink.Result(number + std::to_string(record.offset) + '\t' +
                            (line.volume ? std::string("-") : std::to_string(record.length)) +
                            '\t' + EscapeLineBreaks(GbkToUtf8Lossless(record.Title())));
            }
        }
        return kExitOk;
    }

    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeChaptersCommand() {
    return std::make_unique<ChaptersCommand>();
}

}  // namespace brisna::cli
