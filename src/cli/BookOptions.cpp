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
#include "detect/BookOutline.h"
#include "epub/EpubCommands.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"
#include "text/TextMessages.h"

namespace brisna::cli {

OptionSpec BookArgument(bool several, bool standardInput) {
    OptionSpec spec;
    spec.key = "BOOK";
    spec.valueName = "BOOK";
    spec.help = several ? "the book texts (.txt or .epub)" : "the book text (.txt or .epub)";
    spec.helpZh = several ? "书的文本文件（.txt 或 .epub）" : "书的文本文件（.txt 或 .epub）";
    if (standardInput) {
        spec.help += "; - reads standard input";
        spec.helpZh += "；- 读标准输入";
    }
    spec.completion = Completion::kTextBook;
    spec.repeatable = several;
    spec.required = true;
    return spec;
}

std::vector<OptionSpec> ChapterOptionSpecs() {
    OptionSpec line{"line", "--line", "N",
                    "put the caret on display line N (0-based) and press 添加章节",
                    ValueKind::kCount};
    OptionSpec incremental{"incremental", "--incremental", "HEADING",
                           "type HEADING into 起始章节 and press 递增添加章节"};
    OptionSpec keyword{"keyword", "--keyword", "HEADING",
                       "type HEADING into 起始章节 and press 模糊添加章节"};
    line.helpZh = "把光标放在第 N 个显示行（从 0 数起）并按“添加章节”";
    incremental.helpZh = "在“起始章节”中输入 HEADING 并按“递增添加章节”";
    keyword.helpZh = "在“起始章节”中输入 HEADING 并按“模糊添加章节”";
    std::vector<OptionSpec> specs{line, incremental, keyword};
    for (OptionSpec& spec : specs) spec.repeatable = true;
    specs.push_back({"auto", "--auto", "",
                     "mark the chapters recognition finds (as detect counts them), replacing "
                     "those marked before; text before the first heading becomes the first "
                     "chapter",
                     ValueKind::kFlag});
    specs.back().helpZh =
        "标记自动识别找到的章节（与 detect 的计数相同），替换之前标记的章节；第一个标题之前的文字"
        "成为第一章";
    specs.push_back({"at-line-start", "--at-line-start", "",
                     "--incremental and --keyword take a heading only where it begins its line "
                     "(after blanks), skipping mentions in running text",
                     ValueKind::kFlag});
    specs.back().helpZh =
        "--incremental 和 --keyword 只取位于行首（空白之后）的标题，跳过正文中的提及";
    specs.push_back(CleanOption());
    specs.push_back({"pattern", "--pattern", "REGEX",
                     "mark a chapter at every line whose text (after its leading blanks) begins "
                     "with a match of REGEX (ICU regular expression), replacing other marks"});
    specs.back().helpZh =
        "在每个开头（行首空白之后）与 REGEX（ICU 正则表达式）匹配的行标记一章，替换其他标记";
    specs.push_back({"volume-pattern", "--volume-pattern", "REGEX",
                     "lines that begin with a match of REGEX are volume headings above the "
                     "chapters"});
    specs.back().helpZh = "开头与 REGEX 匹配的行是章节之上的卷标题";
    specs.push_back({"short-titles", "--short-titles", "",
                     "a collection: every short line between blank lines that ends no sentence "
                     "is the title of a piece",
                     ValueKind::kFlag});
    specs.back().helpZh = "作品集：空行之间不以句末标点结尾的短行都是一篇的标题";
    return specs;
}

OptionSpec WordsOption() {
    OptionSpec spec{
        "words",          "--words",
        "FILE",           "read the suspicious-word list from FILE instead of ./BrisnaMake.csv",
        ValueKind::kText, Completion::kAnyFile};
    spec.helpZh = "从 FILE 读可疑字列表，而不是 ./BrisnaMake.csv";
    return spec;
}

OptionSpec JobsOption() {
    OptionSpec spec{"jobs", "--jobs", "N",
                    "work on N books at a time (default: the number of cores)",
                    ValueKind::kPositiveCount};
    spec.helpZh = "同时处理 N 本书（默认：处理器核数）";
    return spec;
}

OptionSpec ForceOption() {
    OptionSpec spec{"force", "--force", "", "replace an existing output file", ValueKind::kFlag};
    spec.helpZh = "替换已有的输出文件";
    return spec;
}

OptionSpec PartsOption(bool writes) {
    OptionSpec spec{"parts", "--parts", "",
                    writes ? "write the whole book as parts of at most 98 chapters each "
                             "(BOOK(1).qbr2, BOOK(2).qbr2, ...), from the marked chapters or, with "
                             "no chapter option, from every heading of the book"
                           : "print the part plan instead: part, offset, length and title per "
                             "chapter",
                    ValueKind::kFlag};
    spec.helpZh = writes ? "把整本书写成每册最多 98 章的几册（BOOK(1).qbr2、BOOK(2).qbr2……），"
                           "章节取标记的章节，没有章节选项时取全书的所有章节标题"
                         : "改为打印分册方案：每章的册号、偏移、长度和标题";
    return spec;
}

OptionSpec EncodingOption() {
    OptionSpec spec{"encoding", "--encoding", "ENC",
                    "read the book as ENC: auto (detect), gbk, utf-8, utf-16le, utf-16be, big5",
                    ValueKind::kText};
    spec.helpZh = "按 ENC 读书：auto（自动识别）、gbk、utf-8、utf-16le、utf-16be、big5";
    spec.choices = {"auto", "gbk", "utf-8", "utf8", "utf-16le", "utf-16be", "big5"};
    return spec;
}

OptionSpec OutputEncodingOption() {
    OptionSpec spec{"output-encoding", "--output-encoding", "ENC",
                    "write the text as gbk or utf-8 instead of the default", ValueKind::kText};
    spec.helpZh = "按 gbk 或 utf-8 写出文本，而不用默认的编码";
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
