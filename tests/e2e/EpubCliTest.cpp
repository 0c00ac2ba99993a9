// EPUBs out of the command line and back in: every file written passes the EPUB checker, a real
// book comes back with its chapters, another program's EPUB opens with its contents, and the
// command's options behave.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>

#include "e2e/CliTestSupport.h"
#include "e2e/EpubChecker.h"
#include "epub/EpubCover.h"
#include "epub/EpubReader.h"
#include "epub/EpubWriter.h"
#include "epub/EpubZip.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna::e2e {
namespace {

using test::G;
using test::U;

// "offset \t length \t title" lines, without the lengths (the EPUB's last chapter ends with the
// text as it reads back).
std::vector<std::string> OffsetsAndTitles(const CliResult& run) {
    std::vector<std::string> lines;
    for (const std::string& line : run.Lines()) {
        size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos) continue;
        // An EPUB's contents carry each entry's level in a fourth column.
        const size_t tab3 = line.find('\t', tab2 + 1);
        lines.push_back(line.substr(0, tab1) + line.substr(tab2, tab3 - tab2));
    }
    return lines;
}

TEST(EpubCli, ARealBookGoesOutCleanAndComesBackWithItsChapters) {
    const std::string prose = InstalledChineseText(400000);
    if (prose.empty()) GTEST_SKIP() << "the Chinese manual pages (manpages-zh) are not installed";
    if (!HaveChecker()) std::cerr << "epubcheck (and a Java runtime) not installed: not checked\n";
    // 60 chapters headed 第N篇, cut at line ends.
    std::string book = G("《中文手册》\r\n作者：社区\r\n内容简介：") +
                       prose.substr(0, prose.find("\r\n")) + "\r\n";
    size_t at = 0;
    for (int n = 1; n <= 60 && at < prose.size(); ++n) {
        size_t end = at;
        while (end < prose.size() && end - at < 6000) end = prose.find("\r\n", end) + 2;
        book += G("第" + std::to_string(n) + "篇") + "\r\n" + prose.substr(at, end - at);
        at = end;
    }
    test::TempDir dir;
    test::WriteFileBytes(dir / "book.txt", book);

    CliResult epub = RunCli({"epub", "book.txt", "--auto", "--keep-blank-lines"}, dir.path());
    ASSERT_EQ(epub.exitCode, 0) << epub.err;
    EXPECT_EQ(epub.Lines(), std::vector<std::string>{"book.epub"});
    EXPECT_EQ(epub.ErrLines(), std::vector<std::string>{"生成EPUB成功：book.epub"});
    EXPECT_CHECKER_CLEAN(dir / "book.epub");

    // The same book gives the same bytes.
    const std::string first = test::ReadFileBytes(dir / "book.epub");
    ASSERT_EQ(RunCli({"epub", "book.txt", "--auto", "--keep-blank-lines"}, dir.path()).exitCode, 0);
    EXPECT_TRUE(test::ReadFileBytes(dir / "book.epub") == first);

    // Back: the same chapters at the same offsets, the same text up to the white-space rules.
    CliResult marked = RunCli({"chapters", "book.txt", "--auto"}, dir.path());
    CliResult unpacked = RunCli({"unpack", "book.epub"}, dir.path());
    ASSERT_EQ(unpacked.exitCode, 0) << unpacked.err;
    EXPECT_EQ(OffsetsAndTitles(unpacked), OffsetsAndTitles(marked));
    ASSERT_EQ(
        RunCli({"unpack", "book.epub", "-o", "back.txt", "--output-encoding", "gbk"}, dir.path())
            .exitCode,
        0);
    std::string expected = book;
    std::replace(expected.begin(), expected.end(), '\t', ' ');
    EXPECT_TRUE(test::ReadFileBytes(dir / "back.txt") == expected);

    // Chapter options mark an EPUB afresh, as they mark a text.
    EXPECT_EQ(OffsetsAndTitles(RunCli({"chapters", "book.epub", "--auto"}, dir.path())),
              OffsetsAndTitles(marked));

    // And on to a .qbr2 with the EPUB's own contents.
    CliResult generate = RunCli({"generate", "book.epub"}, dir.path());
    EXPECT_EQ(generate.exitCode, 0) << generate.err << generate.out;
    EXPECT_TRUE(std::filesystem::exists(dir / "book.qbr2"));
}

