#include "book/Qbr2Format.h"

#include <algorithm>
#include <cstring>

#include "book/AtomicFile.h"
#include "book/BookMessages.h"
#include "book/ZlibBlock.h"
#include "text/CodePage936.h"
#include "text/FileNames.h"
#include "text/GbkText.h"

namespace brisna {

namespace {

constexpr size_t kChapterRecordBytes = 72;
constexpr size_t kBlockRecordBytes = 8;
// Readers take the whole 64-byte title field, though the writer fills at most 30 units.
constexpr size_t kRecordTitleUnits = 32;
// The reader's whole buffer: the file and, behind it, the inflated text.
constexpr uint64_t kReadBufferBytes = 0x1400000;

uint16_t Get16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}
uint32_t Get32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}
void Put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}
void Put32(uint8_t* at, uint32_t value) {
    for (int k = 0; k < 4; ++k) at[k] = static_cast<uint8_t>(value >> (8 * k));
}

Qbr2ReadResult Failure(std::string_view utf8Message) {
    Qbr2ReadResult result;
    result.message = Utf8ToGbk(utf8Message);
    return result;
}

constexpr std::string_view kLengthError = book_messages::kParseLengthError;
constexpr std::string_view kChapterError = book_messages::kParseChapterError;
constexpr std::string_view kBlockError = book_messages::kParseBlockError;
constexpr std::string_view kContentError = book_messages::kParseContentError;

}  // namespace

std::array<uint8_t, Qbr2Header::kSize> Qbr2Header::Serialize() const {
    std::array<uint8_t, kSize> bytes{};
    Put32(&bytes[0], reserved);
    Put16(&bytes[4], headerLength);
    Put16(&bytes[6], version);
    Put32(&bytes[8], fileLength);
    std::memcpy(&bytes[12], bookName.data(), bookName.size());
    Put32(&bytes[76], textLength);
    Put32(&bytes[80], indexCompressedLength);
    Put32(&bytes[84], firstBlockCompressedLength);
    Put16(&bytes[88], chapterCount);
    Put16(&bytes[90], blockCount);
    Put32(&bytes[92], zero92);
    Put32(&bytes[96], zero96);
    Put32(&bytes[100], textCompressedLength);
    return bytes;
}

Qbr2Header Qbr2Header::Parse(const uint8_t* bytes) {
    Qbr2Header header;
    header.reserved = Get32(bytes);
    header.headerLength = Get16(bytes + 4);
    header.version = Get16(bytes + 6);
    header.fileLength = Get32(bytes + 8);
    std::memcpy(header.bookName.data(), bytes + 12, header.bookName.size());
    header.textLength = Get32(bytes + 76);
    header.indexCompressedLength = Get32(bytes + 80);
    header.firstBlockCompressedLength = Get32(bytes + 84);
    header.chapterCount = Get16(bytes + 88);
    header.blockCount = Get16(bytes + 90);
    header.zero92 = Get32(bytes + 92);
    header.zero96 = Get32(bytes + 96);
    header.textCompressedLength = Get32(bytes + 100);
    return header;
}

void PutTitleField(std::string_view gbkTitle, size_t maxUnits, uint8_t* field, size_t fieldBytes) {
    std::memset(field, 0, fieldBytes);
    std::u16string units = GbkToUtf16(gbkTitle);
    units.resize(std::min({units.size(), maxUnits, fieldBytes / 2}));
    for (size_t k = 0; k < units.size(); ++k) Put16(field + 2 * k, units[k]);
}

std::string TitleFromField(const uint8_t* field, size_t units) {
    std::u16string title;
    for (size_t k = 0; k < units; ++k) {
        char16_t unit = Get16(field + 2 * k);
        if (unit == 0) break;
        title.push_back(unit);
    }
    std::string gbk = Utf16ToGbk(title);
    size_t kept = 0;
    while (kept < gbk.size()) {
        size_t next = kept + GbkCharLength(gbk, kept);
        if (next > kTitleBytes - 1) break;
        kept = next;
    }
    gbk.resize(kept);
    return gbk;
}

