// Any bytes as an LZ77 stream, asked for lengths taken from the input: the decoder must stay
// inside its buffers and report a length no larger than its capacity.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "book/CCompressLZ77.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t outputLength = (size_t{data[0]} << 8 | data[1]) + 1;
    // Exact-size buffers so any stray access shows.
    std::vector<uint8_t> stream(data + 2, data + size);
    std::vector<uint8_t> output(outputLength);
    const int64_t produced = brisna::DecodeLz77(stream.data(), stream.size(), output.data(),
                                                output.size(), outputLength);
    if (produced > static_cast<int64_t>(output.size())) abort();
    brisna::CCompressLZ77 codec;
    codec.Decompress(output.data(), static_cast<uint32_t>(outputLength), stream.data(),
                     static_cast<uint32_t>(stream.size()));
    return 0;
}
