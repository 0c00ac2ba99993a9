#include "detect/BookOutline.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <tuple>

#include "Capacities.h"
#include "detect/DetectMessages.h"
#include "detect/OutlineCandidates.h"
#include "detect/TextLines.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna {

using namespace outline;

namespace {

struct FormRun {
    size_t count = 0;
    size_t first = 0;  // candidate index of its first and last heading
    size_t last = 0;
};

// The forms whose headings make chapters. The form seen most often comes first, a 第/Chapter
// form before a bare number (lists of numbered points are common inside chapters); another 第 or
// Chapter form counts too when its headings stand in a stretch of the book of their own (a book
// in 节, then 话, then 集), never between the headings of a form already taken (第N节 inside
// 第N章).
std::vector<FormKey> ChapterForms(const std::vector<Candidate>& candidates,
                                  const std::vector<bool>& dropped) {
    // A book holds a handful of forms: a list searched from the form seen last beats a map.
    std::vector<std::pair<FormKey, FormRun>> forms;
    size_t recent = 0;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const LineHeading& heading = candidates[i].heading();
        if (dropped[i] || heading.kind != OutlineEntryKind::kChapter) continue;
        if (recent >= forms.size() || !(forms[recent].first == heading.form)) {
            recent = 0;
            while (recent < forms.size() && !(forms[recent].first == heading.form)) ++recent;
            if (recent == forms.size()) forms.emplace_back(heading.form, FormRun{});
        }
        FormRun& run = forms[recent].second;
        if (run.count++ == 0) run.first = i;
        run.last = i;
    }
    // In the order of their names, as ties in the ranking below are broken.
    std::sort(forms.begin(), forms.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    auto bare = [](const FormKey& form) { return form.starts_with("number"); };
    std::vector<std::pair<FormKey, FormRun>> ranked = std::move(forms);
    auto rank = [&](const std::pair<FormKey, FormRun>& form) {
        return std::make_tuple(!bare(form.first) && form.second.count >= 2, form.second.count,
                               -static_cast<int64_t>(form.second.first));
    };
    std::stable_sort(ranked.begin(), ranked.end(),
                     [&](const auto& a, const auto& b) { return rank(a) > rank(b); });
    std::vector<FormKey> taken;
    std::vector<FormRun> spans;
    for (const auto& entry : ranked) {
        // Named, not a structured binding: the lambda below captures it.
        const auto& form = entry.first;
        const auto& run = entry.second;
        if (!taken.empty()) {
            // A later run of numbers alone is too often a numbered list in the prose.
            if (bare(form) || run.count < 2) continue;
            bool overlaps = std::any_of(spans.begin(), spans.end(), [&](const FormRun& span) {
                return run.first <= span.last && span.first <= run.last;
            });
            if (overlaps) continue;
        }
        taken.push_back(form);
        spans.push_back(run);
    }
    return taken;
}

}  // namespace

std::string OutlineTitle(std::string_view content) {
    size_t cut = 0;
    while (cut < content.size()) {
        size_t length = GbkCharLength(content, cut);
        if (cut + length > kTitleTextBytes) break;
        cut += length;
    }
    return std::string(content.substr(0, cut));
}

