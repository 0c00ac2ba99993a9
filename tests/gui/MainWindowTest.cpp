// The real window, driven through its buttons, lists and keys.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTextBlock>
#include <QUrl>
#include <QtTest>
#include <filesystem>

#include "GuiTestSupport.h"
#include "Version.h"
#include "app/WindowLayout.h"
#include "gui/CAboutDlg.h"
#include "gui/CBrisnaMakeApp.h"
#include "gui/DetectionSettings.h"
#include "gui/DetectionSettingsPage.h"
#include "gui/EpubSettings.h"
#include "gui/MainWindow.h"
#include "gui/SettingsDialog.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

using brisna::MainWindow;
using brisna::guitest::G;
namespace fs = std::filesystem;

namespace {

// Every control of the dialog: id, Qt kind and caption.
struct ControlSpec {
    int id;
    const char* kind;
    const char* caption;
};
const ControlSpec kControls[] = {
    {1001, "brisna::CMyListBox", ""},
    {1004, "brisna::QtRichEdit", ""},
    {1005, "QPushButton", "上移"},
    {1006, "QPushButton", "下移"},
    {1007, "QPushButton", "删除"},
    {1008, "QPushButton", "添加章节"},
    {1009, "QPushButton", "生成qbr"},
    {1010, "QPushButton", "打开txt文件"},
    {1011, "QPushButton", "打开qbr2文件"},
    {1012, "brisna::QtListBox", ""},
    {1013, "QPushButton", "生成测试"},
    {1014, "QLineEdit", ""},
    {1015, "QPushButton", "搜索文本"},
    {1016, "QPushButton", "打开qbr"},
    {1017, "QLineEdit", ""},
    {1018, "QPushButton", "模糊添加章节"},
    {1019, "QPushButton", "全部删除"},
    {1020, "QPushButton", "递增添加章节"},
    {1021, "QPushButton", "关闭问题列表"},
    {1022, "QGroupBox", "图书文本"},
    {1023, "QLabel", "起始章节："},
    {1024, "QGroupBox", "章节列表"},
    {1025, "QGroupBox", "问题列表"},
    {1026, "QPushButton", "繁体转简体"},
    {1027, "QPushButton", "检查缺章"},
    {1029, "QPushButton", "宽幅显示"},
};

QString CaptionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
    if (auto* box = qobject_cast<QGroupBox*>(widget)) return box->title();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    return {};
}

QPushButton* Button(MainWindow& window, int id) {
    return qobject_cast<QPushButton*>(window.Control(id));
}

void Press(MainWindow& window, int id) {
    QTest::mouseClick(Button(window, id), Qt::LeftButton);
}

QRect Rect(const brisna::PixelRect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithEveryControlInItsPlace();
    void readsSuspiciousWordsFromTheCurrentDirectory();
    void enterDoesNothingAndEscapeCloses();
    void aboutBoxFromTheHelpAndBackgroundMenus();
    void messageBoxesCarryTheirCaptions();
    void searchFieldReportsChangesAndReadsAsGbk();
    void problemListToggleMovesTheControls();
    void wideToggleMovesTheWindowAndBack();
    void maximisingEndsWideDisplay();
    void resizingRebuildsTheLineTableOnlyInNarrowDisplay();
    void operatorWorkflowFromTextToBookAndBack();
    void bookNamedAtStartOpensAsIfChosen();
    void bookTextReopensInTheChosenEncoding();

    void qtTextsAreChineseAndEscapedFailuresAreReported();
    void droppedBooksOpenByKindAndNothingElseLands();
    void unsavedChaptersAreOnlyLostAfterAsking();
    void typedLinesAreInTheLineTableBeforeACommand();
    void backgroundMenuOnlyOverTheBackgroundAndListsRecentBooks();
    void lineStartChoiceIsRememberedAndAutoDetectionMarksChapters();
    void settingsDialogSavesOnlyOnOk();
    void epubGoesOutFromTheMenuAndComesBackByDrop();
    void keyboardWalksTheControlsInReadingOrder();
    void minimumAndFirstSizeFitSmallScreens();

  private:
    // A two-chapter book written beside the others; returns its path.
    fs::path WriteBook(const std::string& name);
    // Opens, marks both chapters and generates: book.qbr2 and book.qbr appear beside it.
    void GenerateFrom(const fs::path& text);
    std::unique_ptr<brisna::test::TempDir> settings_;

    std::unique_ptr<brisna::test::TempDir> dir_;
    std::unique_ptr<MainWindow> window_;
};

void MainWindowTest::initTestCase() {
    // Recent books go to a settings folder of the test's own, never the user's.
    settings_ = std::make_unique<brisna::test::TempDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settings_->path().string()));
}

void MainWindowTest::init() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrisnaMake"),
              QStringLiteral("BrisnaMake"))
        .clear();
    dir_ = std::make_unique<brisna::test::TempDir>();
    brisna::test::WriteFileBytes(dir_->path() / "BrisnaMake.csv", G("到达\r\n"));
    window_ = std::make_unique<MainWindow>(dir_->path() / "BrisnaMake.csv");
    window_->Host().messagePresenter = [](const brisna::QtDialogHost::Message&) {};
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void MainWindowTest::cleanup() {
    window_.reset();
    dir_.reset();
}

