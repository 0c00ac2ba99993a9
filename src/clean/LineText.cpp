#include "clean/LineText.h"

#include "text/GbkText.h"

namespace brisna {
namespace {

// The length of the blank at `at`, 0 when there is none.
size_t BlankAt(std::string_view line, size_t at) {
    const unsigned char c = static_cast<unsigned char>(line[at]);
    if (c == ' ' || c == '\t') return 1;
    if (c == 0xA1 && at + 1 < line.size() && static_cast<unsigned char>(line[at + 1]) == 0xA1) {
        return 2;
    }
    return 0;
}

}  // namespace

size_t LeadingBlankBytes(std::string_view line) {
    size_t at = 0;
    while (at < line.size()) {
        size_t blank = BlankAt(line, at);
        if (blank == 0) break;
        at += blank;
    }
    return at;
}

std::string_view TrimLineBlanks(std::string_view line) {
    line.remove_prefix(LeadingBlankBytes(line));
    // Walk forward so a full-width space is never mistaken in the middle of another pair.
    size_t end = 0;
    for (size_t at = 0; at < line.size();) {
        size_t blank = BlankAt(line, at);
        if (blank != 0) {
            at += blank;
            continue;
        }
        at += CharLengthAt(line, at);
        end = at;
    }
    return line.substr(0, end);
}

size_t GbkCharCount(std::string_view line) {
    size_t count = 0;
    for (size_t at = 0; at < line.size(); at += CharLengthAt(line, at)) ++count;
    return count;
}

std::string_view LastGbkChar(std::string_view line) {
    size_t last = 0;
    size_t at = 0;
    while (at < line.size()) {
        last = at;
        at += CharLengthAt(line, at);
    }
    return line.substr(last);
}

std::string LowerAsciiLetters(std::string_view line) {
    std::string lower(line);
    for (size_t at = 0; at < lower.size();) {
        size_t length = CharLengthAt(lower, at);
        if (length == 1 && lower[at] >= 'A' && lower[at] <= 'Z') lower[at] += 'a' - 'A';
        at += length;
    }
    return lower;
}

bool IsChineseCharAt(std::string_view line, size_t at) {
    if (CharLengthAt(line, at) != 2) return false;
    const unsigned char lead = static_cast<unsigned char>(line[at]);
    return lead < 0xA1 || lead > 0xA9;
}

}  // namespace brisna
