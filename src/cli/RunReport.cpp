#include "cli/RunReport.h"

#include <unistd.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "app/AppMessages.h"
#include "cli/BookOptions.h"
#include "cli/CliMessages.h"
#include "detect/DetectMessages.h"
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
    // "提示" also asks for missing input or says a search found nothing: those are refusals.
    static const std::vector<std::string> refusals{
        Utf8ToGbk(detect_messages::kEnterKeyword), Utf8ToGbk(detect_messages::kKeywordNotFound),
        Utf8ToGbk(app_messages::kNoRecognisedHeadings), Utf8ToGbk(app_messages::kEnterSearchText)};
    return std::find(refusals.begin(), refusals.end(), message.text) == refusals.end();
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

OutputEncoding WrittenEncoding(const ParsedArgs& args) {
    if (args.Value("output-encoding")) return OutputEncodingOf(args);
    return OutputEncoding::kUtf8;
}

void WriteBatchSummary(std::ostream& err, const BatchTally& tally) {
    err << messages::BatchSummary(int64_t(tally.Books()), int64_t(tally.succeeded),
                                  int64_t(tally.withProblems), int64_t(tally.failed))
        << '\n';
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
