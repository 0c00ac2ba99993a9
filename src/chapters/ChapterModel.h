#pragma once
// The chapter table: at most 98 records in list order, kept in step with the chapter list.
// Plain data with index operations; it shows nothing, and refuses only a bad index and a record
// beyond the 98th (the commands check the capacity first and tell the operator).

#include <array>
#include <cstdint>

#include "Capacities.h"
#include "chapters/ChapterRecord.h"

namespace brisna {

class ChapterModel {
  public:
    // Empties every record and the recorded text length.
    void Clear();
    // Copies the record into slot Count(). The caller guarantees Count() < 98.
    void Append(const ChapterRecord& record);
    // Shifts records index.. one slot toward the end and copies the record into index
    // (0 <= index <= Count()). The caller guarantees Count() < 98.
    void InsertAt(const ChapterRecord& record, uint32_t index);
    // Records index-1 and index change places when 1 <= index < Count().
    void MoveUp(uint32_t index);
    // Records index and index+1 change places when index + 1 < Count().
    void MoveDown(uint32_t index);
    // Removes the record when index < Count(); the freed last slot is zeroed.
    void RemoveAt(uint32_t index);
    // The record, or nullptr when index >= Count().
    ChapterRecord* RecordAt(uint32_t index);
    const ChapterRecord* RecordAt(uint32_t index) const;
    // The record's offset, or 0 when index >= Count().
    uint32_t OffsetAt(uint32_t index) const;
    void SetTextLength(uint32_t length) { bookTextLength_ = length; }
    uint32_t TextLength() const { return bookTextLength_; }
    // Sets every length from the offsets; 0 when they ascend strictly, else the 1-based number
    // of the first chapter at fault (lengths from there on keep their old values).
    uint32_t ComputeLengths();

    uint32_t Count() const { return count_; }
    // Counts changes of the records' titles, offsets and order (not of the lengths, which are
    // derived), so the window can tell whether the operator's chapter work is still unsaved.
    uint64_t Revision() const { return revision_; }

  private:
    uint64_t revision_ = 0;
    uint32_t count_ = 0;
    std::array<ChapterRecord, kMaxChapters> records_{};
    uint32_t bookTextLength_ = 0;
};

}  // namespace brisna
