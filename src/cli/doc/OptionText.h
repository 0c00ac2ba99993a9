#pragma once
// How the generated documents name and explain an option, the same in each of them.

#include <string>

#include "cli/CommandSpec.h"

namespace brisna::cli {

// "-o, --output FILE" for an option, "FILE..." for a repeatable argument.
std::string OptionLabel(const OptionSpec& spec);
// The option's help, saying when it may be repeated.
std::string OptionHelp(const OptionSpec& spec, Language language = Language::kEnglish);

}  // namespace brisna::cli
