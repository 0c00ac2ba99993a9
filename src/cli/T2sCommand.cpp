// t2s: convert a book from Traditional to Simplified characters.
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "app/ControlIds.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/RunReport.h"
#include "cli/TextOutput.h"
#include "epub/EpubCommands.h"

namespace brisna::cli {
namespace {

// Enough of the input to tell its line ends by.
constexpr size_t kLineEndProbeBytes = 65536;

// The start of the book's file (or of standard input, already read).
std::string InputStart(const std::string& input, const BookSettings& settings) {
    if (input == "-") {
        if (!settings.standardInput) return {};
        return settings.standardInput->bytes.substr(0, kLineEndProbeBytes);
    }
    std::ifstream file(input, std::ios::binary);
    std::string start(kLineEndProbeBytes, '\0');
    file.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    return start;
}

class T2sCommand : public Command {
  public:
    T2sCommand() {
        spec_.name = "t2s";
        spec_.synopsis = "IN.txt|- OUT.txt|- [--force] [--encoding ENC] [--output-encoding ENC]";
        spec_.summary = "convert a book from Traditional to Simplified characters";
        spec_.details = {
            "Opens `IN.txt` as 打开txt文件 does (`-` reads standard input), runs 繁体转简体 and "
            "writes the text to `OUT.txt` (`-` writes standard output). An existing `OUT.txt` is "
            "left alone (exit 3) unless `--force` is given.",
            "The text is written back the way it came: a GBK book stays GBK, a UTF-8 book stays "
            "UTF-8 (with its byte-order mark, if it had one), each with the line ends of `IN.txt`; "
            "a UTF-16 or Big5 book, or an EPUB, is written as UTF-8, and so is text to a terminal. "
            "`--output-encoding gbk` or `utf-8` chooses the encoding instead. When the conversion "
            "dictionary cannot be "
            "loaded nothing is written (exit 3)."};
        spec_.summaryZh = "把书从繁体字转换为简体字";
        spec_.detailsZh = {
            "像“打开txt文件”那样打开 `IN.txt`（`-` 读标准输入），执行“繁体转简体”，并把文本写入 "
            "`OUT.txt`（`-` 写到标准输出）。已有的 `OUT.txt` 不会被改动（退出码 3），除非给出 "
            "`--force`。",
            "文本按读入时的样子写回：GBK 的书仍是 GBK，UTF-8 的书仍是 UTF-8（原有字节顺序标记的"
            "保留标记），行尾都与 `IN.txt` 相同；UTF-16 或 Big5 的书、EPUB "
            "以及写到终端的文本都写成 UTF-8。"
            "`--output-encoding gbk` 或 `utf-8` 改用指定的编码。转换词典载入不了时什么也不写"
            "（退出码 3）。"};
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
        // The book is written back the way it came, unless another encoding is asked for.
        TextForm form;
        if (BookFileKindOf(input) == BookFileKind::kText) {
            const std::string start = InputStart(input, settings);
            // An EPUB on standard input has no line ends of its own: it becomes UTF-8 with LF.
            if (!LooksLikeZip(start)) form = FormOfInput(start, session->Dialog().loadedEncoding);
        }
        if (args.Value("output-encoding")) {
            form.encoding = OutputEncodingOf(args);
        } else if (output == "-" && isatty(STDOUT_FILENO) == 1) {
            form.encoding = OutputEncoding::kUtf8;  // a terminal shows GBK as garbage
        }
        return WriteOutputFile(output, TextInForm(session->View().GetText(), form), force,
                               streams.out, streams.err);
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeT2sCommand() {
    return std::make_unique<T2sCommand>();
}

}  // namespace brisna::cli
