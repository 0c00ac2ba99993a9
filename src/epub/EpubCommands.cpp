#include "epub/EpubCommands.h"

#include <sys/stat.h>

#include <cstdlib>
#include <optional>

#include "Capacities.h"
#include "book/AtomicFile.h"
#include "book/GenerationPlan.h"
#include "chapters/ChapterTitle.h"
#include "chapters/ManualChapterCommands.h"
#include "check/ValidationRules.h"
#include "epub/EpubCover.h"
#include "epub/EpubMessages.h"
#include "epub/EpubReader.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"
#include "text/FileNames.h"
#include "text/FileReading.h"

namespace brisna {

namespace {

constexpr int64_t kYear2000 = 946684800;

std::string FailureMessage() {
    return Utf8ToGbk(epub_messages::kGenerateFailed);
}

// A contents title as the chapter list holds it: what fits its record, cut on a character
// boundary.
std::string ChapterListTitle(std::string_view gbk) {
    size_t end = 0;
    while (end < gbk.size()) {
        const size_t width =
            IsGbkLeadByte(static_cast<unsigned char>(gbk[end])) && end + 1 < gbk.size() ? 2 : 1;
        if (end + width > kTitleBytes - 1) break;
        end += width;
    }
    return std::string(gbk.substr(0, end));
}

// A file the operator named for the EPUB (font, style sheet): its bytes, or nothing after one
// message.
std::optional<std::string> ReadChosenFile(const std::string& path, uint64_t limit,
                                          std::string_view tooLargeUtf8,
                                          std::string_view cannotReadUtf8, DialogHost& host) {
    FileReadResult file = ReadRegularFile(path, limit);
    if (file.status == FileReadStatus::kOk) return std::move(file.bytes);
    if (file.status == FileReadStatus::kTooLarge) {
        host.ShowFileMessage(Utf8ToGbk(tooLargeUtf8), MessageCaption::kNone, path, {});
    } else {
        host.ShowFileMessage(Utf8ToGbk(cannotReadUtf8), MessageCaption::kNone, path,
                             SystemErrorText(file.error));
    }
    return std::nullopt;
}

// The cover of the EPUB: the chosen file, else a picture beside the book, else the opened
// EPUB's own cover, else one drawn from the title and author. False (one message shown) when
// the chosen file cannot be used.
bool ChooseCover(const EpubChoices& choices, std::string_view bookSourcePath,
                 EpubMetadata& metadata, DialogHost& host) {
    EpubCover opened = std::move(metadata.cover);
    metadata.cover = {};
    if (choices.noCover) return true;
    if (!choices.coverPath.empty()) {
        CoverFileResult file = ReadCoverFile(choices.coverPath);
        switch (file.status) {
            case CoverFileStatus::kOk:
                metadata.cover = std::move(file.cover);
                return true;
            case CoverFileStatus::kCannotRead:
                host.ShowFileMessage(Utf8ToGbk(epub_messages::kReadCoverFailed),
                                     MessageCaption::kNone, choices.coverPath,
                                     SystemErrorText(file.error));
                return false;
            case CoverFileStatus::kTooLarge:
                host.ShowFileMessage(Utf8ToGbk(epub_messages::kCoverTooLarge),
                                     MessageCaption::kNone, choices.coverPath, {});
                return false;
            case CoverFileStatus::kNotAPicture:
                host.ShowFileMessage(Utf8ToGbk(epub_messages::kCoverNotPicture),
                                     MessageCaption::kNone, choices.coverPath, {});
                return false;
        }
    }
    // A picture beside the book that cannot be used is passed over, as if it were not there.
    for (const std::string& beside : CoversBesideBook(bookSourcePath)) {
        CoverFileResult file = ReadCoverFile(beside);
        if (file.status == CoverFileStatus::kOk) {
            metadata.cover = std::move(file.cover);
            return true;
        }
    }
    if (PictureMediaType(opened.bytes)) {
        metadata.cover = std::move(opened);
        return true;
    }
    metadata.cover = DrawCover(metadata.title, metadata.author);
    return true;
}

// The style with its font and style sheet files read in.
std::optional<EpubStyle> LoadStyle(const EpubChoices& choices, DialogHost& host) {
    EpubStyle style = choices.style;
    if (!choices.fontPath.empty()) {
        std::optional<std::string> font =
            ReadChosenFile(choices.fontPath, kMaxFontBytes, epub_messages::kFontTooLarge,
                           epub_messages::kReadFontFailed, host);
        if (!font) return std::nullopt;
        if (!FontKindOf(*font)) {
            host.ShowFileMessage(Utf8ToGbk(epub_messages::kFontNotFont), MessageCaption::kNone,
                                 choices.fontPath, {});
            return std::nullopt;
        }
        style.fontBytes = std::move(*font);
    }
    if (!choices.stylesheetPath.empty()) {
        std::optional<std::string> css = ReadChosenFile(choices.stylesheetPath, kMaxStylesheetBytes,
                                                        epub_messages::kStylesheetTooLarge,
                                                        epub_messages::kReadStylesheetFailed, host);
        if (!css) return std::nullopt;
        style.userStylesheet = std::move(*css);
    }
    return style;
}

}  // namespace

std::string EpubPathFor(std::string_view bookSourcePath) {
    return BookFileName(OutputBase(bookSourcePath), "epub", 0);
}

std::string BookSourcePathOfEpub(std::string_view epubPath) {
    const size_t nameStart = epubPath.rfind('/') + 1;  // 0 when there is no folder
    const size_t dot = epubPath.rfind('.');
    if (dot == std::string_view::npos || dot <= nameStart) return std::string(epubPath) + ".txt";
    return std::string(epubPath.substr(0, dot)) + ".txt";
}

int64_t BookModificationSeconds(std::string_view bookSourcePath) {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != 0) {
        char* end = nullptr;
        long long seconds = std::strtoll(epoch, &end, 10);
        if (end != nullptr && *end == 0 && seconds >= 0) return seconds;
    }
    struct stat info {};
    if (!bookSourcePath.empty() && ::stat(std::string(bookSourcePath).c_str(), &info) == 0 &&
        S_ISREG(info.st_mode)) {
        return static_cast<int64_t>(info.st_mtime);
    }
    return kYear2000;
}

