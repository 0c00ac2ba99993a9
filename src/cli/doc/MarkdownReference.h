#pragma once
// The generated parts of docs/cli.md, written from the subcommands' descriptions and the script
// grammar, and their update in place between the document's markers.

#include <string>
#include <string_view>

namespace brisna::cli {

// The subcommand reference (Markdown).
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
