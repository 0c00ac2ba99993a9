#pragma once
// Undo and redo for the chapter list: a stack of earlier chapter-list states. A state is the
// records alone (at most 98 x 72 bytes), so even hundreds of steps cost little. A step that
// replaced the whole text (繁体转简体) also keeps the text it replaced; only the last few such
// steps are kept, since each may hold ten megabytes.

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chapters/ChapterModel.h"

namespace brisna {

struct ChapterListState {
    std::vector<ChapterRecord> records;
    // The whole book text (GBK) when the step changed it; null when the text is not part of it.
    std::shared_ptr<const std::string> text;

    size_t Bytes() const;
};

ChapterListState CaptureChapters(const ChapterModel& chapters);
// Puts the state's records back into the model (the text length stays as it is).
void RestoreChapters(ChapterModel& chapters, const ChapterListState& state);

class ChapterHistory {
  public:
    static constexpr size_t kMaxSteps = 200;
    static constexpr size_t kMaxTextSteps = 3;

    // Records the state before a step; clears what could be redone.
    void Push(ChapterListState before);
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // Whether the step undo (or redo) would go back over replaced the text.
    bool UndoChangesText() const { return CanUndo() && undo_.back().text != nullptr; }
    bool RedoChangesText() const { return CanRedo() && redo_.back().text != nullptr; }
    // Takes the state to go back to, keeping `current` for redo (and the other way round).
    // `current` must carry the text when the step changed it.
    std::optional<ChapterListState> Undo(ChapterListState current);
    std::optional<ChapterListState> Redo(ChapterListState current);
    void Clear();

    size_t UndoSteps() const { return undo_.size(); }
    size_t RedoSteps() const { return redo_.size(); }
    // What the kept states hold, in bytes (records and texts).
    size_t Bytes() const;

  private:
    static void Trim(std::deque<ChapterListState>& states);

    std::deque<ChapterListState> undo_;
    std::deque<ChapterListState> redo_;
};

}  // namespace brisna
