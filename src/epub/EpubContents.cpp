#include "epub/EpubContents.h"

#include <algorithm>
#include <functional>

#include "Capacities.h"
#include "text/CodePage936.h"

namespace brisna {

std::vector<TocEntry> TocFromChapters(const ChapterModel& chapters) {
    std::vector<TocEntry> toc;
    for (uint32_t i = 0; i < chapters.Count(); ++i) {
        const ChapterRecord& record = *chapters.RecordAt(i);
        toc.push_back({1, std::string(record.Title()), record.offset});
    }
    return toc;
}

std::vector<TocEntry> TocFromOutline(const BookOutline& outline) {
    std::vector<TocEntry> toc;
    bool insideVolume = false;
    for (const OutlineEntry& entry : outline.entries) {
        int level = 1;
        if (entry.kind == OutlineEntryKind::kVolume) {
            insideVolume = true;
        } else if (entry.kind != OutlineEntryKind::kFrontMatter && insideVolume) {
            level = 2;
        }
        toc.push_back({level, entry.title, entry.offset});
    }
    return toc;
}

namespace {

size_t TextHash(std::string_view text) {
    return std::hash<std::string_view>{}(text);
}

}  // namespace

void OpenedContents::Keep(std::vector<TocEntry> entries, EpubMetadata metadata,
                          std::string_view gbkText, const ChapterModel& chapters) {
    entries_ = std::move(entries);
    metadata_ = std::move(metadata);
    chaptersRevision_ = chapters.Revision();
    textSize_ = gbkText.size();
    textHash_ = TextHash(gbkText);
}

const std::vector<TocEntry>* OpenedContents::For(std::string_view gbkText,
                                                 const ChapterModel& chapters) const {
    if (entries_.empty() || chapters.Revision() != chaptersRevision_ ||
        gbkText.size() != textSize_ || TextHash(gbkText) != textHash_) {
        return nullptr;
    }
    return &entries_;
}

const EpubMetadata* OpenedContents::MetadataFor(std::string_view gbkText) const {
    if (!metadata_ || gbkText.size() != textSize_ || TextHash(gbkText) != textHash_) return nullptr;
    return &*metadata_;
}

std::vector<ContentsRow> ContentsRows(const std::vector<TocEntry>& entries, size_t textBytes) {
    std::vector<ContentsRow> rows;
    for (size_t i = 0; i < entries.size(); ++i) {
        size_t end = textBytes;
        for (size_t j = i + 1; j < entries.size(); ++j) {
            if (entries[j].offset != entries[i].offset) {
                end = entries[j].offset;
                break;
            }
        }
        const uint32_t offset =
            std::min<uint32_t>(entries[i].offset, static_cast<uint32_t>(textBytes));
        rows.push_back({offset, static_cast<uint32_t>(std::max(end, size_t{offset}) - offset),
                        entries[i].level, entries[i].title});
    }
    return rows;
}

std::string ContentsLine(const ContentsRow& row) {
    return std::to_string(row.offset) + '\t' + std::to_string(row.length) + '\t' +
           GbkToUtf8Lossless(row.title) + '\t' + std::to_string(row.level);
}

std::vector<TocEntry> WholeBookContents(std::string_view gbkText, const ChapterModel& chapters,
                                        const OpenedContents& opened) {
    if (const std::vector<TocEntry>* entries = opened.For(gbkText, chapters)) return *entries;
    if (chapters.Count() != 0) return {};
    BookOutline outline = BuildBookOutline(gbkText);
    if (outline.ChapterCount() <= kMaxChapters) return {};
    return TocFromOutline(outline);
}

}  // namespace brisna
