#include "book/Generation.h"

#include <span>

#include "Capacities.h"
#include "book/AtomicFile.h"
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

namespace {

std::span<const ChapterRecord> ChaptersOf(const std::vector<ChapterRecord>& list,
                                          const PlannedFile& file) {
    return std::span<const ChapterRecord>(list).subspan(file.firstChapter,
                                                        file.endChapter - file.firstChapter);
}

// The folder part of an output base ("" for the current folder).
std::string FolderOf(const std::string& base) {
    const size_t slash = base.rfind('/');
    return slash == std::string::npos ? std::string() : base.substr(0, slash + 1);
}

std::string_view TextOf(std::string_view text, const PlannedFile& file) {
    return text.substr(file.textOffset, file.textLength);
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

GenerationOutcome GenerateBook(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                               DialogHost& host, std::string_view bookSourcePath) {
    GenerationOutcome outcome;
    WaitCursor wait(host);
    const std::string text = ReadBookText(bookText.View());
    const uint32_t textLength = static_cast<uint32_t>(text.size());

    if (!RunGenerateChecks(bookText, chapterList, chapters, host, bookSourcePath)) return outcome;

    // Both passes work on their own copies, so the operator's chapters survive a run unchanged.
    std::vector<ChapterRecord> records;
    for (uint32_t i = 0; i < chapters.Count(); ++i) records.push_back(*chapters.RecordAt(i));
    if (!ComputeWorkingLengths(records, textLength)) {
        // The checks refuse such a list; never write from offsets that do not fit the text.
        host.ShowMessage(Utf8ToGbk("生成qbr2失败"), MessageCaption::kNone);
        return outcome;
    }
    const std::string base = OutputBase(bookSourcePath);
    // Temporaries of earlier runs that were killed mid-write would otherwise stay for good.
    RemoveStaleTemporaryFiles(FolderOf(base));

    const std::vector<ChapterRecord> qbr2List = CutIntoPieces(text, records, kQbr2PieceBytes);
    Qbr2Header lastHeader;
    for (const PlannedFile& file : PlanFiles(qbr2List, textLength, kQbr2FileStep, kQbr2SmallRest)) {
        std::string path = BookFileName(base, "qbr2", file.number);
        int error = 0;
        if (WriteQbr2(TextOf(text, file), ChaptersOf(qbr2List, file), path, lastHeader, &error) !=
            0) {
            host.ShowFileMessage(Utf8ToGbk("生成qbr2失败"), MessageCaption::kNone, path,
                                 SystemErrorText(error));
            return outcome;
        }
        outcome.writtenFiles.push_back(std::move(path));
    }

    const std::vector<ChapterRecord> qbrList = CutIntoPieces(text, records, kQbrPieceBytes);
    CCompressLZ77 codec;
    for (const PlannedFile& file : PlanFiles(qbrList, textLength, kQbrFileStep, kQbrSmallRest)) {
        std::string path = BookFileName(base, "qbr", file.number);
        QbrWriteResult written =
            WriteQbr(TextOf(text, file), ChaptersOf(qbrList, file), path, lastHeader, codec);
        if (!written.ok()) {
            if (written.status == QbrWriteResult::Status::kChapterTooShort) {
                host.ShowMessage(
                    FormatGbkMessage("%s章节长度过短，无法生成QBR，建议合并章节",
                                     {std::string(WholeGbkCharacters(written.failedChapterTitle))}),
                    MessageCaption::kAppName);
            }
            host.ShowFileMessage(Utf8ToGbk("生成qbr失败"), MessageCaption::kNone, path,
                                 SystemErrorText(written.error));
            return outcome;
        }
        outcome.writtenFiles.push_back(std::move(path));
    }

    host.ShowMessage(Utf8ToGbk("生成qbr和qbr2成功"), MessageCaption::kPrompt);
    outcome.succeeded = true;
    return outcome;
}

}  // namespace brisna