// A novel of ten volumes of a hundred chapters each, written from its outline.
TEST(EpubCli, ANovelOfAThousandChaptersHasTwoLevelsOfContents) {
    std::string text;
    std::vector<TocEntry> toc;
    for (int volume = 1; volume <= 10; ++volume) {
        toc.push_back(
            {1, G("第" + std::to_string(volume) + "卷"), static_cast<uint32_t>(text.size())});
        text += toc.back().title + "\r\n";
        for (int chapter = 1; chapter <= 100; ++chapter) {
            const int number = (volume - 1) * 100 + chapter;
            toc.push_back({2, G("第" + std::to_string(number) + "章 夜行"),
                           static_cast<uint32_t>(text.size())});
            text += toc.back().title + "\r\n" + G("　　他走了很远的路，天色渐暗。") + "\r\n";
        }
    }
    std::optional<std::string> bytes =
        BuildEpub(text, toc, DescribeBook(text, "novel.txt", 1700000000));
    ASSERT_TRUE(bytes);
    test::TempDir dir;
    test::WriteFileBytes(dir / "novel.epub", *bytes);
    EXPECT_CHECKER_CLEAN(dir / "novel.epub");

    EpubReadResult read = ReadEpub(*bytes);
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.book.toc.size(), 1010u);
    EXPECT_EQ(read.book.toc[0].level, 1);
    EXPECT_EQ(read.book.toc[1].level, 2);
    EXPECT_EQ(U(read.book.toc[1009].title), "第1000章 夜行");
    EXPECT_EQ(read.book.toc[1009].offset, toc[1009].offset);
    // The editor's chapter list holds 98 of them, and says so; the listing shows every entry.
    CliResult unpacked = RunCli({"unpack", "novel.epub"}, dir.path());
    EXPECT_EQ(unpacked.exitCode, 0);
    EXPECT_EQ(unpacked.Lines().size(), 1010u);
    EXPECT_EQ(unpacked.ErrLines(),
              std::vector<std::string>{"EPUB目录共1010章，超过98章，只标记了前98章"});
}

// A novel of more chapters than the chapter list holds, from real prose: front matter, a
// contents list, 楔子, three volumes, 番外, and prose lines that begin like headings.
struct LongNovel {
    std::string text;  // GBK
    std::vector<TocEntry> contents;

    explicit LongNovel(const std::string& prose) {
        size_t at = 0;
        auto line = [&](const std::string& utf8) { text += G(utf8) + "\r\n"; };
        auto heading = [&](int level, const std::string& utf8) {
            contents.push_back({level, G(utf8), static_cast<uint32_t>(text.size())});
            line(utf8);
        };
        auto paragraphs = [&](size_t bytes) { AppendProse(text, prose, at, bytes); };
        heading(1, "《长河》");
        line("作者：某人");
        line("目录");
        for (int n = 1; n <= 3; ++n) line("第" + std::to_string(n) + "章 渡口" + std::to_string(n));
        heading(1, "楔子");
        paragraphs(800);
        for (int volume = 1, chapter = 0; volume <= 3; ++volume) {
            heading(1, "第" + std::to_string(volume) + "卷 长河" + std::to_string(volume));
            for (int k = 0; k < 45; ++k) {
                ++chapter;
                heading(2, "第" + std::to_string(chapter) + "章 渡口" + std::to_string(chapter));
                paragraphs(300 + chapter % 7 * 90);
                if (k % 20 == 5) {
                    line("第二天一早，他想起第" + std::to_string(chapter) + "章里说过的话。");
                    line("第三回合过后，两人都累了。");
                }
            }
        }
        heading(2, "番外 归舟");
        paragraphs(500);
    }
};

