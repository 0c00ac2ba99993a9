// detect: list the heading forms automatic recognition finds in a book, best first.
#include "app/AppMessages.h"
#include "chapters/ChapterTitle.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"
#include "cli/help/ChapterHelpMessages.h"
#include "detect/HeadingPatternDetection.h"
#include "text/CodePage936.h"

namespace brisna::cli {
namespace {

class DetectCommand : public Command {
  public:
    DetectCommand() {
        spec_.name = "detect";
        spec_.synopsis = "BOOK";
        spec_.summary = help::detect::kSummary;
        spec_.details = Paragraphs(help::detect::kDetails);
        spec_.summaryZh = help::detect::kSummaryZh;
        spec_.detailsZh = Paragraphs(help::detect::kDetailsZh);
        spec_.options.push_back(BookArgument(false));
        spec_.options.push_back(EncodingOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        return RunPreparedBooks(
            args, 1, streams,
            [](CliSession& session, Prepared, LineSink& sink) {
                std::vector<HeadingCandidate> candidates =
                    DetectHeadingPatterns(ReadBookText(session.View()));
                if (candidates.empty()) {
                    sink.Message(std::string(app_messages::kNoRecognisedHeadings));
                    return kExitProblems;
                }
                for (const HeadingCandidate& candidate : candidates) {
                    sink.Result(GbkToUtf8Lossless(FormatHeadingCandidate(candidate)));
                }
                return kExitOk;
            },
            {}, AutoChapters::kRecognition, false);
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeDetectCommand() {
    return std::make_unique<DetectCommand>();
}

}  // namespace brisna::cli
