// The automatic adds and heading recognition on books shaped like real ones: a technical FAQ whose
// text mentions chapters before they stand ("参照第 3 章…", a wrapped line that begins with a
// mention), and a novel with a title line, a contents list and a "上接第五章" line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "detect/BookOutline.h"
#include "detect/HeadingOccurrences.h"
#include "detect/HeadingPatternDetection.h"
#include "detect/IncrementalChapterAdd.h"
#include "detect/KeywordChapterAdd.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

using FieldHost = test::RecordingHost;

const std::vector<std::string> kFaq = {
    "第 1 章 概览",                                       // 0
    "本文回答常见问题。安装方法参照第 3 章修改源代码，",  // 1
    "    第 3 章之后再读第 2 章。",                       // 2: a wrapped line
    "第 2 章 安装",                                       // 3
    "安装之前请先阅读第 1 章的说明，修改见第 3 章。",     // 4
    "第 3 章 修改源代码",                                 // 5
    "修改之后参照第 4 章打包。",                          // 6
    "第 4 章 打包",                                       // 7
    "打包完成。参照第 3 章修改源代码。",                  // 8
    "全文完。",                                           // 9
    "附注。",                                             // 10
};

const std::vector<std::string> kNovel = {
    "风起云涌",                                // 0: title
    "作者：佚名",                              // 1
    "目录",                                    // 2
    "第一章 风起",                             // 3: contents
    "第二章 云涌",                             // 4
    "第三章 雷动",                             // 5
    "第一章 风起",                             // 6
    "　　天色将明，风从北来。",                // 7
    "　　众人不知第三章所说的雷声从何而来。",  // 8
    "第二章 云涌",                             // 9
    "　　云层压城，雨意渐浓。",                // 10
    "第三章 雷动",                             // 11
    "　　上接第五章，雷声滚滚。",              // 12
    "　　全书完。",                            // 13
};

class Detection : public ::testing::Test {
  protected:
    void Load(const std::vector<std::string>& utf8Lines) {
        lines = utf8Lines;
        std::string text;
        for (const std::string& line : utf8Lines) text += line + "\r\n";
        view.SetText(G(text));
        bookText.RebuildLineTable();
        gbk = G(text);
    }
    // The line that starts at a byte offset, or -1 when none does.
    int LineAt(uint32_t offset) const {
        uint32_t at = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (at == offset) return static_cast<int>(i);
            at += static_cast<uint32_t>(G(lines[i]).size()) + 2;
        }
        return -1;
    }
    // Each chapter's line, checking that its title is that line: title and offset must come
    // from the same place.
    std::vector<int> ChapterLines() const {
        std::vector<int> result;
        for (uint32_t i = 0; i < chapters.Count(); ++i) {
            int line = LineAt(chapters.OffsetAt(i));
            result.push_back(line);
            if (line >= 0) {
                EXPECT_EQ(U(chapters.RecordAt(i)->Title()), lines[line]) << i;
            }
        }
        return result;
    }

    HeadlessRichEdit view;
    CMyRECtrl bookText{view};
    HeadlessListBox chapterList;
    ChapterModel chapters;
    FieldHost host;
    int32_t scan = 0;
    std::vector<std::string> lines;
    std::string gbk;
};

TEST_F(Detection, MentionsBeforeTheHeadingDoNotDetachTitleFromOffset) {
    struct Case {
        bool keyword;
        bool atLineStart;
        std::vector<int> lines;
    };
    // Without line start every add follows the byte search, mentions included, but each title
    // is the line its offset points at; with line start only the headings are marked.
    for (const Case& c : std::vector<Case>{{false, false, {0, 2, 4, 6}},
                                           {false, true, {0, 3, 5, 7}},
                                           {true, false, {0, 4}},
                                           {true, true, {0, 3, 5, 7}}}) {
        SCOPED_TRACE(testing::Message()
                     << "keyword " << c.keyword << " line start " << c.atLineStart);
        Load(kFaq);
        DeleteAllItems(chapterList);
        chapters = ChapterModel();
        host.messages.clear();
        host.startChapter = G("第 1 章");
        if (c.keyword) {
            KeywordChapterAdd(bookText, chapterList, chapters, host, scan, c.atLineStart);
        } else {
            IncrementalChapterAdd(bookText, chapterList, chapters, host, scan, c.atLineStart);
        }
        EXPECT_EQ(ChapterLines(), c.lines);
        EXPECT_TRUE(host.messages.empty()) << host.messages.front();
        EXPECT_EQ(scan, 0);
    }
}

