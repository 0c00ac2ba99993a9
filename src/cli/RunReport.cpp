#include "cli/RunReport.h"

#include <unistd.h>

#include <ostream>
#include <string>

#include "cli/BookOptions.h"
#include "text/CodePage936.h"

namespace brisna::cli {

namespace {
bool quietRun = false;
}  // namespace

void SetQuiet(bool quiet) {
    quietRun = quiet;
}

bool Quiet() {
    return quietRun;
}

bool IsNotice(const ShownMessage& message) {
    if (message.caption != MessageCaption::kPrompt) return false;  // failures have no caption
    static const std::string success = Utf8ToGbk("生成qbr和qbr2成功");
    static const std::string replaced = Utf8ToGbk("个字符无法转换为GBK");
    static const std::string forms = Utf8ToGbk("找到多种章节标题");
    const std::string& text = message.text;
    return text == success || text.rfind(forms, 0) == 0 ||
           (text.rfind(Utf8ToGbk("有"), 0) == 0 && text.find(replaced) != std::string::npos);
}

bool Shown(const ShownMessage& message) {
    return !(Quiet() && IsNotice(message));
}

void BatchTally::Count(int exitCode) {
    if (exitCode == kExitOk) {
        ++succeeded;
    } else if (exitCode == kExitProblems) {
        ++withProblems;
    } else {
        ++failed;
    }
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

OutputEncoding WrittenEncoding(const ParsedArgs& args, const std::string& output) {
    if (args.Value("output-encoding") || output != "-") return OutputEncodingOf(args);
    return isatty(STDOUT_FILENO) == 1 ? OutputEncoding::kUtf8 : OutputEncoding::kGbk;
}

void WriteBatchSummary(std::ostream& err, const BatchTally& tally) {
    err << "共" << tally.Books() << "本：成功" << tally.succeeded << "，有问题"
        << tally.withProblems << "，失败" << tally.failed << '\n';
    err.flush();
}

void ProgressLine::Show(size_t done, size_t total, const char* what) {
    if (!enabled_) return;
    // Back to the start of the line and clear it, so a shorter line leaves nothing behind.
    err_ << "\r\033[K[" << done << '/' << total << "] " << what;
    err_.flush();
    shown_ = true;
}

void ProgressLine::Clear() {
    if (!shown_) return;
    err_ << "\r\033[K";
    err_.flush();
    shown_ = false;
}

}  // namespace brisna::cli
