// The command line's generate, unpack, chapters, check, missing and t2s subcommands on books
// the tests build.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna::e2e {
namespace {

using test::G;

class Cli : public ::testing::Test {
  protected:
    std::string Put(std::string_view name, std::string_view bytes) {
        test::WriteFileBytes(dir / name, bytes);
        return std::string(name);
    }
    std::string Sample() const {
        return test::ReadFileBytes(std::filesystem::path(BRISNA_SOURCE_DIR) / "res" / "sample" /
                                   "sample.txt");
    }
    bool Exists(std::string_view name) const { return std::filesystem::exists(dir / name); }

    test::TempDir dir;
};

TEST_F(Cli, GenerateNamesFilesByHowManyEachPassNeeds) {
    Put("book.txt", NumberedBook(std::vector<uint32_t>(90, 10000)));  // 900,000 bytes
    CliResult run = RunCli({"generate", "book.txt", "--incremental", "第1章"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.Lines(), (std::vector<std::string>{"book1.qbr2", "book2.qbr2", "book1.qbr",
                                                     "book2.qbr", "book3.qbr"}));
    EXPECT_EQ(run.ErrLines(), std::vector<std::string>{"生成qbr和qbr2成功"});

    Put("small.txt", NumberedBook(std::vector<uint32_t>(40, 10240)));  // 409,600 bytes
    run = RunCli({"generate", "small.txt", "--incremental", "第1章"}, dir.path());
    EXPECT_EQ(run.Lines(), (std::vector<std::string>{"small.qbr2", "small.qbr"}));
    Put("mid.txt", NumberedBook(std::vector<uint32_t>(80, 10240)));  // 819,200 bytes
    run = RunCli({"generate", "mid.txt", "--incremental", "第1章"}, dir.path());
    ASSERT_FALSE(run.Lines().empty());
    EXPECT_EQ(run.Lines()[0], "mid.qbr2");
    EXPECT_EQ(run.Lines()[1], "mid1.qbr");
}

TEST_F(Cli, GenerateKeepsOtherSpellingsOfTheExtension) {
    std::string book = NumberedBook({3000, 3000});
    Put("a.TXT", book);
    Put("b.Txt", book);
    EXPECT_EQ(
        RunCli({"generate", "a.TXT", "--line", "0", "--keyword", "第2章"}, dir.path()).Lines(),
        (std::vector<std::string>{"a.qbr2", "a.qbr"}));
    EXPECT_EQ(RunCli({"generate", "b.Txt", "--incremental", "第1章"}, dir.path()).Lines(),
              (std::vector<std::string>{"b.Txt.qbr2", "b.Txt.qbr"}));
}

// Messages go to standard error; a file message may add the path and the system's reason.
bool StartsWith(const std::string& line, std::string_view start) {
    return line.rfind(start, 0) == 0;
}

TEST_F(Cli, GenerateReportsEachFailureWithExitThree) {
    Put("book.txt", NumberedBook({3000, 3000}));
    CliResult run = RunCli({"generate", "book.txt", "--line", "0"}, dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.ErrLines(), std::vector<std::string>{"请至少添加2个章节"});
    EXPECT_FALSE(Exists("book.qbr2"));

    std::filesystem::create_directory(dir / "book.qbr2");
    run = RunCli({"generate", "book.txt", "--incremental", "第1章"}, dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "");
    ASSERT_EQ(run.ErrLines().size(), 1u) << run.err;
    EXPECT_TRUE(StartsWith(run.ErrLines()[0], "生成qbr2失败")) << run.err;
    std::filesystem::remove(dir / "book.qbr2");

    Put("tiny.txt", NumberedBook({3000}) + G("尾声") + "\r\nxy");
    run = RunCli({"generate", "tiny.txt", "--line", "0", "--keyword", "尾声"}, dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.Lines(), std::vector<std::string>{});
    EXPECT_FALSE(Exists("tiny.qbr2"));  // never one format without the other
    ASSERT_EQ(run.ErrLines().size(), 2u) << run.err;
    EXPECT_EQ(run.ErrLines()[0], "尾声章节长度过短，无法生成QBR，建议合并章节");
    EXPECT_TRUE(StartsWith(run.ErrLines()[1], "生成qbr失败"));
    // check names what generate refuses.
    run = RunCli({"check", "tiny.txt", "--line", "0", "--keyword", "尾声"}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    const std::vector<std::string> found = run.Lines();
    EXPECT_NE(std::find(found.begin(), found.end(), "尾声章节长度过短，无法生成QBR，建议合并章节"),
              found.end())
        << run.out;

    // A refused chapter option stops the run before anything is generated.
    run = RunCli({"generate", "book.txt", "--incremental", "第9章"}, dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.ErrLines(), std::vector<std::string>{"文本中没有找到可以自动添加章节的关键字"});
    run = RunCli({"generate", "book.txt", "--line", "500"}, dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("--line 500"), std::string::npos);
    run = RunCli({"generate", "none.txt"}, dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "");
    ASSERT_EQ(run.ErrLines().size(), 1u);
    EXPECT_TRUE(StartsWith(run.ErrLines()[0], "打开文件失败"));
    EXPECT_EQ(RunCli({"generate"}, dir.path()).exitCode, 2);
    EXPECT_EQ(RunCli({"generate", "book.txt", "--bogus"}, dir.path()).exitCode, 2);
}

TEST_F(Cli, UnpackGivesBackTheChaptersOfEitherFormat) {
    std::string first = "Chapter 1\r\n" + std::string(20000 - 13, 'x') + "\r\n";
    std::string second = "Chapter 2\r\n";
    while (second.size() < 600) second += "the water wheel turns again. ";
    Put("long.txt", first + second);
    ASSERT_EQ(RunCli({"generate", "long.txt", "--line", "0", "--line", "2"}, dir.path()).exitCode,
              0);
    CliResult qbr2 = RunCli({"unpack", "long.qbr2"}, dir.path());
    EXPECT_EQ(qbr2.exitCode, 0);
    EXPECT_EQ(qbr2.Lines(), (std::vector<std::string>{
                                "0\t20000\tChapter 1",
                                "20000\t" + std::to_string(second.size()) + "\tChapter 2"}));
    // 32,764 and 7,236 UTF-16 bytes.
    CliResult qbr =
        RunCli({"unpack", "long.qbr", "-o", "back.txt", "--output-encoding", "gbk"}, dir.path());
    EXPECT_EQ(qbr.exitCode, 0);
    EXPECT_EQ(qbr.Lines(), (std::vector<std::string>{
                               "0\t16382\tChapter 11", "16382\t3618\tChapter 12",
                               "20000\t" + std::to_string(second.size()) + "\tChapter 2"}));
    EXPECT_TRUE(test::ReadFileBytes(dir / "back.txt") == first + second);

    // An existing output file stays unless --force is given.
    Put("keep.txt", "mine");
    qbr = RunCli({"unpack", "long.qbr2", "-o", "keep.txt", "--output-encoding", "gbk"}, dir.path());
    EXPECT_EQ(qbr.exitCode, 3);
    EXPECT_EQ(test::ReadFileBytes(dir / "keep.txt"), "mine");
    qbr = RunCli({"unpack", "long.qbr2", "-o", "keep.txt", "--force", "--output-encoding", "gbk"},
                 dir.path());
    EXPECT_EQ(qbr.exitCode, 0);
    EXPECT_TRUE(test::ReadFileBytes(dir / "keep.txt") == first + second);
}

TEST_F(Cli, UnpackReportsTheOpeningMessages) {
    CliResult run = RunCli({"unpack", "none.qbr2"}, dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "");
    ASSERT_EQ(run.ErrLines().size(), 1u);
    EXPECT_TRUE(StartsWith(run.ErrLines()[0], "打开qbr文件失败"));
    Put("big.qbr", std::string(10485760, 'x'));
    run = RunCli({"unpack", "big.qbr"}, dir.path());
    ASSERT_EQ(run.ErrLines().size(), 1u);
    EXPECT_TRUE(StartsWith(run.ErrLines()[0], "qbr文件大小不能超过10M"));
    Put("junk.qbr2", "not a book");
    run = RunCli({"unpack", "junk.qbr2"}, dir.path());
    ASSERT_EQ(run.ErrLines().size(), 1u);
    EXPECT_TRUE(StartsWith(run.ErrLines()[0], "解析qbr文件失败，文件长度错误"));
    Put("junk.qbr", std::string(64, '\0'));
    run = RunCli({"unpack", "junk.qbr"}, dir.path());
    ASSERT_EQ(run.ErrLines().size(), 1u);
    EXPECT_TRUE(StartsWith(run.ErrLines()[0], "解析qbr文件失败，文件头错误"));
    EXPECT_EQ(RunCli({"unpack", "book.txt"}, dir.path()).exitCode, 2);
}

TEST_F(Cli, SampleBookGeneratesAndReadsBackUnchanged) {
    Put("sample.txt", Sample());
    CliResult chapters = RunCli({"chapters", "sample.txt", "--incremental", "第一章"}, dir.path());
    EXPECT_EQ(chapters.exitCode, 0);
    ASSERT_EQ(chapters.Lines().size(), 12u);
    EXPECT_EQ(chapters.Lines()[0].substr(0, 2), "0\t");
    EXPECT_NE(chapters.Lines()[11].find("第十二章"), std::string::npos);

    CliResult generate = RunCli({"generate", "sample.txt", "--incremental", "第一章"}, dir.path());
    ASSERT_EQ(generate.exitCode, 0);
    for (const char* book : {"sample.qbr2", "sample.qbr"}) {
        CliResult unpack =
            RunCli({"unpack", book, "-o", std::string(book) + ".txt", "--output-encoding", "gbk"},
                   dir.path());
        EXPECT_EQ(unpack.Lines(), chapters.Lines()) << book;
        EXPECT_TRUE(test::ReadFileBytes(dir / (std::string(book) + ".txt")) == Sample());
    }
}

TEST_F(Cli, CheckAndMissingPrintTheirEntries) {
    Put("sample.txt", Sample());
    CliResult clean = RunCli({"check", "sample.txt", "--incremental", "第一章"}, dir.path());
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(clean.out, "");
    Put("words.csv", G("水车\r\n"));
    CliResult words = RunCli(
        {"check", "sample.txt", "--incremental", "第一章", "--words", "words.csv"}, dir.path());
    EXPECT_EQ(words.exitCode, 1);
    ASSERT_FALSE(words.Lines().empty());
    EXPECT_EQ(words.Lines()[0].rfind("可疑字（1）[Line ", 0), 0u) << words.out;
    EXPECT_NE(words.Lines()[0].find("：水车！"), std::string::npos);

    EXPECT_EQ(RunCli({"missing", "sample.txt", "--incremental", "第一章"}, dir.path()).exitCode, 0);
    // Every heading but the fifth marked by line (each chapter is a heading and twelve paragraphs).
    std::vector<std::string> args{"missing", "sample.txt"};
    for (int chapter = 0; chapter < 12; ++chapter) {
        if (chapter == 4) continue;
        args.push_back("--line");
        args.push_back(std::to_string(chapter * 13));
    }
    CliResult gap = RunCli(args, dir.path());
    EXPECT_EQ(gap.exitCode, 1);
    ASSERT_EQ(gap.Lines().size(), 1u) << gap.out;
    EXPECT_EQ(gap.Lines()[0].rfind("缺少", 0), 0u);
    EXPECT_NE(gap.Lines()[0].find("第五"), std::string::npos);
}

TEST_F(Cli, TraditionalToSimplifiedKeepsTheLength) {
    Put("t.txt", G("這是書\r\n第二行"));
    CliResult run = RunCli({"t2s", "t.txt", "s.txt"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::U(test::ReadFileBytes(dir / "s.txt")), "这是书\r\n第二行");
}

}  // namespace
}  // namespace brisna::e2e
