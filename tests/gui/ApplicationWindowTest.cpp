// The window as the program shows it: menu bar, shortcuts, status bar, the problem filter, the
// contents editor of the chapter list, recent books, and the first size on scaled screens.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolTip>
#include <QtTest>
#include <filesystem>

#include "GuiTestSupport.h"
#include "Version.h"
#include "app/ControlIds.h"
#include "e2e/CliTestSupport.h"
#include "gui/ApplicationWindow.h"
#include "gui/CBrisnaMakeApp.h"
#include "gui/HelpWindow.h"
#include "gui/MainWindow.h"
#include "support/TestSupport.h"
#include "text/CodePage936.h"

using brisna::ApplicationWindow;
using brisna::MainWindow;
using brisna::guitest::G;
namespace fs = std::filesystem;

namespace {

QString Q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

QString Shown(const std::string& gbk) {
    return QString::fromStdString(brisna::GbkToUtf8Lossless(gbk));
}

// A real book: Chinese prose from the installed manual pages in twelve chapters with a blank
// line between paragraphs, one garbled character, and a last chapter far over 30 KB.
std::string RealBook() {
    const std::string prose = brisna::e2e::InstalledChineseText(80'000);
    if (prose.empty()) return {};
    std::vector<std::string> paragraphs;
    for (size_t at = 0; at < prose.size();) {
        const size_t end = prose.find("\r\n", at);
        paragraphs.push_back(prose.substr(at, end - at));
        at = end + 2;
    }
    static const char* const kNumbers[] = {"一", "二", "三", "四", "五",   "六",
                                           "七", "八", "九", "十", "十一", "十二"};
    std::string book;
    size_t next = 0;
    for (int chapter = 0; chapter < 12; ++chapter) {
        book += G(std::string("第") + kNumbers[chapter] + "章 标题") + "\r\n";
        const size_t take = chapter < 11 ? 6 : paragraphs.size() - next;
        for (size_t i = 0; i < take && next < paragraphs.size(); ++i) {
            book += paragraphs[next++] + "\r\n\r\n";
        }
        if (chapter == 3) book += "\x81\x40\r\n";  // 丂, a GBK character outside GB2312
    }
    return book;
}

// How often the word occurs in the text (as GBK bytes, from the start of each character).
size_t Occurrences(const std::string& text, const std::string& word) {
    size_t count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace

class ApplicationWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menuItemsRunTheCommandsOfTheirButtons();
    void shortcutsReachTheirCommands();
    void statusBarTellsOfTheBookItsProblemsAndTheFilesWritten();
    void everyOpenerStartsTheNextBookAfresh();
    void filterShowsOneKindAndJumpsStillWork();
    void chapterListRenamesMovesSortsAndUndoes();
    void recentBooksAreAbsoluteAndMissingOnesStay();
    void jumpShowsTheTargetWithContextAbove();
    void minimumAndFirstSizeFitScaledScreens();
    void versionAndHelpNeedNoDisplay();

  private:
    MainWindow& Client() { return window_->Client(); }
    fs::path WriteBook(const std::string& name, const std::string& bytes) {
        brisna::test::WriteFileBytes(dir_->path() / name, bytes);
        return dir_->path() / name;
    }
    fs::path SmallBook(const std::string& name = "book.txt") {
        return WriteBook(name, G("第一章 开端\r\n正文，到达了。\r\n第二章 发展\r\n正文。\r\n"
                                 "第三章 结局\r\n正文完。\r\n"));
    }
    void Mark(const std::string& startChapter) {
        qobject_cast<QLineEdit*>(Client().Control(brisna::kStartChapterEdit))
            ->setText(Shown(G(startChapter)));
        Client().RunCommand(brisna::kIncrementalAddButton);
    }
    QStringList Titles() {
        QStringList titles;
        for (int32_t i = 0; i < Client().ChapterList().GetCount(); ++i) {
            titles << Shown(Client().ChapterList().GetText(i));
        }
        return titles;
    }

    std::unique_ptr<brisna::test::TempDir> settings_;
    std::unique_ptr<brisna::test::TempDir> dir_;
    std::unique_ptr<ApplicationWindow> window_;
};

void ApplicationWindowTest::initTestCase() {
    settings_ = std::make_unique<brisna::test::TempDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Q(settings_->path()));
}

void ApplicationWindowTest::init() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrisnaMake"),
              QStringLiteral("BrisnaMake"))
        .clear();
    dir_ = std::make_unique<brisna::test::TempDir>();
    brisna::test::WriteFileBytes(dir_->path() / "BrisnaMake.csv", G("到达\r\n文件\r\n"));
    window_ = std::make_unique<ApplicationWindow>(dir_->path() / "BrisnaMake.csv");
    Client().Host().messagePresenter = [](const brisna::QtDialogHost::Message&) {};
    Client().Host().fileChooser = [](brisna::FileFilter) { return std::optional<QString>(); };
    Client().urlOpener = [](const QUrl&) { return true; };
    Client().Dialog().confirm = [](std::string_view) { return true; };
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void ApplicationWindowTest::cleanup() {
    window_.reset();
    dir_.reset();
}

