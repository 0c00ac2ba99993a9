#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <exception>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <ostream>

#include "cli/Commands.h"
#include "cli/Output.h"

namespace brisna::cli {

namespace {

constexpr size_t kHelpWidth = 78;
constexpr int kMaxJobs = 256;

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

std::string HelpText(const std::vector<std::string>& paragraphs) {
    std::string out;
    for (const std::string& paragraph : paragraphs) {
        out += WrapParagraph(paragraph, kHelpWidth, "") + "\n";
        if (paragraph.rfind("- ", 0) != 0) out += "\n";
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

std::string ProgramFooter() {
    std::string out;
    for (const auto& [title, paragraphs] : Program().sections) {
        if (title == "Description") continue;  // the manual's; --help keeps to the rules
        out += title + ":\n" + HelpText(paragraphs) + "\n\n";
    }
    out +=
        "Every subcommand, option and the operator-script grammar: docs/cli.md, or\n"
        "brisnamake-cli SUBCOMMAND --help.";
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

void Bind(Binding& binding, const OptionSpec& spec) {
    CLI::App& app = *binding.app;
    CLI::Option* option = nullptr;
    if (spec.kind == ValueKind::kFlag) {
        option = app.add_flag(spec.names, binding.flags[spec.key], spec.help);
    } else if (spec.Positional()) {
        // Not marked required here: values after "--" are added afterwards, and then checked.
        option = spec.repeatable
                     ? app.add_option(spec.valueName, binding.values[spec.key], spec.help)
                     : app.add_option(spec.valueName, binding.singles[spec.key], spec.help);
        option->type_name("");
    } else {
        option = app.add_option(spec.names, binding.values[spec.key], spec.help);
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
    if (rest < afterDashes.size()) {
        streams.err << "The following arguments were not expected:";
        for (; rest < afterDashes.size(); ++rest) streams.err << ' ' << afterDashes[rest];
        streams.err << "\nRun with --help for more information.\n";
        return kExitUsage;
    }
    for (const OptionSpec& spec : specs) {
        if (spec.Positional() && spec.required && parsed.Values(spec.key).empty()) {
            streams.err << spec.valueName
                        << " is required\nRun with --help for more information.\n";
            return kExitUsage;
        }
    }
    return kExitOk;
}

int ParseAndRun(int argc, const char* const* argv, CommandStreams& streams) {
    std::vector<std::unique_ptr<Command>> commands = AllCommands();
    CLI::App app{Program().summary, Program().name};
    auto formatter = std::make_shared<Formatter>();
    formatter->column_width(34);
    app.formatter(formatter);
    app.require_subcommand(1);
    app.set_version_flag("--version", VersionLine(), "print the version and exit");
    app.footer(ProgramFooter());

    std::vector<std::unique_ptr<Binding>> bindings;
    for (const std::unique_ptr<Command>& command : commands) {
        const CommandSpec& spec = command->Spec();
        auto binding = std::make_unique<Binding>();
        binding->command = command.get();
        binding->app = app.add_subcommand(spec.name, spec.summary);
        binding->app->footer(HelpText(spec.details));
        formatter->synopses[binding->app] = spec.synopsis;
        for (const OptionSpec& option : spec.options) Bind(*binding, option);
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
    std::reverse(before.begin(), before.end());  // the parser takes them last first
    try {
        app.parse(before);
    } catch (const CLI::ParseError& failure) {
        int code = app.exit(failure, streams.out, streams.err);
        return code == 0 ? kExitOk : kExitUsage;
    }

    for (const std::unique_ptr<Binding>& binding : bindings) {
        if (!binding->app->parsed()) continue;
        ParsedArgs parsed;
        if (int code = Collect(*binding, after, streams, parsed); code != kExitOk) return code;
        return binding->command->Run(parsed, streams);
    }
    return kExitUsage;
}

}  // namespace

std::string WrapParagraph(const std::string& text, size_t width, const std::string& indent) {
    const bool item = text.rfind("- ", 0) == 0;
    const std::string hanging = indent + (item ? "  " : "");
    std::string out = indent;
    size_t column = Columns(indent);
    size_t start = 0;
    bool lineEmpty = true;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        std::string_view word(text.data() + start, end - start);
        size_t columns = Columns(word);
        if (!lineEmpty && column + 1 + columns > width) {
            out += "\n" + hanging;
            column = Columns(hanging);
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += word;
        column += columns;
        lineEmpty = false;
        start = end + 1;
    }
    return out;
}

int RunCommandLine(int argc, const char* const* argv, CommandStreams& streams) {
    // Nothing a subcommand throws may end the program without a word.
    int code = kExitFailed;
    try {
        code = ParseAndRun(argc, argv, streams);
    } catch (const std::bad_alloc&) {
        streams.err << "brisnamake-cli: 内存不足\n";
    } catch (const std::exception& failure) {
        streams.err << "brisnamake-cli: 内部错误: " << failure.what() << '\n';
    } catch (...) {
        streams.err << "brisnamake-cli: 内部错误\n";
    }
    return FinishStandardOutput(streams.out, streams.err, code);
}

}  // namespace brisna::cli
