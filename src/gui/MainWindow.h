#pragma once
// The main window: every control of the dialog at its id, the layout applied on each resize, the
// display toggles' frame, and the routing of clicks and notifications to CBrisnaMakeDlg.

#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/CBrisnaMakeDlg.h"
#include "app/WindowFrame.h"
#include "gui/BackgroundWork.h"
#include "gui/CMyListBox.h"
#include "gui/DialogControls.h"
#include "gui/InterfaceThreadControls.h"
#include "gui/MenuActions.h"
#include "gui/QtDialogHost.h"
#include "gui/QtListBox.h"
#include "gui/QtRichEdit.h"
#include "gui/RecentBooks.h"
#include "gui/StatusSummary.h"

class QAction;
class QComboBox;
class QMenu;
class QMimeData;
class QUrl;

namespace brisna {

class MainWindow : public QWidget, public WindowFrame {
    Q_OBJECT
  public:
    // Reads the suspicious-word list from "BrisnaMake.csv" in the current directory, or from the
    // given file.
    explicit MainWindow(std::optional<std::filesystem::path> suspiciousWordFile = std::nullopt);
    ~MainWindow() override;

    CBrisnaMakeDlg& Dialog() { return *dlg_; }
    QtDialogHost& Host() { return host_; }
    QtRichEdit& TextView() { return *textView_; }
    CMyListBox& ChapterList() { return *chapterList_; }
    QtListBox& ProblemList() { return *problemList_; }
    // The control with a dialog id (buttons, edits, lists, frames, the label).
    QWidget* Control(int controlId) const;

    // Opens a text file as the "打开txt文件" button does, answering its file dialog with the path.
    void OpenTextAtStart(const QString& path);
    // Opens a file through the command its extension names (.qbr2, .qbr, anything else as
    // text), exactly as that button would with the path chosen in its dialog.
    void OpenBookFile(const QString& path);
    // Opens the file once the window has painted itself for the first time, so a big book never
    // leaves an unpainted window on the screen while it loads.
    void OpenAfterFirstPaint(const QString& path);
    // The open command for a file by its extension (case-insensitive): 1010 for .txt, 1011 for
    // .qbr2, 1016 for .qbr; 0 for anything else.
    static int OpenCommandFor(const QString& path);
    // Presses a button: runs its command and keeps the window's own records (recent books,
    // chapters saved by generation).
    void RunCommand(int controlId);
    // Runs a dialog command as a button press does (controlId: the button, or 0 for a command
    // that has none), keeping the window's records. A long command (one with a busy label, its
    // own or the button's) runs on a worker while the window serves its events; either way this
    // returns when the command has finished.
    void RunDialogCommand(int controlId, const std::function<void()>& command,
                          const QString& busyLabel = QString());
    // What the window says while the command of this button runs in the background ("正在生成
    // EPUB…"); empty for a quick command, which runs on the window's thread.
    static QString BusyLabelFor(int controlId);
    // True while a long command runs; the caller must not start another. RefuseWhileBusy also
    // tells the operator so.
    bool Busy() const { return work_->Busy(); }
    bool RefuseWhileBusy();
    BackgroundWork& Work() { return *work_; }
    // Shows the About box modally.
    void ShowAbout();
    // The 设置 dialog, opened at the page with this caption (the first page when empty); what it
    // saved takes effect at once.
    void ShowSettings(const QString& page = QString());
    // The background menu: the recent books, then the items the menu table marks for it
    // (rebuilt each time it opens).
    QMenu* BackgroundMenu() const { return backgroundMenu_; }
    void BuildBackgroundMenu();
    // Opens the current book text again as "打开txt文件" would, read as `encoding` this once.
    void ReopenTextAs(TextEncoding encoding);
    // Whether the book on show came from a text file that can be read again.
    bool CanReopenText() const;
    // Opens a book of the recent list; one that has vanished is told of.
    void OpenRecentBook(const QByteArray& path);
    // The one 仅匹配行首 choice, shared by every menu showing it.
    QAction* LineStartAction() const { return lineStartAction_; }
    // Puts the cursor into the search field with its text selected.
    void FocusSearchField();
    RecentBooks& Recent() { return recent_; }
    // Gives the window its first size on a screen with the given usable area (logical pixels).
    void FitFirstSizeTo(const QRect& available);

    // The menus of the menu bar (文件, 章节, 检查, 生成, 帮助), in order. Their items are actions
    // of this window too, so their shortcuts work wherever the window is shown.
    const QList<QMenu*>& Menus() const { return menus_; }
    // The item of the menus with this text (mnemonic '&' and the shortcut hint left out).
    QAction* MenuAction(const QString& text) const;
    // Tells of every command a button, menu item or shortcut runs, by its button's id.
    std::function<void(int controlId)> onCommand;

