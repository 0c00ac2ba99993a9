#pragma once
// Jumping from a problem-list entry to its place in the book text. An entry carries nothing but
// its text, so the line number, word or title is read back out of the text the test command
// wrote ("可疑字（3）[Line 12]：某某！", "[Line 40]为空行", "“A”与“A”章节重复，…").

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/CMyRECtrl.h"
#include "controls/ListBox.h"

namespace brisna {

// The parsers never look outside the entry and never fail: nothing means "no such part".

// The decimal number after the first "[Line "; it stops at the first non-digit (no digit: 0)
// and saturates at 2147483647.
std::optional<int32_t> EntryLineNumber(std::string_view entry);
// The text after the first "：" up to the "！" that ends the entry (or, when the entry does not
// end with one, the first "！" after the "："): the suspicious word, or the garbled bytes.
std::optional<std::string_view> EntryPayload(std::string_view entry);
// The title of a duplicate-title entry "“T”与“T”章节重复…". Both titles are the same, which
// settles the split even when the title itself holds ”与“.
std::optional<std::string_view> EntryDuplicateTitle(std::string_view entry);
// The title of an over-long-chapter entry "T字数超过30K，不能生成QBR！".
std::optional<std::string_view> EntryOverlongTitle(std::string_view entry);

// Selection of an entry: shows a suspicious word (when it is still in the word list) or a
// garbled pair from the start of its line, or scrolls an empty line to the top.
void ShowProblemOnSelection(std::string_view entry, CMyRECtrl& bookText,
                            const std::vector<std::string>& suspiciousWords);
// Double-click on an entry: shows the first occurrence of a duplicate heading, or puts the caret
// where an over-long chapter reaches the size limit.
void ShowProblemOnDoubleClick(std::string_view entry, CMyRECtrl& bookText);

// The two list notifications: both act on the list's caret item.
void OnProblemListSelectionChanged(const ListBox& problemList, CMyRECtrl& bookText,
                                   const std::vector<std::string>& suspiciousWords);
void OnProblemListDoubleClicked(const ListBox& problemList, CMyRECtrl& bookText);

}  // namespace brisna
