// The window's own timings on the largest books: opening a 10 MiB book until its first page is
// painted, and 生成测试 filling the problem list with about 100,000 findings (the list has to
// stay usable at that size). Runs on Qt's offscreen platform unless another one is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>

#include "GuiTestSupport.h"
#include "app/ControlIds.h"
#include "gui/MainWindow.h"

namespace {

QTemporaryDir& Work() {
    static QTemporaryDir dir;
    return dir;
}

// A 10 MiB book of real-looking text; written once.
QString BigBook() {
    static const QString path = [] {
        const QString file = Work().filePath(QStringLiteral("big.txt"));
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        const std::string book = brisna::guitest::MakeBook(10'400'000, 98);
        out.write(book.data(), static_cast<qint64>(book.size()));
        return file;
    }();
    return path;
}

// Suspicious words that the book holds well over 100,000 times between them.
std::filesystem::path WordsFile() {
    const QString file = Work().filePath(QStringLiteral("BrisnaMake.csv"));
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(brisna::guitest::G("他\r\n山路\r\n").c_str());
    return file.toStdString();
}

void Settle() {
    QApplication::processEvents();
    QApplication::processEvents();
}

void BM_OpenBookToFirstPaint(benchmark::State& state) {
    const QString book = BigBook();
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<brisna::MainWindow>(WordsFile());
        window->show();
        Settle();
        state.ResumeTiming();
        window->OpenBookFile(book);
        window->TextView().viewport()->repaint();  // the first page, painted now
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenBookToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TestCommandWith100kFindings(benchmark::State& state) {
    auto window = std::make_unique<brisna::MainWindow>(WordsFile());
    window->show();
    window->OpenBookFile(BigBook());
    Settle();
    int findings = 0;
    for (auto _ : state) {
        window->RunCommand(brisna::kTestButton);
        window->ProblemList().viewport()->repaint();
        findings = window->ProblemList().GetCount();
    }
    state.counters["findings"] = findings;
}
BENCHMARK(BM_TestCommandWith100kFindings)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same with the problem list showing only what blocks generation: the filter follows the
// rows as the command adds them.
void BM_TestCommandFilteredOnBlocking(benchmark::State& state) {
    auto window = std::make_unique<brisna::MainWindow>(WordsFile());
    window->show();
    window->OpenBookFile(BigBook());
    window->SetProblemFilter(1);
    Settle();
    int findings = 0;
    int shown = 0;
    for (auto _ : state) {
        window->RunCommand(brisna::kTestButton);
        window->ProblemList().viewport()->repaint();
        findings = window->ProblemList().GetCount();
        shown = window->ProblemList().ShownCount();
    }
    state.counters["findings"] = findings;
    state.counters["shown"] = shown;
}
BENCHMARK(BM_TestCommandFilteredOnBlocking)->Unit(benchmark::kMillisecond)->Iterations(1);

// What 100 undoable steps keep on a 10 MiB book with 98 chapters: the chapter-list states the
// history holds (typing has the text view's own undo and is not part of it).
void BM_UndoHistory100Steps(benchmark::State& state) {
    auto window = std::make_unique<brisna::MainWindow>(WordsFile());
    window->show();
    window->OpenBookFile(BigBook());
    auto* start = window->findChild<QLineEdit*>(QStringLiteral("control1017"));
    start->setText(QStringLiteral("第一章"));
    window->RunCommand(brisna::kIncrementalAddButton);
    Settle();
    brisna::CBrisnaMakeDlg& dialog = window->Dialog();
    size_t bytes = 0;
    for (auto _ : state) {
        dialog.history.Clear();
        for (int step = 0; step < 100; ++step) {
            // Moving the first chapter to the end and back: each a full-list step.
            dialog.OnMoveChapterTo(step % 2 == 0 ? 0 : dialog.chapterList.GetCount() - 1,
                                   step % 2 == 0 ? dialog.chapterList.GetCount() : 0);
        }
        bytes = dialog.history.Bytes();
    }
    state.counters["chapters"] = dialog.chapters.Count();
    state.counters["steps"] = static_cast<double>(dialog.history.UndoSteps());
    state.counters["undo_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_UndoHistory100Steps)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
