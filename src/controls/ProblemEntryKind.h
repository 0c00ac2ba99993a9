#pragma once
// What kind of finding a problem-list entry is. The command that makes an entry knows its kind,
// so the kind travels with the entry as its item data: the window counts and filters entries by
// it and never has to read a message text back.

#include <cstdint>
#include <string_view>

#include "controls/ListBox.h"

namespace brisna {

enum class ProblemKind {
    kBlocking,    // a chapter or book rule that makes 生成qbr refuse
    kSuspicious,  // 可疑字
    kGarbled,     // 乱码
    kEmptyLine,   // 空行
    kOther,       // anything else (the missing-chapter check's entries, say)
};

// The item data of an entry of the kind. 0 is kept for entries added without a kind (as kOther),
// so the values start at 1.
inline intptr_t ProblemKindData(ProblemKind kind) {
    return static_cast<intptr_t>(kind) + 1;
}

// The kind an entry's item data names; anything that names no kind is kOther.
inline ProblemKind ProblemKindOfData(intptr_t data) {
    if (data < ProblemKindData(ProblemKind::kBlocking) ||
        data > ProblemKindData(ProblemKind::kOther)) {
        return ProblemKind::kOther;
    }
    return static_cast<ProblemKind>(data - 1);
}

// Appends an entry (GBK) of the kind to a problem list; returns its index.
inline int32_t AddProblemEntry(ListBox& problemList, ProblemKind kind, std::string_view gbk) {
    return problemList.AddItem(gbk, ProblemKindData(kind));
}

}  // namespace brisna
