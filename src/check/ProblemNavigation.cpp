#include "check/ProblemNavigation.h"

#include <algorithm>
#include <limits>

#include "Capacities.h"
#include "check/CheckMessages.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

namespace msg = check_messages;

namespace {

// The fixed parts of the entries the test command writes, in GBK.
struct EntryMarkers {
    std::string suspicious = Utf8ToGbk(msg::kSuspiciousWord);
    std::string garbled = Utf8ToGbk(msg::kGarbledWord);
    std::string emptyLine = Utf8ToGbk(msg::kEmptyLineWord);
    std::string duplicate = Utf8ToGbk(msg::kDuplicateWord);
    std::string duplicateSeparator = Utf8ToGbk(msg::kDuplicateSeparator);
    std::string duplicateOpening = Utf8ToGbk(msg::kOpeningQuote);
    std::string duplicateTail = Utf8ToGbk(msg::kDuplicateTail);
    std::string overlong = Utf8ToGbk(msg::kTooLongWord);
    std::string overlongTail = Utf8ToGbk(msg::kTooLongEnd);
    std::string colon = Utf8ToGbk(msg::kColon);
    std::string exclamation = Utf8ToGbk(msg::kEntryEnd);
    std::string line = "[Line ";
};

const EntryMarkers& Markers() {
    static const EntryMarkers markers;
    return markers;
}

bool Contains(std::string_view entry, std::string_view marker) {
    return entry.find(marker) != std::string_view::npos;
}

// Shows the first match of `text` at or after the start of display line `line`.
void HighlightFromLine(RichEdit& view, int32_t line, std::string_view text) {
    if (text.empty()) return;
    int32_t start = view.LineIndex(line);
    if (start < 0) return;  // the line is gone since the test
    view.SetFocus();
    CharRange match = view.FindText({start, -1}, text);
    if (match.min < 0) return;
    view.SetSelection(match);
    view.ApplyHighlightToSelection();
}

void ShowChapterSizeLimit(std::string_view title, CMyRECtrl& bookText) {
    RichEdit& view = bookText.View();
    int32_t headingLine = bookText.FirstLineContaining(title);
    std::optional<uint32_t> headingStart = bookText.LineStartOffset(headingLine);
    if (!headingStart) return;
    uint64_t limit = static_cast<uint64_t>(*headingStart) + kChapterSizeLimit;
    if (limit > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return;
    int32_t limitLine = bookText.LineContainingOffset(static_cast<int32_t>(limit));
    std::optional<uint32_t> limitLineStart = bookText.LineStartOffset(limitLine);
    if (!limitLineStart) return;

    std::string text = view.GetText();
    if (text.size() > kMaxTextBytes - 1) text.resize(kMaxTextBytes - 1);
    text.resize(UpToNul(text).size());
    size_t snippetEnd = std::min<uint64_t>(limit, text.size());
    if (*limitLineStart > snippetEnd) return;  // the table no longer fits the text
    std::string_view snippet =
        std::string_view(text).substr(*limitLineStart, snippetEnd - *limitLineStart);

    int32_t lineIndex = view.LineIndex(limitLine);
    if (lineIndex < 0) return;
    int32_t caret = lineIndex;
    if (snippet.empty()) {
        // The limit falls on the line's first byte; past the end of the text the table is stale.
        if (limit > text.size()) return;
    } else {
        // The snippet is the start of the line, so it is looked for from the line's own start:
        // from one character earlier, a line continuing a run of the same characters would
        // match one character too early.
        CharRange match = view.FindText({lineIndex, -1}, snippet);
        if (match.min < 0) return;  // the text changed since the test
        caret = match.max;
    }
    view.SetSelection({caret, caret});
    view.SetFocus();
}

}  // namespace

std::optional<int32_t> EntryLineNumber(std::string_view entry) {
    const std::string& marker = Markers().line;
    size_t at = entry.find(marker);
    if (at == std::string_view::npos) return std::nullopt;
    int64_t value = 0;
    for (size_t i = at + marker.size(); i < entry.size(); ++i) {
        char c = entry[i];
        if (c < '0' || c > '9') break;
        value = std::min<int64_t>(value * 10 + (c - '0'), std::numeric_limits<int32_t>::max());
    }
    return static_cast<int32_t>(value);
}

std::optional<std::string_view> EntryPayload(std::string_view entry) {
    const EntryMarkers& markers = Markers();
    size_t colon = entry.find(markers.colon);
    if (colon == std::string_view::npos) return std::nullopt;
    size_t start = colon + markers.colon.size();
    size_t end = std::string_view::npos;
    // The entry ends with "！", so a word that holds "！" itself is still read whole.
    if (entry.size() >= start + markers.exclamation.size() &&
        entry.ends_with(markers.exclamation)) {
        end = entry.size() - markers.exclamation.size();
    } else {
        end = entry.find(markers.exclamation, start);
    }
    if (end == std::string_view::npos) return std::nullopt;
    return entry.substr(start, end - start);
}

std::optional<std::string_view> EntryDuplicateTitle(std::string_view entry) {
    const EntryMarkers& markers = Markers();
    const std::string& separator = markers.duplicateSeparator;
    // "“T”与“T”章节重复…": the two titles are equal, which fixes where the separator is.
    size_t tail = entry.rfind(markers.duplicateTail);
    if (tail != std::string_view::npos && entry.starts_with(markers.duplicateOpening) &&
        tail >= markers.duplicateOpening.size()) {
        std::string_view body =
            entry.substr(markers.duplicateOpening.size(), tail - markers.duplicateOpening.size());
        if (body.size() >= separator.size() && (body.size() - separator.size()) % 2 == 0) {
            size_t titleLength = (body.size() - separator.size()) / 2;
            if (body.substr(titleLength, separator.size()) == separator &&
                body.substr(0, titleLength) == body.substr(titleLength + separator.size())) {
                return body.substr(0, titleLength);
            }
        }
    }
    // Anything else: the text before the first separator, without its opening quote.
    size_t at = entry.find(separator);
    if (at == std::string_view::npos) return std::nullopt;
    size_t skip = std::min(markers.duplicateOpening.size(), at);
    return entry.substr(skip, at - skip);
}

std::optional<std::string_view> EntryOverlongTitle(std::string_view entry) {
    const EntryMarkers& markers = Markers();
    if (entry.ends_with(markers.overlongTail)) {
        return entry.substr(0, entry.size() - markers.overlongTail.size());
    }
    size_t at = entry.find(markers.overlong);
    if (at == std::string_view::npos) return std::nullopt;
    return entry.substr(0, at);
}

void ShowProblemOnSelection(std::string_view entry, CMyRECtrl& bookText,
                            const std::vector<std::string>& suspiciousWords) {
    const EntryMarkers& markers = Markers();
    RichEdit& view = bookText.View();
    if (Contains(entry, markers.suspicious)) {
        std::optional<std::string_view> word = EntryPayload(entry);
        std::optional<int32_t> line = EntryLineNumber(entry);
        if (word && line) {
            // A word taken off the list since the test is not shown.
            for (const std::string& listed : suspiciousWords) {
                if (listed == *word) HighlightFromLine(view, *line, *word);
            }
        }
    }
    if (Contains(entry, markers.garbled)) {
        std::optional<std::string_view> pair = EntryPayload(entry);
        std::optional<int32_t> line = EntryLineNumber(entry);
        if (pair && line) HighlightFromLine(view, *line, *pair);
    } else if (Contains(entry, markers.emptyLine)) {
        std::optional<int32_t> line = EntryLineNumber(entry);
        if (!line) return;
        view.SetFocus();
        int32_t firstVisible = view.GetFirstVisibleLine();
        view.ScrollLines(*line - firstVisible);
    }
}

void ShowProblemOnDoubleClick(std::string_view entry, CMyRECtrl& bookText) {
    const EntryMarkers& markers = Markers();
    RichEdit& view = bookText.View();
    if (Contains(entry, markers.duplicate)) {
        std::optional<std::string_view> title = EntryDuplicateTitle(entry);
        if (!title) return;
        view.SetFocus();
        view.SetSelection({0, 0});
        if (title->empty()) return;
        CharRange match = view.FindText({0, -1}, *title);
        if (match.min < 0) return;
        view.SetSelection(match);
        view.ApplyHighlightToSelection();
    } else if (Contains(entry, markers.overlong)) {
        std::optional<std::string_view> title = EntryOverlongTitle(entry);
        if (title) ShowChapterSizeLimit(*title, bookText);
    }
}

void OnProblemListSelectionChanged(const ListBox& problemList, CMyRECtrl& bookText,
                                   const std::vector<std::string>& suspiciousWords) {
    int32_t caret = problemList.GetCaretIndex();
    if (caret < 0) return;
    ShowProblemOnSelection(problemList.GetText(caret), bookText, suspiciousWords);
}

void OnProblemListDoubleClicked(const ListBox& problemList, CMyRECtrl& bookText) {
    int32_t caret = problemList.GetCaretIndex();
    if (caret < 0) return;
    ShowProblemOnDoubleClick(problemList.GetText(caret), bookText);
}

}  // namespace brisna
