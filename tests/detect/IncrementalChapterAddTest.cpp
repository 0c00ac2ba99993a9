#include "detect/IncrementalChapterAdd.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "controls/DialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

using FieldHost = test::RecordingHost;

class IncrementalAdd : public ::testing::Test {
  protected:
    void Load(const std::vector<std::string>& utf8Lines) {
        std::string text;
        for (const std::string& line : utf8Lines) text += line + "\r\n";
        view.SetText(G(text));
        bookText.RebuildLineTable();
    }
    void Run(const std::string& utf8Heading) {
        host.startChapter = G(utf8Heading);
        IncrementalChapterAdd(bookText, chapterList, chapters, host, scan);
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (const std::string& text : chapterList.Texts()) titles.push_back(U(text));
        return titles;
    }

    HeadlessRichEdit view;
    CMyRECtrl bookText{view};
    HeadlessListBox chapterList;
    ChapterModel chapters;
    FieldHost host;
    int32_t scan = 0;
};

// Lines 第N章 / 正文 for N = from .. to (at most 13), in Chinese numerals.
std::vector<std::string> Numbered(int from, int to) {
    static const char* const kChinese[] = {"",   "一", "二", "三", "四",   "五",   "六",
                                           "七", "八", "九", "十", "十一", "十二", "十三"};
    std::vector<std::string> lines;
    for (int n = from; n <= to; ++n) {
        lines.push_back("第" + std::string(kChinese[n]) + "章");
        lines.push_back("正文");
    }
    return lines;
}

TEST_F(IncrementalAdd, ChineseNumbersCarryOverTen) {
    Load(Numbered(1, 12));
    Run("第一章");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第一章", "第二章", "第三章", "第四章", "第五章",
                                                  "第六章", "第七章", "第八章", "第九章", "第十章",
                                                  "第十一章", "第十二章"}));
    // 第X章 CR LF 正文 CR LF: 14 bytes per chapter up to 第十章, 16 for 第十一章.
    EXPECT_EQ(chapters.OffsetAt(9), 126u);
    EXPECT_EQ(chapters.OffsetAt(10), 140u);
    EXPECT_EQ(chapters.OffsetAt(11), 156u);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(scan, 0);
}

TEST_F(IncrementalAdd, StartingFromTenReadsTheStartNumber) {
    Load(Numbered(10, 12));
    Run("第十章");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第十章", "第十一章", "第十二章"}));
}

TEST_F(IncrementalAdd, ArabicRunStopsAtAGap) {
    Load({"第1章", "甲", "第2章", "乙", "第4章", "丙"});
    Run("第1章");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第1章", "第2章"}));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(scan, 0);
}

TEST_F(IncrementalAdd, EachHeadingIsTakenOnceAfterThePreviousOne) {
    // The quotation of 第一章 further down is not followed, unlike the keyword add.
    Load({"第一章 起", "正文", "第二章 承", "他说：第一章写得好", "第三章 转", "完"});
    Run("第一章");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第一章 起", "第二章 承", "第三章 转"}));
    // 第一章 起 CR LF 正文 CR LF = 17 bytes.
    EXPECT_EQ(chapters.OffsetAt(1), 17u);

    // A second run appends the same chapters again: titles are never compared.
    Run("第一章");
    EXPECT_EQ(chapterList.GetCount(), 6);
}

TEST_F(IncrementalAdd, HeadingWithoutANumberAppendsOnce) {
    Load({"楔子", "甲", "楔子", "乙"});
    Run("楔子");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"楔子"}));
}

TEST_F(IncrementalAdd, HeadingAtTheLargestNumberHasNoSuccessor) {
    // Counting on from 2147483647 would overflow; the run ends after the one chapter.
    Load({"第2147483647章", "正文"});
    Run("第2147483647章");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第2147483647章"}));
    EXPECT_EQ(scan, 0);
}

TEST_F(IncrementalAdd, RefusalsEndTheRunAndResetTheScanPosition) {
    std::vector<std::string> lines;
    for (int n = 1; n <= 100; ++n) lines.push_back("第" + std::to_string(n) + "章");
    Load(lines);
    Run("第1章");
    EXPECT_EQ(chapterList.GetCount(), 98);
    EXPECT_EQ(U(chapterList.GetText(97)), "第98章");
    EXPECT_EQ(host.messages, (std::vector<std::string>{"图书章节数量不能超过98章"}));
    EXPECT_EQ(scan, 0);
}

TEST_F(IncrementalAdd, FirstHeadingMustStartTheText) {
    Load({"序", "第一章", "第二章"});
    Run("第一章");
    EXPECT_EQ(host.messages, (std::vector<std::string>{"第一个章节头必须是文件开始"}));
    EXPECT_EQ(chapterList.GetCount(), 0);
    EXPECT_EQ(scan, 0);

    host.messages.clear();
    scan = 3;
    Run("");
    EXPECT_EQ(host.messages, (std::vector<std::string>{"请输入自动查找章节的关键字"}));
    EXPECT_EQ(scan, 3);

    host.messages.clear();
    Run("第五章");
    EXPECT_EQ(host.messages, (std::vector<std::string>{"文本中没有找到可以自动添加章节的关键字"}));
    EXPECT_EQ(scan, 0);
}

}  // namespace
}  // namespace brisna
