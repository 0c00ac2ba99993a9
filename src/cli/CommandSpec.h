#pragma once
// What a subcommand is, as data: its name, synopsis, help text and options. The same description
// builds the parser and --help, and the documentation generator turns it into the manual page,
// the bash completion and the reference part of docs/cli.md.

#include <array>
#include <cstddef>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brisna::cli {

// The exit codes every subcommand uses.
inline constexpr int kExitOk = 0;        // done, nothing found
inline constexpr int kExitProblems = 1;  // done, and the book has problems
inline constexpr int kExitUsage = 2;     // the command line or a script line is malformed
inline constexpr int kExitFailed = 3;    // a command was refused, or a file failed
// The reader of standard output went away: the shell's status of a writer SIGPIPE ended.
inline constexpr int kExitReaderGone = 128 + 13;

enum class ValueKind {
    kFlag,           // no value
    kText,           // any text (a heading, a name)
    kCount,          // a non-negative integer
    kPositiveCount,  // an integer of 1 or more
};

// The language of --help and of the manual page: every description carries both.
enum class Language { kEnglish, kChinese };

// Chinese under a zh_* locale (LC_ALL, else LC_MESSAGES, else LANG), English otherwise.
Language LanguageFromEnvironment();

// The Chinese text when there is one and it is asked for, else the English.
const std::string& InLanguage(Language language, const std::string& english,
                              const std::string& chinese);
const std::vector<std::string>& InLanguage(Language language,
                                           const std::vector<std::string>& english,
                                           const std::vector<std::string>& chinese);

// What the shell completes for a value.
enum class Completion { kNone, kTextBook, kGeneratedBook, kAnyFile, kDirectory };

struct OptionSpec {
    std::string key;        // where the values are kept: "line", "BOOK"
    std::string names;      // "--line", "-o,--output"; empty for a positional argument
    std::string valueName;  // "N", "HEADING", "FILE"; the name of a positional argument
    std::string help;       // one line
    ValueKind kind = ValueKind::kText;
    Completion completion = Completion::kNone;
    bool repeatable = false;  // may be given several times (a positional: takes several values)
    bool required = false;    // positional arguments only
    // The values a kText option takes (any letter case); empty: any text.
    std::vector<std::string> choices = {};
    std::string helpZh = {};  // the same line in Chinese
    bool Positional() const { return names.empty(); }
    const std::string& Help(Language language) const { return InLanguage(language, help, helpZh); }
};

struct CommandSpec {
    std::string name;
    std::string synopsis;  // the arguments after the name, as the usage line shows them
    std::string summary;   // one line
    // Paragraphs of the longer description; a paragraph starting "- " is a list item. `code`
    // marks literal text.
    std::vector<std::string> details;
    std::vector<OptionSpec> options;
    // The summary and the details in Chinese, paragraph for paragraph.
    std::string summaryZh;
    std::vector<std::string> detailsZh;

    const std::string& Summary(Language language) const {
        return InLanguage(language, summary, summaryZh);
    }
    const std::vector<std::string>& Details(Language language) const {
        return InLanguage(language, details, detailsZh);
    }
};

// Paragraphs kept as constants (in a help header) as the description holds them.
template <std::size_t N>
std::vector<std::string> Paragraphs(const std::array<std::string_view, N>& texts) {
    return {texts.begin(), texts.end()};
}

// The values of one parsed command line.
class ParsedArgs {
  public:
    void Add(const std::string& key, std::string value);
    void SetFlag(const std::string& key);

    bool Flag(std::string_view key) const;
    // Every value given for the key, in order.
    std::vector<std::string> Values(std::string_view key) const;
    // The last value given for the key.
    std::optional<std::string> Value(std::string_view key) const;
    // Every option value and flag (with an empty value) in the order given on the command line.
    const std::vector<std::pair<std::string, std::string>>& InOrder() const { return ordered_; }

  private:
    std::map<std::string, std::vector<std::string>, std::less<>> values_;
    std::map<std::string, bool, std::less<>> flags_;
    std::vector<std::pair<std::string, std::string>> ordered_;
};

// The streams a subcommand talks to.
struct CommandStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

class Command {
  public:
    virtual ~Command() = default;
    virtual const CommandSpec& Spec() const = 0;
    // Runs the subcommand; returns its exit code. May throw: the caller catches at the top.
    virtual int Run(const ParsedArgs& args, CommandStreams& streams) = 0;
};

}  // namespace brisna::cli
