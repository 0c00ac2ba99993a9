// Recognition of a whole novel at the largest size the editor takes (10 MiB): 3,000 chapters in
// the mixed forms downloads use (volumes with their first chapter on one line, bracketed
// headings, a site's 正文 prefix, Chinese numerals with 两, named sections), with a contents list
// and cross-references; the same book through the operator's pattern; and a book whose headings
// come in runs of three (two heading-only lines, then one with text), which once made the
// contents-list rule look at every later heading for each run.

#include <benchmark/benchmark.h>

#include <string>

#include "BenchSupport.h"
#include "Capacities.h"
#include "detect/BookOutline.h"
#include "detect/ChapterRule.h"
#include "detect/ChineseNumerals.h"
#include "text/CodePage936.h"

namespace {

using namespace brisna;

constexpr int kChapters = 3000;
constexpr int kChaptersPerVolume = 100;

std::string Cn(int n) {
    std::string number = RenderChineseNumber(static_cast<uint32_t>(n));
    // 两百, 两千 as novels write them.
    if (n >= 200 && n < 300) number.replace(0, 2, Utf8ToGbk("两"));
    return number;
}

// The heading line (GBK) of chapter n in one of the forms, in turn.
std::string Heading(int n) {
    const std::string title = Utf8ToGbk(" 山河远行");
    switch (n % 4) {
        case 0:
            return Utf8ToGbk("第") + Cn(n) + Utf8ToGbk("章") + title;
        case 1:
            return Utf8ToGbk("【第") + std::to_string(n) + Utf8ToGbk("章】") + title;
        case 2:
            return Utf8ToGbk("正文 第") + std::to_string(n) + Utf8ToGbk("章") + title;
        default:
            return Utf8ToGbk("第") + std::to_string(n) + Utf8ToGbk("章") + title;
    }
}

const std::string& MixedNovel() {
    static const std::string book = [] {
        std::string text = Utf8ToGbk("山河行\r\n作者：佚名\r\n目录\r\n");
        for (int n = 1; n <= 20; ++n) text += Heading(n) + "\r\n";
        text += Utf8ToGbk("作品相关\r\n　　感谢读者。\r\n楔子\r\n　　很久以前。\r\n");
        const size_t chapterBytes = (kMaxTextBytes - 64 * 1024 - text.size()) / kChapters;
        const std::string prose = bench::RealChineseText(chapterBytes);
        for (int n = 1; n <= kChapters; ++n) {
            std::string heading = Heading(n) + "\r\n";
            if (n % kChaptersPerVolume == 1) {
                heading = Utf8ToGbk("第") + Cn(n / kChaptersPerVolume + 1) + Utf8ToGbk("卷 风云 ") +
                          heading;
            }
            std::string mention = Utf8ToGbk("　　下文参照第") + Cn(n + 1) + Utf8ToGbk("章。\r\n");
            std::string body = prose.substr(0, chapterBytes - heading.size() - mention.size());
            body.resize(body.rfind("\r\n") + 2);
            text += heading + mention + body;
        }
        text += Utf8ToGbk("番外一 旧梦\r\n　　梦醒了。\r\n后记\r\n　　完。\r\n");
        return text;
    }();
    return book;
}

// The chapters the mixed novel holds: the title page, two front sections, every chapter and two
// sections at the back.
constexpr size_t kMixedChapters = 1 + 2 + kChapters + 2;

void BM_RecognitionMixedForms10MiB(benchmark::State& state) {
    const std::string& book = MixedNovel();
    for (auto _ : state) {
        BookOutline outline = BuildBookOutline(book);
        if (outline.ChapterCount() != kMixedChapters) {
            state.SkipWithError("the chapters were not recognised");
            break;
        }
        benchmark::DoNotOptimize(outline);
    }
    state.counters["text_bytes"] = static_cast<double>(book.size());
}

void BM_PatternMixedForms10MiB(benchmark::State& state) {
    const std::string& book = MixedNovel();
    ChapterRule rule;
    rule.pattern = "(【|正文 )?第[0-9零〇一二两三四五六七八九十百千万]+[章卷]";
    for (auto _ : state) {
        std::string problem;
        BookOutline outline = BuildRuleOutline(book, rule, problem);
        // The contents list matches too: a pattern takes every line it matches.
        if (outline.ChapterCount() < kChapters) {
            state.SkipWithError("the pattern missed chapters");
            break;
        }
        benchmark::DoNotOptimize(outline);
    }
    state.counters["text_bytes"] = static_cast<double>(book.size());
}

const std::string& ThreeHeadingRuns() {
    static const std::string book = [] {
        std::string text;
        int n = 1;
        while (text.size() < kMaxTextBytes - 256) {
            for (int k = 0; k < 3; ++k, ++n) {
                text += Utf8ToGbk("第") + std::to_string(n) + Utf8ToGbk("章 题目") + "\r\n";
            }
            text += Utf8ToGbk("　　一行正文。\r\n");
        }
        return text;
    }();
    return book;
}

void BM_OutlineThreeHeadingRuns10MiB(benchmark::State& state) {
    const std::string& book = ThreeHeadingRuns();
    for (auto _ : state) {
        BookOutline outline = BuildBookOutline(book);
        benchmark::DoNotOptimize(outline);
    }
    state.counters["text_bytes"] = static_cast<double>(book.size());
}

BENCHMARK(BM_RecognitionMixedForms10MiB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PatternMixedForms10MiB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OutlineThreeHeadingRuns10MiB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
