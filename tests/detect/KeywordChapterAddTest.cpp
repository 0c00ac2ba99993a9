#include "detect/KeywordChapterAdd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/DialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

struct ShownMessage {
    std::string text;
    MessageCaption caption;
};

// Records the message boxes and answers the start-chapter field.
class RecordingHost : public DialogHost {
  public:
    void ShowMessage(std::string_view text, MessageCaption caption) override {
        messages.push_back({std::string(text), caption});
    }
    std::optional<std::string> ChooseFileToOpen(FileFilter) override { return std::nullopt; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::string GetFieldText(int fieldId) override {
        return fieldId == kStartChapterField ? startChapter : std::string();
    }
    std::vector<ShownMessage> messages;
    std::string startChapter;
};

// A book in the text view with an empty chapter list, as after opening a text file.
class KeywordAdd : public ::testing::Test {
  protected:
    void Load(const std::vector<std::string>& utf8Lines) {
        std::string text;
        for (size_t i = 0; i < utf8Lines.size(); ++i) {
            if (i > 0) text += "\r\n";
            text += utf8Lines[i];
        }
        view.SetText(G(text));
        bookText.RebuildLineTable();
    }
    void Run(const std::string& utf8Heading) {
        host.startChapter = G(utf8Heading);
        KeywordChapterAdd(bookText, chapterList, chapters, host, scan);
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (const std::string& text : chapterList.Texts()) titles.push_back(U(text));
        return titles;
    }
    std::vector<uint32_t> Offsets() {
        std::vector<uint32_t> offsets;
        for (uint32_t i = 0; i < chapters.Count(); ++i) offsets.push_back(chapters.OffsetAt(i));
        return offsets;
    }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : host.messages) texts.push_back(U(message.text));
        return texts;
    }

    HeadlessRichEdit view;
    CMyRECtrl bookText{view};
    HeadlessListBox chapterList;
    ChapterModel chapters;
    RecordingHost host;
    int32_t scan = 0;
};

TEST_F(KeywordAdd, FollowsEveryOccurrenceThenTheNextNumbers) {
    Load({"第一章 开始", "甲", "第一章 重来", "乙", "第二章 风起", "丙", "第三章 云涌", "丁", "戊",
          "己"});
    Run("第一章");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第一章 开始", "第一章 重来", "第二章 风起",
                                                  "第三章 云涌"}));
    // Offsets are the byte offsets of the heading lines: 第一章 开始 CR LF is 13 bytes, 甲 CR LF 4.
    EXPECT_EQ(Offsets(), (std::vector<uint32_t>{0, 17, 34, 51}));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(scan, 0);
    // Only the last item stays selected.
    EXPECT_EQ(chapterList.GetSelItems(), (std::vector<int32_t>{3}));
    EXPECT_EQ(chapters.Count(), 4u);
}

TEST_F(KeywordAdd, StopsAtTheFirstMissingNumberAndSkipsTheLastTwoLines) {
    // 第三章 is missing: 第四章 is never looked for.
    Load({"第一章", "甲", "第二章", "乙", "第四章", "丙", "丁", "戊"});
    Run("第一章");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第一章", "第二章"}));

    // A further occurrence on one of the last two display lines is not followed.
    chapterList.SetSel(false, -1);
    while (chapterList.GetCount() > 0) chapterList.DeleteString(0);
    chapters.Clear();
    Load({"第一章 A", "甲", "第一章 B", "乙", "丙", "第一章 C"});
    Run("第一章");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第一章 A", "第一章 B"}));
    EXPECT_EQ(scan, 0);
}

TEST_F(KeywordAdd, ArabicHeadingsKeepTheirStyle) {
    Load({"第1章 起", "x", "第2章 承", "x", "第3章 转", "x", "第10章 不会到", "x", "x", "x"});
    Run("第1章");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第1章 起", "第2章 承", "第3章 转"}));
}

TEST_F(KeywordAdd, HeadingWithoutANumberIsAPlainKeyword) {
    Load({"回目 甲", "x", "回目 乙", "y", "回目 丙", "z", "z", "z"});
    Run("回目");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"回目 甲", "回目 乙", "回目 丙"}));
}

TEST_F(KeywordAdd, EndsAtTheChapterLimitWithTheLastItemSelected) {
    // 150 identical keyword lines: every pass appends, so the limit ends the command.
    std::vector<std::string> lines;
    for (int i = 0; i < 150; ++i) {
        lines.push_back("回目");
        lines.push_back("正文");
    }
    lines.push_back("完");
    Load(lines);
    Run("回目");
    EXPECT_EQ(chapterList.GetCount(), 98);
    EXPECT_EQ(chapters.Count(), 98u);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"图书章节数量不能超过98章"}));
    EXPECT_EQ(chapterList.GetSelItems(), (std::vector<int32_t>{97}));
    EXPECT_EQ(chapters.OffsetAt(97), 97u * 12u);  // 回目 CR LF 正文 CR LF is 12 bytes
    EXPECT_EQ(scan, 0);
}

TEST_F(KeywordAdd, RefusalsAndMessagesLeaveTheScanPositionAtZero) {
    Load({"序", "第一章", "甲", "乙", "丙"});
    scan = 0;
    Run("第一章");
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"第一个章节头必须是文件开始"}));
    EXPECT_EQ(chapterList.GetCount(), 0);
    EXPECT_EQ(scan, 0);

    host.messages.clear();
    Run("第九章");
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"文本中没有找到可以自动添加章节的关键字"}));
    EXPECT_EQ(host.messages[0].caption, MessageCaption::kPrompt);
    EXPECT_EQ(scan, 0);

    // The empty field is refused before anything else, the scan position included.
    host.messages.clear();
    scan = 7;
    Run("");
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"请输入自动查找章节的关键字"}));
    EXPECT_EQ(host.messages[0].caption, MessageCaption::kPrompt);
    EXPECT_EQ(scan, 7);

    // The byte search starts at the scan position: a heading only before it is not found.
    host.messages.clear();
    Run("序");
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"文本中没有找到可以自动添加章节的关键字"}));
    EXPECT_EQ(scan, 0);
}

TEST_F(KeywordAdd, ASecondRunAppendsTheSameChaptersAgain) {
    Load({"第一章", "甲", "第二章", "乙", "丙", "丁"});
    Run("第一章");
    Run("第一章");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"第一章", "第二章", "第一章", "第二章"}));
    EXPECT_EQ(Offsets(), (std::vector<uint32_t>{0, 12, 0, 12}));
}

}  // namespace
}  // namespace brisna
