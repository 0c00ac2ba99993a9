#pragma once
// Reading an EPUB file as a book text and its chapters: the spine's documents in reading order
// become the GBK text, the table of contents (nav, else NCX, else one entry per document) the
// chapters. Nothing from the archive is ever written to disk.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "epub/EpubWriter.h"

namespace brisna {

// The largest EPUB file that is read (books carry pictures beside their text).
inline constexpr uint64_t kMaxEpubFileBytes = 64 * 1024 * 1024;
// The most one entry and all entries read from one archive may inflate to.
inline constexpr uint64_t kMaxEpubEntryBytes = 48 * 1024 * 1024;
inline constexpr uint64_t kMaxEpubInflatedBytes = 96 * 1024 * 1024;
// The most elements one document, and all documents of a book together, may hold: a tree of
// millions of empty elements costs far more memory than its few inflated bytes suggest.
inline constexpr size_t kMaxEpubDocumentElements = 500000;
inline constexpr size_t kMaxEpubBookElements = 2000000;
// Contents deeper than this are read as if they stood at this depth.
inline constexpr int kMaxEpubContentsDepth = 8;
// Contents titles are kept whole up to this many bytes (GBK), cut on a character boundary.
inline constexpr size_t kMaxEpubTitleBytes = 1024;

struct EpubBook {
    std::string text;  // GBK, CR LF after every line, below the 10 MiB text bound
    // Every entry of the contents with its level (1 the top), whole titles; offsets ascending,
    // each at a line start, the first at 0. Entries may share an offset (a volume and its first
    // chapter, when both lead to the same place).
    std::vector<TocEntry> toc;
    std::string title;      // GBK, from the package's metadata (may be empty)
    std::string notice;     // GBK: told once the book is open (contents replaced); may be empty
    EpubMetadata metadata;  // the package's metadata and cover as the source has them
    size_t replaced = 0;    // characters GBK cannot hold, written as '?'
    size_t firstReplacedLine = 0;  // 1-based line of the first of them; 0 if none
};

struct EpubReadResult {
    bool ok = false;
    std::string message;  // GBK, when !ok: why the file was refused
    EpubBook book;
};

// Reads the EPUB held in bytes.
EpubReadResult ReadEpub(std::string_view bytes);

}  // namespace brisna
