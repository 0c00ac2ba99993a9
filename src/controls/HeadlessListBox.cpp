#include "controls/HeadlessListBox.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdint>

namespace brisna {

uint64_t NextFocusStamp() {
    static std::atomic<uint64_t> counter{0};
    return ++counter;
}

int32_t HeadlessListBox::GetCount() const {
    return static_cast<int32_t>(ends_.size());
}

int32_t HeadlessListBox::GetCaretIndex() const {
    return ends_.empty() ? -1 : caret_;
}

int32_t HeadlessListBox::GetSelCount() const {
    int32_t count = 0;
    for (uint8_t selected : selected_) count += selected;
    return count;
}

std::vector<int32_t> HeadlessListBox::GetSelItems() const {
    std::vector<int32_t> selected;
    for (size_t i = 0; i < selected_.size(); ++i) {
        if (selected_[i] != 0) selected.push_back(static_cast<int32_t>(i));
    }
    return selected;
}

int32_t HeadlessListBox::AddString(std::string_view gbk) {
    return InsertString(-1, gbk);
}

int32_t HeadlessListBox::InsertString(int32_t index, std::string_view gbk) {
    if (index == -1) index = GetCount();
    if (index < 0 || index > GetCount()) return -1;
    // Offsets are 32-bit; the platform's list refuses such a list long before.
    if (texts_.size() + gbk.size() > UINT32_MAX || ends_.size() >= INT32_MAX) return -1;
    const size_t start = StartOf(index);
    const auto length = static_cast<uint32_t>(gbk.size());
    texts_.insert(start, gbk);
    ends_.insert(ends_.begin() + index, static_cast<uint32_t>(start) + length);
    for (size_t i = static_cast<size_t>(index) + 1; i < ends_.size(); ++i) ends_[i] += length;
    selected_.insert(selected_.begin() + index, uint8_t{0});
    if (!data_.empty()) data_.insert(data_.begin() + index, 0);
    if (caret_ < 0) {
        caret_ = 0;
    } else if (index <= caret_ && GetCount() > 1) {
        ++caret_;
    }
    return index;
}

int32_t HeadlessListBox::DeleteString(int32_t index) {
    if (!InRange(index)) return -1;
    const size_t start = StartOf(index);
    const uint32_t length = ends_[index] - static_cast<uint32_t>(start);
    texts_.erase(start, length);
    ends_.erase(ends_.begin() + index);
    for (size_t i = static_cast<size_t>(index); i < ends_.size(); ++i) ends_[i] -= length;
    selected_.erase(selected_.begin() + index);
    if (!data_.empty()) data_.erase(data_.begin() + index);
    if (ends_.empty()) {
        caret_ = -1;
        texts_.clear();
        texts_.shrink_to_fit();
        data_.clear();
    } else if (index < caret_) {
        --caret_;
    } else if (caret_ >= GetCount()) {
        caret_ = GetCount() - 1;
    }
    return GetCount();
}

void HeadlessListBox::SetSel(bool select, int32_t index) {
    if (index == -1) {
        std::fill(selected_.begin(), selected_.end(), static_cast<uint8_t>(select ? 1 : 0));
        return;
    }
    if (!InRange(index)) return;
    selected_[index] = select ? 1 : 0;
    if (select) caret_ = index;
}

std::string HeadlessListBox::GetText(int32_t index) const {
    if (!InRange(index)) return {};
    const size_t start = StartOf(index);
    return texts_.substr(start, ends_[index] - start);
}

intptr_t HeadlessListBox::GetItemData(int32_t index) const {
    return InRange(index) && !data_.empty() ? data_[index] : 0;
}

void HeadlessListBox::SetItemData(int32_t index, intptr_t data) {
    if (!InRange(index)) return;
    if (data_.empty()) {
        if (data == 0) return;
        data_.assign(ends_.size(), 0);
    }
    data_[index] = data;
}

void HeadlessListBox::SetFocus() {
    focusStamp_ = NextFocusStamp();
}

bool HeadlessListBox::IsSelected(int32_t index) const {
    return InRange(index) && selected_[index] != 0;
}

void HeadlessListBox::SetCaretIndex(int32_t index) {
    if (InRange(index)) caret_ = index;
}

std::vector<std::string> HeadlessListBox::Texts() const {
    std::vector<std::string> texts;
    texts.reserve(ends_.size());
    for (int32_t i = 0; i < GetCount(); ++i) texts.push_back(GetText(i));
    return texts;
}

}  // namespace brisna
