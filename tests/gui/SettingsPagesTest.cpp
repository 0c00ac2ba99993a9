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

void CompareOptions(const CleanupOptions& got, const CleanupOptions& expected) {
    QCOMPARE(got.removeJunk, expected.removeJunk);
    QCOMPARE(got.removeContents, expected.removeContents);
    QCOMPARE(got.removeNotes, expected.removeNotes);
    QCOMPARE(got.joinWrapped, expected.joinWrapped);
    QCOMPARE(got.evenIndents, expected.evenIndents);
    QCOMPARE(got.indentChars, expected.indentChars);
    QCOMPARE(got.squeezeBlankLines, expected.squeezeBlankLines);
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
    struct Case {
        const char* name;
        std::function<void(brisna::CleanSettingsPage&)> change;
        std::function<void(CleanupOptions&)> expect;
        bool ok;
    };
    auto uncheck = [](CleanupPass pass) {
        return [pass](brisna::CleanSettingsPage& page) { page.PassBox(pass)->setChecked(false); };
    };
    const Case cases[] = {
        {"junk kept", uncheck(CleanupPass::kJunk), [](auto& o) { o.removeJunk = false; }, true},
        {"contents kept", uncheck(CleanupPass::kContents),
         [](auto& o) { o.removeContents = false; }, true},
        {"notes removed", [](auto& page) { page.PassBox(CleanupPass::kNotes)->setChecked(true); },
         [](auto& o) { o.removeNotes = true; }, true},
        {"lines not joined", uncheck(CleanupPass::kUnwrap), [](auto& o) { o.joinWrapped = false; },
         true},
        {"no indent",
         [](auto& page) { page.IndentWidth()->setCurrentIndex(page.IndentWidth()->findData(0)); },
         [](auto& o) { o.indentChars = 0; }, true},
        {"indents left alone", uncheck(CleanupPass::kIndent),
         [](auto& o) { o.evenIndents = false; }, true},
        {"blank lines kept", uncheck(CleanupPass::kBlankLines),
         [](auto& o) { o.squeezeBlankLines = false; }, true},
        {"cancelled", uncheck(CleanupPass::kJunk), [](auto&) {}, false},
    };
    QTemporaryDir work;
    brisna::MainWindow window(std::filesystem::path(work.filePath("none.csv").toStdString()));
    for (const Case& c : cases) {
        Settings().clear();
        {
            brisna::SettingsDialog settings;
            c.change(*PageOf<brisna::CleanSettingsPage>(settings, "整理文本"));
            if (c.ok) {
                settings.accept();
            } else {
                settings.reject();
            }
        }
        CleanupOptions expected;
        c.expect(expected);
        brisna::CleanDialog dialog(window.Dialog(), &window);
        CompareOptions(dialog.Options(), expected);
        // The page opened again shows what was saved.
        brisna::SettingsDialog again;
        CompareOptions(PageOf<brisna::CleanSettingsPage>(again, "整理文本")->Options(), expected);
    }

    // A width the dialog does not offer falls back to the usual two spaces.
    for (const auto& [stored, width] :
         {std::pair{QVariant(7), 2}, std::pair{QVariant("x"), 2}, std::pair{QVariant(0), 0}}) {
        Settings().setValue("cleanup/indentChars", stored);
        QCOMPARE(brisna::SavedCleanupDefaults().indentChars, width);
    }
}

void SettingsPagesTest::patternHistoryCanBeTrimmedAndCleared() {
    struct Case {
        const char* name;
        std::function<void(brisna::PatternHistoryPage&)> change;
        bool ok;
        QStringList chapters;
        QStringList volumes;
    };
    const QString first = QStringLiteral("【[^】]+】");
    const QString second = QStringLiteral("第[0-9]+章");
    const QString volume = QStringLiteral("第[一二三]+卷");
    const Case cases[] = {
        {"newest deleted",
         [](auto& page) {
             page.Patterns(false)->item(0)->setSelected(true);
             page.DeleteSelected();
         },
         true,
         {first},
         {volume}},
        {"all cleared", [](auto& page) { page.Clear(); }, true, {}, {}},
        {"cancelled", [](auto& page) { page.Clear(); }, false, {second, first}, {volume}},
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
            if (c.ok) {
                settings.accept();
            } else {
                settings.reject();
            }
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
