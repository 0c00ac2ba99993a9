#include "e2e/CliTestSupport.h"

#include <sys/wait.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>

#include "support/TestSupport.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna::e2e {

namespace {

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::vector<std::string> SplitLines(std::string_view text, std::string_view end) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t found = text.find(end, start);
        if (found == std::string_view::npos) found = text.size();
        lines.emplace_back(text.substr(start, found - start));
        start = found + end.size();
    }
    return lines;
}

// The readable lines of a manual page: text lines and the arguments of heading macros, with
// font escapes removed.
std::vector<std::string> ManualPageLines(const std::string& roff) {
    std::vector<std::string> lines;
    for (std::string line : SplitLines(roff, "\n")) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && (line[0] == '.' || line[0] == '\'')) {
            if (line.rfind(".SH ", 0) != 0 && line.rfind(".SS ", 0) != 0) continue;
            line = line.substr(4);
        }
        std::string plain;
        size_t k = 0;
        while (k < line.size()) {
            if (line[k] == '\\' && k + 1 < line.size()) {
                const char kind = line[k + 1];
                if (kind == '"') break;  // a comment runs to the end of the line
                if (kind == 'f') {
                    k += (k + 2 < line.size() && line[k + 2] == '(') ? 5 : 3;  // \fB, \f(CW
                } else if (kind == '(') {
                    k += 4;  // \(em
                } else {
                    if (kind == '-') plain += '-';
                    k += 2;
                }
                continue;
            }
            if (line[k] != '"') plain += line[k];
            ++k;
        }
        if (plain.find_first_not_of(" \t") == std::string::npos) continue;
        lines.push_back(plain);
    }
    return lines;
}

}  // namespace

std::string Gunzip(const std::filesystem::path& file) {
    std::string content;
    gzFile in = gzopen(file.c_str(), "rb");
    if (in == nullptr) return content;
    char buffer[65536];
    int got;
    while ((got = gzread(in, buffer, sizeof buffer)) > 0) content.append(buffer, got);
    gzclose(in);
    return content;
}

std::vector<std::string> CliResult::Lines() const {
    return SplitLines(out, "\n");
}

std::vector<std::string> CliResult::ErrLines() const {
    return SplitLines(err, "\n");
}

namespace {

// Runs a shell command whose standard error goes to errFile: its output, exit code and errors.
CliResult RunCapturing(const std::string& command, const std::filesystem::path& errFile) {
    CliResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = test::ReadFileBytes(errFile);
    std::filesystem::remove(errFile);
    return result;
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::filesystem::path& folder) {
    std::filesystem::path errFile = folder / ".cli-stderr";
    std::string command = "cd " + Quoted(folder.string()) + " && " + Quoted(BRISNA_CLI);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    command += " 2>" + Quoted(errFile.string());
    return RunCapturing(command, errFile);
}

CliResult RunShell(const std::string& snippet, const std::filesystem::path& folder) {
    std::filesystem::path script = folder / ".cli-snippet.sh";
    std::filesystem::path errFile = folder / ".cli-stderr";
    test::WriteFileBytes(script, snippet + "\n");
    std::string cliFolder = std::filesystem::path(BRISNA_CLI).parent_path().string();
    std::string command = "cd " + Quoted(folder.string()) + " && PATH=" + Quoted(cliFolder) +
                          ":\"$PATH\" sh " + Quoted(script.string()) + " 2>" +
                          Quoted(errFile.string());
    CliResult result = RunCapturing(command, errFile);
    std::filesystem::remove(script);
    return result;
}

std::string NumberedBook(const std::vector<uint32_t>& chapterBytes) {
    // The prose paragraphs of the sample book, headings left out.
    std::string sample = test::ReadFileBytes(std::filesystem::path(BRISNA_SOURCE_DIR) / "res" /
                                             "sample" / "sample.txt");
    std::vector<std::string> paragraphs;
    for (const std::string& line : SplitLines(sample, "\r\n")) {
        if (line.rfind(test::G("第"), 0) != 0 && line.size() > 20) paragraphs.push_back(line);
    }
    std::string book;
    size_t next = 0;
    for (size_t i = 0; i < chapterBytes.size(); ++i) {
        std::string chapter = test::G("第") + std::to_string(i + 1) + test::G("章") + "\r\n";
        const size_t want = chapterBytes[i];
        while (chapter.size() + 2 < want) {
            const std::string& paragraph = paragraphs[next++ % paragraphs.size()];
            size_t room = want - chapter.size() - 2;
            if (paragraph.size() + 2 <= room) {
                chapter += paragraph + "\r\n";
                continue;
            }
            // The last line: whole characters of a paragraph, then ASCII to the exact size.
            size_t take = 0;
            while (take < paragraph.size() && take + GbkCharLength(paragraph, take) <= room) {
                take += GbkCharLength(paragraph, take);
            }
            chapter += paragraph.substr(0, take) + std::string(room - take, '.') + "\r\n";
        }
        book += chapter;
    }
    return book;
}

void AppendProse(std::string& text, const std::string& prose, size_t& at, size_t bytes) {
    if (prose.find("\r\n") == std::string::npos) return;
    for (size_t start = text.size(); text.size() - start < bytes;) {
        size_t end = prose.find("\r\n", at);
        if (end == std::string::npos) {
            at = 0;
            continue;
        }
        text += prose.substr(at, end + 2 - at);
        at = end + 2;
    }
}

std::string InstalledChineseText(size_t minBytes) {
    std::filesystem::path root = "/usr/share/man/zh_CN";
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) return {};
    std::vector<std::filesystem::path> pages;
    for (auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".gz") {
            pages.push_back(entry.path());
        }
    }
    std::sort(pages.begin(), pages.end());
    std::string text;
    for (const std::filesystem::path& page : pages) {
        for (const std::string& line : ManualPageLines(Gunzip(page))) {
            std::string gbk = Utf8ToGbk(line);
            // Lines of real prose only: some double-byte characters.
            size_t wide = std::count_if(gbk.begin(), gbk.end(), [](char c) {
                return static_cast<unsigned char>(c) >= 0x80;
            });
            if (wide < 8) continue;
            text += gbk + "\r\n";
        }
        if (text.size() >= minBytes + minBytes / 8) break;
    }
    // As loading would leave it (full-width digits and spaces replaced), so the book written
    // is the book the editor holds.
    text = PrepareLoadedText(text);
    return text.size() >= minBytes ? text : std::string();
}

}  // namespace brisna::e2e
