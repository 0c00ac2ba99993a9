#include <gtest/gtest.h>

#include "controls/CMyRECtrl.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"
#include "text/TraditionalToSimplified.h"

namespace brisna {
namespace {

using test::G;
using test::U;

// The conversion done literally, one display line at a time through the view's operations, as
// a reference for the whole-text replacement.
void ConvertLineByLine(RichEdit& view) {
    const int32_t lines = view.GetLineCount();
    for (int32_t line = 0; line + 1 < lines; ++line) {
        const int32_t start = view.LineIndex(line);
        std::string fetched = view.GetLine(line);
        // Only a blank line is skipped; a wrapped line of one character is still converted.
        if (fetched == "\r") continue;
        int32_t characters = static_cast<int32_t>(GbkToUtf16Lossless(fetched).size());
        view.SetSelection({start, start + characters});
        view.ReplaceSelection(TraditionalToSimplified(fetched));
    }
    const int32_t lastStart = view.LineIndex(lines - 1);
    if (view.GetTextLength() - lastStart != 1) {
        std::string fetched = view.GetLine(lines - 1);
        view.SetSelection({lastStart, -1});
        view.ReplaceSelection(TraditionalToSimplified(fetched));
    }
}

struct Converted {
    std::string text;
    CharRange selection;
    std::vector<uint32_t> lineStarts;
    std::vector<std::string> lineTexts;
};

Converted ConvertInView(std::string_view gbk, int32_t wrapColumns, CharRange selection = {}) {
    HeadlessRichEdit view(wrapColumns);
    view.SetText(gbk);
    view.SetSelection(selection);
    CMyRECtrl control(view);
    control.RebuildLineTable();
    control.ConvertToSimplified();
    return {view.GetText(), view.GetSelection(), control.LineStarts(), control.LineTexts()};
}

TEST(ConvertToSimplified, ConvertsTheBookAndKeepsItsShape) {
    std::string book = G("第一章 這是書\r\n\r\n他說：「龍來了。」\r\nabc\r\n\r\n") + G("後記");
    Converted result = ConvertInView(book, 0);
    EXPECT_EQ(U(result.text), "第一章 这是书\r\n\r\n他说：「龙来了。」\r\nabc\r\n\r\n后记");
    EXPECT_EQ(result.text.size(), book.size());

    // The line table is rebuilt from the converted text: same starts, new bytes.
    HeadlessRichEdit reference;
    reference.SetText(result.text);
    CMyRECtrl expected(reference);
    expected.RebuildLineTable();
    EXPECT_EQ(result.lineStarts, expected.LineStarts());
    EXPECT_EQ(result.lineTexts, expected.LineTexts());
    EXPECT_EQ(U(result.lineTexts[0]), "第一章 这是书\r\n");
}

TEST(ConvertToSimplified, MatchesLineByLineReplacementInEveryLayout) {
    const std::string books[] = {
        G("這是書"),
        G("這是書\r\n"),
        G("\r\n\r\n這是書\r\n\r\n"),
        G("開始\r\n") + "a\r\n",
        G("甲\r\n") + "x",
        "",
        "\r\n",
        G("國") + "\x81\x30" + G("書") + "\xFF" + G("\r\n\r\n無\r\n"),
        G("一個很長很長的段落，這個段落會被折成好幾個顯示行。\r\n\r\n第二段也有幾個繁體字。"),
    };
    for (int32_t wrap : {0, 1, 2, 5, 9}) {
        for (const std::string& book : books) {
            for (CharRange selection : {CharRange{0, 0}, CharRange{2, 4}}) {
                HeadlessRichEdit literal(wrap);
                literal.SetText(book);
                literal.SetSelection(selection);
                ConvertLineByLine(literal);

                Converted result = ConvertInView(book, wrap, selection);
                EXPECT_EQ(result.text, literal.GetText()) << U(book) << " wrap " << wrap;
                EXPECT_EQ(result.selection, literal.GetSelection()) << U(book) << " wrap " << wrap;
                EXPECT_EQ(result.text, TraditionalToSimplified(book)) << U(book);
            }
        }
    }
}

TEST(ConvertToSimplified, SimplifiedTextStaysByteForByte) {
    std::string book = G("这是简体。\r\n\r\n没有繁体字，也没有坏字节：") + "\x80\xFF" + "\r\n";
    Converted result = ConvertInView(book, 0);
    EXPECT_EQ(result.text, book);
}

TEST(ConvertToSimplified, WrappedLinesGetStartsOfTheConvertedText) {
    // Three display lines of two characters, then the paragraph mark on its own wrapped line.
    std::string book = G("書書書書書書\r\n這");
    Converted result = ConvertInView(book, 4);
    EXPECT_EQ(U(result.text), "书书书书书书\r\n这");
    std::vector<uint32_t> starts = {0, 4, 8, 14};
    EXPECT_EQ(result.lineStarts, starts);
    EXPECT_EQ(U(result.lineTexts[2]), "书书\r\n");

    // A display line one character wide is as long as a blank line, yet it is converted.
    result = ConvertInView(G("書書\r\n\r\n書"), 2);
    EXPECT_EQ(U(result.text), "书书\r\n\r\n书");
}

}  // namespace
}  // namespace brisna
