#pragma once
// Inputs shared by the book format tests: sample Chinese text, bit strings for checking coded
// streams, and (from Lz77Reference.h) the plain LZ77 coder the fast one must match.

#include <cstdint>
#include <string>
#include <vector>

#include "book/Lz77Reference.h"

namespace brisna::test {

// GBK prose-like text of about `bytes` bytes from a fixed vocabulary, CR LF paragraphs;
// the same seed gives the same text.
std::string SampleChineseGbk(size_t bytes, uint32_t seed = 1);
// The same text as UTF-16LE bytes (what the book formats compress).
std::vector<uint8_t> SampleChineseUtf16(size_t bytes, uint32_t seed = 1);
std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed, unsigned alphabet = 256);

// Bits [fromBit, fromBit + count) of a stream, most significant first, as '0'/'1' characters.
std::string BitString(const std::vector<uint8_t>& stream, size_t fromBit, size_t count);

// Appends fields most significant bit first; for building streams by hand.
class BitBuilder {
  public:
    void Put(uint64_t value, unsigned count);
    void Literal(uint8_t byte) { Put(0, 1), Put(byte ^ 0xE0u, 8); }
    // Flag, length code and an offset of `width` bits.
    void Match(uint32_t length, uint32_t offset, unsigned width);
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
    size_t bits_ = 0;
};

}  // namespace brisna::test
