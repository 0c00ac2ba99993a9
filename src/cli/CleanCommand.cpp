// clean: 整理文本 on a book file, and the --clean option of the book subcommands.
#include "app/DlgCleanCommands.h"
#include "app/SuspiciousWords.h"
#include "chapters/ChapterTitle.h"
#include "cli/BookOptions.h"
#include "cli/CliMessages.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/RunReport.h"
#include "cli/UsageErrors.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"

namespace brisna::cli {
namespace {

// A UTF-8 or UTF-16 book is written back as UTF-8; GBK and Big5 books as GBK, the text the
// program holds.
OutputEncoding EncodingToWrite(TextEncoding loaded) {
    switch (loaded) {
        case TextEncoding::kUtf8:
        case TextEncoding::kUtf16Le:
        case TextEncoding::kUtf16Be:
            return OutputEncoding::kUtf8;
        default:
            return OutputEncoding::kGbk;
    }
}

class CleanCommand : public Command {
  public:
    CleanCommand() {
        spec_.name = "clean";
        spec_.synopsis =
            "BOOK [-o OUT|-] [--force] [--no-junk] [--no-contents] [--no-unwrap] [--notes] "
            "[--indent 0|2] [--junk-file FILE] [--dry-run] [--encoding ENC]";
        spec_.summary = "clean a downloaded book: site junk out, hard-wrapped paragraphs joined";
        spec_.details = {
            "Opens `BOOK` as 打开txt文件 does (`-` reads standard input) and runs 整理文本: whole "
            "lines that are site notices (web addresses, 本书由…整理, 手机阅读, 请记住本站 ...), "
            "chapter-end marks (（本章完）, （未完待续）), begging lines (求月票, 求推荐票 ...) "
            "and "
            "separator lines (=====, ------) are removed, and so is the 目录 block that lists the "
            "chapters again before the first one. When the book is hard-wrapped, the lines of "
            "a paragraph are joined (nothing between Chinese characters, one space between "
            "Latin words). Every paragraph is then indented with two full-width spaces and runs "
            "of blank lines shrink to one.",
            "Headings are never changed, joined or removed, and no character outside a removed "
            "line is lost or moved. A line where somebody speaks (“求推荐！”她说) stays.",
            "The cleaned text goes to `OUT` (`-` or no `-o`: standard output) in the book's own "
            "encoding: UTF-8 for a UTF-8 or UTF-16 book, GBK otherwise. An existing `OUT` is "
            "left alone (exit 3) unless `--force` is given. What was done goes to standard "
            "error: `已删除广告等 N 行、目录 1 处，合并断行 M 处`.",
            "`--dry-run` writes nothing and lists every change on standard output instead, one "
            "line each: the kind (广告, 目录, 作者的话, 合并断行), a tab, the line number "
            "(from 1), a tab and the line's text.",
            "`--junk-file FILE` adds the patterns of `FILE` (one a line, in any encoding a book "
            "may have; `*` stands for any run of characters, Latin letters match either case): "
            "a line that contains one is removed."};
        spec_.summaryZh = "整理下载的书：去掉网站广告等杂行，合并断行";
        spec_.detailsZh = {
            "像“打开txt文件”那样打开 `BOOK`（`-` 读标准输入），执行“整理文本”：删除整行的网站"
            "广告（网址、本书由…整理、手机阅读、请记住本站……）、章末标记（（本章完）、"
            "（未完待续））、求票的行（求月票、求推荐票……）和分隔线（=====、------），以及第一章"
            "之前把各章标题再列一遍的目录。书是硬换行的时候，把一段中的各行合并（汉字之间不加"
            "字符，英文单词之间加一个空格）。然后每段以两个全角空格缩进，连续的空行缩为一行。",
            "标题绝不改动、合并或删除，删除的行以外的字符一个也不丢、次序不变。有人说话的行"
            "（“求推荐！”她说）保留。",
            "整理后的文本写入 `OUT`（`-` 或不给 `-o` 时写到标准输出），编码与书相同：UTF-8 或 "
            "UTF-16 的书写成 UTF-8，其他写成 GBK。已有的 `OUT` 不会被改动（退出码 3），除非给出 "
            "`--force`。做了什么写到标准错误：`已删除广告等 N 行、目录 1 处，合并断行 M 处`。",
            "`--dry-run` 什么也不写，而是在标准输出列出每处改动，各占一行：种类（广告、目录、"
            "作者的话、合并断行）、制表符、行号（从 1 起）、制表符和该行的文字。",
            "`--junk-file FILE` 加上 `FILE` 中的模式（每行一个，编码可以是书能用的任何编码；"
            "`*` 代表任意一串字符，英文字母不分大小写）：含有其中一个的行被删除。"};
        spec_.options.push_back(BookArgument(false));
        spec_.options.push_back({"output", "-o,--output", "OUT",
                                 "write the cleaned text to OUT; - is standard output",
                                 ValueKind::kText, Completion::kAnyFile});
        spec_.options.back().helpZh = "把整理后的文本写入 OUT；- 为标准输出";
        spec_.options.push_back(ForceOption());
        Flag("no-junk", "keep site notices, chapter-end marks, begging and separator lines",
             "保留网站广告、章末标记、求票的行和分隔线");
        Flag("no-contents", "keep the 目录 block before the first chapter", "保留第一章之前的目录");
        Flag("no-unwrap", "never join lines, even in a hard-wrapped book",
             "不合并断行，即使书是硬换行的");
        Flag("notes", "also remove the author's notes (PS：…, 作者有话说)",
             "也删除作者的话（PS：…、作者有话说）");
        spec_.options.push_back({"indent",
                                 "--indent",
                                 "N",
                                 "full-width spaces before every paragraph: 0 or 2 (default 2)",
                                 ValueKind::kText,
                                 Completion::kNone,
                                 false,
                                 false,
                                 {"0", "2"}});
        spec_.options.back().helpZh = "每段前的全角空格数：0 或 2（默认 2）";
        spec_.options.push_back({"junk-file", "--junk-file", "FILE",
                                 "more junk patterns, one a line", ValueKind::kText,
                                 Completion::kAnyFile});
        spec_.options.back().helpZh = "更多的广告模式，每行一个";
        Flag("dry-run", "list the changes instead of writing the text", "列出改动，不写文本");
        spec_.options.push_back(EncodingOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        const std::string input = args.Value("BOOK").value_or("");
        const std::string output = args.Value("output").value_or("-");
        const bool force = args.Flag("force");
        const bool dryRun = args.Flag("dry-run");

        CleanupOptions options;
        options.removeJunk = !args.Flag("no-junk");
        options.removeContents = !args.Flag("no-contents");
        options.joinWrapped = !args.Flag("no-unwrap");
        options.removeNotes = args.Flag("notes");
        options.indentChars = args.Value("indent").value_or("2") == "0" ? 0 : 2;
        if (std::optional<std::string> file = args.Value("junk-file")) {
            WordListResult patterns = LoadSuspiciousWords(*file);
            if (patterns.status != WordListStatus::kOk) {
                streams.err << kUsagePrefix << messages::kReadJunkPatternsFailed
                            << EscapeLineBreaks(DisplayPath(*file)) << ": "
                            << (patterns.status == WordListStatus::kTooLarge
                                    ? GbkToUtf8Lossless(WordListTooLargeMessage())
                                    : std::string("cannot be read"))
                            << '\n';
                return kExitUsage;
            }
            options.junkPatterns = std::move(patterns.words);
        }
        if (!dryRun && CheckOutputFree(output, force, streams.err) != kExitOk) return kExitFailed;

        BookSettings settings;
        if (int code = ReadBookSettings(args, {input}, streams, settings); code != kExitOk) {
            return code;
        }
        settings.wordsFile = "/dev/null";  // nothing is checked, so no list is needed
        LineSink sink(streams.out, streams.err, "");
        std::unique_ptr<CliSession> session = NewBookSession(settings, sink);
        if (PrepareBook(*session, input, settings, sink) != Prepared::kReady) return kExitFailed;

        CBrisnaMakeDlg& dialog = session->Dialog();
        const CleanupResult result = PreviewTextCleanup(dialog, options);
        sink.Message(GbkToUtf8Lossless(CleanupReport(result.counts)));
        if (dryRun) {
            for (const CleanupChange& change : result.changes) {
                sink.Result(GbkToUtf8Lossless(CleanupChangeKindName(change.kind)) + "\t" +
                            std::to_string(change.line + 1) + "\t" +
                            EscapeLineBreaks(GbkToUtf8Lossless(change.text)));
            }
            return kExitOk;
        }
        return WriteOutputFile(output,
                               GbkTextToOutput(result.text, EncodingToWrite(dialog.loadedEncoding)),
                               force, streams.out, streams.err);
    }

  private:
    void Flag(const char* key, const char* help, const char* helpZh) {
        spec_.options.push_back(
            {key, std::string("--") + key, "", help, ValueKind::kFlag, Completion::kNone});
        spec_.options.back().helpZh = helpZh;
    }

    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeCleanCommand() {
    return std::make_unique<CleanCommand>();
}

OptionSpec CleanOption() {
    OptionSpec spec{"clean", "--clean", "",
                    "run 整理文本 (see clean) on the book before its chapters are marked",
                    ValueKind::kFlag};
    spec.helpZh = "标记章节之前先对书执行“整理文本”（见 clean）";
    return spec;
}

void CleanPreparedBook(CliSession& session, LineSink& sink) {
    CBrisnaMakeDlg& dialog = session.Dialog();
    const std::string before = ReadBookText(dialog.bookText.View());
    const CleanupResult result = CleanText(before, CleanupOptions());
    if (ApplyTextCleanup(dialog, result, before) || !result.changed) {
        sink.Message(GbkToUtf8Lossless(CleanupReport(result.counts)));
    }
}

}  // namespace brisna::cli
