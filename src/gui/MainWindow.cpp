#include "gui/MainWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QWindow>

#include "gui/CAboutDlg.h"
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
    setWindowTitle(QStringLiteral("Quorvi EBook 编辑工具 V3.3.1.1"));
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

    chapterList_->onSelectionChange = [this] { dlg_->OnListSelectionChanged(kChapterList); };
    chapterList_->onUserMessage = [this](uint32_t message) { dlg_->OnUserMessage(message); };
    problemList_->onSelectionChange = [this] { dlg_->OnListSelectionChanged(kProblemList); };
    problemList_->onDoubleClick = [this] { dlg_->OnListDoubleClicked(kProblemList); };

    backgroundMenu_ = new QMenu(this);
    connect(backgroundMenu_->addAction(QStringLiteral("关于 BrisnaMake(&A)...")),
            &QAction::triggered, this, &MainWindow::ShowAbout);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &MainWindow::ShowAbout);

    resize(kInitialClientWidth, kInitialClientHeight);
    LayOutControls();
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
        connect(button, &QPushButton::clicked, this, [this, id] { dlg_->OnCommand(id); });
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
    // Tab order follows the dialog's reading order: the lists and the text first.
    setTabOrder(chapterList_, textView_);
    setTabOrder(textView_, problemList_);
}

QWidget* MainWindow::Control(int controlId) const {
    auto it = controls_.find(controlId);
    return it == controls_.end() ? nullptr : it->second;
}

void MainWindow::LayOutControls() {
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
    const uint64_t generation = textView_->TextGeneration();
    const bool mayChange = lineTableGeneration_ != generation;
    OnWindowSized(*dlg_, mayChange);
    if (mayChange && !dlg_->wideDisplay) lineTableGeneration_ = generation;
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
    backgroundMenu_->exec(event->globalPos());
}

void MainWindow::ShowAbout() {
    CAboutDlg about(this);
    about.exec();
}

void MainWindow::OpenTextAtStart(const QString& path) {
    auto previous = std::move(host_.fileChooser);
    bool answered = false;
    host_.fileChooser = [&](FileFilter) -> std::optional<QString> {
        if (answered) return std::nullopt;
        answered = true;
        return path;
    };
    dlg_->OnCommand(kOpenTextButton);
    host_.fileChooser = std::move(previous);
}

PixelRect MainWindow::WindowRect() const {
    const QRect frame = frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

bool MainWindow::IsMaximized() const {
    return isMaximized();
}

void MainWindow::MoveWindow(const PixelRect& rect) {
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
