// The automatic chapter adds over a book of the largest size the editor takes: 98 chapters
// headed 第一章 .. 第九十八章 in just under 10 MiB of real Chinese prose, marked in one run.

#include <benchmark/benchmark.h>

#include <string>

#include "BenchSupport.h"
#include "Capacities.h"
#include "controls/CMyRECtrl.h"
#include "controls/DialogHost.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "detect/ChineseNumerals.h"
#include "detect/IncrementalChapterAdd.h"
#include "detect/KeywordChapterAdd.h"
#include "text/CodePage936.h"

namespace {

using namespace brisna;

class FieldHost : public DialogHost {
  public:
    void ShowMessage(std::string_view, MessageCaption) override { ++messages; }
    std::optional<std::string> ChooseFileToOpen(FileFilter) override { return std::nullopt; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::string GetFieldText(int) override { return Utf8ToGbk("第一章"); }
    int messages = 0;
};

// 98 chapters of equal size, each a heading line and paragraphs of prose, below 10 MiB.
const std::string& Book() {
    static const std::string book = [] {
        const size_t chapterBytes = (kMaxTextBytes - 4096) / kMaxChapters;
        const std::string prose = bench::RealChineseText(chapterBytes);
        std::string text;
        text.reserve(kMaxTextBytes);
        for (uint32_t n = 1; n <= kMaxChapters; ++n) {
            std::string heading =
                Utf8ToGbk("第") + RenderChineseNumber(n) + Utf8ToGbk("章 卷中事") + "\r\n";
            // Cut the prose at a paragraph end so every heading starts its own line.
            std::string body = prose.substr(0, chapterBytes - heading.size());
            body.resize(body.rfind("\r\n") + 2);
            text += heading + body;
        }
        return text;
    }();
    return book;
}

template <typename Command>
void RunAdd(benchmark::State& state, Command command) {
    HeadlessRichEdit view;
    view.SetText(Book());
    CMyRECtrl bookText(view);
    bookText.RebuildLineTable();
    FieldHost host;
    for (auto _ : state) {
        state.PauseTiming();
        HeadlessListBox chapterList;
        ChapterModel chapters;
        chapters.Clear();
        int32_t scan = 0;
        view.SetSelection({0, 0});
        state.ResumeTiming();

        command(bookText, chapterList, chapters, host, scan, false);

        if (chapterList.GetCount() != static_cast<int32_t>(kMaxChapters) || host.messages != 0) {
            state.SkipWithError("the run did not mark the 98 chapters");
            break;
        }
    }
    state.counters["text_bytes"] = static_cast<double>(Book().size());
    state.counters["chapters"] = kMaxChapters;
}

void BM_IncrementalAdd98Chapters(benchmark::State& state) {
    RunAdd(state, IncrementalChapterAdd);
}
void BM_KeywordAdd98Chapters(benchmark::State& state) {
    RunAdd(state, KeywordChapterAdd);
}

BENCHMARK(BM_IncrementalAdd98Chapters)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_KeywordAdd98Chapters)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
