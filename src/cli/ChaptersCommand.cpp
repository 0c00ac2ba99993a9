// chapters: print the chapters the chapter options mark in a book.
#include "chapters/ChapterTitle.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"

namespace brisna::cli {
namespace {

class ChaptersCommand : public Command {
  public:
    ChaptersCommand() {
        spec_.name = "chapters";
        spec_.synopsis = "BOOK [CHAPTER OPTIONS]";
        spec_.summary = "print the chapters the options mark";
        spec_.details = {
            "Prints one line per chapter in list order: byte offset, a tab, byte length, a tab, "
            "the title. Lengths are computed from the offsets over the loaded text (each chapter "
            "runs to the next one's offset, the last to the end of the text).",
            "Exit 0; 3 when the book could not be opened or a chapter option was refused (the "
            "chapters marked before the refusal are printed)."};
        spec_.summaryZh = "打印选项标记出的章节";
        spec_.detailsZh = {
            "按列表顺序每章打印一行：字节偏移、制表符、字节长度、制表符、标题。长度由偏移在载入的"
            "文本上算出（每章到下一章的偏移为止，最后一章到文本末尾）。",
            "退出码为 0；书打不开或章节选项被拒绝时为 3（打印被拒绝之前标记的章节）。"};
        spec_.options.push_back(BookArgument(false));
        spec_.options.push_back(EncodingOption());
        AddOptions(spec_.options, ChapterOptionSpecs());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        return RunPreparedBooks(
            args, 1, streams, [](CliSession& session, Prepared prepared, LineSink& sink) {
                ChapterModel& model = session.Dialog().chapters;
                model.SetTextLength(static_cast<uint32_t>(ReadBookText(session.View()).size()));
                model.ComputeLengths();
                session.ForEachChapterLine([&](const std::string& line) { sink.Result(line); });
                return prepared == Prepared::kRefused ? kExitFailed : kExitOk;
            });
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeChaptersCommand() {
    return std::make_unique<ChaptersCommand>();
}

}  // namespace brisna::cli