    // What the status bar shows: the book (name, encoding, size), its chapters, the problems
    // listed by kind, and a notice (a file name too long to generate, the files generated).
    using Status = StatusSummary;
    const Status& CurrentStatus() const { return status_; }

    // The contents editor: asks for a new title of chapter `row` (titlePrompt answers in
    // tests, given the text the editor offers), asking again with the typed title when the
    // rename is refused; moves, sorts, undoes and redoes.
    void RenameChapter(int32_t row);
    std::function<std::optional<QString>(const QString& current)> titlePrompt;
    void Undo();
    void Redo();

    // The filter above the problem list: 0 全部, 1 阻止生成, 2 可疑字, 3 乱码, 4 空行.
    QComboBox* ProblemFilter() const { return problemFilter_; }
    void SetProblemFilter(int choice);

    // Opens the manual in the desktop's browser (urlOpener answers in tests); where no browser
    // takes it, in a help window of the program.
    void ShowManual();
    std::function<bool(const QUrl& url)> urlOpener;
    // Opens the folder the last generation wrote to in the file manager (urlOpener in tests).
    void OpenWrittenFolder();
    // Where the manual is: beside an installed program, else in the build tree.
    static QString ManualPath();

    // The top-level window's state changed (maximised or restored).
    void WindowStateChanged();

  signals:
    void statusChanged();
    // A passing word for the status bar (a command refused while another runs).
    void transientNotice(const QString& text);

  public:
    // WindowFrame
    PixelRect WindowRect() const override;
    bool IsMaximized() const override;
    void MoveWindow(const PixelRect& rect) override;
    void LayOutControls() override;
    void SetControlText(int controlId, std::string_view gbk) override;
    void ShowControl(int controlId, bool show) override;
    void EnableControl(int controlId, bool enable) override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateControls();
    void SetUpKeyboard();
    void HandleResize();
    void UpdateMinimumSize();
    void OpenWithCommand(int controlId, const QString& path);
    void OpenWithCommandBytes(int controlId, const std::string& path);
    // After a command; anotherBook: it opened a book, which starts with nothing found or written.
    void UpdateStatus(int controlId, bool anotherBook);
    // The dialog's controls, operator and frame as a worker reaches them; the dialog is built over
    // these, so a command runs the same on either thread.
    void CreateWorkerSide();
    // What the dialog asks the operator outside its host (a question, the parts plan).
    void ConnectDialogQuestions();
    // Runs a long command on the worker; the text cannot be typed in meanwhile.
    void RunInBackground(const QString& label, const std::function<void()>& work);
    // Counts the chapters of the whole book's outline (no 98-chapter cap).
    size_t CountOutlineChapters();
    void ShowHelpWindow(const QString& path);
    // The title editor, offering `offered` selected; nothing when cancelled.
    std::optional<QString> AskChapterTitle(const QString& offered);
    void PlaceProblemFilter();
    // The one book file in a drag, when it is a kind the window opens; empty otherwise.
    static QString DroppedBook(const QMimeData* data);

    QtRichEdit* textView_;
    CMyListBox* chapterList_;
    QtListBox* problemList_;
    QtDialogHost host_;
    std::unique_ptr<InterfaceThreadRichEdit> workerText_;
    std::unique_ptr<InterfaceThreadListBox> workerChapters_;
    std::unique_ptr<InterfaceThreadListBox> workerProblems_;
    std::unique_ptr<InterfaceThreadHost> workerHost_;
    std::unique_ptr<InterfaceThreadFrame> workerFrame_;
    BackgroundWork* work_ = nullptr;
    std::unique_ptr<CBrisnaMakeDlg> dlg_;
    DialogControls controls_;
    QMenu* backgroundMenu_ = nullptr;
    RecentBooks recent_;
    bool wasMaximized_ = false;
    bool textBookOpen_ = false;  // the book on show came from a text file
    QString pendingOpen_;
    QList<QMenu*> menus_;
    QList<BuiltMenus::BackgroundItem> backgroundItems_;
    QAction* lineStartAction_ = nullptr;
    QComboBox* problemFilter_ = nullptr;
    Status status_;
    // Chapters of the whole book's outline, counted when a book opens (no 98-chapter cap).
    size_t outlineChapters_ = 0;
    // What the last 分册生成 wrote (notice, folder), until the status bar has shown it.
    std::optional<std::pair<QString, QString>> partsWritten_;
    // Set when the outline was counted by the command that just ran (on its worker).
    std::optional<size_t> countedOutline_;
    std::string shownBook_;  // the book on show, as its path's bytes
    int shownBookCommand_ = 0;
};

}  // namespace brisna
