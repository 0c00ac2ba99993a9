// 生成EPUB and 打开EPUB on a book of nearly 10 MiB of real Chinese prose in 98 chapters: writing
// the EPUB next to `zip -9` of the same text file, and reading it back in. Then a whole novel of
// 3,000 chapters in 30 volumes, written from its outline and read back.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Capacities.h"
#include "book/AtomicFile.h"
#include "epub/EpubContents.h"
#include "epub/EpubCover.h"
#include "epub/EpubReader.h"
#include "epub/EpubWriter.h"
#include "text/CodePage936.h"

namespace {

using namespace brisna;

struct Book {
    std::string text;
    std::vector<TocEntry> toc;
};

// 98 chapters headed 第N章, cut at line ends, the whole just below the text bound.
const Book& TheBook() {
    static const Book book = [] {
        Book made;
        const std::string prose = bench::RealChineseText(kMaxTextBytes);
        // Lines overshoot a chapter's share by up to one line: leave room for them.
        const size_t chapterBytes = (kMaxTextBytes - 256 * 1024) / kMaxChapters;
        size_t from = 0;
        for (uint32_t i = 0; i < kMaxChapters; ++i) {
            const std::string heading = Utf8ToGbk("第" + std::to_string(i + 1) + "章");
            made.toc.push_back({1, heading, static_cast<uint32_t>(made.text.size())});
            made.text += heading + "\r\n";
            size_t end = from;
            while (end < prose.size() && end - from < chapterBytes) {
                const size_t next = prose.find("\r\n", end);
                if (next == std::string::npos) break;
                end = next + 2;
            }
            made.text += prose.substr(from, end - from);
            from = end;
        }
        if (made.text.size() >= kMaxTextBytes) made.text.clear();  // reported by the runs
        return made;
    }();
    return book;
}

std::filesystem::path Folder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path made = std::filesystem::temp_directory_path() / "brisna-epub-bench";
        std::filesystem::create_directories(made);
        std::ofstream(made / "book.txt", std::ios::binary) << TheBook().text;
        return made;
    }();
    return folder;
}

// What 生成EPUB does once the checks have passed: metadata, the archive, the atomic write.
bool WriteEpubOnce(const std::filesystem::path& path) {
    const Book& book = TheBook();
    std::optional<std::string> bytes =
        BuildEpub(book.text, book.toc, DescribeBook(book.text, "book.txt", 0));
    return bytes && WriteFileAtomically(path.string(), *bytes);
}

void BM_EpubWrite(benchmark::State& state) {
    const std::filesystem::path epub = Folder() / "book.epub";
    for (auto _ : state) {
        if (!WriteEpubOnce(epub)) {
            state.SkipWithError("writing the EPUB failed");
            break;
        }
    }
    state.counters["gbk_bytes"] = static_cast<double>(TheBook().text.size());
    state.counters["epub_bytes"] = static_cast<double>(std::filesystem::file_size(epub));
}
BENCHMARK(BM_EpubWrite)->Unit(benchmark::kMillisecond)->MinTime(3);

// The reference: the zip tool at its highest level on the same text file.
void BM_Zip9SameText(benchmark::State& state) {
    const std::filesystem::path folder = Folder();
    const std::string command =
        "cd '" + folder.string() + "' && rm -f book.zip && zip -9 -q book.zip book.txt";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("zip -9 failed (is zip installed?)");
            break;
        }
    }
    std::error_code error;
    state.counters["zip_bytes"] =
        static_cast<double>(std::filesystem::file_size(folder / "book.zip", error));
}
BENCHMARK(BM_Zip9SameText)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_EpubOpen(benchmark::State& state) {
    const std::filesystem::path epub = Folder() / "book.epub";
    if (!std::filesystem::exists(epub) && !WriteEpubOnce(epub)) {
        state.SkipWithError("writing the EPUB failed");
        return;
    }
    std::ifstream in(epub, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto _ : state) {
        EpubReadResult read = ReadEpub(bytes);
        if (!read.ok || read.book.toc.size() != kMaxChapters) {
            state.SkipWithError("reading the EPUB failed");
            break;
        }
        benchmark::DoNotOptimize(read.book.text.data());
    }
}
BENCHMARK(BM_EpubOpen)->Unit(benchmark::kMillisecond)->MinTime(3);

