#pragma once
// Usage errors as the user reads them: one line in the locale's language, starting with the
// program's name, and a second saying where the help is. The parser's own (English) texts are
// read back into the same form.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandSpec.h"

namespace brisna::cli {

// "brisnamake-cli: " in front of every usage error.
inline constexpr std::string_view kUsagePrefix = "brisnamake-cli: ";

// Writes "brisnamake-cli: TEXT" (English or Chinese, as the locale asks) and the line naming
// the help of the subcommand (empty: of the program). Returns kExitUsage.
int ReportUsageError(std::ostream& err, const std::string& english, const std::string& chinese,
                     std::string_view subcommand = {});

// The parser's English message of a usage error, in the language asked for; a message it does
// not know stays as it is.
std::string UsageErrorText(std::string_view parserMessage, Language language);

// The known name nearest to a mistyped one, or empty when none is near enough to be meant
// ("genrate" gives "generate", "xyz" nothing).
std::string NearestName(std::string_view typed, const std::vector<std::string>& names);

}  // namespace brisna::cli