void MainWindowTest::startsWithEveryControlInItsPlace() {
    MainWindow& window = *window_;
    QCOMPARE(window.windowTitle(),
             QStringLiteral("Quorvi EBook 编辑工具 V") + QString::fromLatin1(brisna::kVersion));
    QCOMPARE(window.size(), QSize(brisna::kInitialClientWidth, brisna::kInitialClientHeight));
    const auto layout = brisna::ComputeWindowLayout(window.width(), window.height(), false, true);
    for (const ControlSpec& spec : kControls) {
        QWidget* control = window.Control(spec.id);
        QVERIFY2(control != nullptr, qPrintable(QString::number(spec.id)));
        QCOMPARE(QString::fromLatin1(control->metaObject()->className()),
                 QString::fromLatin1(spec.kind));
        QCOMPARE(CaptionOf(control), QString::fromUtf8(spec.caption));
        QRect expected = Rect(brisna::PlacementOf(layout, spec.id));
        if (spec.id == 1012) {
            // The problem filter takes the top of the list's place.
            QWidget* filter = window.findChild<QWidget*>(QStringLiteral("problemFilter"));
            QCOMPARE(filter->geometry().topLeft(), expected.topLeft());
            QCOMPARE(filter->width(), expected.width());
            expected.setTop(filter->geometry().bottom() + 5);
        }
        QCOMPARE(control->geometry(), expected);
        QVERIFY(control->isVisible());
    }
    QCOMPARE(window.ChapterList().selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(window.ProblemList().selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(window.TextView().font().pointSize(), 12);
    QVERIFY(!window.TextView().isReadOnly());
    // The dialog reaches the window's frame (through the stand-in a worker can call too).
    QVERIFY(window.Dialog().Frame() != nullptr);
    QCOMPARE(window.Dialog().Frame()->WindowRect().width, window.WindowRect().width);
}

void MainWindowTest::readsSuspiciousWordsFromTheCurrentDirectory() {
    brisna::test::TempDir other;
    brisna::test::WriteFileBytes(other / "BrisnaMake.csv", G("甲\r\n\r\n乙\r\n丙"));
    const fs::path before = fs::current_path();
    fs::current_path(other.path());
    auto window = std::make_unique<MainWindow>();
    fs::current_path(before);
    if (window->Dialog().suspiciousWords.empty()) {
        QSKIP("reading BrisnaMake.csv has not landed in the dialog yet");
    }
    QCOMPARE(window->Dialog().suspiciousWords,
             (std::vector<std::string>{G("甲"), "", G("乙"), G("丙")}));
    // Read before the window ever shows.
    QVERIFY(!window->isVisible());
}

void MainWindowTest::enterDoesNothingAndEscapeCloses() {
    MainWindow& window = *window_;
    int opened = 0;
    window.Host().fileChooser = [&](brisna::FileFilter) -> std::optional<QString> {
        ++opened;
        return std::nullopt;
    };
    Button(window, 1010)->setFocus();
    QTest::keyClick(window.Control(1014), Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter);
    QVERIFY(window.isVisible());
    QCOMPARE(opened, 0);
    QTest::keyClick(window.Control(1017), Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

void MainWindowTest::aboutBoxFromTheHelpAndBackgroundMenus() {
    MainWindow& window = *window_;
    QString title;
    QStringList texts;
    bool hasPicture = false;
    QString okText;
    auto closeAbout = [&](QWidget* open) {
        title = open->windowTitle();
        for (QLabel* label : open->findChildren<QLabel*>()) texts << label->text();
        auto* picture = open->findChild<QLabel*>(QStringLiteral("aboutPicture"));
        hasPicture = picture != nullptr && !picture->pixmap().isNull();
        if (QPushButton* ok = open->findChild<QPushButton*>()) {
            okText = ok->text();
            ok->click();
        }
    };
    // F1 is the manual now; the About box is on the help menu and the background menu.
    brisna::guitest::AnswerNextModal(closeAbout);
    window.MenuAction(QStringLiteral("关于 BrisnaMake"))->trigger();
    QCOMPARE(title, QStringLiteral("关于QuorviQbr制作工具"));
    QVERIFY(texts.contains(QStringLiteral("Quorvi Ebook 编辑工具 Ver ") +
                           QString::fromLatin1(brisna::kVersion)));
    QVERIFY(hasPicture);
    QCOMPARE(okText, QStringLiteral("确定"));

    title.clear();
    QMenu* menu = window.BackgroundMenu();
    // 打开EPUB, 按编码重新打开, a separator, 自动识别章节, 按规则识别章节, 仅匹配行首, a separator,
    // 整理文本, a separator, 分册生成, 生成EPUB, a separator, About
    QCOMPARE(menu->actions().size(), 13);
    QCOMPARE(menu->actions().last()->text(), QStringLiteral("关于 BrisnaMake(&A)..."));
    brisna::guitest::AnswerNextModal(closeAbout);
    menu->actions().last()->trigger();
    QCOMPARE(title, QStringLiteral("关于QuorviQbr制作工具"));
}

void MainWindowTest::messageBoxesCarryTheirCaptions() {
    brisna::QtDialogHost& host = window_->Host();
    host.messagePresenter = nullptr;  // the real message box this time
    struct Seen {
        QString title, text;
        int buttons = 0;
    } seen;
    brisna::guitest::AnswerNextModal([&](QWidget* open) {
        auto* box = qobject_cast<QMessageBox*>(open);
        if (box == nullptr) {
            open->close();
            return;
        }
        seen = {box->windowTitle(), box->text(), static_cast<int>(box->buttons().size())};
        box->button(QMessageBox::Ok)->click();
    });
    host.ShowMessage(G("生成qbr和qbr2成功"), brisna::MessageCaption::kPrompt);
    QCOMPARE(seen.title, QStringLiteral("提示"));
    QCOMPARE(seen.text, QStringLiteral("生成qbr和qbr2成功"));
    QCOMPARE(seen.buttons, 1);
    // Garbled bytes in a message still show, as private-use characters.
    host.messagePresenter = [](const brisna::QtDialogHost::Message&) {};
    host.ShowMessage(std::string("\xFF") + "x", brisna::MessageCaption::kNone);
    host.ShowMessage("y", brisna::MessageCaption::kAppName);
    QCOMPARE(brisna::Utf8ToGbk(host.Messages().at(1).text.toStdString()),
             "\xFF"
             "x");
    QCOMPARE(host.Messages().at(1).caption, QStringLiteral("错误"));  // failures say so
    QCOMPARE(host.Messages().at(2).caption, QStringLiteral("BrisnaMake"));
}

void MainWindowTest::searchFieldReportsChangesAndReadsAsGbk() {
    MainWindow& window = *window_;
    auto* search = qobject_cast<QLineEdit*>(window.Control(1014));
    window.Dialog().detectionScanPosition = 123;
    // Typed as an input method would deliver it: one key event carrying the text.
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("第一章"));
    QApplication::sendEvent(search, &typed);
    QCOMPARE(window.Host().GetFieldText(brisna::kSearchField), G("第一章"));
    // 30 double-byte characters do not fit the 59-byte field: 29 are read.
    search->setText(QString(30, QChar(0x7532)));
    QCOMPARE(window.Host().GetFieldText(brisna::kSearchField).size(), size_t{58});
    auto* start = qobject_cast<QLineEdit*>(window.Control(1017));
    start->setText(QStringLiteral("a甲"));
    QCOMPARE(window.Host().GetFieldText(brisna::kStartChapterField), "a" + G("甲"));
    if (window.Dialog().detectionScanPosition == 123) {
        QSKIP("the search-text change command has not landed yet");
    }
    QCOMPARE(window.Dialog().detectionScanPosition, 0);
}

void MainWindowTest::problemListToggleMovesTheControls() {
    MainWindow& window = *window_;
    const QRect text = window.Control(1004)->geometry();
    const QRect test = window.Control(1013)->geometry();
    Press(window, 1021);
    QVERIFY(!window.Control(1012)->isVisible());
    QVERIFY(!window.Control(1025)->isVisible());
    QCOMPARE(CaptionOf(window.Control(1021)), QStringLiteral("显示问题列表"));
    QCOMPARE(window.Control(1004)->width(), text.width() + 253);
    QCOMPARE(window.Control(1013)->x(), test.x() + 253);
    QCOMPARE(window.Control(1009)->x(), test.x() + 253);
    Press(window, 1021);
    QVERIFY(window.Control(1012)->isVisible());
    QCOMPARE(CaptionOf(window.Control(1021)), QStringLiteral("关闭问题列表"));
    QCOMPARE(window.Control(1004)->geometry(), text);
}

void MainWindowTest::wideToggleMovesTheWindowAndBack() {
    MainWindow& window = *window_;
    window.move(200, 30);
    const QSize size = window.size();
    Press(window, 1029);
    QCOMPARE(window.Dialog().wideDisplay, 1);
    QCOMPARE(window.frameGeometry().x(), -10);
    QCOMPARE(window.size(), QSize(size.width() + 186, size.height()));
    QCOMPARE(CaptionOf(window.Control(1029)), QStringLiteral("窄幅显示"));
    QCOMPARE(window.Control(1001)->width(), 390);
    QCOMPARE(window.Control(1029)->x(), 125 + 186);
    // The text keeps its width: the window grew by as much as the chapter list.
    QCOMPARE(window.Control(1004)->width(), size.width() - 512);

    Press(window, 1029);
    QCOMPARE(window.Dialog().wideDisplay, 0);
    QCOMPARE(window.frameGeometry().x(), 78);
    QCOMPARE(window.size(), size);
    QCOMPARE(window.Control(1001)->width(), 194);
    QCOMPARE(CaptionOf(window.Control(1029)), QStringLiteral("宽幅显示"));
}

void MainWindowTest::maximisingEndsWideDisplay() {
    MainWindow& window = *window_;
    Press(window, 1029);
    QCOMPARE(window.Dialog().wideDisplay, 1);
    window.showMaximized();
    QTRY_VERIFY(window.isMaximized());
    QCOMPARE(window.Dialog().wideDisplay, 0);
    QVERIFY(!window.Control(1029)->isEnabled());
    QCOMPARE(CaptionOf(window.Control(1029)), QStringLiteral("宽幅显示"));
    QCOMPARE(window.Control(1001)->width(), 194);  // laid out narrow
    window.showNormal();
    QTRY_VERIFY(!window.isMaximized());
    QVERIFY(window.Control(1029)->isEnabled());
}

void MainWindowTest::resizingRebuildsTheLineTableOnlyInNarrowDisplay() {
    MainWindow& window = *window_;
    brisna::CMyRECtrl& table = window.Dialog().bookText;
    window.TextView().SetText(G("甲\r\n乙"));
    window.resize(window.width() - 10, window.height());
    QCOMPARE(table.LineStarts(), (std::vector<uint32_t>{0, 4}));
    // A hand edit shows in the table after the next resize.
    window.TextView().SetSelection({0, 0});
    QTest::keyClick(&window.TextView(), Qt::Key_Return);
    QCOMPARE(table.LineStarts(), (std::vector<uint32_t>{0, 4}));
    window.resize(window.width() + 10, window.height());
    QCOMPARE(table.LineStarts(), (std::vector<uint32_t>{0, 2, 6}));
    // In wide display the table stays as it was.
    Press(window, 1029);
    window.TextView().SetText(G("甲"));
    window.resize(window.width() - 10, window.height());
    QCOMPARE(table.LineStarts(), (std::vector<uint32_t>{0, 2, 6}));
    Press(window, 1029);
    QCOMPARE(table.LineStarts(), (std::vector<uint32_t>{0}));
}

void MainWindowTest::operatorWorkflowFromTextToBookAndBack() {
    MainWindow& window = *window_;
    brisna::QtRichEdit& text = window.TextView();
    const fs::path book = dir_->path() / "book.txt";
    // Chapters long enough to compress, and an empty one between them.
    std::string prose;
    for (int i = 0; i < 40; ++i) prose += "他走上了山路，远处的村庄亮起了灯火。";
    brisna::test::WriteFileBytes(
        book, G("第一章 起程\r\n" + prose + "\r\n第二章 空\r\n第三章 到达\r\n" + prose + "\r\n"));
    std::vector<brisna::FileFilter> asked;
    QString answer = QString::fromStdString(book.string());
    window.Host().fileChooser = [&](brisna::FileFilter filter) -> std::optional<QString> {
        asked.push_back(filter);
        return answer;
    };

    Press(window, 1010);
    if (text.GetCharCount() == 0) QSKIP("打开txt文件 has not landed yet");
    QCOMPARE(asked.at(0), brisna::FileFilter::kText);
    QVERIFY(text.GetText().starts_with(G("第一章 起程\r\n")));

    // A chapter at the caret line of each heading: click into the line, press "添加章节".
    for (int line : {0, 2, 3}) {
        text.ScrollLines(line - text.GetFirstVisibleLine());
        QTextCursor atLine(text.document()->findBlockByNumber(line));
        QTest::mouseClick(text.viewport(), Qt::LeftButton, {},
                          text.cursorRect(atLine).center() + QPoint(20, 0));
        QCOMPARE(text.LineFromChar(-1), line);
        Press(window, 1008);
        if (window.ChapterList().GetCount() == 0) QSKIP("添加章节 has not landed yet");
    }
    brisna::CMyListBox& chapters = window.ChapterList();
    QCOMPARE(chapters.GetCount(), 3);
    QCOMPARE(chapters.GetText(1), G("第二章 空"));

    // The empty second chapter is flagged and drawn bold red on yellow.
    Press(window, 1013);
    if (window.ProblemList().GetCount() == 0) QSKIP("生成测试 has not landed yet");
    QCOMPARE(chapters.GetItemData(1), intptr_t{1});
    chapters.SetSel(false, -1);
    QApplication::processEvents();
    const QImage rows = chapters.viewport()->grab().toImage();
    const QImage flagged = rows.copy(chapters.visualRect(chapters.RowIndex(1)));
    QCOMPARE(flagged.pixelColor(1, 1), QColor(255, 255, 0));
    QVERIFY(brisna::guitest::HasColour(flagged, QColor(255, 0, 0), 40));

    // Clicking the suspicious-word entry selects the word in its line.
    text.SetSelection({0, 0});
    brisna::QtListBox& problems = window.ProblemList();
    int entry = -1;
    for (int i = 0; i < problems.GetCount(); ++i) {
        if (problems.GetText(i).starts_with(G("可疑字"))) entry = i;
    }
    QVERIFY(entry >= 0);
    QTest::mouseClick(problems.viewport(), Qt::LeftButton, {},
                      problems.visualRect(problems.RowIndex(entry)).center());
    QCOMPARE(text.LineFromChar(-1), 3);
    QCOMPARE(text.textCursor().selectedText(), QStringLiteral("到达"));

    // Delete it from the context menu; the selection decides what goes.
    chapters.SetSel(true, 1);
    chapters.ContextMenu()->actions().at(2)->trigger();
    QCOMPARE(chapters.GetCount(), 2);
    QCOMPARE(chapters.GetText(1), G("第三章 到达"));

    window.Host().ClearMessages();
    Press(window, 1009);
    if (window.Host().Messages().empty()) QSKIP("生成qbr has not landed yet");
    QCOMPARE(window.Host().Messages().back().text, QStringLiteral("生成qbr和qbr2成功"));
    QCOMPARE(window.Host().Messages().back().caption, QStringLiteral("提示"));
    QVERIFY(fs::exists(dir_->path() / "book.qbr2"));
    QVERIFY(fs::exists(dir_->path() / "book.qbr"));

    // Open the .qbr2 back: the two chapters return.
    text.SetText("");
    chapters.DeleteString(1);
    answer = QString::fromStdString((dir_->path() / "book.qbr2").string());
    Press(window, 1011);
    QCOMPARE(asked.back(), brisna::FileFilter::kQbr2);
    if (text.GetCharCount() == 0) QSKIP("打开qbr2文件 has not landed yet");
    QCOMPARE(chapters.GetCount(), 2);
    QVERIFY(text.GetText().find(G("到达\r\n他走上了山路")) != std::string::npos);
}

void MainWindowTest::bookNamedAtStartOpensAsIfChosen() {
    MainWindow& window = *window_;
    const fs::path book = dir_->path() / "start.txt";
    brisna::test::WriteFileBytes(book, G("第一章 开始\r\n正文"));
    int asked = 0;
    window.Host().fileChooser = [&](brisna::FileFilter) -> std::optional<QString> {
        ++asked;
        return std::nullopt;
    };
    window.OpenTextAtStart(QString::fromStdString(book.string()));
    QCOMPARE(window.TextView().GetText(), G("第一章 开始\r\n正文"));
    QCOMPARE(window.Dialog().bookSourcePath, book.string());
    // The button asks the operator again afterwards.
    Press(window, 1010);
    QCOMPARE(asked, 1);
}

// 按编码重新打开 reads the same file again in the encoding chosen, without asking for the file,
// and the next opening detects again.
void MainWindowTest::bookTextReopensInTheChosenEncoding() {
    MainWindow& window = *window_;
    int asked = 0;
    window.Host().fileChooser = [&](brisna::FileFilter) -> std::optional<QString> {
        ++asked;
        return std::nullopt;
    };
    auto reopenAs = [&](const QString& label) {
        window.BuildBackgroundMenu();
        auto* encodings = window.BackgroundMenu()->findChild<QMenu*>();
        QVERIFY(encodings != nullptr);
        QVERIFY(encodings->isEnabled());
        for (QAction* action : encodings->actions()) {
            if (action->text() == label) return action->trigger();
        }
        QFAIL(qPrintable(QStringLiteral("no item ") + label));
    };
    window.BuildBackgroundMenu();
    QVERIFY(!window.BackgroundMenu()->findChild<QMenu*>()->isEnabled());  // nothing open yet

    const std::string utf8 = "第一章 开始\r\n繁體與简体，都在这里。\r\n";
    const fs::path book = dir_->path() / "utf8.txt";
    brisna::test::WriteFileBytes(book, utf8);
    window.OpenBookFile(QString::fromStdString(book.string()));
    QCOMPARE(window.TextView().GetText(), G(utf8));

    reopenAs(QStringLiteral("GBK（简体中文）"));
    QCOMPARE(window.TextView().GetText(), utf8);  // the bytes as they stand
    QCOMPARE(window.Dialog().bookSourcePath, book.string());
    QVERIFY(window.Dialog().textEncoding == brisna::TextEncoding::kAuto);

    reopenAs(QStringLiteral("UTF-8"));
    QCOMPARE(window.TextView().GetText(), G(utf8));
    QCOMPARE(asked, 0);

    // A generated book on show is no text file to read again.
    GenerateFrom(WriteBook("book.txt"));
    window.OpenBookFile(QString::fromStdString((dir_->path() / "book.qbr2").string()));
    window.BuildBackgroundMenu();
    QVERIFY(!window.BackgroundMenu()->findChild<QMenu*>()->isEnabled());
}

fs::path MainWindowTest::WriteBook(const std::string& name) {
    std::string prose;
    for (int i = 0; i < 40; ++i) prose += "他走上了山路，远处的村庄亮起了灯火。";
    const fs::path path = dir_->path() / name;
    brisna::test::WriteFileBytes(path,
                                 G("第一章 起程\r\n" + prose + "\r\n第二章 到达\r\n" + prose));
    return path;
}

void MainWindowTest::GenerateFrom(const fs::path& text) {
    MainWindow& window = *window_;
    window.OpenBookFile(QString::fromStdString(text.string()));
    for (int line : {0, 2}) {
        window.TextView().SetSelection(
            {window.TextView().LineIndex(line), window.TextView().LineIndex(line)});
        window.RunCommand(1008);
    }
    window.RunCommand(1009);
}

// Qt's own buttons speak Chinese, and an exception out of a command becomes a message box
// captioned "错误" while the window stays.
void MainWindowTest::qtTextsAreChineseAndEscapedFailuresAreReported() {
    brisna::QtDialogHost& host = window_->Host();
    host.messagePresenter = nullptr;
    QString okText;
    brisna::guitest::AnswerNextModal([&](QWidget* open) {
        auto* box = qobject_cast<QMessageBox*>(open);
        okText = box->button(QMessageBox::Ok)->text();
        box->button(QMessageBox::Ok)->click();
    });
    host.ShowMessage(G("打开文件失败"), brisna::MessageCaption::kNone);
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (QFile::exists(translations + QStringLiteral("/qtbase_zh_CN.qm"))) {
        QCOMPARE(okText, QStringLiteral("确定"));
    } else {
        qWarning("qt6-translations-l10n is not installed: Qt's own texts stay English");
    }

    QString caption, text;
    brisna::guitest::AnswerNextModal([&](QWidget* open) {
        caption = open->windowTitle();
        text = qobject_cast<QMessageBox*>(open)->text();
        open->close();
    });
    QTimer::singleShot(0, window_.get(), [] { throw std::runtime_error("boom"); });
    QTRY_VERIFY(!caption.isEmpty());
    QCOMPARE(caption, QStringLiteral("错误"));
    QVERIFY(text.contains(QStringLiteral("boom")));
    QVERIFY(window_->isVisible());
}

// A drop of each book kind runs its open command (by extension, any case); other files and
// file names never reach the book text. A book given at start opens after the first paint.
void MainWindowTest::droppedBooksOpenByKindAndNothingElseLands() {
    MainWindow& window = *window_;
    GenerateFrom(WriteBook("book.txt"));
    QVERIFY(fs::exists(dir_->path() / "book.qbr2"));
    fs::copy_file(dir_->path() / "book.qbr", dir_->path() / "UPPER.QBR");
    const auto drop = [&](QWidget* target, const fs::path& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path.string()))});
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        QApplication::processEvents();
        return enter.isAccepted();
    };
    struct Case {
        QWidget* target;
        const char* file;
        int chapters;
    };
    window.Host().confirmPresenter = [](const auto&) { return true; };
    for (const Case& c :
         {Case{window.TextView().viewport(), "book.qbr2", 2}, Case{&window, "book.txt", 0},
          Case{window.Control(1010), "UPPER.QBR", 2}}) {
        window.ChapterList().InsertString(0, "x");  // shows that the open replaced the list
        QVERIFY2(drop(c.target, dir_->path() / c.file), c.file);
        QCOMPARE(window.ChapterList().GetCount(), c.chapters);
        QVERIFY(window.TextView().GetText().starts_with(G("第一章 起程")));
    }
    const std::string before = window.TextView().GetText();
    brisna::test::WriteFileBytes(dir_->path() / "picture.png", "png");
    QVERIFY(!drop(window.TextView().viewport(), dir_->path() / "picture.png"));
    QVERIFY(!drop(&window, dir_->path() / "picture.png"));
    QCOMPARE(window.TextView().GetText(), before);

    MainWindow started(dir_->path() / "BrisnaMake.csv");
    started.OpenAfterFirstPaint(QString::fromStdString((dir_->path() / "book.qbr2").string()));
    QCOMPARE(started.TextView().GetCharCount(), 0);  // not before it has painted
    started.show();
    QTRY_COMPARE(started.ChapterList().GetCount(), 2);
}

