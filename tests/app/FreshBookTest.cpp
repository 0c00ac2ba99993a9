// Every opener starts the next book afresh: the problem list of the last test and the files the
// last generation wrote belonged to the book that went. And 检查缺章 in the window keeps what
// the last test found when it has nothing to add.
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

class FreshBook : public ::testing::Test {
  protected:
    FreshBook() : dialog(text, chapterList, problemList, host, dir / "no-words.csv") {}

    // Opens a book with these headings, each over a paragraph and empty lines, and marks them.
    void OpenAndMark(const std::string& name, std::vector<std::string> headings) {
        std::string book;
        for (const std::string& heading : headings) {
            book += G(heading + "\r\n河水慢慢流过村口，水车一圈一圈地转着。\r\n\r\n\r\n");
        }
        test::WriteFileBytes(dir / name, book);
        Open(kOpenTextButton, dir / name);
        for (int32_t line = 0; line < text.GetLineCount(); ++line) {
            const std::string shown = text.GetLine(line);
            if (!shown.starts_with(G("第"))) continue;
            text.SetSelection({text.LineIndex(line), text.LineIndex(line)});
            dialog.OnCommand(kAddChapterButton);
        }
        ASSERT_EQ(dialog.chapters.Count(), headings.size());
    }

    void Open(int opener, const std::filesystem::path& path) {
        host.QueueFileChoice(path.string());
        dialog.OnCommand(opener);
    }

    test::TempDir dir;
    HeadlessRichEdit text;
    HeadlessListBox chapterList, problemList;
    HeadlessDialogHost host;
    CBrisnaMakeDlg dialog;
};

TEST_F(FreshBook, EveryOpenerDropsTheLastBooksProblemsAndWrittenFiles) {
    OpenAndMark("a.txt", {"第一章 起", "第二章 承", "第三章 转"});
    dialog.OnCommand(kGenerateButton);
    dialog.OnCommand(kGenerateEpubCommand);
    ASSERT_FALSE(dialog.lastWrittenFiles.empty());
    OpenAndMark("b.txt", {"第一章 甲", "第二章 乙"});

    const struct {
        int opener;
        const char* file;
    } openers[] = {
        {kOpenTextButton, "a.txt"},
        {kOpenQbr2Button, "a.qbr2"},
        {kOpenQbrButton, "a.qbr"},
        {kOpenEpubCommand, "a.epub"},
    };
    for (const auto& [opener, file] : openers) {
        dialog.OnCommand(kTestButton);  // the empty lines of the book on show
        ASSERT_GT(problemList.GetCount(), 0) << file;
        dialog.lastWrittenFiles = {"elsewhere.qbr2"};
        const uint64_t opened = dialog.BooksOpened();
        Open(opener, dir / file);
        EXPECT_EQ(dialog.BooksOpened(), opened + 1) << file;
        EXPECT_EQ(problemList.GetCount(), 0) << file;
        EXPECT_TRUE(dialog.lastWrittenFiles.empty()) << file;
    }

    // An open that is cancelled or fails to read leaves the book on show, and its problems.
    dialog.OnCommand(kTestButton);
    const int32_t entries = problemList.GetCount();
    dialog.OnCommand(kOpenTextButton);  // no file chosen
    Open(kOpenTextButton, dir / "missing.txt");
    EXPECT_EQ(problemList.GetCount(), entries);
}

TEST_F(FreshBook, MissingCheckInTheWindowKeepsTheListWhenNothingIsMissing) {
    enum class After { kTestsEntries, kMissingEntries, kEmpty };
    const struct {
        bool window;
        std::vector<std::string> headings;
        After list;
        std::vector<std::string> messages;
    } cases[] = {
        {true, {"第一章 起", "第二章 承"}, After::kTestsEntries, {"没有发现缺少的章节"}},
        {true, {"第一章 起", "第三章 转"}, After::kMissingEntries, {}},
        // The command line prints the list: there it empties as it always has.
        {false, {"第一章 起", "第二章 承"}, After::kEmpty, {}},
    };
    for (const auto& c : cases) {
        OpenAndMark("book.txt", c.headings);
        dialog.tellWhenNothingMissing = c.window;
        dialog.OnCommand(kTestButton);
        const std::vector<std::string> tested = problemList.Texts();
        ASSERT_FALSE(tested.empty());
        host.ClearMessages();
        dialog.OnCommand(kCheckMissingButton);

        std::vector<std::string> messages;
        for (const ShownMessage& message : host.Messages()) {
            messages.push_back(test::U(message.text));
            EXPECT_EQ(message.caption, MessageCaption::kPrompt);
        }
        EXPECT_EQ(messages, c.messages);
        switch (c.list) {
            case After::kTestsEntries:
                EXPECT_EQ(problemList.Texts(), tested);
                break;
            case After::kMissingEntries:
                ASSERT_EQ(problemList.GetCount(), 1);
                EXPECT_TRUE(test::U(problemList.GetText(0)).starts_with("缺少第二"));
                break;
            case After::kEmpty:
                EXPECT_EQ(problemList.GetCount(), 0);
                break;
        }
    }
}

}  // namespace
}  // namespace brisna
