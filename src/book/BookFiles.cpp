#include "book/BookFiles.h"

#include <cstring>
#include <functional>
#include <span>

#include "Capacities.h"
#include "book/BookMessages.h"
#include "book/CCompressLZ77.h"
#include "book/GenerationPlan.h"
#include "book/Qbr2Format.h"
#include "book/QbrFormat.h"
#include "chapters/ChapterTitle.h"
#include "check/ValidationRules.h"
#include "controls/ProblemEntryKind.h"
#include "text/CodePage936.h"
#include "text/FileReading.h"
#include "text/GbkText.h"

namespace brisna {

namespace msg = book_messages;

namespace {

std::span<const ChapterRecord> ChaptersOf(const std::vector<ChapterRecord>& list,
                                          const PlannedFile& file) {
    return std::span<const ChapterRecord>(list).subspan(file.firstChapter,
                                                        file.endChapter - file.firstChapter);
}

std::string_view TextOf(std::string_view text, const PlannedFile& file) {
    return text.substr(file.textOffset, file.textLength);
}

bool BlockCompresses(std::string_view gbk, CCompressLZ77& codec, std::vector<uint8_t>& coded) {
    const std::string bytes = Utf16ToLeBytes(GbkToUtf16(gbk));
    if (bytes.empty()) return false;
    if (bytes.size() > kLz77MaxBlockBytes) return true;  // refused by the writer for its size
    coded.assign(bytes.size() + kLz77DestinationSlack, 0);
    return codec.Compress(reinterpret_cast<const uint8_t*>(bytes.data()),
                          static_cast<uint32_t>(bytes.size()), coded.data()) > 0;
}

// Gives the .qbr writer the kept code of each chapter block, in the order it codes them, and
// codes whatever has none kept (the index among them). A kept code stands in only for the very
// text it was made from.
class KeptBlockCodec final : public CCompressLZ77 {
  public:
    void Expect(std::vector<const QbrBlockCodes::Block*> blocks) {
        expected_ = std::move(blocks);
        next_ = 0;
    }

    int Compress(const uint8_t* source, uint32_t sourceLength, uint8_t* destination) override {
        const QbrBlockCodes::Block* kept = next_ < expected_.size() ? expected_[next_] : nullptr;
        ++next_;
        if (kept == nullptr || kept->sourceBytes != sourceLength ||
            kept->sourceHash != QbrBlockCodes::Fingerprint(std::string_view(
                                    reinterpret_cast<const char*>(source), sourceLength))) {
            return CCompressLZ77::Compress(source, sourceLength, destination);
        }
        if (kept->code.empty()) return 0;
        std::memcpy(destination, kept->code.data(), kept->code.size());
        return static_cast<int>(kept->code.size());
    }

