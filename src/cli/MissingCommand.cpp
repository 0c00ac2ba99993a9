// missing: run the missing-chapter check on the chapters the options mark.
#include "app/ControlIds.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"
#include "cli/help/CheckHelpMessages.h"

namespace brisna::cli {
namespace {

class MissingCommand : public Command {
  public:
    MissingCommand() {
        spec_.name = "missing";
        spec_.synopsis = "BOOK [CHAPTER OPTIONS]";
        spec_.summary = help::missing::kSummary;
        spec_.details = Paragraphs(help::missing::kDetails);
        spec_.summaryZh = help::missing::kSummaryZh;
        spec_.detailsZh = Paragraphs(help::missing::kDetailsZh);
        spec_.options.push_back(BookArgument(false));
        spec_.options.push_back(EncodingOption());
        AddOptions(spec_.options, ChapterOptionSpecs());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        return RunPreparedBooks(
            args, 1, streams, [](CliSession& session, Prepared prepared, LineSink& sink) {
                session.Dialog().OnCommand(kCheckMissingButton);
                session.ForEachProblemLine([&](const std::string& line) { sink.Result(line); });
                return ProblemListExit(session, prepared);
            });
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeMissingCommand() {
    return std::make_unique<MissingCommand>();
}

}  // namespace brisna::cli
