#include "detect/HeadingPatternDetection.h"

#include <algorithm>
#include <map>
#include <optional>

#include "Capacities.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "detect/ChineseNumerals.h"
#include "detect/HeadingOccurrences.h"
#include "detect/HeadingParser.h"
#include "detect/IncrementalChapterAdd.h"
#include "detect/KeywordChapterAdd.h"
#include "detect/TextLines.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

namespace {

// The runs are tried on a copy of the book; these bound the work on a book full of numbers.
constexpr size_t kMaxForms = 6;
constexpr size_t kMaxStartsPerForm = 4;

struct Occurrence {
    int32_t number = 0;
    size_t lineStart = 0;
    int32_t line = 0;
    std::string heading;  // the heading as it stands, from its first byte
};

// Tells nothing: the runs on the copy must not talk to the operator.
class SilentHost : public DialogHost {
  public:
    void ShowMessage(std::string_view, MessageCaption) override {}
    std::optional<std::string> ChooseFileToOpen(FileFilter) override { return std::nullopt; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::string GetFieldText(int) override { return {}; }
};

struct Words {
    std::string di = Utf8ToGbk("第");
    std::string juan = Utf8ToGbk("卷");
    std::vector<std::string> units;
    std::string preface = Utf8ToGbk("前言");
    Words() {
        for (const char* unit : {"章", "回", "节", "卷", "集", "部", "篇", "话"}) {
            units.push_back(Utf8ToGbk(unit));
        }
    }
};

const Words& GbkWords() {
    static const Words words;
    return words;
}

bool OnlySpaces(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

size_t LeadingSpaces(std::string_view text) {
    size_t n = 0;
    while (n < text.size() && text[n] == ' ') ++n;
    return n;
}

// The form of a heading that begins `head` (a line from its first non-blank byte, without its
// line break) and the heading's own bytes; nothing when the line begins no heading. `lineEnds`
// tells whether a line break follows `head`.
std::optional<std::pair<std::string, Occurrence>> HeadingAtLineStart(std::string_view head,
                                                                     bool lineEnds) {
    const Words& words = GbkWords();
    std::string_view parsed = head.substr(0, kHeadingFieldBytes - 1);
    // Most lines of a book begin with no heading: decide that from their first character before
    // parsing.
    unsigned char first = static_cast<unsigned char>(head.empty() ? 0 : head[0]);
    bool maybe = (first >= '0' && first <= '9') || first == 'C';
    if (first >= 0x80 && head.size() >= 2) {
        maybe = head.starts_with(words.di) || head.starts_with(words.juan) ||
                IsChineseNumeralStart(first, static_cast<unsigned char>(head[1]));
    }
    if (!maybe) return std::nullopt;
    HeadingParts parts = ParseHeading(parsed);
    if (parts.number <= 0) return std::nullopt;
    std::string_view prefix = parts.Prefix();
    std::string_view suffix = parts.Suffix();
    size_t numeralEnd = parsed.size() - suffix.size();
    Occurrence occurrence;
    occurrence.number = parts.number;
    std::string form;
    const char style = parts.isArabic ? 'a' : 'c';
    if (prefix.starts_with(words.di) && OnlySpaces(prefix.substr(words.di.size()))) {
        size_t spaces = LeadingSpaces(suffix);
        std::string_view unit = suffix.substr(spaces, 2);
        if (std::find(words.units.begin(), words.units.end(), unit) == words.units.end()) {
            return std::nullopt;
        }
        occurrence.heading = std::string(parsed.substr(0, numeralEnd + spaces + 2));
        form = std::string("di|") + std::string(prefix) + "|" +
               std::string(suffix.substr(0, spaces + 2));
    } else if ((prefix.starts_with("Chapter") || prefix.starts_with("CHAPTER")) &&
               prefix.size() > 7 && OnlySpaces(prefix.substr(7)) && parts.isArabic) {
        occurrence.heading = std::string(parsed.substr(0, numeralEnd));
        form = std::string("en|") + std::string(prefix);
    } else if (prefix.starts_with(words.juan) && OnlySpaces(prefix.substr(words.juan.size()))) {
        occurrence.heading = std::string(parsed.substr(0, numeralEnd));
        form = std::string("juan|") + std::string(prefix);
    } else if (prefix.empty() && suffix.empty() && lineEnds && numeralEnd == head.size()) {
        // A number alone on its line: the line break belongs to the heading, or "1" would also
        // match every line that begins with 1.
        occurrence.heading = std::string(head) + "\r\n";
        form = "number|";
    } else {
        return std::nullopt;
    }
    form += style;
    return std::make_pair(std::move(form), std::move(occurrence));
}

// What a form needs for the runs: how often it occurs, and where the runs may start (the first
// few headings with the lowest number). Kept small, so a text of a million numbered lines costs
// no memory per line.
struct Form {
    size_t count = 0;
    size_t firstSeen = 0;
    std::vector<Occurrence> starts;

    void Add(Occurrence occurrence) {
        ++count;
        if (!starts.empty() && occurrence.number > starts.front().number) return;
        if (!starts.empty() && occurrence.number < starts.front().number) starts.clear();
        if (starts.size() < kMaxStartsPerForm) starts.push_back(std::move(occurrence));
    }
};

std::map<std::string, Form> CollectForms(std::string_view text) {
    std::map<std::string, Form> forms;
    size_t seen = 0;
    ForEachTextLine(text, [&](const TextLine& line) {
        auto found = HeadingAtLineStart(line.content.substr(line.firstText), line.endsWithCrLf);
        if (!found) return;
        found->second.lineStart = line.start;
        found->second.line = line.number;
        Form& form = forms[found->first];
        if (form.count == 0) form.firstSeen = seen++;
        form.Add(std::move(found->second));
    });
    return forms;
}

int32_t CoveragePercent(const ChapterModel& model, uint32_t firstChapter, size_t textSize) {
    uint32_t count = model.Count();
    if (count <= firstChapter || textSize == 0) return 0;
    uint64_t covered = 0;
    uint64_t longest = 0;
    for (uint32_t i = firstChapter; i + 1 < count; ++i) {
        uint64_t span = model.OffsetAt(i + 1) - static_cast<uint64_t>(model.OffsetAt(i));
        if (model.OffsetAt(i + 1) < model.OffsetAt(i)) span = 0;
        covered += span;
        longest = std::max(longest, span);
    }
    // The last chapter runs to the end of the book, but a contents list would then seem to cover
    // everything: count it at most as long as the longest of the others.
    uint64_t last = textSize - std::min<uint64_t>(textSize, model.OffsetAt(count - 1));
    if (count - firstChapter >= 2) last = std::min(last, longest);
    covered += last;
    return static_cast<int32_t>(std::min<uint64_t>(100, covered * 100 / textSize));
}

// The run of the incremental add (headings at line start) without the chapter list's limit:
// the line start of every heading it would take. A book of more chapters than a list holds is
// counted in full this way.
std::vector<size_t> UncappedRun(std::string_view text, std::string heading, size_t from) {
    std::vector<size_t> lineStarts;
    size_t occurrence = detection::FindHeading(text, heading, static_cast<int64_t>(from), true);
    HeadingParts parts = ParseHeading(heading);
    while (occurrence != std::string::npos) {
        size_t lf = occurrence == 0 ? std::string_view::npos : text.rfind('\n', occurrence - 1);
        lineStarts.push_back(lf == std::string_view::npos ? 0 : lf + 1);
        if (!detection::AdvanceNumber(parts)) break;
        int64_t after = detection::PositionAfter(occurrence, heading.size());
        if (detection::HasNoNextHeading(parts)) break;
        heading = ComposeHeading(parts);
        occurrence = detection::FindHeading(text, heading, after, true);
    }
    return lineStarts;
}

// The share of the text a run covers, as CoveragePercent counts it, from the chapters' line
// starts.
int32_t RunCoveragePercent(const std::vector<size_t>& starts, size_t textSize) {
    if (starts.empty() || textSize == 0) return 0;
    uint64_t covered = 0;
    uint64_t longest = 0;
    for (size_t i = 0; i + 1 < starts.size(); ++i) {
        uint64_t span = starts[i + 1] > starts[i] ? starts[i + 1] - starts[i] : 0;
        covered += span;
        longest = std::max(longest, span);
    }
    uint64_t last = textSize - std::min<uint64_t>(textSize, starts.back());
    if (starts.size() >= 2) last = std::min(last, longest);
    covered += last;
    return static_cast<int32_t>(std::min<uint64_t>(100, covered * 100 / textSize));
}

bool Better(const HeadingCandidate& a, const HeadingCandidate& b) {
    if (a.chapters != b.chapters) return a.chapters > b.chapters;
    if (a.coveragePercent != b.coveragePercent) return a.coveragePercent > b.coveragePercent;
    return a.firstLine < b.firstLine;
}

// The heading as the operator reads it: without the line break a number-only heading carries.
std::string_view ShownHeading(const HeadingCandidate& candidate) {
    std::string_view heading = candidate.startHeading;
    if (heading.ends_with("\r\n")) heading.remove_suffix(2);
    return heading;
}

// "从第N行开始" (UTF-8, N counted from 1) for a run that does not start on the first line.
std::string StartLineNote(const HeadingCandidate& candidate) {
    if (candidate.firstLine == 0) return {};
    std::string note = "从第";
    note += std::to_string(candidate.firstLine + 1);
    note += "行开始";
    return note;
}

}  // namespace

std::vector<HeadingCandidate> DetectHeadingPatterns(std::string_view gbkText) {
    // The copy the runs work on; its text is what the incremental add itself would read.
    HeadlessRichEdit view;
    view.SetText(gbkText);
    const std::string text = detection::ReadBookText(view);
    CMyRECtrl bookText(view);
    SilentHost host;

    std::map<std::string, Form> forms = CollectForms(text);
    std::vector<const Form*> order;
    for (const auto& [key, form] : forms) order.push_back(&form);
    // The forms seen most often first; the earlier one on a tie, so the result does not depend
    // on how the forms are keyed.
    std::sort(order.begin(), order.end(), [](const Form* a, const Form* b) {
        if (a->count != b->count) return a->count > b->count;
        return a->firstSeen < b->firstSeen;
    });
    if (order.size() > kMaxForms) order.resize(kMaxForms);

    std::vector<HeadingCandidate> candidates;
    for (const Form* form : order) {
        std::optional<HeadingCandidate> best;
        // A run may start at every heading with the lowest number: a contents list, and books
        // whose volumes each count from 1 again, hold several.
        for (const Occurrence& start : form->starts) {
            HeadlessListBox list;
            ChapterModel model;
            uint32_t front = 0;
            if (start.lineStart != 0) {
                list.AddString("-");
                model.Append(ChapterRecord{});
                front = 1;
            }
            int32_t scan = static_cast<int32_t>(std::min<size_t>(start.lineStart, kMaxTextBytes));
            IncrementalChapterAddFrom(start.heading, bookText, list, model, host, scan, true);
            HeadingCandidate candidate;
            candidate.startHeading = start.heading;
            candidate.chapters = static_cast<int32_t>(model.Count() - front);
            candidate.coveragePercent = CoveragePercent(model, front, text.size());
            if (model.Count() >= kMaxChapters) {
                // The list filled up before the run ended: count the rest of the book too.
                std::vector<size_t> run = UncappedRun(text, start.heading, start.lineStart);
                candidate.chapters = static_cast<int32_t>(run.size());
                candidate.coveragePercent = RunCoveragePercent(run, text.size());
            }
            candidate.firstLine = start.line;
            candidate.firstLineOffset = static_cast<uint32_t>(start.lineStart);
            if (candidate.chapters >= 2 && (!best || Better(candidate, *best))) best = candidate;
        }
        if (best) candidates.push_back(std::move(*best));
    }
    std::stable_sort(candidates.begin(), candidates.end(), Better);
    return candidates;
}

std::string FormatHeadingCandidate(const HeadingCandidate& candidate) {
    std::string line(ShownHeading(candidate));
    line += '\t';
    line += std::to_string(candidate.chapters);
    line += '\t';
    line += std::to_string(candidate.coveragePercent);
    line += '%';
    std::string note = StartLineNote(candidate);
    if (!note.empty()) {
        line += '\t';
        line += Utf8ToGbk(note);
    }
    return line;
}

std::string FormatTooManyChaptersMessage(int64_t chapters) {
    return Utf8ToGbk("本书共" + std::to_string(chapters) + "章，超过98章，请用“分册生成”");
}

bool IsPlausibleCandidate(const HeadingCandidate& candidate) {
    return candidate.chapters >= 2 && candidate.coveragePercent >= 50;
}

std::string FrontMatterTitle(std::string_view gbkText, size_t end) {
    end = std::min(end, gbkText.size());
    size_t at = 0;
    while (at < end) {
        size_t lf = gbkText.find('\n', at);
        size_t lineEnd = lf == std::string_view::npos || lf > end ? end : lf;
        std::string_view line = gbkText.substr(at, lineEnd - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (SkipBlanks(line, 0) < line.size()) {
            size_t cut = 0;
            while (cut < line.size()) {
                size_t length = GbkCharLength(line, cut);
                if (cut + length > kTitleTextBytes) break;
                cut += length;
            }
            return std::string(line.substr(0, cut));
        }
        if (lf == std::string_view::npos) break;
        at = lf + 1;
    }
    return GbkWords().preface;
}

void AutoDetectChapters(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                        DialogHost& host, int32_t& detectionScanPosition) {
    WaitCursor wait(host);
    const std::string text = detection::ReadBookText(bookText.View());
    std::vector<HeadingCandidate> candidates = DetectHeadingPatterns(text);
    if (candidates.empty()) {
        host.ShowMessage(Utf8ToGbk("没有找到可以自动识别的章节标题"), MessageCaption::kPrompt);
        return;
    }
    std::vector<const HeadingCandidate*> plausible;
    for (const HeadingCandidate& candidate : candidates) {
        if (IsPlausibleCandidate(candidate) && plausible.size() < 3)
            plausible.push_back(&candidate);
    }
    if (plausible.size() > 1) {
        std::string message = Utf8ToGbk("找到多种章节标题，将按第一种添加：");
        for (size_t i = 0; i < plausible.size(); ++i) {
            const HeadingCandidate& c = *plausible[i];
            message += '\n';
            message += std::to_string(i + 1);
            message += ". ";
            message += ShownHeading(c);
            std::string counts = "：";
            counts += std::to_string(c.chapters);
            counts += "章，覆盖";
            counts += std::to_string(c.coveragePercent);
            counts += '%';
            std::string note = StartLineNote(c);
            if (!note.empty()) {
                counts += "，";
                counts += note;
            }
            message += Utf8ToGbk(counts);
        }
        host.ShowMessage(message, MessageCaption::kPrompt);
    }

    const HeadingCandidate& best = candidates.front();
    // More chapters than one book holds: marking the first 97 and refusing the rest helps no one.
    const int64_t marked = int64_t{best.chapters} + (best.firstLineOffset != 0 ? 1 : 0);
    if (static_cast<int64_t>(chapterList.GetCount()) + marked > int64_t{kMaxChapters}) {
        host.ShowMessage(FormatTooManyChaptersMessage(marked), MessageCaption::kPrompt);
        return;
    }
    host.SetFieldText(kStartChapterField, best.startHeading);
    // Text before the first heading (a title, an author line, a contents list) becomes the first
    // chapter: a book must begin with a chapter, and dropping the front matter would lose text.
    if (chapterList.GetCount() == 0 && best.firstLineOffset != 0) {
        ChapterRecord record;
        std::string title = FrontMatterTitle(text, best.firstLineOffset);
        record.SetTitle(title);
        record.offset = 0;
        chapterList.AddString(title);
        chapters.Append(record);
    }
    // The run starts at the candidate's line: a contents list before it is passed over.
    detectionScanPosition = static_cast<int32_t>(best.firstLineOffset);
    IncrementalChapterAddFrom(best.startHeading, bookText, chapterList, chapters, host,
                              detectionScanPosition, true);
}

}  // namespace brisna
