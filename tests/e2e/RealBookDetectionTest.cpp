// Chapter detection on a real Chinese book whose headings count up: the Chinese Debian FAQ that
// scripts/install-deps.sh installs (read at test time, never committed). Its chapters are headed
// "第 1 章 定义和概览" ... "第 16 章 关于本 FAQ 的一般性信息".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "detect/HeadingPatternDetection.h"
#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"

namespace brisna::e2e {
namespace {

// The FAQ spaces its headings with no-break spaces, which GBK does not have: plain spaces, as a
// book prepared for a reader would hold.
std::string WithPlainSpaces(std::string faq) {
    for (size_t at = faq.find("\xC2\xA0"); at != std::string::npos; at = faq.find("\xC2\xA0", at)) {
        faq.replace(at, 2, " ");
    }
    return faq;
}

// The whole FAQ as GBK with CR LF line ends, nothing left out: title page, contents list and
// every cross-reference.
std::string WholeFaq() {
    const std::string faq = WithPlainSpaces(Gunzip(kChineseFaq));
    std::string book;
    size_t at = 0;
    while (at < faq.size()) {
        size_t end = faq.find('\n', at);
        if (end == std::string::npos) end = faq.size();
        book += Utf8ToGbk(faq.substr(at, end - at)) + "\r\n";
        at = end + 1;
    }
    return book;
}

// The whole FAQ, unprepared, without the heading line of chapter `dropHeading` (0: none). Its
// running text mentions chapters ("见第 9 章…") before and after their headings.
std::string FaqWithoutHeading(int dropHeading) {
    if (dropHeading == 0) return WholeFaq();
    std::string book = WholeFaq();
    const std::string heading = "\r\n" + Utf8ToGbk("第 " + std::to_string(dropHeading) + " 章 ");
    size_t at = book.find(heading);
    if (at == std::string::npos) return book;
    size_t end = book.find("\r\n", at + 2);
    book.erase(at, end == std::string::npos ? std::string::npos : end - at);
    return book;
}

std::vector<std::string> Titles(const CliResult& run) {
    std::vector<std::string> titles;
    for (const std::string& line : run.Lines()) {
        size_t tab = line.rfind('\t');
        if (tab != std::string::npos) titles.push_back(line.substr(tab + 1));
    }
    return titles;
}

class RealBookDetection : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(kChineseFaq)) {
            GTEST_SKIP() << "the Chinese Debian FAQ (debian-faq-zh-cn) is not installed";
        }
    }
    test::TempDir dir;
};

// The front matter is marked by hand at line 0; headings at line start pass over every mention.
TEST_F(RealBookDetection, IncrementalAddFindsEveryChapter) {
    test::WriteFileBytes(dir / "faq.txt", FaqWithoutHeading(0));
    CliResult run = RunCli(
        {"chapters", "faq.txt", "--line", "0", "--incremental", "第 1 章", "--at-line-start"},
        dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    const std::vector<std::string> titles = Titles(run);
    ASSERT_EQ(titles.size(), 17u) << run.out;
    for (size_t i = 1; i < titles.size(); ++i) {
        EXPECT_EQ(titles[i].rfind("第 " + std::to_string(i) + " 章 ", 0), 0u) << titles[i];
    }
    EXPECT_EQ(run.Lines().front().substr(0, 2), "0\t");
}

TEST_F(RealBookDetection, MissingCheckReportsARemovedHeading) {
    test::WriteFileBytes(dir / "faq.txt", FaqWithoutHeading(5));
    // The run from 第 1 章 ends where 第 5 章 is missing; a second run picks up at 第 6 章.
    const std::vector<std::string> options{"faq.txt",       "--line",         "0",
                                           "--incremental", "第 1 章",        "--incremental",
                                           "第 6 章",       "--at-line-start"};
    std::vector<std::string> missing{"missing"};
    missing.insert(missing.end(), options.begin(), options.end());
    CliResult run = RunCli(missing, dir.path());
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.Lines(), std::vector<std::string>{"缺少第 5！"});

    std::vector<std::string> chapters{"chapters"};
    chapters.insert(chapters.end(), options.begin(), options.end());
    CliResult listed = RunCli(chapters, dir.path());
    EXPECT_EQ(Titles(listed).size(), 16u) << listed.out;  // the front matter and 15 chapters
}

