// "繁体转简体" on a book just below the 10 MiB bound, next to the opencc command-line tool
// converting the same text (as UTF-8, with its phrase-aware t2s configuration).

#include <benchmark/benchmark.h>
#include <opencc/SimpleConverter.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchSupport.h"
#include "Capacities.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessRichEdit.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"
#include "text/TraditionalToSimplified.h"

namespace {

using namespace brisna;

// Real Simplified prose turned Traditional with OpenCC's s2t, cut to 10 MiB - 1 byte.
const std::string& TraditionalBook() {
    static const std::string book = [] {
        const size_t size = kMaxTextBytes - 1;
        std::string simplified = bench::RealChineseText(size);
        opencc::SimpleConverter toTraditional("s2t.json");
        std::string traditional = Utf8ToGbk(toTraditional.Convert(GbkToUtf8Lossless(simplified)));
        while (traditional.size() < size) traditional += traditional;
        // Cut on a character boundary, then pad with spaces to the exact size.
        size_t cut = 0;
        while (cut < size) {
            size_t length = IsGbkLeadByte(static_cast<unsigned char>(traditional[cut])) ? 2 : 1;
            if (cut + length > size) break;
            cut += length;
        }
        traditional.resize(cut);
        traditional.resize(size, ' ');
        return traditional;
    }();
    return book;
}

void BM_TraditionalToSimplifiedText(benchmark::State& state) {
    const std::string& book = TraditionalBook();
    TraditionalToSimplified("");  // the table is built once per run, before the clock starts
    for (auto _ : state) {
        std::string converted = TraditionalToSimplified(book);
        benchmark::DoNotOptimize(converted.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(book.size()));
    // How much of the book is Traditional at all: characters the conversion changes.
    std::string converted = TraditionalToSimplified(book);
    int64_t changed = 0;
    for (size_t at = 0; at < book.size();) {
        size_t length = GbkCharLength(book, at);
        if (book.compare(at, length, converted, at, length) != 0) ++changed;
        at += length;
    }
    state.counters["changed_chars"] = static_cast<double>(changed);
}
BENCHMARK(BM_TraditionalToSimplifiedText)->Unit(benchmark::kMillisecond);

// The whole command on the control: fetch, convert, replace, rebuild the line table.
void BM_ConvertToSimplifiedCommand(benchmark::State& state) {
    const std::string& book = TraditionalBook();
    TraditionalToSimplified("");
    HeadlessRichEdit view;
    CMyRECtrl control(view);
    for (auto _ : state) {
        state.PauseTiming();
        view.SetText(book);
        control.RebuildLineTable();
        state.ResumeTiming();
        control.ConvertToSimplified();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(book.size()));
}
BENCHMARK(BM_ConvertToSimplifiedCommand)->Unit(benchmark::kMillisecond);

// The opencc tool on the same book in UTF-8, file to file, process start included.
void BM_OpenccCommandLine(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "brisna-convert-bench";
    fs::create_directories(folder);
    const fs::path input = folder / "book-utf8.txt";
    const fs::path output = folder / "book-simplified.txt";
    {
        std::ofstream file(input, std::ios::binary);
        std::string utf8 = GbkToUtf8Lossless(TraditionalBook());
        file.write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
    }
    const std::string command =
        "opencc -c t2s.json -i '" + input.string() + "' -o '" + output.string() + "'";
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        int status = std::system(command.c_str());
        auto stop = std::chrono::steady_clock::now();
        if (status != 0) {
            state.SkipWithError("opencc failed (is the opencc package installed?)");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(TraditionalBook().size()));
    fs::remove_all(folder);
}
BENCHMARK(BM_OpenccCommandLine)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
