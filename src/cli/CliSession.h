#pragma once
// The main dialog without a window: a headless text view, the two lists and a dialog host
// whose message boxes go to a callback. Every subcommand of the command line and every script
// runs against one of these; each session is independent, so books can run side by side.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"

namespace brisna::cli {

// A chapter option of the command line, applied in the order given.
struct ChapterOption {
    enum class Kind { kLine, kIncremental, kKeyword, kAuto };
    Kind kind = Kind::kLine;
    std::string value;  // the line number, or the heading in UTF-8; empty for kAuto
};

// True for a name ending in ".epub", in any case.
bool IsEpubPath(std::string_view path);

// What a book file is, told by its name's extension in any letter case (the window opens
// BOOK.QBR2 too): a generated book, an EPUB, or else a text.
enum class BookFileKind { kText, kEpub, kQbr2, kQbr };
BookFileKind BookFileKindOf(std::string_view path);

class CliSession {
  public:
    using MessageSink = std::function<void(const ShownMessage&)>;

    // Reads the suspicious-word list from wordsFile, or from "BrisnaMake.csv" in the current
    // directory when none is given. Every message box is handed to onMessage as it comes up.
    CliSession(const std::optional<std::string>& wordsFile, MessageSink onMessage);

    CBrisnaMakeDlg& Dialog() { return *dialog_; }
    HeadlessRichEdit& View() { return view_; }
    HeadlessListBox& ChapterList() { return chapterList_; }
    HeadlessListBox& ProblemList() { return problemList_; }
    HeadlessDialogHost& Host() { return host_; }

    // Message boxes shown so far.
    size_t MessageCount() const { return host_.Messages().size(); }

    // Presses "打开txt文件" with the path as the dialog's answer, reading the text in the
    // dialog's textEncoding; a path ending in .epub (any case) is opened with 打开EPUB instead,
    // one ending in .qbr2 or .qbr with 打开qbr2文件 or 打开qbr. True when the book loaded: no
    // message came up but a notice (replaced characters, more chapters than the model holds).
    bool OpenText(const std::string& path);
    // Loads file bytes that did not come from a named file (standard input) the way
    // "打开txt文件" loads a file's bytes, with the same messages; sourcePath becomes the book
    // source path. Bytes that begin as a zip archive are an EPUB and load as 打开EPUB loads
    // its file. True when the book loaded.
    bool LoadTextBytes(std::string_view fileBytes, const std::string& sourcePath);
    // Presses 1011 or 1016 with the path as the dialog's answer. True when no message came up.
    bool OpenBook(const std::string& path, bool qbr2);
    // Applies one chapter option. False when it was refused: a message came up, or the line
    // lies past the end of the text (then `error` says so, in UTF-8). Automatic recognition
    // listing the candidates it chose among is not a refusal.
    bool ApplyChapterOption(const ChapterOption& option, std::string& error);
    // Puts the caret at a column of a display line; a column past the end of the text stops at
    // the end. False when the line does not exist.
    bool PlaceCaret(int64_t line, int64_t column);

    // One line per chapter record: offset, tab, length, tab, title (UTF-8, line breaks shown
    // as \r and \n).
    void ForEachChapterLine(const std::function<void(const std::string&)>& emit);
    // One line per entry of the problem list (UTF-8, line breaks shown as \r and \n).
    void ForEachProblemLine(const std::function<void(const std::string&)>& emit);

  private:
    // True when every message since the first `since` was a notice, not a failure.
    bool OnlyNoticesSince(size_t since) const;

    HeadlessRichEdit view_;
    HeadlessListBox chapterList_;
    HeadlessListBox problemList_;
    HeadlessDialogHost host_;
    std::unique_ptr<CBrisnaMakeDlg> dialog_;
};

}  // namespace brisna::cli
