// Whole novels made of real Chinese text, written as parts by the command line: the plan holds
// every heading and nothing else, and the parts give back the whole text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "Capacities.h"
#include "detect/ChineseNumerals.h"
#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna::e2e {
namespace {

using test::G;

struct PlanLine {
    int part = 0;
    uint32_t offset = 0;
    bool volume = false;
    std::string title;  // UTF-8
    bool operator==(const PlanLine&) const = default;
    uint32_t length = 0;  // not compared: the novels know where headings are, not lengths
};

std::ostream& operator<<(std::ostream& out, const PlanLine& line) {
    return out << line.part << ' ' << line.offset << (line.volume ? " volume " : " ") << line.title;
}

// A novel put together line by line from real prose, remembering where its headings are.
class Novel {
  public:
    explicit Novel(const std::string& prose) : prose_(prose) {}

    void Line(const std::string& utf8) { text += G(utf8) + "\r\n"; }
    void Front(const std::string& utf8) {
        expected.push_back({0, 0, false, utf8});
        Line(utf8);
    }
    void Volume(const std::string& utf8) {
        if (!afterVolume_) volumeOffset_ = Offset();
        expected.push_back({0, Offset(), true, utf8});
        afterVolume_ = true;
        Line(utf8);
    }
    // A chapter after a volume line begins at that line: the volume heading travels with it.
    void Chapter(const std::string& utf8) {
        expected.push_back({0, afterVolume_ ? volumeOffset_ : Offset(), false, utf8});
        afterVolume_ = false;
        Line(utf8);
    }
    // About `bytes` of prose, in whole lines.
    void Prose(size_t bytes) { AppendProse(text, prose_, at_, bytes); }

    std::string text;  // GBK
    std::vector<PlanLine> expected;

  private:
    uint32_t Offset() const { return static_cast<uint32_t>(text.size()); }
    const std::string& prose_;
    size_t at_ = 0;
    bool afterVolume_ = false;
    uint32_t volumeOffset_ = 0;
};

std::string Numeral(uint32_t n) {
    return GbkToUtf8Lossless(RenderChineseNumber(n));
}

std::vector<PlanLine> ParsePlan(const CliResult& run) {
    std::vector<PlanLine> lines;
    for (const std::string& line : run.Lines()) {
        size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1), t3 = line.find('\t', t2 + 1);
        if (t3 == std::string::npos) continue;
        std::string length = line.substr(t2 + 1, t3 - t2 - 1);
        lines.push_back({std::stoi(line.substr(0, t1)),
                         static_cast<uint32_t>(std::stoul(line.substr(t1 + 1, t2 - t1 - 1))),
                         length == "-", line.substr(t3 + 1)});
        if (length != "-") lines.back().length = static_cast<uint32_t>(std::stoul(length));
    }
    return lines;
}

bool IsChapterRuleEntry(const std::string& entry) {
    for (const char* rule : {"偏移错误", "字数超过30K", "为空，不能", "章节重复", "行首不是",
                             "不足两章", "第一个章节头", "章节总数超过", "QBR文件名超过"}) {
        if (entry.find(rule) != std::string::npos) return true;
    }
    return false;
}

class PartsCli : public ::testing::Test {
  protected:
    void SetUp() override {
        prose_ = InstalledChineseText(400000);
        opening_ = prose_.substr(0, prose_.find("\r\n", 20000) + 2);
        if (prose_.empty())
            GTEST_SKIP() << "the Chinese manual pages (manpages-zh) are not installed";
    }

