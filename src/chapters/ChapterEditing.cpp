#include "chapters/ChapterEditing.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Capacities.h"
#include "chapters/ChapterMessages.h"
#include "text/CodePage936.h"

namespace brisna {

namespace msg = chapter_messages;

namespace {

void Tell(DialogHost& host, std::string_view utf8Text) {
    host.ShowMessage(Utf8ToGbk(utf8Text), MessageCaption::kNone);
}

bool ListMatchesModel(const ListBox& chapterList, const ChapterModel& chapters) {
    return chapterList.GetCount() >= 0 &&
           static_cast<uint32_t>(chapterList.GetCount()) == chapters.Count();
}

std::vector<ChapterRecord> Records(const ChapterModel& chapters) {
    std::vector<ChapterRecord> records;
    records.reserve(chapters.Count());
    for (uint32_t i = 0; i < chapters.Count(); ++i) records.push_back(*chapters.RecordAt(i));
    return records;
}

void StoreRecords(ChapterModel& chapters, const std::vector<ChapterRecord>& records) {
    const uint32_t textLength = chapters.TextLength();
    chapters.Clear();
    for (const ChapterRecord& record : records) chapters.Append(record);
    chapters.SetTextLength(textLength);
}

// A title of nothing but spaces (ASCII, tabs, the full-width space) shows as an empty entry and
// names nothing the reader could find.
bool IsBlankTitle(std::string_view title) {
    size_t at = 0;
    while (at < title.size()) {
        if (title[at] == ' ' || title[at] == '\t') {
            ++at;
        } else if (title.substr(at, 2) == "\xA1\xA1") {
            at += 2;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

void RefillChapterList(ListBox& chapterList, const ChapterModel& chapters) {
    DeleteAllItems(chapterList);
    for (uint32_t i = 0; i < chapters.Count(); ++i) {
        chapterList.AddString(chapters.RecordAt(i)->Title());
    }
}

bool RenameChapter(ListBox& chapterList, ChapterModel& chapters, DialogHost& host, int32_t index,
                   std::string_view title) {
    if (index < 0 || static_cast<uint32_t>(index) >= chapters.Count() ||
        index >= chapterList.GetCount()) {
        Tell(host, msg::kNothingSelected);
        return false;
    }
    // A title ends at its first NUL or line break; what follows one would be lost silently.
    const size_t end = title.find_first_of(std::string_view("\0\r\n", 3));
    if (end != std::string_view::npos) title = title.substr(0, end);
    if (IsBlankTitle(title)) {
        Tell(host, msg::kEmptyTitle);
        return false;
    }
    if (title.size() > kTitleBytes - 1) {
        Tell(host, msg::TitleTooLong(kTitleBytes - 1, title.size()));
        return false;
    }
    ChapterRecord* record = chapters.RecordAt(static_cast<uint32_t>(index));
    if (record->Title() == title) return false;
    for (uint32_t i = 0; i < chapters.Count(); ++i) {
        if (i != static_cast<uint32_t>(index) && chapters.RecordAt(i)->Title() == title) {
            Tell(host, msg::kRenameDuplicate);
            return false;
        }
    }
    std::vector<ChapterRecord> records = Records(chapters);
    records[static_cast<size_t>(index)].SetTitle(title);
    StoreRecords(chapters, records);
    chapterList.DeleteString(index);
    chapterList.InsertString(index, title);
    chapterList.SetSel(false, -1);
    chapterList.SetSel(true, index);
    return true;
}

bool MoveChapterTo(ListBox& chapterList, ChapterModel& chapters, DialogHost& host, int32_t from,
                   int32_t to) {
    const int32_t count = chapterList.GetCount();
    if (from < 0 || from >= count || to < 0 || to > count) return false;
    if (!ListMatchesModel(chapterList, chapters)) {
        Tell(host, msg::kMoveFailed);
        return false;
    }
    // Dropping an item onto its own place or just below it leaves it where it was.
    const int32_t target = to > from ? to - 1 : to;
    if (target == from) return false;
    std::vector<ChapterRecord> records = Records(chapters);
    const ChapterRecord moved = records[static_cast<size_t>(from)];
    records.erase(records.begin() + from);
    records.insert(records.begin() + target, moved);
    StoreRecords(chapters, records);
    chapterList.DeleteString(from);
    chapterList.InsertString(target, moved.Title());
    chapterList.SetSel(false, -1);
    chapterList.SetSel(true, target);
    return true;
}

bool SortChaptersByPosition(ListBox& chapterList, ChapterModel& chapters) {
    std::vector<ChapterRecord> records = Records(chapters);
    if (std::is_sorted(
            records.begin(), records.end(),
            [](const ChapterRecord& a, const ChapterRecord& b) { return a.offset < b.offset; })) {
        return false;
    }
    std::stable_sort(
        records.begin(), records.end(),
        [](const ChapterRecord& a, const ChapterRecord& b) { return a.offset < b.offset; });
    StoreRecords(chapters, records);
    RefillChapterList(chapterList, chapters);
    return true;
}

}  // namespace brisna
