#include "app/SuspiciousWords.h"

#include <gtest/gtest.h>

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
