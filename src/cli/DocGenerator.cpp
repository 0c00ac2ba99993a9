#include "cli/DocGenerator.h"

#include <map>
#include <memory>
#include <vector>

#include "cli/Commands.h"
#include "cli/ControlNames.h"
#include "cli/ScriptGrammar.h"

namespace brisna::cli {

namespace {

std::string OptionLabel(const OptionSpec& spec) {
    if (spec.Positional()) return spec.valueName + (spec.repeatable ? "..." : "");
    std::string label = spec.names;
    size_t comma = label.find(',');
    if (comma != std::string::npos) label = label.substr(0, comma) + ", " + label.substr(comma + 1);
    if (!spec.valueName.empty()) label += " " + spec.valueName;
    return label;
}

std::string OptionHelp(const OptionSpec& spec, Language language = Language::kEnglish) {
    std::string help = spec.Help(language);
    if (!spec.Positional() && spec.repeatable) {
        help += language == Language::kChinese ? "（可重复）" : " (may be repeated)";
    }
    return help;
}

// The words the two manual pages are built from, each in its language.
struct ManWords {
    const char* pageSection;
    const char* name;
    const char* synopsis;
    const char* commands;
    const char* scripts;
    const char* names;  // the control names' sub-heading
    const char* print;  // the print outputs' sub-heading
    const char* seeAlso;
};

const ManWords& WordsFor(Language language) {
    static const ManWords english{"User Commands",     "NAME",  "SYNOPSIS", "COMMANDS", "SCRIPTS",
                                  "Names of controls", "Print", "SEE ALSO"};
    static const ManWords chinese{"用户命令", "名称",   "概要", "命令",
                                  "脚本",     "控件名", "打印", "参见"};
    return language == Language::kChinese ? chinese : english;
}

// --- roff ---

// Chinese punctuation that must not begin a line.
bool ClosingMark(std::string_view text) {
    for (std::string_view mark : {"，", "。", "、", "；", "：", "）", "”", "’", "！", "？", "」"}) {
        if (text.substr(0, mark.size()) == mark) return true;
    }
    return false;
}

// Plain text for roff: backslashes and dashes escaped, `code` in bold. Chinese has no spaces
// to break lines at, so after each Chinese character the formatter may break (\:), except
// before punctuation that cannot start a line and after an opening bracket.
std::string Roff(std::string_view text) {
    std::string out;
    bool code = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) >= 0xE0) {
            size_t end = i + 1;
            while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
                ++end;
            }
            std::string_view character = text.substr(i, end - i);
            out += character;
            const bool opening = character == "（" || character == "“" || character == "‘";
            if (!opening && end < text.size() && !ClosingMark(text.substr(end))) out += "\\:";
            i = end - 1;
            continue;
        }
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else if (c == '`') {
            out += code ? "\\fR" : "\\fB";
            code = !code;
        } else {
            out += c;
        }
    }
    if (code) out += "\\fR";
    // A line must not start with a control character.
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
    return out;
}

void RoffParagraphs(std::string& out, const std::vector<std::string>& paragraphs) {
    for (const std::string& paragraph : paragraphs) {
        if (paragraph.rfind("- ", 0) == 0) {
            out += ".IP \\(bu 2\n" + Roff(paragraph.substr(2)) + "\n";
        } else {
            out += ".PP\n" + Roff(paragraph) + "\n";
        }
    }
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// --- Markdown ---

std::string MarkdownCell(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '|') {
            out += "\\|";
        } else {
            out += c;
        }
    }
    return out;
}

void MarkdownParagraphs(std::string& out, const std::vector<std::string>& paragraphs) {
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        const bool item = paragraphs[i].rfind("- ", 0) == 0;
        const bool nextItem = i + 1 < paragraphs.size() && paragraphs[i + 1].rfind("- ", 0) == 0;
        out += paragraphs[i] + "\n";
        if (!(item && nextItem)) out += "\n";
    }
}

// --- bash ---

std::string CompletionAction(Completion completion) {
    switch (completion) {
        case Completion::kTextBook:
            return "_brisnamake_cli_files '!*.@([tT][xX][tT]|[eE][pP][uU][bB])'";
        case Completion::kGeneratedBook:
            return "_brisnamake_cli_files '!*.@(qbr?(2)|[eE][pP][uU][bB])'";
        case Completion::kAnyFile:
            return "_brisnamake_cli_files ''";
        case Completion::kDirectory:
            return "COMPREPLY=($(compgen -d -- \"$cur\"))";
        case Completion::kNone:
            break;
    }
    return "COMPREPLY=()";
}

}  // namespace

