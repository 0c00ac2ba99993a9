#pragma once
// Opening a generated .qbr2 or .qbr file back into the editor: its text replaces the editor's,
// its chapters replace the chapter model and the chapter list.

#include <string>
#include <string_view>

#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"

namespace brisna {

enum class BookKind { kQbr2, kQbr };

// The book source path of an opened book: its path with every ".qbr2" (or ".qbr") in the file
// name replaced by ".txt"; folder names stay as they are.
std::string BookSourcePathOf(std::string_view openedPath, BookKind kind);

struct BookFileBytes {
    bool ok = false;
    std::string bytes;
    std::string
        message;  // GBK, when !ok: "打开qbr文件失败", "qbr文件大小不能超过10M" or "读取qbr文件失败"
    int error = 0;  // the system's error number behind a failure, where it gave one
};

// Reads a whole book file, refusing files of 10 MiB or more and anything but a regular file (a
// folder, or a FIFO, which is never waited on).
BookFileBytes ReadGeneratedBookFile(const std::string& path);

// The commands "打开qbr2文件" and "打开qbr": asks for the file, then reads, checks and decodes it
// and fills the editor. Failures show one message. A .qbr2 file is checked whole before anything
// reaches the model; a damaged .qbr file leaves the chapters before the damaged one in the model
// and the list. On any failure the editor keeps its previous text. True when the book was opened.
bool OpenBook(BookKind kind, CMyRECtrl& bookText, ListBox& chapterList, ChapterModel& chapters,
              DialogHost& host, std::string& bookSourcePath, std::string& openedBookPath);

}  // namespace brisna
