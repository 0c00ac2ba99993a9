// Long commands run off the window's thread: the window keeps serving its events while a 10 MiB
// novel is made into an EPUB and opened again, the results are those of the same commands run
// directly on the dialog, and a second command is refused while one runs.

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "detect/ChineseNumerals.h"
#include "gui/CBrisnaMakeApp.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/SettingsDialog.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using brisna::MainWindow;

// Given as the first argument, the folder the progress dialog's picture is drawn into.
static QString screenshotFolder;

namespace {

// Ticks every 50 ms and remembers how late the latest tick came.
class TickWatch {
  public:
    TickWatch() {
        timer_.setInterval(50);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.elapsed();
            worstLateMs_ = std::max(worstLateMs_, now - last_ - 50);
            last_ = now;
            ++ticks_;
        });
        clock_.start();
        timer_.start();
    }
    qint64 WorstLateMs() const { return worstLateMs_; }
    int Ticks() const { return ticks_; }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 worstLateMs_ = 0;
    int ticks_ = 0;
};

// The dialog over headless controls, as the command line and the tests of the core drive it.
struct DirectDialog {
    explicit DirectDialog(const fs::path& words) : dialog(text, chapters, problems, host, words) {}
    brisna::HeadlessRichEdit text;
    brisna::HeadlessListBox chapters;
    brisna::HeadlessListBox problems;
    brisna::HeadlessDialogHost host;
    brisna::CBrisnaMakeDlg dialog;

    void Open(int command, const fs::path& file) {
        host.QueueFileChoice(file.string());
        dialog.OnCommand(command);
    }
    QStringList Messages() const {
        QStringList texts;
        for (const auto& message : host.Messages()) {
            texts << QString::fromStdString(brisna::test::U(message.text));
        }
        return texts;
    }
};

// The window's messages, its book's folder named as the direct dialog's is.
QStringList WindowMessages(MainWindow& window, const fs::path& dir) {
    QStringList texts;
    for (const auto& message : window.Host().Messages()) {
        texts << QString(message.text)
                     .replace(QString::fromStdString(dir / "window"),
                              QString::fromStdString(dir / "direct"));
    }
    return texts;
}

QStringList Items(const brisna::ListBox& list) {
    QStringList items;
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        items << QString::fromStdString(brisna::test::U(list.GetText(i)));
    }
    return items;
}

}  // namespace

class BackgroundWorkTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void novelGoesToEpubAndBackWhileTheWindowServesEvents();
    void busyNoticeThenDialogAndASecondCommandIsRefused();
    void openedEpubCountsItsChaptersAsItsMessageDoes();
    void settingsDialogPicture();

  private:
    std::unique_ptr<brisna::test::TempDir> settings_;
};

void BackgroundWorkTest::initTestCase() {
    // The recent books and choices of these windows stay out of the user's own settings.
    settings_ = std::make_unique<brisna::test::TempDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settings_->path().string()));
}

void BackgroundWorkTest::novelGoesToEpubAndBackWhileTheWindowServesEvents() {
    brisna::test::TempDir dir;
    fs::create_directories(dir.path() / "window");
    fs::create_directories(dir.path() / "direct");
    // As large as a book may be: just below 10 MiB.
    const std::string book = brisna::guitest::MakeBook((10u << 20) - (64u << 10), 90);
    QVERIFY(book.size() > (9u << 20) && book.size() < (10u << 20));
    for (const char* side : {"window", "direct"}) {
        brisna::test::WriteFileBytes(dir.path() / side / "book.txt", book);
    }

    MainWindow window(dir.path() / "no-words.csv");
    window.Host().messagePresenter = [](const brisna::QtDialogHost::Message&) {};
    window.show();
    DirectDialog direct(dir.path() / "no-words.csv");

    // Each long step, in the window (timed by the ticks) and directly on a dialog.
    struct Step {
        const char* what;
        std::function<void()> inWindow;
        std::function<void()> directly;
    };
    const fs::path windowEpub = dir.path() / "window" / "book.epub";
    const fs::path directEpub = dir.path() / "direct" / "book.epub";
    const Step steps[] = {
        {"打开txt文件",
         [&] { window.OpenBookFile(QString::fromStdString((dir.path() / "window/book.txt"))); },
         [&] { direct.Open(brisna::kOpenTextButton, dir.path() / "direct/book.txt"); }},
        {"自动识别章节",
         [&] {
             window.RunDialogCommand(
                 0, [&] { window.Dialog().OnAutoDetectChapters(); }, QStringLiteral("识别…"));
         },
         [&] { direct.dialog.OnAutoDetectChapters(); }},
        {"生成EPUB", [&] { window.RunCommand(brisna::kGenerateEpubCommand); },
         [&] { direct.dialog.OnCommand(brisna::kGenerateEpubCommand); }},
        {"打开EPUB", [&] { window.OpenBookFile(QString::fromStdString(windowEpub)); },
         [&] { direct.Open(brisna::kOpenEpubCommand, directEpub); }},
    };
    for (const Step& step : steps) {
        window.Host().ClearMessages();
        direct.host.ClearMessages();
        {
            TickWatch watch;
            QTest::qWait(120);
            step.inWindow();
            QTest::qWait(120);
            QVERIFY2(watch.Ticks() >= 4, step.what);
            QVERIFY2(watch.WorstLateMs() <= 200,
                     qPrintable(QString::fromUtf8(step.what) +
                                QStringLiteral("：晚了%1毫秒").arg(watch.WorstLateMs())));
        }
        step.directly();
        QCOMPARE(WindowMessages(window, dir.path()), direct.Messages());
        QCOMPARE(Items(window.ChapterList()), Items(direct.chapters));
        QCOMPARE(Items(window.ProblemList()), Items(direct.problems));
        QVERIFY(window.Dialog().bookText.View().GetText() == direct.text.GetText());
        QVERIFY2(window.Dialog().bookText.View().GetTextLength() > (9 << 20), step.what);
    }
    QCOMPARE(window.ChapterList().GetCount(), 90);
    // The two EPUBs differ only in when they were written (what they hold came back equal).
    QCOMPARE(fs::file_size(windowEpub), fs::file_size(directEpub));
    QVERIFY(!window.Busy());
    QVERIFY(!window.TextView().isReadOnly());
}

