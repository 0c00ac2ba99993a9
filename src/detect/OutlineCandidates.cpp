#include "detect/OutlineCandidates.h"

#include <algorithm>
#include <functional>

#include "detect/TextLines.h"
#include "text/GbkText.h"

namespace brisna::outline {

bool OnlyBlankLines(std::string_view text) {
    size_t at = 0;
    while (at < text.size()) {
        at = SkipBlanks(text, at);
        if (at == text.size()) break;
        if (text[at] != '\r' && text[at] != '\n') return false;
        ++at;
    }
    return true;
}

std::string_view TrimmedTitle(std::string_view content) {
    while (!content.empty() && (content.back() == ' ' || content.back() == '\t'))
        content.remove_suffix(1);
    return content;
}

std::vector<Candidate> FindCandidates(std::string_view text) {
    const Vocabulary& words = Words();
    std::vector<Candidate> candidates;
    // Room for one candidate a line, up to one in eight bytes, so that a book of little but
    // headings never moves its candidates as the list grows; what is never written is never
    // touched.
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    candidates.reserve(std::min(lines, text.size() / 8));
    std::string_view previous;
    int32_t previousLine = -2;
    ForEachTextLine(text, [&](const TextLine& line) {
        std::string_view head = line.content.substr(line.firstText);
        // A line straight after a long one that stops mid-sentence continues it. Only 序 asks.
        bool wrapped = head.starts_with(words.preface) && previousLine + 1 == line.number &&
                       line.firstText == 0 && previous.size() >= kWrappedLineBytes &&
                       !EndsWithAnyChar(TrimmedTitle(previous), words.sentenceEnds);
        previous = line.content;
        previousLine = line.number;
        std::optional<LineHeadings> headings = HeadingsOfLine(head, wrapped);
        if (!headings) return;
        Candidate candidate;
        candidate.headings = std::move(*headings);
        candidate.lineStart = static_cast<uint32_t>(line.start);
        candidate.contentSize = static_cast<uint32_t>(line.content.size());
        candidate.breakSize = static_cast<uint8_t>(line.next - line.start - line.content.size());
        candidate.line = line.number;
        candidate.firstText = static_cast<uint32_t>(line.firstText);
        candidates.push_back(std::move(candidate));
    });
    return candidates;
}

size_t DropContentsLists(std::string_view text, const std::vector<Candidate>& candidates,
                         std::vector<bool>& dropped) {
    size_t listed = 0;
    auto tiny = [&](size_t i) {
        size_t next = i + 1 < candidates.size() ? candidates[i + 1].lineStart : text.size();
        const size_t end = candidates[i].lineEnd();
        return OnlyBlankLines(text.substr(end, next - end));
    };
    // Whether a heading's title comes again later, found once for all from the end. The titles
    // seen so far sit in an open table of candidate indices with their hashes: a node per title
    // cost more than all the rest of the outline.
    std::vector<bool> listedAgain(candidates.size(), false);
    {
        // Candidate indices fit in 32 bits as their offsets do.
        struct Slot {
            uint32_t candidate = UINT32_MAX;  // UINT32_MAX: empty
            uint32_t hash = 0;
        };
        size_t capacity = 16;
        while (capacity < candidates.size() + candidates.size() / 2) capacity *= 2;
        std::vector<Slot> later(capacity);
        const std::hash<std::string_view> hasher;
        for (size_t i = candidates.size(); i-- > 0;) {
            std::string_view title = TrimmedTitle(candidates[i].content(text));
            const size_t fullHash = hasher(title);
            const auto hash =
                static_cast<uint32_t>(uint64_t{fullHash} ^ (uint64_t{fullHash} >> 32));
            size_t at = hash & (capacity - 1);
            bool seen = false;
            while (later[at].candidate != UINT32_MAX) {
                if (later[at].hash == hash &&
                    TrimmedTitle(candidates[later[at].candidate].content(text)) == title) {
                    seen = true;
                    break;
                }
                at = (at + 1) & (capacity - 1);
            }
            listedAgain[i] = seen;
            if (!seen) later[at] = {static_cast<uint32_t>(i), hash};
        }
    }
    for (size_t i = 0; i < candidates.size();) {
        size_t j = i;
        while (j < candidates.size() && tiny(j)) ++j;
        // The list's last line is followed by the book's text rather than by another heading:
        // it belongs to the list when its title comes again later as a real heading. So does the
        // last heading of the book after such a run: a book is no list of empty chapters.
        // A list's lines share a form: a number alone on its line after a volume heading and
        // its chapter is text, however often the number comes again.
        auto continuesRun = [&](size_t last) {
            for (size_t k = i; k < last; ++k) {
                if (candidates[k].heading().form == candidates[last].heading().form) return true;
            }
            return false;
        };
        bool lastListed = j < candidates.size() && j - i >= kMinContentsRun - 1 &&
                          continuesRun(j) && (j + 1 == candidates.size() || listedAgain[j]);
        size_t stop = lastListed ? j + 1 : j;
        if (stop - i >= kMinContentsRun) {
            for (size_t k = i; k < stop; ++k) dropped[k] = true;
            listed += stop - i;
            i = stop;
        } else {
            i = j + 1;
        }
    }
    return listed;
}

}  // namespace brisna::outline