void ExpectContents(const std::vector<TocEntry>& read, const std::vector<TocEntry>& expected) {
    ASSERT_EQ(read.size(), expected.size());
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].level, expected[i].level) << i;
        EXPECT_EQ(U(read[i].title), U(expected[i].title)) << i;
        EXPECT_EQ(read[i].offset, expected[i].offset) << U(expected[i].title);
    }
}

TEST(EpubCli, ALongNovelIsWrittenWholeAndReadBackWhole) {
    const std::string prose = InstalledChineseText(100000);
    if (prose.empty()) GTEST_SKIP() << "the Chinese manual pages (manpages-zh) are not installed";
    const LongNovel novel(prose);
    test::TempDir dir;
    test::WriteFileBytes(dir / "novel.txt", novel.text);

    // No chapter option, and --auto, both write the whole outline: volumes above chapters.
    CliResult written = RunCli({"epub", "novel.txt", "--keep-blank-lines"}, dir.path());
    ASSERT_EQ(written.exitCode, 0) << written.err;
    EXPECT_CHECKER_CLEAN(dir / "novel.epub");
    const std::string bytes = test::ReadFileBytes(dir / "novel.epub");
    EpubReadResult read = ReadEpub(bytes);
    ASSERT_TRUE(read.ok) << U(read.message);
    ExpectContents(read.book.toc, novel.contents);
    EXPECT_TRUE(read.book.text == novel.text);
    ASSERT_EQ(
        RunCli({"epub", "novel.txt", "--auto", "-o", "auto.epub", "--keep-blank-lines"}, dir.path())
            .exitCode,
        0);
    EXPECT_TRUE(test::ReadFileBytes(dir / "auto.epub") == bytes);

    // The EPUB keeps its whole contents into another EPUB, into parts, and from standard input;
    // marking it afresh replaces them.
    test::WriteFileBytes(dir / "copy.epub", bytes);
    ASSERT_EQ(RunCli({"epub", "copy.epub", "-o", "again.epub"}, dir.path()).exitCode, 0);
    read = ReadEpub(test::ReadFileBytes(dir / "again.epub"));
    ExpectContents(read.book.toc, novel.contents);
    ASSERT_EQ(RunShell("brisnamake-cli epub - -o piped.epub < copy.epub", dir.path()).exitCode, 0);
    read = ReadEpub(test::ReadFileBytes(dir / "piped.epub"));
    ExpectContents(read.book.toc, novel.contents);
    CliResult parts = RunCli({"chapters", "copy.epub", "--parts"}, dir.path());
    ASSERT_EQ(parts.exitCode, 0) << parts.err;
    std::vector<std::string> titles;
    for (const std::string& line : parts.Lines())
        titles.push_back(line.substr(line.rfind('\t') + 1));
    std::vector<std::string> expected;
    for (const TocEntry& entry : novel.contents) expected.push_back(U(entry.title));
    EXPECT_EQ(titles, expected);
    CliResult remarked = RunCli(
        {"epub", "copy.epub", "--line", "0", "--incremental", "第1卷", "-o", "remarked.epub"},
        dir.path());
    ASSERT_EQ(remarked.exitCode, 0) << remarked.err;
    EXPECT_EQ(ReadEpub(test::ReadFileBytes(dir / "remarked.epub")).book.toc.size(), 4u);

    // A script opens it as the window does, and 生成EPUB writes the whole contents while the
    // chapter list is untouched, the list alone once a chapter is deleted.
    test::WriteFileBytes(dir / "whole.txt", "open-txt copy.epub\npress 1102\n");
    test::WriteFileBytes(dir / "edited.txt",
                         "open-epub copy.epub\nselect-chapters 97\nmenu delete\npress 1102\n");
    ASSERT_EQ(RunCli({"script", "whole.txt"}, dir.path()).exitCode, 0);
    EXPECT_EQ(ReadEpub(test::ReadFileBytes(dir / "copy.epub")).book.toc.size(),
              novel.contents.size());
    ASSERT_EQ(RunCli({"script", "edited.txt"}, dir.path()).exitCode, 0);
    EXPECT_EQ(ReadEpub(test::ReadFileBytes(dir / "copy.epub")).book.toc.size(), 97u);
}

