#include "epub/EpubChapterPlacement.h"

#include <algorithm>
#include <optional>

#include "detect/BookOutline.h"
#include "epub/EpubContents.h"
#include "epub/EpubMessages.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"

namespace brisna {

namespace {

// Text ahead of the contents' first entry up to this size is a title page, not a chapter.
constexpr uint32_t kMaxTitlePageBytes = 2048;

// The English labels other programs give their front pages in the contents: never a chapter.
bool IsFrontPageLabel(std::string_view utf8) {
    std::string lower;
    for (char c : utf8)
        lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    return lower == "title page" || lower == "titlepage" || lower == "table of contents" ||
           lower == "contents" || lower == "cover" || lower == "start";
}

bool IsDigitsOnly(std::string_view utf8) {
    return !utf8.empty() &&
           std::all_of(utf8.begin(), utf8.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ContentsTitle(std::string_view utf8) {
    return CutGbk(Utf8ToGbk(utf8), kMaxEpubTitleBytes);
}

// The entries of the contents where they land in the text: `line` of the text's lines.
struct Placed {
    int level = 1;
    std::string title;  // GBK
    size_t line = 0;
};

// Whether the contents say nothing about where the chapters are: most titles are numbers or the
// labels of front pages, or most entries lead to one place.
bool IsSenselessContents(const std::vector<std::string>& titles,
                         const std::vector<Placed>& placed) {
    if (titles.empty()) return false;
    size_t noise = 0;
    for (const std::string& title : titles) noise += IsDigitsOnly(title) || IsFrontPageLabel(title);
    if (noise * 2 >= titles.size()) return true;
    if (placed.size() < 3) return false;
    // Entries nested at one place (a part, its volume, its first chapter) are no sign of it.
    size_t longestRun = 1;
    for (size_t i = 1, run = 1; i < placed.size(); ++i) {
        run = placed[i].line == placed[i - 1].line && placed[i].level == placed[i - 1].level
                  ? run + 1
                  : 1;
        longestRun = std::max(longestRun, run);
    }
    return longestRun >= 3 && longestRun * 2 > placed.size();
}

// Where each entry leads: a line of a document with text. An entry leading nowhere (a label
// without a link, a page without text) stands where its first descendant that leads somewhere
// does, or is no entry at all.
std::vector<std::optional<size_t>> LinesOfPoints(const std::vector<EpubContentsPoint>& points,
                                                 const EpubSpineText& spine) {
    std::vector<std::optional<size_t>> lineOf(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const EpubContentsPoint& point = points[i];
        if (!point.target) continue;
        auto document = spine.documentLines.find(point.target->entry);
        if (document == spine.documentLines.end()) continue;
        const auto [first, end] = document->second;
        if (first == end) continue;
        size_t line = first;
        if (!point.target->fragment.empty()) {
            auto anchor = spine.anchorLine.find(point.target->entry + "#" + point.target->fragment);
            if (anchor != spine.anchorLine.end()) line = anchor->second;
        }
        if (line < spine.lineCount) lineOf[i] = line;
    }
    for (size_t i = points.size(); i-- > 0;) {
        if (lineOf[i]) continue;
        for (size_t j = i + 1; j < points.size() && points[j].level > points[i].level; ++j) {
            if (lineOf[j]) {
                lineOf[i] = lineOf[j];
                break;
            }
        }
    }
    return lineOf;
}

std::vector<Placed> PlacePoints(const std::vector<EpubContentsPoint>& points,
                                const EpubSpineText& spine, const std::string& bookTitle,
                                std::vector<std::string>& rawTitles) {
    const std::vector<std::optional<size_t>> lineOf = LinesOfPoints(points, spine);
    std::vector<Placed> placed;
    for (size_t i = 0; i < points.size(); ++i) {
        rawTitles.push_back(points[i].title);
        if (!lineOf[i] || IsFrontPageLabel(points[i].title)) continue;
        // An entry named like the book ahead of all others leads to its title page.
        if (placed.empty() && i + 1 < points.size() && !bookTitle.empty() &&
            points[i].title == bookTitle) {
            continue;
        }
        // Entries leading backwards are passed over; the text is read in spine order.
        if (!placed.empty() && *lineOf[i] < placed.back().line) continue;
        std::string title = ContentsTitle(points[i].title);
        if (title.empty()) title = ContentsTitle(spine.lines[*lineOf[i]]);
        placed.push_back({points[i].level, std::move(title), *lineOf[i]});
    }
    return placed;
}

// Text ahead of the first entry is a title page when it is short or opens with the book's
// title: it belongs to the first chapter. Anything longer is a chapter of its own, titled with
// its first line.
void PlaceTextAheadOfContents(const EpubSpineText& spine, EpubBook& book) {
    if (book.toc.empty() || book.toc.front().offset == 0) return;
    size_t first = 0;
    while (first < spine.lineCount && spine.lineStart[first] < book.toc.front().offset &&
           spine.lines[first].empty()) {
        ++first;
    }
    const bool titlePage =
        book.toc.front().offset < kMaxTitlePageBytes ||
        (!book.metadata.title.empty() && spine.lines[first] == book.metadata.title);
    if (titlePage || spine.lineStart[first] >= book.toc.front().offset) {
        book.toc.front().offset = 0;
    } else {
        book.toc.insert(book.toc.begin(), {1, ContentsTitle(spine.lines[first]), 0});
    }
}

}  // namespace

std::string CutGbk(std::string gbk, size_t bytes) {
    size_t end = 0;
    while (end < gbk.size()) {
        const size_t width =
            IsGbkLeadByte(static_cast<unsigned char>(gbk[end])) && end + 1 < gbk.size() ? 2 : 1;
        if (end + width > bytes) break;
        end += width;
    }
    gbk.resize(end);
    return gbk;
}

void PlaceEpubChapters(const std::vector<EpubContentsPoint>& points, const EpubSpineText& spine,
                       EpubBook& book) {
    std::vector<std::string> rawTitles;
    std::vector<Placed> placed = PlacePoints(points, spine, book.metadata.title, rawTitles);
    if (IsSenselessContents(rawTitles, placed)) {
        placed.clear();
        BookOutline outline = BuildBookOutline(spine.converted.gbk);
        if (outline.HasHeadings()) {
            for (TocEntry& entry : TocFromOutline(outline)) book.toc.push_back(std::move(entry));
            // A short front matter is the title page: it opens the first chapter below.
            if (outline.entries.front().kind == OutlineEntryKind::kFrontMatter &&
                book.toc.size() > 1 && book.toc[1].offset < kMaxTitlePageBytes) {
                book.toc.erase(book.toc.begin());
            }
            book.notice = Utf8ToGbk(epub_messages::kContentsNotInText);
        }
    }
    if (placed.empty() && book.toc.empty()) {
        for (const auto& [entry, line] : spine.documents) {
            if (line >= spine.lineCount || (!placed.empty() && line <= placed.back().line)) {
                continue;
            }
            placed.push_back({1, ContentsTitle(spine.lines[line]), line});
        }
    }
    for (Placed& entry : placed) {
        book.toc.push_back({entry.level, std::move(entry.title), spine.lineStart[entry.line]});
    }
    PlaceTextAheadOfContents(spine, book);
}

}  // namespace brisna
