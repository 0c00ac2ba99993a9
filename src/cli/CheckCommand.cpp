// check: run the test command on one or more books and print their problem lists.
#include "app/ControlIds.h"
#include "cli/BookBatch.h"
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
        spec_.options.push_back(BookArgument(true));
        spec_.options.push_back(EncodingOption());
        AddOptions(spec_.options, ChapterOptionSpecs());
        spec_.options.push_back(WordsOption());
        spec_.options.push_back(JobsOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        std::vector<std::string> books = args.Values("BOOK");
        BookSettings settings;
        if (int code = ReadBookSettings(args, books, streams, settings); code != kExitOk) {
            return code;
        }
        return RunBooks(books, JobsOf(args), streams, [&](const std::string& book, LineSink& sink) {
            std::unique_ptr<CliSession> session = NewBookSession(settings, sink);
            Prepared prepared = PrepareBook(*session, book, settings, sink);
            if (prepared == Prepared::kNotOpened) return kExitFailed;
            session->Dialog().OnCommand(kTestButton);
            session->ForEachProblemLine([&](const std::string& line) { sink.Result(line); });
            if (prepared == Prepared::kRefused) return kExitFailed;
            return session->ProblemList().GetCount() == 0 ? kExitOk : kExitProblems;
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