TEST(EpubCli, MarkupCharactersAndAnEmptyTitleStayValid) {
    const std::string text = G("《<书> & \"名\" ‘’！？…——（）【】》\r\n作者：A&B <c>\r\n") +
                             "\r\n" + G("第1章 <&> \"'\r\n") + "a < b && c > d \"q\" 'x'\r\n" +
                             G("尾声\r\n完\r\n");
    const uint32_t chapter1 = static_cast<uint32_t>(text.find(G("第1章")));
    const uint32_t empty = static_cast<uint32_t>(text.find("a < b"));
    const std::vector<TocEntry> toc{{1, G("《<书> & \"名\"》"), 0},
                                    {1, G("第1章 <&> \"'"), chapter1},
                                    {1, "", empty},
                                    {1, G("尾声"), static_cast<uint32_t>(text.find(G("尾声")))}};
    const EpubMetadata metadata = DescribeBook(text, "x.txt", 0);
    EXPECT_EQ(metadata.title, "<书> & \"名\" ‘’！？…——（）【】");
    EXPECT_EQ(metadata.author, "A&B <c>");
    EpubStyle keepBlankLines;
    keepBlankLines.keepBlankLines = true;
    std::optional<std::string> bytes = BuildEpub(text, toc, metadata, keepBlankLines);
    ASSERT_TRUE(bytes);
    test::TempDir dir;
    test::WriteFileBytes(dir / "marks.epub", *bytes);
    EXPECT_CHECKER_CLEAN(dir / "marks.epub");
    EpubReadResult read = ReadEpub(*bytes);
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.book.toc.size(), 4u);
    EXPECT_EQ(U(read.book.toc[1].title), "第1章 <&> \"'");
    EXPECT_EQ(U(read.book.toc[2].title), "（无标题）");
    EXPECT_TRUE(read.book.text == text);
}

TEST(EpubCli, AnotherProgramsEpubOpensWithItsContentsAsChapters) {
    const std::string faq = Gunzip(kChineseFaq);
    if (faq.empty()) GTEST_SKIP() << "the Chinese Debian FAQ (debian-faq-zh-cn) is not installed";
    if (RunShell("command -v pandoc", ".").exitCode != 0) GTEST_SKIP() << "pandoc is not installed";
    // The FAQ's numbered questions ("1.1. …" at the start of a line) as Markdown headings, its
    // other lines as paragraphs; 50 of them, so the chapter list holds them all.
    const std::regex question("^[0-9]+\\.[0-9]+\\.(\xC2\xA0| )(.*)$");
    std::string markdown;
    std::vector<std::string> headings;
    size_t at = 0;
    while (at < faq.size()) {
        size_t end = faq.find('\n', at);
        if (end == std::string::npos) end = faq.size();
        std::string line = faq.substr(at, end - at);
        at = end + 1;
        for (size_t nbsp; (nbsp = line.find("\xC2\xA0")) != std::string::npos;) {
            line.replace(nbsp, 2, " ");
        }
        if (std::regex_match(line, question)) {
            if (headings.size() == 50) break;
            headings.push_back(line);
            markdown += "\n# " + line + "\n\n";
        } else if (!headings.empty()) {
            // Nothing of the text may read as Markdown structure of its own.
            line = std::regex_replace(line, std::regex("^\\s+"), "");
            line = std::regex_replace(line, std::regex("([\\\\`*_#<>\\[\\]-])"), "\\$1");
            markdown += line + "\n";
        }
    }
    ASSERT_EQ(headings.size(), 50u);
    test::TempDir dir;
    test::WriteFileBytes(dir / "faq.md", markdown);
    CliResult pandoc = RunShell(
        "pandoc -f markdown -t epub3 --metadata title=FAQ --metadata lang=zh-CN -o faq.epub "
        "faq.md 2>/dev/null",
        dir.path());
    ASSERT_EQ(pandoc.exitCode, 0);

    CliResult unpacked = RunCli({"unpack", "faq.epub"}, dir.path());
    ASSERT_EQ(unpacked.exitCode, 0) << unpacked.err;
    std::vector<std::string> titles;
    for (const std::string& line : unpacked.Lines()) {
        const size_t title = line.find('\t', line.find('\t') + 1) + 1;
        titles.push_back(line.substr(title, line.rfind('\t') - title));
    }
    // pandoc's title page opens the first chapter; one entry per heading, its title whole.
    ASSERT_EQ(titles.size(), headings.size());
    for (size_t i = 0; i < headings.size(); ++i) {
        EXPECT_EQ(titles[i], U(G(headings[i]))) << i;
    }
}

