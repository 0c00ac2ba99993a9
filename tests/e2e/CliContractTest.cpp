// The command line's contract with shells and scripts: which stream gets what, exit codes,
// refusals that keep the chapters marked, typed values, pipes, overwriting, batches, and the
// names scripts may use.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "Version.h"
#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"

namespace brisna::e2e {
namespace {

using test::G;

class Contract : public ::testing::Test {
  protected:
    Contract() {
        sample = test::ReadFileBytes(std::filesystem::path(BRISNA_SOURCE_DIR) / "res" / "sample" /
                                     "sample.txt");
        test::WriteFileBytes(dir / "book.txt", sample);
    }
    void Put(std::string_view name, std::string_view bytes) {
        test::WriteFileBytes(dir / name, bytes);
    }
    CliResult Run(const std::vector<std::string>& args) { return RunCli(args, dir.path()); }

    std::string sample;
    test::TempDir dir;
};

bool HasLineBreakInside(const std::string& out) {
    return out.find('\r') != std::string::npos;
}

TEST_F(Contract, ExitCodesTellDoneProblemsUsageAndFailure) {
    Put("words.csv", G("水车\r\n"));
    Put("big.csv", std::string((1 << 20) + 1, 'a'));
    std::filesystem::create_directory(dir / "folder.csv");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const std::vector<Case> cases{
        {{"check", "book.txt", "--incremental", "第一章"}, 0},
        {{"check", "book.txt", "--incremental", "第一章", "--words", "words.csv"}, 1},
        {{"missing", "book.txt", "--line", "0", "--keyword", "第三章"}, 1},
        {{"check", "nope.txt"}, 3},
        {{"missing", "nope.txt"}, 3},
        {{"chapters", "nope.txt"}, 3},
        // A refusal wins over found problems.
        {{"check", "book.txt", "--words", "words.csv", "--incremental", "第九十九章"}, 3},
        {{"chapters", "book.txt", "--line", "-1"}, 2},
        {{"chapters", "book.txt", "--line", "1.5"}, 2},
        {{"chapters", "book.txt", "--line", "x"}, 2},
        {{"check", "book.txt", "--jobs", "0"}, 2},
        {{"check", "book.txt", "--words", "typo.csv"}, 2},
        {{"check", "book.txt", "--words", "folder.csv"}, 2},
        {{"check", "book.txt", "--words", "big.csv"}, 2},
        {{"check", "book.txt", "--bogus"}, 2},
        {{}, 2},
        {{"chapters", "book.txt", "book.txt"}, 2},
        {{"check", "-", "-"}, 2},
    };
    for (const Case& c : cases) {
        CliResult run = Run(c.args);
        std::string shown;
        for (const std::string& arg : c.args) shown += arg + " ";
        EXPECT_EQ(run.exitCode, c.exitCode) << shown << "\n" << run.err;
        if (c.exitCode == 2) {
            EXPECT_EQ(run.out, "") << shown;
        }
        if (c.exitCode >= 2) {
            EXPECT_NE(run.err, "") << shown;
        }
    }
    CliResult typo = Run({"check", "book.txt", "--words", "typo.csv"});
    EXPECT_NE(typo.err.find("typo.csv"), std::string::npos) << typo.err;
    EXPECT_EQ(typo.err.rfind("brisnamake-cli: 读取可疑字列表失败: ", 0), 0u) << typo.err;
    CliResult value = Run({"chapters", "book.txt", "--line", "-1"});
    EXPECT_NE(value.err.find("--line"), std::string::npos) << value.err;
}

TEST_F(Contract, NothingEndsInACrash) {
    // A settings file that is a folder once made every subcommand abort; whatever the core makes
    // of it, the run ends with its exit code and no uncaught exception.
    std::filesystem::create_directory(dir / "BrisnaMake.csv");
    Put("steps.txt", "open-txt book.txt\nprint scan\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"chapters", "book.txt", "--line", "0"},
          std::vector<std::string>{"check", "book.txt", "book.txt"},
          std::vector<std::string>{"generate", "book.txt", "--incremental", "第一章"},
          std::vector<std::string>{"script", "steps.txt"}}) {
        CliResult run = Run(args);
        EXPECT_GE(run.exitCode, 0) << args[0];
        EXPECT_NE(run.exitCode, 2) << args[0];
        EXPECT_EQ(run.err.find("terminate"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
    }
}

TEST_F(Contract, MessagesNeverMixWithResults) {
    CliResult failed = Run({"chapters", "nope.txt", "--incremental", "第一章"});
    EXPECT_EQ(failed.out, "");
    ASSERT_EQ(failed.ErrLines().size(), 1u);
    EXPECT_EQ(failed.ErrLines()[0].rfind("打开文件失败", 0), 0u);

    // A lone lead byte before a line end: the garbled-pair entry holds the CR, shown as \r.
    Put("garbled.txt", G("第1章\r\n前言") + "x\x81\r\n" + G("正文内容在这里") + "\r\n");
    CliResult check = Run({"check", "garbled.txt"});
    EXPECT_FALSE(HasLineBreakInside(check.out)) << check.out;
    EXPECT_NE(check.out.find("\\r"), std::string::npos) << check.out;
    for (const std::string& line : check.Lines()) EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST_F(Contract, RefusedChapterOptionsKeepWhatWasMarked) {
    // 100 numbered chapters: the incremental add is refused at the 99th.
    Put("long.txt", NumberedBook(std::vector<uint32_t>(100, 200)));
    const std::string refusal = "图书章节数量不能超过98章";
    CliResult chapters = Run({"chapters", "long.txt", "--incremental", "第1章"});
    EXPECT_EQ(chapters.exitCode, 3);
    EXPECT_EQ(chapters.Lines().size(), 98u);
    EXPECT_EQ(chapters.ErrLines(), std::vector<std::string>{refusal});

    CliResult check = Run({"check", "long.txt", "--incremental", "第1章"});
    EXPECT_EQ(check.exitCode, 3);
    EXPECT_EQ(check.ErrLines(), std::vector<std::string>{refusal});

    // Later options are not applied after a refusal.
    CliResult missing =
        Run({"missing", "long.txt", "--incremental", "第1章", "--keyword", "第99章"});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_EQ(missing.ErrLines(), std::vector<std::string>{refusal});

    CliResult generate = Run({"generate", "long.txt", "--incremental", "第1章"});
    EXPECT_EQ(generate.exitCode, 3);
    EXPECT_EQ(generate.out, "");
    EXPECT_FALSE(std::filesystem::exists(dir / "long.qbr2"));
}

TEST_F(Contract, DoubleDashEndsTheOptions) {
    Put("-dash.txt", sample);
    CliResult run = Run({"generate", "--incremental", "第一章", "--", "-dash.txt"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.Lines(), (std::vector<std::string>{"-dash.qbr2", "-dash.qbr"}));
    EXPECT_EQ(Run({"t2s", "--", "-dash.txt", "-out.txt"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "-out.txt"));
    EXPECT_EQ(Run({"chapters", "--", "-dash.txt", "extra"}).exitCode, 2);
}

TEST_F(Contract, PipesReadAndWriteTheStandardStreams) {
    CliResult fromFile = Run({"chapters", "book.txt", "--incremental", "第一章"});
    CliResult piped =
        RunShell("cat book.txt | brisnamake-cli chapters - --incremental 第一章", dir.path());
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, fromFile.out);

    ASSERT_EQ(Run({"generate", "book.txt", "--incremental", "第一章"}).exitCode, 0);
    CliResult unpacked = Run({"unpack", "book.qbr2", "-o", "-", "--output-encoding", "gbk"});
    EXPECT_EQ(unpacked.exitCode, 0);
    EXPECT_TRUE(unpacked.out == sample);
    EXPECT_FALSE(std::filesystem::exists(dir / "-"));

    CliResult converted = RunShell("brisnamake-cli t2s - - < book.txt", dir.path());
    EXPECT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_TRUE(converted.out == sample);

    CliResult script = RunShell(
        "printf 'open-txt book.txt\\nprint scan\\nbogus\\n' | brisnamake-cli script -", dir.path());
    EXPECT_EQ(script.exitCode, 2);
    EXPECT_EQ(script.out, "0\n");
    EXPECT_EQ(script.err.rfind("<stdin>:3: ", 0), 0u) << script.err;

    // Standard input keeps the size bound of a file.
    CliResult tooBig =
        RunShell("head -c 10485760 /dev/zero | tr '\\0' a | brisnamake-cli check -", dir.path());
    EXPECT_EQ(tooBig.exitCode, 3);
    EXPECT_EQ(tooBig.err.rfind("txt文件大小不能超过10M", 0), 0u) << tooBig.err;
    EXPECT_EQ(RunShell("brisnamake-cli generate - < book.txt", dir.path()).exitCode, 2);
}

TEST_F(Contract, ExplicitOutputsNeedForceAndOutputDirKeepsNames) {
    Put("out.txt", "mine");
    CliResult kept = Run({"t2s", "book.txt", "out.txt"});
    EXPECT_EQ(kept.exitCode, 3);
    EXPECT_NE(kept.err.find("out.txt"), std::string::npos);
    EXPECT_EQ(test::ReadFileBytes(dir / "out.txt"), "mine");
    EXPECT_EQ(Run({"t2s", "book.txt", "out.txt", "--force"}).exitCode, 0);
    EXPECT_TRUE(test::ReadFileBytes(dir / "out.txt") == sample);

    std::filesystem::create_directory(dir / "books");
    CliResult intoDir =
        Run({"generate", "book.txt", "--incremental", "第一章", "--output-dir", "books"});
    EXPECT_EQ(intoDir.exitCode, 0) << intoDir.err;
    EXPECT_EQ(intoDir.Lines(), (std::vector<std::string>{"books/book.qbr2", "books/book.qbr"}));
    EXPECT_TRUE(std::filesystem::exists(dir / "books" / "book.qbr2"));
    EXPECT_FALSE(std::filesystem::exists(dir / "book.qbr2"));
    EXPECT_EQ(Run({"generate", "book.txt", "--output-dir", "nowhere"}).exitCode, 2);
}

TEST_F(Contract, VersionComesFromTheBuild) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--version"}, std::vector<std::string>{"version"}}) {
        CliResult run = Run(args);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, std::string("brisnamake-cli ") + kVersion + "\n");
    }
}

TEST_F(Contract, BatchesPrefixEachBookAndReportTheWorst) {
    std::filesystem::create_directory(dir / "books");
    for (const char* name : {"a.txt", "b.txt", "d.txt"}) Put(std::string("books/") + name, sample);
    std::vector<std::string> books{"books/a.txt", "books/b.txt", "books/c.txt", "books/d.txt"};
    for (const char* jobs : {"1", "2"}) {
        std::vector<std::string> args{"generate"};
        args.insert(args.end(), books.begin(), books.end());
        args.insert(args.end(), {"--incremental", "第一章", "--jobs", jobs});
        CliResult run = Run(args);
        EXPECT_EQ(run.exitCode, 3) << jobs;
        EXPECT_EQ(run.Lines(), (std::vector<std::string>{
                                   "books/a.txt: books/a.qbr2", "books/a.txt: books/a.qbr",
                                   "books/b.txt: books/b.qbr2", "books/b.txt: books/b.qbr",
                                   "books/d.txt: books/d.qbr2", "books/d.txt: books/d.qbr"}))
            << jobs;
        ASSERT_EQ(run.ErrLines().size(), 5u) << run.err;
        EXPECT_EQ(run.ErrLines()[2].rfind("books/c.txt: 打开文件失败", 0), 0u) << run.err;
        EXPECT_EQ(run.ErrLines()[4], "共4本：成功3，有问题0，失败1");
    }
    // Each book starts afresh: the same options mark the same chapters in every book.
    Put("words.csv", G("水车\r\n"));
    CliResult check = Run(
        {"check", "books/a.txt", "books/b.txt", "--incremental", "第一章", "--words", "words.csv"});
    EXPECT_EQ(check.exitCode, 1);
    std::vector<std::string> lines = check.Lines();
    auto fromA = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind("books/a.txt: ", 0) == 0;
    });
    EXPECT_GT(fromA, 0);
    EXPECT_EQ(static_cast<size_t>(fromA) * 2, lines.size());
}

