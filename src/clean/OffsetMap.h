#pragma once
// Where the bytes of a text went when it was rewritten: the runs copied unchanged from the old
// text to the new one. Chapter offsets of the old text are carried over through it.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brisna {

class OffsetMap {
  public:
    // Records that `length` bytes at `oldStart` were copied to `newStart`. Runs are recorded in
    // ascending order of both offsets; a run that continues the last one extends it.
    void AddCopiedRun(size_t oldStart, size_t newStart, size_t length);
    // The new text's length, where offsets past the last copied run go.
    void SetNewLength(size_t length) { newLength_ = length; }

    // The new offset of an old one: inside a copied run, the same byte in the new text;
    // anywhere else (a removed line, a replaced indent), where the next copied run begins.
    size_t Map(size_t oldOffset) const;

    struct Run {
        size_t oldStart = 0;
        size_t newStart = 0;
        size_t length = 0;
    };
    const std::vector<Run>& Runs() const { return runs_; }

  private:
    std::vector<Run> runs_;
    size_t newLength_ = 0;
};

}  // namespace brisna
