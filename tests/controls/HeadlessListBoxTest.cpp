#include "controls/HeadlessListBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brisna {
namespace {

using Texts = std::vector<std::string>;

// Texts, item data and selection must move with their items through inserts and deletes in
// the middle, where the items share one text buffer.
TEST(HeadlessListBox, ItemsKeepTextDataAndSelectionThroughInsertsAndDeletes) {
    HeadlessListBox list;
    EXPECT_EQ(list.AddString("alpha"), 0);
    EXPECT_EQ(list.AddString(""), 1);
    EXPECT_EQ(list.AddString("gamma"), 2);
    list.SetItemData(2, 7);
    list.SetSel(true, 1);
    EXPECT_EQ(list.InsertString(1, "beta"), 1);
    EXPECT_EQ(list.Texts(), (Texts{"alpha", "beta", "", "gamma"}));
    EXPECT_EQ(list.GetItemData(3), 7);
    EXPECT_EQ(list.GetItemData(1), 0);
    EXPECT_EQ(list.GetSelItems(), std::vector<int32_t>{2});
    EXPECT_EQ(list.GetCaretIndex(), 2);

    EXPECT_EQ(list.DeleteString(0), 3);
    EXPECT_EQ(list.Texts(), (Texts{"beta", "", "gamma"}));
    EXPECT_EQ(list.GetText(2), "gamma");
    EXPECT_EQ(list.GetItemData(2), 7);
    EXPECT_TRUE(list.IsSelected(1));
    EXPECT_EQ(list.GetCaretIndex(), 1);
    EXPECT_EQ(list.InsertString(3, "delta"), 3);
    EXPECT_EQ(list.InsertString(5, "x"), -1);
    EXPECT_EQ(list.DeleteString(3), 3);
    EXPECT_EQ(list.DeleteString(3), -1);
    EXPECT_EQ(list.GetText(3), "");

    DeleteAllItems(list);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCaretIndex(), -1);
    EXPECT_EQ(list.AddString("again"), 0);
    EXPECT_EQ(list.GetItemData(0), 0);
    EXPECT_EQ(list.Texts(), Texts{"again"});
}

}  // namespace
}  // namespace brisna