// 30 volumes of 100 chapters, about 10 MB in all.
const std::string& WholeNovel() {
    static const std::string novel = [] {
        const std::string prose = bench::RealChineseText(kMaxTextBytes);
        std::string made;
        size_t from = 0;
        for (int chapter = 1; chapter <= 3000; ++chapter) {
            if (chapter % 100 == 1) {
                made += Utf8ToGbk("第" + std::to_string(chapter / 100 + 1) + "卷 长河") + "\r\n";
            }
            made += Utf8ToGbk("第" + std::to_string(chapter) + "章 渡口") + "\r\n";
            const size_t start = from;
            while (from - start < 3200) {
                const size_t next = prose.find("\r\n", from);
                if (next == std::string::npos) {
                    from = 0;
                    continue;
                }
                made += prose.substr(from, next + 2 - from);
                from = next + 2;
            }
        }
        if (made.size() >= kMaxTextBytes) made.clear();  // reported by the runs
        return made;
    }();
    return novel;
}

// 生成EPUB of the novel with nothing marked: the outline, the contents, the archive, the write.
void BM_EpubWriteWholeNovel(benchmark::State& state) {
    const std::filesystem::path epub = Folder() / "novel.epub";
    const ChapterModel none;
    for (auto _ : state) {
        const std::vector<TocEntry> contents = WholeBookContents(WholeNovel(), none, {});
        std::optional<std::string> bytes =
            BuildEpub(WholeNovel(), contents, DescribeBook(WholeNovel(), "novel.txt", 0));
        if (contents.size() != 3030 || !bytes || !WriteFileAtomically(epub.string(), *bytes)) {
            state.SkipWithError(
                ("writing the novel's EPUB failed: " + std::to_string(contents.size()) +
                 " entries, " + std::to_string(WholeNovel().size()) + " bytes")
                    .c_str());
            break;
        }
    }
    state.counters["gbk_bytes"] = static_cast<double>(WholeNovel().size());
}
BENCHMARK(BM_EpubWriteWholeNovel)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_EpubOpenWholeNovel(benchmark::State& state) {
    const std::filesystem::path epub = Folder() / "novel.epub";
    std::ifstream in(epub, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto _ : state) {
        EpubReadResult read = ReadEpub(bytes);
        if (!read.ok || read.book.toc.size() != 3030) {
            state.SkipWithError("reading the novel's EPUB failed");
            break;
        }
        benchmark::DoNotOptimize(read.book.text.data());
    }
}
BENCHMARK(BM_EpubOpenWholeNovel)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

// 生成EPUB's work once the checks have passed, without a cover and with the cover drawn from the
// title and author each time (as the command does when no picture is given): the cover's share.
void BM_EpubBuildWithoutCover(benchmark::State& state) {
    const Book& book = TheBook();
    for (auto _ : state) {
        EpubMetadata metadata = DescribeBook(book.text, "book.txt", 0);
        std::optional<std::string> bytes = BuildEpub(book.text, book.toc, metadata);
        if (!bytes) state.SkipWithError("building the EPUB failed");
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_EpubBuildWithoutCover)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_EpubBuildWithDrawnCover(benchmark::State& state) {
    const Book& book = TheBook();
    for (auto _ : state) {
        EpubMetadata metadata = DescribeBook(book.text, "book.txt", 0);
        metadata.author = "林深见鹿";
        metadata.cover = DrawCover(metadata.title, metadata.author);
        std::optional<std::string> bytes = BuildEpub(book.text, book.toc, metadata);
        if (!bytes || metadata.cover.Empty()) state.SkipWithError("building the EPUB failed");
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_EpubBuildWithDrawnCover)->Unit(benchmark::kMillisecond)->MinTime(3);

BENCHMARK_MAIN();
