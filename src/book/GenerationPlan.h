#pragma once
// The pure rules of generation: where the output files go and what they are called, how
// over-long chapters are cut into numbered pieces, and how a book is spread over files.
// Nothing here touches a file or the dialog.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chapters/ChapterRecord.h"

namespace brisna {

// The book source path with every ".txt" and every ".TXT" removed from its file name (the part
// after the last '/'); other spellings such as ".Txt" stay, and folder names never change.
std::string OutputBase(std::string_view bookSourcePath);

// "<base>.<extension>" for number 0, "<base><number>.<extension>" otherwise.
std::string BookFileName(std::string_view outputBase, std::string_view extension, int number);

// Sets every length from the offsets: each chapter runs to the next one's offset, the last to
// the end of the text. False (lengths untouched) when the offsets do not ascend strictly from
// 0 or the last chapter does not start inside the text: such a list cannot be written.
bool ComputeWorkingLengths(std::vector<ChapterRecord>& chapters, uint32_t textLength);

// Cuts every chapter whose UTF-16 form is longer than pieceBytes into pieces of pieceBytes
// (the last one holding the rest), titled with 1, 2, ... appended. Offsets and lengths stay
// GBK byte values of the book text. Lengths must be current.
std::vector<ChapterRecord> CutIntoPieces(std::string_view bookText,
                                         const std::vector<ChapterRecord>& chapters,
                                         uint32_t pieceBytes);

// The step of one pass: step, or a larger one when the rest after the last full step would be
// shorter than smallRest, so the files come out more even.
uint32_t FileStep(uint32_t textLength, uint32_t step, uint32_t smallRest);

// One output file of a pass: chapters [firstChapter, endChapter) and the stretch of the book
// text they cover. number is the name's number (0: the single file of a one-file pass).
struct PlannedFile {
    uint32_t firstChapter = 0;
    uint32_t endChapter = 0;
    uint32_t textOffset = 0;
    uint32_t textLength = 0;
    int number = 0;
};

// Spreads the chapters (absolute offsets, current lengths, ascending from 0) over files of
// about `step` bytes each. Every file holds at least one and at most 98 chapters, and every
// chapter lands in exactly one file: a chapter longer than the step gets a file of its own.
std::vector<PlannedFile> PlanFiles(const std::vector<ChapterRecord>& chapters, uint32_t textLength,
                                   uint32_t step, uint32_t smallRest);

}  // namespace brisna