TEST_F(Contract, ScriptsNameButtonsAndNeverOverflowPositions) {
    Put("steps.txt",
        "open-txt book.txt\n"
        "caret 0\n"
        "press 添加章节\n"
        "type start-chapter 第二章\n"
        "press incremental-add\n"
        "select-chapters 1\n"
        "menu 上移\n"
        "menu 1006\n"
        "press test\n"
        "press 1013\n"
        "caret 1 2147483647\n"
        "print selection\n"
        "print marks\n");
    CliResult run = Run({"script", "steps.txt"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> lines = run.Lines();
    ASSERT_EQ(lines.size(), 3u + 12u) << run.out;
    EXPECT_EQ(lines[0], "text 11984 11984");  // the end of the text
    EXPECT_EQ(lines[3], "0\t0\t第一章 河湾的早晨");
    EXPECT_EQ(lines[4], "1\t0\t第二章 旧水车");

    for (const char* bad : {"press 不存在", "menu 添加章节", "menu 1008", "type 1015 x"}) {
        Put("bad.txt", std::string("open-txt book.txt\n") + bad + "\n");
        CliResult failed = Run({"script", "bad.txt"});
        EXPECT_EQ(failed.exitCode, 2) << bad;
        EXPECT_EQ(failed.err.rfind("bad.txt:2: ", 0), 0u) << failed.err;
    }
    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(Run({"script", "folder"}).exitCode, 3);
}

}  // namespace
}  // namespace brisna::e2e