// Each menu item that has a button runs exactly that button's command; the others are there and
// do what they say.
void ApplicationWindowTest::menuItemsRunTheCommandsOfTheirButtons() {
    QStringList menus;
    for (QAction* action : window_->menuBar()->actions()) menus << action->text();
    QCOMPARE(menus, (QStringList{"文件(&F)", "章节(&C)", "检查(&K)", "生成(&G)", "帮助(&H)"}));

    struct Item {
        const char* text;
        int button;
    };
    const Item items[] = {
        {"打开txt文件", brisna::kOpenTextButton},
        {"打开qbr2文件", brisna::kOpenQbr2Button},
        {"打开qbr", brisna::kOpenQbrButton},
        {"添加章节", brisna::kAddChapterButton},
        {"递增添加章节", brisna::kIncrementalAddButton},
        {"模糊添加章节", brisna::kKeywordAddButton},
        {"上移", brisna::kMoveUpButton},
        {"下移", brisna::kMoveDownButton},
        {"删除", brisna::kDeleteButton},
        {"全部删除", brisna::kDeleteAllButton},
        {"生成测试", brisna::kTestButton},
        {"检查缺章", brisna::kCheckMissingButton},
        {"搜索文本", brisna::kSearchButton},
        {"繁体转简体", brisna::kConvertButton},
        {"生成qbr", brisna::kGenerateButton},
    };
    std::vector<int> ran;
    Client().onCommand = [&](int id) { ran.push_back(id); };
    for (const Item& item : items) {
        QAction* action = Client().MenuAction(QString::fromUtf8(item.text));
        QVERIFY2(action != nullptr, item.text);
        ran.clear();
        if (auto* button = qobject_cast<QPushButton*>(Client().Control(item.button))) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            Client().BuildBackgroundMenu();
            for (QAction* background : Client().BackgroundMenu()->actions()) {
                if (background->text() == QString::fromUtf8(item.text)) background->trigger();
            }
        }
        QCOMPARE(ran, std::vector<int>{item.button});
        ran.clear();
        action->trigger();
        QCOMPARE(ran, std::vector<int>{item.button});
    }
    for (const char* text :
         {"按编码重新打开", "最近打开的图书", "退出", "自动识别章节", "仅匹配行首", "重命名",
          "按位置排序", "撤销", "重做", "查找", "使用说明", "关于 BrisnaMake"}) {
        QVERIFY2(Client().MenuAction(QString::fromUtf8(text)) != nullptr, text);
    }
    // 仅匹配行首 is one choice, whichever menu changes it.
    Client().MenuAction(QStringLiteral("仅匹配行首"))->trigger();
    QVERIFY(Client().Dialog().headingsAtLineStart);
    Client().BuildBackgroundMenu();
    bool checkedInBackground = false;
    for (QAction* action : Client().BackgroundMenu()->actions()) {
        if (action->text() == QStringLiteral("仅匹配行首"))
            checkedInBackground = action->isChecked();
    }
    QVERIFY(checkedInBackground);

    QUrl opened;
    Client().urlOpener = [&](const QUrl& url) {
        opened = url;
        return true;
    };
    Client().MenuAction(QStringLiteral("使用说明"))->trigger();
    QVERIFY(opened.isLocalFile());
    QVERIFY(opened.toLocalFile().endsWith(QStringLiteral("manual.zh_CN.html")));
    QVERIFY(QFileInfo(opened.toLocalFile()).size() > 2000);

    // No browser takes it: the manual opens in the program's own help window, never silence.
    Client().urlOpener = [](const QUrl&) { return false; };
    Client().Host().ClearMessages();
    Client().MenuAction(QStringLiteral("使用说明"))->trigger();
    auto* help = Client().findChild<brisna::HelpWindow*>();
    QVERIFY(help != nullptr && help->isVisible());
    QVERIFY(help->Browser()->toPlainText().size() > 1000);
    QCOMPARE(help->Browser()->source(), opened);
    QVERIFY(Client().Host().Messages().empty());
    help->close();
}

