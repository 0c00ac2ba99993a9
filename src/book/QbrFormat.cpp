#include "book/QbrFormat.h"

#include <cstring>

#include "Capacities.h"
#include "book/AtomicFile.h"
#include "book/BookMessages.h"
#include "text/CodePage936.h"

namespace brisna {

namespace {

constexpr size_t kIndexHeadBytes = 72;  // book name, chapter count, block count
constexpr size_t kChapterRecordBytes = 72;
constexpr size_t kBlockRecordBytes = 12;

uint32_t Get32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}
void Put32(uint8_t* at, uint32_t value) {
    for (int k = 0; k < 4; ++k) at[k] = static_cast<uint8_t>(value >> (8 * k));
}

constexpr std::string_view kHeaderError = book_messages::kParseHeaderError;
constexpr std::string_view kChapterError = book_messages::kParseChapterError;

QbrWriteResult Failed() {
    return QbrWriteResult{};
}

}  // namespace

QbrWriteResult WriteQbr(std::string_view bookText, std::span<const ChapterRecord> chapters,
                        const std::string& outputPath, const Qbr2Header& lastQbr2Header,
                        CCompressLZ77& codec) {
    std::string file;
    QbrWriteResult result = EncodeQbr(bookText, chapters, lastQbr2Header.bookName, codec, file);
    if (!result.ok()) return result;
    int error = 0;
    if (!WriteFileAtomically(outputPath, file, &error)) {
        QbrWriteResult failed = Failed();
        failed.error = error;
        return failed;
    }
    return result;
}

QbrWriteResult EncodeQbr(std::string_view bookText, std::span<const ChapterRecord> chapters,
                         const std::array<uint8_t, 64>& bookName, CCompressLZ77& codec,
                         std::string& encoded) {
    const size_t count = chapters.size();
    const size_t indexLength = kIndexHeadBytes + (kChapterRecordBytes + kBlockRecordBytes) * count;
    if (indexLength > kLz77MaxBlockBytes) return Failed();

    std::vector<uint8_t> index(indexLength);
    std::memcpy(index.data(), bookName.data(), bookName.size());
    Put32(&index[64], static_cast<uint32_t>(count));
    Put32(&index[68], static_cast<uint32_t>(count));

    // Chapter texts in UTF-16LE, and the room their blocks and the index may need.
    std::vector<std::string> texts;
    texts.reserve(count);
    size_t consumed = 0;
    size_t room = kQbrHeaderBytes + indexLength + kLz77DestinationSlack;
    uint32_t textOffset = 0;
    for (size_t i = 0; i < count; ++i) {
        const ChapterRecord& chapter = chapters[i];
        if (chapter.length > bookText.size() - consumed) return Failed();
        texts.push_back(Utf16ToLeBytes(GbkToUtf16(bookText.substr(consumed, chapter.length))));
        consumed += chapter.length;
        const uint32_t textLength = static_cast<uint32_t>(texts.back().size());
        if (textLength > kLz77MaxBlockBytes) return Failed();
        uint8_t* record = &index[kIndexHeadBytes + i * kChapterRecordBytes];
        PutTitleField(chapter.Title(), kQbrTitleUnits, record, 64);
        Put32(record + 64, textOffset);
        Put32(record + 68, textLength);
        textOffset += textLength;
        room += textLength + kLz77DestinationSlack;
    }

    // Zero-filled: the coder's last byte carries zero padding.
    std::vector<uint8_t> file(room);
    uint32_t position = kQbrHeaderBytes;
    for (size_t i = 0; i < count; ++i) {
        const std::string& text = texts[i];
        const int produced =
            codec.Compress(reinterpret_cast<const uint8_t*>(text.data()),
                           static_cast<uint32_t>(text.size()), file.data() + position);
        if (produced < 0) return Failed();
        if (produced == 0) {
            QbrWriteResult result;
            result.status = QbrWriteResult::Status::kChapterTooShort;
            result.failedChapterTitle = std::string(chapters[i].Title());
            return result;
        }
        uint8_t* record =
            &index[kIndexHeadBytes + kChapterRecordBytes * count + i * kBlockRecordBytes];
        Put32(record, position);
        Put32(record + 4, static_cast<uint32_t>(produced));
        Put32(record + 8, static_cast<uint32_t>(text.size()));
        position += static_cast<uint32_t>(produced);
    }

    const int indexCompressed =
        codec.Compress(index.data(), static_cast<uint32_t>(index.size()), file.data() + position);
    if (indexCompressed <= 0) return Failed();

    Put32(&file[0], position);
    Put32(&file[4], static_cast<uint32_t>(indexLength));
    Put32(&file[8], static_cast<uint32_t>(indexCompressed));
    Put32(&file[12], position + static_cast<uint32_t>(indexCompressed));
    file.resize(position + static_cast<size_t>(indexCompressed));
    encoded.assign(reinterpret_cast<const char*>(file.data()), file.size());
    QbrWriteResult result;
    result.status = QbrWriteResult::Status::kOk;
    return result;
}

