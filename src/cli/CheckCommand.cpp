// check: run the test command on one or more books and print their problem lists.
#include "app/ControlIds.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"
#include "cli/help/CheckHelpMessages.h"

namespace brisna::cli {
namespace {

class CheckCommand : public Command {
  public:
    CheckCommand() {
        spec_.name = "check";
        spec_.synopsis = "BOOK... [CHAPTER OPTIONS] [--words FILE] [--jobs N]";
        spec_.summary = help::check::kSummary;
        spec_.details = Paragraphs(help::check::kDetails);
        spec_.summaryZh = help::check::kSummaryZh;
        spec_.detailsZh = Paragraphs(help::check::kDetailsZh);
        spec_.options.push_back(BookArgument(true));
        spec_.options.push_back(EncodingOption());
        AddOptions(spec_.options, ChapterOptionSpecs());
        spec_.options.push_back(WordsOption());
        spec_.options.push_back(JobsOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        return RunPreparedBooks(
            args, JobsOf(args), streams,
            [](CliSession& session, Prepared prepared, LineSink& sink) {
                session.Dialog().OnCommand(kTestButton);
                session.ForEachProblemLine([&](const std::string& line) { sink.Result(line); });
                return ProblemListExit(session, prepared);
            });
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeCheckCommand() {
    return std::make_unique<CheckCommand>();
}

}  // namespace brisna::cli