void BackgroundWorkTest::busyNoticeThenDialogAndASecondCommandIsRefused() {
    brisna::test::TempDir dir;
    MainWindow window(dir.path() / "no-words.csv");
    window.show();
    window.Work().statusDelayMs = 100;
    window.Work().dialogDelayMs = 300;
    QSignalSpy notices(&window.Work(), &brisna::BackgroundWork::busyNoticeChanged);
    QSignalSpy refusals(&window, &MainWindow::transientNotice);

    bool dialogShown = false;
    bool secondRan = false;
    QTimer::singleShot(500, &window, [&] {
        auto* progress = window.findChild<QProgressDialog*>(QStringLiteral("backgroundProgress"));
        dialogShown = progress != nullptr && progress->isVisible() &&
                      progress->labelText() == QStringLiteral("正在生成EPUB…");
        if (dialogShown && !screenshotFolder.isEmpty()) {
            progress->grab().save(screenshotFolder + QStringLiteral("/progress-dialog.png"));
        }
        window.RunDialogCommand(0, [&] { secondRan = true; });
    });
    window.RunDialogCommand(
        0, [] { std::this_thread::sleep_for(std::chrono::milliseconds(800)); },
        QStringLiteral("正在生成EPUB…"));

    QVERIFY(dialogShown);
    QVERIFY(!secondRan);
    QCOMPARE(refusals.size(), 1);
    QCOMPARE(refusals.front().front().toString(),
             QStringLiteral("正在生成EPUB…完成前不能执行其他命令"));
    QCOMPARE(notices.size(), 2);  // the notice, then its end
    QCOMPARE(notices.at(0).front().toString(), QStringLiteral("正在生成EPUB…"));
    QVERIFY(notices.at(1).front().toString().isEmpty());
    QVERIFY(window.findChild<QProgressDialog*>(QStringLiteral("backgroundProgress")) == nullptr ||
            !window.findChild<QProgressDialog*>(QStringLiteral("backgroundProgress"))->isVisible());
    // Afterwards commands run again.
    window.RunDialogCommand(0, [&] { secondRan = true; });
    QVERIFY(secondRan);
}

// An EPUB of more chapters than a book holds: the status bar's whole-book count is the count of
// the message shown on opening, not that of a recognition of the text.
void BackgroundWorkTest::openedEpubCountsItsChaptersAsItsMessageDoes() {
    brisna::test::TempDir dir;
    DirectDialog direct(dir.path() / "no-words.csv");
    // Three volumes of 45 chapters: their headings are entries of the contents of their own.
    std::string book;
    const char* const volumes[] = {"第一卷 出山", "第二卷 远行", "第三卷 归来"};
    for (int v = 0; v < 3; ++v) {
        book += brisna::guitest::G(volumes[v]) + "\r\n";
        for (int c = 1; c <= 45; ++c) {
            book += brisna::guitest::G("第") + brisna::RenderChineseNumber(v * 45 + c) +
                    brisna::guitest::G("章 山路\r\n");
            for (int k = 0; k < 5; ++k) {
                book += brisna::guitest::G("　　天色渐渐暗了下来，山路上只剩下他一个人。\r\n");
            }
        }
    }
    brisna::test::WriteFileBytes(dir.path() / "book.txt", book);
    direct.Open(brisna::kOpenTextButton, dir.path() / "book.txt");
    direct.dialog.OnAutoDetectChapters();
    direct.dialog.OnCommand(brisna::kGenerateEpubCommand);
    QVERIFY(fs::exists(dir.path() / "book.epub"));

    MainWindow window(dir.path() / "no-words.csv");
    window.Host().messagePresenter = [](const brisna::QtDialogHost::Message&) {};
    window.OpenBookFile(QString::fromStdString(dir.path() / "book.epub"));
    QString told;
    for (const auto& message : window.Host().Messages()) {
        if (message.text.startsWith(QStringLiteral("EPUB目录共"))) told = message.text;
    }
    QVERIFY(!told.isEmpty());
    const QString count = told.section(QStringLiteral("共"), 1).section(QStringLiteral("章"), 0, 0);
    QCOMPARE(window.CurrentStatus().chapters,
             QStringLiteral("章节 98（全书 %1 章，超过98章）").arg(count));
}

// Only when drawing the documentation's pictures: the 设置 dialog at its 生成EPUB page.
void BackgroundWorkTest::settingsDialogPicture() {
    if (screenshotFolder.isEmpty()) QSKIP("no picture folder given");
    brisna::SettingsDialog settings;
    settings.Pages()->setCurrentWidget(settings.Page(QStringLiteral("生成EPUB")));
    settings.show();
    QTest::qWait(50);
    settings.grab().save(screenshotFolder + QStringLiteral("/settings-dialog.png"));
}

int main(int argc, char** argv) {
    brisna::CBrisnaMakeApp app(argc, argv);
    BackgroundWorkTest test;
    if (argc > 1 && argv[1][0] != '-') {
        screenshotFolder = QString::fromLocal8Bit(argv[1]);
        argv[1] = argv[0];
        return QTest::qExec(&test, argc - 1, argv + 1);
    }
    return QTest::qExec(&test, argc, argv);
}
#include "BackgroundWorkTest.moc"
