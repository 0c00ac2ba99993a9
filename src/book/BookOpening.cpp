#include "book/BookOpening.h"

#include <vector>

#include "Capacities.h"
#include "book/BookMessages.h"
#include "book/Qbr2Format.h"
#include "book/QbrFormat.h"
#include "chapters/ManualChapterCommands.h"
#include "text/CodePage936.h"
#include "text/FileReading.h"

namespace brisna {

namespace msg = book_messages;

namespace {

std::string ReplaceEverywhere(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    size_t position = 0;
    for (size_t found = text.find(from); found != std::string_view::npos;
         found = text.find(from, position)) {
        out.append(text.substr(position, found - position));
        out.append(to);
        position = found + from.size();
    }
    out.append(text.substr(position));
    return out;
}

// The message that refuses a decoded book the editor cannot take (more than the model's 98
// chapters, or a text of 10 MiB or more): its format's data message.
std::string_view DataMessage(BookKind kind, bool contentTooLong) {
    if (kind == BookKind::kQbr2 && contentTooLong) return msg::kParseContentError;
    return msg::kParseChapterError;
}

// A chapter's text as the editor will hold it: every lone CR and lone LF becomes the CR LF the
// editor turns it into anyway, so the chapter offsets match the text shown. False for a NUL,
// which would end the editor's text there and drop everything after it.
bool ToEditorText(std::string& text) {
    if (text.find('\0') != std::string::npos) return false;
    size_t at = text.find_first_of("\r\n");
    if (at == std::string::npos) return true;
    std::string out(text, 0, at);
    out.reserve(text.size() + text.size() / 16);
    for (; at < text.size(); ++at) {
        const char byte = text[at];
        if (byte != '\r' && byte != '\n') {
            out.push_back(byte);
            continue;
        }
        if (byte == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        out += "\r\n";
    }
    text = std::move(out);
    return true;
}

// Generation cuts a long chapter into pieces of a fixed size, and a cut may fall between the CR
// and the LF of one line break. Joined again, the pair is one line break, not two: the LF goes
// back to the piece that holds its CR before each piece is made editor text. Only a piece of
// exactly the cutting size can end in such a half; a book made elsewhere keeps its lone CR and
// lone LF as line breaks of their own.
void RejoinSplitLineBreaks(std::vector<BookChapter>& chapters, uint32_t pieceBytes) {
    for (size_t i = 0; i + 1 < chapters.size(); ++i) {
        std::string& text = chapters[i].text;
        std::string& next = chapters[i + 1].text;
        if (text.empty() || text.back() != '\r' || next.empty() || next.front() != '\n') continue;
        if (GbkToUtf16(text).size() * 2 != pieceBytes) continue;
        text.push_back('\n');
        next.erase(0, 1);
    }
}

// A book longer than one file is spread over several, and a file may begin with a piece whose
// line break's CR ended the file before it. That file's reader makes the lone CR a line break
// already, so the lone LF at the start of this one is dropped: the files' texts joined give back
// the book byte for byte. Generated texts break lines with CR LF only, so a first chapter that
// starts with a lone LF and breaks its other lines with CR LF is such a half (titles cannot
// tell: the piece number may be cut off with a long title); a book made elsewhere with LF line
// breaks keeps its leading LF.
void DropLineBreakHalfAtFileStart(std::vector<BookChapter>& chapters) {
    if (chapters.empty()) return;
    std::string& text = chapters.front().text;
    if (text.size() >= 2 && text[0] == '\n' && text.find("\r\n") != std::string::npos) {
        text.erase(0, 1);
    }
}

}  // namespace

std::string BookSourcePathOf(std::string_view openedPath, BookKind kind) {
    // Only the file name: generating must write beside the opened file, not into a renamed folder.
    const size_t nameStart = openedPath.rfind('/') + 1;  // 0 when there is no folder
    return std::string(openedPath.substr(0, nameStart)) +
           ReplaceEverywhere(openedPath.substr(nameStart),
                             kind == BookKind::kQbr2 ? ".qbr2" : ".qbr", ".txt");
}

BookFileBytes ReadGeneratedBookFile(const std::string& path) {
    BookFileBytes result;
    FileReadResult read = ReadRegularFile(path, kMaxTextBytes);
    result.error = read.error;
    switch (read.status) {
        case FileReadStatus::kOk:
            result.ok = true;
            result.bytes = std::move(read.bytes);
            break;
        case FileReadStatus::kCannotOpen:
            result.message = Utf8ToGbk(msg::kOpenQbrFailed);
            break;
        case FileReadStatus::kTooLarge:
            result.message = Utf8ToGbk(msg::kQbrTooLarge);
            break;
        case FileReadStatus::kShortRead:
            result.message = Utf8ToGbk(msg::kReadQbrFailed);
            break;
    }
    return result;
}

bool OpenBook(BookKind kind, CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
              DialogHost& host, std::string& bookSourcePath, std::string& openedBookPath) {
    std::optional<std::string> chosen =
        host.ChooseFileToOpen(kind == BookKind::kQbr2 ? FileFilter::kQbr2 : FileFilter::kQbr);
    if (!chosen) return false;
    openedBookPath = *chosen;
    bookSourcePath = BookSourcePathOf(*chosen, kind);

    BookFileBytes file = ReadGeneratedBookFile(*chosen);
    if (!file.ok) {
        host.ShowFileMessage(file.message, MessageCaption::kNone, *chosen,
                             SystemErrorText(file.error));
        return false;
    }
    DeleteAllChapters(chapterList, chapters);

    std::vector<BookChapter> decoded;
    std::string failure;
    if (kind == BookKind::kQbr2) {
        Qbr2ReadResult read = ReadQbr2(file.bytes);
        if (!read.ok) {
            host.ShowFileMessage(read.message, MessageCaption::kNone, *chosen, {});
            return false;
        }
        // A .qbr2 file is refused whole, before any chapter reaches the model.
        RejoinSplitLineBreaks(read.chapters, kQbr2PieceBytes);
        DropLineBreakHalfAtFileStart(read.chapters);
        size_t textBytes = 0;
        bool editorText = true;
        for (BookChapter& chapter : read.chapters) {
            editorText = editorText && ToEditorText(chapter.text);
            textBytes += chapter.text.size();
        }
        if (!editorText) {
            host.ShowFileMessage(Utf8ToGbk(DataMessage(kind, false)), MessageCaption::kNone,
                                 *chosen, {});
            return false;
        }
        if (read.chapters.size() > kMaxChapters || textBytes >= kMaxTextBytes) {
            bool contentTooLong = read.chapters.size() <= kMaxChapters;
            host.ShowFileMessage(Utf8ToGbk(DataMessage(kind, contentTooLong)),
                                 MessageCaption::kNone, *chosen, {});
            return false;
        }
        decoded = std::move(read.chapters);
    } else {
        QbrReadResult read = ReadQbr(file.bytes);
        decoded = std::move(read.chapters);
        RejoinSplitLineBreaks(decoded, kQbrPieceBytes);
        DropLineBreakHalfAtFileStart(decoded);
        if (!read.ok) failure = read.message;
    }

    // Chapters reach the list and the model one by one, so a .qbr file damaged at chapter i
    // leaves chapters 0 .. i-1 behind.
    std::string text;
    for (BookChapter& chapter : decoded) {
        // .qbr2 chapters were made editor text above, before anything reached the model.
        if (chapters.Count() >= kMaxChapters ||
            (kind == BookKind::kQbr && !ToEditorText(chapter.text)) ||
            text.size() + chapter.text.size() >= kMaxTextBytes) {
            failure = Utf8ToGbk(DataMessage(kind, false));
            break;
        }
        ChapterRecord record;
        record.SetTitle(chapter.title);
        record.offset = static_cast<uint32_t>(text.size());
        record.length = static_cast<uint32_t>(chapter.text.size());
        chapterList.AddString(record.Title());
        chapters.Append(record);
        text += chapter.text;
    }
    if (!failure.empty()) {
        host.ShowFileMessage(failure, MessageCaption::kNone, *chosen, {});
        return false;
    }

    RichEdit& view = bookText.View();
    view.SetText(text);
    bookText.RebuildLineTable();
    view.SetFocus();
    view.SetSelection({0, 0});
    return true;
}

}  // namespace brisna
