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

struct EpubBook {
    std::string text;              // GBK, CR LF after every line, below the 10 MiB text bound
    std::vector<TocEntry> toc;     // ascending offsets, each at a line start; the first at 0
    std::string title;             // GBK, from the package's metadata (may be empty)
    EpubMetadata metadata;         // the package's metadata and cover as the source has them
    size_t replaced = 0;           // characters GBK cannot hold, written as '?'
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
