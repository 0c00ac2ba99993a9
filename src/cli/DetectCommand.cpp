// detect: list the heading forms automatic recognition finds in a book, best first.
#include "chapters/ChapterTitle.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"
#include "detect/HeadingPatternDetection.h"
#include "text/CodePage936.h"

namespace brisna::cli {
namespace {

class DetectCommand : public Command {
  public:
    DetectCommand() {
        spec_.name = "detect";
        spec_.synopsis = "BOOK";
        spec_.summary = "list the chapter headings automatic recognition finds";
        spec_.details = {
            "Looks at the start of every line for a numbered heading (`第 + numeral + "
            "章/回/节/卷/集/部/篇/话`, `Chapter N`, `卷N`, a line holding only a number), groups "
            "the headings by their form and, for each form, counts the chapters an incremental "
            "add from its first heading (headings at line start) would mark: every one, also "
            "past the 98 chapters one book holds (`generate --parts` writes such a book as "
            "parts). Prints one line per form that marks at least two chapters, best first (most "
            "chapters, then most "
            "coverage): the first heading, a tab, the chapters, a tab, the share of the text they "
            "cover (`63%`), and, when the headings start after the first line, a tab and "
            "`从第N行开始` (N counted from 1). `--auto` applies the first line.",
            "Exit 0 when at least one form was found, 1 when none was (the book is read, but "
            "has no heading structure to offer), 3 when the book could not be opened."};
        spec_.summaryZh = "列出自动识别找到的章节标题";
        spec_.detailsZh = {
            "在每行的开头寻找带编号的标题（`第 + 数字 + 章/回/节/卷/集/部/篇/话`、`Chapter N`、"
            "`卷N`、只有一个数字的行），按形式分组，并对每种形式数出从它的第一个标题开始的递增添加"
            "（仅匹配行首）会标记多少章：全部数出，超过一本书能装的 98 章也一样（这样的书用 "
            "`generate --parts` "
            "分册写出）。每种能标记至少两章的形式打印一行，最好的在前（章数最多，"
            "其次覆盖最多）：第一个标题、制表符、章数、制表符、这些章覆盖的文本比例（`63%`），"
            "标题不从第一行开始时再加制表符和 `从第N行开始`（N 从 1 数起）。`--auto` 应用第一行。",
            "至少找到一种形式时退出码为 0，一种也没有时为 1（书读了，但没有可用的标题结构），"
            "书打不开时为 3。"};
        spec_.options.push_back(BookArgument(false));
        spec_.options.push_back(EncodingOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        return RunPreparedBooks(
            args, 1, streams, [](CliSession& session, Prepared, LineSink& sink) {
                std::vector<HeadingCandidate> candidates =
                    DetectHeadingPatterns(ReadBookText(session.View()));
                if (candidates.empty()) {
                    sink.Message("没有找到可以自动识别的章节标题");
                    return kExitProblems;
                }
                for (const HeadingCandidate& candidate : candidates) {
                    sink.Result(GbkToUtf8Lossless(FormatHeadingCandidate(candidate)));
                }
                return kExitOk;
            });
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeDetectCommand() {
    return std::make_unique<DetectCommand>();
}

}  // namespace brisna::cli
