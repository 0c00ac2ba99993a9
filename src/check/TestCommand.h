#pragma once
// "生成测试": runs every rule over the book and lists each finding in the problem list. It never
// stops early and shows no message box; faulty chapters get the problem mark in the chapter list
// and suspicious words are highlighted in the text.

#include <string>
#include <string_view>
#include <vector>

#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/ListBox.h"

namespace brisna {

void RunTestCommand(CMyRECtrl& bookText, ListBox& chapterList, ListBox& problemList,
                    ChapterModel& chapters, const std::vector<std::string>& suspiciousWords,
                    std::string_view bookSourcePath);

}  // namespace brisna