std::optional<std::string> BuildCheckedEpub(CMyRECtrl& bookText, ListBox& chapterList,
                                            ChapterModel& chapters, DialogHost& host,
                                            std::string_view bookSourcePath,
                                            const std::vector<TocEntry>& toc,
                                            const EpubChoices& choices) {
    const std::string text = ReadBookText(bookText.View());
    if (toc.empty() && !RunGenerateChecks(bookText, chapterList, chapters, host, bookSourcePath,
                                          GenerateLimits::kNoSizeOrCount)) {
        return std::nullopt;
    }
    // A whole book's contents come from its outline or from an EPUB's own contents: they hold
    // no empty title and start the text. The device's file-name rule is not the EPUB's.
    std::optional<EpubStyle> style = LoadStyle(choices, host);
    if (!style) return std::nullopt;
    EpubMetadata known = choices.known;
    if (const EpubMetadata* opened = choices.opened ? choices.opened->MetadataFor(text) : nullptr) {
        // What the operator gives goes first, field by field.
        for (auto field :
             {&EpubMetadata::title, &EpubMetadata::author, &EpubMetadata::language,
              &EpubMetadata::description, &EpubMetadata::publisher, &EpubMetadata::date,
              &EpubMetadata::series, &EpubMetadata::seriesIndex}) {
            if (CleanMetadataText(known.*field).empty()) known.*field = (*opened).*field;
        }
        if (known.moreAuthors.empty() && choices.known.author.empty()) {
            known.moreAuthors = opened->moreAuthors;
        }
        if (known.cover.Empty()) known.cover = opened->cover;
    }
    EpubMetadata metadata =
        DescribeBook(text, bookSourcePath, BookModificationSeconds(bookSourcePath), known);
    if (!ChooseCover(choices, bookSourcePath, metadata, host)) return std::nullopt;
    std::optional<std::string> bytes =
        BuildEpub(text, toc.empty() ? TocFromChapters(chapters) : toc, metadata, *style);
    if (!bytes) host.ShowMessage(FailureMessage(), MessageCaption::kNone);
    return bytes;
}

EpubOutcome GenerateEpubBook(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                             DialogHost& host, std::string_view bookSourcePath,
                             const std::string& outputPath, const std::vector<TocEntry>& toc,
                             const EpubChoices& choices) {
    EpubOutcome outcome;
    WaitCursor wait(host);
    std::optional<std::string> bytes =
        BuildCheckedEpub(bookText, chapterList, chapters, host, bookSourcePath, toc, choices);
    if (!bytes) return outcome;
    const std::string path = outputPath.empty() ? EpubPathFor(bookSourcePath) : outputPath;
    int error = 0;
    if (!WriteFileAtomically(path, *bytes, &error)) {
        host.ShowFileMessage(FailureMessage(), MessageCaption::kNone, path, SystemErrorText(error));
        return outcome;
    }
    host.ShowMessage(Utf8ToGbk(epub_messages::kGeneratedPrefix) + FileNameToGbk(path),
                     MessageCaption::kPrompt);
    outcome.succeeded = true;
    outcome.path = path;
    return outcome;
}

