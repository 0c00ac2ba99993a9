#include "book/Generation.h"

#include <span>

#include "Capacities.h"
#include "book/AtomicFile.h"
#include "book/BookFiles.h"
#include "book/BookMessages.h"
#include "book/CCompressLZ77.h"
#include "book/GenerationPlan.h"
#include "book/Qbr2Format.h"
#include "book/QbrFormat.h"
#include "chapters/ChapterTitle.h"
#include "check/ValidationRules.h"
#include "text/CodePage936.h"
#include "text/FileReading.h"
#include "text/GbkText.h"

namespace brisna {

namespace msg = book_messages;

namespace {

// The folder part of an output base ("" for the current folder).
std::string FolderOf(const std::string& base) {
    const size_t slash = base.rfind('/');
    return slash == std::string::npos ? std::string() : base.substr(0, slash + 1);
}

}  // namespace

std::vector<std::string> PlannedOutputPaths(CMyRECtrl& bookText, const ChapterModel& chapters,
                                            std::string_view bookSourcePath) {
    const std::string text = ReadBookText(bookText.View());
    const uint32_t textLength = static_cast<uint32_t>(text.size());
    std::vector<ChapterRecord> records;
    for (uint32_t i = 0; i < chapters.Count(); ++i) records.push_back(*chapters.RecordAt(i));
    std::vector<std::string> paths;
    if (records.empty() || !ComputeWorkingLengths(records, textLength)) return paths;
    const std::string base = OutputBase(bookSourcePath);
    const std::vector<ChapterRecord> qbr2List = CutIntoPieces(text, records, kQbr2PieceBytes);
    for (const PlannedFile& file : PlanFiles(qbr2List, textLength, kQbr2FileStep, kQbr2SmallRest)) {
        paths.push_back(BookFileName(base, "qbr2", file.number));
    }
    const std::vector<ChapterRecord> qbrList = CutIntoPieces(text, records, kQbrPieceBytes);
    for (const PlannedFile& file : PlanFiles(qbrList, textLength, kQbrFileStep, kQbrSmallRest)) {
        paths.push_back(BookFileName(base, "qbr", file.number));
    }
    return paths;
}

std::optional<EncodedBook> PrepareBookFiles(CMyRECtrl& bookText, ListBox& chapterList,
                                            ChapterModel& chapters, DialogHost& host,
                                            std::string_view bookSourcePath,
                                            const QbrBlockCodes* codes, uint32_t codesOffset) {
    const std::string text = ReadBookText(bookText.View());
    const uint32_t textLength = static_cast<uint32_t>(text.size());

    if (!RunGenerateChecks(bookText, chapterList, chapters, host, bookSourcePath)) {
        return std::nullopt;
    }
    // Both formats work on their own copies, so the operator's chapters survive a run unchanged.
    std::vector<ChapterRecord> records;
    for (uint32_t i = 0; i < chapters.Count(); ++i) records.push_back(*chapters.RecordAt(i));
    if (!ComputeWorkingLengths(records, textLength)) {
        // The checks refuse such a list; never write from offsets that do not fit the text.
        host.ShowMessage(Utf8ToGbk(msg::kQbr2Failed), MessageCaption::kNone);
        return std::nullopt;
    }
    // Every file of both formats is built before the first is written: a chapter the .qbr
    // cannot hold must not leave the .qbr2 files alone on the disk.
    EncodedBook encoded = codes != nullptr
                              ? EncodeBookFiles(text, records, bookSourcePath, *codes, codesOffset)
                              : EncodeBookFiles(text, records, bookSourcePath);
    if (!encoded.ok()) {
        ShowEncodingFailure(encoded, host);
        return std::nullopt;
    }
    return encoded;
}

bool WriteBookFiles(const EncodedBook& encoded, DialogHost& host,
                    std::vector<std::string>& writtenFiles) {
    if (encoded.files.empty()) return true;
    // Temporaries of earlier runs that were killed mid-write would otherwise stay for good.
    RemoveStaleTemporaryFiles(FolderOf(encoded.files.front().path));
    for (const EncodedBookFile& file : encoded.files) {
        int error = 0;
        if (!WriteFileAtomically(file.path, file.bytes, &error)) {
            host.ShowFileMessage(Utf8ToGbk(file.qbr2 ? msg::kQbr2Failed : msg::kQbrFailed),
                                 MessageCaption::kNone, file.path, SystemErrorText(error));
            return false;
        }
        writtenFiles.push_back(file.path);
    }
    return true;
}

GenerationOutcome GenerateBook(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                               DialogHost& host, std::string_view bookSourcePath) {
    GenerationOutcome outcome;
    WaitCursor wait(host);
    std::optional<EncodedBook> encoded =
        PrepareBookFiles(bookText, chapterList, chapters, host, bookSourcePath);
    if (!encoded || !WriteBookFiles(*encoded, host, outcome.writtenFiles)) return outcome;
    host.ShowMessage(Utf8ToGbk(msg::kGenerated), MessageCaption::kPrompt);
    outcome.succeeded = true;
    return outcome;
}

}  // namespace brisna
