#include "check/TestCommand.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "Capacities.h"
#include "chapters/ChapterTitle.h"
#include "check/CheckMessages.h"
#include "check/ValidationRules.h"
#include "controls/ProblemEntryKind.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

namespace msg = check_messages;

namespace {

constexpr intptr_t kProblemMark = 1;

// The findings of the text scans. A book of garbled bytes or blank lines can hold millions of
// them, more than anyone reads and enough to exhaust memory, so the first kMaxListedFindings are
// listed and the rest only counted, into one closing entry.
class FindingList {
  public:
    explicit FindingList(ListBox& list) : list_(list) {}

    bool Full() const { return listed_ >= kMaxListedFindings; }
    // Lists the finding that makeEntry formats, or counts it once the list is full.
    template <typename MakeEntry>
    void Add(ProblemKind kind, MakeEntry&& makeEntry) {
        if (Full()) {
            ++unlisted_;
            return;
        }
        AddProblemEntry(list_, kind, makeEntry());
        ++listed_;
    }
    void AddClosingEntry() {
        if (unlisted_ == 0) return;
        AddProblemEntry(list_, ProblemKind::kOther,
                        FormatGbkMessage(msg::kUnlistedFormat, {unlisted_}));
    }

  private:
    ListBox& list_;
    size_t listed_ = 0;
    int64_t unlisted_ = 0;
};

bool IsGb2312Lead(unsigned char byte) {
    return byte >= 0xA1 && byte <= 0xF7;
}
bool IsGb2312Trail(unsigned char byte) {
    return byte >= 0xA1 && byte <= 0xFE;
}

// The first byte occurrence of every word (npos for none), as FindBytesFast gives it, from one
// pass over the text for all words of two bytes or more: the list may hold hundreds of words.
constexpr size_t kSharedScanMaxWordBytes = 64;

std::vector<size_t> FirstOccurrences(std::string_view text, const std::vector<std::string>& words) {
    constexpr size_t kNone = std::string_view::npos;
    std::vector<size_t> first(words.size(), kNone);
    auto keyAt = [](std::string_view bytes, size_t at) {
        return (static_cast<size_t>(static_cast<unsigned char>(bytes[at])) << 8) |
               static_cast<unsigned char>(bytes[at + 1]);
    };
    // The words still looked for, by their first two bytes, and a bit per two-byte start that
    // begins one of them.
    std::unordered_map<size_t, std::vector<size_t>> waiting;
    std::vector<uint64_t> live(65536 / 64, 0);
    size_t remaining = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        // Long words on their own: a linear search, where the shared scan would compare a long
        // word anew at every start of a near-match.
        if (words[i].size() < 2 || words[i].size() > kSharedScanMaxWordBytes) {
            first[i] = FindBytesFast(text, words[i]);
            continue;
        }
        size_t key = keyAt(words[i], 0);
        waiting[key].push_back(i);
        live[key / 64] |= uint64_t{1} << (key % 64);
        ++remaining;
    }
    for (size_t at = 0; remaining > 0 && at + 1 < text.size(); ++at) {
        const size_t key = keyAt(text, at);
        if ((live[key / 64] >> (key % 64) & 1) == 0) continue;
        std::vector<size_t>& candidates = waiting[key];
        for (size_t k = 0; k < candidates.size();) {
            if (text.substr(at, words[candidates[k]].size()) == words[candidates[k]]) {
                first[candidates[k]] = at;
                candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(k));
                --remaining;
            } else {
                ++k;
            }
        }
        if (candidates.empty()) live[key / 64] &= ~(uint64_t{1} << (key % 64));
    }
    return first;
}

void ReportSuspiciousWords(RichEdit& view, FindingList& problemList, std::string_view text,
                           const std::vector<std::string>& suspiciousWords) {
    int64_t runningNumber = 0;
    const std::vector<size_t> firsts = FirstOccurrences(text, suspiciousWords);
    for (size_t w = 0; w < suspiciousWords.size(); ++w) {
        const std::string& word = suspiciousWords[w];
        // A word found only at the very first byte is not looked for at all (an empty word is
        // skipped the same way).
        size_t first = firsts[w];
        if (first == std::string_view::npos || first == 0) continue;
        view.SetFocus();
        view.SetSelection({0, 0});
        CharRange match = view.FindText({0, -1}, word);
        while (match.min >= 0) {
            ++runningNumber;
            int64_t line = view.LineFromChar(match.min);
            problemList.Add(ProblemKind::kSuspicious, [&] {
                return FormatGbkMessage(msg::kSuspiciousFormat, {runningNumber, line, word});
            });
            view.SetSelection(match);
            view.ApplyHighlightToSelection();
            int32_t next = match.max > match.min ? match.max : match.min + 1;
            match = view.FindText({next, -1}, word);
        }
    }
}

// The view's forward search for two-byte needles, remembering the last answer per needle: the
// text does not change while the check runs, so a search from a later start that the last one
// covered has the same answer. Without this, a book full of pairs the view cannot find (a UTF-8
// file, say) searched to the end of the text once per pair.
class PairSearches {
  public:
    explicit PairSearches(const RichEdit& view) : view_(view), last_(65536) {}

    CharRange Find(int32_t from, std::string_view pair) {
        const size_t key = (static_cast<size_t>(static_cast<unsigned char>(pair[0])) << 8) |
                           static_cast<unsigned char>(pair[1]);
        Search& last = last_[key];
        if (last.known && last.from <= from && (last.match.min < 0 || last.match.min >= from)) {
            return last.match;
        }
        last = {true, from, view_.FindText({from, -1}, pair)};
        return last.match;
    }

  private:
    struct Search {
        bool known = false;
        int32_t from = 0;
        CharRange match{};
    };
    const RichEdit& view_;
    std::vector<Search> last_;
};

