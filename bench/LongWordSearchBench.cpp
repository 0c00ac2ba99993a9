// Searches that a long near-match must not make slow: "生成测试" with one suspicious word of
// nearly 1 MiB that agrees with a 3 MB run of the book up to its last characters, and the text
// view's find for the same word. Every start in the run is a candidate whose compare runs almost
// the whole word, so any search that compares candidate by candidate takes minutes.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "chapters/ChapterModel.h"
#include "check/TestCommand.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"

namespace {

using namespace brisna;

constexpr size_t kWordCharacters = 524'000;  // two bytes each: just under 1 MiB
constexpr size_t kRunBytes = 3'000'000;

std::string Repeated(const std::string& character, size_t times) {
    std::string out;
    out.reserve(character.size() * times);
    for (size_t i = 0; i < times; ++i) out += character;
    return out;
}

const std::string& Word() {
    static const std::string word =
        Repeated(Utf8ToGbk("啊"), kWordCharacters - 2) + Utf8ToGbk("吧啊");
    return word;
}

// Prose, the run, prose, and the word itself once near the end.
const std::string& Book() {
    static const std::string book = [] {
        const std::string prose = PrepareLoadedText(bench::RealChineseText(500'000));
        return Utf8ToGbk("第1章\r\n") + prose + Repeated(Utf8ToGbk("啊"), kRunBytes / 2) + "\r\n" +
               prose + Word() + "\r\n";
    }();
    return book;
}

void BM_TestCommandLongSuspiciousWord(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto view = std::make_unique<HeadlessRichEdit>();
        view->SetText(Book());
        CMyRECtrl bookText(*view);
        bookText.RebuildLineTable();
        HeadlessListBox chapterList, problemList;
        ChapterModel chapters;
        ChapterRecord record;
        record.SetTitle(Utf8ToGbk("第1章"));
        chapters.Append(record);
        chapterList.AddString(Utf8ToGbk("第1章"));
        state.ResumeTiming();
        RunTestCommand(bookText, chapterList, problemList, chapters, {Word()}, "/tmp/book.txt");
        state.PauseTiming();
        state.counters["findings"] = problemList.GetCount();
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TestCommandLongSuspiciousWord)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ViewFindLongWord(benchmark::State& state) {
    HeadlessRichEdit view;
    view.SetText(Book());
    for (auto _ : state) {
        CharRange found = view.FindText({0, -1}, Word());
        benchmark::DoNotOptimize(found);
        state.counters["found_at"] = found.min;
    }
}
BENCHMARK(BM_ViewFindLongWord)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
