// Loading a book of the largest size the editor takes: the read, the digit replacement, the
// normalisation, putting the text into the view and rebuilding the line table, next to the bare
// cost of reading the file and finding its line ends.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchSupport.h"
#include "Capacities.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessRichEdit.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"
#include "text/EncodingConversion.h"
#include "text/GbkText.h"

namespace {

using namespace brisna;

// A book-like text of exactly `size` bytes: paragraphs of Chinese prose with full-width digits
// and spaces, blank-line runs of several lengths, stray carriage returns.
std::string MakeBookText(size_t size) {
    const std::string sentences[] = {
        Utf8ToGbk("　　他推开窗，夜色里的长街还亮着几盏灯，远处传来第１２声钟响。"),
        Utf8ToGbk("她没有回答，只是把那封信又看了一遍，然后轻轻放回抽屉里。"),
        Utf8ToGbk("第３章　山雨欲来"),
        Utf8ToGbk("众人面面相觑，谁也说不清这件事究竟从何而起，又将如何收场。"),
        "Chapter notes: ASCII text mixed in, 2024.",
    };
    const std::string breaks[] = {"\r\n", "\r\n", "\r\n\r\n", "\r\n\r\n\r\n\r\n", "\r", "\r\n"};
    std::string text;
    text.reserve(size + 256);
    size_t step = 0;
    while (text.size() < size) {
        text += sentences[step % 5];
        text += sentences[(step * 7 + 3) % 5];
        text += breaks[step % 6];
        ++step;
    }
    text.resize(size);
    return text;
}

const std::filesystem::path& BookFile() {
    static const std::filesystem::path path = [] {
        std::filesystem::path file =
            std::filesystem::temp_directory_path() / "brisna-loading-bench.txt";
        std::ofstream(file, std::ios::binary) << MakeBookText(kMaxTextBytes - 1);
        return file;
    }();
    return path;
}

void BM_LoadBookWithLineTable(benchmark::State& state) {
    const std::string path = BookFile().string();
    HeadlessRichEdit view;
    CMyRECtrl control(view);
    for (auto _ : state) {
        BookReadResult read = ReadBookFile(path);
        std::string text = PrepareLoadedText(read.bytes);
        view.SetText(text);
        control.RebuildLineTable();
        benchmark::DoNotOptimize(control.LineStarts().data());
    }
    state.counters["lines"] = static_cast<double>(control.LineStarts().size());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kMaxTextBytes - 1));
}
BENCHMARK(BM_LoadBookWithLineTable)->Unit(benchmark::kMillisecond);

// The same on real prose, cut to the same size.
void BM_LoadRealProseWithLineTable(benchmark::State& state) {
    static const std::filesystem::path file = [] {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / "brisna-loading-bench-prose.txt";
        std::string text = bench::RealChineseText(kMaxTextBytes - 1);
        text.resize(kMaxTextBytes - 1);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }();
    const std::string path = file.string();
    HeadlessRichEdit view;
    CMyRECtrl control(view);
    for (auto _ : state) {
        BookReadResult read = ReadBookFile(path);
        view.SetText(PrepareLoadedText(read.bytes));
        control.RebuildLineTable();
        benchmark::DoNotOptimize(control.LineStarts().data());
    }
    state.counters["lines"] = static_cast<double>(control.LineStarts().size());
}
BENCHMARK(BM_LoadRealProseWithLineTable)->Unit(benchmark::kMillisecond);

void BM_ReadAndFindLineEnds(benchmark::State& state) {
    const std::string path = BookFile().string();
    std::string buffer(kMaxTextBytes, '\0');
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
        std::fclose(file);
        size_t lines = 0;
        const char* at = buffer.data();
        const char* end = buffer.data() + got;
        while ((at = static_cast<const char*>(std::memchr(at, '\n', end - at))) != nullptr) {
            ++lines;
            ++at;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kMaxTextBytes - 1));
}
BENCHMARK(BM_ReadAndFindLineEnds)->Unit(benchmark::kMillisecond);

