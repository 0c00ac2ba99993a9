#pragma once
// Inputs and oracles shared by the book format tests: sample Chinese text, a bit reader for
// checking coded streams, and a plain, slow transcription of the LZ77 coder that the fast one
// must match bit for bit.

#include <cstdint>
#include <string>
#include <vector>

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

// The coder written out step by step, without any shortcut: destination of n + 8 zero bytes.
struct ReferenceOutput {
    int result = 0;
    std::vector<uint8_t> stream;  // the destination buffer as the coder left it
};
ReferenceOutput ReferenceCompress(const std::vector<uint8_t>& input);

}  // namespace brisna::test
