// EPUB设置: the choices survive a restart of the program, a hand-edited settings file cannot
// put a length out of its bounds, and the dialog shows and gives back what was saved, also a
// value the command line allows but its lists do not offer.
#include <QComboBox>
#include <QSettings>
#include <QtTest>

#include "gui/EpubSettings.h"
#include "gui/EpubSettingsDialog.h"
#include "support/TestSupport.h"

class EpubSettingsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void choicesSurviveARestart();
    void handEditedValuesFallBackToTheDefaults();
    void theDialogGivesBackWhatItShows();

  private:
    std::unique_ptr<brisna::test::TempDir> settings_;
};

void EpubSettingsTest::initTestCase() {
    settings_ = std::make_unique<brisna::test::TempDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settings_->path().string()));
}

void EpubSettingsTest::init() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrisnaMake"),
              QStringLiteral("BrisnaMake"))
        .clear();
}

brisna::EpubChoices Chosen() {
    brisna::EpubChoices choices;
    choices.coverPath = "/books/封面.png";
    choices.fontPath = "/fonts/book.ttf";
    choices.stylesheetPath = "/books/own.css";
    choices.style.indentTenths = 0;
    choices.style.spacingTenths = 5;
    choices.style.lineHeightTenths = 23;
    choices.style.headingAlignment = brisna::HeadingAlignment::kLeft;
    choices.style.fontFamily = brisna::FontFamily::kKai;
    choices.style.vertical = true;
    choices.style.keepBlankLines = true;
    return choices;
}

void Compare(const brisna::EpubChoices& got, const brisna::EpubChoices& expected) {
    QCOMPARE(got.coverPath, expected.coverPath);
    QCOMPARE(got.noCover, expected.noCover);
    QCOMPARE(got.fontPath, expected.fontPath);
    QCOMPARE(got.stylesheetPath, expected.stylesheetPath);
    QCOMPARE(got.style.indentTenths, expected.style.indentTenths);
    QCOMPARE(got.style.spacingTenths, expected.style.spacingTenths);
    QCOMPARE(got.style.lineHeightTenths, expected.style.lineHeightTenths);
    QVERIFY(got.style.headingAlignment == expected.style.headingAlignment);
    QVERIFY(got.style.fontFamily == expected.style.fontFamily);
    QCOMPARE(got.style.vertical, expected.style.vertical);
    QCOMPARE(got.style.keepBlankLines, expected.style.keepBlankLines);
}

void EpubSettingsTest::choicesSurviveARestart() {
    Compare(brisna::SavedEpubChoices(), brisna::EpubChoices());
    brisna::SaveEpubChoices(Chosen());
    Compare(brisna::SavedEpubChoices(), Chosen());
}

void EpubSettingsTest::handEditedValuesFallBackToTheDefaults() {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrisnaMake"),
                       QStringLiteral("BrisnaMake"));
    settings.setValue("epub/indent", 400);
    settings.setValue("epub/lineHeight", -3);
    settings.setValue("epub/spacing", QStringLiteral("wide"));
    settings.setValue("epub/fontFamily", QStringLiteral("comic"));
    settings.sync();
    Compare(brisna::SavedEpubChoices(), brisna::EpubChoices());
}

void EpubSettingsTest::theDialogGivesBackWhatItShows() {
    brisna::EpubSettingsDialog dialog(Chosen());
    Compare(dialog.Choices(), Chosen());
    // Line height 2.3 is no item of the list: it is added and stays chosen.
    bool found = false;
    for (QComboBox* box : dialog.findChildren<QComboBox*>()) {
        if (box->currentText() == QStringLiteral("2.3")) found = true;
    }
    QVERIFY(found);
}

QTEST_MAIN(EpubSettingsTest)
#include "EpubSettingsTest.moc"
