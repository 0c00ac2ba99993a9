#pragma once
// The operator-script grammar as data, in both languages: docs/cli.md, the manual pages and
// `script --help` are all written from it. Its texts are kept in cli/help/ScriptHelpMessages.h.

#include <string>
#include <vector>

#include "cli/CommandSpec.h"

namespace brisna::cli {

// One row of a two-column table: what is written, and what it does.
struct GrammarRow {
    std::string form;  // `open-txt PATH`
    std::string meaning;
    std::string meaningZh;
    const std::string& Meaning(Language language) const {
        return InLanguage(language, meaning, meaningZh);
    }
};

struct ScriptGrammar {
    std::vector<std::string> rules, rulesZh;  // paragraphs before the table of actions
    std::vector<GrammarRow> actions;
    std::string namesNote, namesNoteZh;  // introduces the table of control names
    std::string printNote, printNoteZh;  // introduces the table of `print` outputs
    std::vector<GrammarRow> prints;
    std::vector<std::string> closing, closingZh;
};

const ScriptGrammar& Grammar();

}  // namespace brisna::cli
