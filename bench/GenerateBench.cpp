// "生成qbr" on the largest book the checks let through (98 chapters of 30,720 GBK bytes of real
// Chinese prose), next to zlib compressing the same text as UTF-16 in one call.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Capacities.h"
#include "app/HeadlessDialogHost.h"
#include "book/Generation.h"
#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace {

using namespace brisna;

struct LargestBook {
    std::string text;
    std::vector<ChapterRecord> chapters;
};

// Each chapter: a heading line, then real prose cut on a character boundary, padded with spaces
// and ended with CR LF to exactly 30,720 bytes.
const LargestBook& Book() {
    static const LargestBook book = [] {
        LargestBook made;
        const std::string prose = bench::RealChineseText(kChapterSizeLimit * kMaxChapters);
        size_t from = 0;
        for (uint32_t i = 0; i < kMaxChapters; ++i) {
            std::string chapter = Utf8ToGbk("第" + std::to_string(i + 1) + "章") + "\r\n";
            const size_t room = kChapterSizeLimit - chapter.size() - 2;
            size_t take = 0;
            while (from + take < prose.size()) {
                size_t length = GbkCharLength(prose, from + take);
                if (take + length > room) break;
                take += length;
            }
            // Never leave half a line end behind: the text view would make it a whole one.
            if (take > 0 && prose[from + take - 1] == '\r') --take;
            chapter += prose.substr(from, take);
            chapter.append(room - take, ' ');
            chapter += "\r\n";
            from += take;
            if (from < prose.size() && prose[from] == '\n') ++from;
            ChapterRecord record;
            record.SetTitle(chapter.substr(0, chapter.find('\r')));
            record.offset = static_cast<uint32_t>(made.text.size());
            made.chapters.push_back(record);
            made.text += chapter;
        }
        return made;
    }();
    return book;
}

// One run of the command on a fresh headless window; false unless it reported success.
bool GenerateOnce(const std::filesystem::path& folder) {
    const LargestBook& book = Book();
    HeadlessRichEdit view;
    HeadlessListBox list;
    HeadlessDialogHost host;
    CMyRECtrl ctrl(view);
    ChapterModel model;
    view.SetText(book.text);
    ctrl.RebuildLineTable();
    for (const ChapterRecord& record : book.chapters) {
        model.Append(record);
        list.AddString(record.Title());
    }
    bool succeeded =
        GenerateBook(ctrl, list, model, host, (folder / "largest.txt").string()).succeeded;
    for (const ShownMessage& message : host.Messages()) {
        if (!succeeded) std::fprintf(stderr, "%s\n", GbkToUtf8Lossless(message.text).c_str());
    }
    return succeeded;
}

double ZlibSeconds(const std::string& utf16) {
    std::vector<Bytef> packed(compressBound(utf16.size()));
    uLongf packedLength = packed.size();
    auto start = std::chrono::steady_clock::now();
    compress(packed.data(), &packedLength, reinterpret_cast<const Bytef*>(utf16.data()),
             utf16.size());
    benchmark::DoNotOptimize(packed.data());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_GenerateLargestBook(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "brisna-generate-bench";
    std::filesystem::create_directories(folder);
    const std::string utf16 = Utf16ToLeBytes(GbkToUtf16(Book().text));
    double generateSeconds = 0;
    double zlibSeconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!GenerateOnce(folder)) {
            state.SkipWithError("generation failed");
            break;
        }
        generateSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        zlibSeconds += ZlibSeconds(utf16);
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["gbk_bytes"] = static_cast<double>(Book().text.size());
    state.counters["generate_ms"] = generateSeconds / runs * 1000;
    state.counters["zlib_utf16_ms"] = zlibSeconds / runs * 1000;
    state.counters["generate_over_zlib"] = generateSeconds / zlibSeconds;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_GenerateLargestBook)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_ZlibCompressSameUtf16(benchmark::State& state) {
    const std::string utf16 = Utf16ToLeBytes(GbkToUtf16(Book().text));
    std::vector<Bytef> packed(compressBound(utf16.size()));
    for (auto _ : state) {
        uLongf packedLength = packed.size();
        compress(packed.data(), &packedLength, reinterpret_cast<const Bytef*>(utf16.data()),
                 utf16.size());
        benchmark::DoNotOptimize(packed.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(utf16.size()));
}
BENCHMARK(BM_ZlibCompressSameUtf16)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
