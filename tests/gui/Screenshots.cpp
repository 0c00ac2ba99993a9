// Draws the window with a book, chapters and problems, in narrow and wide display, into PNG
// files, and times the opening of a 10 MiB book. Run under a real X server (xvfb-run):
//   xvfb-run -s "-screen 0 1600x900x24" build/h4rel/tests/gui/brisna_gui_screenshots
//   docs/screenshots
// With the arguments --scaled NAME it draws only the window as it first opens on its screen
// into window-NAME.png (run it so with QT_SCALE_FACTOR and the screen size to show).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>

#include "GuiTestSupport.h"
#include "app/ControlIds.h"
#include "detect/ChineseNumerals.h"
#include "gui/ApplicationWindow.h"
#include "gui/CBrisnaMakeApp.h"
#include "gui/MainWindow.h"
#include "gui/PartsPlanDialog.h"

using brisna::guitest::G;

namespace {

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

void WriteFile(const QString& path, const std::string& bytes) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Puts the caret on each heading line and presses "添加章节".
void AddChapters(brisna::MainWindow& window, int count) {
    brisna::QtRichEdit& text = window.TextView();
    brisna::CharRange from{0, -1};
    for (int i = 0; i < count; ++i) {
        brisna::CharRange found = text.FindText(from, G("章 "));
        if (found.min < 0) break;
        const int line = text.LineFromChar(found.min);
        text.SetSelection({text.LineIndex(line), text.LineIndex(line)});
        window.RunCommand(brisna::kAddChapterButton);
        from.min = found.max;
    }
}

}  // namespace

