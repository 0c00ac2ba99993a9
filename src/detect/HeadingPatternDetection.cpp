#include "detect/HeadingPatternDetection.h"

#include <algorithm>

#include "chapters/ManualChapterCommands.h"
#include "detect/DetectMessages.h"
#include "text/CodePage936.h"

namespace brisna {

namespace msg = detect_messages;

namespace {

int32_t PercentOf(uint64_t part, size_t whole) {
    if (whole == 0) return 0;
    return static_cast<int32_t>(std::min<uint64_t>(100, part * 100 / whole));
}

int32_t Clamped(size_t count) {
    return static_cast<int32_t>(std::min<size_t>(count, INT32_MAX));
}

}  // namespace

std::vector<HeadingCandidate> HeadingCandidatesOf(const BookOutline& outline, size_t textSize) {
    std::vector<HeadingCandidate> candidates;
    if (!outline.HasHeadings()) return candidates;
    auto first = std::find_if(outline.entries.begin(), outline.entries.end(), [](const auto& e) {
        return e.kind != OutlineEntryKind::kFrontMatter;
    });
    HeadingCandidate whole;
    whole.startHeading = outline.runs.empty() ? first->title : outline.runs.front().firstHeading;
    whole.chapters = Clamped(outline.ChapterCount());
    whole.firstLine = first->line;
    whole.firstLineOffset = first->offset;
    whole.coveragePercent =
        PercentOf(textSize - std::min<size_t>(textSize, first->offset), textSize);
    candidates.push_back(whole);
    if (outline.runs.size() < 2) return candidates;
    for (size_t i = 0; i < outline.runs.size(); ++i) {
        const OutlineRun& run = outline.runs[i];
        size_t end = i + 1 < outline.runs.size() ? outline.runs[i + 1].firstOffset : textSize;
        HeadingCandidate candidate;
        candidate.startHeading = run.firstHeading;
        candidate.chapters = Clamped(run.chapters);
        candidate.firstLine = run.firstLine;
        candidate.firstLineOffset = run.firstOffset;
        candidate.coveragePercent =
            PercentOf(end - std::min<size_t>(end, run.firstOffset), textSize);
        candidates.push_back(candidate);
    }
    return candidates;
}

std::vector<HeadingCandidate> DetectHeadingPatterns(std::string_view gbkText) {
    return HeadingCandidatesOf(BuildBookOutline(gbkText), gbkText.size());
}

std::string FormatHeadingCandidate(const HeadingCandidate& candidate) {
    std::string line = candidate.startHeading;
    line += '\t';
    line += std::to_string(candidate.chapters);
    line += '\t';
    line += std::to_string(candidate.coveragePercent);
    line += '%';
    if (candidate.firstLine != 0) {
        line += '\t';
        line += Utf8ToGbk(msg::FromLine(int64_t{candidate.firstLine} + 1));
    }
    return line;
}

void MarkOutlineChapters(const BookOutline& outline, ListBox& chapterList, ChapterModel& chapters) {
    DeleteAllChapters(chapterList, chapters);
    bool afterVolume = false;
    uint32_t volumeOffset = 0;
    for (const OutlineEntry& entry : outline.entries) {
        if (entry.kind == OutlineEntryKind::kVolume) {
            if (!afterVolume) volumeOffset = entry.offset;
            afterVolume = true;
            continue;
        }
        ChapterRecord record;
        record.SetTitle(entry.title);
        record.offset = afterVolume ? volumeOffset : entry.offset;
        afterVolume = false;
        chapterList.AddString(record.Title());
        chapters.Append(record);
    }
}

}  // namespace brisna
