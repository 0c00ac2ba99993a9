#include "cli/CliSession.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "app/ControlIds.h"
#include "chapters/ManualChapterCommands.h"
#include "cli/CliMessages.h"
#include "cli/Output.h"
#include "epub/EpubCommands.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"
#include "text/FileReading.h"

namespace brisna::cli {

CliSession::CliSession(const std::optional<std::string>& wordsFile, MessageSink onMessage) {
    host_.onMessage = std::move(onMessage);
    if (wordsFile) {
        dialog_ = std::make_unique<CBrisnaMakeDlg>(view_, chapterList_, problemList_, host_,
                                                   std::filesystem::path(*wordsFile));
    } else {
        dialog_ = std::make_unique<CBrisnaMakeDlg>(view_, chapterList_, problemList_, host_);
    }
}

bool CliSession::OnlyNoticesSince(size_t since) const {
    const std::vector<ShownMessage>& messages = host_.Messages();
    // A load that had to replace characters still loaded; its notice is a prompt.
    return std::all_of(
        messages.begin() + static_cast<std::ptrdiff_t>(since), messages.end(),
        [](const ShownMessage& message) { return message.caption == MessageCaption::kPrompt; });
}

bool CliSession::OpenText(const std::string& path) {
    size_t before = MessageCount();
    const BookFileKind kind = BookFileKindOf(path);
    bool opened = false;
    if (kind == BookFileKind::kQbr2 || kind == BookFileKind::kQbr) {
        // A generated book brings its text and its chapters, as the window's open buttons do.
        opened = OpenBook(path, kind == BookFileKind::kQbr2);
    } else {
        host_.QueueFileChoice(path);
        // An EPUB is a book text too: 打开EPUB brings its text and its chapters.
        dialog_->OnCommand(kind == BookFileKind::kEpub ? kOpenEpubCommand : kOpenTextButton);
        opened = OnlyNoticesSince(before);
    }
    if (!opened) return false;
    // A text file remembers itself as it loads; a book or an EPUB read is never written over
    // either (generating from book.qbr2 would otherwise replace the very file it reads).
    struct stat info {};
    if (kind != BookFileKind::kText && ::stat(path.c_str(), &info) == 0) {
        RememberInputFile(IdentityOf(info));
    }
    return true;
}

namespace {

bool EndsWithLowered(std::string_view path, std::string_view lowerEnd) {
    if (path.size() < lowerEnd.size()) return false;
    std::string_view tail = path.substr(path.size() - lowerEnd.size());
    for (size_t i = 0; i < lowerEnd.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerEnd[i]) return false;
    }
    return true;
}

}  // namespace

bool IsEpubPath(std::string_view path) {
    return EndsWithLowered(path, ".epub");
}

BookFileKind BookFileKindOf(std::string_view path) {
    if (EndsWithLowered(path, ".qbr2")) return BookFileKind::kQbr2;
    if (EndsWithLowered(path, ".qbr")) return BookFileKind::kQbr;
    if (EndsWithLowered(path, ".epub")) return BookFileKind::kEpub;
    return BookFileKind::kText;
}

bool CliSession::LoadTextBytes(std::string_view fileBytes, const std::string& sourcePath) {
    // The same steps as "打开txt文件" after its file has been read.
    CBrisnaMakeDlg& dialog = *dialog_;
    dialog.bookSourcePath = sourcePath;
    // An EPUB has no name to tell it by here; its zip signature does (no text begins so).
    if (LooksLikeZip(fileBytes)) {
        return LoadEpubBytes(fileBytes, sourcePath, dialog.bookText, chapterList_, dialog.chapters,
                             host_, dialog.openedContents);
    }
    BookLoadResult loaded = DecodeBookBytes(fileBytes, dialog.textEncoding);
    if (loaded.status != BookReadStatus::kOk) {
        host_.ShowFileMessage(BookReadMessage(loaded.status), MessageCaption::kNone, sourcePath,
                              "");
        return false;
    }
    DeleteAllChapters(chapterList_, dialog.chapters);
    dialog.loadedEncoding = loaded.encoding;
    view_.SetText(loaded.text);
    dialog.bookText.RebuildLineTable();
    view_.SetFocus();
    view_.SetSelection({0, 0});
    dialog.chapters.SetTextLength(0);
    for (const std::string& notice : LoadNotices(loaded)) {
        host_.ShowMessage(notice, MessageCaption::kPrompt);
    }
    return true;
}

bool CliSession::OpenBook(const std::string& path, bool qbr2) {
    size_t before = MessageCount();
    host_.QueueFileChoice(path);
    dialog_->OnCommand(qbr2 ? kOpenQbr2Button : kOpenQbrButton);
    return MessageCount() == before;
}

bool CliSession::PlaceCaret(int64_t line, int64_t column) {
    if (line < 0 || line >= view_.GetLineCount()) return false;
    int64_t start = view_.LineIndex(static_cast<int32_t>(line));
    if (start < 0) return false;
    // Worked out in 64 bits and kept inside the text, so no column can wrap around.
    int64_t position = std::min<int64_t>(start + std::max<int64_t>(column, 0),
                                         std::max<int64_t>(view_.GetCharCount(), start));
    int32_t at = static_cast<int32_t>(position);
    view_.SetSelection({at, at});
    return true;
}

bool CliSession::ApplyChapterOption(const ChapterOption& option, std::string& error) {
    size_t before = MessageCount();
    switch (option.kind) {
        case ChapterOption::Kind::kLine: {
            int64_t line = -1;
            const std::string& value = option.value;
            auto [end, status] = std::from_chars(value.data(), value.data() + value.size(), line);
            if (status != std::errc() || end != value.data() + value.size() ||
                !PlaceCaret(line, 0)) {
                error = messages::NoSuchLine(value, view_.GetLineCount());
                return false;
            }
            dialog_->OnCommand(kAddChapterButton);
            break;
        }
        case ChapterOption::Kind::kIncremental:
        case ChapterOption::Kind::kKeyword:
            host_.SetFieldText(kStartChapterEdit, Utf8ToGbk(option.value));
            dialog_->OnCommand(option.kind == ChapterOption::Kind::kIncremental
                                   ? kIncrementalAddButton
                                   : kKeywordAddButton);
            break;
        case ChapterOption::Kind::kAuto:
            dialog_->OnAutoDetectChapters();
            break;
    }
    return MessageCount() == before;
}

void CliSession::ForEachChapterLine(const std::function<void(const std::string&)>& emit) {
    ChapterModel& chapters = dialog_->chapters;
    for (uint32_t i = 0; i < chapters.Count(); ++i) {
        const ChapterRecord& record = *chapters.RecordAt(i);
        emit(std::to_string(record.offset) + '\t' + std::to_string(record.length) + '\t' +
             EscapeLineBreaks(GbkToUtf8Lossless(record.Title())));
    }
}

void CliSession::ForEachProblemLine(const std::function<void(const std::string&)>& emit) {
    for (int32_t i = 0; i < problemList_.GetCount(); ++i) {
        emit(EscapeLineBreaks(GbkToUtf8Lossless(problemList_.GetText(i))));
    }
}

}  // namespace brisna::cli
