#include "book/GenerationTestSupport.h"

#include "book/BookTestData.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna::test {

void RecordingHost::ShowMessage(std::string_view gbkText, MessageCaption caption) {
    messages.push_back({GbkToUtf8Lossless(gbkText), caption, {}, {}});
}

void RecordingHost::ShowFileMessage(std::string_view gbkText, MessageCaption caption,
                                    std::string_view path, std::string_view reason) {
    messages.push_back(
        {GbkToUtf8Lossless(gbkText), caption, std::string(path), std::string(reason)});
}

std::optional<std::string> RecordingHost::ChooseFileToOpen(FileFilter filter) {
    filters.push_back(filter);
    if (choices.empty()) return std::nullopt;
    std::optional<std::string> choice = choices.front();
    choices.pop_front();
    return choice;
}

std::vector<std::string> RecordingHost::Texts() const {
    std::vector<std::string> texts;
    for (const Message& message : messages) texts.push_back(message.text);
    return texts;
}

TestBook MakeBook(const std::vector<uint32_t>& chapterBytes, uint32_t seed) {
    TestBook book;
    for (size_t i = 0; i < chapterBytes.size(); ++i) {
        ChapterRecord record;
        std::string title = G("第") + std::to_string(i + 1) + G("章");
        record.SetTitle(title);
        record.offset = static_cast<uint32_t>(book.text.size());
        record.length = chapterBytes[i];
        book.chapters.push_back(record);

        std::string chapter = title + "\r\n";
        std::string prose = SampleChineseGbk(chapterBytes[i] + 64, seed + static_cast<uint32_t>(i));
        // Whole characters of the prose, then ASCII to the exact size, then the line end.
        size_t want = chapterBytes[i] - chapter.size() - 2;
        size_t take = 0;
        while (take < prose.size()) {
            size_t step = GbkCharLength(prose, take);
            if (take + step > want) break;
            take += step;
        }
        chapter += prose.substr(0, take);
        chapter.append(want - take, 'x');
        chapter += "\r\n";
        book.text += chapter;
    }
    return book;
}

void TestEditor::Load(const TestBook& book) {
    view.SetText(book.text);
    ctrl.RebuildLineTable();
    model.Clear();
    while (list.GetCount() > 0) list.DeleteString(0);
    for (const ChapterRecord& record : book.chapters) {
        ChapterRecord fresh = record;
        fresh.length = 0;  // as the add commands leave it
        model.Append(fresh);
        list.AddString(record.Title());
    }
}

std::vector<ChapterRecord> TestEditor::Records() const {
    std::vector<ChapterRecord> records;
    for (uint32_t i = 0; i < model.Count(); ++i) records.push_back(*model.RecordAt(i));
    return records;
}

}  // namespace brisna::test