bool OpenEpubBook(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                  DialogHost& host, std::string& bookSourcePath, std::string& openedBookPath,
                  OpenedContents& opened) {
    std::optional<std::string> chosen = host.ChooseFileToOpen(FileFilter::kEpub);
    if (!chosen) return false;
    WaitCursor wait(host);
    openedBookPath = *chosen;
    bookSourcePath = BookSourcePathOfEpub(*chosen);

    FileReadResult file = ReadRegularFile(*chosen, kMaxEpubFileBytes);
    switch (file.status) {
        case FileReadStatus::kOk:
            break;
        case FileReadStatus::kCannotOpen:
            host.ShowFileMessage(Utf8ToGbk(epub_messages::kOpenFailed), MessageCaption::kNone,
                                 *chosen, SystemErrorText(file.error));
            return false;
        case FileReadStatus::kTooLarge:
            host.ShowFileMessage(Utf8ToGbk(epub_messages::kFileTooLarge), MessageCaption::kNone,
                                 *chosen, {});
            return false;
        case FileReadStatus::kShortRead:
            host.ShowFileMessage(Utf8ToGbk(epub_messages::kReadFailed), MessageCaption::kNone,
                                 *chosen, SystemErrorText(file.error));
            return false;
    }
    return LoadEpubBytes(file.bytes, *chosen, bookText, chapterList, chapters, host, opened);
}

bool LoadEpubBytes(std::string_view bytes, std::string_view shownPath, CMyRECtrl& bookText,
                   ListBox& chapterList, ChapterModel& chapters, DialogHost& host,
                   OpenedContents& opened) {
    EpubReadResult read = ReadEpub(bytes);
    if (!read.ok) {
        host.ShowFileMessage(read.message, MessageCaption::kNone, std::string(shownPath), {});
        return false;
    }

    DeleteAllChapters(chapterList, chapters);
    const std::vector<TocEntry>& toc = read.book.toc;
    // The chapter list holds one chapter per place in the text: of entries leading to the same
    // place (a volume and its first chapter) the last, most particular one names it.
    std::vector<const TocEntry*> places;
    for (size_t i = 0; i < toc.size(); ++i) {
        if (i + 1 < toc.size() && toc[i + 1].offset == toc[i].offset) continue;
        places.push_back(&toc[i]);
    }
    const uint32_t textSize = static_cast<uint32_t>(read.book.text.size());
    for (size_t i = 0; i < places.size() && i < kMaxChapters; ++i) {
        ChapterRecord record;
        record.SetTitle(ChapterListTitle(places[i]->title));
        record.offset = places[i]->offset;
        record.length = (i + 1 < places.size() ? places[i + 1]->offset : textSize) - record.offset;
        chapterList.AddString(record.Title());
        chapters.Append(record);
    }
    RichEdit& view = bookText.View();
    view.SetText(read.book.text);
    bookText.RebuildLineTable();
    view.SetFocus();
    view.SetSelection({0, 0});
    chapters.SetTextLength(0);
    // The whole contents and the metadata stay with the book, so that an EPUB written from it
    // keeps the source's levels, full titles, title, authors, language and cover.
    opened.Keep(toc, read.book.metadata, read.book.text, chapters);
    if (!read.book.notice.empty()) host.ShowMessage(read.book.notice, MessageCaption::kPrompt);
    if (read.book.replaced > 0) {
        host.ShowMessage(ReplacedCharactersMessage(read.book.replaced, read.book.firstReplacedLine),
                         MessageCaption::kPrompt);
    }
    if (places.size() > kMaxChapters) {
        host.ShowMessage(FormatGbkMessage(epub_messages::kContentsTooLongFormat,
                                          {static_cast<int64_t>(places.size())}),
                         MessageCaption::kPrompt);
    }
    return true;
}

bool LooksLikeZip(std::string_view bytes) {
    return bytes.starts_with(std::string_view("PK\x03\x04", 4));
}

}  // namespace brisna