// With chapters changed since the book was opened or generated, closing, opening another book
// and 全部删除 ask first; 取消 keeps everything, 确定 goes on. Nothing to lose: no question.
void MainWindowTest::unsavedChaptersAreOnlyLostAfterAsking() {
    MainWindow& window = *window_;
    const fs::path book = WriteBook("book.txt");
    int asked = 0;
    bool agree = false;
    QString question;
    window.Host().confirmPresenter = [&](const brisna::QtDialogHost::Message& m) {
        ++asked;
        question = m.text;
        return agree;
    };
    window.OpenBookFile(QString::fromStdString(book.string()));
    window.RunCommand(1008);
    QCOMPARE(asked, 0);

    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QCOMPARE(question, QStringLiteral("章节列表尚未生成，确定要放弃吗？"));
    window.RunCommand(1019);
    window.ChapterList().onUserMessage(0x1404);
    window.OpenBookFile(QString::fromStdString(book.string()));
    QCOMPARE(asked, 4);
    QCOMPARE(window.ChapterList().GetCount(), 1);

    agree = true;
    window.RunCommand(1019);
    QCOMPARE(window.ChapterList().GetCount(), 0);
    QCOMPARE(asked, 5);

    // Generated: the work is in the book, so closing asks nothing.
    GenerateFrom(book);
    QCOMPARE(window.Host().Messages().back().text, QStringLiteral("生成qbr和qbr2成功"));
    asked = 0;
    window.close();
    QCOMPARE(asked, 0);
    QVERIFY(!window.isVisible());
}

