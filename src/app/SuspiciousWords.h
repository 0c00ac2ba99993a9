#pragma once
// The suspicious-word list: one entry per line of a settings file, read once at start. The file
// may be GBK, UTF-8 (with or without a byte-order mark), UTF-16 or Big5; the entries are GBK.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brisna {

// A word list is a few lines; anything larger is no word list.
inline constexpr uint64_t kMaxWordListBytes = 1024 * 1024;

enum class WordListStatus {
    kOk,
    kMissing,   // not there, not readable, or not a regular file: no entries
    kTooLarge,  // more than kMaxWordListBytes: refused, no entries
};

struct WordListResult {
    WordListStatus status = WordListStatus::kOk;
    std::vector<std::string> words;  // GBK, in file order
};

// The entries of the file in file order. CR LF and LF end a line; any other byte (a lone CR
// included) stays in its entry; an empty line gives an empty entry; a last line without a line
// end is an entry, nothing follows a final line end.
WordListResult LoadSuspiciousWords(const std::filesystem::path& file);

// The entries alone; a file that cannot be read gives none.
std::vector<std::string> ReadSuspiciousWords(const std::filesystem::path& file);

// The message for a word list that is too large (GBK).
std::string WordListTooLargeMessage();

}  // namespace brisna
