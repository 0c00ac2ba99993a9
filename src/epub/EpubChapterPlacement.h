#pragma once
// The last step of reading an EPUB: its contents placed on the text as the book's chapters.
// Entries that lead nowhere stand where their first descendant leads; contents that say
// nothing about the chapters give way to the chapters recognised in the text; a book without
// contents gets one chapter per document; text ahead of the first chapter is a title page or a
// chapter of its own.

#include <cstddef>
#include <string>
#include <vector>

#include "epub/EpubContentsReading.h"
#include "epub/EpubReader.h"
#include "epub/EpubSpineText.h"

namespace brisna {

// A GBK text cut to at most `bytes` on a character boundary.
std::string CutGbk(std::string gbk, size_t bytes);

// Fills book.toc, and book.notice when the contents were replaced. book.metadata.title is the
// book's title as the package gives it.
void PlaceEpubChapters(const std::vector<EpubContentsPoint>& points, const EpubSpineText& spine,
                       EpubBook& book);

}  // namespace brisna