int main(int argc, char** argv) {
    brisna::CBrisnaMakeApp app(argc, argv);  // with Qt's Chinese texts, as the program runs
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);
    QTemporaryDir work;

    // A book with a few chapters, one of them empty and one word from the suspicious list.
    std::string book = brisna::guitest::MakeBook(60000, 12);
    const std::string emptyChapter = G("第十三章 空章\r\n");
    // A pair that is no GB2312 character, which the test command reports as garbled.
    book += emptyChapter + G("第十四章 尾声\r\n　　他终于回到了村庄，灯火通明。") + "\x81\x40" +
            G("\r\n");
    const QString bookPath = work.filePath(QStringLiteral("示例图书.txt"));
    WriteFile(bookPath, book);
    WriteFile(work.filePath(QStringLiteral("BrisnaMake.csv")), G("灯火通明\r\n"));

    brisna::ApplicationWindow top(
        std::filesystem::path(work.filePath("BrisnaMake.csv").toStdString()));
    brisna::MainWindow& window = top.Client();
    const bool scaled = argc > 2 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("--scaled");
    window.Host().messagePresenter = [](const brisna::QtDialogHost::Message& message) {
        std::printf("message: %s\n", message.text.toUtf8().constData());
    };
    top.FitFirstSizeTo(top.screen()->availableGeometry());
    if (!scaled) top.move(60, 40);
    top.show();
    Settle();
    window.OpenTextAtStart(bookPath);
    AddChapters(window, 14);
    window.RunCommand(brisna::kTestButton);
    // Select the garbled-pair entry as the operator would: the text jumps to it.
    window.ProblemList().SetSel(true, 1);
    window.Dialog().OnListSelectionChanged(brisna::kProblemList);
    qobject_cast<QLineEdit*>(window.Control(brisna::kSearchEdit))->setText(QStringLiteral("灯火"));
    qobject_cast<QLineEdit*>(window.Control(brisna::kStartChapterEdit))
        ->setText(QStringLiteral("第一章"));
    window.ChapterList().SetSel(true, 2);
    Settle();
    if (scaled) {
        const QString name = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("scaled");
        top.grab().save(outDir + QStringLiteral("/window-") + name + QStringLiteral(".png"));
        return 0;
    }
    top.grab().save(outDir + QStringLiteral("/window-narrow.png"));
    // The chapter menu open over the window, and the filter on what blocks generation.
    QMenu* chapters = window.Menus().at(1);
    const QRect title = top.menuBar()->actionGeometry(top.menuBar()->actions().at(1));
    chapters->popup(top.menuBar()->mapToGlobal(title.bottomLeft()));
    Settle();
    const QRect around = top.frameGeometry().united(chapters->geometry());
    top.screen()
        ->grabWindow(0, around.x(), around.y(), std::min(around.width(), 760),
                     std::min(around.height(), 520))
        .save(outDir + QStringLiteral("/window-menu.png"));
    chapters->hide();
    window.SetProblemFilter(1);
    Settle();
    top.grab().save(outDir + QStringLiteral("/window-filter-blocking.png"));
    window.SetProblemFilter(0);
    window.Dialog().OnCommand(brisna::kWideDisplayToggle);
    Settle();
    top.grab().save(outDir + QStringLiteral("/window-wide.png"));
    window.Dialog().OnCommand(brisna::kWideDisplayToggle);
    window.Dialog().OnCommand(brisna::kProblemListToggle);
    Settle();
    top.grab().save(outDir + QStringLiteral("/window-no-problem-list.png"));
    window.Dialog().OnCommand(brisna::kProblemListToggle);

    // The question before unsaved chapters go (Qt's buttons in Chinese), answered 取消.
    brisna::guitest::AnswerNextModal([&](QWidget* question) {
        Settle();
        question->grab().save(outDir + QStringLiteral("/confirm-discard.png"));
        question->close();
    });
    top.close();
    window.Host().confirmPresenter = [](const brisna::QtDialogHost::Message&) { return true; };
    top.show();
    // The smallest window: nothing overlaps.
    const QSize before = top.size();
    top.resize(top.minimumSizeHint());
    Settle();
    top.grab().save(outDir + QStringLiteral("/window-minimum.png"));
    top.resize(before);
    Settle();
    std::printf("chapters %d, problems %d\n", window.ChapterList().GetCount(),
                window.ProblemList().GetCount());

    // 分册生成 on a novel of 260 chapters in three volumes: the plan before anything is written.
    std::string novel = G("山河行\r\n作者：某人\r\n内容简介：一个少年离开山村。\r\n");
    for (uint32_t i = 1; i <= 260; ++i) {
        if (i == 1 || i == 81 || i == 176) {
            novel += G("第") +
                     brisna::RenderChineseNumber(i == 1    ? 1
                                                 : i == 81 ? 2
                                                           : 3) +
                     G("卷 山河\r\n");
        }
        novel += G("第") + brisna::RenderChineseNumber(i) + G("章 山路\r\n");
        for (int k = 0; k < 12; ++k) novel += G("　　天色渐渐暗了下来，山路上只剩下他一个人。\r\n");
    }
    const QString novelPath = work.filePath(QStringLiteral("山河行.txt"));
    WriteFile(novelPath, novel);
    window.OpenTextAtStart(novelPath);
    window.Dialog().reviewPartsPlan = [&](const brisna::PartPlan& plan,
                                          const brisna::CBrisnaMakeDlg::PartsWriter& write) {
        brisna::PartsPlanDialog dialog(plan, write, &window);
        dialog.show();
        Settle();
        dialog.grab().save(outDir + QStringLiteral("/parts-plan.png"));
    };
    window.Dialog().OnGenerateParts();
    window.Dialog().reviewPartsPlan = nullptr;

    // Timing: a book just under the 10 MiB limit, opened through the button's command.
    const std::string big = brisna::guitest::MakeBook(10'400'000, 98);
    const QString bigPath = work.filePath(QStringLiteral("big.txt"));
    WriteFile(bigPath, big);
    QElapsedTimer timer;
    timer.start();
    window.OpenTextAtStart(bigPath);
    Settle();
    const qint64 openMs = timer.elapsed();
    timer.restart();
    window.TextView().verticalScrollBar()->setValue(
        window.TextView().verticalScrollBar()->maximum());
    Settle();
    const qint64 scrollEndMs = timer.elapsed();
    timer.restart();
    for (int i = 0; i < 50; ++i) {
        window.TextView().ScrollLines(-200);
        Settle();
    }
    const qint64 scrollStepsMs = timer.elapsed();
    timer.restart();
    top.resize(top.width() - 40, top.height());
    Settle();
    const qint64 resizeMs = timer.elapsed();
    // Further steps of an interactive resize: the text is unchanged, so no rebuild.
    timer.restart();
    for (int i = 0; i < 10; ++i) {
        top.resize(top.width() + 4, top.height());
        Settle();
    }
    const qint64 resizeStepsMs = timer.elapsed();
    timer.restart();
    window.Dialog().bookText.RebuildLineTable();
    const qint64 rebuildMs = timer.elapsed();
    timer.restart();
    window.Dialog().OnCommand(brisna::kConvertButton);
    Settle();
    std::printf("繁体转简体 on the 10 MiB book: %lld ms\n",
                static_cast<long long>(timer.elapsed()));
    std::printf(
        "10 MiB book (%zu bytes, %d lines): open %lld ms, scroll to end %lld ms, 50 scrolls of 200 "
        "lines %lld ms, first resize %lld ms, 10 more resize steps %lld ms, line table rebuild "
        "%lld ms\n",
        big.size(), window.TextView().GetLineCount(), static_cast<long long>(openMs),
        static_cast<long long>(scrollEndMs), static_cast<long long>(scrollStepsMs),
        static_cast<long long>(resizeMs), static_cast<long long>(resizeStepsMs),
        static_cast<long long>(rebuildMs));
    return 0;
}