std::string FrontMatterTitle(std::string_view gbkText, size_t end) {
    end = std::min(end, gbkText.size());
    size_t at = 0;
    while (at < end) {
        size_t lf = gbkText.find('\n', at);
        size_t lineEnd = lf == std::string_view::npos || lf > end ? end : lf;
        std::string_view line = gbkText.substr(at, lineEnd - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (SkipBlanks(line, 0) < line.size()) return OutlineTitle(line);
        if (lf == std::string_view::npos) break;
        at = lf + 1;
    }
    return Utf8ToGbk(detect_messages::kFrontMatter);
}

size_t BookOutline::ChapterCount() const {
    return static_cast<size_t>(std::count_if(entries.begin(), entries.end(), [](const auto& e) {
        return e.kind != OutlineEntryKind::kVolume;
    }));
}

bool BookOutline::HasHeadings() const {
    return std::any_of(entries.begin(), entries.end(), [](const OutlineEntry& e) {
        return e.kind == OutlineEntryKind::kChapter || e.kind == OutlineEntryKind::kNamedSection;
    });
}

BookOutline BuildBookOutline(std::string_view text) {
    BookOutline outline;
    std::vector<Candidate> candidates = FindCandidates(text);
    std::vector<bool> dropped(candidates.size(), false);
    outline.contentsEntries = DropContentsLists(text, candidates, dropped);
    // Headings found only in a contents list: the one after the list is its last line, and the
    // book has no headings in its text.
    if (outline.contentsEntries > 0) {
        size_t left = 0;
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (!dropped[i] && candidates[i].heading().kind != OutlineEntryKind::kVolume) ++left;
        }
        if (left <= 1) {
            outline.contentsEntries += left;
            dropped.assign(candidates.size(), true);
        }
    }
    const std::vector<FormKey> forms = ChapterForms(candidates, dropped);
    auto taken = [&](const FormKey& form) {
        return std::find(forms.begin(), forms.end(), form) != forms.end();
    };

    std::vector<OutlineEntry> entries;
    // Room for the front matter too: the entries become the outline's without another copy.
    entries.reserve(candidates.size() + 1);
    // The run each form's chapters count in; a book holds a handful of forms.
    std::vector<std::pair<FormKey, size_t>> runOfForm;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (dropped[i]) continue;
        const Candidate& candidate = candidates[i];
        const LineHeading& heading = candidate.heading();
        const std::string_view content = candidate.content(text);
        bool chapter = heading.kind == OutlineEntryKind::kChapter;
        auto entryAt = [&](OutlineEntryKind kind, std::string title, int64_t number) {
            OutlineEntry entry;
            entry.kind = kind;
            entry.title = std::move(title);
            entry.offset = static_cast<uint32_t>(candidate.lineStart);
            entry.line = candidate.line;
            entry.number = number;
            entries.push_back(std::move(entry));
        };
        if (candidate.headings.volume) {
            // A volume and its first chapter on one line: the volume is titled by its part.
            size_t cut = candidate.firstText + candidate.headings.chapterAt;
            entryAt(OutlineEntryKind::kVolume, OutlineTitle(TrimmedTitle(content.substr(0, cut))),
                    *candidate.headings.volume);
            if (!taken(heading.form)) continue;
            entryAt(heading.kind, OutlineTitle(content.substr(cut)), heading.number);
        } else {
            if (chapter && !taken(heading.form)) continue;
            entryAt(heading.kind, OutlineTitle(content), heading.number);
        }
        if (!chapter) continue;
        auto at = std::find_if(runOfForm.begin(), runOfForm.end(),
                               [&](const auto& run) { return run.first == heading.form; });
        if (at == runOfForm.end()) {
            at = runOfForm.emplace(runOfForm.end(), heading.form, outline.runs.size());
            OutlineRun run;
            std::string_view head = content.substr(candidate.firstText);
            run.firstHeading =
                std::string(head.substr(heading.wordStart, heading.wordEnd - heading.wordStart));
            run.firstLine = candidate.line;
            run.firstOffset = static_cast<uint32_t>(candidate.lineStart);
            outline.runs.push_back(std::move(run));
        }
        ++outline.runs[at->second].chapters;
    }
    // A volume counts only when chapters follow it before the next volume; without them its line
    // is text of the chapter it stands in. A book of volumes alone has its volumes as chapters.
    bool anyChapter = std::any_of(entries.begin(), entries.end(), [](const OutlineEntry& e) {
        return e.kind == OutlineEntryKind::kChapter;
    });
    // Filtered in place: the book's entries are moved once more, into the outline.
    size_t kept = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        OutlineEntry& entry = entries[i];
        if (entry.kind == OutlineEntryKind::kVolume) {
            if (!anyChapter) {
                entry.kind = OutlineEntryKind::kChapter;
            } else {
                bool followed = false;
                for (size_t k = i + 1; k < entries.size(); ++k) {
                    if (entries[k].kind == OutlineEntryKind::kVolume) break;
                    if (entries[k].kind == OutlineEntryKind::kChapter) {
                        followed = true;
                        break;
                    }
                }
                if (!followed) continue;
            }
        }
        if (kept != i) entries[kept] = std::move(entry);
        ++kept;
    }
    entries.resize(kept);

    size_t firstOffset = entries.empty() ? text.size() : entries.front().offset;
    if (firstOffset > 0 && !OnlyBlankLines(text.substr(0, firstOffset))) {
        OutlineEntry front;
        front.kind = OutlineEntryKind::kFrontMatter;
        front.title = FrontMatterTitle(text, firstOffset);
        front.offset = 0;
        entries.insert(entries.begin(), std::move(front));
    }
    outline.entries = std::move(entries);
    return outline;
}

}  // namespace brisna
