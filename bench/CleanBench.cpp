// 整理文本 over a book of the largest size the editor takes: a downloaded novel of real Chinese
// prose with a contents list, site notices, chapter-end marks and begging lines, hard-wrapped at
// 35 characters with full-width indents (every pass has work to do), and the same novel with a
// paragraph per line (the wrap analysis finds nothing to join).

#include <benchmark/benchmark.h>

#include <string>

#include "BenchSupport.h"
#include "Capacities.h"
#include "clean/TextCleanup.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace {

using namespace brisna;

constexpr int kChapters = 400;
constexpr size_t kWrapBytes = 70;  // 35 Chinese characters

std::string Heading(int n) {
    return Utf8ToGbk("第" + std::to_string(n) + "章 山中事\r\n");
}

// A paragraph cut into lines of at most kWrapBytes, never inside a character.
std::string Wrapped(std::string_view paragraph) {
    std::string out;
    size_t lineStart = 0;
    for (size_t at = 0; at < paragraph.size();) {
        size_t length = GbkCharLength(paragraph, at);
        if (at + length - lineStart > kWrapBytes) {
            out.append(paragraph.substr(lineStart, at - lineStart)).append("\r\n");
            lineStart = at;
        }
        at += length;
    }
    out.append(paragraph.substr(lineStart)).append("\r\n");
    return out;
}

std::string Book(bool wrapped) {
    const std::string indent = Utf8ToGbk("　　");
    const std::string junk[] = {
        Utf8ToGbk("本书由××小说网整理，请于下载后24小时内删除\r\n"),
        Utf8ToGbk("求月票！求推荐票！\r\n"),
        Utf8ToGbk("============\r\n"),
    };
    const std::string endMark = Utf8ToGbk("（本章完）\r\n");
    std::string text = Utf8ToGbk("山中事\r\n目录\r\n");
    for (int n = 1; n <= kChapters; ++n) text += Heading(n);
    const size_t chapterBytes = (kMaxTextBytes - 8192 - text.size()) / kChapters;
    const std::string prose = bench::RealChineseText(kMaxTextBytes);
    size_t from = 0;
    for (int n = 1; n <= kChapters; ++n) {
        const size_t start = text.size();
        text += Heading(n);
        // Paragraphs of three lines of prose each, until the chapter is full.
        for (int p = 0; text.size() - start < chapterBytes; ++p) {
            std::string paragraph = indent;
            for (int k = 0; k < 3; ++k) {
                size_t end = prose.find("\r\n", from);
                if (end == std::string::npos) {
                    from = 0;
                    end = prose.find("\r\n");
                }
                paragraph += prose.substr(from, end - from);
                from = end + 2;
            }
            text += wrapped ? Wrapped(paragraph) : paragraph + "\r\n";
            if (p % 10 == 9) text += junk[(n + p) % 3];
        }
        text += endMark;
    }
    text.resize(std::min<size_t>(text.size(), kMaxTextBytes - 1));
    text.resize(text.rfind("\r\n") + 2);
    return text;
}

void RunClean(benchmark::State& state, const std::string& book, bool expectJoins) {
    for (auto _ : state) {
        CleanupResult result = CleanText(book, CleanupOptions());
        if (result.counts.contentsBlocks != 1 || (result.counts.joinedLines > 0) != expectJoins) {
            state.SkipWithError("the book was not cleaned as expected");
            break;
        }
        benchmark::DoNotOptimize(result);
    }
    state.counters["MiB"] = static_cast<double>(book.size()) / (1024 * 1024);
}

void BM_CleanWrappedBook10MiB(benchmark::State& state) {
    static const std::string book = Book(true);
    RunClean(state, book, true);
}

void BM_CleanUnwrappedBook10MiB(benchmark::State& state) {
    static const std::string book = Book(false);
    RunClean(state, book, false);
}

}  // namespace

BENCHMARK(BM_CleanWrappedBook10MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CleanUnwrappedBook10MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
