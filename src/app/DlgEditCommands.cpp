// The contents editor's commands and the undo history, wired to the dialog.
#include <memory>
#include <string>

#include "app/CBrisnaMakeDlg.h"
#include "chapters/ChapterEditing.h"
#include "chapters/ChapterTitle.h"

namespace brisna {

void CBrisnaMakeDlg::RunRecorded(const std::function<void()>& command, bool textToo) {
    ChapterListState before = CaptureChapters(chapters);
    if (textToo) before.text = std::make_shared<const std::string>(ReadBookText(bookText.View()));
    const uint64_t revision = chapters.Revision();
    const uint64_t opened = booksOpened_;
    command();
    if (booksOpened_ != opened) return;  // another book: its history starts now
    bool changed = chapters.Revision() != revision;
    if (textToo && !changed) changed = ReadBookText(bookText.View()) != *before.text;
    if (changed) history.Push(std::move(before));
}

bool CBrisnaMakeDlg::OnRenameChapter(int32_t index, std::string_view gbkTitle) {
    bool renamed = false;
    RunRecorded([&] { renamed = RenameChapter(chapterList, chapters, host, index, gbkTitle); });
    return renamed;
}

void CBrisnaMakeDlg::OnMoveChapterTo(int32_t from, int32_t to) {
    RunRecorded([&] { MoveChapterTo(chapterList, chapters, host, from, to); });
}

void CBrisnaMakeDlg::OnSortChapters() {
    RunRecorded([&] { SortChaptersByPosition(chapterList, chapters); });
}

void CBrisnaMakeDlg::RestoreState(const ChapterListState& state) {
    if (state.text) {
        WaitCursor wait(host);
        RichEdit& view = bookText.View();
        view.SetText(*state.text);
        bookText.RebuildLineTable();
        view.SetSelection({0, 0});
    }
    RestoreChapters(chapters, state);
    RefillChapterList(chapterList, chapters);
}

void CBrisnaMakeDlg::OnUndo() {
    if (!history.CanUndo()) return;
    ChapterListState current = CaptureChapters(chapters);
    if (history.UndoChangesText()) {
        current.text = std::make_shared<const std::string>(ReadBookText(bookText.View()));
    }
    if (auto target = history.Undo(std::move(current))) RestoreState(*target);
}

void CBrisnaMakeDlg::OnRedo() {
    if (!history.CanRedo()) return;
    ChapterListState current = CaptureChapters(chapters);
    if (history.RedoChangesText()) {
        current.text = std::make_shared<const std::string>(ReadBookText(bookText.View()));
    }
    if (auto target = history.Redo(std::move(current))) RestoreState(*target);
}

}  // namespace brisna
