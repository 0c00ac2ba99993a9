// generate: mark chapters and write the .qbr2 and .qbr files of one or more books.
#include <filesystem>
#include <ostream>

#include "book/Generation.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"

namespace brisna::cli {
namespace {

class GenerateCommand : public Command {
  public:
    GenerateCommand() {
        spec_.name = "generate";
        spec_.synopsis = "BOOK... [CHAPTER OPTIONS] [--output-dir DIR] [--words FILE] [--jobs N]";
        spec_.summary = "mark chapters and write the .qbr2 and .qbr files";
        spec_.details = {
            "Opens each book as 打开txt文件 does, applies the chapter options, then runs "
            "生成qbr: the book is checked once more and written as `.qbr2` and `.qbr` files "
            "beside the text (`book.qbr2`, or `book1.qbr2`, `book2.qbr2`, ... when the book "
            "needs several files; the same for `.qbr`). Existing books of those names are "
            "replaced, as in the window. Each written path is printed on its own line; the "
            "messages (\"生成qbr和qbr2成功\" included) go to standard error.",
            "Exit 0 when \"生成qbr和qbr2成功\" came up, else 3. When a chapter option is "
            "refused, nothing is written for that book.",
            "A book read from standard input has no name to name its files after, so `generate` "
            "takes files only."};
        spec_.summaryZh = "标记章节并写出 .qbr2 和 .qbr 文件";
        spec_.detailsZh = {
            "像“打开txt文件”那样打开每本书，应用章节选项，然后执行“生成qbr”：书再检查一遍，"
            "以 `.qbr2` 和 `.qbr` 文件写在文本旁边（`book.qbr2`；书需要几个文件时为 "
            "`book1.qbr2`、`book2.qbr2`……；`.qbr` 相同）。同名的已有书会被替换，和窗口中一样。"
            "每个写出的路径各占一行；消息（包括“生成qbr和qbr2成功”）输出到标准错误。",
            "出现“生成qbr和qbr2成功”时退出码为 0，否则为 3。章节选项被拒绝时，这本书什么也不写。",
            "从标准输入读的书没有名字可以用来命名它的文件，所以 `generate` 只接受文件。"};
        spec_.options.push_back(BookArgument(true, false));
        spec_.options.push_back(EncodingOption());
        AddOptions(spec_.options, ChapterOptionSpecs());
        spec_.options.push_back({"output-dir", "--output-dir", "DIR",
                                 "write the books into DIR instead of beside the text (same names)",
                                 ValueKind::kText, Completion::kDirectory});
        spec_.options.back().helpZh = "把书写进 DIR，而不是文本旁边（名字不变）";
        spec_.options.push_back(WordsOption());
        spec_.options.push_back(JobsOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        std::vector<std::string> books = args.Values("BOOK");
        for (const std::string& book : books) {
            if (book == "-") {
                streams.err << "generate: a book from standard input has no file name for its "
                               "books; give the text as a file\n";
                return kExitUsage;
            }
        }
        std::optional<std::string> outputDir = args.Value("output-dir");
        if (outputDir) {
            std::error_code error;
            if (!std::filesystem::is_directory(*outputDir, error)) {
                streams.err << "--output-dir: not a folder: "
                            << EscapeLineBreaks(DisplayPath(*outputDir)) << '\n';
                return kExitUsage;
            }
        }
        // The names come from the book source path: the same file name in another folder.
        auto sourcePathFor = [&](const CBrisnaMakeDlg& dialog) {
            if (!outputDir) return dialog.bookSourcePath;
            return (std::filesystem::path(*outputDir) /
                    std::filesystem::path(dialog.bookSourcePath).filename())
                .string();
        };
        return RunPreparedBooks(
            args, JobsOf(args), streams,
            [&](CliSession& session, Prepared prepared, LineSink& sink) {
                // A refused option may have left some chapters marked: no half-marked book is
                // written.
                if (prepared != Prepared::kReady) return kExitFailed;
                CBrisnaMakeDlg& dialog = session.Dialog();
                dialog.bookSourcePath = sourcePathFor(dialog);
                GenerationOutcome outcome =
                    GenerateBook(dialog.bookText, dialog.chapterList, dialog.chapters, dialog.host,
                                 dialog.bookSourcePath);
                for (const std::string& path : outcome.writtenFiles) sink.Result(DisplayPath(path));
                return outcome.succeeded ? kExitOk : kExitFailed;
            },
            [&](CliSession& session, Prepared prepared) -> std::vector<std::string> {
                if (prepared != Prepared::kReady) return {};
                CBrisnaMakeDlg& dialog = session.Dialog();
                return PlannedOutputPaths(dialog.bookText, dialog.chapters, sourcePathFor(dialog));
            });
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeGenerateCommand() {
    return std::make_unique<GenerateCommand>();
}

}  // namespace brisna::cli