void ReportGarbledPairs(CMyRECtrl& bookText, FindingList& problemList, std::string_view text) {
    RichEdit& view = bookText.View();
    PairSearches searches(view);
    size_t i = 0;
    while (i + 1 < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead <= 0x7F) {
            ++i;
            continue;
        }
        unsigned char trail = static_cast<unsigned char>(text[i + 1]);
        if (!IsGb2312Lead(lead) || !IsGb2312Trail(trail)) {
            std::string_view pair = text.substr(i, 2);
            view.SetFocus();
            view.SetSelection({0, 0});
            int32_t line = bookText.LineContainingOffset(static_cast<int32_t>(i));
            int32_t from = view.LineIndex(line);
            if (from < 0) from = 0;
            CharRange match = searches.Find(from, pair);
            if (match.min >= 0) {
                int64_t foundLine = view.LineFromChar(match.min);
                problemList.Add(ProblemKind::kGarbled, [&] {
                    return FormatGbkMessage(msg::kGarbledFormat, {foundLine, pair});
                });
                view.SetSelection(match);
            }
        }
        i += 2;
    }
}

void ReportShortLines(const CMyRECtrl& bookText, FindingList& problemList) {
    for (int32_t line = bookText.NextShortLine(-1); line >= 0;
         line = bookText.NextShortLine(line)) {
        problemList.Add(ProblemKind::kEmptyLine, [&] {
            return FormatGbkMessage(msg::kEmptyLineFormat, {static_cast<int64_t>(line)});
        });
    }
}

void ReportChapterFaults(CMyRECtrl& bookText, std::string_view text, ListBox& chapterList,
                         ListBox& problemList, ChapterModel& chapters, bool lastBeyondEnd) {
    uint32_t count = chapters.Count();
    for (uint32_t i = 0; i < count; ++i) {
        const ChapterRecord& chapter = *chapters.RecordAt(i);
        std::string_view title = chapter.Title();
        // A last chapter past the end has a wrapped length that says nothing about its size.
        bool sizeKnown = !(lastBeyondEnd && i + 1 == count);
        if (sizeKnown && chapter.length > kChapterSizeLimit) {
            AddProblemEntry(problemList, ProblemKind::kBlocking,
                            FormatGbkMessage(msg::kTooLongFormat, {title}));
            chapterList.SetItemData(static_cast<int32_t>(i), kProblemMark);
        } else if (sizeKnown && (ChapterHoldsOnlyItsTitle(text, chapter, true) ||
                                 ChapterHoldsOnlyItsTitle(text, chapter, false))) {
            // The heading line with its CR LF and nothing after it, or, at the end of the text,
            // the heading alone, which generation refuses too.
            AddProblemEntry(problemList, ProblemKind::kBlocking,
                            FormatGbkMessage(msg::kEmptyChapterFormat, {title}));
            chapterList.SetItemData(static_cast<int32_t>(i), kProblemMark);
        }
        for (uint32_t j = i + 1; j < count; ++j) {
            const ChapterRecord& later = *chapters.RecordAt(j);
            if (later.Title() != title) continue;
            int64_t line = bookText.LineOfOffset(later.offset);
            AddProblemEntry(
                problemList, ProblemKind::kBlocking,
                FormatGbkMessage(msg::kDuplicateAtLineFormat, {later.Title(), title, line}));
            chapterList.SetItemData(static_cast<int32_t>(j), kProblemMark);
        }
        if (!HeadingStartsItsLine(bookText, chapter)) {
            AddProblemEntry(problemList, ProblemKind::kBlocking,
                            FormatGbkMessage(msg::kNotAtLineStartFormat, {title}));
        }
    }
}

}  // namespace

void RunTestCommand(CMyRECtrl& bookText, ListBox& chapterList, ListBox& problemList,
                    ChapterModel& chapters, const std::vector<std::string>& suspiciousWords,
                    std::string_view bookSourcePath) {
    DeleteAllItems(problemList);
    RichEdit& view = bookText.View();
    std::string text = ReadBookText(view);

    FindingList findings(problemList);
    ReportSuspiciousWords(view, findings, text, suspiciousWords);
    ReportGarbledPairs(bookText, findings, text);
    ReportShortLines(bookText, findings);
    // Before the chapter entries, which are few and must never be cut off.
    findings.AddClosingEntry();

    bool lastBeyondEnd = false;
    uint32_t offsetFault =
        ComputeChapterLengths(chapters, static_cast<uint32_t>(text.size()), &lastBeyondEnd);
    if (offsetFault != 0) {
        AddProblemEntry(
            problemList, ProblemKind::kBlocking,
            FormatGbkMessage(msg::kOffsetErrorFormat, {static_cast<int64_t>(offsetFault)}));
    }
    ReportChapterFaults(bookText, text, chapterList, problemList, chapters, lastBeyondEnd);

    // Marks from earlier runs count too: the list is repainted whenever it shows any.
    for (int32_t i = 0, n = chapterList.GetCount(); i < n; ++i) {
        if (chapterList.GetItemData(i) == kProblemMark) {
            chapterList.Invalidate();
            break;
        }
    }

    if (chapters.Count() < 2)
        AddProblemEntry(problemList, ProblemKind::kBlocking, Utf8ToGbk(msg::kTooFewChapters));
    if (chapters.OffsetAt(0) != 0) {
        AddProblemEntry(problemList, ProblemKind::kBlocking, Utf8ToGbk(msg::kFirstNotAtStartEntry));
    }
    if (BookFileNameBytes(bookSourcePath) > kMaxBookFileNameBytes) {
        AddProblemEntry(problemList, ProblemKind::kBlocking, Utf8ToGbk(msg::kNameTooLongEntry));
    }
}

}  // namespace brisna
