#include "controls/HeadlessListBox.h"

#include <atomic>

namespace brisna {

uint64_t NextFocusStamp() {
    static std::atomic<uint64_t> counter{0};
    return ++counter;
}

int32_t HeadlessListBox::GetCount() const {
    return static_cast<int32_t>(items_.size());
}

int32_t HeadlessListBox::GetCaretIndex() const {
    return items_.empty() ? -1 : caret_;
}

int32_t HeadlessListBox::GetSelCount() const {
    int32_t count = 0;
    for (const Item& item : items_) count += item.selected ? 1 : 0;
    return count;
}

std::vector<int32_t> HeadlessListBox::GetSelItems() const {
    std::vector<int32_t> selected;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].selected) selected.push_back(static_cast<int32_t>(i));
    }
    return selected;
}

int32_t HeadlessListBox::AddString(std::string_view gbk) {
    items_.push_back(Item{std::string(gbk)});
    if (caret_ < 0) caret_ = 0;
    return static_cast<int32_t>(items_.size()) - 1;
}

int32_t HeadlessListBox::InsertString(int32_t index, std::string_view gbk) {
    if (index == -1) index = GetCount();
    if (index < 0 || index > GetCount()) return -1;
    items_.insert(items_.begin() + index, Item{std::string(gbk)});
    if (caret_ < 0) {
        caret_ = 0;
    } else if (index <= caret_ && GetCount() > 1) {
        ++caret_;
    }
    return index;
}

int32_t HeadlessListBox::DeleteString(int32_t index) {
    if (!InRange(index)) return -1;
    items_.erase(items_.begin() + index);
    if (items_.empty()) {
        caret_ = -1;
    } else if (index < caret_) {
        --caret_;
    } else if (caret_ >= GetCount()) {
        caret_ = GetCount() - 1;
    }
    return GetCount();
}

void HeadlessListBox::SetSel(bool select, int32_t index) {
    if (index == -1) {
        for (Item& item : items_) item.selected = select;
        return;
    }
    if (!InRange(index)) return;
    items_[index].selected = select;
    if (select) caret_ = index;
}

std::string HeadlessListBox::GetText(int32_t index) const {
    return InRange(index) ? items_[index].text : std::string();
}

intptr_t HeadlessListBox::GetItemData(int32_t index) const {
    return InRange(index) ? items_[index].data : 0;
}

void HeadlessListBox::SetItemData(int32_t index, intptr_t data) {
    if (InRange(index)) items_[index].data = data;
}

void HeadlessListBox::SetFocus() {
    focusStamp_ = NextFocusStamp();
}

bool HeadlessListBox::IsSelected(int32_t index) const {
    return InRange(index) && items_[index].selected;
}

void HeadlessListBox::SetCaretIndex(int32_t index) {
    if (InRange(index)) caret_ = index;
}

std::vector<std::string> HeadlessListBox::Texts() const {
    std::vector<std::string> texts;
    for (const Item& item : items_) texts.push_back(item.text);
    return texts;
}

}  // namespace brisna
