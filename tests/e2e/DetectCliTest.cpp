// detect, --auto and --at-line-start from the command line, on small books written here and on
// the project's sample book.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"

namespace brisna::e2e {
namespace {

const std::string kProse = "他走上了山路，远处的村庄亮起了灯火。";

std::string Chapters(const std::vector<std::string>& headings, const std::string& between = "") {
    std::string book;
    for (const std::string& heading : headings) {
        book += heading + "\r\n" + kProse + between + "\r\n" + kProse + "\r\n";
    }
    return book;
}

struct Case {
    const char* name;
    std::string book;  // UTF-8; written as GBK
    std::vector<std::string> args;
    int exitCode;
    std::vector<std::string> out;  // regular expressions, one per line of standard output
    std::string errStart;          // standard error starts with this (empty: no message at all)
};

TEST(DetectCli, ListsCandidatesAndAppliesTheBest) {
    const std::string titled =
        "山路\r\n作者 某人\r\n" + Chapters({"第一章 起程", "第二章 到达", "第三章 回家"});
    const std::string mentions =
        "第一章 起程\r\n" + kProse + "详见第二章。\r\n" + Chapters({"第二章 到达", "第三章 回家"});
    std::string twoForms;
    for (int i = 1; i <= 3; ++i) {
        twoForms += "第" +
                    std::string(i == 1   ? "一"
                                : i == 2 ? "二"
                                         : "三") +
                    "章\r\nChapter " + std::to_string(i) + "\r\n" + kProse + "\r\n";
    }
    const std::string none = kProse + "\r\n" + kProse + "\r\n";
    const Case cases[] = {
        {"headings after a title page",
         titled,
         {"detect", "book.txt"},
         0,
         {"第一章\t4\t[0-9]+%\t从第3行开始"},
         ""},
        {"front matter becomes the first chapter",
         titled,
         {"chapters", "book.txt", "--auto"},
         0,
         {"0\t[0-9]+\t山路", "[0-9]+\t[0-9]+\t第一章 起程", "[0-9]+\t[0-9]+\t第二章 到达",
          "[0-9]+\t[0-9]+\t第三章 回家"},
         ""},
        {"a chapter marked before --auto stands for the front matter",
         titled,
         {"chapters", "book.txt", "--line", "0", "--auto"},
         0,
         {"0\t[0-9]+\t山路", "[0-9]+\t[0-9]+\t第一章 起程", "[0-9]+\t[0-9]+\t第二章 到达",
          "[0-9]+\t[0-9]+\t第三章 回家"},
         ""},
        {"a mention in running text is taken without --at-line-start",
         mentions,
         {"chapters", "book.txt", "--incremental", "第一章"},
         0,
         {"0\t[0-9]+\t第一章 起程", "[0-9]+\t[0-9]+\t他走上了山路.*",
          "[0-9]+\t[0-9]+\t第三章 回家"},
         ""},
        {"--at-line-start skips it wherever it is given",
         mentions,
         {"chapters", "book.txt", "--at-line-start", "--incremental", "第一章"},
         0,
         {"0\t[0-9]+\t第一章 起程", "[0-9]+\t[0-9]+\t第二章 到达", "[0-9]+\t[0-9]+\t第三章 回家"},
         ""},
        {"two forms between each other: the first one seen makes the chapters",
         twoForms,
         {"chapters", "book.txt", "--auto"},
         0,
         {"0\t[0-9]+\t第一章", "[0-9]+\t[0-9]+\t第二章", "[0-9]+\t[0-9]+\t第三章"},
         ""},
        {"nothing to detect",
         none,
         {"detect", "book.txt"},
         1,
         {},
         "没有找到可以自动识别的章节标题"},
        {"nothing to apply is a refusal",
         none,
         {"missing", "book.txt", "--auto"},
         3,
         {},
         "没有找到可以自动识别的章节标题"},
        {"an empty book", "", {"detect", "book.txt"}, 1, {}, "没有找到可以自动识别的章节标题"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        test::WriteFileBytes(dir / "book.txt", test::G(c.book));
        CliResult run = RunCli(c.args, dir.path());
        EXPECT_EQ(run.exitCode, c.exitCode) << run.out << run.err;
        const std::vector<std::string> lines = run.Lines();
        ASSERT_EQ(lines.size(), c.out.size()) << run.out;
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(std::regex_match(lines[i], std::regex(c.out[i]))) << lines[i];
        }
        if (c.errStart.empty()) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_EQ(run.err.rfind(c.errStart, 0), 0u) << run.err;
        }
    }
}

std::string Novel(int chapters) {
    std::string book = "山路\r\n作者：某人\r\n" + kProse + "\r\n" + kProse + "\r\n";
    for (int i = 1; i <= chapters; ++i) {
        book += "第" + std::to_string(i) + "章 远行\r\n" + kProse + "\r\n" + kProse + "\r\n";
    }
    return book;
}

// With no chapter option the chapter commands use recognition; the operator's pattern and the
// short-title mode stand in for it.
TEST(DetectCli, DefaultsPatternsAndShortTitles) {
    const std::string collection =
        "散文集\r\n\r\n春\r\n\r\n" + kProse + "\r\n\r\n夏日\r\n\r\n" + kProse + "\r\n";
    const Case cases[] = {
        {"generate needs no chapter option",
         Novel(60),
         {"generate", "book.txt"},
         0,
         {},
         "生成qbr和qbr2成功"},
        {"chapters lists what recognition finds",
         Novel(3),
         {"chapters", "book.txt"},
         0,
         {"0\t[0-9]+\t山路", ".*\t第1章 远行", ".*\t第2章 远行", ".*\t第3章 远行"},
         ""},
        {"a long novel without --parts is refused, naming --parts",
         Novel(120),
         {"generate", "book.txt"},
         3,
         {},
         "本书共121章，超过98章，请加 --parts 分册生成"},
        {"chapters marked before --auto are replaced, not marked twice",
         Novel(60),
         {"chapters", "book.txt", "--line", "0", "--line", "6", "--auto"},
         0,
         std::vector<std::string>(61, ".*"),
         ""},
        {"a pattern marks the lines it matches at their start",
         "前言\r\n卷一\r\n==1== 起\r\n" + kProse + " ==9== \r\n==2==\r\n" + kProse + "\r\n",
         {"chapters", "book.txt", "--pattern", "==[0-9]+==", "--volume-pattern", "卷[一二]"},
         0,
         {"0\t[0-9]+\t前言", "[0-9]+\t[0-9]+\t==1== 起", "[0-9]+\t[0-9]+\t==2=="},
         ""},
        {"a pattern that matches nothing says so",
         Novel(3),
         {"chapters", "book.txt", "--pattern", "Chapter [0-9]+"},
         3,
         {},
         "没有一行符合章节规则"},
        {"a bad pattern is a usage error with ICU's position",
         Novel(3),
         {"chapters", "book.txt", "--pattern", "第(.+章"},
         2,
         {},
         "brisnamake-cli: --pattern: 章节规则有误（第"},
        {"short titles",
         collection,
         {"chapters", "book.txt", "--short-titles"},
         0,
         {"0\t[0-9]+\t散文集", "[0-9]+\t[0-9]+\t春", "[0-9]+\t[0-9]+\t夏日"},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        test::WriteFileBytes(dir / "book.txt", test::G(c.book));
        CliResult run = RunCli(c.args, dir.path());
        EXPECT_EQ(run.exitCode, c.exitCode) << run.out << run.err;
        const std::vector<std::string> lines = run.Lines();
        if (c.args[0] != "generate") {
            ASSERT_EQ(lines.size(), c.out.size()) << run.out;
            for (size_t i = 0; i < lines.size(); ++i) {
                EXPECT_TRUE(std::regex_match(lines[i], std::regex(c.out[i]))) << lines[i];
            }
        }
        if (c.errStart.empty()) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_EQ(run.err.rfind(c.errStart, 0), 0u) << run.err;
        }
    }
}

// The sample book: every line has the documented shape, the best first.
TEST(DetectCli, SampleBookLinesHaveTheirShape) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "book.txt",
                         test::ReadFileBytes(std::filesystem::path(BRISNA_SOURCE_DIR) / "res" /
                                             "sample" / "sample.txt"));
    CliResult run = RunCli({"detect", "book.txt"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = run.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "第一章\t12\t100%");
    const std::regex shape("[^\t]+\t[0-9]+\t[0-9]{1,3}%(\t从第[0-9]+行开始)?");
    for (const std::string& line : lines) EXPECT_TRUE(std::regex_match(line, shape)) << line;

    CliResult marked = RunCli({"chapters", "book.txt", "--auto"}, dir.path());
    EXPECT_EQ(marked.exitCode, 0) << marked.err;
    EXPECT_EQ(marked.Lines().size(), 12u) << marked.out;
}

}  // namespace
}  // namespace brisna::e2e
