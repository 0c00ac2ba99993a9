// Heading recognition over a book of the largest size the editor takes: a title line, a contents
// list, and chapters headed 第1章 .. 第400章 in just under 10 MiB of real Chinese prose, with a
// cross-reference to the next chapter in running text: the cost of `detect` and of 自动识别章节.

#include <benchmark/benchmark.h>

#include <string>

#include "BenchSupport.h"
#include "Capacities.h"
#include "detect/HeadingPatternDetection.h"
#include "text/CodePage936.h"

namespace {

using namespace brisna;

// GBK of before + n + after.
std::string Numbered(const char* before, int n, const char* after) {
    std::string utf8 = before;
    utf8 += std::to_string(n);
    utf8 += after;
    return Utf8ToGbk(utf8);
}

constexpr int kChapters = 400;

const std::string& Book() {
    static const std::string book = [] {
        std::string text = Utf8ToGbk("风起云涌\r\n作者：佚名\r\n目录\r\n");
        for (int n = 1; n <= kChapters; ++n) {
            text += Numbered("第", n, "章 卷中事\r\n");
        }
        const size_t chapterBytes = (kMaxTextBytes - 4096 - text.size()) / kChapters;
        const std::string prose = bench::RealChineseText(chapterBytes);
        for (int n = 1; n <= kChapters; ++n) {
            std::string heading = Numbered("第", n, "章 卷中事\r\n");
            std::string mention = Numbered("　　下文参照第", n + 1, "章。\r\n");
            // Cut the prose at a paragraph end so every heading starts its own line.
            std::string body = prose.substr(0, chapterBytes - heading.size() - mention.size());
            body.resize(body.rfind("\r\n") + 2);
            text += heading + mention + body;
        }
        return text;
    }();
    return book;
}

void BM_DetectHeadingPatterns10MiB(benchmark::State& state) {
    const std::string& book = Book();
    for (auto _ : state) {
        std::vector<HeadingCandidate> candidates = DetectHeadingPatterns(book);
        // Every chapter is counted, past what one book's chapter list holds, and the title page
        // before the first heading is one more.
        if (candidates.empty() || candidates[0].chapters != kChapters + 1) {
            state.SkipWithError("the chapters were not recognised");
            break;
        }
        benchmark::DoNotOptimize(candidates);
    }
    state.counters["text_bytes"] = static_cast<double>(book.size());
}

BENCHMARK(BM_DetectHeadingPatterns10MiB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
