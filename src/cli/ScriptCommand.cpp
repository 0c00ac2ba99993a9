// script: run an operator script against the headless window.
#include <unistd.h>

#include <cstring>
#include <ostream>

#include "Capacities.h"
#include "cli/BookOptions.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/ScriptRunner.h"

namespace brisna::cli {
namespace {

class ScriptCommand : public Command {
  public:
    ScriptCommand() {
        spec_.name = "script";
        spec_.synopsis = "FILE|- [--words FILE] [--encoding ENC]";
        spec_.summary = "run an operator script (- reads it from standard input)";
        spec_.details = {
            "Runs an operator script (see Scripts below). Message boxes print on standard "
            "output where they come up, between the outputs of `print`.",
            "Exit 0 when every line ran; 2 at the first malformed line, reported on standard "
            "error as `FILE:LINE: message` (the lines before it have run); 3 when the script "
            "cannot be read.",
            "`--encoding` is what every `open-txt` of the script reads its text as."};
        spec_.summaryZh = "执行操作脚本（- 从标准输入读）";
        spec_.detailsZh = {
            "执行操作脚本（见下文“脚本”）。消息框在出现处打印到标准输出，夹在 `print` 的输出"
            "之间。",
            "每行都执行了时退出码为 0；遇到第一个格式错误的行时为 2，在标准错误上报告为 "
            "`FILE:LINE: 消息`（它之前的行已执行）；脚本读不了时为 3。",
            "`--encoding` 是脚本中每个 `open-txt` 读文本所用的编码。"};
        spec_.options.push_back({"FILE", "", "FILE", "the script (UTF-8); - reads standard input",
                                 ValueKind::kText, Completion::kAnyFile, false, true});
        spec_.options.back().helpZh = "脚本（UTF-8）；- 读标准输入";
        spec_.options.push_back(WordsOption());
        spec_.options.push_back(EncodingOption());
    }

    const CommandSpec& Spec() const override { return spec_; }

    int Run(const ParsedArgs& args, CommandStreams& streams) override {
        std::string file = args.Value("FILE").value_or("");
        BookSettings settings;
        if (int code = ReadBookSettings(args, {}, streams, settings); code != kExitOk) return code;

        bool standardInput = file == "-";
        StreamRead script = standardInput ? ReadAllBounded(STDIN_FILENO, kMaxTextBytes)
                                          : ReadNamedStream(file, kMaxTextBytes);
        if (script.status != StreamReadStatus::kOk) {
            streams.err << "读取脚本失败: " << EscapeLineBreaks(DisplayPath(file)) << ": "
                        << (script.status == StreamReadStatus::kTooLarge
                                ? std::string("文件太大")
                                : std::string(std::strerror(script.error)))
                        << '\n';
            return kExitFailed;
        }
        std::ostream& out = streams.out;
        CliSession session(settings.wordsFile, [&out](const ShownMessage& message) {
            out << MessageLine(message) << '\n';
        });
        session.Dialog().textEncoding = settings.encoding;
        return ScriptRunner(session, out)
            .Run(script.bytes, standardInput ? "<stdin>" : DisplayPath(file), streams.err);
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeScriptCommand() {
    return std::make_unique<ScriptCommand>();
}

}  // namespace brisna::cli