std::string ManPage(Language language) {
    const ProgramText& program = Program();
    const ScriptGrammar& grammar = Grammar();
    const ManWords& words = WordsFor(language);
    const bool chinese = language == Language::kChinese;
    std::vector<std::unique_ptr<Command>> commands = AllCommands();
    std::string out;
    out += ".\\\" Generated by brisnamake-cli-docgen from the command descriptions; do not edit.\n";
    out += ".TH " + Upper(program.name) + " 1 \"\" \"" + Roff(VersionLine()) + "\" \"" +
           words.pageSection + "\"\n";
    // Lines of Chinese break between characters, not at spaces: filling them to both margins
    // would stretch the few spaces there are, and option names must not be hyphenated.
    if (chinese) out += ".ad l\n.nh\n";
    out += ".SH " + std::string(words.name) + "\n" + Roff(program.name) + " \\- " +
           Roff(program.Summary(language)) + "\n";
    out += ".SH " + std::string(words.synopsis) + "\n";
    for (const std::unique_ptr<Command>& command : commands) {
        const CommandSpec& spec = command->Spec();
        out += ".B " + Roff(program.name) + " " + Roff(spec.name) + "\n";
        if (!spec.synopsis.empty()) out += Roff(spec.synopsis) + "\n";
        out += ".br\n";
    }
    out += ".B " + Roff(program.name) + " \\-V, \\-\\-version\n.br\n";
    out += ".B " + Roff(program.name) + " \\-\\-help\n";
    for (const TextSection& section : program.sections) {
        out += ".SH " + Upper(section.Title(language)) + "\n";
        RoffParagraphs(out, section.Paragraphs(language));
    }
    out += ".SH " + std::string(words.commands) + "\n";
    for (const std::unique_ptr<Command>& command : commands) {
        const CommandSpec& spec = command->Spec();
        out += ".SS " + Roff(spec.name) + "\n";
        out += ".B " + Roff(program.name) + " " + Roff(spec.name) + "\n";
        if (!spec.synopsis.empty()) out += Roff(spec.synopsis) + "\n";
        out += ".PP\n" + Roff(spec.Summary(language)) + (chinese ? "。\n" : ".\n");
        RoffParagraphs(out, spec.Details(language));
        for (const OptionSpec& option : spec.options) {
            out += ".TP\n.B " + Roff(OptionLabel(option)) + "\n" +
                   Roff(OptionHelp(option, language)) + "\n";
        }
    }
    out += ".SH " + std::string(words.scripts) + "\n";
    RoffParagraphs(out, InLanguage(language, grammar.rules, grammar.rulesZh));
    for (const GrammarRow& row : grammar.actions) {
        out += ".TP\n" + Roff(row.form) + "\n" + Roff(row.Meaning(language)) + "\n";
    }
    out += ".SS " + std::string(words.names) + "\n";
    RoffParagraphs(out, {InLanguage(language, grammar.namesNote, grammar.namesNoteZh)});
    auto names = [&out](const std::vector<ControlName>& table, const char* action) {
        for (const ControlName& name : table) {
            std::string caption = name.caption;
            if (!name.alternateCaption.empty()) caption += " / " + name.alternateCaption;
            out += ".TP\n" + Roff("`" + name.shortName + "`, " + std::to_string(name.id)) + "\n" +
                   Roff((caption.empty() ? "" : caption + " ") + "(`" + action + "`)") + "\n";
        }
    };
    names(ButtonNames(), "press");
    names(MenuNames(), "menu");
    names(FieldNames(), "type");
    out += ".SS " + std::string(words.print) + "\n";
    RoffParagraphs(out, {InLanguage(language, grammar.printNote, grammar.printNoteZh)});
    for (const GrammarRow& row : grammar.prints) {
        out += ".TP\n" + Roff(row.form) + "\n" + Roff(row.Meaning(language)) + "\n";
    }
    RoffParagraphs(out, InLanguage(language, grammar.closing, grammar.closingZh));
    out += ".SH " + std::string(words.seeAlso) + "\n.PP\n" + Roff(program.name) +
           " \\fISUBCOMMAND\\fR \\-\\-help, \\fBBrisnaMake\\fR(1), " +
           "\\fI/usr/share/doc/brisnamake-cli/cli.md\\fR\n";
    return out;
}

