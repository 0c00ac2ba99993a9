#pragma once
// The suspicious-word list: one GBK entry per line of a settings file, read once at start.

#include <filesystem>
#include <string>
#include <vector>

namespace brisna {

// The entries of the file in file order. CR LF and LF end a line; any other byte (a lone CR
// included) stays in its entry; an empty line gives an empty entry; a last line without a line
// end is an entry, nothing follows a final line end. A file that cannot be read gives no entries.
std::vector<std::string> ReadSuspiciousWords(const std::filesystem::path& file);

}  // namespace brisna
