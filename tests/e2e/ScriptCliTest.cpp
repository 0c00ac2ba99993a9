// Operator scripts run by the command line against the headless window.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"

namespace brisna::e2e {
namespace {

class Script : public ::testing::Test {
  protected:
    Script() {
        test::WriteFileBytes(dir / "sample.txt",
                             test::ReadFileBytes(std::filesystem::path(BRISNA_SOURCE_DIR) / "res" /
                                                 "sample" / "sample.txt"));
    }
    CliResult Run(std::string_view script) {
        test::WriteFileBytes(dir / "script.txt", script);
        return RunCli({"script", "script.txt"}, dir.path());
    }
    test::TempDir dir;
};

TEST_F(Script, DrivesTheWholeWorkflowAndPrintsTheWindowState) {
    CliResult run =
        Run("# mark two chapters by hand, the rest by counting\r\n"
            "open-txt sample.txt\r\n"
            "print scan\r\n"
            "caret 0\r\n"
            "press 1008\r\n"
            "caret 13 3\r\n"
            "press 1008\r\n"
            "print chapters\r\n"
            "\r\n"
            "type 1017 第三章\r\n"
            "press 1020\r\n"
            "press 1013\r\n"
            "print problems\r\n"
            "print marks\r\n"
            "press 1009\r\n"
            "print chapters\r\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> lines = run.Lines();
    ASSERT_EQ(lines.size(), 1u + 2u + 12u + 1u + 12u);
    EXPECT_EQ(lines[0], "0");
    // Chapters added by hand carry no length until one is computed.
    EXPECT_EQ(lines[1], "0\t0\t第一章 河湾的早晨");
    EXPECT_EQ(lines[2], "2093\t0\t第二章 旧水车");
    // The test command found nothing, so the marks follow directly: index, mark, text.
    EXPECT_EQ(lines[3], "0\t0\t第一章 河湾的早晨");
    EXPECT_EQ(lines[14], "11\t0\t第十二章 桥成");
    EXPECT_EQ(lines[15], "生成qbr和qbr2成功");
    // Generation leaves the offsets as they were and the lengths current.
    EXPECT_EQ(lines[16], "0\t2093\t第一章 河湾的早晨");
    EXPECT_EQ(lines[27], "21943\t2013\t第十二章 桥成");
    EXPECT_TRUE(std::filesystem::exists(dir / "sample.qbr2"));
    EXPECT_TRUE(std::filesystem::exists(dir / "sample.qbr"));
}

TEST_F(Script, OpensGeneratedBooksAndHonoursCancelledDialogs) {
    ASSERT_EQ(RunCli({"generate", "sample.txt", "--incremental", "第一章"}, dir.path()).exitCode,
              0);
    CliResult run =
        Run("open-qbr sample.qbr\n"
            "print chapters\n"
            "menu 1019\n"
            "cancel-next-dialog\n"
            "open-qbr2 sample.qbr2\n"
            "print chapters\n"
            "open-qbr2 sample.qbr2\n"
            "select 0 3\n"
            "print selection\n"
            "open-qbr2 missing.qbr2\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> lines = run.Lines();
    // Twelve chapters, then none after "全部删除" and the cancelled dialog, then the selection.
    ASSERT_EQ(lines.size(), 12u + 3u + 1u);
    EXPECT_EQ(lines[0], "0\t2093\t第一章 河湾的早晨");
    EXPECT_EQ(lines[12], "text 0 3");
    EXPECT_EQ(lines[13].rfind("chapters ", 0), 0u);
    EXPECT_EQ(lines[14], "problems -1");
    EXPECT_EQ(lines[15].rfind("打开qbr文件失败", 0), 0u);  // a path and reason may follow
}

TEST_F(Script, StopsAtTheFirstMalformedLine) {
    for (const char* bad : {"bogus", "caret", "caret x", "caret 9999", "select 1", "type 1015 x",
                            "press", "menu 1008", "select-problem", "print everything"}) {
        CliResult run =
            Run(std::string("open-txt sample.txt\nprint scan\n") + bad + "\nprint scan\n");
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_EQ(run.Lines(), std::vector<std::string>{"0"}) << bad;
        EXPECT_EQ(run.err.rfind("script.txt:3: ", 0), 0u) << bad << run.err;
    }
    EXPECT_EQ(RunCli({"script", "no-such-script.txt"}, dir.path()).exitCode, 3);
}

}  // namespace
}  // namespace brisna::e2e