TEST(EpubCli, OutputOptionsAndRefusals) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "b.txt", G("第1章\r\n甲\r\n第2章\r\n乙\r\n"));
    test::WriteFileBytes(dir / "taken.epub", "keep");
    test::WriteFileBytes(dir / "fake.epub", "not an archive");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string err;  // first line of standard error; empty: not checked
    };
    const std::vector<std::string> marks{"--incremental", "第1章"};
    auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), marks.begin(), marks.end());
        return args;
    };
    const Case cases[] = {
        {with({"epub", "b.txt", "-o", "taken.epub"}), 3, ""},
        {with({"epub", "b.txt", "-o", "new.epub"}), 0, "生成EPUB成功：new.epub"},
        {with({"epub", "b.txt", "-o", "taken.epub", "--force"}), 0, ""},
        // An EPUB read is never written over, even where its own EPUB would go.
        {{"epub", "new.epub"}, 3, "生成EPUB失败: new.epub: 这是本次读入的文件，不能被输出覆盖"},
        {with({"epub", "-"}), 2, ""},
        // No chapter option: recognition marks the chapters.
        {{"epub", "b.txt"}, 0, "生成EPUB成功：b.epub"},
        {{"unpack", "fake.epub"}, 3, "不是EPUB文件（无法作为zip文件打开）: fake.epub"},
        {{"chapters", "missing.epub"}, 3, ""},
    };
    for (const Case& c : cases) {
        CliResult run = RunCli(c.args, dir.path());
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args[1] << " " << run.err;
        if (!c.err.empty()) {
            ASSERT_FALSE(run.ErrLines().empty());
            EXPECT_EQ(run.ErrLines()[0], c.err);
        }
    }
    EXPECT_NE(test::ReadFileBytes(dir / "taken.epub"), "keep");
    EXPECT_TRUE(ReadEpub(test::ReadFileBytes(dir / "new.epub")).ok);
    // Standard output carries the same bytes the file gets.
    CliResult piped = RunCli(with({"epub", "b.txt", "-o", "-"}), dir.path());
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_TRUE(piped.out == test::ReadFileBytes(dir / "new.epub"));
}

// The entry of an EPUB file, or a note that it is not there.
std::string EntryOf(const std::filesystem::path& epub, std::string_view name) {
    const std::string bytes = test::ReadFileBytes(epub);
    std::unique_ptr<ZipArchiveReader> zip = ZipArchiveReader::Open(bytes, {1 << 26, 1 << 27});
    if (!zip) return "(not a zip)";
    ZipRead read = zip->Read(name);
    return read.status == ZipReadStatus::kOk ? read.bytes : "(missing)";
}

std::string SmallBook() {
    return G(
        "《山河行》\r\n作者：林深见鹿\r\n内容简介：\r\n　　一个人走过山河。\r\n\r\n"
        "第一章 出门\r\n　　天亮了。\r\n\r\n　　他出门了。\r\n第二章 回家\r\n　　天黑了。\r\n");
}

