// missing: run the missing-chapter check on the chapters the options mark.
#include "app/ControlIds.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"

namespace brisna::cli {
namespace {

class MissingCommand : public Command {
  public:
    MissingCommand() {
        spec_.name = "missing";
        spec_.synopsis = "BOOK [CHAPTER OPTIONS]";
        spec_.summary = "run 检查缺章 and print its entries";
        spec_.details = {
            "Runs 检查缺章 on the chapters the options mark and prints its entries one per line.",
            "Exit 0 when there are none, 1 otherwise, 3 when the book could not be opened or a "
            "chapter option was refused (the check then runs on the chapters marked so far)."};
        spec_.summaryZh = "执行“检查缺章”并打印其结果";
        spec_.detailsZh = {"在选项标记的章节上执行“检查缺章”，每行打印一项结果。",
                           "没有结果时退出码为 0，否则为 1；书打不开或章节选项被拒绝时为 3"
                           "（检查仍在已标记的章节上进行）。"};
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
