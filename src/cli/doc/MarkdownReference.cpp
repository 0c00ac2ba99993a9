#include "cli/doc/MarkdownReference.h"

#include <memory>
#include <vector>

#include "cli/Commands.h"
#include "cli/ControlNames.h"
#include "cli/ScriptGrammar.h"
#include "cli/doc/OptionText.h"

namespace brisna::cli {

namespace {

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

}  // namespace

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
