#pragma once

#include <cstdint>

#include "controls/HeadlessListBox.h"

namespace brisna::test {

// A list that notes every deletion that is not of its last item: each one shifts every item
// behind it, so a command that empties a long list that way takes quadratic time.
class ShiftCountingList : public HeadlessListBox {
  public:
    int32_t DeleteString(int32_t index) override {
        if (index != GetCount() - 1) ++shiftingDeletes;
        return HeadlessListBox::DeleteString(index);
    }
    int shiftingDeletes = 0;
};

}  // namespace brisna::test
