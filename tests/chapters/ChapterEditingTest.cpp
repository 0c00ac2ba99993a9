#include "chapters/ChapterEditing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chapters/ChapterHistory.h"
#include "controls/HeadlessListBox.h"
#include "support/RecordingHost.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;
using test::U;

class ChapterEditingTest : public ::testing::Test {
  protected:
    // Chapters named by the letters, at the given offsets.
    void Make(const std::string& names, const std::vector<uint32_t>& offsets) {
        for (size_t i = 0; i < names.size(); ++i) {
            ChapterRecord record;
            record.SetTitle(std::string(1, names[i]));
            record.offset = offsets[i];
            model.Append(record);
            list.AddString(record.Title());
        }
    }
    // The list's titles, checked to be the model's too.
    std::string Order() const {
        std::string listed;
        for (int32_t i = 0; i < list.GetCount(); ++i) listed += list.GetText(i);
        std::string modelled;
        for (uint32_t i = 0; i < model.Count(); ++i) modelled += model.RecordAt(i)->Title();
        EXPECT_EQ(listed, modelled);
        return listed;
    }

    HeadlessListBox list;
    ChapterModel model;
    test::RecordingHost host;
};

TEST_F(ChapterEditingTest, MovesAChapterToWhereItIsDropped) {
    struct Case {
        int32_t from;
        int32_t to;
        const char* order;
        bool moved;
    };
    for (const Case& c :
         {Case{0, 3, "BCAD", true}, Case{3, 0, "DABC", true}, Case{1, 4, "ACDB", true},
          Case{2, 2, "ABCD", false}, Case{2, 3, "ABCD", false}, Case{0, 5, "ABCD", false},
          Case{-1, 0, "ABCD", false}}) {
        list = HeadlessListBox();
        model.Clear();
        Make("ABCD", {0, 10, 20, 30});
        EXPECT_EQ(MoveChapterTo(list, model, host, c.from, c.to), c.moved) << c.from << c.to;
        EXPECT_EQ(Order(), c.order) << c.from << "->" << c.to;
        if (c.moved) {
            EXPECT_EQ(list.GetSelItems().size(), 1u);
            EXPECT_EQ(list.GetText(list.GetSelItems()[0]),
                      model.RecordAt(c.to > c.from ? c.to - 1 : c.to)->Title());
        }
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ChapterEditingTest, SortsByOffsetKeepingTiesInOrder) {
    Make("CAxB", {300, 0, 0, 200});
    EXPECT_TRUE(SortChaptersByPosition(list, model));
    EXPECT_EQ(Order(), "AxBC");
    EXPECT_FALSE(SortChaptersByPosition(list, model));  // already in text order
}

TEST_F(ChapterEditingTest, RenamesWithinTheRecordAndRefusesWhatItCannotHold) {
    Make("AB", {0, 10});
    const std::string longest(63, 'x');
    struct Case {
        std::string title;
        bool renamed;
        const char* message;
    };
    for (const Case& c : {
             Case{G("　 "), false, "章节名不能为空"},  // full-width space
             Case{G(" 序"), true, nullptr}, Case{"B", false, "已有同名的章节，改名失败"},
             Case{"C\r\nD", true, nullptr},  // a line break ends the title
         }) {
        host.messages.clear();
        EXPECT_EQ(RenameChapter(list, model, host, 0, c.title), c.renamed) << c.title;
        if (c.message != nullptr) {
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages[0], c.message);
        } else {
            EXPECT_TRUE(host.messages.empty()) << host.messages[0];
        }
        Order();
    }
    EXPECT_EQ(list.GetText(0), "C");
    EXPECT_EQ(model.RecordAt(0)->offset, 0u);  // the place in the text stays
    EXPECT_FALSE(RenameChapter(list, model, host, 5, "Z"));
}

TEST_F(ChapterEditingTest, HistoryGoesBackAndForthAndKeepsFewTexts) {
    ChapterHistory history;
    Make("A", {0});
    ChapterListState lastKept;
    for (int step = 0; step < 250; ++step) {
        lastKept = CaptureChapters(model);
        history.Push(CaptureChapters(model));
        ChapterRecord record;
        record.SetTitle("n" + std::to_string(step));
        record.offset = static_cast<uint32_t>(step + 1);
        if (model.Count() == kMaxChapters) model.RemoveAt(0);
        model.Append(record);
    }
    EXPECT_EQ(history.UndoSteps(), ChapterHistory::kMaxSteps);
    const auto titles = [&] {
        std::string all;
        for (uint32_t i = 0; i < model.Count(); ++i)
            all += std::string(model.RecordAt(i)->Title()) + ";";
        return all;
    };
    const std::string now = titles();
    auto back = history.Undo(CaptureChapters(model));
    ASSERT_TRUE(back);
    RestoreChapters(model, *back);
    EXPECT_EQ(model.Count(), lastKept.records.size());
    EXPECT_EQ(model.RecordAt(model.Count() - 1)->Title(), lastKept.records.back().Title());
    auto forth = history.Redo(CaptureChapters(model));
    ASSERT_TRUE(forth);
    RestoreChapters(model, *forth);
    EXPECT_EQ(titles(), now);

    // Text-replacing steps: only the newest few are kept, with everything after them.
    history.Clear();
    for (int i = 0; i < 5; ++i) {
        ChapterListState state = CaptureChapters(model);
        state.text = std::make_shared<const std::string>(std::string(1000, 'a' + i));
        history.Push(std::move(state));
        history.Push(CaptureChapters(model));
    }
    size_t texts = 0;
    while (history.CanUndo()) {
        auto state = history.Undo(CaptureChapters(model));
        if (state->text) ++texts;
    }
    EXPECT_EQ(texts, ChapterHistory::kMaxTextSteps);
}

}  // namespace
}  // namespace brisna
