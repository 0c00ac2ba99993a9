#pragma once
// The LZ77 coder written out step by step, without any shortcut: every pair chain walked whole,
// bits set one at a time into a zero-filled destination. Slow; the oracle that the fast coder
// must match bit for bit (tests and the round-trip fuzzer use it).

#include <algorithm>
#include <cstdint>
#include <vector>

namespace brisna::test {

struct ReferenceOutput {
    int result = 0;
    std::vector<uint8_t> stream;  // the destination buffer (input size + 8) as the coder left it
};

inline ReferenceOutput ReferenceCompress(const std::vector<uint8_t>& in) {
    struct Node {
        uint32_t start, end, next;
    };
    const uint32_t n = static_cast<uint32_t>(in.size());
    ReferenceOutput out;
    if (n > 65536) {
        out.result = -1;
        return out;
    }
    out.stream.assign(n + 8, 0);
    // Kept between calls (only the chain heads need clearing) so a fuzzer can call it often.
    static thread_local std::vector<uint32_t> heads(65536);
    static thread_local std::vector<Node> nodes(65536);
    std::fill(heads.begin(), heads.end(), 0);
    uint32_t nodeCount = 1;
    uint32_t windowLength = 0;
    size_t byteIndex = 0, bitIndex = 0;

    auto putBit = [&](unsigned bit) {
        if (bit) out.stream[byteIndex] |= static_cast<uint8_t>(0x80 >> bitIndex);
        if (++bitIndex == 8) bitIndex = 0, ++byteIndex;
    };
    auto putBits = [&](uint32_t value, unsigned count) {
        for (unsigned k = count; k-- > 0;) putBit((value >> k) & 1);
    };
    auto insert = [&](uint32_t i) {
        const uint32_t a = in[i], b = in[i + 1], key = a * 256 + b;
        if (a == b && heads[key] != 0 && nodes[heads[key]].end + 1 == i) {
            nodes[heads[key]].end = i;
            return;
        }
        const uint32_t c = nodeCount & 0xFFFF;
        nodeCount += 1;
        nodes[c] = {i, i, heads[key]};
        heads[key] = c;
    };
    auto advance = [&] {
        windowLength += 1;
        if (windowLength > 1) insert(windowLength - 2);
    };

    for (uint32_t p = 0; p < n;) {
        if (byteIndex >= n) {
            out.result = 0;
            return out;
        }
        uint32_t bestLength = 0, bestSource = 0;
        if (p < n - 1 && heads[in[p] * 256 + in[p + 1]] != 0) {
            uint32_t node = heads[in[p] * 256 + in[p + 1]];
            bestLength = 2;
            bestSource = nodes[node].start;
            for (; node != 0; node = nodes[node].next) {
                const uint32_t s = nodes[node].start;
                const uint32_t limit = std::min(n - p, windowLength - s);
                uint32_t length = 2;
                while (length < limit && in[s + length] == in[p + length]) ++length;
                if (length > bestLength) bestLength = length, bestSource = s;
            }
        }
        if (bestLength != 0) {
            putBit(1);
            const uint32_t d = bestLength - 1;
            unsigned bits = 0;
            while ((1u << (bits + 1)) <= d) ++bits;
            for (unsigned k = 0; k < bits; ++k) putBit(1);
            putBit(0);
            putBits(d - (1u << bits), bits);
            unsigned width = 0;
            while ((1u << width) < windowLength) ++width;
            putBits(bestSource, width);
            for (uint32_t k = 0; k < bestLength; ++k) advance();
            p += bestLength;
        } else {
            putBit(0);
            putBits(in[p] ^ 0xE0u, 8);
            advance();
            p += 1;
        }
    }
    const size_t produced = byteIndex + (bitIndex != 0 ? 1 : 0);
    out.result = produced >= n ? 0 : static_cast<int>(produced);
    return out;
}

}  // namespace brisna::test
