#pragma once
// The LZ77 codec of the .qbr books: a bit-level coder with chains of exact byte pairs,
// absolute match offsets whose width grows with the position, Elias-gamma match lengths and
// literals stored with their top three bits inverted. Blocks of at most 65536 bytes, no stream
// header: the decoder is always told how many bytes to produce.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "Capacities.h"
#include "book/CCompress.h"

namespace brisna {

// The coder may run this many bytes past the input length before it notices that a block does
// not compress, so a destination must hold sourceLength + kLz77DestinationSlack bytes.
inline constexpr uint32_t kLz77DestinationSlack = 8;
// The largest block the codec accepts (and the most a decoder call produces).
inline constexpr uint32_t kLz77MaxBlockBytes = kBlockBytes;

class CCompressLZ77 : public CCompress {
  public:
    CCompressLZ77();
    ~CCompressLZ77() override;
    CCompressLZ77(const CCompressLZ77&) = delete;
    CCompressLZ77& operator=(const CCompressLZ77&) = delete;

    // -1 when sourceLength > 65536; 0 when the coded form is not shorter than the input (the
    // destination then holds nothing useful); otherwise the number of bytes written. The
    // destination must hold sourceLength + kLz77DestinationSlack bytes; bits of the last byte
    // beyond the stream are zero. One object codes any number of blocks in sequence.
    int Compress(const uint8_t* source, uint32_t sourceLength, uint8_t* destination) override;

    // Same stream rules as DecodeLz77; 1 when exactly outputLength bytes came out.
    int Decompress(uint8_t* destination, uint32_t outputLength, const uint8_t* source,
                   uint32_t sourceLength) override;

  private:
    // A node of a side chain: the next (older) node with the same key, and the node's position.
    struct Link {
        uint16_t next;
        uint16_t start;
    };

    void InsertPair(uint32_t position);
    // Longest match at position; length 0 when there is none.
    void FindMatch(uint32_t position, uint32_t& length, uint32_t& source) const;

    const uint8_t* window_ = nullptr;  // the block being coded; no copy is made
    int32_t windowLength_ = 0;         // bytes already coded = the current position
    uint32_t blockLength_ = 0;         // bytes in the block
    // Chains of nodes by byte pair (first * 256 + second), newest first; 0 ends a chain.
    std::unique_ptr<uint16_t[]> pairHeads_;
    // Per node: start (block position of the pair, the first pair of a run), end (last pair
    // position of a run of equal bytes), next (older node of the same pair). One node per pair
    // position at most, so 65536 nodes hold any block the codec accepts.
    std::unique_ptr<uint16_t[]> starts_;
    std::unique_ptr<uint16_t[]> ends_;
    std::unique_ptr<uint16_t[]> nexts_;
    uint32_t nodeCount_ = 1;  // node 0 is never used
    // Side chains over the same nodes, keyed on the first 3, 5 and 7 bytes at their start
    // (hashed, so members are verified): they let the search find the nodes that can give a
    // long match without walking the whole pair chain. The chosen match is the same.
    std::unique_ptr<uint16_t[]> sideHeads_;
    std::unique_ptr<Link[]> sideLinks_;
};

// Decodes tokens from source (sourceLength bytes) into destination (destinationCapacity bytes)
// until at least outputLength bytes have been produced, and returns the number produced: equal
// to outputLength for a sound stream. -1 when sourceLength > 65536, when outputLength does not
// fit the destination, or when the stream is damaged: it ends early, a match would copy from at
// or beyond the bytes produced so far, or a token would run past the destination. Never reads
// or writes outside the given buffers.
int64_t DecodeLz77(const uint8_t* source, size_t sourceLength, uint8_t* destination,
                   size_t destinationCapacity, size_t outputLength);

}  // namespace brisna
