// missing: run the missing-chapter check on the chapters the options mark.
#include "app/ControlIds.h"
#include "cli/BookBatch.h"
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
        spec_.options.push_back(BookArgument(false));
        spec_.options.push_back(EncodingOption());
        AddOptions(spec_.options, ChapterOptionSpecs());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        std::vector<std::string> books = args.Values("BOOK");
        BookSettings settings;
        if (int code = ReadBookSettings(args, books, streams, settings); code != kExitOk) {
            return code;
        }
        return RunBooks(books, 1, streams, [&](const std::string& book, LineSink& sink) {
            std::unique_ptr<CliSession> session = NewBookSession(settings, sink);
            Prepared prepared = PrepareBook(*session, book, settings, sink);
            if (prepared == Prepared::kNotOpened) return kExitFailed;
            session->Dialog().OnCommand(kCheckMissingButton);
            session->ForEachProblemLine([&](const std::string& line) { sink.Result(line); });
            if (prepared == Prepared::kRefused) return kExitFailed;
            return session->ProblemList().GetCount() == 0 ? kExitOk : kExitProblems;
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
