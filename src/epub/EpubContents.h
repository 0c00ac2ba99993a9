#pragma once
// Which table of contents an EPUB of the book is written with. The chapter list holds at most 98
// chapters; an EPUB holds any number, so a longer book is written from its whole outline, and an
// EPUB opened with a longer contents keeps that contents while the book stays as it was opened.

#include <cstdint>
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

// The whole contents of an opened EPUB that has more entries than the chapter list holds. It
// stands for the book only while neither the text nor the chapter list has changed since.
class OpenedContents {
  public:
    void Keep(std::vector<TocEntry> entries, std::string_view gbkText,
              const ChapterModel& chapters);
    void Clear() { entries_.clear(); }
    // The kept entries when the book is still the one they were kept for, else nothing.
    const std::vector<TocEntry>* For(std::string_view gbkText, const ChapterModel& chapters) const;

    // The package metadata (title, author, cover, ...) of the EPUB opened last. It describes
    // the book while the text is the one it was opened with, whatever chapters are marked since.
    void KeepMetadata(EpubMetadata metadata, std::string_view gbkText);
    const EpubMetadata* MetadataFor(std::string_view gbkText) const;

  private:
    std::vector<TocEntry> entries_;
    uint64_t chaptersRevision_ = 0;
    size_t textSize_ = 0;
    size_t textHash_ = 0;
    EpubMetadata metadata_;
    bool hasMetadata_ = false;
    size_t metadataTextSize_ = 0;
    size_t metadataTextHash_ = 0;
};

// The contents 生成EPUB writes when it is not the chapter list: the opened EPUB's whole contents
// while they hold, else, with no chapter marked in a book of more chapters than the list holds,
// the whole book's outline. Empty when the chapter list is what the EPUB is written from.
std::vector<TocEntry> WholeBookContents(std::string_view gbkText, const ChapterModel& chapters,
                                        const OpenedContents& opened);

}  // namespace brisna
