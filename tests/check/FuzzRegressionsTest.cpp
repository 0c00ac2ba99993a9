// Cases the fuzz targets ran into, kept so they stay fixed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chapters/ChapterModel.h"
#include "check/TestCommand.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/ShiftCountingList.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::ShiftCountingList;

// The operator script that hung: a book with a finding on every line, tested twice. The second
// run must clear the first run's findings without shifting the list.
TEST(TestCommandFuzzRegressions, SecondRunClearsOldFindingsFromTheEnd) {
    std::string text = G("第1章") + "\r\n";
    for (int line = 0; line < 3000; ++line) text += "a line with a word to watch\r\n";
    const std::vector<std::string> words = {"watch"};
    HeadlessRichEdit view;
    view.SetText(text);
    CMyRECtrl bookText(view);
    bookText.RebuildLineTable();
    HeadlessListBox chapterList;
    ShiftCountingList problemList;
    ChapterModel chapters;

    RunTestCommand(bookText, chapterList, problemList, chapters, words, "/tmp/book.txt");
    const std::vector<std::string> first = problemList.Texts();
    ASSERT_GE(first.size(), 3000u);

    RunTestCommand(bookText, chapterList, problemList, chapters, words, "/tmp/book.txt");
    EXPECT_EQ(problemList.shiftingDeletes, 0);
    EXPECT_EQ(problemList.Texts(), first);
}

}  // namespace
}  // namespace brisna