void ApplicationWindowTest::shortcutsReachTheirCommands() {
    MainWindow& client = Client();
    client.OpenBookFile(Q(SmallBook()));
    Mark("第一章");
    QCOMPARE(client.ChapterList().GetCount(), 3);
    std::vector<int> ran;
    client.onCommand = [&](int id) { ran.push_back(id); };

    client.ChapterList().setFocus();
    QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(window_.get(), Qt::Key_F3);
    QCOMPARE(ran, (std::vector<int>{brisna::kOpenTextButton, brisna::kSearchButton}));
    QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), client.Control(brisna::kSearchEdit));
    ran.clear();
    client.Host().fileBytesChooser = [](brisna::FileFilter) { return std::nullopt; };
    QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(ran, std::vector<int>{brisna::kGenerateEpubCommand});
    client.Host().fileBytesChooser = nullptr;

    // A key bound twice would run neither command.
    QStringList keys;
    for (const QAction* action : client.actions()) {
        for (const QKeySequence& key : action->shortcuts()) {
            QVERIFY2(!keys.contains(key.toString()), qPrintable(key.toString()));
            keys.append(key.toString());
        }
    }
    for (const char* key : {"Ctrl+R", "Ctrl+E", "Ctrl+P", "Ctrl+L", "Ctrl+,"})
        QVERIFY2(keys.contains(key), key);

    QUrl opened;
    client.urlOpener = [&](const QUrl& url) {
        opened = url;
        return true;
    };
    QTest::keyClick(window_.get(), Qt::Key_F1);
    QVERIFY(opened.isLocalFile());

    // In the chapter list: Delete deletes, Ctrl+Z and Ctrl+Shift+Z undo and redo it, F2 renames.
    client.ChapterList().setFocus();
    client.ChapterList().SetSel(false, -1);
    client.ChapterList().SetSel(true, 1);
    ran.clear();
    QTest::keyClick(&client.ChapterList(), Qt::Key_Delete);
    QCOMPARE(ran, std::vector<int>{brisna::kDeleteButton});
    QCOMPARE(client.ChapterList().GetCount(), 2);
    QTest::keyClick(&client.ChapterList(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(client.ChapterList().GetCount(), 3);
    QTest::keyClick(&client.ChapterList(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(client.ChapterList().GetCount(), 2);
    QString asked;
    client.titlePrompt = [&](const QString& current) {
        asked = current;
        return std::optional<QString>(QStringLiteral("第三章 大结局"));
    };
    client.ChapterList().SetSel(false, -1);
    client.ChapterList().SetSel(true, 1);
    QTest::keyClick(&client.ChapterList(), Qt::Key_F2);
    QCOMPARE(asked, QStringLiteral("第三章 结局"));
    QCOMPARE(Titles(), (QStringList{"第一章 开端", "第三章 大结局"}));

    // In the text, Ctrl+Z undoes the typing and leaves the chapters alone.
    client.TextView().setFocus();
    QTest::keyClicks(&client.TextView(), QStringLiteral("abc"));
    QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!client.TextView().toPlainText().contains(QStringLiteral("abc")));
    QCOMPARE(client.ChapterList().GetCount(), 2);
    QCOMPARE(Titles().last(), QStringLiteral("第三章 大结局"));
}

// Book A tested and generated, then book B opened each way the window opens a book: the problem
// list, its filter and the status bar are B's, and nothing points into A any more.
void ApplicationWindowTest::everyOpenerStartsTheNextBookAfresh() {
    MainWindow& client = Client();
    std::string prose;
    for (int line = 0; line < 100; ++line) prose += G("河水慢慢流过村口，水车一圈一圈地转着。\r\n");
    const std::string bookB = G("第一章 乙\r\n") + prose + "\r\n" + G("第二章 丙\r\n") + prose;
    const fs::path b = WriteBook("b.txt", bookB);
    client.OpenBookFile(Q(b));
    Mark("第一章");
    client.RunCommand(brisna::kGenerateButton);
    client.RunCommand(brisna::kGenerateEpubCommand);
    for (const char* written : {"b.qbr2", "b.qbr", "b.epub"})
        QVERIFY2(fs::exists(dir_->path() / written), written);

    const std::function<void(const fs::path&)> openers[] = {
        [&](const fs::path& path) {  // 打开txt文件 with its dialog
            client.Host().fileBytesChooser = [path](brisna::FileFilter) {
                return std::optional<std::string>(path.string());
            };
            client.RunCommand(MainWindow::OpenCommandFor(Q(path)));
            client.Host().fileBytesChooser = nullptr;
        },
        [&](const fs::path& path) { client.OpenBookFile(Q(path)); },  // menu items, drops
        [&](const fs::path& path) {  // the command line: after the first paint
            client.OpenAfterFirstPaint(Q(path));
            client.repaint();
            QTRY_VERIFY(client.Dialog().openedBookPath == path.string() ||
                        client.Dialog().bookSourcePath == path.string());
        },
        [&](const fs::path& path) {  // a recent book
            client.BuildBackgroundMenu();
            for (QAction* action : client.BackgroundMenu()->actions()) {
                if (action->data().toByteArray() ==
                    QByteArray::fromStdString(fs::canonical(path).string())) {
                    action->trigger();
                    return;
                }
            }
            QFAIL("not among the recent books");
        },
    };
    const char* const books[] = {"b.txt", "b.qbr2", "b.qbr", "b.epub"};
    int round = 0;
    for (const auto& open : openers) {
        for (const char* name : books) {
            const QByteArray where = QByteArray(name) + " #" + QByteArray::number(round);
            // Book A: tested, filtered to one kind, written.
            client.OpenBookFile(Q(WriteBook("a.txt", G("第一章\r\n\r\n\r\n\x81\x40\r\n"))));
            Mark("第一章");
            client.RunCommand(brisna::kTestButton);
            QVERIFY(client.ProblemList().GetCount() > 0);
            client.SetProblemFilter(4);
            client.RunCommand(brisna::kGenerateButton);  // refused: one chapter
            QVERIFY(!window_->StatusField(2)->text().isEmpty());

            QVERIFY2(fs::exists(dir_->path() / name), where);
            client.Recent().Add(fs::canonical(dir_->path() / name).string());
            open(dir_->path() / name);
            QVERIFY2(client.TextView().GetText().starts_with(G("第一章 乙")), where);
            QCOMPARE(client.ProblemList().GetCount(), 0);
            QCOMPARE(client.ProblemFilter()->currentIndex(), 0);
            QVERIFY2(window_->StatusField(2)->text().isEmpty(), where);
            QVERIFY2(!window_->StatusField(3)->text().startsWith(QStringLiteral("已写入")), where);
            QVERIFY2(window_->StatusField(0)->text().startsWith(QString::fromUtf8(name)), where);
            // B's own test fills the summary with B's counts.
            client.RunCommand(brisna::kTestButton);
            QVERIFY2(window_->StatusField(2)->text().startsWith(QStringLiteral("阻止生成")), where);
        }
        ++round;
    }
}

void ApplicationWindowTest::statusBarTellsOfTheBookItsProblemsAndTheFilesWritten() {
    MainWindow& client = Client();
    QCOMPARE(window_->windowTitle(),
             QStringLiteral("Quorvi EBook 编辑工具 V") + QString::fromLatin1(brisna::kVersion));
    // A long name is told of at once, with its length.
    const std::string longName = "一二三四五六七八九十一二三四五六.txt";  // 16 characters
    client.OpenBookFile(Q(WriteBook(longName, G("第一章\r\n正文。\r\n"))));
    QVERIFY2(window_->StatusField(3)->text().contains(QStringLiteral("文件名长 36 字节")),
             qPrintable(window_->StatusField(3)->text()));
    QVERIFY(window_->StatusField(3)->text().contains(QStringLiteral("QBR文件名不能超过15个汉字")));

    const std::string book(256 * 1024, 'x');
    std::string text = G("第一章 开端\r\n") + std::string(20'000, 'a') + "\r\n" +
                       G("第二章 发展\r\n") + std::string(230'000, 'b') + "\r\n";
    client.OpenBookFile(Q(WriteBook("book.txt", text)));
    QCOMPARE(window_->windowTitle(), QStringLiteral("book.txt - Quorvi EBook 编辑工具 V") +
                                         QString::fromLatin1(brisna::kVersion));
    QCOMPARE(window_->StatusField(0)->text(), QStringLiteral("book.txt（GBK，244.2 KB）"));
    QVERIFY(window_->StatusField(3)->text().isEmpty());
    Mark("第一章");
    QCOMPARE(window_->StatusField(1)->text(), QStringLiteral("章节 2"));
    client.RunCommand(brisna::kTestButton);
    QCOMPARE(window_->StatusField(2)->text(),
             QStringLiteral("阻止生成 1 · 可疑字 0 · 乱码 0 · 空行 1"));  // the last line

    // A novel longer than one book says so on opening.
    std::string novel;
    for (int chapter = 1; chapter <= 120; ++chapter)
        novel += G("第" + std::to_string(chapter) + "章 某事") + "\r\n" + G("正文。") + "\r\n";
    client.OpenBookFile(Q(WriteBook("novel.txt", novel)));
    QCOMPARE(window_->StatusField(1)->text(), QStringLiteral("章节 0（全书 120 章，超过98章）"));

    // Over-long chapters stop generation; a book that generates into several files lists them.
    std::string many;
    for (int chapter = 1; chapter <= 40; ++chapter) {
        many += G("第" + std::to_string(chapter) + "章") + "\r\n";
        for (int line = 0; line < 14; ++line)
            many += std::string(2000, 'a' + chapter % 26) + "\r\n";
    }
    client.OpenBookFile(Q(WriteBook("many.txt", many)));
    Mark("第1章");
    QCOMPARE(client.ChapterList().GetCount(), 40);
    client.RunCommand(brisna::kGenerateButton);
    const QString notice = window_->StatusField(3)->text();
    QStringList written;
    for (const auto& entry : fs::directory_iterator(dir_->path())) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("many") && name != "many.txt") written << QString::fromStdString(name);
    }
    QVERIFY(written.size() >= 4);  // the book is spread over several files of each kind
    QVERIFY2(notice.startsWith(QStringLiteral("已写入 %1 个文件：").arg(written.size())),
             qPrintable(notice));
    for (const QString& file : written) QVERIFY2(notice.contains(file), qPrintable(file));
    // Where they went, absolute even for a window started with a relative path, and a button
    // that opens that folder.
    const QString folder = Q(fs::canonical(dir_->path()));
    QVERIFY2(notice.endsWith(QStringLiteral("，保存在 ") + folder), qPrintable(notice));
    QVERIFY(window_->OpenFolderButton()->isVisible());
    QUrl opened;
    client.urlOpener = [&](const QUrl& url) {
        opened = url;
        return true;
    };
    QTest::mouseClick(window_->OpenFolderButton(), Qt::LeftButton);
    QCOMPARE(opened, QUrl::fromLocalFile(folder));

    const QString cwd = QDir::currentPath();
    QDir::setCurrent(Q(dir_->path()));
    client.OpenBookFile(QStringLiteral("book.txt"));
    QVERIFY(!window_->OpenFolderButton()->isVisible());  // a new book has written nothing yet
    Mark("第一章");
    client.RunCommand(brisna::kGenerateEpubCommand);
    QDir::setCurrent(cwd);
    QCOMPARE(window_->StatusField(3)->text(),
             QStringLiteral("已写入 1 个文件：book.epub，保存在 ") + folder);
    QVERIFY(window_->OpenFolderButton()->isVisible());
}

void ApplicationWindowTest::filterShowsOneKindAndJumpsStillWork() {
    const std::string book = RealBook();
    if (book.empty()) QSKIP("no Chinese manual pages installed");
    MainWindow& client = Client();
    client.OpenBookFile(Q(WriteBook("real.txt", book)));
    Mark("第一章");
    QCOMPARE(client.ChapterList().GetCount(), 12);
    // A chapter listed twice, as a slip of the hand leaves it: its entry blocks generation.
    const brisna::ChapterRecord copy = *client.Dialog().chapters.RecordAt(4);
    client.Dialog().chapters.Append(copy);
    client.ChapterList().AddString(copy.Title());
    client.RunCommand(brisna::kTestButton);
    brisna::QtListBox& problems = client.ProblemList();
    const int32_t total = problems.GetCount();
    const std::string loaded = client.TextView().GetText();

    // Expected rows of each kind, told from the entries' texts on their own.
    std::vector<int32_t> blocking;
    std::vector<int32_t> suspicious;
    std::vector<int32_t> garbled;
    std::vector<int32_t> empty;
    for (int32_t row = 0; row < total; ++row) {
        const QString entry = Shown(problems.GetText(row));
        if (entry.startsWith(QStringLiteral("可疑字"))) {
            suspicious.push_back(row);
        } else if (entry.startsWith(QStringLiteral("乱码"))) {
            garbled.push_back(row);
        } else if (entry.endsWith(QStringLiteral("为空行"))) {
            empty.push_back(row);
        } else {
            blocking.push_back(row);
        }
    }
    QVERIFY(blocking.size() >= 2);  // the last chapter is over 30 KB, the fifth is listed twice
    QCOMPARE(garbled.size(), size_t{1});
    QVERIFY(empty.size() > 60);
    QCOMPARE(suspicious.size(), Occurrences(loaded, G("到达")) + Occurrences(loaded, G("文件")));
    QCOMPARE(window_->StatusField(2)->text(),
             QStringLiteral("阻止生成 %1 · 可疑字 %2 · 乱码 %3 · 空行 %4")
                 .arg(blocking.size())
                 .arg(suspicious.size())
                 .arg(garbled.size())
                 .arg(empty.size()));

    const std::vector<int32_t>* kinds[] = {&blocking, &suspicious, &garbled, &empty};
    for (int choice = 1; choice <= 4; ++choice) {
        client.SetProblemFilter(choice);
        const std::vector<int32_t>& rows = *kinds[choice - 1];
        QCOMPARE(problems.ShownCount(), static_cast<int>(rows.size()));
        QCOMPARE(problems.GetCount(), total);  // the entries themselves stay
        for (int32_t row = 0; row < total; ++row) {
            const bool wanted = std::find(rows.begin(), rows.end(), row) != rows.end();
            QCOMPARE(problems.RowIndex(row).isValid(), wanted);
        }
    }

    // Clicking the third shown empty line scrolls to it; the caret is the row clicked.
    client.SetProblemFilter(4);
    const QRect third = problems.visualRect(problems.RowIndex(empty[2]));
    QTest::mouseClick(problems.viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(problems.GetCaretIndex(), empty[2]);
    const QString entry = Shown(problems.GetText(empty[2]));
    const int line = entry.mid(6, entry.indexOf(QLatin1Char(']')) - 6).toInt();
    QCOMPARE(client.TextView().GetFirstVisibleLine(), line);

    // Double-clicking the duplicate's entry selects the heading it names.
    client.SetProblemFilter(1);
    int32_t duplicate = -1;
    for (int32_t row : blocking) {
        if (Shown(problems.GetText(row)).contains(QStringLiteral("章节重复"))) duplicate = row;
    }
    QVERIFY(duplicate >= 0);
    const QRect first = problems.visualRect(problems.RowIndex(duplicate));
    QTest::mouseClick(problems.viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(problems.viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(client.TextView().textCursor().selectedText(), Shown(std::string(copy.Title())));

    // The selection made under one filter stays on its rows under 全部.
    client.SetProblemFilter(2);
    problems.SetSel(true, suspicious[0]);
    client.SetProblemFilter(0);
    QCOMPARE(problems.ShownCount(), total);
    QVERIFY(problems.selectionModel()->isSelected(problems.RowIndex(suspicious[0])));

    // A row too long for the list shows its whole text as a tooltip.
    client.SetProblemFilter(1);
    problems.setFixedWidth(120);
    QTest::qWait(10);
    const QRect row = problems.visualRect(problems.RowIndex(duplicate));
    QCOMPARE(problems.CutRowTextAt(row.center()), Shown(problems.GetText(duplicate)));
    problems.setFixedWidth(2000);
    QTest::qWait(10);
    QCOMPARE(problems.CutRowTextAt(problems.visualRect(problems.RowIndex(duplicate)).center()),
             QString());
}

void ApplicationWindowTest::chapterListRenamesMovesSortsAndUndoes() {
    MainWindow& client = Client();
    client.OpenBookFile(Q(SmallBook()));
    Mark("第一章");
    brisna::CMyListBox& list = client.ChapterList();

    // A double-click renames too; a name too long for a record is refused and changes nothing,
    // and the editor comes back with the typed name, to be shortened.
    const QRect second = list.visualRect(list.RowIndex(1));
    const QString tooLong(32, QChar(0x7AE0));  // 32 x 章 = 64 bytes
    QStringList offered;
    client.titlePrompt = [&](const QString& text) {
        offered << text;
        return offered.size() == 1 ? std::optional<QString>(tooLong) : std::nullopt;
    };
    // QTest's double-click is the second click alone; the first comes before it.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(offered, (QStringList{QStringLiteral("第二章 发展"), tooLong}));
    QCOMPARE(Titles(), (QStringList{"第一章 开端", "第二章 发展", "第三章 结局"}));
    QVERIFY(!client.Host().Messages().empty());
    QCOMPARE(client.Host().Messages().back().text,
             QStringLiteral("章节名不能超过63个字节（64个字节）"));

    // The real editor offers the typed name selected, so typing replaces it.
    client.titlePrompt = nullptr;
    QString selected;
    const auto type = [&](QWidget* open) {
        auto* edit = open->findChild<QLineEdit*>();
        edit->setText(tooLong);
        brisna::guitest::AnswerNextModal([&](QWidget* again) {
            QTRY_VERIFY(!again->findChild<QLineEdit*>()->selectedText().isEmpty());
            selected = again->findChild<QLineEdit*>()->selectedText();
            qobject_cast<QDialog*>(again)->reject();
        });
        qobject_cast<QDialog*>(open)->accept();
    };
    brisna::guitest::AnswerNextModal(type);
    client.RenameChapter(1);
    QCOMPARE(selected, tooLong);
    QCOMPARE(Titles(), (QStringList{"第一章 开端", "第二章 发展", "第三章 结局"}));

    // Dragging the first chapter below the last one.
    auto drop = [&](int32_t from, QPoint at) {
        QMimeData data;
        data.setData(brisna::CMyListBox::DragMimeType(), brisna::CMyListBox::DragData(from));
        // Qt delivers a drop only to the widget that accepted the drag's entering.
        QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent event(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &event);
        QVERIFY(event.isAccepted());
    };
    const QRect last = list.visualRect(list.RowIndex(2));
    drop(0, last.bottomLeft() + QPoint(4, -1));
    QCOMPARE(Titles(), (QStringList{"第二章 发展", "第三章 结局", "第一章 开端"}));
    QCOMPARE(list.GetSelItems(), std::vector<int32_t>{2});

    QAction* sort = client.MenuAction(QStringLiteral("按位置排序"));
    sort->trigger();
    QCOMPARE(Titles(), (QStringList{"第一章 开端", "第二章 发展", "第三章 结局"}));
    client.Undo();
    QCOMPARE(Titles(), (QStringList{"第二章 发展", "第三章 结局", "第一章 开端"}));
    client.Undo();
    QCOMPARE(Titles(), (QStringList{"第一章 开端", "第二章 发展", "第三章 结局"}));
    client.Redo();
    client.Redo();
    QCOMPARE(Titles(), (QStringList{"第一章 开端", "第二章 发展", "第三章 结局"}));
    QCOMPARE(client.Dialog().chapters.OffsetAt(2),
             static_cast<uint32_t>(client.TextView().GetText().find(G("第三章"))));
}

void ApplicationWindowTest::recentBooksAreAbsoluteAndMissingOnesStay() {
    const fs::path book = SmallBook("近作.txt");
    const std::string oddName = "\xc4\xcf\xb1\xb1.txt";  // 南北 in GBK: not UTF-8
    const fs::path odd = WriteBook(oddName, G("第一章\r\n正文。\r\n"));
    const fs::path gone = SmallBook("gone.txt");
    const fs::path before = fs::current_path();
    fs::current_path(dir_->path());
    Client().OpenBookFile(QStringLiteral("近作.txt"));  // relative to this folder
    Client().OpenBookFile(QStringLiteral("gone.txt"));
    fs::current_path(before);
    // A name that is not UTF-8 arrives as bytes, as a file dialog or a drop would give it.
    Client().Host().fileBytesChooser = [&](brisna::FileFilter) {
        return std::optional<std::string>(odd.string());
    };
    Client().RunCommand(brisna::kOpenTextButton);
    Client().Host().fileBytesChooser = nullptr;
    fs::remove(gone);

    const QList<QByteArray> paths = Client().Recent().Paths();
    QCOMPARE(paths.size(), 3);
    QCOMPARE(paths.at(0), QByteArray::fromStdString(fs::canonical(odd).string()));
    QCOMPARE(paths.at(2), QByteArray::fromStdString(fs::canonical(book).string()));

    // Started from elsewhere, the entries still name the same files; the vanished one is shown
    // disabled, not removed.
    Client().BuildBackgroundMenu();
    const QList<QAction*> items = Client().BackgroundMenu()->actions();
    QVERIFY(items.at(1)->text().endsWith(QStringLiteral("（文件不存在）")));
    QVERIFY(!items.at(1)->isEnabled());
    QVERIFY(items.at(0)->isEnabled() && items.at(2)->isEnabled());
    Client().TextView().SetText("");
    items.at(0)->trigger();
    QCOMPARE(Client().TextView().GetText(), G("第一章\r\n正文。\r\n"));
    QCOMPARE(Client().Dialog().bookSourcePath, odd.string());
    items.at(2)->trigger();
    QVERIFY(Client().TextView().GetText().starts_with(G("第一章 开端")));
    QCOMPARE(Client().Recent().Paths().size(), 3);
}

void ApplicationWindowTest::jumpShowsTheTargetWithContextAbove() {
    MainWindow& client = Client();
    std::string text;
    for (int line = 0; line < 400; ++line)
        text += G("第" + std::to_string(line) + "行正文") + "\r\n";
    text += G("到达终点") + "\r\n";
    for (int line = 0; line < 40; ++line) text += "x\r\n";
    client.OpenBookFile(Q(WriteBook("long.txt", text)));
    client.RunCommand(brisna::kTestButton);
    brisna::QtListBox& problems = client.ProblemList();
    QCOMPARE(Shown(problems.GetText(0)), QStringLiteral("可疑字（1）[Line 400]：到达！"));
    // From below the target and from above it: the line shows with rows above it.
    for (int start : {430, 0}) {
        client.TextView().verticalScrollBar()->setValue(start);
        QTest::mouseClick(problems.viewport(), Qt::LeftButton, {},
                          problems.visualRect(problems.RowIndex(0)).center());
        const int first = client.TextView().GetFirstVisibleLine();
        QVERIFY2(first < 400 && first >= 390, qPrintable(QString::number(first)));
    }
}

// The first size and the minimum fit the usable screen at every common scale. Each screen runs
// in a program of its own, since Qt reads the scale factor once at start.
void ApplicationWindowTest::minimumAndFirstSizeFitScaledScreens() {
    struct Screen {
        int width;
        int height;
        const char* scale;
    };
    for (const Screen& screen :
         {Screen{1366, 768, "1"}, Screen{1366, 768, "1.5"}, Screen{1366, 768, "2"},
          Screen{1920, 1080, "1"}, Screen{1920, 1080, "1.5"}, Screen{1920, 1080, "2"}}) {
        const QString config = Q(dir_->path() / "screen.json");
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": %1,
                                   "height": %2, "logicalDpi": 96, "dpr": 1}]})")
                       .arg(screen.width)
                       .arg(screen.height)
                       .toUtf8());
        file.close();
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                           QStringLiteral("offscreen:configfile=") + config);
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(screen.scale));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--first-size")});
        QVERIFY(child.waitForFinished(60'000));
        const QString out = QString::fromUtf8(child.readAllStandardOutput()).trimmed();
        QCOMPARE(child.exitCode(), 0);
        const QStringList numbers = out.split(QLatin1Char(' '));
        QCOMPARE(numbers.size(), 7);
        const int availableWidth = numbers[0].toInt();
        const int availableHeight = numbers[1].toInt();
        const QRect frame(numbers[2].toInt(), numbers[3].toInt(), numbers[4].toInt(),
                          numbers[5].toInt());
        const bool controlsInside = numbers[6] == QStringLiteral("1");
        const QString where = QStringLiteral("%1x%2 at %3: %4")
                                  .arg(screen.width)
                                  .arg(screen.height)
                                  .arg(QString::fromLatin1(screen.scale), out);
        QVERIFY2(frame.left() >= 0 && frame.top() >= 0, qPrintable(where));
        QVERIFY2(controlsInside, qPrintable(where));
        if (availableWidth < 900) {
            // 683 x 384 logical pixels hold no window of this dialog: it opens at the minimum
            // in the top left corner, where its menus and first controls are.
            QCOMPARE(frame.topLeft(), QPoint(0, 0));
            continue;
        }
        QVERIFY2(frame.right() < availableWidth && frame.bottom() < availableHeight,
                 qPrintable(where));
    }
    // With the problem list open, the dialog can be as narrow as 900 logical pixels.
    QVERIFY(Client().minimumWidth() <= 900);
    QVERIFY(window_->minimumSizeHint().width() <= 900);
}

