#include "gui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <tuple>
#include <utility>

#include "Capacities.h"
#include "Version.h"
#include "chapters/ChapterTitle.h"
#include "check/ProblemKinds.h"
#include "check/ValidationRules.h"
#include "detect/BookOutline.h"
#include "gui/CAboutDlg.h"
#include "gui/DetectionSettings.h"
#include "gui/DialogControls.h"
#include "gui/GuiMessages.h"
#include "gui/HelpWindow.h"
#include "gui/MenuActions.h"
#include "gui/PartsPlanDialog.h"
#include "gui/SettingsDialog.h"
#include "text/CodePage936.h"
#include "text/TextEncoding.h"

// The pictures live in the window library; a static library has to register them by hand.
static void InitResources() {
    Q_INIT_RESOURCE(BrisnaMake);
}

namespace brisna {

MainWindow::MainWindow(std::optional<std::filesystem::path> suspiciousWordFile)
    : textView_(nullptr), chapterList_(nullptr), problemList_(nullptr), host_(this) {
    InitResources();
    setWindowTitle(QString::fromUtf8(gui::captions::kWindowTitle) + QString::fromLatin1(kVersion));
    setWindowIcon(QIcon(QStringLiteral(":/brisna/BrisnaMake.png")));
    QFont dialogFont(QStringLiteral("Noto Sans CJK SC"));
    dialogFont.setPointSize(9);
    setFont(dialogFont);

    CreateControls();
    CreateWorkerSide();
    dlg_ = suspiciousWordFile
               ? std::make_unique<CBrisnaMakeDlg>(*workerText_, *workerChapters_, *workerProblems_,
                                                  *workerHost_, *suspiciousWordFile)
               : std::make_unique<CBrisnaMakeDlg>(*workerText_, *workerChapters_, *workerProblems_,
                                                  *workerHost_);
    dlg_->SetWindowFrame(workerFrame_.get());
    dlg_->headingsAtLineStart = LoadHeadingsAtLineStart();
    dlg_->bookText.SetTextRevisionSource([view = textView_] { return view->TextGeneration(); });
    dlg_->tellWhenNothingMissing = true;
    ConnectDialogQuestions();
    host_.beforeDialog = [this] { textView_->ShowPendingSelection(); };

    // The operator's clicks in the lists reach the dialog only while no command works on it.
    chapterList_->onSelectionChange = [this] {
        if (!Busy()) dlg_->OnListSelectionChanged(kChapterList);
    };
    chapterList_->onUserMessage = [this](uint32_t message) {
        if (!RefuseWhileBusy()) dlg_->OnUserMessage(message);
    };
    problemList_->onSelectionChange = [this] {
        if (!Busy()) dlg_->OnListSelectionChanged(kProblemList);
    };
    problemList_->onDoubleClick = [this] {
        if (!RefuseWhileBusy()) dlg_->OnListDoubleClicked(kProblemList);
    };

    chapterList_->onDoubleClick = [this] { RenameChapter(chapterList_->GetCaretIndex()); };
    chapterList_->onRenameRequest = [this](int32_t row) { RenameChapter(row); };
    chapterList_->onDeleteKey = [this] { RunCommand(kDeleteButton); };
    chapterList_->onMoveRequest = [this](int32_t from, int32_t to) {
        RunDialogCommand(0, [this, from, to] { dlg_->OnMoveChapterTo(from, to); });
    };

    lineStartAction_ = new QAction(QString::fromUtf8(gui::captions::kLineStartOnly), this);
    lineStartAction_->setCheckable(true);
    lineStartAction_->setChecked(dlg_->headingsAtLineStart);
    connect(lineStartAction_, &QAction::toggled, this, [this](bool checked) {
        // A running command keeps the choice it started with; the next one takes this.
        if (!Busy()) dlg_->headingsAtLineStart = checked;
        SaveHeadingsAtLineStart(checked);
    });
    BuiltMenus built = BuildMenus(*this);
    menus_ = std::move(built.menus);
    backgroundItems_ = std::move(built.background);
    backgroundMenu_ = new QMenu(this);
    connect(backgroundMenu_, &QMenu::aboutToShow, this, &MainWindow::BuildBackgroundMenu);
    BuildBackgroundMenu();
    SetUpKeyboard();

    // A book dropped anywhere opens; on the text it must not become text.
    setAcceptDrops(true);
    textView_->fileDropHandler = [this](const QMimeData* data, bool open) {
        const QString book = DroppedBook(data);
        if (book.isEmpty()) return false;
        if (open) {
            QTimer::singleShot(0, this, [this, book] { OpenBookFile(book); });
        }
        return true;
    };

    resize(kInitialClientWidth, kInitialClientHeight);
    LayOutControls();
    UpdateStatus(0, false);
}

void MainWindow::BuildBackgroundMenu() {
    FillBackgroundMenu(*this, backgroundMenu_, backgroundItems_);
}

QAction* MainWindow::MenuAction(const QString& text) const {
    return FindMenuAction(menus_, text);
}

void MainWindow::FocusSearchField() {
    auto* search = qobject_cast<QLineEdit*>(Control(kSearchEdit));
    search->setFocus(Qt::ShortcutFocusReason);
    search->selectAll();
}

bool MainWindow::CanReopenText() const {
    return textBookOpen_ && !dlg_->bookSourcePath.empty();
}

void MainWindow::ReopenTextAs(TextEncoding encoding) {
    if (RefuseWhileBusy() || dlg_->bookSourcePath.empty()) return;
    const QString path = QFile::decodeName(QByteArray::fromStdString(dlg_->bookSourcePath));
    // The choice is for this one opening; the next 打开txt文件 detects again.
    struct Restore {
        CBrisnaMakeDlg& dialog;
        ~Restore() { dialog.textEncoding = TextEncoding::kAuto; }
    } restore{*dlg_};
    dlg_->textEncoding = encoding;
    OpenWithCommand(kOpenTextButton, path);
}

void MainWindow::SetUpKeyboard() {
    SetDialogTabOrder(controls_);

    auto* search = qobject_cast<QLineEdit*>(Control(kSearchEdit));
    connect(search, &QLineEdit::returnPressed, this, [this] { RunCommand(kSearchButton); });
    auto* start = qobject_cast<QLineEdit*>(Control(kStartChapterEdit));
    connect(start, &QLineEdit::returnPressed, this, [this] { RunCommand(kIncrementalAddButton); });
}

void MainWindow::RunCommand(int controlId) {
    if (onCommand) onCommand(controlId);
    RunDialogCommand(controlId, [this, controlId] { dlg_->OnCommand(controlId); });
}

void MainWindow::RunDialogCommand(int controlId, const std::function<void()>& command,
                                  const QString& busyLabel) {
    if (RefuseWhileBusy()) return;
    const bool opening = controlId == kOpenTextButton || controlId == kOpenQbr2Button ||
                         controlId == kOpenQbrButton || controlId == kOpenEpubCommand;
    const uint64_t textBefore = textView_->TextGeneration();
    const uint64_t booksBefore = dlg_->BooksOpened();
    const QString label = busyLabel.isEmpty() ? BusyLabelFor(controlId) : busyLabel;
    host_.ForgetChosenPath();
    countedOutline_.reset();
    textView_->BeginCommand();
    try {
        if (label.isEmpty()) {
            command();
        } else {
            RunInBackground(label, [&] {
                command();
                // A book that opened is counted here too, off the window's thread.
                if (opening || dlg_->BooksOpened() != booksBefore) {
                    countedOutline_ = CountOutlineChapters();
                }
            });
        }
    } catch (...) {
        textView_->EndCommand();
        throw;  // reported at the top of the event loop
    }
    textView_->EndCommand();
    if (opening && host_.LastChosenPath() && textView_->TextGeneration() != textBefore) {
        recent_.Add(*host_.LastChosenPath());
        textBookOpen_ = controlId == kOpenTextButton;
        shownBook_ = *host_.LastChosenPath();
        shownBookCommand_ = controlId;
    }
    // The core has emptied the problem list of another book; its filter and summary go too.
    const bool anotherBook = dlg_->BooksOpened() != booksBefore;
    if (anotherBook) SetProblemFilter(0);
    UpdateStatus(controlId, anotherBook);
}

int MainWindow::OpenCommandFor(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)) return kOpenTextButton;
    if (name.endsWith(QStringLiteral(".qbr2"), Qt::CaseInsensitive)) return kOpenQbr2Button;
    if (name.endsWith(QStringLiteral(".qbr"), Qt::CaseInsensitive)) return kOpenQbrButton;
    if (name.endsWith(QStringLiteral(".epub"), Qt::CaseInsensitive)) return kOpenEpubCommand;
    return 0;
}

