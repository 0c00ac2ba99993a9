// check: run the test command on one or more books and print their problem lists.
#include "app/ControlIds.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"

namespace brisna::cli {
namespace {

class CheckCommand : public Command {
  public:
    CheckCommand() {
        spec_.name = "check";
        spec_.synopsis = "BOOK... [CHAPTER OPTIONS] [--words FILE] [--jobs N]";
        spec_.summary = "run 生成测试 and print the problem list";
        spec_.details = {
            "Opens each book, applies the chapter options and runs 生成测试; prints the problem "
            "list, one entry per line, in order.",
            "Exit 0 when the list is empty, 1 when it holds entries, 3 when the book could not "
            "be opened or a chapter option was refused (the check then runs on the chapters "
            "marked so far)."};
        spec_.summaryZh = "执行“生成测试”并打印问题列表";
        spec_.detailsZh = {
            "打开每本书，应用章节选项并执行“生成测试”；按顺序打印问题列表，每行一项。",
            "列表为空时退出码为 0，有内容时为 1；书打不开或章节选项被拒绝时为 3"
            "（检查仍在已标记的章节上进行）。"};
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
