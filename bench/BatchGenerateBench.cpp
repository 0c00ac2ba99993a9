// brisnamake-cli generate on a folder of 200 books, one book at a time (--jobs 1) and two at a
// time (--jobs 2): the batch should take well under the single-file time on two cores. The
// books are the sample book's twelve chapters, each followed by real Chinese prose (a
// different stretch per book), written into a scratch folder once per run.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "cli/CommandLine.h"
#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace {

namespace fs = std::filesystem;

constexpr int kBooks = 200;
constexpr size_t kProsePerChapter = 12000;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Whole paragraphs of real prose that hold no 第, so no chapter heading hides in them.
std::vector<std::string> ProseParagraphs() {
    const std::string text = brisna::bench::RealChineseText(4 << 20);
    const std::string di = brisna::Utf8ToGbk("第");
    std::vector<std::string> paragraphs;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.find(di) == std::string::npos) {
            paragraphs.push_back(paragraph);
        }
        start = end + 2;
    }
    return paragraphs;
}

struct Folder {
    fs::path path;
    std::vector<std::string> books;
};

const Folder& Books() {
    static const Folder folder = [] {
        Folder made;
        std::string scratch = (fs::temp_directory_path() / "brisna-batch-bench-XXXXXX").string();
        if (mkdtemp(scratch.data()) == nullptr) std::abort();
        made.path = scratch;
        std::atexit([] { fs::remove_all(Books().path); });
        std::ofstream(made.path / "words.csv", std::ios::binary);  // an empty list

        const std::string sample =
            ReadAll(fs::path(BRISNA_SOURCE_DIR) / "res" / "sample" / "sample.txt");
        const std::string heading = brisna::Utf8ToGbk("第");
        std::vector<std::string> chapters;  // the sample's chapters, heading line first
        for (size_t at = 0; at < sample.size();) {
            size_t next = sample.find("\r\n" + heading, at + 1);
            next = next == std::string::npos ? sample.size() : next + 2;
            chapters.push_back(sample.substr(at, next - at));
            at = next;
        }
        const std::vector<std::string> prose = ProseParagraphs();
        size_t nextParagraph = 0;
        for (int b = 0; b < kBooks; ++b) {
            std::string book;
            for (const std::string& chapter : chapters) {
                book += chapter;
                if (book.size() < 2 || book.compare(book.size() - 2, 2, "\r\n") != 0) {
                    book += "\r\n";
                }
                for (size_t added = 0; added < kProsePerChapter && !prose.empty();) {
                    const std::string& paragraph = prose[nextParagraph++ % prose.size()];
                    book += paragraph + "\r\n";
                    added += paragraph.size() + 2;
                }
            }
            std::string name = (made.path / ("book" + std::to_string(b) + ".txt")).string();
            std::ofstream(name, std::ios::binary) << book;
            made.books.push_back(name);
        }
        return made;
    }();
    return folder;
}

void BM_BatchGenerate(benchmark::State& state) {
    const Folder& folder = Books();
    std::vector<std::string> args{"brisnamake-cli", "generate"};
    args.insert(args.end(), folder.books.begin(), folder.books.end());
    const std::string words = (folder.path / "words.csv").string();
    args.insert(args.end(), {"--incremental", "第一章", "--words", words, "--jobs",
                             std::to_string(state.range(0))});
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    for (auto _ : state) {
        std::istringstream in;
        std::ostringstream out, err;
        brisna::cli::CommandStreams streams{in, out, err};
        int code = brisna::cli::RunCommandLine(static_cast<int>(argv.size()), argv.data(), streams);
        if (code != 0) {
            state.SkipWithError(("generate failed: " + err.str().substr(0, 300)).c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kBooks);
}
BENCHMARK(BM_BatchGenerate)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
