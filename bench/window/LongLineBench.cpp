// The window on books made of one enormous line without a single break opportunity (question
// marks, dashes, letters and digits): opening one until its first page is painted, and paging
// down through it. Runs on Qt's offscreen platform unless another one is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "gui/MainWindow.h"

namespace {

QTemporaryDir& Work() {
    static QTemporaryDir dir;
    return dir;
}

QString OneLineBook(size_t bytes) {
    const QString file = Work().filePath(QStringLiteral("line-%1.txt").arg(bytes));
    if (!QFile::exists(file)) {
        std::string line;
        const std::string pattern = "?-a1b2?--c3d4e5f6?";
        while (line.size() < bytes) line += pattern;
        line.resize(bytes);
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(line.data(), static_cast<qint64>(line.size()));
    }
    return file;
}

std::filesystem::path NoWords() {
    const QString file = Work().filePath(QStringLiteral("BrisnaMake.csv"));
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    return file.toStdString();
}

void Settle() {
    QApplication::processEvents();
    QApplication::processEvents();
}

void BM_OpenOneLineBookToFirstPaint(benchmark::State& state) {
    const QString book = OneLineBook(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<brisna::MainWindow>(NoWords());
        window->show();
        Settle();
        state.ResumeTiming();
        window->OpenBookFile(book);
        window->TextView().viewport()->repaint();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenOneLineBookToFirstPaint)
    ->Arg(1'000'000)
    ->Arg(4'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// One page down and its repaint, the slowest of 20 in a row (the view must stay responsive).
void BM_PageDownOneLineBook(benchmark::State& state) {
    auto window = std::make_unique<brisna::MainWindow>(NoWords());
    window->show();
    window->OpenBookFile(OneLineBook(static_cast<size_t>(state.range(0))));
    window->TextView().viewport()->repaint();
    Settle();
    QScrollBar* bar = window->TextView().verticalScrollBar();
    for (auto _ : state) {
        double slowest = 0;
        for (int step = 0; step < 20; ++step) {
            auto start = std::chrono::steady_clock::now();
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            window->TextView().viewport()->repaint();
            std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            slowest = std::max(slowest, took.count());
        }
        state.SetIterationTime(slowest);
    }
}
BENCHMARK(BM_PageDownOneLineBook)
    ->Arg(4'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
