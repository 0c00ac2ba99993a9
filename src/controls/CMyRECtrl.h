#pragma once
// The book text control: the text view plus the line table that maps display lines to byte
// offsets of the GBK text (CR LF form). The table is rebuilt only by RebuildLineTable; until then
// the lookups answer from the previous table.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/RichEdit.h"

namespace brisna {

class CMyRECtrl {
  public:
    explicit CMyRECtrl(RichEdit& view) : view_(view) {}

    RichEdit& View() { return view_; }
    const RichEdit& View() const { return view_; }

    // Fetches the whole text and records, for every display line, its start offset and bytes.
    void RebuildLineTable();

    // A view that counts the changes of its text hands in that counter; the table then knows
    // when the text was edited since it was built. Without one the table is never stale.
    void SetTextRevisionSource(std::function<uint64_t()> source) {
        revisionSource_ = std::move(source);
    }
    bool IsStale() const { return revisionSource_ && revisionSource_() != builtRevision_; }
    // Rebuilds when the text changed since the last rebuild; true when it did.
    bool RebuildIfStale();

    // The start offset of line k; nothing when k lies outside the table (the caller ends its
    // command and tells the operator).
    std::optional<uint32_t> LineStartOffset(int32_t line) const;
    // The smallest line whose start equals the offset; 0 when no line starts there.
    int32_t LineOfOffset(uint32_t offset) const;
    // The line that holds the offset; 0 for an offset of 0 or less.
    int32_t LineContainingOffset(int32_t offset) const;
    // The first line after `line` whose stored text is shorter than 3 bytes, or -1.
    int32_t NextShortLine(int32_t line) const;
    // The first line whose stored text contains the GBK text (never matching on a trail byte);
    // 0 when none does.
    int32_t FirstLineContaining(std::string_view gbk) const;
    // Traditional -> Simplified, display line by display line, then a rebuild of the table.
    void ConvertToSimplified();

    const std::vector<uint32_t>& LineStarts() const { return lineStarts_; }
    // The stored text of every line, built on demand (for tests and tools; the commands use
    // LineText).
    std::vector<std::string> LineTexts() const;
    size_t LineCount() const { return lineStarts_.size(); }
    // The stored text of one line; empty for a line outside the table. Valid until the next
    // rebuild.
    std::string_view LineText(size_t line) const;

  private:
    RichEdit& view_;
    // One copy of the text the table was built from; line k holds the bytes from its start to
    // the next line's start (the last line to the end of this text).
    std::string text_;
    std::vector<uint32_t> lineStarts_;
    std::function<uint64_t()> revisionSource_;
    uint64_t builtRevision_ = 0;
};

}  // namespace brisna
