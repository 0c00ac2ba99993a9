#include "cli/ScriptGrammar.h"

#include <span>

#include "cli/help/ScriptHelpMessages.h"

namespace brisna::cli {
namespace {

std::vector<GrammarRow> Rows(std::span<const help::script_grammar::RowText> texts) {
    std::vector<GrammarRow> rows;
    rows.reserve(texts.size());
    for (const help::script_grammar::RowText& text : texts) {
        rows.push_back(
            {std::string(text.form), std::string(text.meaning), std::string(text.meaningZh)});
    }
    return rows;
}

}  // namespace

const ScriptGrammar& Grammar() {
    namespace texts = help::script_grammar;
    static const ScriptGrammar grammar{
        Paragraphs(texts::kRules),
        Paragraphs(texts::kRulesZh),
        Rows(texts::kActions),
        std::string(texts::kNamesNote),
        std::string(texts::kNamesNoteZh),
        std::string(texts::kPrintNote),
        std::string(texts::kPrintNoteZh),
        Rows(texts::kPrints),
        Paragraphs(texts::kClosing),
        Paragraphs(texts::kClosingZh),
    };
    return grammar;
}

}  // namespace brisna::cli
