#include "gui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <utility>

#include "Version.h"
#include "gui/CAboutDlg.h"
#include "gui/DetectionSettings.h"
#include "text/CodePage936.h"

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
    host_.beforeDialog = [this] { textView_->ShowPendingSelection(); };

    chapterList_->onSelectionChange = [this] { dlg_->OnListSelectionChanged(kChapterList); };
    chapterList_->onUserMessage = [this](uint32_t message) { dlg_->OnUserMessage(message); };
    problemList_->onSelectionChange = [this] { dlg_->OnListSelectionChanged(kProblemList); };
    problemList_->onDoubleClick = [this] { dlg_->OnListDoubleClicked(kProblemList); };

    backgroundMenu_ = new QMenu(this);
    connect(backgroundMenu_, &QMenu::aboutToShow, this, &MainWindow::BuildBackgroundMenu);
    BuildBackgroundMenu();
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &MainWindow::ShowAbout);
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
}

void MainWindow::BuildBackgroundMenu() {
    backgroundMenu_->clear();
    // clear() leaves submenus alive as children; they are rebuilt below.
    qDeleteAll(backgroundMenu_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
    const QStringList books = recent_.Paths();
    for (qsizetype i = 0; i < books.size(); ++i) {
        const QString path = books.at(i);
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* open = backgroundMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        open->setData(path);
        connect(open, &QAction::triggered, this, [this, path] { OpenRecentBook(path); });
    }
    if (!books.isEmpty()) backgroundMenu_->addSeparator();
    connect(backgroundMenu_->addAction(QStringLiteral("自动识别章节")), &QAction::triggered, this,
            [this] { RunDialogCommand(0, [this] { dlg_->OnAutoDetectChapters(); }); });
    QAction* atLineStart = backgroundMenu_->addAction(QStringLiteral("仅匹配行首"));
    atLineStart->setCheckable(true);
    atLineStart->setChecked(dlg_->headingsAtLineStart);
    connect(atLineStart, &QAction::toggled, this, [this](bool checked) {
        dlg_->headingsAtLineStart = checked;
        SaveHeadingsAtLineStart(checked);
    });
    QMenu* reopen = backgroundMenu_->addMenu(QStringLiteral("按编码重新打开(&E)"));
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
    backgroundMenu_->addSeparator();
    connect(backgroundMenu_->addAction(QStringLiteral("打开EPUB")), &QAction::triggered, this,
            [this] { RunCommand(kOpenEpubCommand); });
    connect(backgroundMenu_->addAction(QStringLiteral("生成EPUB")), &QAction::triggered, this,
            [this] { RunCommand(kGenerateEpubCommand); });
    backgroundMenu_->addSeparator();
    connect(backgroundMenu_->addAction(QStringLiteral("关于 BrisnaMake(&A)...")),
            &QAction::triggered, this, &MainWindow::ShowAbout);
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
    auto* again = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(again, &QShortcut::activated, this, [this] { RunCommand(kSearchButton); });
    auto* start = qobject_cast<QLineEdit*>(Control(kStartChapterEdit));
    connect(start, &QLineEdit::returnPressed, this, [this] { RunCommand(kIncrementalAddButton); });
}

void MainWindow::RunCommand(int controlId) {
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
        recent_.Add(QFile::decodeName(QByteArray::fromStdString(*host_.LastChosenPath())));
        textBookOpen_ = controlId == kOpenTextButton;
    }
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
    auto previous = std::move(host_.fileChooser);
    bool answered = false;
    host_.fileChooser = [&](FileFilter) -> std::optional<QString> {
        if (answered) return std::nullopt;
        answered = true;
        return path;
    };
    RunCommand(controlId);
    host_.fileChooser = std::move(previous);
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

void MainWindow::OpenRecentBook(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        recent_.Remove(path);
        BuildBackgroundMenu();
        host_.ShowMessage(Utf8ToGbk("文件已不存在，已从最近打开的图书中移除：\n" +
                                    QDir::toNativeSeparators(path).toStdString()),
                          MessageCaption::kNone);
        return;
    }
    OpenBookFile(path);
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
    if (event->type() != QEvent::WindowStateChange || !dlg_) return;
    const bool maximized = isMaximized();
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
            close();
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
    const QRect frame = frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

bool MainWindow::IsMaximized() const {
    return isMaximized();
}

void MainWindow::MoveWindow(const PixelRect& rect) {
    // The minimum of the coming display mode, before the size changes under the old one.
    UpdateMinimumSize();
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const int extraWidth = frame.width() - client.width();
    const int extraHeight = frame.height() - client.height();
    move(rect.x, rect.y);
    resize(std::max(1, rect.width - extraWidth), std::max(1, rect.height - extraHeight));
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
}

void MainWindow::EnableControl(int controlId, bool enable) {
    if (QWidget* widget = Control(controlId)) widget->setEnabled(enable);
}

}  // namespace brisna