std::string BashCompletion() {
    std::vector<std::unique_ptr<Command>> commands = AllCommands();
    std::string names;
    for (const std::unique_ptr<Command>& command : commands) {
        names += (names.empty() ? "" : " ") + command->Spec().name;
    }
    std::string out =
        "# bash completion for brisnamake-cli\n"
        "# Generated by brisnamake-cli-docgen from the command descriptions; do not edit.\n\n"
        "_brisnamake_cli_files() {\n"
        "    local IFS=$'\\n'\n"
        "    shopt -s extglob\n"
        "    COMPREPLY=($(compgen -d -- \"$cur\") $(compgen -f -X \"$1\" -- \"$cur\"))\n"
        "    compopt -o filenames 2>/dev/null\n"
        "}\n\n"
        "_brisnamake_cli() {\n"
        "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
        "    COMPREPLY=()\n"
        "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
        "        COMPREPLY=($(compgen -W \"" +
        names +
        " --help --version -V -q --quiet\" -- \"$cur\"))\n"
        "        return\n"
        "    fi\n"
        "    case ${COMP_WORDS[1]} in\n";
    for (const std::unique_ptr<Command>& command : commands) {
        const CommandSpec& spec = command->Spec();
        std::string options = "--help -q --quiet";
        std::string positional = "COMPREPLY=()";
        std::string valueCases;
        for (const OptionSpec& option : spec.options) {
            if (option.Positional()) {
                if (positional == "COMPREPLY=()") positional = CompletionAction(option.completion);
                continue;
            }
            std::string alternatives;
            size_t start = 0;
            while (start <= option.names.size()) {
                size_t comma = option.names.find(',', start);
                if (comma == std::string::npos) comma = option.names.size();
                std::string name = option.names.substr(start, comma - start);
                options += " " + name;
                alternatives += (alternatives.empty() ? "" : "|") + name;
                start = comma + 1;
            }
            if (!option.choices.empty()) {
                std::string words;
                for (const std::string& choice : option.choices) {
                    words += (words.empty() ? "" : " ") + choice;
                }
                valueCases += "                " + alternatives + ") COMPREPLY=($(compgen -W \"" +
                              words + "\" -- \"$cur\")); return ;;\n";
            } else if (option.kind != ValueKind::kFlag) {
                valueCases += "                " + alternatives + ") " +
                              CompletionAction(option.completion) + "; return ;;\n";
            }
        }
        out += "        " + spec.name + ")\n";
        if (!valueCases.empty()) {
            out += "            case $prev in\n" + valueCases + "            esac\n";
        }
        out +=
            "            if [[ $cur == -* ]]; then\n"
            "                COMPREPLY=($(compgen -W \"" +
            options +
            "\" -- \"$cur\"))\n"
            "            else\n"
            "                " +
            positional +
            "\n"
            "            fi\n"
            "            ;;\n";
    }
    out +=
        "    esac\n"
        "}\n"
        "complete -F _brisnamake_cli brisnamake-cli\n";
    return out;
}