namespace brisna::e2e {
namespace {

TEST_F(Contract, BatchNamesEveryBookReadablyAndReadsStandardInputOnce) {
    // A book name in GBK bytes shows as UTF-8 in the prefix; "-" is one of the books.
    const std::string gbkName = G("书") + ".txt";
    Put("books.txt", sample);
    CliResult run = RunShell(
        "brisnamake-cli check books.txt - '" + gbkName + "' --incremental 第一章 < book.txt",
        dir.path());
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_EQ(run.out, "");
    ASSERT_EQ(run.ErrLines().size(), 2u) << run.err;
    EXPECT_EQ(run.ErrLines()[0].rfind("书.txt: 打开文件失败", 0), 0u) << run.err;
}

TEST_F(Contract, DamagedBooksKeepWhatWasReadAndFailWithThree) {
    ASSERT_EQ(Run({"generate", "book.txt", "--incremental", "第一章"}).exitCode, 0);
    std::string qbr = test::ReadFileBytes(dir / "book.qbr");
    // Cut the file inside its last chapter: the chapters before the damage are still listed.
    Put("cut.qbr", qbr.substr(0, qbr.size() - 200));
    CliResult run = Run({"unpack", "cut.qbr", "-o", "cut.txt"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err, "");
    EXPECT_FALSE(std::filesystem::exists(dir / "cut.txt"));
    CliResult toPipe = Run({"unpack", "cut.qbr", "-o", "-"});
    EXPECT_EQ(toPipe.exitCode, 3);
    EXPECT_EQ(toPipe.out, "");
}

TEST_F(Contract, HelpAndCompletionFollowTheDescriptions) {
    CliResult help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* name : {"generate", "check", "chapters", "missing", "unpack", "script", "t2s",
                             "version", "Exit status", "standard error"}) {
        EXPECT_NE(help.out.find(name), std::string::npos) << name;
    }
    CliResult generate = Run({"generate", "--help"});
    EXPECT_EQ(generate.exitCode, 0);
    for (const char* option :
         {"--line", "--incremental", "--keyword", "--output-dir", "--words", "--jobs"}) {
        EXPECT_NE(generate.out.find(option), std::string::npos) << option;
    }

    Put("a.qbr2", "");
    Put("b.txt", "");
    std::filesystem::path completion =
        std::filesystem::path(BRISNA_CLI).parent_path() / "brisnamake-cli.bash-completion";
    auto complete = [&](const std::string& words, int current) {
        return RunShell("bash -c '. \"" + completion.string() + "\"; COMP_WORDS=(" + words +
                            "); COMP_CWORD=" + std::to_string(current) +
                            "; _brisnamake_cli; echo \"${COMPREPLY[*]}\"'",
                        dir.path())
            .out;
    };
    EXPECT_EQ(complete("brisnamake-cli unpack \"\"", 2), "a.qbr2\n");
    std::string texts = complete("brisnamake-cli check \"\"", 2);  // in directory order
    EXPECT_NE(texts.find("b.txt"), std::string::npos) << texts;
    EXPECT_NE(texts.find("book.txt"), std::string::npos) << texts;
    EXPECT_EQ(texts.find("qbr2"), std::string::npos) << texts;
    EXPECT_EQ(complete("brisnamake-cli ch", 1), "check chapters\n");
}

}  // namespace
}  // namespace brisna::e2e
