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
            "Prints what automatic recognition (`--auto`, and every chapter command given no "
            "chapter option) finds: the first heading as the book writes it, a tab, the chapters "
            "it makes (the text before the first heading and named sections such as `楔子` and "
            "`后记` included, also past the 98 chapters one book holds), a tab, the share of the "
            "text from the first heading on (`97%`), and, when the first heading is not on the "
            "first line, a tab and `从第N行开始` (N counted from 1). A book that numbers its "
            "chapters in several runs (`第N节`, then `第N话`) gets one more line per run, in text "
            "order, with the run's own chapters and share.",
            "Headings are found at line start: `第 + number + 章/回/节/集/篇/话/幕` (Chinese "
            "numerals, `两`, digits, Traditional characters), volumes `第N卷/部/册` and `卷N`, "
            "`Chapter N`, a number alone on its line; in brackets (`【第一章】`, `［第12章］`, "
            "`〖第一卷〗`); after a site's word (`正文`, `VIP卷`) or a volume's name; a volume and "
            "its first chapter on one line; named sections as whole short lines. A contents list, "
            "sentences that begin like a heading and mentions in running text are passed over.",
            "Exit 0 when headings were found, 1 when none were (the book is read, but has no "
            "heading structure to offer), 3 when the book could not be opened."};
        spec_.summaryZh = "列出自动识别找到的章节标题";
        spec_.detailsZh = {
            "打印自动识别（`--auto`，以及没有章节选项的各章节子命令）找到的结果：书中写出的第一个"
            "标题、制表符、识别出的章数（包括第一个标题之前的文字和 `楔子`、`后记` 等有名称的章节，"
            "超过一本书能装的 98 章也照数）、制表符、从第一个标题起的文本比例（`97%`），第一个标题"
            "不在第一行时再加制表符和 `从第N行开始`（N 从 1 数起）。分几段编号的书（先 `第N节`，"
            "后 `第N话`）每段再按文本顺序多打印一行，给出该段自己的章数和比例。",
            "标题在行首识别：`第 + 数字 + "
            "章/回/节/集/篇/话/幕`（中文数字、`两`、阿拉伯数字、繁体字）、"
            "卷 `第N卷/部/册` 和 `卷N`、`Chapter N`、单独一行的数字；括号中的标题（`【第一章】`、"
            "`［第12章］`、`〖第一卷〗`）；网站前缀（`正文`、`VIP卷`"
            "）或卷名之后的标题；同一行的卷和"
            "它的第一章；作为完整短行的有名称章节。目录、像标题开头的句子和正文中的提及都会跳过。",
            "找到标题时退出码为 0，一个也没有时为 1（书读了，但没有可用的标题结构），书打不开时为 "
            "3。"};
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
                    sink.Message("没有找到可以自动识别的章节标题");
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
