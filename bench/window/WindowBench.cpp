// The window's own timings on the largest books: opening a 10 MiB book until its first page is
// painted, and 生成测试 filling the problem list with about 100,000 findings (the list has to
// stay usable at that size). Runs on Qt's offscreen platform unless another one is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
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

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