std::array<uint8_t, 64> Qbr2BookName(std::string_view outputPath) {
    const size_t slash = outputPath.rfind('/');
    std::string_view fileName =
        slash == std::string_view::npos ? outputPath : outputPath.substr(slash + 1);
    std::u16string units = FileNameToUtf16(fileName);
    // Drop four characters (the extension but its full stop); a surrogate pair is one character.
    for (int dropped = 0; dropped < 4 && !units.empty(); ++dropped) {
        const char16_t last = units.back();
        units.pop_back();
        if (last >= 0xDC00 && last <= 0xDFFF && !units.empty() && units.back() >= 0xD800 &&
            units.back() <= 0xDBFF) {
            units.pop_back();
        }
    }
    std::array<uint8_t, 64> field{};
    const size_t kept = std::min(units.size(), kBookNameUnits);
    for (size_t k = 0; k < kept; ++k) Put16(&field[2 * k], units[k]);
    return field;
}

int WriteQbr2(std::string_view bookText, std::span<const ChapterRecord> chapters,
              const std::string& outputPath, Qbr2Header& builtHeader, int* writeError) {
    std::string file;
    if (!EncodeQbr2(bookText, chapters, outputPath, builtHeader, file)) return -1;
    return WriteFileAtomically(outputPath, file, writeError) ? 0 : -1;
}

bool EncodeQbr2(std::string_view bookText, std::span<const ChapterRecord> chapters,
                std::string_view outputPath, Qbr2Header& builtHeader, std::string& file) {
    if (chapters.size() > 0xFFFF) return false;

    // The file's text in UTF-16LE, chapter after chapter, and the chapter records.
    std::string text;
    std::vector<uint8_t> index(chapters.size() * kChapterRecordBytes);
    size_t consumed = 0;
    for (size_t i = 0; i < chapters.size(); ++i) {
        const ChapterRecord& chapter = chapters[i];
        if (chapter.length > bookText.size() - consumed) return false;
        const std::u16string units = GbkToUtf16(bookText.substr(consumed, chapter.length));
        consumed += chapter.length;
        uint8_t* record = &index[i * kChapterRecordBytes];
        PutTitleField(chapter.Title(), kQbr2TitleUnits, record, 64);
        if (text.size() + 2 * units.size() > uint64_t{kQbr2MaxBlocks} * kBlockBytes) return false;
        Put32(record + 64, static_cast<uint32_t>(text.size()));
        Put32(record + 68, static_cast<uint32_t>(2 * units.size()));
        text += Utf16ToLeBytes(units);
    }

    const uint32_t textLength = static_cast<uint32_t>(text.size());
    const uint32_t blockCount = (textLength + kBlockBytes - 1) / kBlockBytes;
    const size_t blockRecordBytes = size_t{blockCount} * kBlockRecordBytes;
    if (index.size() + blockRecordBytes > kBlockBytes) return false;
    index.insert(index.end(), blockRecordBytes, uint8_t{0});

    // Blocks of 65536 bytes, each compressed on its own, back to back.
    std::vector<uint8_t> compressedText;
    std::vector<uint8_t> scratch(kBlockBytes);
    uint32_t firstBlockLength = 0;
    for (uint32_t block = 0; block < blockCount; ++block) {
        const size_t from = size_t{block} * kBlockBytes;
        const size_t length = std::min<size_t>(kBlockBytes, text.size() - from);
        const int64_t produced =
            ZlibCompressBlock(reinterpret_cast<const uint8_t*>(text.data()) + from, length,
                              scratch.data(), scratch.size());
        if (produced < 0) return false;
        if (block == 0) firstBlockLength = static_cast<uint32_t>(produced);
        uint8_t* record = &index[chapters.size() * kChapterRecordBytes + block * kBlockRecordBytes];
        Put32(record, static_cast<uint32_t>(compressedText.size()));
        Put32(record + 4, static_cast<uint32_t>(produced));
        compressedText.insert(compressedText.end(), scratch.begin(), scratch.begin() + produced);
    }

    const int64_t indexCompressed =
        ZlibCompressBlock(index.data(), index.size(), scratch.data(), scratch.size());
    if (indexCompressed < 0) return false;

    Qbr2Header header;
    header.textLength = textLength;
    header.blockCount = static_cast<uint16_t>(blockCount);
    header.firstBlockCompressedLength = firstBlockLength;
    header.textCompressedLength = static_cast<uint32_t>(compressedText.size());
    header.indexCompressedLength = static_cast<uint32_t>(indexCompressed);
    header.chapterCount = static_cast<uint16_t>(chapters.size());
    header.fileLength =
        static_cast<uint32_t>(Qbr2Header::kSize + indexCompressed + compressedText.size());
    header.bookName = Qbr2BookName(outputPath);
    builtHeader = header;

    file.clear();
    file.reserve(header.fileLength);
    const auto headerBytes = header.Serialize();
    file.append(reinterpret_cast<const char*>(headerBytes.data()), headerBytes.size());
    file.append(reinterpret_cast<const char*>(scratch.data()),
                static_cast<size_t>(indexCompressed));
    file.append(reinterpret_cast<const char*>(compressedText.data()), compressedText.size());
    return true;
}

