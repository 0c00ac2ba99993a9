#pragma once
// "生成测试": runs every rule over the book and lists each finding in the problem list. It never
// stops early and shows no message box; faulty chapters get the problem mark in the chapter list
// and suspicious words are highlighted in the text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/ListBox.h"

namespace brisna {

// The suspicious-word, garbled-character and empty-line findings of one run are listed up to
// this many; the rest are counted in one entry after them ("另有%d个问题未列出！").
inline constexpr size_t kMaxListedFindings = 100000;

void RunTestCommand(CMyRECtrl& bookText, ListBox& chapterList, ListBox& problemList,
                    ChapterModel& chapters, const std::vector<std::string>& suspiciousWords,
                    std::string_view bookSourcePath);

}  // namespace brisna