    // Plans and writes the book; checks the plan against the novel's headings, the parts' sizes,
    // the joined texts of both kinds of file, and that every part reopens and passes the chapter
    // rules. Returns the written paths.
    std::vector<std::string> CheckParts(const Novel& novel, const std::string& name,
                                        const std::string& fileBytes) {
        test::WriteFileBytes(dir_ / name, fileBytes);
        CliResult plan = RunCli({"chapters", name, "--parts"}, dir_.path());
        EXPECT_EQ(plan.exitCode, 0) << plan.err;
        std::vector<PlanLine> lines = ParsePlan(plan);
        std::map<int, size_t> chaptersPerPart;
        std::vector<PlanLine> withoutParts;
        std::string chapterTitle;
        for (PlanLine line : lines) {
            if (!line.volume) ++chaptersPerPart[line.part];
            EXPECT_LE(line.length, kChapterSizeLimit) << line;
            // The further pieces of a long chapter carry its title and a mark.
            if (!chapterTitle.empty() && line.title.starts_with(chapterTitle + "（") &&
                line.title.ends_with("）")) {
                continue;
            }
            if (!line.volume) chapterTitle = line.title;
            line.part = 0;
            line.length = 0;
            withoutParts.push_back(line);
        }
        EXPECT_EQ(withoutParts, novel.expected);
        for (const auto& [part, count] : chaptersPerPart) {
            EXPECT_LE(count, kMaxChapters) << "part " << part;
        }

        CliResult generate = RunCli({"generate", name, "--parts"}, dir_.path());
        EXPECT_EQ(generate.exitCode, 0) << generate.err;
        std::vector<std::string> written = generate.Lines();
        for (const char* extension : {".qbr2", ".qbr"}) {
            std::string joined;
            for (const std::string& file : written) {
                if (!file.ends_with(extension)) continue;
                CliResult unpack =
                    RunCli({"unpack", file, "-o", "-", "--output-encoding", "gbk"}, dir_.path());
                EXPECT_EQ(unpack.exitCode, 0) << file << unpack.err;
                joined += unpack.out;
            }
            EXPECT_TRUE(joined == novel.text)
                << extension << ": " << joined.size() << " bytes of " << novel.text.size();
        }
        for (const std::string& file : written) {
            if (!file.ends_with(".qbr2")) continue;
            test::WriteFileBytes(dir_ / "reopen.txt",
                                 "open-qbr2 " + file + "\npress 1013\nprint problems\n");
            CliResult reopen = RunCli({"script", "reopen.txt"}, dir_.path());
            EXPECT_EQ(reopen.exitCode, 0) << file << reopen.err;
            for (const std::string& entry : reopen.Lines()) {
                EXPECT_FALSE(IsChapterRuleEntry(entry)) << file << ": " << entry;
            }
        }
        return written;
    }

    std::string prose_;
    std::string opening_;  // some 20 KB of it, in whole lines
    test::TempDir dir_;
};

TEST_F(PartsCli, AThousandChaptersInVolumesInUtf8) {
    Novel novel(prose_);
    novel.Front("山河行");
    novel.Line("作者：某人");
    novel.Line("目录");
    for (uint32_t i = 1; i <= 4; ++i) novel.Line("第" + Numeral(i) + "章 少年" + std::to_string(i));
    novel.Prose(300);
    novel.Chapter("楔子");
    novel.Prose(1200);
    uint32_t chapter = 0;
    for (uint32_t volume = 1; volume <= 11; ++volume) {
        novel.Volume("第" + Numeral(volume) + "卷 卷名" + std::to_string(volume));
        for (uint32_t k = 0; k < 95; ++k) {
            ++chapter;
            // Real novels skip and repeat numbers now and then.
            uint32_t number = chapter == 500 ? 499 : chapter > 700 ? chapter + 1 : chapter;
            novel.Chapter("第" + Numeral(number) + "章 少年" + std::to_string(chapter));
            novel.Prose(600 + (chapter * 37) % 900);
            if (k % 30 == 3) {
                novel.Line("第一封信是他母亲写的，后来他想起第三章里说过的话。");
                novel.Line("第四本书记载着锤法，字迹已经模糊。");
                novel.Line("第三回合过后，两人都累了。");
                novel.Line("第二天一早，他出了门，心里想着第" + Numeral(chapter) + "章的事。");
                novel.Prose(200);
            }
        }
    }
    novel.Chapter("番外 旧事");
    novel.Prose(2000);
    ASSERT_GT(novel.expected.size(), 1000u);
    std::vector<std::string> written =
        CheckParts(novel, "山河行.txt", GbkToUtf8Lossless(novel.text));
    // 1,048 chapters: eleven parts or so, named to sort in reading order.
    ASSERT_GE(written.size(), 22u);
    EXPECT_EQ(written.front(), "山河行(01).qbr2");
    std::vector<std::string> books;
    for (const std::string& file : written) {
        if (file.ends_with(".qbr2")) books.push_back(file);
    }
    EXPECT_TRUE(std::is_sorted(books.begin(), books.end()));

    CliResult detect = RunCli({"detect", "山河行.txt"}, dir_.path());
    ASSERT_EQ(detect.exitCode, 0) << detect.err;
    // detect counts what the parts hold: every chapter, past skipped and repeated numbers.
    EXPECT_EQ(detect.Lines().front().substr(0, detect.Lines().front().find('\t', 10)),
              "第一章\t" +
                  std::to_string(std::count_if(novel.expected.begin(), novel.expected.end(),
                                               [](const PlanLine& line) { return !line.volume; })))
        << detect.out;
}