  private:
    std::vector<const QbrBlockCodes::Block*> expected_;
    size_t next_ = 0;
};

uint64_t BlockKey(uint32_t offset, uint32_t length) {
    return uint64_t{offset} << 32 | length;
}

EncodedBook EncodeFiles(std::string_view text, const std::vector<ChapterRecord>& chapters,
                        std::string_view bookSourcePath, const QbrBlockCodes* codes,
                        uint32_t codesOffset) {
    EncodedBook encoded;
    const uint32_t textLength = static_cast<uint32_t>(text.size());
    const std::string base = OutputBase(bookSourcePath);

    const std::vector<ChapterRecord> qbr2List = CutIntoPieces(text, chapters, kQbr2PieceBytes);
    Qbr2Header lastHeader;
    for (const PlannedFile& file : PlanFiles(qbr2List, textLength, kQbr2FileStep, kQbr2SmallRest)) {
        EncodedBookFile built{BookFileName(base, "qbr2", file.number), {}, true};
        if (!EncodeQbr2(TextOf(text, file), ChaptersOf(qbr2List, file), built.path, lastHeader,
                        built.bytes)) {
            encoded.status = EncodedBook::Status::kQbr2Failed;
            encoded.failedPath = built.path;
            return encoded;
        }
        encoded.files.push_back(std::move(built));
    }

    const std::vector<ChapterRecord> qbrList = CutIntoPieces(text, chapters, kQbrPieceBytes);
    KeptBlockCodec codec;
    for (const PlannedFile& file : PlanFiles(qbrList, textLength, kQbrFileStep, kQbrSmallRest)) {
        EncodedBookFile built{BookFileName(base, "qbr", file.number), {}, false};
        const std::span<const ChapterRecord> pieces = ChaptersOf(qbrList, file);
        std::vector<const QbrBlockCodes::Block*> kept;
        if (codes != nullptr) {
            for (const ChapterRecord& piece : pieces) {
                const uint64_t at = uint64_t{codesOffset} + piece.offset;
                kept.push_back(at <= UINT32_MAX
                                   ? codes->Find(static_cast<uint32_t>(at), piece.length)
                                   : nullptr);
            }
        }
        codec.Expect(std::move(kept));
        QbrWriteResult result =
            EncodeQbr(TextOf(text, file), pieces, lastHeader.bookName, codec, built.bytes);
        if (!result.ok()) {
            encoded.status = result.status == QbrWriteResult::Status::kChapterTooShort
                                 ? EncodedBook::Status::kChapterTooShort
                                 : EncodedBook::Status::kQbrFailed;
            encoded.failedPath = built.path;
            encoded.failedChapterTitle = std::move(result.failedChapterTitle);
            return encoded;
        }
        encoded.files.push_back(std::move(built));
    }
    return encoded;
}

}  // namespace

bool QbrBlockCodes::JudgeChapter(std::string_view text, uint32_t offset, uint32_t length,
                                 CCompressLZ77& codec) {
    const std::string_view chapterText =
        offset <= text.size() ? text.substr(offset, length) : std::string_view();
    ChapterRecord whole;
    whole.offset = 0;
    whole.length = static_cast<uint32_t>(chapterText.size());
    // Nearly every chapter is a single block, whose UTF-16 form is then already at hand.
    const std::u16string wholeUnits = GbkToUtf16(chapterText);
    const std::vector<ChapterRecord> pieces =
        wholeUnits.size() * 2 <= kQbrPieceBytes
            ? std::vector<ChapterRecord>{whole}
            : CutIntoPieces(chapterText, {whole}, kQbrPieceBytes);
    std::vector<uint8_t> coded;
    for (const ChapterRecord& piece : pieces) {
        const uint64_t key = BlockKey(offset + piece.offset, piece.length);
        if (auto found = blocks_.find(key); found != blocks_.end()) {
            if (found->second.code.empty()) return false;
            continue;
        }
        const std::string bytes = Utf16ToLeBytes(
            pieces.size() == 1 ? wholeUnits
                               : GbkToUtf16(chapterText.substr(piece.offset, piece.length)));
        if (bytes.empty()) return false;
        if (bytes.size() > kLz77MaxBlockBytes) continue;  // refused by the writer for its size
        coded.assign(bytes.size() + kLz77DestinationSlack, 0);
        const int produced = codec.Compress(reinterpret_cast<const uint8_t*>(bytes.data()),
                                            static_cast<uint32_t>(bytes.size()), coded.data());
        if (produced < 0) return false;
        Block& block = blocks_[key];
        block.sourceBytes = static_cast<uint32_t>(bytes.size());
        block.sourceHash = Fingerprint(bytes);
        block.code.assign(reinterpret_cast<const char*>(coded.data()),
                          static_cast<size_t>(produced));
        if (produced == 0) return false;
    }
    return true;
}

const QbrBlockCodes::Block* QbrBlockCodes::Find(uint32_t offset, uint32_t length) const {
    auto found = blocks_.find(BlockKey(offset, length));
    return found == blocks_.end() ? nullptr : &found->second;
}

uint64_t QbrBlockCodes::Fingerprint(std::string_view utf16LeBytes) {
    return std::hash<std::string_view>{}(utf16LeBytes);
}

EncodedBook EncodeBookFiles(std::string_view text, const std::vector<ChapterRecord>& chapters,
                            std::string_view bookSourcePath) {
    return EncodeFiles(text, chapters, bookSourcePath, nullptr, 0);
}

EncodedBook EncodeBookFiles(std::string_view text, const std::vector<ChapterRecord>& chapters,
                            std::string_view bookSourcePath, const QbrBlockCodes& codes,
                            uint32_t codesOffset) {
    return EncodeFiles(text, chapters, bookSourcePath, &codes, codesOffset);
}

void ShowEncodingFailure(const EncodedBook& encoded, DialogHost& host) {
    switch (encoded.status) {
        case EncodedBook::Status::kOk:
            return;
        case EncodedBook::Status::kQbr2Failed:
            host.ShowFileMessage(Utf8ToGbk(msg::kQbr2Failed), MessageCaption::kNone,
                                 encoded.failedPath, SystemErrorText(0));
            return;
        case EncodedBook::Status::kChapterTooShort:
            host.ShowMessage(
                FormatGbkMessage(msg::kChapterTooShortFormat,
                                 {std::string(WholeGbkCharacters(encoded.failedChapterTitle))}),
                MessageCaption::kAppName);
            [[fallthrough]];
        case EncodedBook::Status::kQbrFailed:
            host.ShowFileMessage(Utf8ToGbk(msg::kQbrFailed), MessageCaption::kNone,
                                 encoded.failedPath, SystemErrorText(0));
            return;
    }
}

bool CompressesAsQbrChapter(std::string_view chapterText, CCompressLZ77& codec) {
    ChapterRecord whole;
    whole.offset = 0;
    whole.length = static_cast<uint32_t>(chapterText.size());
    std::vector<uint8_t> coded;
    for (const ChapterRecord& piece : CutIntoPieces(chapterText, {whole}, kQbrPieceBytes)) {
        if (!BlockCompresses(chapterText.substr(piece.offset, piece.length), codec, coded)) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> TooShortQbrChapters(std::string_view text,
                                             const std::vector<ChapterRecord>& chapters) {
    std::vector<std::string> titles;
    CCompressLZ77 codec;
    std::vector<uint8_t> coded;
    for (const ChapterRecord& piece : CutIntoPieces(text, chapters, kQbrPieceBytes)) {
        if (piece.offset > text.size()) continue;
        if (!BlockCompresses(text.substr(piece.offset, piece.length), codec, coded)) {
            titles.emplace_back(piece.Title());
        }
    }
    return titles;
}

void ReportTooShortQbrChapters(std::string_view text, const ChapterModel& chapters,
                               ListBox& problemList) {
    if (chapters.Count() == 0) return;
    std::vector<ChapterRecord> records;
    for (uint32_t i = 0; i < chapters.Count(); ++i) records.push_back(*chapters.RecordAt(i));
    if (!ComputeWorkingLengths(records, static_cast<uint32_t>(text.size()))) return;
    for (const ChapterRecord& record : records) {
        if (record.length > kChapterSizeLimit) return;
    }
    for (const std::string& title : TooShortQbrChapters(text, records)) {
        AddProblemEntry(problemList, ProblemKind::kBlocking,
                        FormatGbkMessage(msg::kChapterTooShortFormat,
                                         {std::string(WholeGbkCharacters(title))}));
    }
}

}  // namespace brisna
