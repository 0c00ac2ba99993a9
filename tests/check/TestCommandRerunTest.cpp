// Pressing "生成测试" again replaces the previous findings, however many there were.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chapters/ChapterModel.h"
#include "check/TestCommand.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

// A book in the view with its line table, and empty lists and chapters beside it.
class LoadedBook : public ::testing::Test {
  protected:
    void Load(const std::string& gbk) {
        view.SetText(gbk);
        book.RebuildLineTable();
    }

    HeadlessRichEdit view;
    CMyRECtrl book{view};
    HeadlessListBox chapters;
    HeadlessListBox problems;
    ChapterModel model;
};

using TestCommandRerun = LoadedBook;
using TestCommandGarbled = LoadedBook;
using TestCommandWords = LoadedBook;

TEST_F(TestCommandRerun, SecondRunReplacesThousandsOfFindingsExactly) {
    std::string text = G("第一章") + "\r\n";
    for (int i = 0; i < 2000; ++i) text += G("坏字在此") + "\r\n\r\n";
    text += G("第二章") + "\r\n" + G("完结");
    Load(text);
    for (const char* title : {"第一章", "第二章"}) {
        ChapterRecord record;
        record.SetTitle(G(title));
        record.offset = static_cast<uint32_t>(text.find(G(title)));
        model.Append(record);
        chapters.AddString(record.Title());
    }
    const std::vector<std::string> words{G("坏字")};

    RunTestCommand(book, chapters, problems, model, words, "/books/b.txt");
    const std::vector<std::string> first = problems.Texts();
    ASSERT_EQ(first.size(), 4000u);  // every occurrence and every blank line
    EXPECT_EQ(first.front(), G("可疑字（1）[Line 1]：坏字！"));
    EXPECT_EQ(first.back(), G("[Line 4000]为空行"));

    problems.SetSel(true, 4321);
    RunTestCommand(book, chapters, problems, model, words, "/books/b.txt");
    EXPECT_EQ(problems.Texts(), first);
    EXPECT_EQ(problems.GetSelCount(), 0);
}

TEST_F(TestCommandGarbled, PairsTheViewSplitsDifferentlyAreFoundOnLaterLines) {
    // The check walks bytes in twos, the view reads 80 B0 A1 as 80 and 啊: the pair 80 B0 on
    // lines 1 and 2 is only found where it stands before a line end, on line 3; line 5's own
    // occurrence comes after that and is found again.
    const std::string pair("\x80\xB0", 2);
    std::string text = G("第一章") + "\r\n";
    text += "x" + pair + "\xA1\xA1\r\n";
    text += "y" + pair + "\xA1\xA1\r\n";
    text += "z" + pair + "\r\n";
    text += G("第二章") + "\r\n";
    text += "w" + pair + "\r\n" + G("完结");
    Load(text);
    RunTestCommand(book, chapters, problems, model, {}, "/books/b.txt");

    std::vector<std::string> garbled;
    for (const std::string& entry : problems.Texts()) {
        if (entry.find(G("乱码")) != std::string::npos) garbled.push_back(entry);
    }
    auto entry = [&](int line) {
        return G("乱码[Line ") + std::to_string(line) + G("]：") + pair + G("！");
    };
    EXPECT_EQ(garbled, (std::vector<std::string>{entry(3), entry(3), entry(3), entry(5)}));
}

TEST_F(TestCommandWords, WordsSharingStartsAndRepeatedWordsAreEachReported) {
    // All words are looked up in one pass over the text; each must still be judged by its own
    // first occurrence: 甲 stands at the very first byte and is skipped, though line 2 holds it.
    const std::string text = G("甲乙丙") + "\r\n" + G("乙丙丁乙丙") + "\r\n" + G("丁甲");
    Load(text);
    const std::vector<std::string> words{G("乙丙"), G("甲"),   G("乙丙丁"), G("乙丙"),
                                         "x",       G("丁甲"), ""};
    RunTestCommand(book, chapters, problems, model, words, "/books/b.txt");

    std::vector<std::string> reported;
    for (const std::string& entry : problems.Texts()) {
        if (entry.find(G("可疑字")) != std::string::npos) reported.push_back(test::U(entry));
    }
    EXPECT_EQ(reported, (std::vector<std::string>{
                            "可疑字（1）[Line 0]：乙丙！", "可疑字（2）[Line 1]：乙丙！",
                            "可疑字（3）[Line 1]：乙丙！", "可疑字（4）[Line 1]：乙丙丁！",
                            "可疑字（5）[Line 0]：乙丙！", "可疑字（6）[Line 1]：乙丙！",
                            "可疑字（7）[Line 1]：乙丙！", "可疑字（8）[Line 2]：丁甲！"}));
}

}  // namespace
}  // namespace brisna
