#include "parts/PartPlan.h"

#include <algorithm>
#include <limits>
#include <set>
#include <tuple>

#include "Capacities.h"
#include "book/BookFiles.h"
#include "book/BookMessages.h"
#include "book/CCompressLZ77.h"
#include "book/GenerationPlan.h"
#include "check/ValidationRules.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "detect/ChineseNumerals.h"
#include "text/CodePage936.h"
#include "text/FileNames.h"
#include "text/GbkText.h"

namespace brisna {

namespace {

// A part's book must hold two chapters at least.
constexpr uint32_t kMinPartChapters = 2;

// The title cut on a character boundary so that it and the mark fit a title's 60 bytes.
std::string TitleWithMark(std::string_view title, std::string_view mark) {
    size_t room = kTitleTextBytes > mark.size() ? kTitleTextBytes - mark.size() : 0;
    size_t cut = 0;
    while (cut < title.size()) {
        size_t length = GbkCharLength(title, cut);
        if (cut + length > room) break;
        cut += length;
    }
    return std::string(title.substr(0, cut)) + std::string(mark);
}

std::string ContinuationTitle(std::string_view title, uint32_t piece) {
    return TitleWithMark(title, Utf8ToGbk("（") + RenderChineseNumber(piece) + Utf8ToGbk("）"));
}

// A book refuses two chapters of one title, and novels whose volumes count from 第一章 again
// repeat titles. A repeated title is told apart by its volume ("第二卷 第一章"), else by a number.
std::string DistinctTitle(const std::string& title, const std::string& volume,
                          const std::set<std::string>& taken) {
    if (!taken.count(title)) return title;
    if (!volume.empty()) {
        std::string withVolume = TitleWithMark(volume + " " + title, "");
        if (!taken.count(withVolume)) return withVolume;
    }
    for (int n = 2;; ++n) {
        std::string numbered = TitleWithMark(title, "-" + std::to_string(n));
        if (!taken.count(numbered)) return numbered;
    }
}

uint32_t LastCharacterBoundary(std::string_view text, uint32_t start, uint32_t limit) {
    uint32_t at = start;
    while (at < limit) {
        uint32_t length = static_cast<uint32_t>(GbkCharLength(text, at));
        if (at + length > limit) break;
        at += length;
    }
    return at > start ? at : limit;
}

// The end of the next piece of [start, end): pieces as even as the paragraphs allow, so no piece
// is left with a scrap. The paragraph end nearest the even share within the size limit, or a
// character boundary when one paragraph is longer than the limit.
uint32_t PieceEnd(std::string_view text, uint32_t start, uint32_t end) {
    const uint32_t rest = end - start;
    if (rest <= kChapterSizeLimit) return end;
    const uint32_t pieces = (rest + kChapterSizeLimit - 1) / kChapterSizeLimit;
    const uint32_t share = (rest + pieces - 1) / pieces;
    const uint32_t limit = start + kChapterSizeLimit;
    const uint32_t target = start + share;
    // Paragraph ends follow an LF.
    std::string_view window = text.substr(start, limit - start);
    size_t before = window.rfind('\n', target - start - 1);
    size_t after = window.find('\n', target - start);
    uint32_t best = 0;
    if (before != std::string_view::npos) best = start + static_cast<uint32_t>(before) + 1;
    if (after != std::string_view::npos) {
        uint32_t later = start + static_cast<uint32_t>(after) + 1;
        if (best == 0 || later - target < target - best) best = later;
    }
    // Only a paragraph end that leaves a piece of some size; else a long paragraph is cut.
    if (best != 0 && best - start >= share / 2) return best;
    return LastCharacterBoundary(text, start, target);
}

std::string TrimmedEnd(std::string_view title) {
    while (!title.empty() && (title.back() == ' ' || title.back() == '\t')) title.remove_suffix(1);
    size_t start = 0;
    while (start < title.size() && (title[start] == ' ' || title[start] == '\t')) ++start;
    return std::string(title.substr(start));
}

// Keeps the first message a check shows: the reason a part would be refused.
class FirstMessageHost : public DialogHost {
  public:
    void ShowMessage(std::string_view gbkText, MessageCaption) override {
        if (message.empty()) message = gbkText;
    }
    void ShowFileMessage(std::string_view gbkText, MessageCaption caption, std::string_view,
                         std::string_view) override {
        ShowMessage(gbkText, caption);
    }
    std::optional<std::string> ChooseFileToOpen(FileFilter) override { return std::nullopt; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::string GetFieldText(int) override { return {}; }

    std::string message;
};

// Joins every chapter the .qbr cannot hold to the chapter that follows it (the last to the one
// before), where the two fit the chapter size limit. `tooShort` receives, per chapter left,
// whether it still cannot be held. The blocks coded to judge them are kept in `codes`, so writing
// the parts need not code them again.
void JoinTooShortChapters(std::string_view text, std::vector<ChapterRecord>& chapters,
                          std::vector<bool>& volumeStart, std::vector<bool>& tooShort,
                          QbrBlockCodes& codes) {
    CCompressLZ77 codec;
    tooShort.assign(chapters.size(), false);
    size_t i = 0;
    while (i < chapters.size()) {
        const ChapterRecord& chapter = chapters[i];
        if (codes.JudgeChapter(text, chapter.offset, chapter.length, codec)) {
            tooShort[i] = false;
            ++i;
            continue;
        }
        if (i + 1 < chapters.size() &&
            uint64_t{chapter.length} + chapters[i + 1].length <= kChapterSizeLimit) {
            // The later chapter starts where the short one did; its heading stays in the text.
            chapters[i + 1].offset = chapter.offset;
            chapters[i + 1].length += chapter.length;
            volumeStart[i + 1] = volumeStart[i + 1] || volumeStart[i];
            chapters.erase(chapters.begin() + static_cast<std::ptrdiff_t>(i));
            volumeStart.erase(volumeStart.begin() + static_cast<std::ptrdiff_t>(i));
            tooShort.erase(tooShort.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (i > 0 && i + 1 == chapters.size() &&
            uint64_t{chapters[i - 1].length} + chapter.length <= kChapterSizeLimit) {
            chapters[i - 1].length += chapter.length;
            chapters.erase(chapters.begin() + static_cast<std::ptrdiff_t>(i));
            volumeStart.erase(volumeStart.begin() + static_cast<std::ptrdiff_t>(i));
            tooShort.erase(tooShort.begin() + static_cast<std::ptrdiff_t>(i));
            --i;  // judged again with its new end
            continue;
        }
        tooShort[i] = true;
        ++i;
    }
}

// Generation's verdict on a part, without writing anything: empty when it would be written,
// else the first message generation would show.
std::string RefusalOfPart(std::string_view text, const PlannedPart& part,
                          const std::vector<bool>& tooShort) {
    HeadlessRichEdit view;
    view.SetText(text.substr(part.textOffset, part.textLength));
    CMyRECtrl bookText(view);
    bookText.RebuildLineTable();
    HeadlessListBox list;
    ChapterModel model;
    for (const ChapterRecord& record : part.RelativeChapters()) {
        list.AddString(record.Title());
        model.Append(record);
    }
    FirstMessageHost host;
    if (!RunGenerateChecks(bookText, list, model, host, part.sourcePath)) return host.message;
    for (size_t i = 0; i < part.chapters.size(); ++i) {
        if (tooShort[i]) {
            return FormatGbkMessage(book_messages::kChapterTooShortFormat,
                                    {std::string(WholeGbkCharacters(part.chapters[i].Title()))});
        }
    }
    return {};
}

}  // namespace

std::vector<PlanHeading> HeadingsOfOutline(const BookOutline& outline) {
    std::vector<PlanHeading> headings;
    for (const OutlineEntry& entry : outline.entries) {
        headings.push_back({entry.title, entry.offset, entry.kind == OutlineEntryKind::kVolume,
                            entry.kind == OutlineEntryKind::kFrontMatter});
    }
    return headings;
}

std::vector<ChapterRecord> PlannedPart::RelativeChapters() const {
    std::vector<ChapterRecord> relative = chapters;
    for (ChapterRecord& record : relative) record.offset -= textOffset;
    return relative;
}

size_t PartPlan::ChapterCount() const {
    size_t count = 0;
    for (const PlannedPart& part : parts) count += part.chapters.size();
    return count;
}

std::vector<ChapterRecord> CutLongChapters(std::string_view text,
                                           const std::vector<ChapterRecord>& chapters) {
    std::vector<ChapterRecord> cut;
    for (const ChapterRecord& chapter : chapters) {
        if (chapter.length <= kChapterSizeLimit) {
            cut.push_back(chapter);
            continue;
        }
        const uint32_t end = chapter.offset + chapter.length;
        uint32_t start = chapter.offset;
        for (uint32_t piece = 1; start < end; ++piece) {
            uint32_t pieceEnd = PieceEnd(text, start, end);
            ChapterRecord record;
            record.SetTitle(piece == 1 ? std::string(chapter.Title())
                                       : ContinuationTitle(chapter.Title(), piece));
            record.offset = start;
            record.length = pieceEnd - start;
            cut.push_back(record);
            start = pieceEnd;
        }
    }
    return cut;
}

std::vector<uint32_t> PartSizes(const std::vector<bool>& volumeStart) {
    const size_t n = volumeStart.size();
    if (n <= kMaxChapters)
        return n == 0 ? std::vector<uint32_t>{} : std::vector<uint32_t>{uint32_t(n)};
    // Best split of the first i chapters: (parts, cuts off a volume start, sum of squared part
    // sizes), compared in that order.
    using Cost = std::tuple<uint64_t, uint64_t, uint64_t>;
    const Cost none{std::numeric_limits<uint64_t>::max(), 0, 0};
    std::vector<Cost> best(n + 1, none);
    std::vector<uint32_t> from(n + 1, 0);
    best[0] = {0, 0, 0};
    for (size_t i = 1; i <= n; ++i) {
        uint64_t offVolume = i < n && !volumeStart[i] ? 1 : 0;
        for (size_t size = kMinPartChapters; size <= kMaxChapters && size <= i; ++size) {
            size_t j = i - size;
            if (std::get<0>(best[j]) == std::numeric_limits<uint64_t>::max()) continue;
            Cost cost{std::get<0>(best[j]) + 1, std::get<1>(best[j]) + offVolume,
                      std::get<2>(best[j]) + size * size};
            if (cost < best[i]) {
                best[i] = cost;
                from[i] = static_cast<uint32_t>(j);
            }
        }
    }
    std::vector<uint32_t> sizes;
    for (size_t i = n; i > 0; i = from[i]) sizes.push_back(static_cast<uint32_t>(i - from[i]));
    std::reverse(sizes.begin(), sizes.end());
    return sizes;
}

namespace {

// The chapter records of the headings: a chapter that follows a volume line begins at that line,
// so the volume's heading travels with its first chapter; blank lines before the first heading
// go with it. volumeStart tells which chapters begin a volume; volumes lists the volume lines.
std::vector<ChapterRecord> ChapterRecordsOf(std::string_view text,
                                            const std::vector<PlanHeading>& headings,
                                            std::vector<bool>& volumeStart,
                                            std::vector<PlanHeading>& volumes) {
    std::vector<ChapterRecord> records;
    bool pendingVolume = false;
    uint32_t pendingOffset = 0;
    for (const PlanHeading& heading : headings) {
        if (heading.volume) {
            if (!pendingVolume) pendingOffset = heading.offset;
            pendingVolume = true;
            volumes.push_back(heading);
            continue;
        }
        ChapterRecord record;
        record.SetTitle(heading.title);
        record.offset = pendingVolume ? pendingOffset : heading.offset;
        if (records.empty() && text.substr(0, std::min<size_t>(record.offset, text.size()))
                                       .find_first_not_of(" \t\r\n") == std::string_view::npos) {
            record.offset = 0;
        }
        records.push_back(record);
        volumeStart.push_back(pendingVolume);
        pendingVolume = false;
    }
    return records;
}

}  // namespace

PartPlan PlanParts(std::string_view text, const std::vector<PlanHeading>& headings,
                   std::string_view bookSourcePath) {
    PartPlan plan;
    plan.bookSourcePath = std::string(bookSourcePath);
    const uint32_t textLength = static_cast<uint32_t>(text.size());
    std::vector<bool> volumeStart;
    std::vector<PlanHeading> volumes;
    std::vector<ChapterRecord> records = ChapterRecordsOf(text, headings, volumeStart, volumes);
    if (records.empty()) {
        plan.status = PartPlanStatus::kNoHeadings;
        return plan;
    }
    auto codes = std::make_shared<QbrBlockCodes>();
    CCompressLZ77 frontCodec;
    if (headings.front().frontMatter && records.size() >= 2 &&
        !codes->JudgeChapter(
            text, 0, static_cast<uint32_t>(std::min<size_t>(records[1].offset, text.size())),
            frontCodec)) {
        records.erase(records.begin());
        volumeStart.erase(volumeStart.begin());
        records.front().offset = 0;
    }
    if (records.front().offset != 0) {
        plan.status = PartPlanStatus::kFirstNotAtStart;
        return plan;
    }
    if (!ComputeWorkingLengths(records, textLength)) {
        plan.status = PartPlanStatus::kBadOffsets;
        return plan;
    }
    // Pieces of a long chapter never start a volume.
    std::vector<ChapterRecord> cut = CutLongChapters(text, records);
    std::vector<bool> cutVolumeStart;
    for (size_t i = 0, k = 0; k < cut.size(); ++k) {
        bool first = i < records.size() && cut[k].offset == records[i].offset;
        cutVolumeStart.push_back(first && volumeStart[i]);
        if (first) ++i;
    }
    std::vector<bool> tooShort;
    JoinTooShortChapters(text, cut, cutVolumeStart, tooShort, *codes);
    plan.qbrCodes = std::move(codes);

    std::vector<uint32_t> sizes = PartSizes(cutVolumeStart);
    const int partCount = static_cast<int>(sizes.size());
    size_t next = 0;
    size_t volume = 0;
    std::string volumeTitle;
    std::vector<std::vector<bool>> tooShortByPart;
    for (int k = 0; k < partCount; ++k) {
        PlannedPart part;
        part.number = k + 1;
        part.chapters.assign(cut.begin() + static_cast<std::ptrdiff_t>(next),
                             cut.begin() + static_cast<std::ptrdiff_t>(next + sizes[k]));
        tooShortByPart.emplace_back(
            tooShort.begin() + static_cast<std::ptrdiff_t>(next),
            tooShort.begin() + static_cast<std::ptrdiff_t>(next + sizes[k]));
        next += sizes[k];
        part.textOffset = part.chapters.front().offset;
        const ChapterRecord& last = part.chapters.back();
        part.textLength = last.offset + last.length - part.textOffset;
        std::set<std::string> titles;
        for (ChapterRecord& chapter : part.chapters) {
            // The volume lines this chapter begins with come before it.
            while (volume < volumes.size() &&
                   volumes[volume].offset < chapter.offset + chapter.length) {
                PartLine line;
                line.volume = true;
                line.record.SetTitle(volumes[volume].title);
                line.record.offset = volumes[volume].offset;
                part.lines.push_back(line);
                volumeTitle = TrimmedEnd(volumes[volume].title);
                ++volume;
            }
            std::string title = DistinctTitle(std::string(chapter.Title()), volumeTitle, titles);
            chapter.SetTitle(title);
            titles.insert(title);
            part.lines.push_back({chapter, false});
        }
        if (partCount == 1) {
            part.sourcePath = std::string(bookSourcePath);
        } else {
            part.sourcePath = PartSourcePath(bookSourcePath, part.number, partCount);
            if (part.sourcePath.empty()) {
                plan.status = PartPlanStatus::kNameTooLong;
                plan.parts.clear();
                plan.qbrCodes.reset();
                return plan;
            }
        }
        plan.parts.push_back(std::move(part));
    }
    for (size_t k = 0; k < plan.parts.size(); ++k) {
        const PlannedPart& part = plan.parts[k];
        std::string refusal = RefusalOfPart(text, part, tooShortByPart[k]);
        if (!refusal.empty()) {
            plan.status = PartPlanStatus::kPartRefused;
            plan.refusedPart = part.number;
            plan.refusal = std::move(refusal);
            break;
        }
    }
    return plan;
}

}  // namespace brisna