TEST_F(PartsCli, AClassicOfLongChaptersInGbk) {
    Novel novel(prose_);
    for (uint32_t i = 1; i <= 120; ++i) {
        novel.Chapter("第" + Numeral(i) + "回 回目上联" + std::to_string(i) + " 回目下联");
        novel.Prose(i % 6 == 0 ? 33000 : 15000 + (i * 97) % 14000);
    }
    CheckParts(novel, "红楼.txt", novel.text);
}

TEST_F(PartsCli, ASixtyChapterNovelIsOneBookUnderItsName) {
    Novel novel(prose_);
    novel.Front("短篇");
    novel.Line("作者：某人");
    novel.Chapter("楔子");
    novel.Prose(800);
    for (uint32_t i = 1; i <= 60; ++i) {
        novel.Chapter("第" + std::to_string(i) + "章 标题");
        novel.Prose(2000);
    }
    novel.Chapter("番外");
    novel.Prose(800);
    // A title and an author line are too short for a chapter of their own: they open 楔子.
    novel.expected.erase(novel.expected.begin());
    novel.expected.front().offset = 0;
    std::vector<std::string> written = CheckParts(novel, "短篇.txt", novel.text);
    EXPECT_EQ(written, (std::vector<std::string>{"短篇.qbr2", "短篇.qbr"}));
}

TEST_F(PartsCli, BadBooksAreRefusedAndKeepWhatWasWritten) {
    // No headings at all, and headings only in a contents list: nothing written, exit 3.
    const std::map<std::string, std::string> refused = {
        {"plain.txt", opening_},
        {"contents.txt", G("目录\r\n第一章 甲\r\n第二章 乙\r\n第三章 丙\r\n") + opening_},
    };
    for (const auto& [name, text] : refused) {
        test::WriteFileBytes(dir_ / name, text);
        CliResult run = RunCli({"generate", name, "--parts"}, dir_.path());
        EXPECT_EQ(run.exitCode, 3) << name;
        EXPECT_TRUE(run.out.empty()) << name;
        EXPECT_NE(run.err.find("不能分册生成"), std::string::npos) << name << run.err;
        EXPECT_EQ(RunCli({"chapters", name, "--parts"}, dir_.path()).exitCode, 3) << name;
    }

    // A folder that refuses the third part's files: the first two parts stay, the third is named.
    Novel novel(prose_);
    for (uint32_t i = 1; i <= 250; ++i) {
        novel.Chapter("第" + std::to_string(i) + "章");
        novel.Prose(300);
    }
    std::filesystem::create_directory(dir_ / "out");
    test::WriteFileBytes(dir_ / "long.txt", novel.text);
    std::filesystem::create_directory(dir_ / "out" / "long(3).qbr2");  // cannot become a file
    CliResult run = RunCli({"generate", "long.txt", "--parts", "--output-dir", "out"}, dir_.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.Lines(), (std::vector<std::string>{"out/long(1).qbr2", "out/long(1).qbr",
                                                     "out/long(2).qbr2", "out/long(2).qbr"}));
    EXPECT_NE(run.err.find("第3册生成失败"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::exists(dir_ / "out" / "long(2).qbr"));
    // Two books of one name in one batch would write the same parts: neither is written.
    std::filesystem::create_directories(dir_ / "a");
    std::filesystem::create_directories(dir_ / "b");
    std::filesystem::create_directories(dir_ / "shared");
    test::WriteFileBytes(dir_ / "a" / "long.txt", novel.text);
    test::WriteFileBytes(dir_ / "b" / "long.txt", novel.text);
    CliResult batch = RunCli(
        {"generate", "a/long.txt", "b/long.txt", "--parts", "--output-dir", "shared"}, dir_.path());
    EXPECT_EQ(batch.exitCode, 3);
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "shared")) << batch.err;
}

