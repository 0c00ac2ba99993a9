#pragma once
// Running the built command line from the end-to-end tests, and the books they feed it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brisna::e2e {

struct CliResult {
    int exitCode = -1;
    std::string out;                            // standard output
    std::string err;                            // standard error
    std::vector<std::string> Lines() const;     // of standard output
    std::vector<std::string> ErrLines() const;  // of standard error
};

// Runs brisnamake-cli with the arguments in the folder given.
CliResult RunCli(const std::vector<std::string>& args, const std::filesystem::path& folder);

// Runs a shell snippet in the folder with brisnamake-cli first on the PATH (for pipes and the
// documented examples).
CliResult RunShell(const std::string& snippet, const std::filesystem::path& folder);

// A GBK book whose chapter i is headed "第<i+1>章" on its own line and filled with the sample
// book's prose up to exactly chapterBytes[i] bytes (CR LF line ends, no blank lines).
std::string NumberedBook(const std::vector<uint32_t>& chapterBytes);

// At least minBytes of real Chinese text (GBK, CR LF, no blank lines) taken from the Chinese
// manual pages installed on the machine; empty when they are not installed.
std::string InstalledChineseText(size_t minBytes);

// Appends about `bytes` of `prose` (CR LF lines) to `text` in whole lines, going on from line
// start `at` and round to the start again at the end.
void AppendProse(std::string& text, const std::string& prose, size_t& at, size_t bytes);

// The installed Chinese Debian FAQ (debian-faq-zh-cn), gzip-compressed UTF-8.
inline constexpr const char* kChineseFaq = "/usr/share/doc/debian/FAQ/debian-faq.zh-cn.txt.gz";

// The uncompressed content of a gzip file; empty when it cannot be read.
std::string Gunzip(const std::filesystem::path& file);

}  // namespace brisna::e2e
