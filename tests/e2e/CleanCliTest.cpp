// brisnamake-cli clean and --clean: the text written back in the book's encoding, the changes
// listed, the files and patterns it is given checked.
#include <gtest/gtest.h>

#include <string>

#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"

namespace brisna::e2e {
namespace {

using test::G;

// A small downloaded book, UTF-8 with LF line ends.
const std::string kDownloaded =
    "目录\n第1章　山门\n第2章　下山\n第3章　回家\n"
    "第1章　山门\n　　少年背着柴走下山。\n本书由××小说网整理，请于下载后24小时内删除\n"
    "　　“求推荐！”小师妹喊道。\n（本章完）\n"
    "第2章　下山\n　　雨停了。\nPS：今天两更\n"
    "第3章　回家\n　　他回到了家。\n求月票！求推荐票！\n";

const std::string kCleaned =
    "第1章　山门\n　　少年背着柴走下山。\n　　“求推荐！”小师妹喊道。\n"
    "第2章　下山\n　　雨停了。\n　　PS：今天两更\n"
    "第3章　回家\n　　他回到了家。\n";

class CleanCli : public ::testing::Test {
  protected:
    void SetUp() override { test::WriteFileBytes(dir / "book.txt", kDownloaded); }
    test::TempDir dir;
};

TEST_F(CleanCli, WritesTheCleanedTextInTheBooksEncoding) {
    CliResult run = RunCli({"clean", "book.txt", "-o", "out.txt"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::ReadFileBytes(dir / "out.txt"), kCleaned);
    ASSERT_EQ(run.ErrLines().size(), 1u) << run.err;
    EXPECT_EQ(run.ErrLines()[0], "已删除广告等 3 行、目录 1 处，合并断行 0 处");

    // A GBK book comes back as GBK with its CR LF line ends; --notes takes the note too.
    std::string gbk = G(kDownloaded);
    for (size_t at = gbk.find('\n'); at != std::string::npos; at = gbk.find('\n', at + 2)) {
        gbk.insert(at, "\r");
    }
    test::WriteFileBytes(dir / "gbk.txt", gbk);
    run = RunCli({"clean", "gbk.txt", "--notes", "--indent", "0", "-o", "-"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, G("第1章　山门\r\n少年背着柴走下山。\r\n“求推荐！”小师妹喊道。\r\n"
                         "第2章　下山\r\n雨停了。\r\n第3章　回家\r\n他回到了家。\r\n"));
    EXPECT_EQ(run.ErrLines()[0], "已删除广告等 4 行、目录 1 处，合并断行 0 处");
}

TEST_F(CleanCli, DryRunListsTheChangesAndWritesNothing) {
    CliResult run = RunCli({"clean", "book.txt", "--dry-run", "-o", "out.txt"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));
    const std::vector<std::string> expected = {
        "目录\t1\t目录",
        "目录\t2\t第1章　山门",
        "目录\t3\t第2章　下山",
        "目录\t4\t第3章　回家",
        "广告\t7\t本书由××小说网整理，请于下载后24小时内删除",
        "广告\t9\t（本章完）",
        "广告\t15\t求月票！求推荐票！",
    };
    EXPECT_EQ(run.Lines(), expected);

    run = RunCli({"clean", "book.txt", "--dry-run", "--no-junk", "--no-contents"}, dir.path());
    EXPECT_TRUE(run.Lines().empty()) << run.out;
}

TEST_F(CleanCli, RefusesWhatItCannotDo) {
    test::WriteFileBytes(dir / "out.txt", "old");
    CliResult run = RunCli({"clean", "book.txt", "-o", "out.txt"}, dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(test::ReadFileBytes(dir / "out.txt"), "old");
    run = RunCli({"clean", "book.txt", "-o", "out.txt", "--force"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::ReadFileBytes(dir / "out.txt"), kCleaned);

    // Never over the book it reads.
    run = RunCli({"clean", "book.txt", "-o", "book.txt", "--force"}, dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(test::ReadFileBytes(dir / "book.txt"), kDownloaded);

    const CliResult missingPatterns =
        RunCli({"clean", "book.txt", "--junk-file", "none.txt"}, dir.path());
    EXPECT_EQ(missingPatterns.exitCode, 2);
    EXPECT_EQ(missingPatterns.err.rfind("brisnamake-cli: 读取广告模式失败: ", 0), 0u)
        << missingPatterns.err;
    EXPECT_EQ(RunCli({"clean", "book.txt", "--indent", "4"}, dir.path()).exitCode, 2);
    EXPECT_EQ(RunCli({"clean", "missing.txt"}, dir.path()).exitCode, 3);
}

TEST_F(CleanCli, JunkFileAddsPatterns) {
    test::WriteFileBytes(dir / "junk.txt", "小师妹*喊\n\n");
    CliResult run =
        RunCli({"clean", "book.txt", "--junk-file", "junk.txt", "--dry-run"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    bool found = false;
    for (const std::string& line : run.Lines()) {
        found = found || line == "广告\t8\t　　“求推荐！”小师妹喊道。";
    }
    EXPECT_TRUE(found) << run.out;
}

TEST_F(CleanCli, CleanOptionCleansBeforeChaptersAreMarked) {
    CliResult run = RunCli({"chapters", "book.txt", "--auto", "--clean"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.Lines().size(), 3u) << run.out;
    EXPECT_NE(run.Lines()[0].find("第1章　山门"), std::string::npos);
    EXPECT_NE(run.err.find("已删除广告等 3 行、目录 1 处，合并断行 0 处"), std::string::npos);
}

}  // namespace
}  // namespace brisna::e2e
