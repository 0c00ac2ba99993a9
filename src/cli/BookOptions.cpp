#include "cli/BookOptions.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <sstream>
#include <thread>

#include "Capacities.h"
#include "chapters/ChapterTitle.h"
#include "cli/BookBatch.h"
#include "cli/CliMessages.h"
#include "cli/RunReport.h"
#include "cli/UsageErrors.h"
#include "cli/help/GeneralHelpMessages.h"
#include "detect/BookOutline.h"
#include "epub/EpubCommands.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"
#include "text/TextMessages.h"

namespace brisna::cli {

namespace option_help = help::book_options;

OptionSpec BookArgument(bool several, bool standardInput) {
    OptionSpec spec;
    spec.key = "BOOK";
    spec.valueName = "BOOK";
    spec.help = several ? option_help::kBooks : option_help::kBook;
    spec.helpZh = option_help::kBookZh;
    if (standardInput) {
        spec.help += option_help::kStandardInput;
        spec.helpZh += option_help::kStandardInputZh;
    }
    spec.completion = Completion::kTextBook;
    spec.repeatable = several;
    spec.required = true;
    return spec;
}

namespace {

// One option's spec with its help in both languages.
OptionSpec Described(OptionSpec spec, std::string_view help, std::string_view helpZh) {
    spec.help = help;
    spec.helpZh = helpZh;
    return spec;
}

}  // namespace

std::vector<OptionSpec> ChapterOptionSpecs() {
    std::vector<OptionSpec> specs{Described({"line", "--line", "N", "", ValueKind::kCount},
                                            option_help::kLine, option_help::kLineZh),
                                  Described({"incremental", "--incremental", "HEADING", ""},
                                            option_help::kIncremental, option_help::kIncrementalZh),
                                  Described({"keyword", "--keyword", "HEADING", ""},
                                            option_help::kKeyword, option_help::kKeywordZh)};
    for (OptionSpec& spec : specs) spec.repeatable = true;
    specs.push_back(Described({"auto", "--auto", "", "", ValueKind::kFlag}, option_help::kAuto,
                              option_help::kAutoZh));
    specs.push_back(Described({"at-line-start", "--at-line-start", "", "", ValueKind::kFlag},
                              option_help::kAtLineStart, option_help::kAtLineStartZh));
    specs.push_back(CleanOption());
    specs.push_back(Described({"pattern", "--pattern", "REGEX", ""}, option_help::kPattern,
                              option_help::kPatternZh));
    specs.push_back(Described({"volume-pattern", "--volume-pattern", "REGEX", ""},
                              option_help::kVolumePattern, option_help::kVolumePatternZh));
    specs.push_back(Described({"short-titles", "--short-titles", "", "", ValueKind::kFlag},
                              option_help::kShortTitles, option_help::kShortTitlesZh));
    return specs;
}

OptionSpec WordsOption() {
    return Described({"words", "--words", "FILE", "", ValueKind::kText, Completion::kAnyFile},
                     option_help::kWords, option_help::kWordsZh);
}

OptionSpec JobsOption() {
    return Described({"jobs", "--jobs", "N", "", ValueKind::kPositiveCount}, option_help::kJobs,
                     option_help::kJobsZh);
}

OptionSpec ForceOption() {
    return Described({"force", "--force", "", "", ValueKind::kFlag}, option_help::kForce,
                     option_help::kForceZh);
}

OptionSpec PartsOption(bool writes) {
    return Described({"parts", "--parts", "", "", ValueKind::kFlag},
                     writes ? option_help::kPartsWritten : option_help::kPartsPlanned,
                     writes ? option_help::kPartsWrittenZh : option_help::kPartsPlannedZh);
}

OptionSpec EncodingOption() {
    OptionSpec spec = Described({"encoding", "--encoding", "ENC", "", ValueKind::kText},
                                option_help::kEncoding, option_help::kEncodingZh);
    spec.choices = {"auto", "gbk", "utf-8", "utf8", "utf-16le", "utf-16be", "big5"};
    return spec;
}

OptionSpec OutputEncodingOption() {
    OptionSpec spec =
        Described({"output-encoding", "--output-encoding", "ENC", "", ValueKind::kText},
                  option_help::kOutputEncoding, option_help::kOutputEncodingZh);
    spec.choices = {"gbk", "utf-8", "utf8"};
    return spec;
}

TextEncoding EncodingOf(const ParsedArgs& args) {
    std::optional<std::string> name = args.Value("encoding");
    if (!name) return TextEncoding::kAuto;
    // The parser has checked the name.
    return ParseTextEncoding(*name).value_or(TextEncoding::kAuto);
}

OutputEncoding OutputEncodingOf(const ParsedArgs& args) {
    std::optional<std::string> name = args.Value("output-encoding");
    if (!name) return OutputEncoding::kGbk;
    return ParseOutputEncoding(*name).value_or(OutputEncoding::kGbk);
}

void AddOptions(std::vector<OptionSpec>& to, const std::vector<OptionSpec>& specs) {
    to.insert(to.end(), specs.begin(), specs.end());
}

int ReadBookSettings(const ParsedArgs& args, const std::vector<std::string>& books,
                     CommandStreams& streams, BookSettings& settings, AutoChapters autoChapters) {
    settings.wordsFile = args.Value("words");
    settings.encoding = EncodingOf(args);
    settings.headingsAtLineStart = args.Flag("at-line-start");
    settings.clean = args.Flag("clean");
    settings.autoChapters = args.Flag("parts") ? AutoChapters::kOutline : autoChapters;
    if (settings.wordsFile) {
        std::string problem = WordsFileProblem(*settings.wordsFile);
        if (!problem.empty()) {
            streams.err << kUsagePrefix << messages::kReadWordsFailed
                        << EscapeLineBreaks(DisplayPath(*settings.wordsFile)) << ": " << problem
                        << '\n';
            return kExitUsage;
        }
    }
    for (const auto& [key, value] : args.InOrder()) {
        if (key == "line") settings.chapterOptions.push_back({ChapterOption::Kind::kLine, value});
        if (key == "incremental") {
            settings.chapterOptions.push_back({ChapterOption::Kind::kIncremental, value});
        }
        if (key == "keyword") {
            settings.chapterOptions.push_back({ChapterOption::Kind::kKeyword, value});
        }
        if (key == "auto") {
            settings.chapterOptions.push_back({ChapterOption::Kind::kAuto, ""});
        }
    }
    settings.rule.pattern = args.Value("pattern").value_or("");
    settings.rule.volumePattern = args.Value("volume-pattern").value_or("");
    settings.rule.shortTitles = args.Flag("short-titles");
    for (const char* key : {"pattern", "volume-pattern"}) {
        std::optional<std::string> pattern = args.Value(key);
        if (!pattern) continue;
        if (std::optional<std::string> problem = PatternProblem(*pattern)) {
            const std::string option = std::string("--") + key + ": ";
            return ReportUsageError(streams.err, option + *problem, option + *problem);
        }
    }
    if (std::count(books.begin(), books.end(), "-") > 1) {
        return ReportUsageError(streams.err, "standard input (-) can be read only once",
                                std::string(messages::kStandardInputTwice));
    }
    if (std::find(books.begin(), books.end(), "-") != books.end()) {
        // A text in another encoding may take more bytes than its GBK text; the GBK text is
        // bounded when it is decoded.
        settings.standardInput = ReadAllBounded(STDIN_FILENO, kSourceReadLimit);
    }
    return kExitOk;
}

std::unique_ptr<CliSession> NewBookSession(const BookSettings& settings, LineSink& sink) {
    auto session =
        std::make_unique<CliSession>(settings.wordsFile, [&sink](const ShownMessage& message) {
            if (Shown(message)) sink.Message(MessageLine(message));
        });
    session->Dialog().textEncoding = settings.encoding;
    return session;
}

namespace {

// An EPUB read from standard input.
bool LooksLikeEpubInput(const std::string& book, const BookSettings& settings) {
    return book == "-" && settings.standardInput && LooksLikeZip(settings.standardInput->bytes);
}

// True when --auto leaves the chapters to the book's outline.
bool LeavesAutoToOutline(CBrisnaMakeDlg& dialog, const BookSettings& settings) {
    switch (settings.autoChapters) {
        case AutoChapters::kRecognition:
            return false;
        case AutoChapters::kOutline:
            return true;
        case AutoChapters::kRecognitionUpToOneBook:
            return BuildBookOutline(ReadBookText(dialog.bookText.View())).ChapterCount() >
                   kMaxChapters;
    }
    return false;
}

}  // namespace

Prepared PrepareBook(CliSession& session, const std::string& book, const BookSettings& settings,
                     LineSink& sink) {
    if (book == "-" && settings.standardInput) {
        const StreamRead& input = *settings.standardInput;
        // The messages a file would bring up, with "-" for its name.
        if (input.status == StreamReadStatus::kTooLarge) {
            sink.Message(std::string(text_messages::kTxtTooLarge) + ": -");
            return Prepared::kNotOpened;
        }
        if (input.status == StreamReadStatus::kFailed) {
            sink.Message(std::string(text_messages::kReadFileFailed) +
                         ": -: " + std::strerror(input.error));
            return Prepared::kNotOpened;
        }
        if (!session.LoadTextBytes(input.bytes, "-")) return Prepared::kNotOpened;
    } else if (!session.OpenText(book)) {
        return Prepared::kNotOpened;
    }
    if (settings.clean) CleanPreparedBook(session, sink);
    CBrisnaMakeDlg& dialog = session.Dialog();
    dialog.headingsAtLineStart = settings.headingsAtLineStart;
    // An EPUB brings its own chapters; chapter options mark the book afresh instead.
    if (!settings.chapterOptions.empty() &&
        (IsEpubPath(book) || LooksLikeEpubInput(book, settings)))
        dialog.OnDeleteAllChapters();
    std::vector<ChapterOption> options = settings.chapterOptions;
    // A text book with no chapter option is recognised; one whose text has no heading at all
    // is left as it was, for the command to say what it lacks.
    if (settings.recognizeByDefault && options.empty() && settings.rule.Empty() &&
        !IsEpubPath(book) && !LooksLikeEpubInput(book, settings) &&
        BuildBookOutline(ReadBookText(dialog.bookText.View())).HasHeadings()) {
        options.push_back({ChapterOption::Kind::kAuto, ""});
    }
    for (const ChapterOption& option : options) {
        if (option.kind == ChapterOption::Kind::kAuto && LeavesAutoToOutline(dialog, settings)) {
            continue;
        }
        std::string error;
        if (!session.ApplyChapterOption(option, error)) {
            if (!error.empty()) sink.Message(error);
            return Prepared::kRefused;
        }
    }
    if (!settings.rule.Empty()) {
        // Writing parts or an EPUB takes every chapter the rule finds; other commands are told
        // when more than one book holds.
        const bool wholeBook = settings.autoChapters != AutoChapters::kRecognition;
        if (!dialog.OnRuleChapters(settings.rule, wholeBook)) return Prepared::kRefused;
    }
    return Prepared::kReady;
}

PartPlan PlanPreparedParts(CliSession& session) {
    return session.Dialog().PlanBookParts();
}

unsigned DefaultJobs() {
    return std::max(1u, std::thread::hardware_concurrency());
}

unsigned JobsOf(const ParsedArgs& args) {
    std::optional<std::string> jobs = args.Value("jobs");
    if (!jobs) return DefaultJobs();
    // The parser has checked it is a positive number.
    return static_cast<unsigned>(std::stoul(*jobs));
}

int RunPreparedBooks(const ParsedArgs& args, unsigned jobs, CommandStreams& streams,
                     const PreparedBookJob& job, const PreparedBookOutputs& outputsOf,
                     AutoChapters autoChapters, bool recognizeByDefault) {
    std::vector<std::string> books = args.Values("BOOK");
    BookSettings settings;
    if (int code = ReadBookSettings(args, books, streams, settings, autoChapters);
        code != kExitOk) {
        return code;
    }
    settings.recognizeByDefault = recognizeByDefault;
    BookOutputs outputs;
    if (outputsOf) {
        outputs = [&](const std::string& book) -> std::vector<std::string> {
            std::ostringstream unused;
            LineSink silent(unused, unused, "");
            std::unique_ptr<CliSession> session = NewBookSession(settings, silent);
            Prepared prepared = PrepareBook(*session, book, settings, silent);
            if (prepared == Prepared::kNotOpened) return {};
            return outputsOf(*session, prepared);
        };
    }
    return RunBooks(
        books, jobs, streams,
        [&](const std::string& book, LineSink& sink) {
            std::unique_ptr<CliSession> session = NewBookSession(settings, sink);
            Prepared prepared = PrepareBook(*session, book, settings, sink);
            if (prepared == Prepared::kNotOpened) return kExitFailed;
            return job(*session, prepared, sink);
        },
        outputs);
}

int ProblemListExit(CliSession& session, Prepared prepared) {
    if (prepared == Prepared::kRefused) return kExitFailed;
    return session.ProblemList().GetCount() == 0 ? kExitOk : kExitProblems;
}

}  // namespace brisna::cli
