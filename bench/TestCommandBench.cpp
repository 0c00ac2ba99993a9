// "生成测试" on a book of the largest size the editor takes: 98 marked chapters in just under
// 10 MiB of real Chinese prose, checked against a list of 200 suspicious words (a few of them
// phrases of the book, most of them words it never uses, as in a real list). Measured on a
// fresh problem list and again with the previous run's findings still in it, which the command
// has to clear first.
//
// `bench_TestCommandBench --write-books=FOLDER` writes the books instead (largest-book.txt, the
// largest book generation takes, 98 chapters headed 第1章 .. 第98章 of 30,720 bytes each, and
// test-book.txt, the book measured here, and garbled-pairs.txt and blank-lines.txt, the books
// with the most findings), so bench/run.sh can measure the command line on them.

#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Capacities.h"
#include "chapters/ChapterModel.h"
#include "check/TestCommand.h"
#include "controls/CMyRECtrl.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "detect/ChineseNumerals.h"
#include "detect/MissingChapterCheck.h"
#include "text/BookLoading.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace {

using namespace brisna;

struct Book {
    std::string text;
    std::vector<uint32_t> headingOffsets;
    std::vector<std::string> headings;
    std::vector<std::string> suspiciousWords;
};

const Book& LargestBook() {
    static const Book book = [] {
        Book made;
        const size_t chapterBytes = (kMaxTextBytes - 4096) / kMaxChapters;
        const std::string prose = PrepareLoadedText(bench::RealChineseText(chapterBytes));
        made.text.reserve(kMaxTextBytes);
        for (uint32_t n = 1; n <= kMaxChapters; ++n) {
            std::string heading = Utf8ToGbk("第") + RenderChineseNumber(n) + Utf8ToGbk("章 卷中事");
            std::string body = prose.substr(0, chapterBytes - heading.size() - 2);
            body.resize(body.rfind("\r\n") + 2);  // every heading starts its own line
            made.headingOffsets.push_back(static_cast<uint32_t>(made.text.size()));
            made.headings.push_back(heading);
            made.text += heading + "\r\n" + body;
        }

        // Twenty phrases of four characters taken from the prose: each shows up once per chapter
        // at most, as a word the operator is wary of would.
        for (size_t at = 997; made.suspiciousWords.size() < 20 && at + 8 < prose.size();
             at += prose.size() / 23) {
            size_t start = at;
            while (start < prose.size() && static_cast<unsigned char>(prose[start]) < 0xB0) ++start;
            std::string phrase = prose.substr(start, 8);
            bool allHanzi = phrase.size() == 8;
            for (size_t k = 0; k < phrase.size() && allHanzi; k += 2) {
                allHanzi = static_cast<unsigned char>(phrase[k]) >= 0xB0;
            }
            if (allHanzi) made.suspiciousWords.push_back(phrase);
        }
        // The rest: pairs of rare characters (the second level of the national set) the book
        // never uses.
        for (unsigned lead = 0xF7; lead >= 0xD8 && made.suspiciousWords.size() < 200; --lead) {
            for (unsigned trail = 0xA1; trail + 1 <= 0xFE && made.suspiciousWords.size() < 200;
                 trail += 2) {
                std::string word{static_cast<char>(lead), static_cast<char>(trail),
                                 static_cast<char>(lead), static_cast<char>(trail + 1)};
                if (made.text.find(word) == std::string::npos) made.suspiciousWords.push_back(word);
            }
        }
        return made;
    }();
    return book;
}

// The window after the operator marked every chapter.
struct Window {
    HeadlessRichEdit view;
    CMyRECtrl bookText{view};
    HeadlessListBox chapterList;
    HeadlessListBox problemList;
    ChapterModel chapters;

    Window() {
        const Book& book = LargestBook();
        view.SetText(book.text);
        bookText.RebuildLineTable();
        for (size_t i = 0; i < book.headings.size(); ++i) {
            ChapterRecord record;
            record.SetTitle(book.headings[i]);
            record.offset = book.headingOffsets[i];
            chapters.Append(record);
            chapterList.AddString(book.headings[i]);
        }
    }
    void Test() {
        RunTestCommand(bookText, chapterList, problemList, chapters, LargestBook().suspiciousWords,
                       "/tmp/book.txt");
    }
};

