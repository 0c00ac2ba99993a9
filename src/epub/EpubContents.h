#pragma once
// Which table of contents an EPUB of the book is written with. The chapter list holds at most 98
// chapters; an EPUB holds any number, so a longer book is written from its whole outline, and an
// EPUB opened with a longer contents keeps that contents while the book stays as it was opened.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chapters/ChapterModel.h"
#include "detect/BookOutline.h"
#include "epub/EpubWriter.h"

namespace brisna {

// The table of contents of the chapter model: one top-level entry per chapter.
std::vector<TocEntry> TocFromChapters(const ChapterModel& chapters);

// The whole-book outline as a table of contents: volumes at the top level with their chapters
// below them, chapters of a book without volumes (and the front matter) at the top level.
std::vector<TocEntry> TocFromOutline(const BookOutline& outline);

// The whole contents of an opened EPUB (every entry, with its level and whole title) and the
// package's metadata. The contents stand for the book only while neither the text nor the
// chapter list has changed since; the metadata while the text has not.
class OpenedContents {
  public:
    void Keep(std::vector<TocEntry> entries, EpubMetadata metadata, std::string_view gbkText,
              const ChapterModel& chapters);
    void Keep(std::vector<TocEntry> entries, std::string_view gbkText,
              const ChapterModel& chapters) {
        Keep(std::move(entries), EpubMetadata(), gbkText, chapters);
    }
    void Clear() {
        entries_.clear();
        metadata_.reset();
    }
    // The kept entries when the book is still the one they were kept for, else nothing.
    const std::vector<TocEntry>* For(std::string_view gbkText, const ChapterModel& chapters) const;
    // The opened EPUB's metadata while the text is still the one it was opened with, else
    // nothing: what a book written from it carries over.
    const EpubMetadata* MetadataFor(std::string_view gbkText) const;

  private:
    std::vector<TocEntry> entries_;
    std::optional<EpubMetadata> metadata_;
    uint64_t chaptersRevision_ = 0;
    size_t textSize_ = 0;
    size_t textHash_ = 0;
};

// The contents 生成EPUB writes when it is not the chapter list: the opened EPUB's whole contents
// while they hold, else, with no chapter marked in a book of more chapters than the list holds,
// the whole book's outline. Empty when the chapter list is what the EPUB is written from.
std::vector<TocEntry> WholeBookContents(std::string_view gbkText, const ChapterModel& chapters,
                                        const OpenedContents& opened);

// One line of a contents listing: where an entry starts, how far it runs (to the next entry at
// another place, the last to the end of the text), its level and title.
struct ContentsRow {
    uint32_t offset = 0;
    uint32_t length = 0;
    int level = 1;
    std::string title;  // GBK
};
std::vector<ContentsRow> ContentsRows(const std::vector<TocEntry>& entries, size_t textBytes);
// The row as a listing prints it (UTF-8): offset, length, title and level, tab-separated.
std::string ContentsLine(const ContentsRow& row);

}  // namespace brisna
