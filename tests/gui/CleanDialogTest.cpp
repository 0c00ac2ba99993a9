// 整理文本 in the window: the counts per pass follow the check boxes, a double-click shows the
// line, 确定 puts the cleaned text in and keeps the chapters on their headings. With a folder as
// its argument it also draws the dialog into clean-dialog.png there.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/ControlIds.h"
#include "gui/CBrisnaMakeApp.h"
#include "gui/CleanDialog.h"
#include "gui/MainWindow.h"
#include "support/TestSupport.h"

using brisna::guitest::G;

namespace {

QString screenshotFolder;

const char* const kBook =
    "山门记\r\n目录\r\n第1章　山门\r\n第2章　下山\r\n第3章　回家\r\n"
    "第1章　山门\r\n　　天色将晚，山下的小镇\r\n亮起了灯。少年背着柴，沿\r\n着石阶往下走。\r\n"
    "本书由××小说网整理，请于下载后24小时内删除\r\n　　“求推荐！”小师妹喊道。\r\n（本章完）\r\n"
    "第2章　下山\r\n　　雨停了。\r\n求月票！求推荐票！\r\n=====\r\n"
    "第3章　回家\r\n　　他回到了家。\r\n";

}  // namespace

class CleanDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void previewsAppliesAndKeepsChapters();
};

void CleanDialogTest::previewsAppliesAndKeepsChapters() {
    QTemporaryDir work;
    const QString path = work.filePath(QStringLiteral("山门记.txt"));
    brisna::test::WriteFileBytes(path.toStdString(), G(kBook));
    brisna::MainWindow window(std::filesystem::path(work.filePath("none.csv").toStdString()));
    window.Host().messagePresenter = [](const brisna::QtDialogHost::Message&) {};
    window.OpenTextAtStart(path);
    // Chapters on the title line and on 第2章's heading line.
    brisna::QtRichEdit& text = window.TextView();
    for (int line : {0, 12}) {
        text.SetSelection({text.LineIndex(line), text.LineIndex(line)});
        window.RunCommand(brisna::kAddChapterButton);
    }
    QCOMPARE(window.Dialog().chapters.Count(), 2u);
    QVERIFY(window.MenuAction(QStringLiteral("整理文本")) != nullptr);

    const std::string original = text.GetText();
    brisna::CleanDialog dialog(window.Dialog(), &window);
    QCOMPARE(dialog.Report()->text(),
             QStringLiteral("已删除广告等 4 行、目录 1 处，合并断行 2 处"));
    QCOMPARE(dialog.Changes()->count(), 10);  // 4 contents lines, 4 junk lines, 2 joins
    QVERIFY(dialog.Changes()->item(0)->text().startsWith(QStringLiteral("2\t目录\t目录")));
    if (!screenshotFolder.isEmpty()) {
        dialog.show();
        QApplication::processEvents();
        dialog.grab().save(screenshotFolder + QStringLiteral("/clean-dialog.png"));
    }

    // Without the junk pass only the contents go: the junk lines left between the wrapped ones
    // make the book look unwrapped.
    QList<QCheckBox*> boxes = dialog.findChildren<QCheckBox*>();
    QVERIFY(!boxes.isEmpty());
    boxes.front()->setChecked(false);
    QCOMPARE(dialog.Changes()->count(), 4);
    QCOMPARE(dialog.Report()->text(),
             QStringLiteral("已删除广告等 0 行、目录 1 处，合并断行 0 处"));
    boxes.front()->setChecked(true);

    // A double-click shows the removed line in the text.
    dialog.ShowChange(6);  // 本书由…, line 10
    QCOMPARE(text.LineFromChar(text.GetSelection().min), 9);

    dialog.Apply();
    const std::string cleaned = text.GetText();
    QCOMPARE(QString::fromStdString(brisna::test::U(cleaned)),
             QStringLiteral("　　山门记\r\n第1章　山门\r\n"
                            "　　天色将晚，山下的小镇亮起了灯。少年背着柴，沿着石阶往下走。\r\n"
                            "　　“求推荐！”小师妹喊道。\r\n第2章　下山\r\n　　雨停了。\r\n"
                            "第3章　回家\r\n　　他回到了家。\r\n"));
    const brisna::ChapterRecord* chapter = window.Dialog().chapters.RecordAt(1);
    QCOMPARE(cleaned.substr(chapter->offset, G("第2章").size()), G("第2章"));
    // One step back gives the book as it was.
    window.Dialog().OnUndo();
    QCOMPARE(text.GetText(), original);

    // From the menu every clean-up run and 确定's changes go through the window's worker (each
    // run ends with an empty busy notice), with the same result.
    QSignalSpy notices(&window.Work(), &brisna::BackgroundWork::busyNoticeChanged);
    brisna::guitest::AnswerNextModal([](QWidget* open) {
        auto* shown = dynamic_cast<brisna::CleanDialog*>(open);
        QVERIFY(shown != nullptr);
        QCheckBox* junk = shown->findChildren<QCheckBox*>().front();
        junk->setChecked(false);
        QCOMPARE(shown->Changes()->count(), 4);
        junk->setChecked(true);
        QVERIFY(shown->isEnabled());
        shown->accept();
    });
    window.MenuAction(QStringLiteral("整理文本"))->trigger();
    QCOMPARE(text.GetText(), cleaned);
    QCOMPARE(notices.count(QList<QVariant>{QString()}), 4);
}

int main(int argc, char** argv) {
    brisna::CBrisnaMakeApp app(argc, argv);
    // The dialog starts from saved choices: the user's own must neither count nor change.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    CleanDialogTest test;
    // A folder given first is where the screenshot goes; QtTest gets the rest.
    if (argc > 1 && argv[1][0] != '-') {
        screenshotFolder = QString::fromLocal8Bit(argv[1]);
        argv[1] = argv[0];
        return QTest::qExec(&test, argc - 1, argv + 1);
    }
    return QTest::qExec(&test, argc, argv);
}

#include "CleanDialogTest.moc"
