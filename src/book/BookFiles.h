#pragma once
// A book's files built in memory, every .qbr2 file and every .qbr file, before any is written:
// a book that one format refuses leaves no file of the other behind.

#include <string>
#include <string_view>
#include <vector>

#include "book/CCompressLZ77.h"
#include "chapters/ChapterModel.h"
#include "chapters/ChapterRecord.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"

namespace brisna {

struct EncodedBookFile {
    std::string path;
    std::string bytes;
    bool qbr2 = false;  // else .qbr
};

struct EncodedBook {
    enum class Status { kOk, kQbr2Failed, kQbrFailed, kChapterTooShort };
    Status status = Status::kOk;
    std::string failedPath;              // the file that could not be built
    std::string failedChapterTitle;      // GBK, with kChapterTooShort
    std::vector<EncodedBookFile> files;  // the .qbr2 files, then the .qbr files, in name order

    bool ok() const { return status == Status::kOk; }
};

// Builds every file of the book (chapters with absolute offsets and current lengths, ascending
// from 0) under the names the book source path gives.
EncodedBook EncodeBookFiles(std::string_view text, const std::vector<ChapterRecord>& chapters,
                            std::string_view bookSourcePath);

// Shows why a book could not be built, as generation always has: the too-short chapter's own
// message first, then the failed format's.
void ShowEncodingFailure(const EncodedBook& encoded, DialogHost& host);

// True when the chapter text (GBK) comes out shorter in every .qbr block it is cut into: a
// .qbr book cannot hold a chapter that does not.
// One codec serves any number of calls.
bool CompressesAsQbrChapter(std::string_view chapterText, CCompressLZ77& codec);

// The titles of the .qbr blocks of the book (chapters with current lengths) that do not come
// out shorter, in book order: each refuses the .qbr.
std::vector<std::string> TooShortQbrChapters(std::string_view text,
                                             const std::vector<ChapterRecord>& chapters);

// Adds "%s章节长度过短，无法生成QBR，建议合并章节" to the problem list for every .qbr block
// generation would refuse, so the test names what generation would. Judged only for a book
// generation could otherwise take (offsets in order, at most 98 chapters of at most 30 KB):
// the test lists every other fault already.
void ReportTooShortQbrChapters(std::string_view text, const ChapterModel& chapters,
                               ListBox& problemList);

}  // namespace brisna