TEST(EpubCli, EveryLookPassesTheCheckerAndComesOutTheSameTwice) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "book.txt", SmallBook());
    test::WriteFileBytes(dir / "own.png", DrawCover("另一张封面", "").bytes);
    test::WriteFileBytes(dir / "own.css", "p { color: #333; }\n");
    std::vector<std::string> everything = {"--cover",         "own.png",
                                           "--indent",        "0",
                                           "--spacing",       "1",
                                           "--line-height",   "2",
                                           "--heading-align", "left",
                                           "--font-family",   "kai",
                                           "--vertical",      "--css",
                                           "own.css",         "--keep-blank-lines",
                                           "--title",         "山河行（修订版）",
                                           "--author",        "林深",
                                           "--language",      "zh-TW"};
    const std::filesystem::path font = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    if (std::filesystem::exists(font)) {
        everything.insert(everything.end(), {"--font", font.string()});
    }
    const std::vector<std::pair<std::string, std::vector<std::string>>> looks = {
        {"plain.epub", {}},
        {"bare.epub", {"--no-cover", "--font-family", "sans"}},
        {"everything.epub", everything}};
    for (const auto& [name, options] : looks) {
        std::vector<std::string> args{"epub", "book.txt", "--auto", "-o", name, "--force"};
        args.insert(args.end(), options.begin(), options.end());
        CliResult first = RunCli(args, dir.path());
        ASSERT_EQ(first.exitCode, 0) << name << first.err;
        const std::string bytes = test::ReadFileBytes(dir / name);
        ASSERT_EQ(RunCli(args, dir.path()).exitCode, 0) << name;
        EXPECT_TRUE(test::ReadFileBytes(dir / name) == bytes) << name << ": not the same bytes";
        EXPECT_CHECKER_CLEAN(dir / name);
    }
    // What each look asked for is in the book.
    EXPECT_TRUE(EntryOf(dir / "everything.epub", "OEBPS/images/cover.png") ==
                test::ReadFileBytes(dir / "own.png"));
    EXPECT_NE(EntryOf(dir / "everything.epub", "OEBPS/content.opf")
                  .find("page-progression-direction=\"rtl\""),
              std::string::npos);
    EXPECT_NE(EntryOf(dir / "everything.epub", "OEBPS/content.opf")
                  .find("<dc:title>山河行（修订版）</dc:title>"),
              std::string::npos);
    EXPECT_EQ(EntryOf(dir / "bare.epub", "OEBPS/content.opf").find("cover"), std::string::npos);
    EXPECT_NE(EntryOf(dir / "plain.epub", "OEBPS/content.opf").find("properties=\"cover-image\""),
              std::string::npos);
}

TEST(EpubCli, LooksThatCannotBeHadAreRefused) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "book.txt", SmallBook());
    test::WriteFileBytes(dir / "note.txt", "not a picture");
    struct Case {
        std::vector<std::string> options;
        int exitCode;
        std::string message;  // the start of the first line on standard error
    };
    const Case cases[] = {
        {{"--indent", "5"}, 2, "brisnamake-cli: --indent takes a number from 0 to 4"},
        {{"--line-height", "0.5"}, 2, "brisnamake-cli: --line-height takes a number from 1 to 3"},
        {{"--spacing", "1.25"}, 2, "brisnamake-cli: --spacing takes"},
        {{"--cover", "own.png", "--no-cover"}, 2, "brisnamake-cli: --cover and --no-cover"},
        {{"--cover", "note.txt"}, 3, "封面图片必须是JPEG或PNG文件"},
        {{"--cover", "missing.png"}, 3, "读取封面图片失败"},
        {{"--font", "note.txt"}, 3, "字体文件必须是TrueType、OpenType或WOFF字体"},
        {{"--css", "missing.css"}, 3, "读取样式表文件失败"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"epub", "book.txt", "--auto"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        CliResult run = RunCli(args, dir.path());
        EXPECT_EQ(run.exitCode, c.exitCode) << c.options[0] << run.err;
        EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << c.options[0] << ": " << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "book.epub")) << c.options[0];
    }
}