Qbr2ReadResult ReadQbr2(std::string_view fileBytes) {
    const auto* file = reinterpret_cast<const uint8_t*>(fileBytes.data());
    const uint64_t fileSize = fileBytes.size();
    if (fileSize < Qbr2Header::kSize) return Failure(kLengthError);
    const Qbr2Header header = Qbr2Header::Parse(file);
    // Summed wide, so fields that wrap around 32 bits cannot pass for the file's size.
    if (fileSize != uint64_t{Qbr2Header::kSize} + header.indexCompressedLength + header.zero96 +
                        header.textCompressedLength) {
        return Failure(kLengthError);
    }

    const uint64_t indexLength = uint64_t{kChapterRecordBytes} * header.chapterCount +
                                 uint64_t{kBlockRecordBytes} * header.blockCount;
    if (indexLength > kBlockBytes) return Failure(kChapterError);
    std::vector<uint8_t> index(indexLength);
    if (ZlibUncompressBlock(file + Qbr2Header::kSize, header.indexCompressedLength, index.data(),
                            index.size()) != static_cast<int64_t>(indexLength)) {
        return Failure(kChapterError);
    }

    // The text area starts where the header says it ends, which a damaged file may put anywhere.
    const uint64_t textStart = uint64_t{header.headerLength} + header.indexCompressedLength;
    const uint8_t* blockRecords = index.data() + kChapterRecordBytes * header.chapterCount;
    const uint64_t textCapacity = kReadBufferBytes > fileSize ? kReadBufferBytes - fileSize : 0;
    std::string text;
    for (uint32_t block = 0; block < header.blockCount; ++block) {
        int64_t expected;
        if (header.blockCount == 1) {
            expected = header.textLength;
        } else {
            expected = std::min<int64_t>(kBlockBytes,
                                         int64_t{header.textLength} - int64_t{kBlockBytes} * block);
        }
        // A block holds 1 to 65536 bytes of text, inside the reader's buffer.
        if (expected <= 0 || expected > kBlockBytes ||
            text.size() + static_cast<uint64_t>(expected) > textCapacity) {
            return Failure(kBlockError);
        }
        const uint8_t* record = blockRecords + block * kBlockRecordBytes;
        const uint64_t from = textStart + Get32(record);
        const uint32_t length = Get32(record + 4);
        if (from > fileSize || length > fileSize - from) return Failure(kBlockError);
        const size_t before = text.size();
        text.resize(before + static_cast<size_t>(expected));
        if (ZlibUncompressBlock(file + from, length, reinterpret_cast<uint8_t*>(&text[before]),
                                static_cast<size_t>(expected)) != expected) {
            return Failure(kBlockError);
        }
    }
    if (text.size() != header.textLength) return Failure(kContentError);

    Qbr2ReadResult result;
    result.chapters.reserve(header.chapterCount);
    const std::u16string units = LeBytesToUtf16(text);
    size_t taken = 0;
    for (uint32_t i = 0; i < header.chapterCount; ++i) {
        const uint8_t* record = index.data() + i * kChapterRecordBytes;
        const size_t chapterUnits = Get32(record + 68) / 2;
        // Chapters follow one another from the start of the text; none may run past its end.
        if (chapterUnits > units.size() - taken) return Failure(kChapterError);
        BookChapter chapter;
        chapter.title = TitleFromField(record, kRecordTitleUnits);
        chapter.text = Utf16ToGbk(std::u16string_view(units).substr(taken, chapterUnits));
        taken += chapterUnits;
        result.chapters.push_back(std::move(chapter));
    }
    // Text after the last chapter would belong to no chapter and be lost.
    if (taken != units.size()) return Failure(kChapterError);
    result.ok = true;
    return result;
}

}  // namespace brisna
