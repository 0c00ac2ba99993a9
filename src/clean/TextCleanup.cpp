#include "clean/TextCleanup.h"

#include <algorithm>

#include "clean/CleanMessages.h"
#include "clean/ContentsBlock.h"
#include "clean/JunkLines.h"
#include "clean/LineText.h"
#include "clean/WrappedLines.h"
#include "detect/BookOutline.h"
#include "text/CodePage936.h"

namespace brisna {

namespace msg = clean_messages;

namespace {

// Lines are kept small: a 10 MiB book has a few hundred thousand of them.
struct BookLine {
    size_t start = 0;
    uint32_t length = 0;     // without the line break
    uint8_t breakBytes = 0;  // CR LF, LF, or nothing for a last line without one
    bool heading = false;
    bool removed = false;

    std::string_view Content(std::string_view text) const { return text.substr(start, length); }
    std::string_view Break(std::string_view text) const {
        return text.substr(start + length, breakBytes);
    }
};

std::vector<BookLine> SplitBookLines(std::string_view text) {
    std::vector<BookLine> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t lf = text.find('\n', start);
        size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
        size_t contentEnd = lf == std::string_view::npos ? text.size() : lf;
        if (contentEnd > start && text[contentEnd - 1] == '\r') --contentEnd;
        BookLine line;
        line.start = start;
        line.length = static_cast<uint32_t>(contentEnd - start);
        line.breakBytes = static_cast<uint8_t>(next - contentEnd);
        lines.push_back(line);
        start = next;
    }
    return lines;
}

// Builds the cleaned text while remembering where every copied byte came from.
class CleanTextWriter {
  public:
    CleanTextWriter(std::string_view source, CleanupResult& result)
        : source_(source), result_(result) {
        result_.text.reserve(source.size());
    }
    void Copy(std::string_view piece) {
        size_t oldStart = static_cast<size_t>(piece.data() - source_.data());
        result_.offsets.AddCopiedRun(oldStart, result_.text.size(), piece.size());
        result_.text.append(piece);
    }
    void Insert(std::string_view piece) { result_.text.append(piece); }

  private:
    std::string_view source_;
    CleanupResult& result_;
};

void MarkHeadings(std::string_view text, std::vector<BookLine>& lines,
                  std::vector<size_t>& headingLines) {
    const BookOutline outline = BuildBookOutline(text);
    for (const OutlineEntry& entry : outline.entries) {
        if (entry.kind == OutlineEntryKind::kFrontMatter) continue;
        if (entry.line < 0 || static_cast<size_t>(entry.line) >= lines.size()) continue;
        lines[entry.line].heading = true;
        headingLines.push_back(static_cast<size_t>(entry.line));
    }
    std::sort(headingLines.begin(), headingLines.end());
}

void Remove(std::string_view text, BookLine& line, int32_t number, CleanupChangeKind kind,
            CleanupResult& result) {
    line.removed = true;
    result.changes.push_back({kind, number, line.start, std::string(line.Content(text))});
}

}  // namespace

