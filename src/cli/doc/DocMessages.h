#pragma once
// The words the documentation generator adds around the subcommands' own descriptions, in both
// languages of the manual pages.

#include <string_view>

namespace brisna::cli::doc {

// The headings a manual page is built from.
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

inline constexpr ManWords kManWordsEnglish{"User Commands", "NAME",    "SYNOPSIS",
                                           "COMMANDS",      "SCRIPTS", "Names of controls",
                                           "Print",         "SEE ALSO"};
inline constexpr ManWords kManWordsChinese{"用户命令", "名称",   "概要", "命令",
                                           "脚本",     "控件名", "打印", "参见"};

// After the help of an option that may be given several times.
inline constexpr std::string_view kRepeatableEnglish = " (may be repeated)";
inline constexpr std::string_view kRepeatableChinese = "（可重复）";

// The full stop after a subcommand's summary line.
inline constexpr std::string_view kSummaryEndEnglish = ".\n";
inline constexpr std::string_view kSummaryEndChinese = "。\n";

}  // namespace brisna::cli::doc