void ApplicationWindowTest::versionAndHelpNeedNoDisplay() {
    struct Case {
        QString option;
        const char* locale;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("--version"), "C.UTF-8",
         QStringLiteral("BrisnaMake %1\n").arg(QString::fromLatin1(brisna::kVersion))},
        {QStringLiteral("-V"), "zh_CN.UTF-8",
         QStringLiteral("BrisnaMake %1\n").arg(QString::fromLatin1(brisna::kVersion))},
        {QStringLiteral("--help"), "C.UTF-8", QStringLiteral("-V, --version")},
        {QStringLiteral("-h"), "zh_CN.UTF-8", QStringLiteral("显示此帮助并退出")},
        {QStringLiteral("--help"), "zh_CN.UTF-8", QStringLiteral("用法: BrisnaMake")},
    };
    for (const Case& c : cases) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "LC_MESSAGES"}) {
            environment.remove(QString::fromLatin1(name));
        }
        environment.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(c.locale));
        child.setProcessEnvironment(environment);
        child.start(QStringLiteral(BRISNA_GUI_PROGRAM), {c.option});
        QVERIFY(child.waitForFinished(30'000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        const QString out = QString::fromUtf8(child.readAllStandardOutput());
        QVERIFY2(
            c.expected.endsWith(QLatin1Char('\n')) ? out == c.expected : out.contains(c.expected),
            qPrintable(c.option + QStringLiteral(": ") + out));
        // Nothing of the help is left in English under a Chinese locale.
        if (c.locale[0] == 'z' && c.option.startsWith(QStringLiteral("-h"))) {
            QVERIFY2(!out.contains(QStringLiteral("Usage")), qPrintable(out));
        }
    }
}

// Run by minimumAndFirstSizeFitScaledScreens in a child: the usable area, the window's frame
// after its first sizing, and whether the dialog's right-hand controls are inside the window.
static int ReportFirstSize(int argc, char** argv) {
    brisna::CBrisnaMakeApp app(argc, argv);
    ApplicationWindow window;
    const QRect available = window.screen()->availableGeometry();
    window.FitFirstSizeTo(available);
    window.show();
    QApplication::processEvents();
    MainWindow& client = window.Client();
    bool inside = true;
    for (int id : {brisna::kProblemListToggle, brisna::kProblemList, brisna::kTestButton,
                   brisna::kGenerateButton}) {
        const QRect r = client.Control(id)->geometry();
        inside = inside && r.right() < client.width() && r.bottom() < client.height();
    }
    inside = inside && client.width() >= client.minimumWidth();
    const QRect frame = window.frameGeometry();
    std::printf("%d %d %d %d %d %d %d\n", available.width(), available.height(), frame.x(),
                frame.y(), frame.width(), frame.height(), inside ? 1 : 0);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--first-size") {
        return ReportFirstSize(argc, argv);
    }
    brisna::CBrisnaMakeApp app(argc, argv);
    ApplicationWindowTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationWindowTest.moc"