// Every .qbr2 file written has its .qbr beside it.
void ExpectBothFormats(const std::vector<std::string>& written, const std::filesystem::path& dir) {
    EXPECT_FALSE(written.empty());
    for (const std::string& file : written) {
        if (!file.ends_with(".qbr2")) continue;
        const std::string qbr = file.substr(0, file.size() - 1);
        EXPECT_TRUE(std::filesystem::exists(dir / qbr)) << qbr;
    }
}

TEST_F(PartsCli, AChapterTooShortForABookIsJoinedAndAnEpubOfManyChaptersBecomesParts) {
    // The plan used to pass a last chapter the .qbr cannot hold, and generation then stopped at
    // the third part with its .qbr2 written.
    Novel novel(prose_);
    for (uint32_t i = 1; i <= 200; ++i) {
        novel.Chapter("第" + std::to_string(i) + "章");
        novel.Prose(300);
    }
    novel.Line("第201章 结束");
    novel.Line("尾声。");
    test::WriteFileBytes(dir_ / "short.txt", novel.text);
    CliResult plan = RunCli({"chapters", "short.txt", "--parts"}, dir_.path());
    EXPECT_EQ(plan.exitCode, 0) << plan.err;
    CliResult generate = RunCli({"generate", "short.txt", "--parts"}, dir_.path());
    EXPECT_EQ(generate.exitCode, 0) << generate.err;
    ExpectBothFormats(generate.Lines(), dir_.path());

    // The same novel as an EPUB of 201 contents entries: written as parts, and said so.
    ASSERT_EQ(RunCli({"epub", "short.txt", "-o", "novel.epub"}, dir_.path()).exitCode, 0);
    CliResult fromEpub = RunCli({"generate", "novel.epub"}, dir_.path());
    EXPECT_EQ(fromEpub.exitCode, 0) << fromEpub.err;
    EXPECT_NE(fromEpub.err.find("按分册生成3册"), std::string::npos) << fromEpub.err;
    const std::vector<std::string> written = fromEpub.Lines();
    EXPECT_NE(std::find(written.begin(), written.end(), "novel(3).qbr"), written.end())
        << fromEpub.out;
    ExpectBothFormats(written, dir_.path());
}

TEST(QbrPieces, ALineBreakCutBetweenTwoPiecesComesBackAsOne) {
    // A chapter of mostly ASCII text whose .qbr pieces (16,382 characters each) are cut between
    // the CR and the LF of a line break.
    std::string text = G("第1章") + "\r\n";
    while (text.size() < 16380 - 20) text += "abcdefg hijk\r\n";
    text += std::string(16384 - 2 - text.size(), 'x') + "\r\n";
    while (text.size() < 20000) text += "more text\r\n";
    text += G("第2章") + "\r\n";
    for (int i = 0; i < 50; ++i) text += "end text\r\n";
    test::TempDir dir;
    test::WriteFileBytes(dir / "crlf.txt", text);
    ASSERT_EQ(RunCli({"generate", "crlf.txt", "--incremental", "第1章"}, dir.path()).exitCode, 0);
    for (const char* book : {"crlf.qbr", "crlf.qbr2"}) {
        CliResult unpack =
            RunCli({"unpack", book, "-o", "-", "--output-encoding", "gbk"}, dir.path());
        EXPECT_EQ(unpack.exitCode, 0) << book;
        EXPECT_TRUE(unpack.out == text)
            << book << ": " << unpack.out.size() << " of " << text.size();
    }
}

}  // namespace
}  // namespace brisna::e2e