// Lines typed into the book are in the line table when a command needs it.
void MainWindowTest::typedLinesAreInTheLineTableBeforeACommand() {
    MainWindow& window = *window_;
    window.OpenBookFile(QString::fromStdString(WriteBook("book.txt").string()));
    brisna::QtRichEdit& text = window.TextView();
    text.SetSelection({0, 0});
    window.RunCommand(1008);  // the first chapter starts the book
    const int32_t end = text.GetCharCount();
    text.SetSelection({end, end});
    QTest::keyClick(&text, Qt::Key_Return);
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("第三章 新"));
    QApplication::sendEvent(&text, &typed);
    window.Host().ClearMessages();
    window.RunCommand(1008);
    QVERIFY2(window.Host().Messages().empty(),
             qPrintable(window.Host().Messages().empty() ? QString()
                                                         : window.Host().Messages().front().text));
    QCOMPARE(window.ChapterList().GetText(1), G("第三章 新"));
    const brisna::ChapterRecord* record = window.Dialog().chapters.RecordAt(1);
    QCOMPARE(text.GetText().substr(record->offset, 6), G("第三章"));
}

// The menu appears over the background and the frames, not over buttons, labels or lists; it
// lists the books opened last, newest first; a vanished one goes with a message.
void MainWindowTest::backgroundMenuOnlyOverTheBackgroundAndListsRecentBooks() {
    MainWindow& window = *window_;
    const auto rightClick = [&](QWidget* widget) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3),
                                widget->mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(widget, &event);
        const bool shown = window.BackgroundMenu()->isVisible();
        window.BackgroundMenu()->hide();
        return shown;
    };
    QVERIFY(!rightClick(window.Control(1010)));
    QVERIFY(!rightClick(window.Control(1023)));
    QVERIFY(rightClick(window.Control(1022)));
    QVERIFY(rightClick(&window));

    const fs::path first = WriteBook("first.txt");
    const fs::path second = WriteBook("second.txt");
    window.OpenBookFile(QString::fromStdString(first.string()));
    window.OpenBookFile(QString::fromStdString(second.string()));
    window.OpenBookFile(QString::fromStdString((dir_->path() / "missing.txt").string()));
    window.BuildBackgroundMenu();
    QList<QAction*> items = window.BackgroundMenu()->actions();
    // two books, a separator, then the thirteen items of the menu without books
    QCOMPARE(items.size(), 16);
    QCOMPARE(items.at(0)->data().toByteArray(), QByteArray::fromStdString(fs::canonical(second)));
    QCOMPARE(items.at(1)->data().toByteArray(), QByteArray::fromStdString(fs::canonical(first)));

    // A book that went while the menu was open: said so, and kept for when it comes back.
    fs::remove(first);
    window.Host().ClearMessages();
    items.at(1)->trigger();
    QVERIFY(window.Host().Messages().at(0).text.startsWith(QStringLiteral("文件已不存在")));
    QCOMPARE(window.Recent().Paths().size(), 2);
    window.TextView().SetText("");
    window.BackgroundMenu()->actions().at(0)->trigger();
    QVERIFY(window.TextView().GetText().starts_with(G("第一章")));
}

