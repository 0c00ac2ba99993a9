// 分册生成 in the window: the plan tree, and every part written on 确定 with the bar full.
#include <QDir>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "GuiTestSupport.h"
#include "detect/ChineseNumerals.h"
#include "gui/CBrisnaMakeApp.h"
#include "gui/MainWindow.h"
#include "gui/PartsPlanDialog.h"
#include "support/TestSupport.h"

using brisna::guitest::G;

class PartsPlanDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void planTreeAndWritingOnOk();
    void statusBarTellsPartsFilesAndFolder();
};

namespace {

// A novel of 150 chapters and front matter, which 分册生成 writes as two parts.
QString WriteNovel(const QTemporaryDir& work) {
    std::string book = G("山河行\r\n作者：某人\r\n内容简介：一个少年离开山村，走过很多地方。\r\n");
    for (uint32_t i = 1; i <= 150; ++i) {
        book += G("第") + brisna::RenderChineseNumber(i) + G("章 山路\r\n");
        for (int k = 0; k < 6; ++k) book += G("天色渐渐暗了下来，山路上只剩下他一个人。\r\n");
    }
    const QString path = work.filePath(QStringLiteral("山河行.txt"));
    brisna::test::WriteFileBytes(path.toStdString(), book);
    return path;
}

}  // namespace

void PartsPlanDialogTest::planTreeAndWritingOnOk() {
    QTemporaryDir work;
    const QString path = WriteNovel(work);

    brisna::MainWindow window(std::filesystem::path(work.filePath("none.csv").toStdString()));
    window.Host().messagePresenter = [](const brisna::QtDialogHost::Message&) {};
    window.OpenTextAtStart(path);
    int parts = -1, children = -1, bar = -1;
    bool written = false;
    window.Dialog().reviewPartsPlan = [&](const brisna::PartPlan& plan,
                                          const brisna::CBrisnaMakeDlg::PartsWriter& write) {
        brisna::PartsPlanDialog dialog(plan, write, &window);
        parts = dialog.Tree()->topLevelItemCount();
        children = dialog.Tree()->topLevelItem(0)->childCount();
        QCOMPARE(dialog.Tree()->topLevelItem(0)->text(0), QStringLiteral("山河行(1).qbr2"));
        dialog.WriteParts();  // what 确定 does
        bar = dialog.Progress()->value();
        written = dialog.Outcome().succeeded;
    };
    window.Dialog().OnGenerateParts();
    // 151 chapters (the front matter is one) in two parts of 75 and 76.
    QCOMPARE(parts, 2);
    QCOMPARE(children, 75);
    QCOMPARE(bar, 2);
    QVERIFY(written);
    QVERIFY(QFile::exists(work.filePath(QStringLiteral("山河行(1).qbr2"))));
    QVERIFY(QFile::exists(work.filePath(QStringLiteral("山河行(2).qbr"))));
    QVERIFY(window.Host().Messages().back().text.startsWith(QStringLiteral("分册生成成功：共2册")));
}

// From the menu, the plan's 确定 writes the parts off the window's thread; the status bar then
// counts the parts and every file written, names the absolute folder and offers to open it.
void PartsPlanDialogTest::statusBarTellsPartsFilesAndFolder() {
    QTemporaryDir work;
    const QString path = WriteNovel(work);
    brisna::MainWindow window(std::filesystem::path(work.filePath("none.csv").toStdString()));
    window.Host().messagePresenter = [](const brisna::QtDialogHost::Message&) {};
    window.OpenTextAtStart(path);
    brisna::guitest::AnswerNextModal([](QWidget* modal) {
        auto* dialog = dynamic_cast<brisna::PartsPlanDialog*>(modal);
        QVERIFY(dialog != nullptr);
        dialog->WriteParts();
    });
    window.MenuAction(QStringLiteral("分册生成"))->trigger();

    const QStringList written =
        QDir(work.path()).entryList({QStringLiteral("*.qbr2"), QStringLiteral("*.qbr")});
    QVERIFY(written.size() >= 4);
    const QString folder = QDir::toNativeSeparators(QDir(work.path()).absolutePath());
    QCOMPARE(window.CurrentStatus().notice,
             QStringLiteral("共2册，%1个文件，保存在 %2").arg(written.size()).arg(folder));
    QCOMPARE(window.CurrentStatus().writtenFolder, folder);
}

int main(int argc, char** argv) {
    brisna::CBrisnaMakeApp app(argc, argv);
    PartsPlanDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PartsPlanDialogTest.moc"
