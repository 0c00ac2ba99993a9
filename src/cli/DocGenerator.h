#pragma once
// The documents made from the subcommands' descriptions: the manual page, the bash completion
// script and the generated parts of docs/cli.md, so none of them can drift from --help.

#include <string>
#include <string_view>

#include "cli/CommandSpec.h"

namespace brisna::cli {

// brisnamake-cli(1) in roff, in English or in Chinese.
std::string ManPage(Language language = Language::kEnglish);
// The completion scripts for brisnamake-cli: bash, zsh and fish.
std::string BashCompletion();
std::string ZshCompletion();
std::string FishCompletion();
// The subcommand reference of docs/cli.md (Markdown).
std::string MarkdownReference();
// The script grammar up to the control names, and the print outputs after them (Markdown).
std::string MarkdownScriptGrammar();
std::string MarkdownScriptOutput();
// The table of the names scripts may use for buttons, menu items and fields (Markdown).
std::string MarkdownControlNames();

// Replaces the lines between "<!-- BEGIN GENERATED: name -->" and "<!-- END GENERATED: name -->"
// in a document with content. False when the markers are missing.
bool ReplaceGenerated(std::string& document, std::string_view name, std::string_view content);

// The document with every generated part brought up to date.
std::string UpdatedMarkdown(std::string document, bool& markersFound);

}  // namespace brisna::cli
