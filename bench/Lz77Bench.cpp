// The .qbr codec beside zlib on the blocks the book writers make: chapters of 32,764 bytes of
// UTF-16LE Chinese text. Prints Google Benchmark's figures, then a summary table of MB/s and
// compressed size for both codecs.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "book/CCompressLZ77.h"
#include "text/CodePage936.h"

namespace {

constexpr size_t kChapterBytes = 32764;
constexpr size_t kChapters = 64;  // about 2 MB of UTF-16 per pass
constexpr size_t kCapacity = 65536;

using Block = std::vector<uint8_t>;

const std::vector<Block>& Chapters() {
    static const std::vector<Block> chapters = [] {
        const std::string utf16 = brisna::Utf16ToLeBytes(
            brisna::GbkToUtf16(brisna::bench::RealChineseText(kChapterBytes * kChapters)));
        std::vector<Block> blocks;
        for (size_t k = 0; k < kChapters && (k + 1) * kChapterBytes <= utf16.size(); ++k) {
            const auto* from = reinterpret_cast<const uint8_t*>(utf16.data()) + k * kChapterBytes;
            blocks.emplace_back(from, from + kChapterBytes);
        }
        return blocks;
    }();
    return chapters;
}

struct Coded {
    std::vector<Block> lz77;
    std::vector<Block> zlib;
};

const Coded& CodedChapters() {
    static const Coded coded = [] {
        Coded result;
        brisna::CCompressLZ77 codec;
        for (const Block& chapter : Chapters()) {
            Block out(chapter.size() + brisna::kLz77DestinationSlack, 0);
            int produced =
                codec.Compress(chapter.data(), static_cast<uint32_t>(chapter.size()), out.data());
            out.resize(produced > 0 ? static_cast<size_t>(produced) : 0);
            result.lz77.push_back(out);
            Block packed(kCapacity);
            uLongf length = kCapacity;
            compress(packed.data(), &length, chapter.data(), chapter.size());
            packed.resize(length);
            result.zlib.push_back(packed);
        }
        return result;
    }();
    return coded;
}

size_t TotalBytes(const std::vector<Block>& blocks) {
    size_t total = 0;
    for (const Block& block : blocks) total += block.size();
    return total;
}

void Lz77Compress() {
    static brisna::CCompressLZ77 codec;
    static Block out(kCapacity + brisna::kLz77DestinationSlack);
    for (const Block& chapter : Chapters()) {
        benchmark::DoNotOptimize(
            codec.Compress(chapter.data(), static_cast<uint32_t>(chapter.size()), out.data()));
    }
}

void Lz77Decode() {
    static Block out(kCapacity);
    const Coded& coded = CodedChapters();
    for (size_t k = 0; k < coded.lz77.size(); ++k) {
        benchmark::DoNotOptimize(brisna::DecodeLz77(coded.lz77[k].data(), coded.lz77[k].size(),
                                                    out.data(), out.size(), kChapterBytes));
    }
}

void ZlibCompress() {
    static Block out(kCapacity);
    for (const Block& chapter : Chapters()) {
        uLongf length = kCapacity;
        benchmark::DoNotOptimize(compress(out.data(), &length, chapter.data(), chapter.size()));
    }
}

void ZlibUncompress() {
    static Block out(kCapacity);
    for (const Block& packed : CodedChapters().zlib) {
        uLongf length = kChapterBytes;
        benchmark::DoNotOptimize(uncompress(out.data(), &length, packed.data(), packed.size()));
    }
}

template <void (*Pass)()>
void Run(benchmark::State& state) {
    for (auto _ : state) Pass();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TotalBytes(Chapters())));
}

BENCHMARK(Run<Lz77Compress>)->Name("Lz77/Compress")->Unit(benchmark::kMillisecond);
BENCHMARK(Run<ZlibCompress>)->Name("Zlib/Compress")->Unit(benchmark::kMillisecond);
BENCHMARK(Run<Lz77Decode>)->Name("Lz77/Decode")->Unit(benchmark::kMillisecond);
BENCHMARK(Run<ZlibUncompress>)->Name("Zlib/Uncompress")->Unit(benchmark::kMillisecond);

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Best of several passes, in MB/s (10^6 bytes) of uncompressed text per second of this
// thread's processor time, so a busy machine disturbs the comparison less.
double MegabytesPerSecond(void (*pass)()) {
    double best = 1e30;
    for (int round = 0; round < 9; ++round) {
        const double start = ThreadSeconds();
        pass();
        best = std::min(best, ThreadSeconds() - start);
    }
    return static_cast<double>(TotalBytes(Chapters())) / best / 1e6;
}

void PrintSummary() {
    const Coded& coded = CodedChapters();
    const double input = static_cast<double>(TotalBytes(Chapters()));
    const double lz77Compress = MegabytesPerSecond(Lz77Compress);
    const double zlibCompress = MegabytesPerSecond(ZlibCompress);
    const double lz77Decode = MegabytesPerSecond(Lz77Decode);
    const double zlibDecode = MegabytesPerSecond(ZlibUncompress);
    std::printf("\n%zu chapters of %zu bytes of UTF-16LE Chinese text (processor time)\n",
                Chapters().size(), kChapterBytes);
    std::printf("%-10s %14s %14s %12s\n", "codec", "compress MB/s", "decode MB/s", "size");
    std::printf("%-10s %14.1f %14.1f %11.1f%%\n", "LZ77", lz77Compress, lz77Decode,
                100.0 * static_cast<double>(TotalBytes(coded.lz77)) / input);
    std::printf("%-10s %14.1f %14.1f %11.1f%%\n", "zlib", zlibCompress, zlibDecode,
                100.0 * static_cast<double>(TotalBytes(coded.zlib)) / input);
    std::printf(
        "%-10s %14.2f %14.2f %12.2f\n", "LZ77/zlib", lz77Compress / zlibCompress,
        lz77Decode / zlibDecode,
        static_cast<double>(TotalBytes(coded.lz77)) / static_cast<double>(TotalBytes(coded.zlib)));
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (Chapters().empty()) {
        std::fprintf(stderr, "no text to measure\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
