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
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <utility>

#include "Capacities.h"
#include "Version.h"
#include "chapters/ChapterTitle.h"
#include "check/ProblemKinds.h"
#include "check/ValidationRules.h"
#include "detect/BookOutline.h"
#include "gui/CAboutDlg.h"
#include "gui/DetectionSettings.h"
#include "gui/PartsPlanDialog.h"
#include "gui/PatternDialog.h"
#include "text/CodePage936.h"
#include "text/TextEncoding.h"

// The pictures live in the window library; a static library has to register them by hand.
static void InitResources() {
    Q_INIT_RESOURCE(BrisnaMake);
}

namespace brisna {
namespace {

struct ButtonSpec {
    int id;
    const char* caption;
};

// Every button of the dialog with its caption.
constexpr ButtonSpec kButtons[] = {
    {kMoveUpButton, "上移"},
    {kMoveDownButton, "下移"},
    {kDeleteButton, "删除"},
    {kAddChapterButton, "添加章节"},
    {kGenerateButton, "生成qbr"},
    {kOpenTextButton, "打开txt文件"},
    {kOpenQbr2Button, "打开qbr2文件"},
    {kTestButton, "生成测试"},
    {kSearchButton, "搜索文本"},
    {kOpenQbrButton, "打开qbr"},
    {kKeywordAddButton, "模糊添加章节"},
    {kDeleteAllButton, "全部删除"},
    {kIncrementalAddButton, "递增添加章节"},
    {kProblemListToggle, "关闭问题列表"},
    {kConvertButton, "繁体转简体"},
    {kCheckMissingButton, "检查缺章"},
    {kWideDisplayToggle, "宽幅显示"},
};

}  // namespace

MainWindow::MainWindow(std::optional<std::filesystem::path> suspiciousWordFile)
    : textView_(nullptr), chapterList_(nullptr), problemList_(nullptr), host_(this) {
    InitResources();
    setWindowTitle(QStringLiteral("Quorvi EBook 编辑工具 V") + QString::fromLatin1(kVersion));
    setWindowIcon(QIcon(QStringLiteral(":/brisna/BrisnaMake.png")));
    QFont dialogFont(QStringLiteral("Noto Sans CJK SC"));
    dialogFont.setPointSize(9);
    setFont(dialogFont);

    CreateControls();
    dlg_ = suspiciousWordFile
               ? std::make_unique<CBrisnaMakeDlg>(*textView_, *chapterList_, *problemList_, host_,
                                                  *suspiciousWordFile)
               : std::make_unique<CBrisnaMakeDlg>(*textView_, *chapterList_, *problemList_, host_);
    dlg_->SetWindowFrame(this);
    dlg_->headingsAtLineStart = LoadHeadingsAtLineStart();
    dlg_->bookText.SetTextRevisionSource([view = textView_] { return view->TextGeneration(); });
    dlg_->confirm = [this](std::string_view question) { return host_.Confirm(question); };
    dlg_->reviewPartsPlan = [this](const PartPlan& plan, const CBrisnaMakeDlg::PartsWriter& write) {
        PartsPlanDialog dialog(plan, write, this);
        dialog.exec();
    };
    host_.beforeDialog = [this] { textView_->ShowPendingSelection(); };

    chapterList_->onSelectionChange = [this] { dlg_->OnListSelectionChanged(kChapterList); };
    chapterList_->onUserMessage = [this](uint32_t message) { dlg_->OnUserMessage(message); };
    problemList_->onSelectionChange = [this] { dlg_->OnListSelectionChanged(kProblemList); };
    problemList_->onDoubleClick = [this] { dlg_->OnListDoubleClicked(kProblemList); };

    chapterList_->onDoubleClick = [this] { RenameChapter(chapterList_->GetCaretIndex()); };
    chapterList_->onRenameRequest = [this](int32_t row) { RenameChapter(row); };
    chapterList_->onDeleteKey = [this] { RunCommand(kDeleteButton); };
    chapterList_->onMoveRequest = [this](int32_t from, int32_t to) {
        RunDialogCommand(0, [this, from, to] { dlg_->OnMoveChapterTo(from, to); });
    };

    lineStartAction_ = new QAction(QStringLiteral("仅匹配行首"), this);
    lineStartAction_->setCheckable(true);
    lineStartAction_->setChecked(dlg_->headingsAtLineStart);
    connect(lineStartAction_, &QAction::toggled, this, [this](bool checked) {
        dlg_->headingsAtLineStart = checked;
        SaveHeadingsAtLineStart(checked);
    });
    backgroundMenu_ = new QMenu(this);
    connect(backgroundMenu_, &QMenu::aboutToShow, this, &MainWindow::BuildBackgroundMenu);
    BuildBackgroundMenu();
    CreateMenus();
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
    UpdateStatus(0);
}

void MainWindow::BuildBackgroundMenu() {
    backgroundMenu_->clear();
    // clear() leaves submenus alive as children; they are rebuilt below.
    qDeleteAll(backgroundMenu_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
    AddRecentBooks(backgroundMenu_);
    if (!recent_.Paths().isEmpty()) backgroundMenu_->addSeparator();
    connect(backgroundMenu_->addAction(QStringLiteral("自动识别章节")), &QAction::triggered, this,
            [this] { RunDialogCommand(0, [this] { dlg_->OnAutoDetectChapters(); }); });
    connect(backgroundMenu_->addAction(QStringLiteral("分册生成")), &QAction::triggered, this,
            [this] { RunDialogCommand(0, [this] { dlg_->OnGenerateParts(); }); });
    backgroundMenu_->addAction(lineStartAction_);
    AddReopenMenu(backgroundMenu_);
    backgroundMenu_->addSeparator();
    connect(backgroundMenu_->addAction(QStringLiteral("打开EPUB")), &QAction::triggered, this,
            [this] { RunCommand(kOpenEpubCommand); });
    connect(backgroundMenu_->addAction(QStringLiteral("生成EPUB")), &QAction::triggered, this,
            [this] { RunCommand(kGenerateEpubCommand); });
    backgroundMenu_->addSeparator();
    connect(backgroundMenu_->addAction(QStringLiteral("关于 BrisnaMake(&A)...")),
            &QAction::triggered, this, &MainWindow::ShowAbout);
}

void MainWindow::AddRecentBooks(QMenu* menu) {
    const QList<QByteArray> books = recent_.Paths();
    for (qsizetype i = 0; i < books.size(); ++i) {
        const QByteArray path = books.at(i);
        QString shown = RecentBooks::Shown(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const bool exists = QFileInfo(QFile::decodeName(path)).isFile() ||
                            std::filesystem::is_regular_file(path.toStdString());
        if (!exists) shown += QStringLiteral("（文件不存在）");
        QAction* open = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        open->setData(path);
        open->setEnabled(exists);
        connect(open, &QAction::triggered, this, [this, path] { OpenRecentBook(path); });
    }
}

void MainWindow::AddReopenMenu(QMenu* menu) {
    QMenu* reopen = menu->addMenu(QStringLiteral("按编码重新打开(&E)"));
    reopen->setEnabled(textBookOpen_ && !dlg_->bookSourcePath.empty());
    const std::pair<QString, TextEncoding> encodings[] = {
        {QStringLiteral("自动检测"), TextEncoding::kAuto},
        {QStringLiteral("GBK（简体中文）"), TextEncoding::kGbk},
        {QStringLiteral("UTF-8"), TextEncoding::kUtf8},
        {QStringLiteral("UTF-16LE"), TextEncoding::kUtf16Le},
        {QStringLiteral("UTF-16BE"), TextEncoding::kUtf16Be},
        {QStringLiteral("Big5（繁体中文）"), TextEncoding::kBig5},
    };
    for (const auto& [label, encoding] : encodings) {
        connect(reopen->addAction(label), &QAction::triggered, this,
                [this, encoding] { ReopenTextAs(encoding); });
    }
}

void MainWindow::CreateMenus() {
    const auto item = [this](QMenu* menu, const QString& text, auto run,
                             const QList<QKeySequence>& keys = {}) {
        QAction* action = menu->addAction(text);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, run);
        addAction(action);  // the shortcut works without a menu bar too
        return action;
    };
    const auto button = [this](int id) { return [this, id] { RunCommand(id); }; };

    QMenu* file = new QMenu(QStringLiteral("文件(&F)"), this);
    item(file, QStringLiteral("打开txt文件(&O)..."), button(kOpenTextButton), {QKeySequence::Open});
    item(file, QStringLiteral("打开qbr2文件..."), button(kOpenQbr2Button));
    item(file, QStringLiteral("打开qbr..."), button(kOpenQbrButton));
    item(file, QStringLiteral("打开EPUB..."), button(kOpenEpubCommand));
    // Rebuilt each time, as the background menu is: the encodings and the recent books.
    QMenu* reopenHolder = file->addMenu(QStringLiteral("按编码重新打开(&E)"));
    QMenu* recent = file->addMenu(QStringLiteral("最近打开的图书(&R)"));
    connect(file, &QMenu::aboutToShow, this, [this, file, reopenHolder, recent] {
        reopenHolder->clear();
        qDeleteAll(reopenHolder->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
        QMenu scratch;
        AddReopenMenu(&scratch);
        QMenu* built = scratch.findChild<QMenu*>();
        reopenHolder->setEnabled(built->isEnabled());
        for (QAction* action : built->actions()) {
            action->setParent(reopenHolder);
            reopenHolder->addAction(action);
        }
        recent->clear();
        AddRecentBooks(recent);
        recent->setEnabled(!recent->isEmpty());
        (void)file;
    });
    file->addSeparator();
    item(file, QStringLiteral("退出(&X)"), [this] { window()->close(); }, {QKeySequence::Quit});

    QMenu* chapters = new QMenu(QStringLiteral("章节(&C)"), this);
    item(chapters, QStringLiteral("添加章节(&A)"), button(kAddChapterButton));
    item(chapters, QStringLiteral("递增添加章节(&I)"), button(kIncrementalAddButton));
    item(chapters, QStringLiteral("模糊添加章节(&K)"), button(kKeywordAddButton));
    item(chapters, QStringLiteral("自动识别章节(&D)"),
         [this] { RunDialogCommand(0, [this] { dlg_->OnAutoDetectChapters(); }); });
    item(chapters, QStringLiteral("按规则识别章节(&R)…"), [this] {
        if (auto rule = AskChapterRule(ReadBookText(dlg_->bookText.View()), this))
            RunDialogCommand(0, [this, rule] { dlg_->OnRuleChapters(*rule); });
    });
    chapters->addAction(lineStartAction_);
    chapters->addSeparator();
    item(chapters, QStringLiteral("上移(&U)"), button(kMoveUpButton));
    item(chapters, QStringLiteral("下移(&N)"), button(kMoveDownButton));
    // Delete belongs to the chapter list (in the text it deletes text); the hint says so.
    item(chapters, QStringLiteral("删除\tDel"), button(kDeleteButton));
    item(chapters, QStringLiteral("全部删除"), button(kDeleteAllButton));
    chapters->addSeparator();
    item(chapters, QStringLiteral("重命名(&M)"),
         [this] { RenameChapter(chapterList_->GetCaretIndex()); }, {QKeySequence(Qt::Key_F2)});
    item(chapters, QStringLiteral("按位置排序(&S)"),
         [this] { RunDialogCommand(0, [this] { dlg_->OnSortChapters(); }); });
    chapters->addSeparator();
    item(chapters, QStringLiteral("撤销(&Z)"), [this] { Undo(); }, {QKeySequence::Undo});
    item(chapters, QStringLiteral("重做(&Y)"), [this] { Redo(); },
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

    QMenu* check = new QMenu(QStringLiteral("检查(&K)"), this);
    item(check, QStringLiteral("生成测试(&T)"), button(kTestButton));
    item(check, QStringLiteral("检查缺章(&M)"), button(kCheckMissingButton));
    check->addSeparator();
    item(check, QStringLiteral("查找(&F)..."),
         [this] {
             auto* search = qobject_cast<QLineEdit*>(Control(kSearchEdit));
             search->setFocus(Qt::ShortcutFocusReason);
             search->selectAll();
         },
         {QKeySequence::Find});
    item(check, QStringLiteral("搜索文本(&S)"), button(kSearchButton), {QKeySequence(Qt::Key_F3)});
    check->addSeparator();
    item(check, QStringLiteral("繁体转简体(&J)"), button(kConvertButton));

    QMenu* generate = new QMenu(QStringLiteral("生成(&G)"), this);
    item(generate, QStringLiteral("生成qbr(&Q)"), button(kGenerateButton));
    item(generate, QStringLiteral("分册生成(&P)"),
         [this] { RunDialogCommand(0, [this] { dlg_->OnGenerateParts(); }); });
    item(generate, QStringLiteral("生成EPUB(&E)"), button(kGenerateEpubCommand));

    QMenu* help = new QMenu(QStringLiteral("帮助(&H)"), this);
    item(help, QStringLiteral("使用说明(&H)"), [this] { ShowManual(); },
         {QKeySequence::HelpContents});
    item(help, QStringLiteral("关于 BrisnaMake(&A)..."), [this] { ShowAbout(); });

    menus_ = {file, chapters, check, generate, help};
}

QAction* MainWindow::MenuAction(const QString& text) const {
    const auto plain = [](QString label) {
        label = label.section(QLatin1Char('\t'), 0, 0);
        const qsizetype mnemonic = label.indexOf(QStringLiteral("(&"));
        if (mnemonic >= 0) label.remove(mnemonic, 4);
        label.remove(QLatin1Char('&'));
        if (label.endsWith(QStringLiteral("..."))) label.chop(3);
        return label;
    };
    std::function<QAction*(const QMenu*)> find = [&](const QMenu* menu) -> QAction* {
        for (QAction* action : menu->actions()) {
            if (action->menu() != nullptr) {
                if (QAction* inner = find(action->menu())) return inner;
            }
            if (!action->isSeparator() && plain(action->text()) == text) return action;
        }
        return nullptr;
    };
    for (const QMenu* menu : menus_) {
        if (QAction* action = find(menu)) return action;
    }
    return nullptr;
}

void MainWindow::ReopenTextAs(TextEncoding encoding) {
    if (dlg_->bookSourcePath.empty()) return;
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
    // Reading order, column by column: the open buttons on top, then the chapter list with its
    // buttons, the text with the rows under it, and the problem list.
    constexpr int kOrder[] = {
        kOpenTextButton, kOpenQbr2Button,     kOpenQbrButton,     kProblemListToggle,
        kChapterList,    kCheckMissingButton, kWideDisplayToggle, kMoveUpButton,
        kMoveDownButton, kDeleteButton,       kDeleteAllButton,   kBookText,
        kSearchEdit,     kSearchButton,       kAddChapterButton,  kConvertButton,
        kTestButton,     kStartChapterEdit,   kKeywordAddButton,  kIncrementalAddButton,
        kGenerateButton, kProblemList,
    };
    QWidget* previous = nullptr;
    for (int id : kOrder) {
        QWidget* widget = Control(id);
        widget->setFocusPolicy(Qt::StrongFocus);
        if (previous != nullptr) setTabOrder(previous, widget);
        previous = widget;
    }

    auto* search = qobject_cast<QLineEdit*>(Control(kSearchEdit));
    connect(search, &QLineEdit::returnPressed, this, [this] { RunCommand(kSearchButton); });
    auto* start = qobject_cast<QLineEdit*>(Control(kStartChapterEdit));
    connect(start, &QLineEdit::returnPressed, this, [this] { RunCommand(kIncrementalAddButton); });
}

void MainWindow::RunCommand(int controlId) {
    if (onCommand) onCommand(controlId);
    RunDialogCommand(controlId, [this, controlId] { dlg_->OnCommand(controlId); });
}

void MainWindow::RunDialogCommand(int controlId, const std::function<void()>& command) {
    const bool opening = controlId == kOpenTextButton || controlId == kOpenQbr2Button ||
                         controlId == kOpenQbrButton || controlId == kOpenEpubCommand;
    const uint64_t textBefore = textView_->TextGeneration();
    host_.ForgetChosenPath();
    textView_->BeginCommand();
    try {
        command();
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
    UpdateStatus(controlId);
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
    if (!std::filesystem::is_regular_file(bytes)) {
        host_.ShowMessage(Utf8ToGbk("文件已不存在：\n" + RecentBooks::Shown(path).toStdString()),
                          MessageCaption::kNone);
        return;
    }
    const int command = OpenCommandFor(QFile::decodeName(path));
    OpenWithCommandBytes(command != 0 ? command : kOpenTextButton, bytes);
}

void MainWindow::OpenWithCommandBytes(int controlId, const std::string& path) {
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
    if (dlg_ && !dlg_->ConfirmDiscardChapters()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::FitFirstSizeTo(const QRect& available) {
    // Before the window is shown its frame is unknown; leave room for a usual one.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(8, 40);
    const PixelSize client =
        InitialClientSize({available.width(), available.height()}, {frame.width(), frame.height()});
    resize(client.width, client.height);
    const QSize outer = QSize(client.width, client.height) + frame;
    move(available.x() + std::max(0, (available.width() - outer.width()) / 2),
         available.y() + std::max(0, (available.height() - outer.height()) / 2));
}

void MainWindow::UpdateMinimumSize() {
    if (!dlg_) return;
    const PixelSize least = MinimumClientSize(dlg_->wideDisplay != 0, dlg_->problemListShown != 0);
    const QSize wanted(least.width, least.height);
    if (minimumSize() != wanted) setMinimumSize(wanted);
}

MainWindow::~MainWindow() {
    // The dialog holds references to the controls; let it go before they do.
    if (dlg_) dlg_->SetWindowFrame(nullptr);
    dlg_.reset();
}

void MainWindow::CreateControls() {
    // Frames first, so everything they surround is drawn over them.
    for (auto [id, caption] :
         {std::pair{kChapterListFrame, "章节列表"}, std::pair{kTextFrame, "图书文本"},
          std::pair{kProblemListFrame, "问题列表"}}) {
        auto* frame = new QGroupBox(QString::fromUtf8(caption), this);
        controls_[id] = frame;
    }

    chapterList_ = new CMyListBox(this);
    chapterList_->SetHorizontalExtent(300);
    controls_[kChapterList] = chapterList_;

    textView_ = new QtRichEdit(this);
    controls_[kBookText] = textView_;

    problemList_ = new QtListBox(this);
    problemList_->SetHorizontalExtent(500);
    controls_[kProblemList] = problemList_;

    for (const ButtonSpec& spec : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(spec.caption), this);
        // Enter must never press a button of this window.
        button->setAutoDefault(false);
        button->setDefault(false);
        const int id = spec.id;
        connect(button, &QPushButton::clicked, this, [this, id] { RunCommand(id); });
        controls_[id] = button;
    }

    auto* search = new QLineEdit(this);
    connect(search, &QLineEdit::textChanged, this, [this] { dlg_->OnFieldChanged(kSearchEdit); });
    controls_[kSearchEdit] = search;
    host_.AttachField(kSearchField, search);

    auto* startChapter = new QLineEdit(this);
    controls_[kStartChapterEdit] = startChapter;
    host_.AttachField(kStartChapterField, startChapter);

    controls_[kStartChapterLabel] = new QLabel(QStringLiteral("起始章节："), this);

    problemFilter_ = new QComboBox(this);
    problemFilter_->setObjectName(QStringLiteral("problemFilter"));
    problemFilter_->addItems({QStringLiteral("全部"), QStringLiteral("阻止生成"),
                              QStringLiteral("可疑字"), QStringLiteral("乱码"),
                              QStringLiteral("空行")});
    problemFilter_->setToolTip(QStringLiteral("只显示一类问题"));
    connect(problemFilter_, &QComboBox::currentIndexChanged, this,
            [this](int choice) { SetProblemFilter(choice); });

    for (auto& [id, widget] : controls_) {
        widget->setObjectName(QStringLiteral("control%1").arg(id));
    }
}

QWidget* MainWindow::Control(int controlId) const {
    auto it = controls_.find(controlId);
    return it == controls_.end() ? nullptr : it->second;
}

void MainWindow::LayOutControls() {
    UpdateMinimumSize();
    const auto layout = ComputeWindowLayout(width(), height(), dlg_ && dlg_->wideDisplay,
                                            !dlg_ || dlg_->problemListShown);
    for (const ControlPlacement& placement : layout) {
        if (QWidget* widget = Control(placement.controlId)) {
            const PixelRect& r = placement.rect;
            widget->setGeometry(r.x, r.y, std::max(0, r.width), std::max(0, r.height));
        }
    }
    PlaceProblemFilter();
}

void MainWindow::PlaceProblemFilter() {
    if (problemFilter_ == nullptr) return;
    // The filter takes the top of the problem list's place; the rows start below it.
    const QRect list = problemList_->geometry();
    const int row = problemFilter_->sizeHint().height();
    problemFilter_->setGeometry(list.x(), list.y(), list.width(), row);
    problemList_->setGeometry(list.x(), list.y() + row + 4, list.width(),
                              std::max(0, list.height() - row - 4));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    HandleResize();
}

void MainWindow::HandleResize() {
    if (!dlg_) return;
    // One display line per paragraph: the table depends on the text alone, so a resize needs a
    // rebuild only when the text changed since the last one. A 10 MiB book then resizes smoothly.
    OnWindowSized(*dlg_, dlg_->bookText.IsStale());
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isWindow()) WindowStateChanged();
}

void MainWindow::WindowStateChanged() {
    if (!dlg_) return;
    const bool maximized = window()->isMaximized();
    if (maximized && !wasMaximized_) {
        OnWindowMaximizing(*dlg_);
        HandleResize();  // the size may have arrived before the state: lay out narrow again
    } else if (!maximized && wasMaximized_) {
        OnWindowRestoring(*dlg_);
    }
    wasMaximized_ = maximized;
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

void MainWindow::OpenTextAtStart(const QString& path) {
    OpenWithCommand(kOpenTextButton, path);
}

PixelRect MainWindow::WindowRect() const {
    const QRect frame = window()->frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

bool MainWindow::IsMaximized() const {
    return window()->isMaximized();
}

void MainWindow::MoveWindow(const PixelRect& rect) {
    // The minimum of the coming display mode, before the size changes under the old one.
    UpdateMinimumSize();
    // The top-level window moves; in the application window the menu and status bars come
    // with it.
    QWidget* top = window();
    const QRect frame = top->frameGeometry();
    const int extraWidth = frame.width() - top->width();
    const int extraHeight = frame.height() - top->height();
    top->move(rect.x, rect.y);
    top->resize(std::max(1, rect.width - extraWidth), std::max(1, rect.height - extraHeight));
}

void MainWindow::SetControlText(int controlId, std::string_view gbk) {
    const QString text = QString::fromStdString(GbkToUtf8Lossless(gbk));
    QWidget* widget = Control(controlId);
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        box->setTitle(text);
    }
}

void MainWindow::ShowControl(int controlId, bool show) {
    if (QWidget* widget = Control(controlId)) widget->setVisible(show);
    if (controlId == kProblemList) problemFilter_->setVisible(show);
}

void MainWindow::EnableControl(int controlId, bool enable) {
    if (QWidget* widget = Control(controlId)) widget->setEnabled(enable);
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
        [kind](const std::string& entry) { return ClassifyProblemEntry(entry) == kind; });
}

void MainWindow::RenameChapter(int32_t row) {
    if (row < 0 || row >= chapterList_->GetCount()) return;
    const QString current = QString::fromStdString(GbkToUtf8Lossless(chapterList_->GetText(row)));
    std::optional<QString> title;
    if (titlePrompt) {
        title = titlePrompt(current);
    } else {
        bool ok = false;
        const QString answer = QInputDialog::getText(
            this, QStringLiteral("重命名章节"),
            QStringLiteral("章节名（最多%1个字节，正文不变）：").arg(kTitleBytes - 1),
            QLineEdit::Normal, current, &ok);
        if (ok) title = answer;
    }
    if (!title || *title == current) return;
    const std::string gbk = Utf8ToGbk(title->toStdString());
    RunDialogCommand(0, [this, row, gbk] { dlg_->OnRenameChapter(row, gbk); });
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

QString MainWindow::ManualPath() {
    const QString name = QStringLiteral("manual.zh_CN.html");
    const QStringList candidates = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/brisnamake/") + name,
        QStringLiteral(BRISNA_MANUAL_INSTALLED),
        QStringLiteral(BRISNA_MANUAL_BUILT),
    };
    for (const QString& path : candidates) {
        if (QFileInfo(path).isFile()) return QFileInfo(path).canonicalFilePath();
    }
    return {};
}

void MainWindow::ShowManual() {
    const QString path = ManualPath();
    if (path.isEmpty()) {
        host_.ShowMessage(Utf8ToGbk("找不到使用说明（manual.zh_CN.html），请重新安装本程序"),
                          MessageCaption::kNone);
        return;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    const bool opened = urlOpener ? urlOpener(url) : QDesktopServices::openUrl(url);
    if (!opened) {
        host_.ShowMessage(Utf8ToGbk("无法打开浏览器，使用说明在：\n" + path.toStdString()),
                          MessageCaption::kNone);
    }
}

namespace {

QString SizeText(qint64 bytes) {
    if (bytes < 1024) return QStringLiteral("%1 字节").arg(bytes);
    if (bytes < 1024 * 1024) return QStringLiteral("%1 KB").arg(bytes / 1024.0, 0, 'f', 1);
    return QStringLiteral("%1 MB").arg(bytes / (1024.0 * 1024.0), 0, 'f', 1);
}

QString EncodingText(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::kUtf8:
            return QStringLiteral("UTF-8");
        case TextEncoding::kUtf16Le:
            return QStringLiteral("UTF-16LE");
        case TextEncoding::kUtf16Be:
            return QStringLiteral("UTF-16BE");
        case TextEncoding::kBig5:
            return QStringLiteral("Big5");
        default:
            return QStringLiteral("GBK");
    }
}

QString FileNameOf(const std::string& pathBytes) {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(pathBytes))).fileName();
}

}  // namespace

void MainWindow::UpdateStatus(int controlId) {
    Status status = status_;
    const QString caption =
        QStringLiteral("Quorvi EBook 编辑工具 V") + QString::fromLatin1(kVersion);
    if (shownBook_.empty()) {
        status.book = QStringLiteral("未打开图书");
        setWindowTitle(caption);
    } else {
        const QString name = FileNameOf(shownBook_);
        const QString kind = shownBookCommand_ == kOpenTextButton
                                 ? EncodingText(dlg_->loadedEncoding)
                             : shownBookCommand_ == kOpenQbr2Button  ? QStringLiteral("qbr2")
                             : shownBookCommand_ == kOpenEpubCommand ? QStringLiteral("EPUB")
                                                                     : QStringLiteral("qbr");
        const qint64 bytes =
            QFileInfo(QFile::decodeName(QByteArray::fromStdString(shownBook_))).size();
        status.book = QStringLiteral("%1（%2，%3）").arg(name, kind, SizeText(bytes));
        setWindowTitle(name + QStringLiteral(" - ") + caption);
    }
    const bool opened =
        controlId == kOpenTextButton || controlId == kOpenQbr2Button || controlId == kOpenQbrButton;
    // A novel longer than one book is told of when it opens, before any marking: it needs 分册生成.
    if (opened || controlId == kOpenEpubCommand) {
        outlineChapters_ = BuildBookOutline(ReadBookText(dlg_->bookText.View())).ChapterCount();
    }
    status.chapters = QStringLiteral("章节 %1").arg(dlg_->chapters.Count());
    if (outlineChapters_ > kMaxChapters) {
        status.chapters += QStringLiteral("（全书 %1 章，超过98章）").arg(outlineChapters_);
    }
    if (controlId == kTestButton || controlId == kCheckMissingButton) {
        const ProblemCounts counts = CountProblemKinds(*problemList_);
        status.problems = QStringLiteral("阻止生成 %1 · 可疑字 %2 · 乱码 %3 · 空行 %4")
                              .arg(counts.blocking)
                              .arg(counts.suspicious)
                              .arg(counts.garbled)
                              .arg(counts.emptyLines);
        if (counts.other > 0) status.problems += QStringLiteral(" · 其他 %1").arg(counts.other);
    }
    if (opened || controlId == kGenerateButton || status.notice.isEmpty()) {
        status.notice.clear();
        // The name limit of generation, told when the book opens rather than after the work.
        const size_t nameBytes = BookFileNameBytes(dlg_->bookSourcePath);
        if (!dlg_->bookSourcePath.empty() && nameBytes > kMaxBookFileNameBytes) {
            status.notice = QStringLiteral(
                                "文件名长 %1 字节（最多 %2）：生成qbr时会提示"
                                "“QBR文件名不能超过15个汉字”，请先改短文件名")
                                .arg(nameBytes)
                                .arg(kMaxBookFileNameBytes);
        }
    }
    if (controlId == kGenerateButton && !dlg_->lastWrittenFiles.empty()) {
        QStringList names;
        for (const std::string& file : dlg_->lastWrittenFiles) names.append(FileNameOf(file));
        status.notice = QStringLiteral("已写入 %1 个文件：%2")
                            .arg(names.size())
                            .arg(names.join(QStringLiteral("、")));
    }
    const bool changed = status.book != status_.book || status.chapters != status_.chapters ||
                         status.problems != status_.problems || status.notice != status_.notice;
    status_ = std::move(status);
    if (changed) emit statusChanged();
}

}  // namespace brisna