TEST_F(RealBookDetection, AutoRecognitionMarksEveryHeadingOfTheWholeBook) {
    test::WriteFileBytes(dir / "faq.txt", WholeFaq());
    HeadlessRichEdit view;
    HeadlessListBox chapterList;
    HeadlessListBox problemList;
    HeadlessDialogHost host;
    CBrisnaMakeDlg dialog(view, chapterList, problemList, host, dir / "no-words.csv");
    host.QueueFileChoice((dir / "faq.txt").string());
    dialog.OnOpenText();
    const std::string text = view.GetText();

    std::vector<HeadingCandidate> candidates = DetectHeadingPatterns(text);
    ASSERT_FALSE(candidates.empty());
    EXPECT_EQ(GbkToUtf8Lossless(candidates[0].startHeading), "第 1 章");
    EXPECT_EQ(candidates[0].chapters, 17);  // the title page and contents list, then 16

    dialog.OnAutoDetectChapters();
    EXPECT_TRUE(host.Messages().empty()) << GbkToUtf8Lossless(host.Messages().front().text);
    // The title page and the contents list become the first chapter.
    ASSERT_EQ(dialog.chapters.Count(), 17u);
    EXPECT_EQ(dialog.chapters.OffsetAt(0), 0u);
    for (uint32_t i = 1; i < 17; ++i) {
        const std::string title(dialog.chapters.RecordAt(i)->Title());
        const uint32_t offset = dialog.chapters.OffsetAt(i);
        EXPECT_EQ(GbkToUtf8Lossless(title).rfind("第 " + std::to_string(i) + " 章 ", 0), 0u)
            << GbkToUtf8Lossless(title);
        ASSERT_GT(offset, 1u);
        EXPECT_EQ(text.substr(offset - 2, 2), "\r\n") << i;
        EXPECT_EQ(text.compare(offset, title.size(), title), 0) << i;
    }
}

// The command line's --auto on the unprepared book: the title page and contents list become the
// first chapter, then one chapter per heading, titled by the heading line and starting there.
TEST_F(RealBookDetection, AutoOptionMarksEveryHeadingAtItsLine) {
    test::WriteFileBytes(dir / "faq.txt", WholeFaq());
    // Offsets count in the text as loaded (blank lines thinned out).
    const std::string book = PrepareLoadedText(WholeFaq());
    CliResult detect = RunCli({"detect", "faq.txt"}, dir.path());
    ASSERT_EQ(detect.exitCode, 0) << detect.err;
    EXPECT_EQ(detect.Lines().front().substr(0, detect.Lines().front().find('\t', 10)),
              "第 1 章\t17");

    CliResult run = RunCli({"chapters", "faq.txt", "--auto"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = run.Lines();
    ASSERT_EQ(lines.size(), 17u) << run.out;
    EXPECT_EQ(lines[0].substr(0, 2), "0\t");
    EXPECT_NE(lines[0].find("Debian GNU/Linux"), std::string::npos) << lines[0];
    for (size_t i = 1; i < lines.size(); ++i) {
        const size_t offset = std::stoul(lines[i]);
        ASSERT_GT(offset, 1u);
        ASSERT_LT(offset, book.size());
        EXPECT_EQ(book.substr(offset - 2, 2), "\r\n") << lines[i];
        // The title is the line read from that offset.
        std::string line =
            book.substr(offset, std::min<size_t>(60, book.find('\r', offset) - offset));
        const std::string title = lines[i].substr(lines[i].rfind('\t') + 1);
        EXPECT_EQ(title, GbkToUtf8Lossless(line)) << i;
        EXPECT_EQ(title.rfind("第 " + std::to_string(i) + " 章 ", 0), 0u) << title;
    }
}

}  // namespace
}  // namespace brisna::e2e
