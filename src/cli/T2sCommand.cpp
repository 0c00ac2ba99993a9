// t2s: convert a book from Traditional to Simplified characters.
#include "app/ControlIds.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/RunReport.h"
#include "text/EncodingConversion.h"

namespace brisna::cli {
namespace {

class T2sCommand : public Command {
  public:
    T2sCommand() {
        spec_.name = "t2s";
        spec_.synopsis = "IN.txt|- OUT.txt|- [--force] [--encoding ENC] [--output-encoding ENC]";
        spec_.summary = "convert a book from Traditional to Simplified characters";
        spec_.details = {
            "Opens `IN.txt` as 打开txt文件 does (`-` reads standard input), runs 繁体转简体 and "
            "writes the text to `OUT.txt` (GBK, CR LF; `-` writes standard output, as UTF-8 when "
            "that is a terminal). An existing "
            "`OUT.txt` is left alone (exit 3) unless `--force` is given.",
            "`IN.txt` may be GBK, UTF-8, UTF-16 or Big5 (`--encoding`); `--output-encoding "
            "utf-8` writes UTF-8 with LF line ends. When the conversion dictionary cannot be "
            "loaded nothing is written (exit 3)."};
        spec_.summaryZh = "把书从繁体字转换为简体字";
        spec_.detailsZh = {
            "像“打开txt文件”那样打开 `IN.txt`（`-` 读标准输入），执行“繁体转简体”，并把文本写入 "
            "`OUT.txt`（GBK、CR LF；`-` 写到标准输出，是终端时为 UTF-8）。已有的 `OUT.txt` "
            "不会被改动（退出码 3），"
            "除非给出 `--force`。",
            "`IN.txt` 可以是 GBK、UTF-8、UTF-16 或 Big5（`--encoding`）；`--output-encoding "
            "utf-8` 以 UTF-8 和 LF 行尾写出。转换词典载入不了时什么也不写（退出码 3）。"};
        spec_.options.push_back({"IN", "", "IN", "the book text (.txt); - reads standard input",
                                 ValueKind::kText, Completion::kTextBook, false, true});
        spec_.options.back().helpZh = "书的文本（.txt）；- 读标准输入";
        spec_.options.push_back({"OUT", "", "OUT",
                                 "where the converted text goes; - is standard output",
                                 ValueKind::kText, Completion::kAnyFile, false, true});
        spec_.options.back().helpZh = "转换后的文本写到哪里；- 为标准输出";
        spec_.options.push_back(ForceOption());
        spec_.options.push_back(EncodingOption());
        spec_.options.push_back(OutputEncodingOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        std::string input = args.Value("IN").value_or("");
        std::string output = args.Value("OUT").value_or("");
        bool force = args.Flag("force");
        if (CheckOutputFree(output, force, streams.err) != kExitOk) return kExitFailed;
        BookSettings settings;
        if (int code = ReadBookSettings(args, {input}, streams, settings); code != kExitOk) {
            return code;
        }
        settings.wordsFile = "/dev/null";  // nothing is checked, so no list is needed
        LineSink sink(streams.out, streams.err, "");
        std::unique_ptr<CliSession> session = NewBookSession(settings, sink);
        if (PrepareBook(*session, input, settings, sink) != Prepared::kReady) return kExitFailed;
        size_t before = session->MessageCount();
        session->Dialog().OnCommand(kConvertButton);
        // Any message (the dictionary could not be loaded) means the text was left as it was:
        // nothing is written.
        if (session->MessageCount() != before) return kExitFailed;
        return WriteOutputFile(
            output, GbkTextToOutput(session->View().GetText(), WrittenEncoding(args, output)),
            force, streams.out, streams.err);
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeT2sCommand() {
    return std::make_unique<T2sCommand>();
}

}  // namespace brisna::cli
