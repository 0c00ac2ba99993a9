#include "clean/ContentsBlock.h"

#include <set>
#include <string>

#include "clean/LineText.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {
namespace {

// Fewer listed titles are a few headings in a row, not a list.
constexpr size_t kMinListedTitles = 3;

// The line without any blanks, so that 第一章　起始 and 第一章 起始 are one title.
std::string WithoutBlanks(std::string_view line) {
    std::string out;
    for (size_t at = 0; at < line.size();) {
        size_t blank = LeadingBlankBytes(line.substr(at));
        if (blank > 0) {
            at += blank;
            continue;
        }
        size_t length = GbkCharLength(line, at);
        out.append(line.substr(at, length));
        at += length;
    }
    return out;
}

}  // namespace

std::optional<ContentsBlock> FindContentsBlock(const std::vector<std::string_view>& lines,
                                               const std::vector<size_t>& headingLines) {
    if (headingLines.empty()) return std::nullopt;
    std::set<std::string> titles;
    for (size_t line : headingLines) {
        if (line < lines.size()) titles.insert(WithoutBlanks(lines[line]));
    }
    const size_t end = std::min(headingLines.front(), lines.size());

    // The longest run of listed titles before the first heading, blank lines allowed between.
    std::optional<ContentsBlock> best;
    size_t bestListed = 0;
    size_t runStart = 0;
    size_t listed = 0;
    size_t lastListed = 0;
    for (size_t i = 0; i <= end; ++i) {
        if (i < end && IsBlankLine(lines[i])) continue;
        if (i < end && titles.count(WithoutBlanks(lines[i])) != 0) {
            if (listed == 0) runStart = i;
            ++listed;
            lastListed = i;
            continue;
        }
        if (listed >= kMinListedTitles && listed > bestListed) {
            bestListed = listed;
            best = ContentsBlock{runStart, lastListed};
        }
        listed = 0;
    }
    if (!best) return best;

    // Its own heading, 目录 or 目 录, above it.
    static const std::string kContents = Utf8ToGbk("目录");
    static const std::string kContentsTraditional = Utf8ToGbk("目錄");
    for (size_t i = best->firstLine; i-- > 0;) {
        if (IsBlankLine(lines[i])) continue;
        std::string word = WithoutBlanks(lines[i]);
        if (word == kContents || word == kContentsTraditional) best->firstLine = i;
        break;
    }
    return best;
}

}  // namespace brisna
