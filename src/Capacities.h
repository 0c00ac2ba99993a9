#pragma once
// The fixed capacities of the program, in one place. Everything that sizes a buffer or
// checks a limit names one of these.

#include <cstddef>
#include <cstdint>

namespace brisna {

// A book text (and any file the program reads whole) must stay below 10 MiB.
inline constexpr uint32_t kMaxTextBytes = 0xA00000;  // 10,485,760
// A chapter title: 64 bytes of GBK including the terminating NUL.
inline constexpr size_t kTitleBytes = 64;
// Titles read from a text line keep at most this many bytes.
inline constexpr size_t kTitleTextBytes = 60;
// The chapter model, the chapter lists of the generator and every book file hold at most this.
inline constexpr uint32_t kMaxChapters = 98;
// The largest block either codec handles, and the capacity of every zlib buffer.
inline constexpr uint32_t kBlockBytes = 65536;
// A chapter may hold at most this many GBK bytes to be generated.
inline constexpr uint32_t kChapterSizeLimit = 0x7800;  // 30,720
// The longest file name (in GBK bytes, extension included) a book may be generated from.
inline constexpr size_t kMaxBookFileNameBytes = 34;
// Edit fields are read with a buffer of this size (so at most one byte less of text).
inline constexpr size_t kEditFieldBufferBytes = 60;
// Search and heading buffers of the detection commands.
inline constexpr size_t kHeadingBufferBytes = 128;
// HeadingParts text fields: 64 bytes, at most 63 of text.
inline constexpr size_t kHeadingFieldBytes = 64;

// .qbr2 files: a new file about every 800 KB of GBK text, blocks of 64 KiB of UTF-16.
inline constexpr uint32_t kQbr2FileStep = 819200;
inline constexpr uint32_t kQbr2SmallRest = 81920;
inline constexpr uint32_t kQbr2PieceBytes = 65526;
inline constexpr uint32_t kQbr2MaxBlocks = 160;
inline constexpr uint32_t kQbr2HeaderBytes = 104;
// .qbr files: a new file about every 400 KB, chapters of at most 32,764 UTF-16 bytes.
inline constexpr uint32_t kQbrFileStep = 409600;
inline constexpr uint32_t kQbrSmallRest = 40960;
inline constexpr uint32_t kQbrPieceBytes = 32764;
inline constexpr uint32_t kQbrHeaderBytes = 16;

// Title fields of the book formats, in UTF-16 units.
inline constexpr size_t kBookNameUnits = 32;
inline constexpr size_t kQbrTitleUnits = 32;
inline constexpr size_t kQbr2TitleUnits = 30;

}  // namespace brisna