// 仅匹配行首 is kept for the next window; 自动识别章节 fills 起始章节 (one line, even for a heading
// that is a number alone) and marks the chapters, the front matter as the first.
void MainWindowTest::lineStartChoiceIsRememberedAndAutoDetectionMarksChapters() {
    const auto item = [](MainWindow& window, const QString& text) -> QAction* {
        window.BuildBackgroundMenu();
        for (QAction* action : window.BackgroundMenu()->actions()) {
            if (brisna::PlainMenuLabel(action->text()) == text) return action;
        }
        return nullptr;
    };
    const QString lineStart = QStringLiteral("仅匹配行首");
    QAction* check = item(*window_, lineStart);
    QVERIFY(check != nullptr && check->isCheckable() && !check->isChecked());
    QVERIFY(!window_->Dialog().headingsAtLineStart);
    check->trigger();
    QVERIFY(window_->Dialog().headingsAtLineStart);
    {
        MainWindow next(dir_->path() / "BrisnaMake.csv");
        QVERIFY(next.Dialog().headingsAtLineStart);
        QVERIFY(item(next, lineStart)->isChecked());
        item(next, lineStart)->trigger();
    }
    QVERIFY(!MainWindow(dir_->path() / "BrisnaMake.csv").Dialog().headingsAtLineStart);

    const std::string prose = "他走上了山路，远处的村庄亮起了灯火。";
    const struct {
        std::string book;
        QString field;
        std::vector<std::string> titles;
    } cases[] = {
        {"山路\r\n作者 某人\r\n第一章 起程\r\n" + prose + "见第二章。\r\n第二章 到达\r\n" + prose +
             "\r\n第三章 回家\r\n" + prose,
         QStringLiteral("第一章"),
         {"山路", "第一章 起程", "第二章 到达", "第三章 回家"}},
        {"1\r\n" + prose + "\r\n2\r\n" + prose + "\r\n3\r\n" + prose,
         QStringLiteral("1"),
         {"1", "2", "3"}},
    };
    MainWindow& window = *window_;
    window.Host().confirmPresenter = [](const brisna::QtDialogHost::Message&) { return true; };
    auto* field = qobject_cast<QLineEdit*>(window.Control(1017));
    for (const auto& c : cases) {
        brisna::test::WriteFileBytes(dir_->path() / "auto.txt", G(c.book));
        window.OpenBookFile(QString::fromStdString((dir_->path() / "auto.txt").string()));
        window.Host().ClearMessages();
        field->clear();
        item(window, QStringLiteral("自动识别章节"))->trigger();
        QVERIFY2(
            window.Host().Messages().empty(),
            qPrintable(window.Host().Messages().empty() ? QString()
                                                        : window.Host().Messages().front().text));
        QCOMPARE(field->text(), c.field);
        std::vector<std::string> titles;
        for (int32_t i = 0; i < window.ChapterList().GetCount(); ++i) {
            std::string title = window.ChapterList().GetText(i);
            while (!title.empty() && (title.back() == '\r' || title.back() == '\n'))
                title.pop_back();
            titles.push_back(title);
        }
        std::vector<std::string> expected;
        for (const std::string& title : c.titles) expected.push_back(G(title));
        QCOMPARE(titles, expected);
        QCOMPARE(window.Dialog().chapters.OffsetAt(0), 0u);
    }
}

