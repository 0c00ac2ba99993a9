// script: run an operator script against the headless window.
#include <unistd.h>

#include <cstring>
#include <ostream>

#include "Capacities.h"
#include "cli/BookOptions.h"
#include "cli/CliMessages.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/ScriptRunner.h"
#include "cli/help/ScriptHelpMessages.h"

namespace brisna::cli {
namespace {

class ScriptCommand : public Command {
  public:
    ScriptCommand() {
        spec_.name = "script";
        spec_.synopsis = "FILE|- [--words FILE] [--encoding ENC]";
        spec_.summary = help::script::kSummary;
        spec_.details = Paragraphs(help::script::kDetails);
        spec_.summaryZh = help::script::kSummaryZh;
        spec_.detailsZh = Paragraphs(help::script::kDetailsZh);
        spec_.options.push_back({"FILE", "", "FILE", std::string(help::script::kFileHelp),
                                 ValueKind::kText, Completion::kAnyFile, false, true});
        spec_.options.back().helpZh = help::script::kFileHelpZh;
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
            streams.err << messages::kReadScriptFailed << EscapeLineBreaks(DisplayPath(file))
                        << ": "
                        << (script.status == StreamReadStatus::kTooLarge
                                ? std::string(messages::kScriptTooLarge)
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
            .Run(
                script.bytes,
                standardInput ? std::string(messages::kStandardInputScriptName) : DisplayPath(file),
                streams.err);
    }

  private:
    CommandSpec spec_;
};

}  // namespace

std::unique_ptr<Command> MakeScriptCommand() {
    return std::make_unique<ScriptCommand>();
}

}  // namespace brisna::cli
