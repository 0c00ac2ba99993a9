#include "check/ProblemKinds.h"

namespace brisna {

ProblemKind ProblemKindAt(const ListBox& problemList, int32_t row) {
    return ProblemKindOfData(problemList.GetItemData(row));
}

ProblemCounts CountProblemKinds(const ListBox& problemList) {
    ProblemCounts counts;
    const int32_t rows = problemList.GetCount();
    for (int32_t row = 0; row < rows; ++row) {
        switch (ProblemKindAt(problemList, row)) {
            case ProblemKind::kBlocking:
                ++counts.blocking;
                break;
            case ProblemKind::kSuspicious:
                ++counts.suspicious;
                break;
            case ProblemKind::kGarbled:
                ++counts.garbled;
                break;
            case ProblemKind::kEmptyLine:
                ++counts.emptyLines;
                break;
            case ProblemKind::kOther:
                ++counts.other;
                break;
        }
    }
    return counts;
}

}  // namespace brisna
