#pragma once
// The main dialog: owns the state every command shares and routes control ids and list
// notifications to the commands. It knows no toolkit: the window, the command line and the tests
// hand it a text view, the two lists and a DialogHost.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ControlIds.h"
#include "chapters/ChapterHistory.h"
#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/ListBox.h"
#include "controls/RichEdit.h"
#include "detect/ChapterRule.h"
#include "epub/EpubContents.h"
#include "parts/PartGeneration.h"
#include "text/TextEncoding.h"

namespace brisna {

class WindowFrame;  // the window's frame, when there is one (app/WindowFrame.h)

class CBrisnaMakeDlg {
  public:
    // Reads the suspicious-word list from "BrisnaMake.csv" in the current directory.
    CBrisnaMakeDlg(RichEdit& textView, ListBox& chapterList, ListBox& problemList,
                   DialogHost& host);
    // Reads the suspicious-word list from the given file instead (a missing file: empty list).
    CBrisnaMakeDlg(RichEdit& textView, ListBox& chapterList, ListBox& problemList, DialogHost& host,
                   const std::filesystem::path& suspiciousWordFile);

    // The window attaches its frame for the display toggles; nullptr detaches it.
    void SetWindowFrame(WindowFrame* frame) { frame_ = frame; }
    WindowFrame* Frame() const { return frame_; }

    // Routing. Each returns after its command has run to completion.
    void OnCommand(int controlId);             // BN_CLICKED of a button
    void OnListSelectionChanged(int listId);   // LBN_SELCHANGE of 1001 or 1012
    void OnListDoubleClicked(int listId);      // LBN_DBLCLK of 1012
    void OnFieldChanged(int fieldId);          // EN_CHANGE of 1014
    intptr_t OnUserMessage(uint32_t message);  // 0x1401 .. 0x1404; returns 1 when handled

    // The commands, one per control (defined beside the subsystem they belong to).
    void OnOpenText();                 // 1010 打开txt文件
    void OnAddChapter();               // 1008 添加章节
    void OnMoveUp();                   // 1005 上移, 0x1401
    void OnMoveDown();                 // 1006 下移, 0x1402
    void OnDeleteChapters();           // 1007 删除, 0x1403
    void OnDeleteAllChapters();        // 1019 全部删除, 0x1404
    void OnChapterSelectionChanged();  // LBN_SELCHANGE of 1001
    void OnTest();                     // 1013 生成测试
    void OnGenerate();                 // 1009 生成qbr
    void OnOpenQbr2();                 // 1011 打开qbr2文件
    void OnOpenQbr();                  // 1016 打开qbr
    void OnOpenEpub();                 // 打开EPUB (background menu)
    void OnGenerateEpub();             // 生成EPUB (background menu)
    void OnKeywordAdd();               // 1018 模糊添加章节
    void OnIncrementalAdd();           // 1020 递增添加章节
    void OnAutoDetectChapters();       // 自动识别章节 (background menu; the CLI's --auto)
    // 按规则识别章节…: chapters by the operator's pattern or short titles (the CLI's --pattern,
    // --volume-pattern, --short-titles). wholeBook: more chapters than one book holds are kept
    // for the parts and the EPUB without a question. False when nothing was marked or kept.
    bool OnRuleChapters(const ChapterRule& rule, bool wholeBook = false);
    void OnCheckMissing();             // 1027 检查缺章
    void OnGenerateParts();            // 分册生成 (background menu; the CLI's --parts)
    void OnProblemSelectionChanged();  // LBN_SELCHANGE of 1012
    void OnProblemDoubleClicked();     // LBN_DBLCLK of 1012
    void OnSearch();                   // 1015 搜索文本
    void OnSearchTextChanged();        // EN_CHANGE of 1014
    void OnConvertToSimplified();      // 1026 繁体转简体
    void OnToggleProblemList();        // 1021 关闭问题列表 / 显示问题列表
    void OnToggleWideDisplay();        // 1029 宽幅显示 / 窄幅显示

