#include "chapters/ChapterHistory.h"

#include <algorithm>
#include <utility>

namespace brisna {

size_t ChapterListState::Bytes() const {
    return sizeof(*this) + records.capacity() * sizeof(ChapterRecord) +
           (text ? text->capacity() : 0);
}

ChapterListState CaptureChapters(const ChapterModel& chapters) {
    ChapterListState state;
    state.records.reserve(chapters.Count());
    for (uint32_t i = 0; i < chapters.Count(); ++i) state.records.push_back(*chapters.RecordAt(i));
    return state;
}

void RestoreChapters(ChapterModel& chapters, const ChapterListState& state) {
    const uint32_t textLength = chapters.TextLength();
    chapters.Clear();
    for (const ChapterRecord& record : state.records) {
        if (chapters.Count() >= kMaxChapters) break;
        chapters.Append(record);
    }
    chapters.SetTextLength(textLength);
}

void ChapterHistory::Trim(std::deque<ChapterListState>& states) {
    while (states.size() > kMaxSteps) states.pop_front();
    // The oldest steps go first; a text-replacing step cannot be undone without its text, so
    // everything from the oldest kept text on is dropped with it.
    size_t texts = 0;
    for (const ChapterListState& state : states) texts += state.text != nullptr ? 1 : 0;
    while (texts > kMaxTextSteps && !states.empty()) {
        if (states.front().text != nullptr) --texts;
        states.pop_front();
    }
}

void ChapterHistory::Push(ChapterListState before) {
    undo_.push_back(std::move(before));
    redo_.clear();
    Trim(undo_);
}

std::optional<ChapterListState> ChapterHistory::Undo(ChapterListState current) {
    if (undo_.empty()) return std::nullopt;
    ChapterListState target = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(std::move(current));
    Trim(redo_);
    return target;
}

std::optional<ChapterListState> ChapterHistory::Redo(ChapterListState current) {
    if (redo_.empty()) return std::nullopt;
    ChapterListState target = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(std::move(current));
    Trim(undo_);
    return target;
}

void ChapterHistory::Clear() {
    undo_.clear();
    redo_.clear();
}

size_t ChapterHistory::Bytes() const {
    size_t bytes = 0;
    for (const ChapterListState& state : undo_) bytes += state.Bytes();
    for (const ChapterListState& state : redo_) bytes += state.Bytes();
    return bytes;
}

}  // namespace brisna
