#include "clean/OffsetMap.h"

#include <algorithm>

namespace brisna {

void OffsetMap::AddCopiedRun(size_t oldStart, size_t newStart, size_t length) {
    if (length == 0) return;
    if (!runs_.empty()) {
        Run& last = runs_.back();
        if (last.oldStart + last.length == oldStart && last.newStart + last.length == newStart) {
            last.length += length;
            return;
        }
    }
    runs_.push_back({oldStart, newStart, length});
}

size_t OffsetMap::Map(size_t oldOffset) const {
    // The first run that ends after the offset either holds it or comes next.
    auto run = std::upper_bound(
        runs_.begin(), runs_.end(), oldOffset,
        [](size_t offset, const Run& r) { return offset < r.oldStart + r.length; });
    if (run == runs_.end()) return newLength_;
    if (oldOffset >= run->oldStart) return run->newStart + (oldOffset - run->oldStart);
    return run->newStart;
}

}  // namespace brisna
