#include "clean/WrappedLines.h"

#include <algorithm>
#include <string>

#include "clean/LineText.h"
#include "text/CodePage936.h"

namespace brisna {
namespace {

// Widths are display columns, which for GBK are bytes: a Chinese character takes two, a Latin
// letter one, as in the fixed-width editors books were wrapped in.
// Shorter wrapped lines are no wrapping anyone did on purpose.
constexpr size_t kMinWrapColumns = 20;
// Widths above this are paragraphs, not wrapped lines.
constexpr size_t kMaxWrapColumns = 800;
// Too few text lines to tell anything.
constexpr size_t kMinTextLines = 4;

// A wrapped line is at most a fifth shorter than the width: the wrapper moved a word or a
// closing mark to the next line.
size_t BandLow(size_t width) {
    return width - width / 5;
}

bool EndsSentence(std::string_view line) {
    static const std::vector<std::string> ends = [] {
        std::vector<std::string> gbk;
        for (const char* c : {"。", "！", "？", "…", "”", "’", "」", "』", "!", "?", "."}) {
            gbk.push_back(Utf8ToGbk(c));
        }
        return gbk;
    }();
    std::string_view last = LastGbkChar(TrimLineBlanks(line));
    return std::find(ends.begin(), ends.end(), last) != ends.end();
}

bool IsText(const WrapLine& line) {
    return !line.heading && !IsBlankLine(line.content);
}

bool Indented(std::string_view line) {
    return LeadingBlankBytes(line) > 0;
}

}  // namespace

WrapAnalysis AnalyseWrapping(const std::vector<WrapLine>& lines) {
    WrapAnalysis analysis;
    analysis.joinWithNext.assign(lines.size(), false);

    std::vector<size_t> widths(lines.size(), 0);
    std::vector<size_t> counts(kMaxWrapColumns + 2, 0);
    size_t textLines = 0;
    size_t indentedLines = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!IsText(lines[i])) continue;
        widths[i] = lines[i].content.size();
        ++counts[std::min(widths[i], kMaxWrapColumns + 1)];
        ++textLines;
        if (Indented(lines[i].content)) ++indentedLines;
    }
    if (textLines < kMinTextLines) return analysis;

    // The width is where most lines end within a fifth below it.
    std::vector<size_t> below(counts.size() + 1, 0);  // below[w]: lines narrower than w
    for (size_t w = 0; w < counts.size(); ++w) below[w + 1] = below[w] + counts[w];
    size_t bestCount = 0;
    for (size_t width = kMinWrapColumns; width <= kMaxWrapColumns; ++width) {
        size_t inBand = below[width + 1] - below[BandLow(width)];
        if (inBand >= bestCount) {
            bestCount = inBand;
            analysis.width = width;
        }
    }
    const size_t low = BandLow(analysis.width);

    auto nextTextLine = [&](size_t i) {
        return i + 1 < lines.size() && IsText(lines[i + 1]) && !Indented(lines[i + 1].content);
    };
    // Wrapped lines run on into the next line in the middle of a sentence.
    size_t runOn = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (IsText(lines[i]) && widths[i] >= low && nextTextLine(i) &&
            !EndsSentence(lines[i].content)) {
            ++runOn;
        }
    }
    analysis.wrapped = bestCount * 5 >= textLines * 2 && runOn * 5 >= textLines;
    if (!analysis.wrapped) return analysis;

    // Where paragraphs are indented, a line that is not indented continues the one before, even
    // after a full stop; elsewhere only a line cut in mid-sentence does.
    const bool indentedParagraphs = indentedLines * 20 >= textLines;
    // A wrapper moves a word that does not fit to the next line whole, so a line of an indented
    // book may fall well short of the width before a long Latin word.
    const size_t shortest = indentedParagraphs ? analysis.width / 2 : low;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!IsText(lines[i]) || widths[i] < shortest || !nextTextLine(i)) continue;
        analysis.joinWithNext[i] = indentedParagraphs || !EndsSentence(lines[i].content);
    }
    return analysis;
}

std::string_view JoinSeparator(std::string_view first, std::string_view second) {
    std::string_view last = LastGbkChar(first);
    if (last.size() != 1 || second.empty()) return {};
    // Latin words (and the marks around them) get back the space the wrapping took.
    auto graphic = [](char c) { return c > ' ' && c < 0x7F; };
    if (graphic(last[0]) && graphic(second[0])) return " ";
    return {};
}

}  // namespace brisna
