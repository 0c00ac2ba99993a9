#include "app/SuspiciousWords.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using Words = std::vector<std::string>;

Words ReadFrom(std::string_view content) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "BrisnaMake.csv", content);
    return ReadSuspiciousWords(dir / "BrisnaMake.csv");
}

TEST(SuspiciousWords, LinesBecomeEntriesInFileOrder) {
    EXPECT_EQ(ReadFrom("a\r\nb\r\n"), (Words{"a", "b"}));
    EXPECT_EQ(ReadFrom("a\r\nb\r\nc"), (Words{"a", "b", "c"}));
    EXPECT_EQ(ReadFrom("a\nb"), (Words{"a", "b"}));
    EXPECT_EQ(ReadFrom(""), Words{});
    EXPECT_EQ(ReadFrom("a\r\n\r\nb\r\n"), (Words{"a", "", "b"}));
    EXPECT_EQ(ReadFrom("\n"), (Words{""}));
    // A CR that is not part of a line end stays in its entry.
    EXPECT_EQ(ReadFrom("a\rb\r\r\nc"), (Words{"a\rb\r", "c"}));
    std::string gbk = test::G("妈的") + "\r\n" + test::G("他妈");
    EXPECT_EQ(ReadFrom(gbk), (Words{test::G("妈的"), test::G("他妈")}));
}

TEST(SuspiciousWords, ListsInOtherEncodingsGiveGbkEntries) {
    const Words expected{test::G("妈的"), test::G("他妈")};
    EXPECT_EQ(ReadFrom("\xEF\xBB\xBF妈的\r\n他妈\r\n"), expected);  // the mark is no part of a word
    EXPECT_EQ(ReadFrom("妈的\n他妈"), expected);
    EXPECT_EQ(ReadFrom(std::string("\xFF\xFE\x88\x59\x84\x76\r\0\n\0\xD6\x4E\x88\x59", 14)),
              expected);
}

TEST(SuspiciousWords, WhatIsNoListGivesNoEntriesAndNeverStops) {
    test::TempDir dir;
    // A folder, and a FIFO without a writer (opening it must not wait).
    std::filesystem::create_directory(dir / "BrisnaMake.csv");
    EXPECT_EQ(LoadSuspiciousWords(dir / "BrisnaMake.csv").status, WordListStatus::kMissing);
    const std::filesystem::path fifo = dir / "fifo.csv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(LoadSuspiciousWords(fifo).status, WordListStatus::kMissing);

    test::WriteFileBytes(dir / "large.csv", std::string(kMaxWordListBytes + 1, 'x'));
    WordListResult large = LoadSuspiciousWords(dir / "large.csv");
    EXPECT_EQ(large.status, WordListStatus::kTooLarge);
    EXPECT_TRUE(large.words.empty());
    test::WriteFileBytes(dir / "largest.csv", std::string(kMaxWordListBytes, 'x'));
    EXPECT_EQ(LoadSuspiciousWords(dir / "largest.csv").words.size(), 1u);

    // The dialog starts with an empty list and says why.
    HeadlessRichEdit text;
    HeadlessListBox chapters, problems;
    HeadlessDialogHost host;
    CBrisnaMakeDlg dialog(text, chapters, problems, host, dir / "large.csv");
    EXPECT_TRUE(dialog.suspiciousWords.empty());
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, test::G("可疑字文件大小不能超过1M，未读取"));
}

TEST(SuspiciousWords, MissingFileGivesNoEntries) {
    test::TempDir dir;
    EXPECT_TRUE(ReadSuspiciousWords(dir / "BrisnaMake.csv").empty());
    EXPECT_TRUE(ReadSuspiciousWords({}).empty());
}

TEST(SuspiciousWords, DialogReadsTheListFromTheCurrentDirectory) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "BrisnaMake.csv", "x\r\ny\r\n");
    HeadlessRichEdit text;
    HeadlessListBox chapters, problems;
    HeadlessDialogHost host;

    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    CBrisnaMakeDlg here(text, chapters, problems, host);
    std::filesystem::create_directory(dir / "elsewhere");
    std::filesystem::current_path(dir / "elsewhere");
    CBrisnaMakeDlg elsewhere(text, chapters, problems, host);
    std::filesystem::current_path(previous);

    EXPECT_EQ(here.suspiciousWords, (Words{"x", "y"}));
    EXPECT_TRUE(elsewhere.suspiciousWords.empty());
    EXPECT_EQ(here.chapters.Count(), 0u);
    EXPECT_EQ(here.detectionScanPosition, 0);
    EXPECT_EQ(here.problemListShown, 1);
    EXPECT_EQ(here.wideDisplay, 0);
}

}  // namespace
}  // namespace brisna
