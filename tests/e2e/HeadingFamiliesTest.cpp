// Novels of every heading family real downloads use, built here from the installed Chinese
// manual pages: a title page, a contents list, cross-references and prose lines that begin like
// headings, skipped and repeated numbers. Recognition must find every true heading at the start
// of its line and nothing else, and the window's 自动识别章节, --auto, detect and
// chapters --parts must count the same chapters.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "detect/BookOutline.h"
#include "detect/ChineseNumerals.h"
#include "e2e/CliTestSupport.h"
#include "support/TestSupport.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"

namespace brisna::e2e {
namespace {

using test::G;

// Prose lines that can never read as headings: each ends its sentence.
std::vector<std::string> ProseLines() {
    std::vector<std::string> lines;
    const std::string text = InstalledChineseText(200'000);
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (line.size() > 10) lines.push_back(G("　　") + line + G("。"));
        at = end + 2;
    }
    return lines;
}

std::string Cn(int n) {
    return RenderChineseNumber(static_cast<uint32_t>(n));
}

struct Family {
    const char* name;
    int chapters;
    // The heading line (GBK) of chapter number n, the i-th heading of the book.
    std::function<std::string(int n, int i)> heading;
    std::string frontSections;  // named sections before the first chapter (GBK lines)
    std::string backSections;   // and after the last
};

struct Built {
    std::string text;                // GBK, CR LF
    std::vector<uint32_t> headings;  // where each true heading's line starts
    size_t chapterCount = 0;         // chapters recognition must count (front matter too)
};

Built Build(const Family& family, const std::vector<std::string>& prose) {
    Built book;
    size_t next = 0;
    auto proseLines = [&](int count) {
        for (int k = 0; k < count; ++k) book.text += prose[next++ % prose.size()] + "\r\n";
    };
    book.text = G("风雨行\r\n作者：某人\r\n目录\r\n");
    for (int i = 1; i <= 4; ++i) book.text += family.heading(i, i) + "\r\n";
    proseLines(2);
    book.chapterCount = 1;  // the title page
    auto section = [&](const std::string& lines) {
        for (size_t at = 0; at < lines.size();) {
            size_t end = lines.find("\r\n", at);
            book.headings.push_back(static_cast<uint32_t>(book.text.size()));
            book.text += lines.substr(at, end - at + 2);
            ++book.chapterCount;
            proseLines(3);
            at = end + 2;
        }
    };
    section(family.frontSections);
    for (int i = 1, n = 1; i <= family.chapters; ++i, ++n) {
        if (i == 7) ++n;         // a skipped number
        if (i == 12) n = n - 1;  // a repeated one
        book.headings.push_back(static_cast<uint32_t>(book.text.size()));
        book.text += family.heading(n, i) + "\r\n";
        ++book.chapterCount;
        proseLines(3);
        // Cross-references and prose that begins like a heading.
        book.text += G("　　他想起第") + Cn(n + 2) + G("章里说过的话，") +
                     G("第三回合过后才明白。") + "\r\n";
        book.text += G("第三回合过后，两人都累了。\r\n第二天一早，他出了门。\r\n");
        proseLines(2);
    }
    section(family.backSections);
    return book;
}

const std::vector<Family>& Families() {
    static const std::vector<Family> families = {
        {"第N章", 40, [](int n, int) { return G("第") + Cn(n) + G("章 启程"); }, "", ""},
        {"brackets", 30, [](int n, int) { return G("【第") + std::to_string(n) + G("章】 风起"); },
         "", ""},
        {"prefix", 30, [](int n, int) { return G("正文 第") + Cn(n) + G("章 云涌"); }, "", ""},
        {"units", 36,
         [](int n, int i) {
             const char* unit = i <= 12 ? "节" : i <= 24 ? "话" : "集";
             return G("第") +
                    std::to_string(i <= 12   ? n
                                   : i <= 24 ? n - 12
                                             : n - 24) +
                    G(unit) + G(" 归来");
         },
         "", ""},
        {"sections", 20, [](int n, int) { return G("第") + Cn(n) + G("回 江湖"); },
         G("作品相关\r\n新书感言\r\n楔子\r\n"), G("番外一 旧梦\r\n后记\r\n")},
        {"Chapter N", 25, [](int n, int) { return "Chapter " + std::to_string(n) + " Road"; }, "",
         ""},
        // Past 200 as such novels write it: 第两百零一章.
        {"long", 260,
         [](int n, int) {
             std::string number = Cn(n);
             if (n >= 200 && n < 300) number.replace(0, 2, G("两"));
             return G("第") + number + G("章 远行");
         },
         "", ""},
    };
    return families;
}

std::vector<uint32_t> ChapterOffsets(const BookOutline& outline) {
    std::vector<uint32_t> offsets;
    for (const OutlineEntry& entry : outline.entries) {
        if (entry.kind == OutlineEntryKind::kChapter ||
            entry.kind == OutlineEntryKind::kNamedSection) {
            offsets.push_back(entry.offset);
        }
    }
    return offsets;
}

class HeadingFamilies : public ::testing::Test {
  protected:
    void SetUp() override {
        prose = ProseLines();
        if (prose.empty())
            GTEST_SKIP() << "the Chinese manual pages (manpages-zh) are not installed";
    }
    std::vector<std::string> prose;
};

TEST_F(HeadingFamilies, RecognitionFindsEveryTrueHeadingAndNothingElse) {
    for (const Family& family : Families()) {
        SCOPED_TRACE(family.name);
        Built book = Build(family, prose);
        BookOutline outline = BuildBookOutline(book.text);
        EXPECT_EQ(ChapterOffsets(outline), book.headings);
        EXPECT_EQ(outline.ChapterCount(), book.chapterCount);
    }
}

TEST_F(HeadingFamilies, EveryFaceCountsTheSameChapters) {
    for (const Family& family : Families()) {
        SCOPED_TRACE(family.name);
        Built book = Build(family, prose);
        test::TempDir dir;
        test::WriteFileBytes(dir / "book.txt", book.text);
        const std::string count = std::to_string(book.chapterCount);

        CliResult detect = RunCli({"detect", "book.txt"}, dir.path());
        ASSERT_EQ(detect.exitCode, 0) << detect.err;
        const std::string first = detect.Lines().front();
        EXPECT_EQ(first.substr(first.find('\t') + 1, count.size() + 1), count + "\t") << first;

        CliResult parts = RunCli({"chapters", "book.txt", "--parts"}, dir.path());
        ASSERT_EQ(parts.exitCode, 0) << parts.err;
        EXPECT_EQ(parts.Lines().size(), book.chapterCount) << parts.out;

        HeadlessRichEdit view;
        HeadlessListBox chapterList;
        HeadlessListBox problemList;
        HeadlessDialogHost host;
        CBrisnaMakeDlg dialog(view, chapterList, problemList, host, dir / "no-words.csv");
        host.QueueFileChoice((dir / "book.txt").string());
        dialog.OnOpenText();
        dialog.OnAutoDetectChapters();

        CliResult marked = RunCli({"chapters", "book.txt", "--auto"}, dir.path());
        if (book.chapterCount <= 98) {
            EXPECT_EQ(marked.exitCode, 0) << marked.err;
            EXPECT_EQ(marked.Lines().size(), book.chapterCount);
            EXPECT_EQ(dialog.chapters.Count(), book.chapterCount);
            EXPECT_TRUE(host.Messages().empty());
        } else {
            // Too long for one book: said with the count and the options that write it all.
            EXPECT_EQ(marked.exitCode, 3);
            EXPECT_NE(marked.err.find("本书共" + count + "章"), std::string::npos) << marked.err;
            EXPECT_NE(marked.err.find("--parts"), std::string::npos) << marked.err;
            EXPECT_EQ(dialog.chapters.Count(), 0u);
            ASSERT_EQ(host.Messages().size(), 1u);
            EXPECT_NE(GbkToUtf8Lossless(host.Messages()[0].text).find("本书共" + count + "章"),
                      std::string::npos);
        }
    }
}

// A Big5 book keeps its Traditional headings; they are read as the Simplified ones.
TEST_F(HeadingFamilies, TraditionalHeadingsInABig5Book) {
    std::string utf8 = "風雨行\r\n";
    for (int i = 1; i <= 12; ++i) {
        utf8 += "第" + GbkToUtf8Lossless(Cn(i)) + "回 江湖再見\r\n";
        utf8 += "　　他們走了很遠的路，第三回合過後才停下來。\r\n第二天，他們又出發了。\r\n";
    }
    utf8 += "後記\r\n　　寫完了。\r\n";
    test::TempDir dir;
    test::WriteFileBytes(dir / "book.txt", test::IcuConvert(utf8, "Big5", "UTF-8"));
    CliResult detect = RunCli({"detect", "book.txt"}, dir.path());
    ASSERT_EQ(detect.exitCode, 0) << detect.err;
    EXPECT_EQ(detect.Lines().front().substr(0, detect.Lines().front().find('\t', 10)),
              "第一回\t14");
}

}  // namespace
}  // namespace brisna::e2e