// 设置 saves what its pages show on 确定 only, and the window follows at once.
void MainWindowTest::settingsDialogSavesOnlyOnOk() {
    MainWindow& window = *window_;
    QVERIFY(!window.Dialog().headingsAtLineStart);
    for (const bool ok : {false, true}) {
        brisna::guitest::AnswerNextModal([ok](QWidget* open) {
            auto* settings = qobject_cast<brisna::SettingsDialog*>(open);
            QVERIFY(settings != nullptr);
            auto* page = qobject_cast<brisna::DetectionSettingsPage*>(
                settings->Page(QStringLiteral("识别章节")));
            QVERIFY(page != nullptr);
            page->LineStart()->setChecked(true);
            // The EPUB page is EPUB设置's form, saved with the rest.
            QWidget* epub = settings->Page(QStringLiteral("生成EPUB"));
            QVERIFY(epub != nullptr);
            for (auto* box : epub->findChildren<QCheckBox*>()) {
                if (box->text() == QStringLiteral("不要封面")) box->setChecked(true);
            }
            QVERIFY(epub->findChildren<QDialogButtonBox*>().front()->isHidden());
            if (ok) {
                settings->accept();
            } else {
                settings->reject();
            }
        });
        window.MenuAction(QStringLiteral("设置"))->trigger();
        QCOMPARE(window.Dialog().headingsAtLineStart, ok);
        QCOMPARE(window.LineStartAction()->isChecked(), ok);
        QCOMPARE(brisna::LoadHeadingsAtLineStart(), ok);
        QCOMPARE(brisna::SavedEpubChoices().noCover, ok);
    }
}

