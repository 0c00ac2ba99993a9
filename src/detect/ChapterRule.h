#pragma once
// Chapters found by the operator's own rule instead of by recognition: a regular expression for
// chapter headings (and one for volume headings), or the short-title mode for collections of
// stories, essays and poems whose pieces carry no numbers. The result is an outline, so the
// chapter list, the part plan and the EPUB contents take it as they take recognition's.

#include <optional>
#include <string>
#include <string_view>

#include "detect/BookOutline.h"

namespace brisna {

struct ChapterRule {
    std::string pattern;        // UTF-8 regular expression for chapter headings; empty: none
    std::string volumePattern;  // UTF-8 regular expression for volume headings; empty: none
    // A short line between blank lines that ends no sentence is a piece's title.
    bool shortTitles = false;

    bool Empty() const { return pattern.empty() && volumePattern.empty() && !shortTitles; }
};

// Why a pattern cannot be used, in Chinese (UTF-8) with the position of the fault counted in
// characters from 1: "章节规则有误（第3个字符）：括号不成对". Nothing when it compiles.
std::optional<std::string> PatternProblem(std::string_view utf8Pattern);

// The outline the rule gives a book text (GBK, CR LF). A pattern is matched at the start of each
// line after its leading blanks (ICU regular expressions, case as written); a line it matches is
// a heading titled by the whole line. The text before the first heading is the front matter, as
// recognition has it. `problem` (UTF-8) receives the fault of a pattern that cannot be used; the
// outline is then empty.
BookOutline BuildRuleOutline(std::string_view gbkText, const ChapterRule& rule,
                             std::string& problem);

}  // namespace brisna
