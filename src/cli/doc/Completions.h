#pragma once
// The shell completion scripts of brisnamake-cli, written from the subcommands' descriptions:
// every subcommand, option, choice and the kind of file each argument takes.

#include <string>

namespace brisna::cli {

std::string BashCompletion();
std::string ZshCompletion();
std::string FishCompletion();

}  // namespace brisna::cli
