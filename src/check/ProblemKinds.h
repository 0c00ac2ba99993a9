#pragma once
// Which kind of finding a problem entry is, read back from its text alone, so the window can
// count the entries and show one kind at a time without changing the list.

#include <cstddef>
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

// The kind of one entry (GBK). Entries are recognised by their whole shape, not by a word inside
// them, so a chapter title holding "乱码" or "可疑字" does not change what its entry is.
ProblemKind ClassifyProblemEntry(std::string_view gbkEntry);

struct ProblemCounts {
    size_t blocking = 0;
    size_t suspicious = 0;
    size_t garbled = 0;
    size_t emptyLines = 0;
    size_t other = 0;
    size_t Total() const { return blocking + suspicious + garbled + emptyLines + other; }
};

ProblemCounts CountProblemKinds(const ListBox& problemList);

}  // namespace brisna
