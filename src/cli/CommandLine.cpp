#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <exception>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <ostream>

#include "cli/CliMessages.h"
#include "cli/Commands.h"
#include "cli/ControlNames.h"
#include "cli/Output.h"
#include "cli/RunReport.h"
#include "cli/ScriptGrammar.h"
#include "cli/UsageErrors.h"
#include "cli/help/GeneralHelpMessages.h"

namespace brisna::cli {

namespace program_help = help::program;

namespace {

constexpr size_t kHelpWidth = 78;
constexpr int kMaxJobs = 256;

// InLanguage for the texts of the help header.
std::string TextIn(Language language, std::string_view english, std::string_view chinese) {
    return std::string(language == Language::kChinese && !chinese.empty() ? chinese : english);
}

// Display columns of UTF-8 text: a Chinese character takes two.
size_t Columns(std::string_view text) {
    size_t columns = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80) continue;
        columns += byte >= 0xE0 ? 2 : 1;
    }
    return columns;
}

// --help is read on a terminal: the `code` marks of the descriptions are left out.
std::string PlainText(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != '`') out += c;
    }
    return out;
}

std::string HelpText(const std::vector<std::string>& paragraphs) {
    std::string out;
    for (const std::string& paragraph : paragraphs) {
        out += WrapParagraph(PlainText(paragraph), kHelpWidth, "") + "\n";
        if (paragraph.rfind("- ", 0) != 0) out += "\n";
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

// Rows of a two-column table as a list: the form, then its meaning indented under it.
std::string HelpRows(const std::vector<GrammarRow>& rows, Language language) {
    std::string out;
    for (const GrammarRow& row : rows) {
        out += "  " + PlainText(row.form) + "\n" +
               WrapParagraph(PlainText(row.Meaning(language)), kHelpWidth, "      ") + "\n";
    }
    return out;
}

// The operator-script grammar, for script --help.
std::string ScriptHelp(Language language) {
    const ScriptGrammar& grammar = Grammar();
    std::string out =
        TextIn(language, program_help::kScriptsTitle, program_help::kScriptsTitleZh) + ":\n";
    out += HelpText(InLanguage(language, grammar.rules, grammar.rulesZh)) + "\n\n";
    out += HelpRows(grammar.actions, language) + "\n";
    out += WrapParagraph(InLanguage(language, grammar.namesNote, grammar.namesNoteZh), kHelpWidth,
                         "") +
           "\n";
    auto names = [&out](const std::vector<ControlName>& table, const char* action) {
        for (const ControlName& name : table) {
            std::string caption = name.caption;
            if (!name.alternateCaption.empty()) caption += " / " + name.alternateCaption;
            out += "  " + std::string(action) + " " + name.shortName + " (" +
                   std::to_string(name.id) + (caption.empty() ? "" : ", " + caption) + ")\n";
        }
    };
    names(ButtonNames(), "press");
    names(MenuNames(), "menu");
    names(FieldNames(), "type");
    out += "\n" + PlainText(InLanguage(language, grammar.printNote, grammar.printNoteZh)) + "\n";
    out += HelpRows(grammar.prints, language) + "\n";
    out += HelpText(InLanguage(language, grammar.closing, grammar.closingZh));
    return out;
}

std::string ProgramFooter(Language language) {
    const ProgramText& program = Program();
    std::string out;
    for (const TextSection& section : program.sections) {
        // The description is the manual's; --help keeps to the rules.
        if (&section == &program.sections.front()) continue;
        out += section.Title(language) + ":\n" + HelpText(section.Paragraphs(language)) + "\n\n";
    }
    out += TextIn(language, program_help::kMoreHelp, program_help::kMoreHelpZh);
    return out;
}

class Formatter : public CLI::Formatter {
  public:
    std::map<const CLI::App*, std::string> synopses;

    std::string make_usage(const CLI::App* app, std::string name) const override {
        auto found = synopses.find(app);
        if (found == synopses.end()) return CLI::Formatter::make_usage(app, name);
        return get_label("Usage") + ": " + name + (found->second.empty() ? "" : " ") +
               found->second + "\n";
    }
};

// One subcommand bound to the parser: where the parser keeps each option's values.
struct Binding {
    Command* command = nullptr;
    CLI::App* app = nullptr;
    std::map<std::string, std::vector<std::string>> values;
    std::map<std::string, std::string> singles;  // positional arguments of one value
    std::map<std::string, bool> flags;
    std::map<const CLI::Option*, std::string> keys;
};

void Bind(Binding& binding, const OptionSpec& spec, Language language) {
    CLI::App& app = *binding.app;
    const std::string help = PlainText(spec.Help(language));
    CLI::Option* option = nullptr;
    if (spec.kind == ValueKind::kFlag) {
        option = app.add_flag(spec.names, binding.flags[spec.key], help);
    } else if (spec.Positional()) {
        // Not marked required here: values after "--" are added afterwards, and then checked.
        option = spec.repeatable ? app.add_option(spec.valueName, binding.values[spec.key], help)
                                 : app.add_option(spec.valueName, binding.singles[spec.key], help);
        option->type_name("");
    } else {
        option = app.add_option(spec.names, binding.values[spec.key], help);
        option->allow_extra_args(false)->type_name(spec.valueName);
        if (!spec.repeatable) option->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    }
    if (spec.kind == ValueKind::kCount) {
        option->check(CLI::Range(0, std::numeric_limits<int32_t>::max()));
    } else if (spec.kind == ValueKind::kPositiveCount) {
        option->check(CLI::Range(1, kMaxJobs));
    } else if (!spec.choices.empty()) {
        option->check(CLI::IsMember(spec.choices, CLI::ignore_case));
    }
    binding.keys[option] = spec.key;
}

// The parsed values in command-line order, then the arguments that followed "--".
int Collect(Binding& binding, const std::vector<std::string>& afterDashes, CommandStreams& streams,
            ParsedArgs& parsed) {
    std::map<std::string, size_t> taken;
    for (const CLI::Option* option : binding.app->parse_order()) {
        auto key = binding.keys.find(option);
        if (key == binding.keys.end()) continue;
        if (binding.flags.count(key->second) != 0) {
            parsed.SetFlag(key->second);
            continue;
        }
        if (auto single = binding.singles.find(key->second); single != binding.singles.end()) {
            parsed.Add(key->second, single->second);
            continue;
        }
        const std::vector<std::string>& values = binding.values[key->second];
        size_t& next = taken[key->second];
        if (next < values.size()) parsed.Add(key->second, values[next++]);
    }
    size_t rest = 0;
    const std::vector<OptionSpec>& specs = binding.command->Spec().options;
    for (const OptionSpec& spec : specs) {
        if (!spec.Positional()) continue;
        while (rest < afterDashes.size() && (spec.repeatable || parsed.Values(spec.key).empty())) {
            parsed.Add(spec.key, afterDashes[rest++]);
        }
    }
    const std::string& name = binding.command->Spec().name;
    if (rest < afterDashes.size()) {
        std::string extra;
        for (; rest < afterDashes.size(); ++rest)
            extra += (extra.empty() ? "" : " ") + afterDashes[rest];
        return ReportUsageError(streams.err, "unexpected arguments: " + extra,
                                std::string(messages::kExtraArgumentsPrefix) + extra, name);
    }
    for (const OptionSpec& spec : specs) {
        if (spec.Positional() && spec.required && parsed.Values(spec.key).empty()) {
            return ReportUsageError(streams.err, spec.valueName + " is required",
                                    std::string(messages::kMissingPrefix) + spec.valueName, name);
        }
    }
    return kExitOk;
}

bool IsProgramFlag(const std::string& arg) {
    for (const char* flag : {"-q", "--quiet", "-h", "--help", "-V", "--version"}) {
        if (arg == flag) return true;
    }
    // Short flags taken together: -qV.
    return arg.size() > 2 && arg[0] == '-' && arg[1] != '-' &&
           arg.find_first_not_of("qhV", 1) == std::string::npos;
}

// Looks at the arguments before the subcommand, which the parser would only answer with "a
// subcommand is required": an unknown option there, and an unknown subcommand with the nearest
// known one, are named. `help` and `help SUBCOMMAND` become --help. Returns kExitOk when the
// parser may go on.
int CheckSubcommandName(std::vector<std::string>& args,
                        const std::vector<std::unique_ptr<Command>>& commands,
                        CommandStreams& streams) {
    std::vector<std::string> names;
    for (const std::unique_ptr<Command>& command : commands) names.push_back(command->Spec().name);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (IsProgramFlag(arg)) continue;
        if (arg.size() > 1 && arg[0] == '-') {
            return ReportUsageError(streams.err, "unknown option: " + arg,
                                    std::string(messages::kUnknownOptionPrefix) + arg);
        }
        if (std::find(names.begin(), names.end(), arg) != names.end()) return kExitOk;
        if (arg == "help") {
            const bool ofSubcommand = i + 1 < args.size() && std::find(names.begin(), names.end(),
                                                                       args[i + 1]) != names.end();
            if (ofSubcommand) {
                args[i] = args[i + 1];
                args[i + 1] = "--help";
            } else {
                args[i] = "--help";
            }
            return kExitOk;
        }
        const std::string nearest = NearestName(arg, names);
        if (nearest.empty()) {
            return ReportUsageError(streams.err, "unknown subcommand: " + arg,
                                    std::string(messages::kUnknownSubcommandPrefix) + arg);
        }
        return ReportUsageError(streams.err,
                                "unknown subcommand: " + arg + " (did you mean " + nearest + "?)",
                                messages::UnknownSubcommandNear(arg, nearest));
    }
    return kExitOk;
}

int ParseAndRun(int argc, const char* const* argv, CommandStreams& streams) {
    std::vector<std::unique_ptr<Command>> commands = AllCommands();
    const Language language = LanguageFromEnvironment();
    const bool chinese = language == Language::kChinese;
    CLI::App app{Program().Summary(language), Program().name};
    auto formatter = std::make_shared<Formatter>();
    formatter->column_width(34);
    if (chinese) {
        formatter->label("Usage", std::string(program_help::kUsageLabelZh));
        formatter->label("Positionals", std::string(program_help::kPositionalsLabelZh));
        formatter->label("OPTIONS", std::string(program_help::kOptionsLabelZh));
        formatter->label("REQUIRED", std::string(program_help::kRequiredLabelZh));
        app.option_defaults()->group(std::string(program_help::kOptionsLabelZh));
    }
    const std::string helpFlagText =
        TextIn(language, program_help::kHelpFlag, program_help::kHelpFlagZh);
    app.formatter(formatter);
    app.require_subcommand(1);
    // The program's own flags may also follow the subcommand: brisnamake-cli generate -q ...
    app.fallthrough();
    app.set_help_flag("-h,--help", helpFlagText);
    app.set_version_flag(
        "-V,--version", VersionLine(),
        TextIn(language, program_help::kVersionFlag, program_help::kVersionFlagZh));
    bool quiet = false;
    app.add_flag("-q,--quiet", quiet,
                 TextIn(language, program_help::kQuietFlag, program_help::kQuietFlagZh));
    app.footer(ProgramFooter(language));

    std::vector<std::unique_ptr<Binding>> bindings;
    for (const std::unique_ptr<Command>& command : commands) {
        const CommandSpec& spec = command->Spec();
        auto binding = std::make_unique<Binding>();
        binding->command = command.get();
        binding->app = app.add_subcommand(spec.name, PlainText(spec.Summary(language)));
        if (chinese) binding->app->group(std::string(program_help::kSubcommandsGroupZh));
        binding->app->set_help_flag("-h,--help", helpFlagText);
        std::string footer = HelpText(spec.Details(language));
        if (spec.name == "script") footer += "\n\n" + ScriptHelp(language);
        binding->app->footer(footer);
        formatter->synopses[binding->app] = spec.synopsis;
        for (const OptionSpec& option : spec.options) Bind(*binding, option, language);
        bindings.push_back(std::move(binding));
    }

    // "--" ends the options: whatever follows is an argument, even when it starts with a dash.
    std::vector<std::string> before(argv + std::min(argc, 1), argv + argc);
    std::vector<std::string> after;
    auto dashes = std::find(before.begin(), before.end(), "--");
    if (dashes != before.end()) {
        after.assign(dashes + 1, before.end());
        before.erase(dashes, before.end());
    }
    if (int code = CheckSubcommandName(before, commands, streams); code != kExitOk) return code;
    std::reverse(before.begin(), before.end());  // the parser takes them last first
    try {
        app.parse(before);
    } catch (const CLI::Success& answered) {
        // --help and --version.
        return app.exit(answered, streams.out, streams.err) == 0 ? kExitOk : kExitUsage;
    } catch (const CLI::ParseError& failure) {
        std::string subcommand;
        for (const std::unique_ptr<Binding>& binding : bindings) {
            if (binding->app->parsed()) subcommand = binding->command->Spec().name;
        }
        return ReportUsageError(streams.err, failure.what(),
                                UsageErrorText(failure.what(), Language::kChinese), subcommand);
    }

    SetQuiet(quiet);
    for (const std::unique_ptr<Binding>& binding : bindings) {
        if (!binding->app->parsed()) continue;
        ParsedArgs parsed;
        if (int code = Collect(*binding, after, streams, parsed); code != kExitOk) return code;
        return binding->command->Run(parsed, streams);
    }
    return kExitUsage;
}

}  // namespace

