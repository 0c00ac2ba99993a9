#pragma once
// The .qbr book file: a 16-byte header, every chapter's UTF-16LE text as its own LZ77 block,
// then the LZ77-compressed index (book name, chapter records, block records).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "book/CCompressLZ77.h"
#include "book/Qbr2Format.h"
#include "chapters/ChapterRecord.h"

namespace brisna {

struct QbrWriteResult {
    enum class Status {
        kOk,
        kFailed,
        // A chapter's LZ77 form is not shorter than its text. The caller shows
        // "%s章节长度过短，无法生成QBR，建议合并章节" with failedChapterTitle (caption: the
        // application's name) before its own failure message.
        kChapterTooShort,
    };
    Status status = Status::kFailed;
    std::string failedChapterTitle;  // GBK, set with kChapterTooShort
    int error = 0;                   // the system's error number when writing the file failed

    bool ok() const { return status == Status::kOk; }
};

// Writes chapters (GBK titles, GBK lengths; offsets are not used) whose text starts at
// bookText[0] and follows chapter after chapter. The book name is copied from lastQbr2Header
// (the header of the last .qbr2 file built in the same run). The codec is reused for every
// block. The file appears whole or not at all.
QbrWriteResult WriteQbr(std::string_view bookText, std::span<const ChapterRecord> chapters,
                        const std::string& outputPath, const Qbr2Header& lastQbr2Header,
                        CCompressLZ77& codec);

// Builds the file WriteQbr writes, in memory, with the given book name field; nothing touches
// the disk. A failure is reported as WriteQbr reports it (error stays 0).
QbrWriteResult EncodeQbr(std::string_view bookText, std::span<const ChapterRecord> chapters,
                         const std::array<uint8_t, 64>& bookName, CCompressLZ77& codec,
                         std::string& encoded);

struct QbrReadResult {
    bool ok = false;
    std::string message;  // GBK failure message when !ok
    // Chapters in file order; after a failure, those decoded before the failing one.
    std::vector<BookChapter> chapters;
};

// Decodes a whole .qbr file: the index, then every chapter block in order; a 99th chapter is a
// chapter failure (after the 98 before it are decoded). Failure messages:
// "解析qbr文件失败，文件头错误" (index), "解析qbr文件失败，章节数据错误" (a chapter block), GBK.
QbrReadResult ReadQbr(std::string_view fileBytes);

}  // namespace brisna
