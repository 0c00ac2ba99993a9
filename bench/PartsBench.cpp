// 分册生成 of a 10 MiB novel of 3,000 chapters of real Chinese prose: the whole run (outline, plan,
// every part checked and written), next to generating each part's text alone as one book, and
// heading recognition on the same novel.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/HeadlessDialogHost.h"
#include "book/Generation.h"
#include "chapters/ChapterModel.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "detect/BookOutline.h"
#include "detect/ChineseNumerals.h"
#include "detect/HeadingPatternDetection.h"
#include "parts/PartGeneration.h"
#include "parts/PartPlan.h"
#include "text/CodePage936.h"

namespace {

using namespace brisna;

constexpr uint32_t kChapters = 3000;
constexpr size_t kNovelBytes = 10'000'000;

// Chapters of about 3.3 KB of prose in whole lines, each headed 第N章 with a title.
const std::string& Novel() {
    static const std::string novel = [] {
        const std::string prose = bench::RealChineseText(kNovelBytes + kNovelBytes / 4);
        const size_t perChapter = kNovelBytes / kChapters;
        std::string text = Utf8ToGbk("山河行\r\n作者：某人\r\n内容简介：") +
                           prose.substr(0, prose.find("\r\n") + 2);
        size_t at = 0;
        for (uint32_t i = 1; i <= kChapters; ++i) {
            text += Utf8ToGbk("第") + RenderChineseNumber(i) + Utf8ToGbk("章 山河") + "\r\n";
            const size_t start = text.size();
            while (text.size() - start < perChapter) {
                size_t end = prose.find("\r\n", at);
                if (end == std::string::npos) {
                    at = 0;
                    continue;
                }
                text += prose.substr(at, end + 2 - at);
                at = end + 2;
            }
        }
        return text;
    }();
    return novel;
}

std::filesystem::path Folder() {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "brisna-parts-bench";
    std::filesystem::create_directories(folder);
    return folder;
}

PartPlan Plan(const std::filesystem::path& folder) {
    return PlanParts(Novel(), HeadingsOfOutline(BuildBookOutline(Novel())),
                     (folder / "novel.txt").string());
}

void BM_GeneratePartsOfNovel(benchmark::State& state) {
    const std::filesystem::path folder = Folder();
    for (auto _ : state) {
        HeadlessDialogHost host;
        PartPlan plan = Plan(folder);
        if (!GenerateParts(Novel(), plan, host).succeeded) {
            state.SkipWithError("part generation failed");
            break;
        }
        state.counters["parts"] = static_cast<double>(plan.parts.size());
    }
    state.counters["gbk_bytes"] = static_cast<double>(Novel().size());
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_GeneratePartsOfNovel)->Unit(benchmark::kMillisecond)->MinTime(3);

// The same parts, each generated alone as a book made by hand: its text in a view, its chapters
// in the list.
void BM_GenerateEachPartAlone(benchmark::State& state) {
    const std::filesystem::path folder = Folder();
    const PartPlan plan = Plan(folder);
    std::vector<std::string> texts;
    for (const PlannedPart& part : plan.parts)
        texts.push_back(Novel().substr(part.textOffset, part.textLength));
    for (auto _ : state) {
        for (size_t k = 0; k < plan.parts.size(); ++k) {
            HeadlessRichEdit view;
            HeadlessListBox list;
            HeadlessDialogHost host;
            CMyRECtrl ctrl(view);
            ChapterModel model;
            view.SetText(texts[k]);
            ctrl.RebuildLineTable();
            for (const ChapterRecord& record : plan.parts[k].RelativeChapters()) {
                model.Append(record);
                list.AddString(record.Title());
            }
            if (!GenerateBook(ctrl, list, model, host, plan.parts[k].sourcePath).succeeded) {
                state.SkipWithError("generation failed");
                return;
            }
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_GenerateEachPartAlone)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_DetectNovel(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<HeadingCandidate> candidates = DetectHeadingPatterns(Novel());
        benchmark::DoNotOptimize(candidates.data());
        if (!candidates.empty()) state.counters["chapters"] = candidates.front().chapters;
    }
}
BENCHMARK(BM_DetectNovel)->Unit(benchmark::kMillisecond);

void BM_OutlineOfNovel(benchmark::State& state) {
    for (auto _ : state) {
        BookOutline outline = BuildBookOutline(Novel());
        benchmark::DoNotOptimize(outline.entries.data());
        state.counters["entries"] = static_cast<double>(outline.entries.size());
    }
}
BENCHMARK(BM_OutlineOfNovel)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
