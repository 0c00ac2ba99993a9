#pragma once
// A list box without a window, with the platform's caret and selection rules (see ListBox.h).

#include <cstdint>
#include <string>
#include <vector>

#include "controls/ListBox.h"

namespace brisna {

class HeadlessListBox : public ListBox {
  public:
    int32_t GetCount() const override;
    int32_t GetCaretIndex() const override;
    int32_t GetSelCount() const override;
    std::vector<int32_t> GetSelItems() const override;
    int32_t AddString(std::string_view gbk) override;
    int32_t InsertString(int32_t index, std::string_view gbk) override;
    int32_t DeleteString(int32_t index) override;
    void SetSel(bool select, int32_t index) override;
    std::string GetText(int32_t index) const override;
    intptr_t GetItemData(int32_t index) const override;
    void SetItemData(int32_t index, intptr_t data) override;
    void SetFocus() override;
    void Invalidate() override { ++invalidations_; }

    // For tests and the command line.
    bool IsSelected(int32_t index) const;
    // Moves the caret without touching the selection (a click with the control key held).
    void SetCaretIndex(int32_t index);
    std::vector<std::string> Texts() const;
    int Invalidations() const { return invalidations_; }
    // Focus order across headless controls: the control with the largest stamp has the focus.
    uint64_t FocusStamp() const { return focusStamp_; }

  private:
    bool InRange(int32_t index) const {
        return index >= 0 && index < static_cast<int32_t>(ends_.size());
    }
    size_t StartOf(int32_t index) const { return index == 0 ? 0 : ends_[index - 1]; }
    // A problem list may hold hundreds of thousands of entries, so the texts are kept back to
    // back in one buffer rather than one allocation each.
    std::string texts_;
    std::vector<uint32_t> ends_;     // where each item's text ends in texts_
    std::vector<uint8_t> selected_;  // 1 for a selected item
    std::vector<intptr_t> data_;     // empty while every item's data is 0
    int32_t caret_ = -1;
    int invalidations_ = 0;
    uint64_t focusStamp_ = 0;
};

// A process-wide counter that hands out focus stamps to the headless controls.
uint64_t NextFocusStamp();

}  // namespace brisna
