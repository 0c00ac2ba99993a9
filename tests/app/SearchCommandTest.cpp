#include <gtest/gtest.h>

#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

class DetectCommands : public ::testing::Test {
  protected:
    DetectCommands() : dialog(text, chapterList, problemList, host, dir / "no-words.csv") {}

    void Load(const std::string& utf8) {
        text.SetText(G(utf8));
        dialog.bookText.RebuildLineTable();
    }
    void Search(const std::string& utf8) {
        host.SetFieldText(kSearchField, G(utf8));
        dialog.OnCommand(kSearchButton);
    }
    std::string LastMessage() const {
        return host.Messages().empty() ? std::string() : U(host.Messages().back().text);
    }

    test::TempDir dir;
    HeadlessRichEdit text;
    HeadlessListBox chapterList, problemList;
    HeadlessDialogHost host;
    CBrisnaMakeDlg dialog;
};

TEST_F(DetectCommands, SearchFindsEachOccurrenceInTurnAndNeverWraps) {
    Load("甲龙乙\r\n丙龙\r\n龙丁");
    Search("龙");
    EXPECT_EQ(text.GetSelection(), (CharRange{1, 2}));
    Search("龙");
    EXPECT_EQ(text.GetSelection(), (CharRange{5, 6}));
    Search("龙");
    EXPECT_EQ(text.GetSelection(), (CharRange{7, 8}));
    EXPECT_TRUE(host.Messages().empty());

    Search("龙");
    EXPECT_EQ(LastMessage(), "搜索字符串未找到！");
    EXPECT_EQ(host.Messages().back().caption, MessageCaption::kAppName);
    EXPECT_EQ(text.GetSelection(), (CharRange{7, 8}));

    // From the very end, an earlier occurrence is not found either.
    text.SetSelection({9, 9});
    Search("甲");
    EXPECT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(text.GetSelection(), (CharRange{9, 9}));
}

TEST_F(DetectCommands, SearchIgnoresLatinCaseAndGivesTheTextTheFocus) {
    Load("Chapter ABC ends");
    uint64_t before = text.FocusStamp();
    Search("abc");
    EXPECT_EQ(text.GetSelection(), (CharRange{8, 11}));
    EXPECT_GT(text.FocusStamp(), before);
}

TEST_F(DetectCommands, EmptySearchTextIsRefused) {
    Load("甲乙");
    text.SetSelection({1, 1});
    Search("");
    EXPECT_EQ(LastMessage(), "请输入搜索关键字");
    EXPECT_EQ(host.Messages().back().caption, MessageCaption::kPrompt);
    EXPECT_EQ(text.GetSelection(), (CharRange{1, 1}));
}

TEST_F(DetectCommands, ChangingTheSearchTextRestartsTheAutomaticAdds) {
    Load("第一章\r\n甲\r\n第二章\r\n乙");
    host.SetFieldText(kStartChapterField, G("第一章"));
    // A scan position left past the start heading: the heading is not found after it.
    dialog.detectionScanPosition = 10;
    dialog.OnCommand(kIncrementalAddButton);
    EXPECT_EQ(LastMessage(), "文本中没有找到可以自动添加章节的关键字");

    dialog.detectionScanPosition = 10;
    dialog.OnFieldChanged(kSearchEdit);
    EXPECT_EQ(dialog.detectionScanPosition, 0);
    dialog.OnCommand(kKeywordAddButton);
    EXPECT_EQ(chapterList.Texts(), (std::vector<std::string>{G("第一章"), G("第二章")}));
    EXPECT_EQ(dialog.chapters.Count(), 2u);
}

TEST_F(DetectCommands, MissingCheckFeedsTheProblemListItsEntriesNavigate) {
    Load("第一章\r\n\r\n第三章");
    host.SetFieldText(kStartChapterField, G("第一章"));
    dialog.OnCommand(kKeywordAddButton);
    ChapterRecord third;
    third.SetTitle(G("第三章"));
    third.offset = 9;
    dialog.chapters.Append(third);
    chapterList.AddString(third.title);

    dialog.OnCommand(kCheckMissingButton);
    EXPECT_EQ(problemList.Texts(), (std::vector<std::string>{G("缺少第二！")}));

    problemList.AddString(G("[Line 2]为空行"));
    problemList.SetSel(true, 1);
    dialog.OnListSelectionChanged(kProblemList);
    EXPECT_EQ(text.GetFirstVisibleLine(), 2);
    problemList.AddString(G("“第三章”与“第三章”章节重复，不能生成QBR[Line 2]！"));
    problemList.SetSel(true, 2);
    dialog.OnListDoubleClicked(kProblemList);
    EXPECT_EQ(text.GetSelection(), (CharRange{5, 8}));
}

TEST_F(DetectCommands, ConversionRunsUnderTheWaitCursor) {
    Load("這是書\r\n\r\n書");
    dialog.OnCommand(kConvertButton);
    EXPECT_EQ(U(text.GetText()), "这是书\r\n\r\n书");
    EXPECT_EQ(host.WaitCursorShown(), 1);
    EXPECT_EQ(host.WaitDepth(), 0);
}

}  // namespace
}  // namespace brisna
