#include <gtest/gtest.h>

#include "Capacities.h"
#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

class OpenText : public ::testing::Test {
  protected:
    OpenText() : dialog(text, chapterList, problemList, host, dir / "no-words.csv") {
        // A book already in the editor, with chapters and problem entries.
        text.SetText(G("旧文\r\n第二章"));
        dialog.bookText.RebuildLineTable();
        ChapterRecord first;
        first.SetTitle(G("旧文"));
        dialog.chapters.Append(first);
        dialog.chapters.SetTextLength(99);
        chapterList.AddString(G("旧文"));
        chapterList.AddString(G("第二章"));
        problemList.AddString(G("可疑字"));
        dialog.detectionScanPosition = 7;
        dialog.bookSourcePath = "old.txt";
    }

    std::string Write(std::string_view name, std::string_view bytes) {
        test::WriteFileBytes(dir / name, bytes);
        return (dir / name).string();
    }

    // Everything a failed load must leave as it was, apart from the stored path.
    void ExpectOldBookUntouched() {
        EXPECT_EQ(text.GetText(), G("旧文\r\n第二章"));
        EXPECT_EQ(dialog.chapters.Count(), 1u);
        EXPECT_EQ(dialog.chapters.TextLength(), 99u);
        EXPECT_EQ(chapterList.GetCount(), 2);
        EXPECT_EQ(problemList.GetCount(), 1);
        EXPECT_EQ(dialog.bookText.LineStarts(), (std::vector<uint32_t>{0, 6}));
    }

    test::TempDir dir;
    HeadlessRichEdit text;
    HeadlessListBox chapterList, problemList;
    HeadlessDialogHost host;
    CBrisnaMakeDlg dialog;
};

TEST_F(OpenText, LoadsNormalisedTextAndClearsTheChapters) {
    std::string path =
        Write("book.txt", G("第１２章\r\n\r\n\r\n\r\n") + std::string("\xA3\xA0", 2) + G("正文\r"));
    host.QueueFileChoice(path);
    text.SetSelection({3, 4});
    dialog.OnCommand(kOpenTextButton);

    EXPECT_EQ(host.AskedFilters(), (std::vector<FileFilter>{FileFilter::kText}));
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(dialog.bookSourcePath, path);
    EXPECT_EQ(text.GetText(), G("第12章\r\n\r\n 正文"));
    EXPECT_EQ(dialog.bookText.LineStarts(), (std::vector<uint32_t>{0, 8, 10}));
    EXPECT_EQ(text.GetSelection(), (CharRange{0, 0}));
    EXPECT_GT(text.FocusStamp(), 0u);
    EXPECT_EQ(dialog.chapters.Count(), 0u);
    EXPECT_EQ(dialog.chapters.TextLength(), 0u);
    EXPECT_EQ(chapterList.GetCount(), 0);
    // The last book's problems would point into this one; the scan position and the word list
    // belong to other commands.
    EXPECT_EQ(problemList.GetCount(), 0);
    EXPECT_EQ(dialog.detectionScanPosition, 7);
    EXPECT_EQ(host.WaitCursorShown(), 1);
    EXPECT_EQ(host.WaitDepth(), 0);
}

TEST_F(OpenText, EmptyFileStillClearsTheChapters) {
    host.QueueFileChoice(Write("empty.txt", ""));
    dialog.OnOpenText();
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(text.GetText(), "");
    EXPECT_EQ(chapterList.GetCount(), 0);
    EXPECT_EQ(dialog.chapters.Count(), 0u);
    EXPECT_EQ(dialog.bookText.LineStarts(), (std::vector<uint32_t>{0}));
}

TEST_F(OpenText, FileWithNulLoadsOnlyWhatComesBefore) {
    host.QueueFileChoice(Write("nul.txt", std::string("ab\0cd", 5)));
    dialog.OnOpenText();
    EXPECT_EQ(text.GetText(), "ab");
}

TEST_F(OpenText, CancelChangesNothing) {
    dialog.OnOpenText();
    EXPECT_EQ(dialog.bookSourcePath, "old.txt");
    EXPECT_EQ(host.WaitCursorShown(), 0);
    EXPECT_TRUE(host.Messages().empty());
    ExpectOldBookUntouched();
}

TEST_F(OpenText, MissingFileKeepsTheBookButStoresThePath) {
    std::string path = (dir / "gone.txt").string();
    host.QueueFileChoice(path);
    dialog.OnOpenText();
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, G("打开文件失败"));
    EXPECT_EQ(host.Messages()[0].caption, MessageCaption::kNone);
    EXPECT_EQ(dialog.bookSourcePath, path);
    EXPECT_EQ(host.WaitCursorShown(), 1);
    EXPECT_EQ(host.WaitDepth(), 0);
    ExpectOldBookUntouched();
}

TEST_F(OpenText, TooLargeFileIsRefused) {
    std::string path = Write("big.txt", std::string(kMaxTextBytes, 'x'));
    host.QueueFileChoice(path);
    dialog.OnOpenText();
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, G("txt文件大小不能超过10M"));
    EXPECT_EQ(dialog.bookSourcePath, path);
    EXPECT_EQ(host.WaitDepth(), 0);
    ExpectOldBookUntouched();
}

TEST_F(OpenText, LargestFileLoads) {
    std::string body(kMaxTextBytes - 1, 'x');
    body[100] = '\r';
    body[101] = '\n';
    host.QueueFileChoice(Write("largest.txt", body));
    dialog.OnOpenText();
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(text.GetTextLength(), static_cast<int32_t>(kMaxTextBytes - 1));
    EXPECT_EQ(dialog.bookText.LineStarts(), (std::vector<uint32_t>{0, 102}));
}

// A book in UTF-8 with characters GBK lacks: loaded, converted, and one notice afterwards.
TEST_F(OpenText, ConvertedBookReportsReplacedCharactersOnce) {
    host.QueueFileChoice(Write("utf8.txt", "\xEF\xBB\xBF第一章\r\n好😀\r\n\r\n\r\nก尾"));
    dialog.OnOpenText();
    EXPECT_EQ(text.GetText(), G("第一章\r\n好?\r\n\r\n?尾"));
    EXPECT_EQ(chapterList.GetCount(), 0);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, G("有2个字符无法转换为GBK，已替换为“?”，第一个在第2行"));
    EXPECT_EQ(host.Messages()[0].caption, MessageCaption::kPrompt);
    EXPECT_EQ(host.WaitDepth(), 0);
}

TEST_F(OpenText, ChosenEncodingOverridesDetection) {
    const std::string utf8 = "第一章\r\n正文\r\n";
    const std::string path = Write("book.txt", utf8);
    struct Case {
        TextEncoding encoding;
        std::string expected;
    } cases[] = {
        {TextEncoding::kAuto, G(utf8)},
        {TextEncoding::kUtf8, G(utf8)},
        {TextEncoding::kGbk, utf8},  // the bytes as they stand, as before detection existed
    };
    for (const Case& c : cases) {
        dialog.textEncoding = c.encoding;
        host.QueueFileChoice(path);
        dialog.OnOpenText();
        EXPECT_EQ(text.GetText(), c.expected) << TextEncodingName(c.encoding);
    }
    EXPECT_TRUE(host.Messages().empty());
}

}  // namespace
}  // namespace brisna
