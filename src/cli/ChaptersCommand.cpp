// chapters: print the chapters the chapter options mark in a book.
#include "chapters/ChapterTitle.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"
#include "cli/Output.h"
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
        spec_.summary = "print the chapters the options mark";
        spec_.details = {
            "Prints one line per chapter in list order: byte offset, a tab, byte length, a tab, "
            "the title. Lengths are computed from the offsets over the loaded text (each chapter "
            "runs to the next one's offset, the last to the end of the text). An EPUB opened "
            "without chapter options lists every entry of its contents instead, with a fourth "
            "column, the entry's level (1 the top); entries leading to one place share it.",
            "With `--parts` the part plan of `generate --parts` is printed instead, without "
            "writing anything: one line per chapter of every part, the part number, a tab, the "
            "byte offset in the whole loaded text, a tab, the length, a tab, the title; a volume "
            "line is a line of its own with `-` for its length.",
            "Exit 0; 3 when the book could not be opened or a chapter option was refused (the "
            "chapters marked before the refusal are printed), or, with `--parts`, when no part "
            "plan can be made (a book without headings)."};
        spec_.summaryZh = "打印选项标记出的章节";
        spec_.detailsZh = {
            "按列表顺序每章打印一行：字节偏移、制表符、字节长度、制表符、标题。长度由偏移在载入的"
            "文本上算出（每章到下一章的偏移为止，最后一章到文本末尾）。没有章节选项时，打开的 EPUB "
            "改为列出其目录的每一项，第四列为该项的层级（1 为最上层）；指向同一处的各项偏移相同。",
            "加 `--parts` 时改为打印 `generate --parts` 的分册方案，不写任何文件：每册的每章一行，"
            "册号、制表符、在整个载入文本中的字节偏移、制表符、长度、制表符、标题；卷标题单独一行，"
            "长度处为 `-`。",
            "退出码为 0；书打不开或章节选项被拒绝时为 3（打印被拒绝之前标记的章节）；加 `--parts` "
            "而无法分册（书中没有章节标题）时也为 3。"};
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
