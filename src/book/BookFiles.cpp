#include "book/BookFiles.h"

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

}  // namespace

EncodedBook EncodeBookFiles(std::string_view text, const std::vector<ChapterRecord>& chapters,
                            std::string_view bookSourcePath) {
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
    CCompressLZ77 codec;
    for (const PlannedFile& file : PlanFiles(qbrList, textLength, kQbrFileStep, kQbrSmallRest)) {
        EncodedBookFile built{BookFileName(base, "qbr", file.number), {}, false};
        QbrWriteResult result = EncodeQbr(TextOf(text, file), ChaptersOf(qbrList, file),
                                          lastHeader.bookName, codec, built.bytes);
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