void BM_TestCommandLargestBook(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        state.ResumeTiming();
        window->Test();
        state.PauseTiming();
        state.counters["findings"] = window->problemList.GetCount();
        window.reset();  // tearing the window down is not part of the command
        state.ResumeTiming();
    }
    state.counters["words"] = static_cast<double>(LargestBook().suspiciousWords.size());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(LargestBook().text.size()));
}
BENCHMARK(BM_TestCommandLargestBook)->Unit(benchmark::kMillisecond)->Iterations(3);

// The operator presses the button a second time: the old findings go first.
void BM_TestCommandLargestBookAgain(benchmark::State& state) {
    auto window = std::make_unique<Window>();
    window->Test();
    for (auto _ : state) window->Test();
    state.counters["findings"] = window->problemList.GetCount();
    // What the findings are, to read the timing by.
    const std::string blank = Utf8ToGbk("为空行");
    const std::string suspicious = Utf8ToGbk("可疑字");
    double blankLines = 0;
    double suspiciousWords = 0;
    for (const std::string& entry : window->problemList.Texts()) {
        blankLines += entry.find(blank) != std::string::npos;
        suspiciousWords += entry.find(suspicious) != std::string::npos;
    }
    state.counters["blank_lines"] = blankLines;
    state.counters["suspicious"] = suspiciousWords;
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(LargestBook().text.size()));
}
BENCHMARK(BM_TestCommandLargestBookAgain)->Unit(benchmark::kMillisecond)->Iterations(3);

// "检查缺章" right after "生成测试": it too empties the problem list before it writes.
void BM_CheckMissingAfterTest(benchmark::State& state) {
    auto window = std::make_unique<Window>();
    for (auto _ : state) {
        state.PauseTiming();
        window->Test();
        state.counters["findings_before"] = window->problemList.GetCount();
        state.ResumeTiming();
        CheckMissingChapters(window->chapters, window->problemList);
    }
}
BENCHMARK(BM_CheckMissingAfterTest)->Unit(benchmark::kMillisecond)->Iterations(2);

// 98 chapters of exactly the size limit: a heading line 第N章, prose cut on a character
// boundary, padded with spaces, ended with CR LF.
std::string LargestGenerableBook() {
    const std::string prose = bench::RealChineseText(kChapterSizeLimit * kMaxChapters);
    std::string text;
    size_t from = 0;
    for (uint32_t n = 1; n <= kMaxChapters; ++n) {
        std::string chapter = Utf8ToGbk("第" + std::to_string(n) + "章") + "\r\n";
        const size_t room = kChapterSizeLimit - chapter.size() - 2;
        size_t take = 0;
        while (from + take < prose.size()) {
            size_t length = GbkCharLength(prose, from + take);
            if (take + length > room) break;
            take += length;
        }
        if (take > 0 && prose[from + take - 1] == '\r') --take;  // no half line end
        chapter += prose.substr(from, take);
        chapter.append(room - take, ' ');
        chapter += "\r\n";
        from += take;
        if (from < prose.size() && prose[from] == '\n') ++from;
        text += chapter;
    }
    return text;
}

// The two books that give the test command the most findings: lines of 40 pairs outside
// GB2312 (each pair a garbled-character finding), and nothing but blank lines (each line an
// empty-line finding). Both just under the 10 MiB the editor takes.
std::string GarbledPairsBook() {
    std::string line;
    for (int i = 0; i < 40; ++i) line += "\x81\x40";
    line += "\r\n";
    std::string text;
    while (text.size() + line.size() < kMaxTextBytes) text += line;
    return text;
}

std::string BlankLinesBook() {
    std::string text;
    for (size_t i = 0; i + 2 < kMaxTextBytes; i += 2) text += "\r\n";
    return text;
}

bool WriteBook(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    constexpr std::string_view kWriteBooks = "--write-books=";
    if (argc == 2 && std::string_view(argv[1]).substr(0, kWriteBooks.size()) == kWriteBooks) {
        const std::string folder(argv[1] + kWriteBooks.size());
        bool written = WriteBook(folder + "/largest-book.txt", LargestGenerableBook()) &&
                       WriteBook(folder + "/test-book.txt", LargestBook().text) &&
                       WriteBook(folder + "/garbled-pairs.txt", GarbledPairsBook()) &&
                       WriteBook(folder + "/blank-lines.txt", BlankLinesBook());
        if (!written) std::cerr << "cannot write the books into " << folder << '\n';
        return written ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
