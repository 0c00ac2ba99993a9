#pragma once
// The part plan: a whole novel made into several complete books ("册"). The chapters of the
// outline (or of the chapter list) are cut into the fewest parts of at most 98 chapters, at
// volume starts where the volumes allow it; chapters over the size limit are cut into pieces at
// paragraph boundaries. Every part is a slice of the book text, and the slices joined give back
// the whole text. Nothing here writes a file.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "book/BookFiles.h"
#include "chapters/ChapterRecord.h"
#include "detect/BookOutline.h"
#include "parts/PartNames.h"

namespace brisna {

// Where a chapter or a volume begins, as the plan is given it.
struct PlanHeading {
    std::string title;  // GBK
    uint32_t offset = 0;
    bool volume = false;       // a volume line: starts a volume, is no chapter
    bool frontMatter = false;  // the text before the first heading
};

// The outline's entries as plan headings.
std::vector<PlanHeading> HeadingsOfOutline(const BookOutline& outline);

// One line of a part: a chapter record (offset in the whole text, current length) or a volume
// line (offset of its line, length unused).
struct PartLine {
    ChapterRecord record;
    bool volume = false;
};

struct PlannedPart {
    int number = 1;           // counted from 1
    uint32_t textOffset = 0;  // the part's slice of the whole text
    uint32_t textLength = 0;
    std::vector<ChapterRecord> chapters;  // offsets in the whole text, lengths current
    std::vector<PartLine> lines;          // chapters and volume lines in text order
    // The book source path the part is generated under: its file name names the part's files.
    std::string sourcePath;

    // The chapters with offsets in the part's own slice, as the part's book holds them.
    std::vector<ChapterRecord> RelativeChapters() const;
};

enum class PartPlanStatus {
    kOk,
    kNoHeadings,        // no heading in the book
    kOnlyContentsList,  // headings stand only in a contents list
    kFirstNotAtStart,   // the first chapter does not begin the text
    kBadOffsets,        // the chapters do not ascend inside the text
    kNameTooLong,       // no part name fits the file name rule
    kPartRefused,       // a part that generation would refuse (PartPlan::refusal says why)
};

struct PartPlan {
    PartPlanStatus status = PartPlanStatus::kOk;
    std::vector<PlannedPart> parts;
    // With kPartRefused: the part (counted from 1) and generation's message for it (GBK). The
    // parts stay, so the plan can still be shown.
    int refusedPart = 0;
    std::string refusal;
    std::string bookSourcePath;  // the whole book's, which the parts are named after
    // The .qbr blocks of the whole text, coded while planning to find the chapters a .qbr cannot
    // hold: writing the parts takes them instead of coding every chapter again. Shared, so a
    // copy of the plan stays cheap.
    std::shared_ptr<const QbrBlockCodes> qbrCodes;
    size_t ChapterCount() const;
};

// Cuts every chapter longer than the chapter size limit into as few pieces of at most that size
// as it takes, of about equal size, at paragraph ends (a single longer paragraph at a character
// boundary). The first piece keeps the title, the next ones carry it with "（二）", "（三）" ...
// (shortened to fit 60 bytes).
std::vector<ChapterRecord> CutLongChapters(std::string_view text,
                                           const std::vector<ChapterRecord>& chapters);

// How many chapters each part takes: the fewest parts of at most 98 chapters, then as few cuts
// as possible that do not fall on a volume start (`volumeStart[i]`: chapter i begins a volume),
// then counts as equal as possible.
std::vector<uint32_t> PartSizes(const std::vector<bool>& volumeStart);

// Plans the parts of a book text (GBK, CR LF) from its headings. A book that fits one book is
// one part under the book's own source path. A chapter too short to be written as a .qbr
// chapter of its own (front matter of a title and an author line, a volume's title page) goes
// with the chapter that follows it (the last one with the one before), as long as the two fit
// the chapter size limit. Every part is then checked as generation checks a book, so a plan
// that passes is written whole.
PartPlan PlanParts(std::string_view text, const std::vector<PlanHeading>& headings,
                   std::string_view bookSourcePath);

}  // namespace brisna
