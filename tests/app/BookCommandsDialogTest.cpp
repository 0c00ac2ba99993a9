// "生成qbr", "打开qbr2文件" and "打开qbr" pressed on the dialog, with the operator's steps before
// them: open a text, mark chapters, generate, open the result again.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna {
namespace {

using test::G;

class BookCommands : public ::testing::Test {
  protected:
    BookCommands() : dialog(text, chapterList, problemList, host, dir / "no-words.csv") {}

    // Opens a three-chapter book and marks every heading by hand.
    void OpenAndMark() {
        book = G("第一章 开始\r\n") + Prose(3000) + G("第二章 中途\r\n") + Prose(3000) +
               G("第三章 结尾\r\n") + Prose(3000);
        test::WriteFileBytes(dir / "river.txt", book);
        host.QueueFileChoice((dir / "river.txt").string());
        dialog.OnCommand(kOpenTextButton);
        for (int32_t line : {0, 2, 4}) {
            text.SetSelection({text.LineIndex(line), text.LineIndex(line)});
            dialog.OnCommand(kAddChapterButton);
        }
        ASSERT_EQ(dialog.chapters.Count(), 3u);
        ASSERT_TRUE(host.Messages().empty());
    }

    static std::string Prose(size_t bytes) {
        std::string line = G("河水慢慢流过村口，水车一圈一圈地转着，");
        std::string out;
        while (out.size() + line.size() < bytes) out += line;
        return out + "\r\n";
    }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : host.Messages()) texts.push_back(test::U(message.text));
        return texts;
    }

    test::TempDir dir;
    HeadlessRichEdit text;
    HeadlessListBox chapterList, problemList;
    HeadlessDialogHost host;
    CBrisnaMakeDlg dialog;
    std::string book;
};

TEST_F(BookCommands, GenerateThenOpenEitherFileBringsTheBookBack) {
    OpenAndMark();
    dialog.OnCommand(kGenerateButton);
    ASSERT_EQ(MessageTexts(), std::vector<std::string>{"生成qbr和qbr2成功"});
    EXPECT_EQ(host.Messages()[0].caption, MessageCaption::kPrompt);
    EXPECT_EQ(host.WaitDepth(), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "river.qbr2"));
    EXPECT_TRUE(std::filesystem::exists(dir / "river.qbr"));

    const std::vector<std::string> titles = chapterList.Texts();
    for (int id : {kOpenQbr2Button, kOpenQbrButton}) {
        const char* name = id == kOpenQbr2Button ? "river.qbr2" : "river.qbr";
        text.SetText("something else");
        chapterList.SetSel(true, 1);
        host.QueueFileChoice((dir / name).string());
        dialog.OnCommand(id);
        EXPECT_EQ(host.Messages().size(), 1u) << name;
        EXPECT_EQ(dialog.openedBookPath, (dir / name).string());
        EXPECT_EQ(dialog.bookSourcePath, (dir / "river.txt").string());
        EXPECT_TRUE(text.GetText() == book) << name;
        EXPECT_EQ(chapterList.Texts(), titles);
        EXPECT_EQ(dialog.chapters.Count(), 3u);
        EXPECT_EQ(dialog.chapters.RecordAt(2)->offset, book.find(G("第三章")));
        EXPECT_EQ(text.GetSelection(), (CharRange{0, 0}));
    }
    EXPECT_EQ(host.AskedFilters(),
              (std::vector<FileFilter>{FileFilter::kText, FileFilter::kQbr2, FileFilter::kQbr}));

    // Generating again from the opened book writes the same names beside it.
    std::filesystem::remove(dir / "river.qbr2");
    dialog.OnCommand(kGenerateButton);
    EXPECT_EQ(MessageTexts().back(), "生成qbr和qbr2成功");
    EXPECT_TRUE(std::filesystem::exists(dir / "river.qbr2"));
}

TEST_F(BookCommands, GenerateRefusesWhatTheChecksRefuse) {
    OpenAndMark();
    dialog.OnCommand(kDeleteAllButton);
    dialog.OnCommand(kGenerateButton);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"请至少添加2个章节"});
    EXPECT_FALSE(std::filesystem::exists(dir / "river.qbr2"));
}

TEST_F(BookCommands, FailedOpenKeepsTheEditorText) {
    OpenAndMark();
    test::WriteFileBytes(dir / "bad.qbr2", "no book here");
    host.QueueFileChoice((dir / "bad.qbr2").string());
    dialog.OnCommand(kOpenQbr2Button);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"解析qbr文件失败，文件长度错误"});
    EXPECT_EQ(host.Messages()[0].caption, MessageCaption::kNone);
    EXPECT_TRUE(text.GetText() == book);
    EXPECT_EQ(chapterList.GetCount(), 0);
    EXPECT_EQ(dialog.bookSourcePath, (dir / "bad.txt").string());

    // A cancelled dialog changes nothing at all.
    dialog.OnCommand(kOpenQbrButton);
    EXPECT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(dialog.openedBookPath, (dir / "bad.qbr2").string());
}

}  // namespace
}  // namespace brisna