    // The contents editor of the window's chapter list and menu bar. Each is one undoable step.
    void OnRenameChapter(int32_t index, std::string_view gbkTitle);  // F2, double-click
    void OnMoveChapterTo(int32_t from, int32_t to);                  // drag and drop
    void OnSortChapters();                                           // 按位置排序
    // 撤销 / 重做 of the chapter commands and 繁体转简体 (typing has the text view's own undo).
    void OnUndo();
    void OnRedo();
    // Runs a command as one undoable step: the chapter list as it was is kept when the command
    // changed it (and the whole text too when `textToo`, for a command that rewrites the text).
    // A command that opened another book starts the history afresh instead.
    void RunRecorded(const std::function<void()>& command, bool textToo = false);
    ChapterHistory history;

    // Shared state, in the order the dialog declares it.
    CMyRECtrl bookText;
    ListBox& chapterList;
    ListBox& problemList;
    DialogHost& host;
    ChapterModel chapters;
    std::string bookSourcePath;                // platform file name bytes
    std::string openedBookPath;                // platform file name bytes
    int32_t detectionScanPosition = 0;         // byte offset the automatic adds continue from
    bool headingsAtLineStart = false;          // 仅匹配行首: headings only where a line begins
    std::vector<std::string> suspiciousWords;  // GBK, in file order
    int32_t problemListShown = 1;
    int32_t wideDisplay = 0;
    // The encoding the next 打开txt文件 reads the book in (kAuto: detected). It stays set until
    // changed.
    TextEncoding textEncoding = TextEncoding::kAuto;
    // What the last text book that loaded was read as, and the files the last 生成qbr wrote.
    TextEncoding loadedEncoding = TextEncoding::kGbk;
    std::vector<std::string> lastWrittenFiles;
    // The whole contents of the last EPUB opened, when they were more than the chapter list
    // holds; they stand for the book while it is as it was opened.
    OpenedContents openedContents;

    // Unsaved chapter work: the chapter list changed since the book was opened or last generated.
    // The window asks before closing, opening another book or deleting every chapter would throw
    // such work away; with nothing to lose it acts at once.
    bool ChaptersAtRisk() const;
    // The chapters as they stand are kept (a book was opened, or generated successfully).
    void MarkChaptersSaved() { savedChapterRevision_ = chapters.Revision(); }
    // True when the caller may go on: nothing to lose, no one to ask, or the operator agreed.
    bool ConfirmDiscardChapters();
    // Asks the operator a yes/no question (GBK text); unset where nobody can answer (command
    // line, tests of the core), and then the commands go on as they always did.
    std::function<bool(std::string_view gbkQuestion)> confirm;
    // 检查缺章 in the window: with nothing missing it says "没有发现缺少的章节" and leaves the
    // problem list as it was. Off for the command line, which prints what the list holds.
    bool tellWhenNothingMissing = false;
    // Counts the books loaded; a caller compares it before and after a command.
    uint64_t BooksOpened() const { return booksOpened_; }

    // 分册生成: the parts of the book as it stands: the whole contents of the EPUB it was opened
    // from while they hold, else the marked chapters, else (none marked) the whole book's
    // outline.
    PartPlan PlanBookParts();
    // The contents 生成EPUB writes when the chapter list does not hold them all (see
    // WholeBookContents); empty when it writes the chapter list.
    std::vector<TocEntry> WholeBookContentsNow();
    // Writes the planned parts; the window shows the plan first and writes on the operator's
    // word. Unset (command line, tests): 分册生成 writes at once.
    using PartsWriter = std::function<PartsOutcome(const PartsProgress&)>;
    std::function<void(const PartPlan& plan, const PartsWriter& write)> reviewPartsPlan;

  private:
    // Commands that look lines up rebuild a table that the operator's typing made stale.
    void RefreshLineTable();
    // Runs an open command after asking about unsaved chapters; a book that loads is the new
    // saved state.
    void OpenReplacingChapters(void (CBrisnaMakeDlg::*open)());
    void RouteCommand(int controlId);
    void CheckMissingChaptersTellingNone();
    intptr_t RouteUserMessage(uint32_t message);
    // Puts a kept state back: the records into model and list, and its text when it has one.
    void RestoreState(const ChapterListState& state);

    WindowFrame* frame_ = nullptr;
    uint64_t savedChapterRevision_ = 0;
    uint64_t booksOpened_ = 0;  // counts the books loaded, so a step can tell it opened one
};

}  // namespace brisna
