// The view keeps its GBK form, per-line byte offsets and a fast search next to its UTF-16 text.
// Random texts full of awkward bytes are checked against a plain model built only from the
// UTF-16 text: converting the whole text or one line at a time, and a naive search.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

namespace brisna {
namespace {

using test::G;

std::string RandomText(std::mt19937& random, size_t pieces) {
    const std::string pool[] = {"a",
                                "Q",
                                "x y",
                                G("第"),
                                G("章"),
                                G("Ａ"),
                                "\r\n",
                                "\r\n",
                                "\r",
                                "\n",
                                "\r\r\n",
                                std::string("\x81", 1),
                                std::string("\xA2\xA0", 2),
                                std::string("\xFF", 1),
                                std::string("\x80", 1),
                                std::string("\xB0\r", 2),
                                std::string("\xA3\xA0", 2),
                                G("乙丙"),
                                "Intro"};
    std::uniform_int_distribution<size_t> pick(0, std::size(pool) - 1);
    std::string text;
    for (size_t i = 0; i < pieces; ++i) text += pool[pick(random)];
    return text;
}

// The view as a plain model sees it: the UTF-16 text, its line starts, and its conversions.
struct Model {
    std::u16string text;
    std::vector<int32_t> starts;
};

Model ModelOf(const HeadlessRichEdit& view) {
    Model model;
    for (int32_t line = 0; line < view.GetLineCount(); ++line) {
        model.starts.push_back(view.LineIndex(line));
    }
    // The line fetch of a plain model converts each line's units on their own.
    return model;
}

std::u16string ModelUnits(std::string_view gbk) {
    std::string marks;
    gbk = gbk.substr(0, gbk.find('\0'));
    for (size_t i = 0; i < gbk.size(); ++i) {
        if (gbk[i] == '\r' && i + 1 < gbk.size() && gbk[i + 1] == '\n') ++i;
        marks.push_back(gbk[i] == '\n' ? '\r' : gbk[i]);
    }
    return GbkToUtf16Lossless(marks);
}

std::string ModelGbk(std::u16string_view units) {
    std::string out;
    for (char c : Utf16ToGbkLossless(units)) {
        out.push_back(c);
        if (c == '\r') out.push_back('\n');
    }
    return out;
}

void ExpectMatchesModel(const HeadlessRichEdit& view, const std::u16string& units) {
    const std::string gbk = ModelGbk(units);
    ASSERT_EQ(view.GetText(), gbk);
    ASSERT_EQ(view.GetTextLength(), static_cast<int32_t>(gbk.size()));
    ASSERT_EQ(view.GetCharCount(), static_cast<int32_t>(units.size()));
    Model model = ModelOf(view);
    ASSERT_EQ(model.starts.front(), 0);
    for (size_t line = 0; line < model.starts.size(); ++line) {
        size_t end = line + 1 < model.starts.size() ? model.starts[line + 1] : units.size();
        std::u16string_view piece = std::u16string_view(units).substr(
            model.starts[line], end - static_cast<size_t>(model.starts[line]));
        ASSERT_EQ(view.GetLine(static_cast<int32_t>(line)), Utf16ToGbkLossless(piece)) << line;
    }
}

CharRange NaiveFind(const std::u16string& text, CharRange range, const std::u16string& needle) {
    auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    int32_t limit = range.max < 0 ? static_cast<int32_t>(text.size())
                                  : std::min<int32_t>(range.max, static_cast<int32_t>(text.size()));
    if (needle.empty() || range.min < 0) return {-1, -1};
    for (int32_t at = range.min; at + static_cast<int32_t>(needle.size()) <= limit; ++at) {
        bool same = true;
        for (size_t k = 0; k < needle.size() && same; ++k)
            same = fold(text[at + k]) == fold(needle[k]);
        if (same) return {at, at + static_cast<int32_t>(needle.size())};
    }
    return {-1, -1};
}

TEST(HeadlessRichEditModel, TextLinesAndSearchAgreeWithPlainConversions) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        const std::string input = RandomText(random, 1 + round % 40);
        const std::u16string units = ModelUnits(input);
        for (int32_t wrap : {0, 3, 7}) {
            HeadlessRichEdit view(wrap);
            view.SetText(input);
            SCOPED_TRACE(test::U(input) + " wrap " + std::to_string(wrap));
            ExpectMatchesModel(view, units);

            // Needles cut from the text (some with the other Latin case) and from the pool.
            std::uniform_int_distribution<int32_t> at(0, static_cast<int32_t>(units.size()));
            for (int k = 0; k < 6; ++k) {
                int32_t from = at(random);
                int32_t length = 1 + k % 4;
                std::u16string needle = units.substr(from, length);
                if (k % 2 == 1) {
                    for (char16_t& c : needle) {
                        if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
                    }
                }
                if (k == 5) needle = u"intro";
                CharRange range{at(random) / 2, k == 4 ? at(random) : -1};
                ASSERT_EQ(view.FindText(range, ModelGbk(needle)), NaiveFind(units, range, needle))
                    << test::U(ModelGbk(needle)) << ' ' << range.min << ' ' << range.max;
            }
        }
    }
}

TEST(HeadlessRichEditModel, EditsAndRewrapsKeepTheGbkFormInStep) {
    std::mt19937 random(7);
    HeadlessRichEdit view;
    const std::string start = RandomText(random, 30);
    view.SetText(start);
    // Kept as units: decoding the edited bytes afresh may pair them differently.
    std::u16string units = ModelUnits(start);
    for (int step = 0; step < 60; ++step) {
        std::uniform_int_distribution<int32_t> at(0, view.GetCharCount());
        int32_t a = at(random);
        int32_t b = at(random);
        view.SetSelection({a, b});
        std::string inserted = RandomText(random, step % 4);
        CharRange selection = view.GetSelection();
        units.replace(selection.min, selection.max - selection.min, ModelUnits(inserted));
        view.ReplaceSelection(inserted);
        if (step % 3 == 0) view.SetWrapColumns(step % 9);
        SCOPED_TRACE(step);
        ExpectMatchesModel(view, units);
    }
}

}  // namespace
}  // namespace brisna

namespace brisna {
namespace {

TEST(HeadlessRichEditModel, LineEndsAtEveryOffsetOfTheScannedChunks) {
    // The paragraph marks are checked sixteen bytes at a time; put each kind of mark at every
    // position around the chunk edges, alone and next to a pair.
    for (std::string mark : {"\r\n", "\r", "\n", "\n\r", "\r\r\n"}) {
        for (size_t at = 0; at < 40; ++at) {
            std::string text(40, 'x');
            text.insert(at, mark);
            text.insert(0, "\r\n");
            HeadlessRichEdit view;
            view.SetText(text);
            SCOPED_TRACE(std::to_string(at) + " " + std::to_string(mark.size()));
            ExpectMatchesModel(view, ModelUnits(text));
            const std::string crlf = view.GetText();
            EXPECT_EQ(view.GetLineCount(), std::count(crlf.begin(), crlf.end(), '\r') + 1);
        }
    }
}

}  // namespace
}  // namespace brisna
