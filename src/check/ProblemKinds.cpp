#include "check/ProblemKinds.h"

#include <string>

#include "check/CheckMessages.h"
#include "text/CodePage936.h"

namespace brisna {

namespace msg = check_messages;

namespace {

struct EntryShapes {
    std::string suspiciousStart = Utf8ToGbk(msg::kSuspiciousStart);
    std::string suspiciousLine = Utf8ToGbk(msg::kSuspiciousLine);
    std::string wordStart = Utf8ToGbk(msg::kWordStart);
    std::string entryEnd = Utf8ToGbk(msg::kEntryEnd);
    std::string garbledStart = Utf8ToGbk(msg::kGarbledStart);
    std::string lineStart = "[Line ";
    std::string emptyLineEnd = Utf8ToGbk(msg::kEmptyLineEnd);
    std::string chapterStart = Utf8ToGbk(msg::kChapterStart);
    std::string offsetErrorEnd = Utf8ToGbk(msg::kOffsetErrorEnd);
    std::string tooLongEnd = Utf8ToGbk(msg::kTooLongEnd);
    std::string emptyChapterEnd = Utf8ToGbk(msg::kEmptyChapterEnd);
    std::string notAtLineStartEnd = Utf8ToGbk(msg::kNotAtLineStartEnd);
    std::string duplicateStart = Utf8ToGbk(msg::kOpeningQuote);
    std::string duplicateMiddle = Utf8ToGbk(msg::kDuplicateMiddle);
    std::string duplicateEnd = Utf8ToGbk(msg::kDuplicateEnd);
    std::string tooShortEnd = Utf8ToGbk(msg::kTooShortEnd);
    std::string book[3] = {
        Utf8ToGbk(msg::kTooFewChapters),
        Utf8ToGbk(msg::kFirstNotAtStartEntry),
        Utf8ToGbk(msg::kNameTooLongEntry),
    };
};

const EntryShapes& Shapes() {
    static const EntryShapes shapes;
    return shapes;
}

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Skips the digits at `at`; npos when there are none.
size_t AfterDigits(std::string_view text, size_t at) {
    size_t end = at;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return end > at ? end : std::string_view::npos;
}

// `text` at `at` continues with `part`; returns the position after it, or npos.
size_t After(std::string_view text, size_t at, std::string_view part) {
    if (at == std::string_view::npos || text.substr(at, part.size()) != part) {
        return std::string_view::npos;
    }
    return at + part.size();
}

// "[Line N]" followed by `end`, where the digits run from `from`.
bool LineNumberThen(std::string_view entry, size_t from, std::string_view end) {
    if (entry.size() < from + end.size() || !entry.ends_with(end)) return false;
    return AllDigits(entry.substr(from, entry.size() - end.size() - from));
}

}  // namespace

ProblemKind ClassifyProblemEntry(std::string_view entry) {
    const EntryShapes& s = Shapes();
    // "可疑字（N）[Line L]：word！" and "乱码[Line L]：xy！", where a chapter title might begin
    // like either.
    if (entry.ends_with(s.entryEnd)) {
        size_t at = After(entry, 0, s.suspiciousStart);
        if (at != std::string_view::npos) at = AfterDigits(entry, at);
        at = After(entry, at, s.suspiciousLine);
        if (at != std::string_view::npos) at = AfterDigits(entry, at);
        if (After(entry, at, s.wordStart) != std::string_view::npos)
            return ProblemKind::kSuspicious;
        at = After(entry, 0, s.garbledStart);
        if (at != std::string_view::npos) at = AfterDigits(entry, at);
        at = After(entry, at, s.wordStart);
        if (at != std::string_view::npos && entry.size() == at + 2 + s.entryEnd.size()) {
            return ProblemKind::kGarbled;
        }
    }
    if (entry.starts_with(s.lineStart) &&
        LineNumberThen(entry, s.lineStart.size(), s.emptyLineEnd)) {
        return ProblemKind::kEmptyLine;
    }
    for (const std::string& fixed : s.book) {
        if (entry == fixed) return ProblemKind::kBlocking;
    }
    if (entry.starts_with(s.chapterStart) && entry.ends_with(s.offsetErrorEnd) &&
        AllDigits(entry.substr(s.chapterStart.size(),
                               entry.size() - s.chapterStart.size() - s.offsetErrorEnd.size()))) {
        return ProblemKind::kBlocking;
    }
    if (entry.ends_with(s.tooLongEnd) || entry.ends_with(s.emptyChapterEnd) ||
        entry.ends_with(s.notAtLineStartEnd) || entry.ends_with(s.tooShortEnd)) {
        return ProblemKind::kBlocking;
    }
    if (entry.starts_with(s.duplicateStart) && entry.ends_with(s.duplicateEnd)) {
        const size_t middle = entry.rfind(s.duplicateMiddle);
        if (middle != std::string_view::npos &&
            AllDigits(entry.substr(
                middle + s.duplicateMiddle.size(),
                entry.size() - s.duplicateEnd.size() - middle - s.duplicateMiddle.size()))) {
            return ProblemKind::kBlocking;
        }
    }
    return ProblemKind::kOther;
}

ProblemKind ProblemKindAt(const ListBox& problemList, int32_t row) {
    return ProblemKindOfData(problemList.GetItemData(row));
}

ProblemCounts CountProblemKinds(const ListBox& problemList) {
    ProblemCounts counts;
    const int32_t rows = problemList.GetCount();
    for (int32_t row = 0; row < rows; ++row) {
        switch (ProblemKindAt(problemList, row)) {
            case ProblemKind::kBlocking:
                ++counts.blocking;
                break;
            case ProblemKind::kSuspicious:
                ++counts.suspicious;
                break;
            case ProblemKind::kGarbled:
                ++counts.garbled;
                break;
            case ProblemKind::kEmptyLine:
                ++counts.emptyLines;
                break;
            case ProblemKind::kOther:
                ++counts.other;
                break;
        }
    }
    return counts;
}

}  // namespace brisna
