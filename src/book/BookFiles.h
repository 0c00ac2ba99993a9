#pragma once
// A book's files built in memory, every .qbr2 file and every .qbr file, before any is written:
// a book that one format refuses leaves no file of the other behind.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
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

// The .qbr blocks of chapters already coded to judge them, by the stretch of the book text each
// block holds. Whoever has to code chapters before building their books (to find the ones a
// .qbr cannot hold) keeps the blocks here, and building the books takes them instead of coding
// the same text a second time. A kept block is only taken for a block whose UTF-16 text has the
// kept length and fingerprint, so a text changed in between is coded afresh.
class QbrBlockCodes {
  public:
    struct Block {
        uint32_t sourceBytes = 0;  // the block's UTF-16LE length
        uint64_t sourceHash = 0;   // fingerprint of the UTF-16LE bytes
        std::string code;          // the coded block; empty: the coded form is not shorter
    };

    // CompressesAsQbrChapter for the chapter [offset, offset + length) of text, keeping the code
    // of every block it codes. Blocks already kept are not coded again.
    bool JudgeChapter(std::string_view text, uint32_t offset, uint32_t length,
                      CCompressLZ77& codec);

    // The block kept for [offset, offset + length) of the text, or nullptr.
    const Block* Find(uint32_t offset, uint32_t length) const;

    // Fingerprint of a block's UTF-16LE bytes.
    static uint64_t Fingerprint(std::string_view utf16LeBytes);

  private:
    std::unordered_map<uint64_t, Block> blocks_;  // by offset << 32 | length
};

// Builds every file of the book (chapters with absolute offsets and current lengths, ascending
// from 0) under the names the book source path gives.
EncodedBook EncodeBookFiles(std::string_view text, const std::vector<ChapterRecord>& chapters,
                            std::string_view bookSourcePath);

// The same, taking the .qbr blocks `codes` keeps instead of coding them again; the book's text
// stands at codesOffset of the text the codes were made from. The files are the same bytes.
EncodedBook EncodeBookFiles(std::string_view text, const std::vector<ChapterRecord>& chapters,
                            std::string_view bookSourcePath, const QbrBlockCodes& codes,
                            uint32_t codesOffset);

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
