// 分册生成 in the window: the plan tree, and every part written on 确定 with the bar full.
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
};

void PartsPlanDialogTest::planTreeAndWritingOnOk() {
    QTemporaryDir work;
    std::string book = G("山河行\r\n作者：某人\r\n内容简介：一个少年离开山村，走过很多地方。\r\n");
    for (uint32_t i = 1; i <= 150; ++i) {
        book += G("第") + brisna::RenderChineseNumber(i) + G("章 山路\r\n");
        for (int k = 0; k < 6; ++k) book += G("天色渐渐暗了下来，山路上只剩下他一个人。\r\n");
    }
    const QString path = work.filePath(QStringLiteral("山河行.txt"));
    brisna::test::WriteFileBytes(path.toStdString(), book);

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

int main(int argc, char** argv) {
    brisna::CBrisnaMakeApp app(argc, argv);
    PartsPlanDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PartsPlanDialogTest.moc"