namespace {

// The option names of "-o,--output": "-o", "--output".
std::vector<std::string> NamesOf(const OptionSpec& option) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= option.names.size()) {
        size_t comma = option.names.find(',', start);
        if (comma == std::string::npos) comma = option.names.size();
        names.push_back(option.names.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

// Text inside single quotes of a shell word; a help line with "'" in it stays one word.
std::string SingleQuoted(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

// The option help for a completion menu: the first clause, plain text.
std::string MenuHelp(const OptionSpec& option) {
    std::string help;
    for (char c : option.help) {
        if (c != '`') help += c;
    }
    return help;
}

std::string ZshAction(const OptionSpec& option) {
    if (!option.choices.empty()) {
        std::string words;
        for (const std::string& choice : option.choices)
            words += (words.empty() ? "" : " ") + choice;
        return "(" + words + ")";
    }
    switch (option.completion) {
        case Completion::kTextBook:
            return "_files -g \"*.(#i)(txt|epub)(-.)\"";
        case Completion::kGeneratedBook:
            return "_files -g \"*.(qbr(|2)|(#i)epub)(-.)\"";
        case Completion::kAnyFile:
            return "_files";
        case Completion::kDirectory:
            return "_files -/";
        case Completion::kNone:
            break;
    }
    return " ";
}

// zsh's _arguments quotes [ ] : inside descriptions with a backslash.
std::string ZshDescription(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '[' || c == ']' || c == ':' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

std::string ZshCompletion() {
    std::vector<std::unique_ptr<Command>> commands = AllCommands();
    std::string out =
        "#compdef brisnamake-cli\n"
        "# zsh completion for brisnamake-cli\n"
        "# Generated by brisnamake-cli-docgen from the command descriptions; do not edit.\n\n"
        "_brisnamake_cli() {\n"
        "    local line state\n"
        "    local -a subcommands\n"
        "    subcommands=(\n";
    for (const std::unique_ptr<Command>& command : commands) {
        const CommandSpec& spec = command->Spec();
        out += "        " + SingleQuoted(spec.name + ":" + ZshDescription(spec.summary)) + "\n";
    }
    out +=
        "    )\n"
        "    _arguments -C \\\n"
        "        '(- *)'{-h,--help}'[print help and exit]' \\\n"
        "        '(- *)'{-V,--version}'[print the version and exit]' \\\n"
        "        '(-q --quiet)'{-q,--quiet}'[no messages but errors]' \\\n"
        "        '1: :->subcommand' \\\n"
        "        '*:: :->arguments'\n"
        "    case $state in\n"
        "        subcommand) _describe -t subcommands 'brisnamake-cli subcommand' subcommands ;;\n"
        "        arguments)\n"
        "            case $line[1] in\n";
    for (const std::unique_ptr<Command>& command : commands) {
        const CommandSpec& spec = command->Spec();
        out += "                " + spec.name + ")\n                    _arguments";
        // The braces stay outside the quotes, for zsh to expand them.
        out += " \\\n                        '(- *)'{-h,--help}'[print help and exit]'";
        size_t positional = 0;
        for (const OptionSpec& option : spec.options) {
            std::string help = ZshDescription(MenuHelp(option));
            if (option.Positional()) {
                std::string position = option.repeatable ? "*" : std::to_string(++positional);
                out += " \\\n                        " +
                       SingleQuoted(position + ":" + ZshDescription(option.valueName) + ":" +
                                    ZshAction(option));
                continue;
            }
            for (const std::string& name : NamesOf(option)) {
                std::string word = (option.repeatable ? "*" : "") + name;
                if (option.kind == ValueKind::kFlag) {
                    word += "[" + help + "]";
                } else {
                    word += "[" + help + "]:" + ZshDescription(option.valueName) + ":" +
                            ZshAction(option);
                }
                out += " \\\n                        " + SingleQuoted(word);
            }
        }
        out += "\n                    ;;\n";
    }
    out +=
        "            esac\n"
        "            ;;\n"
        "    esac\n"
        "}\n\n"
        "_brisnamake_cli \"$@\"\n";
    return out;
}

std::string FishCompletion() {
    std::vector<std::unique_ptr<Command>> commands = AllCommands();
    std::string names;
    for (const std::unique_ptr<Command>& command : commands) {
        names += (names.empty() ? "" : " ") + command->Spec().name;
    }
    std::string out =
        "# fish completion for brisnamake-cli\n"
        "# Generated by brisnamake-cli-docgen from the command descriptions; do not edit.\n\n"
        "complete -c brisnamake-cli -f\n"
        "complete -c brisnamake-cli -s h -l help -d 'print help and exit'\n"
        "complete -c brisnamake-cli -s V -l version -d 'print the version and exit'\n"
        "complete -c brisnamake-cli -s q -l quiet -d 'no messages but errors'\n";
    for (const std::unique_ptr<Command>& command : commands) {
        const CommandSpec& spec = command->Spec();
        out += "complete -c brisnamake-cli -n " +
               SingleQuoted("not __fish_seen_subcommand_from " + names) + " -a " +
               SingleQuoted(spec.name) + " -d " + SingleQuoted(spec.summary) + "\n";
    }
    for (const std::unique_ptr<Command>& command : commands) {
        const CommandSpec& spec = command->Spec();
        const std::string when = " -n " + SingleQuoted("__fish_seen_subcommand_from " + spec.name);
        for (const OptionSpec& option : spec.options) {
            std::string line = "complete -c brisnamake-cli" + when;
            std::string files;
            switch (option.completion) {
                case Completion::kTextBook:
                case Completion::kGeneratedBook:
                case Completion::kAnyFile:
                    files = " -F";
                    break;
                case Completion::kDirectory:
                    files = " -x -a '(__fish_complete_directories)'";
                    break;
                case Completion::kNone:
                    break;
            }
            if (option.Positional()) {
                if (!files.empty()) out += line + files + "\n";
                continue;
            }
            for (const std::string& name : NamesOf(option)) {
                line +=
                    name.rfind("--", 0) == 0 ? " -l " + name.substr(2) : " -s " + name.substr(1);
            }
            if (!option.choices.empty()) {
                std::string words;
                for (const std::string& choice : option.choices) {
                    words += (words.empty() ? "" : " ") + choice;
                }
                line += " -x -a " + SingleQuoted(words);
            } else if (option.kind != ValueKind::kFlag) {
                line += files.empty()
                            ? " -x"
                            : (option.completion == Completion::kDirectory ? files : " -r -F");
            }
            out += line + " -d " + SingleQuoted(MenuHelp(option)) + "\n";
        }
    }
    return out;
}

std::string MarkdownReference() {
    const ProgramText& program = Program();
    std::vector<std::unique_ptr<Command>> commands = AllCommands();
    std::string out;
    for (const TextSection& section : program.sections) {
        // The document's own title stands for the description's.
        if (&section != &program.sections.front()) out += "## " + section.title + "\n\n";
        MarkdownParagraphs(out, section.paragraphs);
    }
    out += "## Subcommands\n\n```\n";
    for (const std::unique_ptr<Command>& command : commands) {
        const CommandSpec& spec = command->Spec();
        out += program.name + " " + spec.name + (spec.synopsis.empty() ? "" : " ") + spec.synopsis +
               "\n";
    }
    out += program.name + " --version\n```\n\n";
    out +=
        "`CHAPTER OPTIONS` are `--line N`, `--incremental HEADING` and `--keyword HEADING`, "
        "applied in the order given (each may be repeated), `--auto` among them, and "
        "`--at-line-start` for all of them.\n\n";
    for (const std::unique_ptr<Command>& command : commands) {
        const CommandSpec& spec = command->Spec();
        out += "### " + spec.name + "\n\n";
        std::string summary = spec.summary;
        if (!summary.empty() && summary[0] >= 'a' && summary[0] <= 'z') summary[0] -= 'a' - 'A';
        out += summary + ".\n\n";
        MarkdownParagraphs(out, spec.details);
        if (spec.options.empty()) continue;
        out += "| Argument or option | Meaning |\n|---|---|\n";
        for (const OptionSpec& option : spec.options) {
            out += "| `" + MarkdownCell(OptionLabel(option)) + "` | " +
                   MarkdownCell(OptionHelp(option)) + " |\n";
        }
        out += "\n";
    }
    while (out.size() > 1 && out.back() == '\n' && out[out.size() - 2] == '\n') out.pop_back();
    return out;
}

std::string MarkdownScriptGrammar() {
    const ScriptGrammar& grammar = Grammar();
    std::string out;
    MarkdownParagraphs(out, grammar.rules);
    out += "| Action | Effect |\n|---|---|\n";
    for (const GrammarRow& row : grammar.actions) {
        out += "| " + MarkdownCell(row.form) + " | " + MarkdownCell(row.meaning) + " |\n";
    }
    out += "\n" + grammar.namesNote + "\n";
    return out;
}

std::string MarkdownScriptOutput() {
    const ScriptGrammar& grammar = Grammar();
    std::string out = grammar.printNote + "\n\n| WHAT | Lines printed |\n|---|---|\n";
    for (const GrammarRow& row : grammar.prints) {
        out += "| " + MarkdownCell(row.form) + " | " + MarkdownCell(row.meaning) + " |\n";
    }
    out += "\n";
    MarkdownParagraphs(out, grammar.closing);
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

std::string MarkdownControlNames() {
    std::string out = "| Caption | Short name | Id | Used by |\n|---|---|---|---|\n";
    auto rows = [&out](const std::vector<ControlName>& names, const char* action) {
        for (const ControlName& name : names) {
            std::string caption = name.caption.empty() ? "" : name.caption;
            if (!name.alternateCaption.empty()) caption += " / " + name.alternateCaption;
            out += "| " + caption + " | `" + name.shortName + "` | " + std::to_string(name.id) +
                   " | `" + action + "` |\n";
        }
    };
    rows(ButtonNames(), "press");
    rows(MenuNames(), "menu");
    rows(FieldNames(), "type");
    return out;
}

bool ReplaceGenerated(std::string& document, std::string_view name, std::string_view content) {
    const std::string begin = "<!-- BEGIN GENERATED: " + std::string(name) + " -->\n";
    const std::string end = "<!-- END GENERATED: " + std::string(name) + " -->";
    size_t from = document.find(begin);
    if (from == std::string::npos) return false;
    from += begin.size();
    size_t to = document.find(end, from);
    if (to == std::string::npos) return false;
    std::string body(content);
    if (!body.empty() && body.back() != '\n') body += '\n';
    document.replace(from, to - from, body);
    return true;
}

std::string UpdatedMarkdown(std::string document, bool& markersFound) {
    markersFound = ReplaceGenerated(document, "reference", MarkdownReference()) &&
                   ReplaceGenerated(document, "script grammar", MarkdownScriptGrammar()) &&
                   ReplaceGenerated(document, "control names", MarkdownControlNames()) &&
                   ReplaceGenerated(document, "script output", MarkdownScriptOutput());
    return document;
}

}  // namespace brisna::cli