// 生成EPUB on the background menu writes book.epub beside the text after the generate-side checks;
// the EPUB opens back like any book (here as a dropped file would) with its chapters, and is
// remembered among the recent books.
void MainWindowTest::epubGoesOutFromTheMenuAndComesBackByDrop() {
    MainWindow& window = *window_;
    const auto item = [&](const QString& text) -> QAction* {
        window.BuildBackgroundMenu();
        for (QAction* action : window.BackgroundMenu()->actions()) {
            if (brisna::PlainMenuLabel(action->text()) == text) return action;
        }
        return nullptr;
    };
    QVERIFY(item(QStringLiteral("打开EPUB")) != nullptr);
    QAction* generate = item(QStringLiteral("生成EPUB"));
    QVERIFY(generate != nullptr);

    const fs::path text = WriteBook("book.txt");
    window.OpenBookFile(QString::fromStdString(text.string()));
    window.Host().ClearMessages();
    generate->trigger();  // no chapters yet: refused as 生成qbr refuses
    QCOMPARE(window.Host().Messages().size(), size_t{1});
    QCOMPARE(window.Host().Messages().front().text, QStringLiteral("请至少添加2个章节"));
    QVERIFY(!fs::exists(dir_->path() / "book.epub"));

    auto* field = qobject_cast<QLineEdit*>(window.Control(1017));
    field->setText(QStringLiteral("第一章"));
    window.RunCommand(1020);
    window.Host().ClearMessages();
    item(QStringLiteral("生成EPUB"))->trigger();
    const fs::path epub = dir_->path() / "book.epub";
    QCOMPARE(window.Host().Messages().size(), size_t{1});
    QCOMPARE(window.Host().Messages().front().text,
             QStringLiteral("生成EPUB成功：") + QString::fromStdString(epub.string()));
    QVERIFY(fs::exists(epub));

    const int32_t chapters = window.ChapterList().GetCount();
    window.Host().confirmPresenter = [](const brisna::QtDialogHost::Message&) { return true; };
    window.OpenBookFile(QString::fromStdString(epub.string()));
    QCOMPARE(window.ChapterList().GetCount(), chapters);
    QCOMPARE(window.Dialog().openedBookPath, epub.string());
    window.BuildBackgroundMenu();
    QCOMPARE(window.BackgroundMenu()->actions().front()->data().toString(),
             QString::fromStdString(epub.string()));

    // Written back over the EPUB it came from only on the operator's word.
    for (const bool agree : {false, true}) {
        QStringList asked;
        window.Host().confirmPresenter = [&](const brisna::QtDialogHost::Message& question) {
            asked << question.text;
            return agree;
        };
        fs::last_write_time(epub, fs::file_time_type{});
        window.Host().ClearMessages();
        item(QStringLiteral("生成EPUB"))->trigger();
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked.front().startsWith(QStringLiteral("生成的EPUB将替换打开的EPUB文件")));
        QCOMPARE(window.Host().Messages().size(), agree ? size_t{1} : size_t{0});
        QCOMPARE(fs::last_write_time(epub) != fs::file_time_type{}, agree);
    }
}

