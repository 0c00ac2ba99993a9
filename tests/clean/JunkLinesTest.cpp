#include <gtest/gtest.h>

#include "clean/JunkLines.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

struct LineCase {
    const char* line;  // UTF-8
    JunkKind kind;
};

// Lines as download sites leave them, and lines of books that only look like them.
TEST(JunkLinesTest, TellsJunkFromProse) {
    const LineCase cases[] = {
        {"本书由××小说网整理，仅供试读，请于下载后24小时内删除", JunkKind::kSiteNotice},
        {"手机阅读请访问 m.example.com", JunkKind::kSiteNotice},
        {"　　请记住本站域名：www.example.la", JunkKind::kSiteNotice},
        {"HTTP://BOOKS.EXAMPLE.NET/123.html", JunkKind::kSiteNotice},
        {"（本章完）", JunkKind::kChapterEndMark},
        {"(未完待续。)", JunkKind::kChapterEndMark},
        {"【未完待续，请搜索本书名，看最快更新】", JunkKind::kChapterEndMark},
        {"本章完", JunkKind::kChapterEndMark},
        {"求月票！求推荐票！", JunkKind::kBegging},
        {"新书上传，跪求收藏和推荐！", JunkKind::kBegging},
        {"=====", JunkKind::kSeparator},
        {"------------", JunkKind::kSeparator},
        {"＊　＊　＊", JunkKind::kSeparator},
        {"·········", JunkKind::kSeparator},
        {"PS：今天两更，晚上还有一章。", JunkKind::kAuthorNote},
        {"p.s. 明天请假", JunkKind::kAuthorNote},
        {"作者有话要说：谢谢大家", JunkKind::kAuthorNote},
        {"感谢书友张三的打赏！", JunkKind::kAuthorNote},
        // The same words in running text and in dialogue are the book's.
        {"“求推荐！”小师妹扯着他的袖子喊道。", JunkKind::kNone},
        {"他没有去求收藏家帮忙，而是独自走进了雨里。", JunkKind::kNone},
        {"师父说过，求人不如求己，推荐信他是不会写的。", JunkKind::kNone},
        {"　　那本书讲的是一个手机阅读器的故事，他读到最后一页时天已经亮了，窗外的雨还在"
         "下，街上的行人撑着伞匆匆走过，谁也没有注意到那家早已关门的小说网吧门口还站着一个"
         "人，他在等一个永远不会来的人，等了整整三年。",
         JunkKind::kNone},
        {"他靠在床头，用手机阅读那本书。", JunkKind::kNone},
        {"她在小说网上读到了这个故事。", JunkKind::kNone},
        {"——", JunkKind::kNone},
        {"--help 显示帮助", JunkKind::kNone},
        {"第一章　本章完结", JunkKind::kNone},
        {"未完待续的故事，总让人心里空落落的。", JunkKind::kNone},
        {"见 www.debian.org 上的说明", JunkKind::kSiteNotice},
        {"PSP 游戏机摆在桌上。", JunkKind::kNone},
        {"　　", JunkKind::kNone},
    };
    const JunkLineRules rules;
    for (const LineCase& c : cases) {
        EXPECT_EQ(rules.Classify(G(c.line)), c.kind) << c.line;
    }
}

TEST(JunkLinesTest, UserPatternsMatchWithWildcardsAndEitherCase) {
    const JunkLineRules rules({G("欢迎*光临"), G("ABC书屋"), G("　"), ""});
    EXPECT_EQ(rules.Classify(G("欢迎各位书友光临")), JunkKind::kUserPattern);
    EXPECT_EQ(rules.Classify(G("本文来自abc书屋")), JunkKind::kUserPattern);
    // The user's words count even in dialogue; empty and blank patterns match nothing.
    EXPECT_EQ(rules.Classify(G("“欢迎光临！”")), JunkKind::kUserPattern);
    EXPECT_EQ(rules.Classify(G("光临欢迎")), JunkKind::kNone);
    EXPECT_EQ(rules.Classify(G("普通的一行字")), JunkKind::kNone);
}

TEST(JunkLinesTest, PatternPiecesMatchOnCharacterBoundaries) {
    // 略 (C2 D4) followed by 丁 (B6 A1): the bytes D4 B6 are 远's but no character.
    JunkPattern pattern(G("远"));
    EXPECT_FALSE(pattern.Matches(G("略丁")));
    EXPECT_TRUE(pattern.Matches(G("很远")));
}

}  // namespace
}  // namespace brisna
