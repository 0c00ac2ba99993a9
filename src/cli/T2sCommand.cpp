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
#include "cli/help/CleanHelpMessages.h"
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
        spec_.summary = help::t2s::kSummary;
        spec_.details = Paragraphs(help::t2s::kDetails);
        spec_.summaryZh = help::t2s::kSummaryZh;
        spec_.detailsZh = Paragraphs(help::t2s::kDetailsZh);
        spec_.options.push_back({"IN", "", "IN", std::string(help::t2s::kIn), ValueKind::kText,
                                 Completion::kTextBook, false, true});
        spec_.options.back().helpZh = help::t2s::kInZh;
        spec_.options.push_back({"OUT", "", "OUT", std::string(help::t2s::kOut), ValueKind::kText,
                                 Completion::kAnyFile, false, true});
        spec_.options.back().helpZh = help::t2s::kOutZh;
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
