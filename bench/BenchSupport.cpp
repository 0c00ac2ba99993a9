#include "BenchSupport.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "text/CodePage936.h"

namespace brisna::bench {

namespace {

// The whole content of a gzip'd (or plain) file; empty when it cannot be read.
std::string ReadGzip(const std::filesystem::path& file) {
    std::string content;
    gzFile in = gzopen(file.c_str(), "rb");
    if (in == nullptr) return content;
    char buffer[65536];
    int got;
    while ((got = gzread(in, buffer, sizeof buffer)) > 0) content.append(buffer, got);
    gzclose(in);
    return content;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Removes the inline escapes of a manual page line: fonts (\fB, \f(CW), special characters
// (\(em), and the few that stand for a character.
std::string StripEscapes(std::string_view line) {
    std::string out;
    for (size_t k = 0; k < line.size(); ++k) {
        if (line[k] != '\\' || k + 1 >= line.size()) {
            out += line[k];
            continue;
        }
        const char kind = line[++k];
        if (kind == 'f') {
            if (k + 1 < line.size() && line[k + 1] == '(') k += 2;
            k += 1;
        } else if (kind == '(') {
            k += 2;
        } else if (kind == '-' || kind == 'e' || kind == '\\') {
            out += kind == '-' ? '-' : '\\';
        } else if (kind == '"') {
            break;  // comment to the end of the line
        }
        // \& and other zero-width escapes vanish.
    }
    return out;
}

// The running text of a manual page: macro lines give their arguments when they carry text
// (headings, bold, italic), other requests and comments are dropped.
std::string ManualPageText(std::string_view roff) {
    static const char* const kTextMacros[] = {".SH ", ".SS ", ".B ",  ".I ",  ".BI ",
                                              ".BR ", ".IR ", ".RB ", ".IB ", ".RI "};
    std::string text;
    size_t start = 0;
    while (start < roff.size()) {
        size_t end = roff.find('\n', start);
        if (end == std::string_view::npos) end = roff.size();
        std::string_view line = roff.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && (line[0] == '.' || line[0] == '\'')) {
            const char* const* macro =
                std::find_if(std::begin(kTextMacros), std::end(kTextMacros),
                             [&](const char* m) { return StartsWith(line, m); });
            if (macro == std::end(kTextMacros)) continue;
            line.remove_prefix(std::string_view(*macro).size());
        }
        std::string plain = StripEscapes(line);
        plain.erase(std::remove(plain.begin(), plain.end(), '"'), plain.end());
        if (plain.find_first_not_of(" \t") == std::string::npos) continue;
        text += plain;
        text += '\n';
    }
    return text;
}

// UTF-8 text to GBK with CR LF line ends.
std::string ToGbkLines(std::string_view utf8) {
    std::string crlf;
    crlf.reserve(utf8.size() + utf8.size() / 32);
    for (char c : utf8) {
        if (c == '\n') crlf += '\r';
        if (c != '\r') crlf += c;
    }
    return Utf8ToGbk(crlf);
}

// Every Chinese document found, once: the FAQ first, then the manual pages in a fixed order.
const std::string& AllChineseText() {
    static const std::string text = [] {
        std::string gbk;
        gbk += ToGbkLines(ReadGzip("/usr/share/doc/debian/FAQ/debian-faq.zh-cn.txt.gz"));
        std::vector<std::filesystem::path> pages;
        std::error_code error;
        for (auto it = std::filesystem::recursive_directory_iterator("/usr/share/man/zh_CN", error);
             !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
            if (it->is_regular_file()) pages.push_back(it->path());
        }
        std::sort(pages.begin(), pages.end());
        for (const auto& page : pages) gbk += ToGbkLines(ManualPageText(ReadGzip(page)));
        return gbk;
    }();
    return text;
}

}  // namespace

std::string RealChineseText(size_t minBytes) {
    const std::string& source = AllChineseText();
    if (source.empty()) {
        std::fprintf(stderr,
                     "No Chinese documentation found (manpages-zh, debian-faq-zh-cn); "
                     "install them to run the benchmarks on real text.\n");
        return std::string(minBytes, 'x');
    }
    std::string text;
    text.reserve(minBytes + source.size());
    while (text.size() < minBytes) text += source;
    // End after the paragraph that reaches minBytes, so no character is cut.
    const size_t end = text.find("\r\n", minBytes);
    if (end != std::string::npos) text.resize(end + 2);
    return text;
}

}  // namespace brisna::bench