namespace {

// A piece of text a line may break before: a word, or one Chinese character.
struct WrapUnit {
    std::string_view text;
    bool spaceBefore = false;
};

bool IsWide(unsigned char lead) {
    return lead >= 0xE0;
}

// Chinese punctuation that must not begin a line, and the brackets that must not end one.
bool ClosesLine(std::string_view character) {
    const auto& marks = program_help::kMarksNotStartingLine;
    return std::find(marks.begin(), marks.end(), character) != marks.end();
}

bool OpensLine(std::string_view character) {
    const auto& marks = program_help::kMarksNotEndingLine;
    return std::find(marks.begin(), marks.end(), character) != marks.end();
}

std::vector<WrapUnit> WrapUnits(std::string_view text) {
    std::vector<WrapUnit> units;
    bool space = false;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            space = true;
            ++i;
            continue;
        }
        size_t end = i;
        if (IsWide(static_cast<unsigned char>(text[i]))) {
            end = i + 1;
            while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
                ++end;
            }
        } else {
            while (end < text.size() && text[end] != ' ' &&
                   !IsWide(static_cast<unsigned char>(text[end]))) {
                ++end;
            }
        }
        units.push_back({text.substr(i, end - i), space});
        space = false;
        i = end;
    }
    return units;
}

}  // namespace

