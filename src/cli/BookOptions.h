#pragma once
// The options the book subcommands share (the book arguments, the chapter options, --words,
// --jobs, --force), and the steps they share: opening a book into a session and applying the
// chapter options to it. A new option common to several subcommands is one function here and
// one line in each subcommand's option list.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliSession.h"
#include "cli/CommandSpec.h"
#include "cli/InputFiles.h"
#include "cli/Output.h"
#include "detect/ChapterRule.h"
#include "parts/PartPlan.h"
#include "text/TextEncoding.h"

namespace brisna::cli {

// BOOK: one text book, or several; `-` reads standard input unless the subcommand needs files.
OptionSpec BookArgument(bool several, bool standardInput = true);
// --line, --incremental, --keyword, --auto (applied in the order given), --at-line-start, and
// the operator's own rule: --pattern, --volume-pattern, --short-titles (applied after them).
std::vector<OptionSpec> ChapterOptionSpecs();
OptionSpec WordsOption();
OptionSpec JobsOption();
OptionSpec ForceOption();
// --parts: the whole book as parts of at most 98 chapters each.
OptionSpec PartsOption(bool writes);
// --encoding: what a book text is read as (default: detected).
OptionSpec EncodingOption();
// --output-encoding: what a written text is saved as instead of the subcommand's default.
OptionSpec OutputEncodingOption();
// The values of the two, or their defaults.
TextEncoding EncodingOf(const ParsedArgs& args);
OutputEncoding OutputEncodingOf(const ParsedArgs& args);

// --clean, and what it does to a book just opened (CleanCommand.cpp).
OptionSpec CleanOption();
void CleanPreparedBook(CliSession& session, LineSink& sink);

// Appends the specs to a command's option list.
void AddOptions(std::vector<OptionSpec>& to, const std::vector<OptionSpec>& specs);

// What --auto does.
enum class AutoChapters {
    kRecognition,  // 自动识别章节
    // --parts: nothing; the book's outline gives the chapters unless other chapter options mark
    // them (it is what recognition would find, without the limit of one book).
    kOutline,
    // epub: 自动识别章节 while the book's outline fits one book's chapter list, else nothing, and
    // the outline gives the EPUB's contents.
    kRecognitionUpToOneBook,
};

// What every book of one run shares.
struct BookSettings {
    std::optional<std::string> wordsFile;
    std::vector<ChapterOption> chapterOptions;
    bool headingsAtLineStart = false;         // --at-line-start, for every chapter option
    std::optional<StreamRead> standardInput;  // read once when a book is "-"
    TextEncoding encoding = TextEncoding::kAuto;
    // What --auto does for this subcommand.
    AutoChapters autoChapters = AutoChapters::kRecognition;
    // --pattern, --volume-pattern, --short-titles: chapters by the operator's rule.
    ChapterRule rule;
    // Recognition marks a text book that no chapter option marks.
    bool recognizeByDefault = false;
    bool clean = false;  // --clean: 整理文本 before any chapter is marked
};

// Builds the settings from the parsed arguments: checks an explicit --words file, takes
// --encoding when the subcommand has it and reads standard input when a book is "-". Returns
// kExitOk, or kExitUsage after reporting on err.
int ReadBookSettings(const ParsedArgs& args, const std::vector<std::string>& books,
                     CommandStreams& streams, BookSettings& settings,
                     AutoChapters autoChapters = AutoChapters::kRecognition);

// A session for one book whose message boxes go to the book's message lines.
std::unique_ptr<CliSession> NewBookSession(const BookSettings& settings, LineSink& sink);

enum class Prepared {
    kReady,      // opened, every chapter option applied
    kRefused,    // opened, but a chapter option was refused: the chapters marked so far stay
    kNotOpened,  // the book could not be read
};

// Opens the book and applies the chapter options in order, stopping at the first refusal.
Prepared PrepareBook(CliSession& session, const std::string& book, const BookSettings& settings,
                     LineSink& sink);

// Works on one book whose session is opened (kReady or kRefused) and returns its exit code.
using PreparedBookJob = std::function<int(CliSession& session, Prepared prepared, LineSink& sink)>;

// The run shared by the book subcommands: reads the settings, then for every book (up to
// `jobs` side by side) a fresh session, the book opened and the chapter options applied, then
// the job. A book that could not be opened fails without reaching the job.
// With outputsOf, every book is first opened and prepared once without a word, to learn the
// files it would write (see RunBooks).
using PreparedBookOutputs =
    std::function<std::vector<std::string>(CliSession& session, Prepared prepared)>;
// --parts makes --auto kOutline; `autoChapters` is what it does otherwise. With
// recognizeByDefault, a text book given no chapter option is marked as --auto marks it.
int RunPreparedBooks(const ParsedArgs& args, unsigned jobs, CommandStreams& streams,
                     const PreparedBookJob& job, const PreparedBookOutputs& outputsOf = {},
                     AutoChapters autoChapters = AutoChapters::kRecognition,
                     bool recognizeByDefault = true);

// The exit code of a command that leaves its findings in the problem list: 3 after a refused
// chapter option, else 1 when the list has entries, else 0.
int ProblemListExit(CliSession& session, Prepared prepared);

// The part plan of a prepared book for --parts: its marked chapters, or its outline when the
// chapter options marked none.
PartPlan PlanPreparedParts(CliSession& session);

// How many books run side by side by default: one per core.
unsigned DefaultJobs();
// The --jobs value, or the default.
unsigned JobsOf(const ParsedArgs& args);

}  // namespace brisna::cli