// A reader's library (calibre's ebook-meta stands for one) sees the title, the author, the
// language and the cover of books named every way.
TEST(EpubCli, ALibrarySeesTitleAuthorLanguageAndCover) {
    if (RunShell("ebook-meta --version", ".").exitCode != 0) {
        GTEST_SKIP() << "ebook-meta (calibre) cannot run here";
    }
    struct Case {
        std::string file;
        std::string text;  // UTF-8
        std::vector<std::string> options;
        std::string title, author, language;
    };
    const std::string body = "第一章 出门\r\n　　天亮了。\r\n第二章 回家\r\n　　天黑了。\r\n";
    const Case cases[] = {
        {"《山河行》作者：林深见鹿.txt", body, {}, "山河行", "林深见鹿", "zho"},
        {"山河行 作者：林深见鹿.txt", body, {}, "山河行", "林深见鹿", "zho"},
        {"山河行_林深见鹿.txt", body, {}, "山河行", "林深见鹿", "zho"},
        {"山河行(林深见鹿).txt", body, {}, "山河行", "林深见鹿", "zho"},
        {"head.txt", "《山河行》\r\n作者：林深见鹿\r\n" + body, {}, "山河行", "林深见鹿", "zho"},
        {"novel-classic.txt", "红楼旧梦\r\n\r\n" + body, {}, "红楼旧梦", "Unknown", "zho"},
        {"x.txt",
         body,
         {"--title", "夜航", "--author", "周六", "--language", "zh-TW"},
         "夜航",
         "周六",
         "zho"},
        {"\x01.txt", body, {}, "（无标题）", "Unknown", "zho"},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        test::WriteFileBytes(dir / c.file, G(c.text));
        std::vector<std::string> args{"epub", c.file, "--auto", "-o", "book.epub", "--force"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(RunCli(args, dir.path()).exitCode, 0) << c.file;
        CliResult meta = RunShell("ebook-meta book.epub --get-cover=cover.out", dir.path());
        ASSERT_EQ(meta.exitCode, 0) << meta.err;
        std::map<std::string, std::string> fields;
        for (const std::string& line : meta.Lines()) {
            const size_t colon = line.find(" : ");
            if (colon == std::string::npos) continue;
            std::string key = line.substr(0, line.find_last_not_of(' ', colon) + 1);
            fields[key] = line.substr(colon + 3);
        }
        EXPECT_EQ(fields["Title"], c.title) << c.file;
        EXPECT_EQ(fields["Author(s)"], c.author) << c.file;
        EXPECT_EQ(fields["Languages"], c.language) << c.file;
        EXPECT_EQ(PictureMediaType(test::ReadFileBytes(dir / "cover.out")), "image/png") << c.file;
        std::filesystem::remove(dir / "cover.out");
    }
}

TEST(EpubCli, APictureBesideTheBookIsItsCover) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "book.txt", SmallBook());
    const std::string named = DrawCover("书名的封面", "").bytes;
    const std::string shared = DrawCover("文件夹的封面", "").bytes;
    test::WriteFileBytes(dir / "book.png", named);
    ASSERT_EQ(RunCli({"epub", "book.txt", "--auto"}, dir.path()).exitCode, 0);
    EXPECT_TRUE(EntryOf(dir / "book.epub", "OEBPS/images/cover.png") == named);
    // cover.png goes before BOOK.png; a picture that is none is passed over.
    test::WriteFileBytes(dir / "cover.png", shared);
    ASSERT_EQ(RunCli({"epub", "book.txt", "--auto"}, dir.path()).exitCode, 0);
    EXPECT_TRUE(EntryOf(dir / "book.epub", "OEBPS/images/cover.png") == shared);
    test::WriteFileBytes(dir / "cover.jpg", "no picture");
    ASSERT_EQ(RunCli({"epub", "book.txt", "--auto"}, dir.path()).exitCode, 0);
    EXPECT_TRUE(EntryOf(dir / "book.epub", "OEBPS/images/cover.png") == shared);
}

}  // namespace
}  // namespace brisna::e2e