void MainWindow::OpenBookFile(const QString& path) {
    const int command = OpenCommandFor(path);
    OpenWithCommand(command != 0 ? command : kOpenTextButton, path);
}

void MainWindow::OpenWithCommand(int controlId, const QString& path) {
    OpenWithCommandBytes(controlId, QFile::encodeName(path).toStdString());
}

void MainWindow::OpenAfterFirstPaint(const QString& path) {
    pendingOpen_ = path;
    update();
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (pendingOpen_.isEmpty()) return;
    // From the event loop, once this paint has reached the screen.
    QString path = std::exchange(pendingOpen_, QString());
    QTimer::singleShot(0, this, [this, path] { OpenBookFile(path); });
}

void MainWindow::OpenRecentBook(const QByteArray& path) {
    const std::string bytes = path.toStdString();
    // The menu shows a vanished book disabled; this is for one that went while it was open.
    if (const RecentBookState state = RecentBooks::StateOf(path);
        state != RecentBookState::kReadable) {
        host_.ShowMessage(Utf8ToGbk(RecentBooks::UnreadableMessage(path, state)),
                          MessageCaption::kNone);
        return;
    }
    const int command = OpenCommandFor(QFile::decodeName(path));
    OpenWithCommandBytes(command != 0 ? command : kOpenTextButton, bytes);
}

