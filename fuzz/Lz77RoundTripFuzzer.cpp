// Whatever the coder makes of a block, the decoder must give the block back; and for blocks
// small enough to code the slow way, the stream must be the step-by-step coder's, bit for bit.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../tests/book/Lz77Reference.h"
#include "book/CCompressLZ77.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > brisna::kLz77MaxBlockBytes) return 0;
    static brisna::CCompressLZ77 codec;  // reused, as the writer reuses it for every block
    std::vector<uint8_t> coded(size + brisna::kLz77DestinationSlack, 0);
    const int result = codec.Compress(data, static_cast<uint32_t>(size), coded.data());
    if (result < 0) abort();

    if (size <= 8192) {
        const brisna::test::ReferenceOutput reference =
            brisna::test::ReferenceCompress(std::vector<uint8_t>(data, data + size));
        if (reference.result != result) abort();
        if (!std::equal(coded.begin(), coded.begin() + result, reference.stream.begin())) abort();
    }
    if (result == 0) return 0;
    if (static_cast<size_t>(result) >= size) abort();
    coded.resize(static_cast<size_t>(result));
    std::vector<uint8_t> output(size);
    if (brisna::DecodeLz77(coded.data(), coded.size(), output.data(), output.size(), size) !=
        static_cast<int64_t>(size)) {
        abort();
    }
    if (std::memcmp(output.data(), data, size) != 0) abort();
    return 0;
}
