#pragma once
// brisnamake-cli(1), written from the subcommands' descriptions so it cannot drift from --help.

#include <string>

#include "cli/CommandSpec.h"

namespace brisna::cli {

// The manual page in roff, in English or in Chinese.
std::string ManPage(Language language = Language::kEnglish);

}  // namespace brisna::cli
