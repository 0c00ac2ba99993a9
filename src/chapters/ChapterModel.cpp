#include "chapters/ChapterModel.h"

#include <utility>

namespace brisna {

void ChapterModel::Clear() {
    ++revision_;
    count_ = 0;
    records_.fill(ChapterRecord{});
    bookTextLength_ = 0;
}

void ChapterModel::Append(const ChapterRecord& record) {
    InsertAt(record, count_);
}

void ChapterModel::InsertAt(const ChapterRecord& record, uint32_t index) {
    // The commands check the capacity first; the model still never writes past its slots.
    if (count_ >= kMaxChapters || index > count_) return;
    for (uint32_t slot = count_; slot > index; --slot) records_[slot] = records_[slot - 1];
    records_[index] = record;
    ++count_;
    ++revision_;
}

void ChapterModel::MoveUp(uint32_t index) {
    if (index >= 1 && index < count_) {
        std::swap(records_[index - 1], records_[index]);
        ++revision_;
    }
}

void ChapterModel::MoveDown(uint32_t index) {
    if (index < count_ && index + 1 < count_) {
        std::swap(records_[index], records_[index + 1]);
        ++revision_;
    }
}

void ChapterModel::RemoveAt(uint32_t index) {
    if (index >= count_) return;
    for (uint32_t slot = index; slot + 1 < count_; ++slot) records_[slot] = records_[slot + 1];
    --count_;
    records_[count_] = ChapterRecord{};
    ++revision_;
}

ChapterRecord* ChapterModel::RecordAt(uint32_t index) {
    return index < count_ ? &records_[index] : nullptr;
}

const ChapterRecord* ChapterModel::RecordAt(uint32_t index) const {
    return index < count_ ? &records_[index] : nullptr;
}

uint32_t ChapterModel::OffsetAt(uint32_t index) const {
    return index < count_ ? records_[index].offset : 0;
}

uint32_t ChapterModel::ComputeLengths() {
    const uint32_t n = count_;
    if (n == 0) return 0;
    for (uint32_t i = 0; i + 1 < n; ++i) {
        if (records_[i + 1].offset <= records_[i].offset) return i + 1;
        records_[i].length = records_[i + 1].offset - records_[i].offset;
    }
    // The last chapter is checked against the start of the one before it, not its own start:
    // a last chapter at or past the end of the text passes, with a wrapped length.
    if (n >= 2 ? bookTextLength_ <= records_[n - 2].offset : bookTextLength_ == 0) return n;
    records_[n - 1].length = bookTextLength_ - records_[n - 1].offset;
    return 0;
}

}  // namespace brisna
