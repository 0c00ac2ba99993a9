// 按规则识别章节… in the window: the live count and first matches, a bad pattern's message, and
// the patterns 确定 kept offered again.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/CBrisnaMakeApp.h"
#include "gui/PatternDialog.h"

using brisna::guitest::G;

class PatternDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void countsMatchesAndRemembersPatterns();
};

void PatternDialogTest::countsMatchesAndRemembersPatterns() {
    const std::string book =
        G("书名\r\n【一】山\r\n文字。\r\n【二】水\r\n文字。\r\n\r\n短题\r\n\r\n");
    {
        brisna::PatternDialog dialog(book, nullptr);
        dialog.PatternField()->setCurrentText(QStringLiteral("【[^】]+】"));
        dialog.Preview();
        QCOMPARE(dialog.CountLabel()->text(), QStringLiteral("找到3章"));
        QCOMPARE(dialog.Matches()->count(), 3);
        QCOMPARE(dialog.Matches()->item(1)->text(), QStringLiteral("2行：【一】山"));

        dialog.PatternField()->setCurrentText(QStringLiteral("【("));
        dialog.Preview();
        QVERIFY(dialog.CountLabel()->text().startsWith(QStringLiteral("章节规则有误（第")));
        QCOMPARE(dialog.Matches()->count(), 0);

        dialog.PatternField()->setCurrentText(QStringLiteral("Chapter"));
        dialog.Preview();
        QCOMPARE(dialog.CountLabel()->text(), QStringLiteral("没有一行符合章节规则"));

        // 确定 with a usable rule keeps it for the next time.
        dialog.PatternField()->setCurrentText(QStringLiteral("【[^】]+】"));
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
    }
    brisna::PatternDialog again(book, nullptr);
    QCOMPARE(again.PatternField()->itemText(0), QStringLiteral("【[^】]+】"));
    again.ShortTitlesBox()->setChecked(true);
    again.Preview();
    QVERIFY(again.CountLabel()->text().startsWith(QStringLiteral("找到")));
}

int main(int argc, char** argv) {
    brisna::CBrisnaMakeApp app(argc, argv);
    // The dialog starts from saved choices: the user's own must neither count nor change.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    PatternDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PatternDialogTest.moc"
