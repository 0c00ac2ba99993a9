#include "epub/EpubContents.h"

#include <functional>

#include "Capacities.h"

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

void OpenedContents::Keep(std::vector<TocEntry> entries, std::string_view gbkText,
                          const ChapterModel& chapters) {
    entries_ = std::move(entries);
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

void OpenedContents::KeepMetadata(EpubMetadata metadata, std::string_view gbkText) {
    metadata_ = std::move(metadata);
    hasMetadata_ = true;
    metadataTextSize_ = gbkText.size();
    metadataTextHash_ = TextHash(gbkText);
}

const EpubMetadata* OpenedContents::MetadataFor(std::string_view gbkText) const {
    if (!hasMetadata_ || gbkText.size() != metadataTextSize_ ||
        TextHash(gbkText) != metadataTextHash_) {
        return nullptr;
    }
    return &metadata_;
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