void MainWindow::OpenWithCommandBytes(int controlId, const std::string& path) {
    if (RefuseWhileBusy()) return;
    auto previous = std::move(host_.fileBytesChooser);
    bool answered = false;
    host_.fileBytesChooser = [&](FileFilter) -> std::optional<std::string> {
        if (answered) return std::nullopt;
        answered = true;
        return path;
    };
    RunCommand(controlId);
    host_.fileBytesChooser = std::move(previous);
}

QString MainWindow::DroppedBook(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return {};
    const QString path = urls.first().toLocalFile();
    return OpenCommandFor(path) != 0 ? path : QString();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedBook(event->mimeData()).isEmpty()) {
        event->ignore();
    } else {
        event->acceptProposedAction();
    }
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (DroppedBook(event->mimeData()).isEmpty()) {
        event->ignore();
    } else {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString book = DroppedBook(event->mimeData());
    if (book.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // After the drop has ended: the open may ask questions and show messages.
    QTimer::singleShot(0, this, [this, book] { OpenBookFile(book); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (RefuseWhileBusy() || (dlg_ && !dlg_->ConfirmDiscardChapters())) {
        event->ignore();
        return;
    }
    event->accept();
}

MainWindow::~MainWindow() {
    // The dialog holds references to the controls; let it go before they do.
    if (dlg_) dlg_->SetWindowFrame(nullptr);
    dlg_.reset();
}

void MainWindow::CreateControls() {
    controls_ = CreateDialogControls(this);
    chapterList_ = controls_.chapters;
    textView_ = controls_.text;
    problemList_ = controls_.problems;
    problemFilter_ = controls_.problemFilter;
    for (auto& [id, widget] : controls_.byId) {
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            connect(button, &QPushButton::clicked, this, [this, id] { RunCommand(id); });
        }
    }
    auto* search = qobject_cast<QLineEdit*>(Control(kSearchEdit));
    connect(search, &QLineEdit::textChanged, this, [this] {
        if (!Busy()) dlg_->OnFieldChanged(kSearchEdit);
    });
    host_.AttachField(kSearchField, search);
    host_.AttachField(kStartChapterField, qobject_cast<QLineEdit*>(Control(kStartChapterEdit)));
    connect(problemFilter_, &QComboBox::currentIndexChanged, this,
            [this](int choice) { SetProblemFilter(choice); });
}

QWidget* MainWindow::Control(int controlId) const {
    auto it = controls_.byId.find(controlId);
    return it == controls_.byId.end() ? nullptr : it->second;
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            // No question and nothing saved: the window just goes.
            window()->close();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return;  // Enter never ends or acts on this window
        default:
            QWidget::keyPressEvent(event);
    }
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    // Only the background and the frames: a button, label or list the event passed through on
    // its way up has no business opening this menu.
    QWidget* under = childAt(event->pos());
    if (under != nullptr && qobject_cast<QGroupBox*>(under) == nullptr) return;
    backgroundMenu_->popup(event->globalPos());
}

void MainWindow::ShowAbout() {
    CAboutDlg about(this);
    about.exec();
}

void MainWindow::ShowSettings(const QString& page) {
    SettingsDialog settings(this);
    if (!page.isEmpty()) settings.ShowPage(page);
    if (settings.exec() != QDialog::Accepted) return;
    // The menus' own copy of a saved choice follows it (and tells the dialog through toggled).
    lineStartAction_->setChecked(LoadHeadingsAtLineStart());
}

void MainWindow::OpenTextAtStart(const QString& path) {
    OpenWithCommand(kOpenTextButton, path);
}

void MainWindow::SetProblemFilter(int choice) {
    if (problemFilter_->currentIndex() != choice) {
        problemFilter_->setCurrentIndex(choice);  // comes back here through the signal
        return;
    }
    constexpr ProblemKind kKinds[] = {ProblemKind::kBlocking, ProblemKind::kSuspicious,
                                      ProblemKind::kGarbled, ProblemKind::kEmptyLine};
    if (choice <= 0 || choice > 4) {
        problemList_->SetRowFilter({});
        return;
    }
    const ProblemKind kind = kKinds[choice - 1];
    problemList_->SetRowFilter(
        [kind](const std::string&, intptr_t data) { return ProblemKindOfData(data) == kind; });
}

void MainWindow::RenameChapter(int32_t row) {
    if (RefuseWhileBusy() || row < 0 || row >= chapterList_->GetCount()) return;
    const QString current = QString::fromStdString(GbkToUtf8Lossless(chapterList_->GetText(row)));
    QString offered = current;
    for (;;) {
        const std::optional<QString> title = AskChapterTitle(offered);
        if (!title || *title == current) return;
        const std::string gbk = Utf8ToGbk(title->toStdString());
        bool renamed = false;
        const size_t told = host_.Messages().size();
        RunDialogCommand(0, [&] { renamed = dlg_->OnRenameChapter(row, gbk); });
        if (renamed || host_.Messages().size() == told) return;
        // Refused (too long, say): the editor comes back with what was typed, to be shortened
        // rather than typed again.
        offered = *title;
    }
}

std::optional<QString> MainWindow::AskChapterTitle(const QString& offered) {
    if (titlePrompt) return titlePrompt(offered);
    QInputDialog dialog(this);
    dialog.setWindowTitle(QString::fromUtf8(gui::captions::kRenameTitle));
    dialog.setLabelText(QString::fromUtf8(gui::messages::kRenamePrompt).arg(kTitleBytes - 1));
    dialog.setTextValue(offered);
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

void MainWindow::Undo() {
    // Typing is undone by the text view itself; the menu item reaches it while it has the focus.
    if (textView_->hasFocus() && textView_->document()->isUndoAvailable()) {
        textView_->undo();
        return;
    }
    RunDialogCommand(0, [this] { dlg_->OnUndo(); });
}

void MainWindow::Redo() {
    if (textView_->hasFocus() && textView_->document()->isRedoAvailable()) {
        textView_->redo();
        return;
    }
    RunDialogCommand(0, [this] { dlg_->OnRedo(); });
}

void MainWindow::UpdateStatus(int controlId, bool anotherBook) {
    Status status = status_;
    const QString caption =
        QString::fromUtf8(gui::captions::kWindowTitle) + QString::fromLatin1(kVersion);
    if (shownBook_.empty()) {
        status.book = QString::fromUtf8(gui::messages::kNoBookOpen);
        setWindowTitle(caption);
    } else {
        const QString kind = shownBookCommand_ == kOpenTextButton
                                 ? EncodingText(dlg_->loadedEncoding)
                             : shownBookCommand_ == kOpenQbr2Button  ? QStringLiteral("qbr2")
                             : shownBookCommand_ == kOpenEpubCommand ? QStringLiteral("EPUB")
                                                                     : QStringLiteral("qbr");
        status.book = BookSummary(shownBook_, kind);
        setWindowTitle(FileNameOf(shownBook_) + QStringLiteral(" - ") + caption);
    }
    const bool opened =
        controlId == kOpenTextButton || controlId == kOpenQbr2Button || controlId == kOpenQbrButton;
    // A novel longer than one book is told of when it opens, before any marking: it needs 分册生成.
    if (opened || anotherBook || controlId == kOpenEpubCommand) {
        outlineChapters_ = countedOutline_ ? *countedOutline_ : CountOutlineChapters();
    }
    if (anotherBook) status.problems.clear();
    status.chapters = ChapterSummary(dlg_->chapters.Count(), outlineChapters_);
    if (controlId == kTestButton || controlId == kCheckMissingButton) {
        status.problems = ProblemSummary(CountProblemKinds(*problemList_));
    }
    if (opened || anotherBook || controlId == kGenerateButton ||
        controlId == kGenerateEpubCommand || status.notice.isEmpty()) {
        status.notice = NameLimitNotice(dlg_->bookSourcePath);
    }
    const bool generated = controlId == kGenerateButton || controlId == kGenerateEpubCommand;
    if (anotherBook || generated) status.writtenFolder.clear();
    if (generated && !dlg_->lastWrittenFiles.empty()) {
        status.notice = WrittenFilesNotice(dlg_->lastWrittenFiles);
        status.writtenFolder = WrittenFolder(dlg_->lastWrittenFiles);
    }
    if (partsWritten_) {
        std::tie(status.notice, status.writtenFolder) = *std::exchange(partsWritten_, {});
    }
    const bool changed = status != status_;
    status_ = std::move(status);
    if (changed) emit statusChanged();
}

}  // namespace brisna