TEST_F(Detection, AMentionOfTheWholeHeadingLendsNoOffset) {
    // The heading's whole line is quoted in running text before it stands: the chapter's offset
    // is still its own line's start.
    for (bool keyword : {false, true}) {
        Load({"第一章 起", "下文读第二章 转的内容。", "第二章 转", "文", "文", "文"});
        DeleteAllItems(chapterList);
        chapters = ChapterModel();
        host.startChapter = G("第一章");
        if (keyword) {
            KeywordChapterAdd(bookText, chapterList, chapters, host, scan, true);
        } else {
            IncrementalChapterAdd(bookText, chapterList, chapters, host, scan, true);
        }
        EXPECT_EQ(ChapterLines(), (std::vector<int>{0, 2})) << keyword;
    }
}

TEST_F(Detection, AtLineStartPassesOverContentsMentionsAndMissingHeadings) {
    Load(kNovel);
    // The operator marks the title line by hand first.
    chapterList.AddString(G(kNovel[0]));
    ChapterRecord title;
    title.SetTitle(G(kNovel[0]));
    chapters.Append(title);
    host.startChapter = G("第一章");
    // The contents list is where 第一章 first begins a line, so the plain run marks it; the
    // "上接第五章" line never counts, and the run ends at the missing 第四章.
    IncrementalChapterAdd(bookText, chapterList, chapters, host, scan, true);
    EXPECT_EQ(ChapterLines(), (std::vector<int>{0, 3, 4, 5}));

    // Recognition starts at the chapters themselves; the front matter is one chapter more.
    std::vector<HeadingCandidate> candidates = DetectHeadingPatterns(gbk);
    ASSERT_FALSE(candidates.empty());
    EXPECT_EQ(U(candidates[0].startHeading), "第一章");
    EXPECT_EQ(candidates[0].chapters, 4);
    EXPECT_EQ(candidates[0].firstLine, 6);
    EXPECT_EQ(U(FormatHeadingCandidate(candidates[0])),
              "第一章\t4\t" + std::to_string(candidates[0].coveragePercent) + "%\t从第7行开始");
}

TEST_F(Detection, RecognitionMarksFrontMatterAndEveryChapter) {
    Load(kNovel);
    MarkOutlineChapters(BuildBookOutline(gbk), chapterList, chapters);
    EXPECT_EQ(ChapterLines(), (std::vector<int>{0, 6, 9, 11}));

    // A book that begins with its first heading gets no front-matter chapter, and marking again
    // replaces what is marked.
    Load(kFaq);
    MarkOutlineChapters(BuildBookOutline(gbk), chapterList, chapters);
    EXPECT_EQ(ChapterLines(), (std::vector<int>{0, 3, 5, 7}));
    EXPECT_EQ(chapterList.GetCount(), 4);
}

TEST_F(Detection, ChaptersAfterAVolumeLineBeginAtIt) {
    std::vector<std::string> book = {"第一卷 上", "第1章", "甲甲甲甲", "第2章", "乙乙乙乙",
                                     "第二卷 下", "第3章", "丙丙丙丙", "第4章", "丁丁丁丁"};
    Load(book);
    BookOutline outline = BuildBookOutline(gbk);
    std::vector<HeadingCandidate> candidates = HeadingCandidatesOf(outline, gbk.size());
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(U(candidates[0].startHeading), "第1章");
    EXPECT_EQ(candidates[0].chapters, 4);
    EXPECT_EQ(candidates[0].coveragePercent, 100);
    MarkOutlineChapters(outline, chapterList, chapters);
    ASSERT_EQ(chapters.Count(), 4u);
    EXPECT_EQ(LineAt(chapters.OffsetAt(0)), 0);
    EXPECT_EQ(U(chapters.RecordAt(0)->Title()), "第1章");
    EXPECT_EQ(LineAt(chapters.OffsetAt(2)), 5);
    EXPECT_EQ(LineAt(chapters.OffsetAt(3)), 8);
}