CleanupResult CleanText(std::string_view text, const CleanupOptions& options) {
    CleanupResult result;
    std::vector<BookLine> lines = SplitBookLines(text);
    std::vector<size_t> headingLines;
    MarkHeadings(text, lines, headingLines);

    if (options.removeContents) {
        std::vector<std::string_view> contents;
        contents.reserve(lines.size());
        for (const BookLine& line : lines) contents.push_back(line.Content(text));
        if (std::optional<ContentsBlock> block = FindContentsBlock(contents, headingLines)) {
            result.counts.contentsBlocks = 1;
            for (size_t i = block->firstLine; i <= block->lastLine; ++i) {
                if (IsBlankLine(lines[i].Content(text))) continue;
                Remove(text, lines[i], static_cast<int32_t>(i), CleanupChangeKind::kContentsLine,
                       result);
                ++result.counts.contentsLines;
            }
        }
    }

    if (options.removeJunk || options.removeNotes) {
        const JunkLineRules rules(options.junkPatterns);
        for (size_t i = 0; i < lines.size(); ++i) {
            BookLine& line = lines[i];
            if (line.heading || line.removed) continue;
            const JunkKind kind = rules.Classify(line.Content(text));
            if (kind == JunkKind::kNone) continue;
            if (kind == JunkKind::kAuthorNote) {
                if (!options.removeNotes) continue;
                Remove(text, line, static_cast<int32_t>(i), CleanupChangeKind::kAuthorNote, result);
                ++result.counts.authorNotes;
            } else if (options.removeJunk) {
                Remove(text, line, static_cast<int32_t>(i), CleanupChangeKind::kJunkLine, result);
                ++result.counts.junkLines;
            }
        }
        std::sort(result.changes.begin(), result.changes.end(),
                  [](const CleanupChange& a, const CleanupChange& b) { return a.line < b.line; });
    }

    std::vector<size_t> kept;
    std::vector<WrapLine> wrapLines;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].removed) continue;
        kept.push_back(i);
        wrapLines.push_back({lines[i].Content(text), lines[i].heading});
    }
    WrapAnalysis wrapping;
    if (options.joinWrapped) {
        wrapping = AnalyseWrapping(wrapLines);
        result.wrapped = wrapping.wrapped;
    }
    wrapping.joinWithNext.resize(kept.size(), false);

    static const std::string fullWidthSpace = Utf8ToGbk("　");
    std::string indent;
    for (int k = 0; k < options.indentChars; ++k) indent += fullWidthSpace;
    const size_t maxBlank = options.squeezeBlankLines
                                ? static_cast<size_t>(std::max(options.maxBlankLines, 0))
                                : SIZE_MAX;

    CleanTextWriter writer(text, result);
    std::vector<CleanupChange> joins;
    size_t blankRun = 0;
    for (size_t k = 0; k < kept.size(); ++k) {
        const BookLine& line = lines[kept[k]];
        const std::string_view content = line.Content(text);
        if (!line.heading && IsBlankLine(content)) {
            if (++blankRun > maxBlank) {
                ++result.counts.blankLinesRemoved;
                continue;
            }
            writer.Copy(content);
            writer.Copy(line.Break(text));
            continue;
        }
        blankRun = 0;
        // The paragraph's first line: its indent made even, unless it is a heading.
        const size_t blanks = LeadingBlankBytes(content);
        if (line.heading || !options.evenIndents || content.substr(0, blanks) == indent) {
            writer.Copy(content);
        } else {
            writer.Insert(indent);
            writer.Copy(content.substr(blanks));
            ++result.counts.indentsChanged;
        }
        // The lines that only wrap it.
        const BookLine* last = &line;
        while (k + 1 < kept.size() && wrapping.joinWithNext[k]) {
            const BookLine& next = lines[kept[++k]];
            writer.Insert(JoinSeparator(last->Content(text), next.Content(text)));
            writer.Copy(next.Content(text));
            joins.push_back({CleanupChangeKind::kJoinedLine, static_cast<int32_t>(kept[k]),
                             next.start, std::string(next.Content(text))});
            last = &next;
        }
        writer.Copy(last->Break(text));
    }
    result.offsets.SetNewLength(result.text.size());
    result.counts.joinedLines = joins.size();

    if (!joins.empty()) {
        std::vector<CleanupChange> merged;
        merged.reserve(result.changes.size() + joins.size());
        std::merge(std::make_move_iterator(result.changes.begin()),
                   std::make_move_iterator(result.changes.end()),
                   std::make_move_iterator(joins.begin()), std::make_move_iterator(joins.end()),
                   std::back_inserter(merged),
                   [](const CleanupChange& a, const CleanupChange& b) { return a.line < b.line; });
        result.changes = std::move(merged);
    }
    result.changed = result.text != text;
    return result;
}

std::string CleanupReport(const CleanupCounts& counts) {
    const size_t removed = counts.junkLines + counts.authorNotes;
    return Utf8ToGbk(msg::CleanupSummary(removed, counts.contentsBlocks, counts.joinedLines));
}

std::string CleanupChangeKindName(CleanupChangeKind kind) {
    switch (kind) {
        case CleanupChangeKind::kJunkLine:
            return Utf8ToGbk(msg::kJunkLine);
        case CleanupChangeKind::kContentsLine:
            return Utf8ToGbk(msg::kContentsLine);
        case CleanupChangeKind::kAuthorNote:
            return Utf8ToGbk(msg::kAuthorNote);
        case CleanupChangeKind::kJoinedLine:
            return Utf8ToGbk(msg::kJoinedLine);
    }
    return {};
}

}  // namespace brisna