// The stages alone, to see where the time of a load goes.
void BM_PrepareOnly(benchmark::State& state) {
    const std::string bytes = MakeBookText(kMaxTextBytes - 1);
    for (auto _ : state) benchmark::DoNotOptimize(PrepareLoadedText(bytes).size());
}
BENCHMARK(BM_PrepareOnly)->Unit(benchmark::kMillisecond);

void BM_SetTextOnly(benchmark::State& state) {
    const std::string text = PrepareLoadedText(MakeBookText(kMaxTextBytes - 1));
    HeadlessRichEdit view;
    for (auto _ : state) {
        view.SetText(text);
        benchmark::DoNotOptimize(view.GetLineCount());
    }
}
BENCHMARK(BM_SetTextOnly)->Unit(benchmark::kMillisecond);

void BM_RebuildLineTableOnly(benchmark::State& state) {
    HeadlessRichEdit view;
    view.SetText(PrepareLoadedText(MakeBookText(kMaxTextBytes - 1)));
    CMyRECtrl control(view);
    for (auto _ : state) {
        control.RebuildLineTable();
        benchmark::DoNotOptimize(control.LineStarts().data());
    }
}
BENCHMARK(BM_RebuildLineTableOnly)->Unit(benchmark::kMillisecond);

// A book that came as UTF-8: the same GBK text of 10 MiB - 1 byte (ending on a whole character,
// so both files hold exactly the same text), loaded with detection and conversion, next to the
// GBK file loaded the same way (detection included) in the same run.
struct SameTextFiles {
    std::filesystem::path gbk;
    std::filesystem::path utf8;
    bool same = false;
};

const SameTextFiles& SameText() {
    static const SameTextFiles files = [] {
        std::string gbk = MakeBookText(kMaxTextBytes - 1);
        size_t at = 0;
        while (at < gbk.size() && at + GbkCharLength(gbk, at) < gbk.size()) {
            at += GbkCharLength(gbk, at);
        }
        if (GbkCharLength(gbk, at) == 1) gbk[at] = 'x';  // no lead byte left alone at the end
        const std::string utf8 = GbkToUtf8Lossless(gbk);
        SameTextFiles made;
        made.gbk = std::filesystem::temp_directory_path() / "brisna-loading-bench-same.txt";
        made.utf8 = std::filesystem::temp_directory_path() / "brisna-loading-bench-utf8.txt";
        std::ofstream(made.gbk, std::ios::binary) << gbk;
        std::ofstream(made.utf8, std::ios::binary) << utf8;
        GbkConversion back = ConvertToGbk(utf8, TextEncoding::kUtf8);
        made.same = back.gbk == gbk && back.replaced == 0;
        return made;
    }();
    return files;
}

void LoadWithDetection(benchmark::State& state, const std::filesystem::path& file) {
    if (!SameText().same) {
        state.SkipWithError("the UTF-8 file does not convert back to the GBK text");
        return;
    }
    const std::string path = file.string();
    HeadlessRichEdit view;
    CMyRECtrl control(view);
    for (auto _ : state) {
        BookLoadResult loaded = LoadBookFile(path, TextEncoding::kAuto);
        view.SetText(loaded.text);
        control.RebuildLineTable();
        benchmark::DoNotOptimize(control.LineStarts().data());
    }
    state.counters["lines"] = static_cast<double>(control.LineStarts().size());
}

void BM_LoadUtf8BookWithDetection(benchmark::State& state) {
    LoadWithDetection(state, SameText().utf8);
}
BENCHMARK(BM_LoadUtf8BookWithDetection)->Unit(benchmark::kMillisecond);

void BM_LoadGbkSameTextWithDetection(benchmark::State& state) {
    LoadWithDetection(state, SameText().gbk);
}
BENCHMARK(BM_LoadGbkSameTextWithDetection)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
