// The 设置 dialog's 整理文本 and 规则历史 pages: what 确定 saves there is what 整理文本 and
// 按规则识别章节… start from next time, 取消 saves nothing, and EPUB设置… opens the dialog at
// its 生成EPUB page.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <tuple>

#include "GuiTestSupport.h"
#include "gui/CBrisnaMakeApp.h"
#include "gui/CleanDialog.h"
#include "gui/CleanSettingsPage.h"
#include "gui/MainWindow.h"
#include "gui/PatternDialog.h"
#include "gui/PatternHistoryPage.h"

using brisna::CleanupOptions;
using brisna::CleanupPass;

namespace {

QSettings Settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrisnaMake"),
                     QStringLiteral("BrisnaMake"));
}

template <typename Page>
Page* PageOf(const brisna::SettingsDialog& dialog, const char* title) {
    auto* page = qobject_cast<Page*>(dialog.Page(QString::fromUtf8(title)));
    if (page == nullptr) qFatal("no page %s", title);
    return page;
}

// The options as one comparable value.
auto Passes(const CleanupOptions& o) {
    return std::tuple(o.removeJunk, o.removeContents, o.removeNotes, o.joinWrapped, o.evenIndents,
                      o.indentChars, o.squeezeBlankLines);
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items.append(box->itemText(i));
    return items;
}

// Accepts the pattern dialog with these fields, as the operator would.
void AcceptRule(const QString& pattern, const QString& volume) {
    brisna::PatternDialog dialog(brisna::guitest::G("第1章\r\n文字。\r\n"), nullptr);
    dialog.PatternField()->setCurrentText(pattern);
    dialog.VolumeField()->setCurrentText(volume);
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
}

}  // namespace

class SettingsPagesTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanupDefaultsAreWhatTheDialogStartsFrom();
    void patternHistoryCanBeTrimmedAndCleared();
    void epubSettingsOpensAtItsPage();
};

void SettingsPagesTest::init() {
    Settings().clear();
}

void SettingsPagesTest::cleanupDefaultsAreWhatTheDialogStartsFrom() {
    QTemporaryDir work;
    brisna::MainWindow window(std::filesystem::path(work.filePath("none.csv").toStdString()));
    // One choice changed at a time, so two choices kept under one another's key show; the last
    // is changed and cancelled, which keeps the defaults.
    using Change = std::function<void(brisna::CleanSettingsPage&, CleanupOptions&)>;
    auto flip = [](CleanupPass pass, bool CleanupOptions::*option) -> Change {
        return [=](brisna::CleanSettingsPage& page, CleanupOptions& expected) {
            page.PassBox(pass)->setChecked(!page.PassBox(pass)->isChecked());
            expected.*option = !(expected.*option);
        };
    };
    const std::pair<Change, bool> cases[] = {
        {flip(CleanupPass::kJunk, &CleanupOptions::removeJunk), true},
        {flip(CleanupPass::kContents, &CleanupOptions::removeContents), true},
        {flip(CleanupPass::kNotes, &CleanupOptions::removeNotes), true},
        {flip(CleanupPass::kUnwrap, &CleanupOptions::joinWrapped), true},
        {flip(CleanupPass::kIndent, &CleanupOptions::evenIndents), true},
        {flip(CleanupPass::kBlankLines, &CleanupOptions::squeezeBlankLines), true},
        {[](brisna::CleanSettingsPage& page, CleanupOptions& expected) {
             page.IndentWidth()->setCurrentIndex(page.IndentWidth()->findData(0));
             expected.indentChars = 0;
         },
         true},
        {[](brisna::CleanSettingsPage& page, CleanupOptions&) {
             page.PassBox(CleanupPass::kJunk)->setChecked(false);
         },
         false},
    };
    for (const auto& [change, ok] : cases) {
        Settings().clear();
        CleanupOptions expected;
        {
            brisna::SettingsDialog settings;
            change(*PageOf<brisna::CleanSettingsPage>(settings, "整理文本"), expected);
            ok ? settings.accept() : settings.reject();
        }
        brisna::CleanDialog dialog(window.Dialog(), &window);
        QVERIFY(Passes(dialog.Options()) == Passes(expected));
        // The page opened again shows what was saved.
        brisna::SettingsDialog again;
        QVERIFY(Passes(PageOf<brisna::CleanSettingsPage>(again, "整理文本")->Options()) ==
                Passes(expected));
    }

    // A width the dialog does not offer falls back to the usual two spaces.
    for (const auto& [stored, width] : {std::pair{QVariant(7), 2}, std::pair{QVariant(0), 0}}) {
        Settings().setValue("cleanup/indentChars", stored);
        QCOMPARE(brisna::SavedCleanupDefaults().indentChars, width);
    }
}

void SettingsPagesTest::patternHistoryCanBeTrimmedAndCleared() {
    struct Case {
        std::function<void(brisna::PatternHistoryPage&)> change;
        bool ok;
        QStringList chapters;
        QStringList volumes;
    };
    const QString first = QStringLiteral("【[^】]+】");
    const QString second = QStringLiteral("第[0-9]+章");
    const QString volume = QStringLiteral("第[一二三]+卷");
    const Case cases[] = {
        {[](auto& page) {  // the newest deleted
             page.Patterns(false)->item(0)->setSelected(true);
             page.DeleteSelected();
         },
         true,
         {first},
         {volume}},
        {[](auto& page) { page.Clear(); }, true, {}, {}},
        {[](auto& page) { page.Clear(); }, false, {second, first}, {volume}},  // cancelled
    };
    for (const Case& c : cases) {
        Settings().clear();
        AcceptRule(first, QString());
        AcceptRule(second, volume);
        {
            brisna::SettingsDialog settings;
            auto* page = PageOf<brisna::PatternHistoryPage>(settings, "规则历史");
            QCOMPARE(page->Patterns(false)->count(), 2);
            QCOMPARE(page->Patterns(false)->item(0)->text(), second);
            QVERIFY(!page->DeleteButton()->isEnabled());
            c.change(*page);
            c.ok ? settings.accept() : settings.reject();
        }
        brisna::PatternDialog dialog(std::string(), nullptr);
        QCOMPARE(Items(dialog.PatternField()), c.chapters);
        QCOMPARE(Items(dialog.VolumeField()), c.volumes);
    }

    // A hand-edited list loses its blanks and repeats.
    Settings().setValue("patternHistory/chapters", QStringList{first, QString(), first, second});
    QCOMPARE(brisna::SavedPatternHistory(false), (QStringList{first, second}));
}

void SettingsPagesTest::epubSettingsOpensAtItsPage() {
    QTemporaryDir work;
    brisna::MainWindow window(std::filesystem::path(work.filePath("none.csv").toStdString()));
    QString shown;
    brisna::guitest::AnswerNextModal([&shown](QWidget* open) {
        auto* settings = qobject_cast<brisna::SettingsDialog*>(open);
        if (settings == nullptr) return;
        shown = settings->Pages()->tabText(settings->Pages()->currentIndex());
        settings->reject();
    });
    window.MenuAction(QStringLiteral("EPUB设置"))->trigger();
    QCOMPARE(shown, QStringLiteral("生成EPUB"));
}

int main(int argc, char** argv) {
    brisna::CBrisnaMakeApp app(argc, argv);
    // The pages save into a settings folder of the test's own, never the user's.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    SettingsPagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SettingsPagesTest.moc"
