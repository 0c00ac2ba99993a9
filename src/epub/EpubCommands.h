#pragma once
// The two EPUB commands of the dialog: 生成EPUB writes the book in the editor as an EPUB file,
// 打开EPUB brings an EPUB's text and table of contents into the editor as an ordinary book.

#include <string>
#include <string_view>
#include <vector>

#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"
#include "epub/EpubContents.h"
#include "epub/EpubWriter.h"

namespace brisna {

// The EPUB beside a book: the output base of its source path (every ".txt" and ".TXT" of the
// file name removed, as for the generated books) with ".epub".
std::string EpubPathFor(std::string_view bookSourcePath);

// The book source path of an opened EPUB: its file name's last extension replaced by ".txt",
// so that generating writes the books beside it.
std::string BookSourcePathOfEpub(std::string_view epubPath);

// The modification date an EPUB of the book carries: SOURCE_DATE_EPOCH when it is set (for
// reproducible builds), else the book file's own modification time, else 2000-01-01. Never the
// clock, so the same book gives the same file.
int64_t BookModificationSeconds(std::string_view bookSourcePath);

// What 生成EPUB is asked for beyond the book itself.
struct EpubChoices {
    // Title, author and language (UTF-8) ahead of what the book says; an opened EPUB's own
    // metadata fills what is left empty here.
    EpubMetadata known;
    std::string coverPath;       // the cover picture; empty: one beside the book, else drawn
    bool noCover = false;        // no cover at all
    EpubStyle style;             // the look; its font and style sheet come from the files below
    std::string fontPath;        // a TrueType, OpenType or WOFF font to embed
    std::string stylesheetPath;  // the operator's own CSS, applied last
    // The opened EPUB's own metadata, taken where `known` leaves a field empty (and its cover
    // when neither a chosen picture nor one beside the book is there); nothing: none.
    const OpenedContents* opened = nullptr;
};

struct EpubOutcome {
    bool succeeded = false;
    std::string path;  // the file written, when succeeded
};

// 生成EPUB: runs the generate-side checks (without the 30 KB and 98-chapter limits of the
// other formats), then writes the book to outputPath (empty: EpubPathFor the source path)
// through an atomic replace and reports "生成EPUB成功：<path>". The table of contents is `toc`
// (a whole book's contents, see WholeBookContents: only the file name rule applies to it), or
// the chapter model's chapters, checked as 生成qbr checks them, when it is empty.
EpubOutcome GenerateEpubBook(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                             DialogHost& host, std::string_view bookSourcePath,
                             const std::string& outputPath, const std::vector<TocEntry>& toc = {},
                             const EpubChoices& choices = {});

// The EPUB bytes 生成EPUB would write, after the same checks; nothing (and one message shown)
// when a check fails or the archive cannot be built. For writers that send the file elsewhere.
std::optional<std::string> BuildCheckedEpub(CMyRECtrl& bookText, ListBox& chapterList,
                                            ChapterModel& chapters, DialogHost& host,
                                            std::string_view bookSourcePath,
                                            const std::vector<TocEntry>& toc = {},
                                            const EpubChoices& choices = {});

// 打开EPUB: asks for the file, reads it and fills the editor: the spine's text and the
// contents' chapters (the first 98 of them, with a notice when there are more; the whole
// contents are kept in `opened` then). On any failure one message is shown and the editor keeps
// its previous text. True when the book was opened.
bool OpenEpubBook(CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
                  DialogHost& host, std::string& bookSourcePath, std::string& openedBookPath,
                  OpenedContents& opened);

// The second half of 打开EPUB, for an EPUB already read into memory (`shownPath` names it in
// the messages).
bool LoadEpubBytes(std::string_view bytes, std::string_view shownPath, CMyRECtrl& bookText,
                   ListBox& chapterList, ChapterModel& chapters, DialogHost& host,
                   OpenedContents& opened);

// True when the bytes begin as a zip archive does (an EPUB handed over without its name).
bool LooksLikeZip(std::string_view bytes);

}  // namespace brisna