std::string WrapParagraph(const std::string& text, size_t width, const std::string& indent) {
    const bool item = text.rfind("- ", 0) == 0;
    const std::string hanging = indent + (item ? "  " : "");
    std::vector<WrapUnit> units = WrapUnits(text);
    std::string out = indent;
    size_t column = Columns(indent);
    bool lineEmpty = true;
    for (size_t i = 0; i < units.size(); ++i) {
        const WrapUnit& unit = units[i];
        // What must stay on one line with this unit: punctuation that cannot start a line,
        // and whatever follows an opening bracket.
        size_t last = i;
        while (last + 1 < units.size() && !units[last + 1].spaceBefore &&
               (ClosesLine(units[last + 1].text) || OpensLine(units[last].text))) {
            ++last;
        }
        size_t columns = 0;
        for (size_t k = i; k <= last; ++k) columns += Columns(units[k].text);
        const size_t gap = unit.spaceBefore ? 1 : 0;
        if (!lineEmpty && column + gap + columns > width) {
            out += "\n" + hanging;
            column = Columns(hanging);
            lineEmpty = true;
        }
        if (!lineEmpty && unit.spaceBefore) {
            out += ' ';
            ++column;
        }
        for (size_t k = i; k <= last; ++k) out += units[k].text;
        column += columns;
        lineEmpty = false;
        i = last;
    }
    return out;
}

int RunCommandLine(int argc, const char* const* argv, CommandStreams& streams) {
    // Nothing a subcommand throws may end the program without a word.
    int code = kExitFailed;
    try {
        code = ParseAndRun(argc, argv, streams);
    } catch (const std::bad_alloc&) {
        streams.err << kUsagePrefix << messages::kOutOfMemory << '\n';
    } catch (const std::exception& failure) {
        streams.err << kUsagePrefix << messages::kInternalErrorPrefix << failure.what() << '\n';
    } catch (...) {
        streams.err << kUsagePrefix << messages::kInternalError << '\n';
    }
    return FinishStandardOutput(streams.out, streams.err, code);
}

}  // namespace brisna::cli
