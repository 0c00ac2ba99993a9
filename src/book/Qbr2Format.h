#pragma once
// The .qbr2 book file: a 104-byte header, a zlib index of chapter and block records, then the
// UTF-16LE text cut into 65536-byte blocks compressed one by one with zlib.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chapters/ChapterRecord.h"

namespace brisna {

// A chapter as the book readers give it back: title and text in GBK.
struct BookChapter {
    std::string title;  // GBK, at most 63 bytes, cut on a character boundary
    std::string text;   // GBK
};

// The header at file offset 0, field by field (little-endian in the file).
struct Qbr2Header {
    uint32_t reserved = 0;                    // 0
    uint16_t headerLength = 104;              // 4
    uint16_t version = 2;                     // 6
    uint32_t fileLength = 0;                  // 8: 104 + index and text compressed lengths
    std::array<uint8_t, 64> bookName = {};    // 12: UTF-16LE, zero-padded, at most 32 units
    uint32_t textLength = 0;                  // 76: UTF-16LE bytes of this file's text
    uint32_t indexCompressedLength = 0;       // 80
    uint32_t firstBlockCompressedLength = 0;  // 84
    uint16_t chapterCount = 0;                // 88
    uint16_t blockCount = 0;                  // 90: text length / 65536, rounded up
    uint32_t zero92 = 0;                      // 92
    uint32_t zero96 = 0;                      // 96: counted into the file length by readers
    uint32_t textCompressedLength = 0;        // 100: sum of the block compressed lengths

    static constexpr size_t kSize = 104;
    std::array<uint8_t, kSize> Serialize() const;
    // Reads the fields from 104 bytes.
    static Qbr2Header Parse(const uint8_t* bytes);
};

// Title fields of both formats: the GBK title as UTF-16LE, cut to maxUnits units, written into a
// zero-filled field of fieldBytes bytes.
void PutTitleField(std::string_view gbkTitle, size_t maxUnits, uint8_t* field, size_t fieldBytes);
// The GBK title held by a field of `units` UTF-16LE units (up to its first zero unit), cut on a
// character boundary to at most 63 bytes so it fits a ChapterRecord.
std::string TitleFromField(const uint8_t* field, size_t units);

// The book name a .qbr2 file carries: the last component of outputPath (after the last '/'),
// minus its last four characters, as UTF-16LE in a zero-filled 64-byte field (cut to 32 units).
// A name that is not valid UTF-8 is taken as GBK.
std::array<uint8_t, 64> Qbr2BookName(std::string_view outputPath);

// Writes chapters (GBK titles, GBK lengths; offsets are not used) whose text starts at
// bookText[0] and follows chapter after chapter. 0 on success, -1 on failure (text shorter than
// the chapters say, a block or index that zlib cannot fit in 65536 bytes, more than 160 blocks
// or 65535 chapters, a file that cannot be written). builtHeader receives the header built for
// the file (also on a failed write once it is built), for the .qbr writer's book name.
// The file appears whole or not at all; when writing it fails, *writeError (if given) receives
// the system's error number (it stays 0 for a book that cannot be built).
int WriteQbr2(std::string_view bookText, std::span<const ChapterRecord> chapters,
              const std::string& outputPath, Qbr2Header& builtHeader, int* writeError = nullptr);

// Builds the file WriteQbr2 writes, in memory: false when the book cannot be built (the same
// limits as WriteQbr2). Nothing touches the disk.
bool EncodeQbr2(std::string_view bookText, std::span<const ChapterRecord> chapters,
                std::string_view outputPath, Qbr2Header& builtHeader, std::string& file);

struct Qbr2ReadResult {
    bool ok = false;
    std::string message;                // GBK failure message when !ok
    std::vector<BookChapter> chapters;  // all chapters when ok, none otherwise
};

// Checks and decodes a whole .qbr2 file. On failure, message is the first failing check's
// message: "解析qbr文件失败，文件长度错误", "...章节数据错误", "...图书压缩块数据错误" or
// "...图书内容数据错误" (GBK). Every length and offset is checked before use; the chapters must
// cover the whole text.
Qbr2ReadResult ReadQbr2(std::string_view fileBytes);

}  // namespace brisna