QbrReadResult ReadQbr(std::string_view fileBytes) {
    QbrReadResult result;
    const auto* file = reinterpret_cast<const uint8_t*>(fileBytes.data());
    const uint64_t fileSize = fileBytes.size();
    const auto fail = [&result](std::string_view utf8Message) {
        result.message = Utf8ToGbk(utf8Message);
        return std::move(result);
    };

    if (fileSize < kQbrHeaderBytes) return fail(kHeaderError);
    const uint64_t indexOffset = Get32(file);
    const uint32_t indexLength = Get32(file + 4);
    const uint32_t indexCompressed = Get32(file + 8);
    if (indexOffset > fileSize || indexCompressed > fileSize - indexOffset ||
        indexLength > kLz77MaxBlockBytes || indexLength < kIndexHeadBytes) {
        return fail(kHeaderError);
    }
    std::vector<uint8_t> index(indexLength);
    if (DecodeLz77(file + indexOffset, indexCompressed, index.data(), index.size(), indexLength) !=
        int64_t{indexLength}) {
        return fail(kHeaderError);
    }
    const uint32_t count = Get32(&index[64]);
    // The index must hold every record it announces.
    if (uint64_t{count} * (kChapterRecordBytes + kBlockRecordBytes) >
        indexLength - kIndexHeadBytes) {
        return fail(kHeaderError);
    }

    std::vector<uint8_t> block(kLz77MaxBlockBytes);
    uint64_t blocksEnd = kQbrHeaderBytes;
    for (uint32_t i = 0; i < count; ++i) {
        // No book holds more chapters than the editor takes: decoding hundreds first is waste.
        if (i >= kMaxChapters) return fail(kChapterError);
        const uint8_t* chapterRecord = &index[kIndexHeadBytes + i * kChapterRecordBytes];
        const uint8_t* blockRecord =
            &index[kIndexHeadBytes + count * kChapterRecordBytes + i * kBlockRecordBytes];
        const uint64_t from = Get32(blockRecord);
        const uint32_t length = Get32(blockRecord + 4);
        const uint32_t expected = Get32(blockRecord + 8);
        if (from > fileSize || length > fileSize - from || expected > kLz77MaxBlockBytes) {
            return fail(kChapterError);
        }
        // Blocks follow the header one after the other and end before the index: a block that
        // overlaps another or runs backwards would show one chapter's text under several titles.
        if (from < blocksEnd || from + length > indexOffset) return fail(kChapterError);
        blocksEnd = from + length;
        std::memset(block.data(), 0, block.size());
        if (DecodeLz77(file + from, length, block.data(), block.size(), expected) !=
            int64_t{expected}) {
            return fail(kChapterError);
        }
        BookChapter chapter;
        chapter.title = TitleFromField(chapterRecord, kQbrTitleUnits);
        chapter.text = Utf16ToGbk(LeBytesToUtf16(
            std::string_view(reinterpret_cast<const char*>(block.data()), expected)));
        result.chapters.push_back(std::move(chapter));
    }
    result.ok = true;
    return result;
}

}  // namespace brisna