// Tab walks the controls column by column and leaves the text without typing into it; Enter in
// the two fields presses their buttons; arrows in the problem list keep the focus there.
void MainWindowTest::keyboardWalksTheControlsInReadingOrder() {
    MainWindow& window = *window_;
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const int order[] = {1010, 1011, 1016, 1021, 1001, 1027, 1029, 1005, 1006, 1007, 1019,
                         1004, 1014, 1015, 1008, 1026, 1013, 1017, 1018, 1020, 1009, 1012};
    window.Control(order[0])->setFocus();
    for (size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window.Control(order[i]));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), window.Control(1009));
    QCOMPARE(window.TextView().GetCharCount(), 0);
    QTest::keyClick(&window.TextView(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(window.TextView().GetText(), "\t");

    window.TextView().SetText(G("甲\r\n乙\r\n甲"));
    window.Host().ClearMessages();
    auto* search = qobject_cast<QLineEdit*>(window.Control(1014));
    search->setText(QStringLiteral("甲"));
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(window.TextView().GetSelection().min, 0);
    QTest::keyClick(&window, Qt::Key_F3);
    QCOMPARE(window.TextView().GetSelection().min, 4);  // the second 甲

    brisna::QtListBox& problems = window.ProblemList();
    for (int line : {0, 2}) {
        problems.AddString(G("第1个可疑字：甲！[Line ") + std::to_string(line) + "]");
    }
    problems.setFocus();
    problems.SetSel(true, 0);
    QTest::keyClick(&problems, Qt::Key_Down);
    QCOMPARE(problems.GetCaretIndex(), 1);
    QCOMPARE(window.TextView().LineFromChar(-1), 2);
    QVERIFY(problems.hasFocus());
}

// The minimum follows the display modes; the first size fits a 1024x600 screen and a
// 1600x900 one at 150 % (1067x600 logical pixels).
void MainWindowTest::minimumAndFirstSizeFitSmallScreens() {
    MainWindow& window = *window_;
    const auto least = [](bool wide, bool shown) {
        const brisna::PixelSize s = brisna::MinimumClientSize(wide, shown);
        return QSize(s.width, s.height);
    };
    QCOMPARE(window.minimumSize(), least(false, true));
    Press(window, 1021);
    QCOMPARE(window.minimumSize(), least(false, false));
    Press(window, 1021);
    for (QRect screen : {QRect(0, 0, 1024, 600), QRect(0, 0, 1067, 600)}) {
        window.FitFirstSizeTo(screen);
        QVERIFY(window.frameGeometry().width() <= screen.width());
        QVERIFY(window.frameGeometry().height() <= screen.height());
        QVERIFY(window.width() >= window.minimumWidth());
        // 关闭问题列表 stays on the screen.
        QVERIFY(window.Control(1021)->geometry().right() < window.width());
    }
}

int main(int argc, char** argv) {
    // The program's own application object: its translation and its event guard are under test.
    brisna::CBrisnaMakeApp app(argc, argv);
    MainWindowTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
