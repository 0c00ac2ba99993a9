#pragma once
// Counting the problem list by kind. Every entry carries its kind as item data from the command
// that made it (controls/ProblemEntryKind.h).

#include <cstddef>

#include "controls/ListBox.h"
#include "controls/ProblemEntryKind.h"

namespace brisna {

// The kind the entry at a row carries; kOther out of range.
ProblemKind ProblemKindAt(const ListBox& problemList, int32_t row);

struct ProblemCounts {
    size_t blocking = 0;
    size_t suspicious = 0;
    size_t garbled = 0;
    size_t emptyLines = 0;
    size_t other = 0;
    size_t Total() const { return blocking + suspicious + garbled + emptyLines + other; }
};

// Counts the rows of the list by the kind each carries.
ProblemCounts CountProblemKinds(const ListBox& problemList);

}  // namespace brisna