TEST_F(Detection, OtherHeadingForms) {
    struct Case {
        std::vector<std::string> book;
        std::string heading;
        int chapters;
    };
    for (const Case& c : std::vector<Case>{
             {{"Chapter 1", "text", "Chapter 2", "text", "Chapter 3", "x"}, "Chapter 1", 3},
             {{"卷一 风", "文", "卷二 云", "文"}, "卷一 风", 2},
             // A number alone on its line; lines that merely begin with a number do not count.
             {{"1", "12 个人", "2", "20 年后", "3", "完"}, "1", 3},
             {{"  十一", "文", "  十二", "文"}, "十一", 2},
             {{"第 1 回  开篇", "文", "第 2 回 再会", "文"}, "第 1 回", 2},
         }) {
        SCOPED_TRACE(c.heading);
        Load(c.book);
        std::vector<HeadingCandidate> candidates = DetectHeadingPatterns(gbk);
        ASSERT_FALSE(candidates.empty());
        EXPECT_EQ(U(candidates[0].startHeading), c.heading);
        EXPECT_EQ(candidates[0].chapters, c.chapters);
    }
}

TEST_F(Detection, NothingToRecognise) {
    for (const std::vector<std::string>& book : std::vector<std::vector<std::string>>{
             {}, {"只有一行字"}, {"第十章以前的事，他都忘了。", "12 个人"}}) {
        Load(book);
        EXPECT_TRUE(DetectHeadingPatterns(gbk).empty());
    }
}

TEST(HeadingRecognition, DamagedTextNeitherCrashesNorProposesNonsense) {
    const std::string di = G("第");
    for (const std::string& text :
         {std::string("\x81"), di + "\x81", di + "1" + G("章") + "\r\n\xFF" + di + "2",
          std::string("\r\n\r\n\n\r"), std::string("1\r\n2"), di + std::string(200, '9') + G("章"),
          std::string(5000, '\xA1') + "\r\n" + di + "1" + G("章"), G("【第一章") + "\r\n",
          G("〖") + "\x81", G("第一卷 ") + di + "\x81"}) {
        std::vector<HeadingCandidate> candidates = DetectHeadingPatterns(text);
        for (const HeadingCandidate& c : candidates) {
            EXPECT_GE(c.chapters, 1);
            EXPECT_LE(c.coveragePercent, 100);
        }
    }
    // Lines that all hold the same heading are a list, not a structure.
    std::string same;
    for (int i = 0; i < 2000; ++i) same += G("第1章\r\n1\r\n");
    EXPECT_TRUE(DetectHeadingPatterns(same).empty());
}

TEST(HeadingOccurrences, LineStartAndCharacterPositions) {
    const std::string text = G("甲\r\n  第一章\r\n\t　第二章 x第三章\r\n乙第四章");
    EXPECT_TRUE(detection::BeginsLine(text, 0));
    EXPECT_TRUE(detection::BeginsLine(text, text.find(G("第一章"))));
    EXPECT_TRUE(detection::BeginsLine(text, text.find(G("第二章"))));
    EXPECT_FALSE(detection::BeginsLine(text, text.find(G("第三章"))));
    EXPECT_FALSE(detection::BeginsLine(text, text.find(G("第四章"))));
    EXPECT_EQ(detection::FindHeading(text, G("第"), 0, true), text.find(G("第一章")));
    EXPECT_EQ(detection::FindHeading(text, G("第四章"), 0, true), std::string::npos);

    HeadlessRichEdit view;
    view.SetText(text + "\xFF" + G("尾"));  // a byte that is no character counts as one
    const std::string whole = view.GetText();
    detection::CharPositions positions(whole);
    // Every byte maps to the character the view finds there; asked in rising order and again
    // backwards.
    std::vector<int32_t> forward;
    for (size_t at = 0; at < whole.size(); ++at) forward.push_back(positions.CharHolding(at));
    for (size_t at = whole.size(); at-- > 0;) EXPECT_EQ(positions.CharHolding(at), forward[at]);
    EXPECT_EQ(forward[text.find(G("第三章")) + 1], view.FindText({0, -1}, G("第三章")).min);
    EXPECT_EQ(forward[whole.find(G("尾"))], view.FindText({0, -1}, G("尾")).min);
    EXPECT_EQ(forward[2], forward[3]);  // CR and LF are one paragraph mark
    EXPECT_EQ(positions.CharHolding(whole.size()), view.GetCharCount());
}

}  // namespace
}  // namespace brisna
