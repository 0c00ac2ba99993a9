// 自动识别章节 and 按规则识别章节 in the dialog: what they ask before replacing marked chapters,
// what they offer for a book longer than one, and that a bad rule changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

// Answers each question with the next queued answer and records it.
class AnsweringHost : public HeadlessDialogHost {
  public:
    int AskQuestion(std::string_view text, const std::vector<std::string>& buttons,
                    int defaultButton) override {
        std::string asked = U(text) + " [";
        for (const std::string& button : buttons) asked += U(button) + "|";
        asked += std::to_string(defaultButton) + "]";
        questions.push_back(asked);
        return answers.empty() ? defaultButton : answers[questions.size() - 1];
    }
    std::vector<int> answers;
    std::vector<std::string> questions;
};

std::string Novel(int chapters) {
    std::string book = "山路\r\n";
    for (int i = 1; i <= chapters; ++i) {
        book += "第" + std::to_string(i) + "章 远行\r\n　　他走上了山路，远处亮起了灯火。\r\n";
    }
    return book;
}

class RecognitionDialog : public ::testing::Test {
  protected:
    void Open(const std::string& utf8Book) {
        test::WriteFileBytes(dir / "book.txt", G(utf8Book));
        host.QueueFileChoice((dir / "book.txt").string());
        dialog.OnCommand(kOpenTextButton);
    }
    void MarkLine(int32_t line) {
        int32_t at = text.LineIndex(line);
        text.SetSelection({at, at});
        dialog.OnCommand(kAddChapterButton);
    }

    test::TempDir dir;
    HeadlessRichEdit text;
    HeadlessListBox chapterList;
    HeadlessListBox problemList;
    AnsweringHost host;
    CBrisnaMakeDlg dialog{text, chapterList, problemList, host, dir / "no-words.csv"};
};

TEST_F(RecognitionDialog, MarkedChaptersAreReplacedOnlyWhenTheOperatorSaysSo) {
    Open(Novel(60));
    MarkLine(0);
    MarkLine(3);
    ASSERT_EQ(dialog.chapters.Count(), 2u);
    host.answers = {1, 0};
    dialog.OnAutoDetectChapters();
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "已标记2个章节。用识别结果替换吗？ [替换|取消|1]");
    EXPECT_EQ(dialog.chapters.Count(), 2u);

    dialog.OnAutoDetectChapters();
    EXPECT_EQ(dialog.chapters.Count(), 61u);
    EXPECT_EQ(chapterList.GetCount(), 61);
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(RecognitionDialog, ALongBookOffersPartsAndEpub) {
    Open(Novel(120));
    host.answers = {2, 1};
    dialog.OnAutoDetectChapters();
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(
        host.questions[0],
        "本书共121章，超过98章，一本书装不下。请分册生成或生成EPUB。 [分册生成|生成EPUB|取消|2]");
    EXPECT_EQ(dialog.chapters.Count(), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "book.epub"));

    // 生成EPUB writes the whole book from the recognised contents.
    dialog.OnAutoDetectChapters();
    EXPECT_TRUE(std::filesystem::exists(dir / "book.epub"));
    EXPECT_EQ(dialog.chapters.Count(), 0u);
}

TEST_F(RecognitionDialog, ARuleMarksItsLinesAndABadOneChangesNothing) {
    Open("书名\r\n==1==\r\n文字。\r\n==2==\r\n文字。\r\n");
    MarkLine(0);
    host.answers = {0};
    EXPECT_FALSE(dialog.OnRuleChapters({"==(", "", false}));
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(U(host.Messages()[0].text).rfind("章节规则有误（第", 0), 0u);
    EXPECT_EQ(dialog.chapters.Count(), 1u);
    EXPECT_TRUE(host.questions.empty());

    EXPECT_FALSE(dialog.OnRuleChapters({"Chapter", "", false}));
    EXPECT_EQ(U(host.Messages().back().text), "没有一行符合章节规则");

    EXPECT_TRUE(dialog.OnRuleChapters({"==[0-9]+==", "", false}));
    ASSERT_EQ(dialog.chapters.Count(), 3u);
    EXPECT_EQ(U(dialog.chapters.RecordAt(2)->Title()), "==2==");
}

}  // namespace
}  // namespace brisna
