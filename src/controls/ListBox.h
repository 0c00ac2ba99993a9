#pragma once
// What the program asks of its two list boxes (the chapter list 1001 and the problem list 1012).
// Both are extended-selection lists: several items may be selected, and one item is the caret
// item (the one with the focus). Strings are GBK.
//
// Caret rules (the platform's): the caret item is -1 only in an empty list; the first item added
// to an empty list becomes the caret. SetSel(true, i) also makes i the caret item. Inserting at
// or before the caret moves the caret down with its item; deleting an item before the caret moves
// it up; deleting the caret item leaves the caret at the same index, or on the new last item.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brisna {

class ListBox {
  public:
    virtual ~ListBox() = default;

    virtual int32_t GetCount() const = 0;
    // The caret item (LB_GETCURSEL of an extended-selection list), -1 when the list is empty.
    virtual int32_t GetCaretIndex() const = 0;
    virtual int32_t GetSelCount() const = 0;
    // The selected indexes, ascending.
    virtual std::vector<int32_t> GetSelItems() const = 0;
    // Appends an item (data 0, not selected); returns its index.
    virtual int32_t AddString(std::string_view gbk) = 0;
    // Appends an item that carries its data from the start (not selected); returns its index.
    // A list that shows only some items decides on the item as it arrives, so text and data come
    // in one step where the list can take them so.
    virtual int32_t AddItem(std::string_view gbk, intptr_t data) {
        const int32_t index = AddString(gbk);
        if (index >= 0) SetItemData(index, data);
        return index;
    }
    // Inserts an item before index (-1 or the count: at the end); returns its index, -1 if the
    // index is out of range.
    virtual int32_t InsertString(int32_t index, std::string_view gbk) = 0;
    // Removes an item; returns the new count, -1 if the index is out of range.
    virtual int32_t DeleteString(int32_t index) = 0;
    // Selects or deselects an item (index -1: every item). Out-of-range indexes do nothing.
    virtual void SetSel(bool select, int32_t index) = 0;
    // The item's text, empty for an index out of range.
    virtual std::string GetText(int32_t index) const = 0;
    // Item data: the chapter list keeps its problem mark here (1 = flagged). 0 out of range.
    virtual intptr_t GetItemData(int32_t index) const = 0;
    virtual void SetItemData(int32_t index, intptr_t data) = 0;
    virtual void SetFocus() = 0;
    // Asks for a repaint of the whole list.
    virtual void Invalidate() = 0;
};

// Empties the list. From the end: a problem list can hold tens of thousands of findings, and
// removing the first item would move all the others each time. Stops if a removal fails.
inline void DeleteAllItems(ListBox& list) {
    for (int32_t count = list.GetCount(); count > 0; count = list.GetCount()) {
        if (list.DeleteString(count - 1) < 0) break;
    }
}

}  // namespace brisna
