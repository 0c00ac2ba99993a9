#include "book/CCompressLZ77.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace brisna {

namespace {

constexpr uint32_t kPairCount = 65536;
// Pair positions run from 0 to 65534 and node 0 stays unused, so 65536 nodes never run out.
constexpr uint32_t kNodeCount = 65536;
// Side chains keyed on this many bytes, longest first; the last must be 3 (the pair chain
// itself answers for 2). Odd lengths suit UTF-16 text best: a key then ends inside a character,
// which splits the common one- and two-character matches apart (measured on chapter text).
constexpr uint32_t kKeyLengths[] = {7, 5, 3};
constexpr uint32_t kSideLevels = sizeof kKeyLengths / sizeof kKeyLengths[0];
constexpr uint32_t kHeadBits = 16;
constexpr uint32_t kSideHeads = 1u << kHeadBits;

// Width of an absolute offset when `produced` bytes precede the token: the smallest w with
// 2^w >= produced.
inline uint32_t OffsetWidth(uint32_t produced) {
    return produced <= 1 ? 0 : 32 - static_cast<uint32_t>(std::countl_zero(produced - 1));
}

inline uint64_t Load64(const uint8_t* at) {
    uint64_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

inline uint32_t Load32(const uint8_t* at) {
    uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// Up to 8 bytes at `at` as one word, zero beyond `available`.
inline uint64_t LoadUpTo8(const uint8_t* at, uint32_t available) {
    if (available >= 8) return Load64(at);
    uint64_t value = 0;
    std::memcpy(&value, at, available);
    return value;
}

// The first `length` bytes of a word loaded from memory.
inline uint64_t KeyOf(uint64_t word, uint32_t length) {
    if (length >= 8) return word;
    if constexpr (std::endian::native == std::endian::little) {
        return word & ((uint64_t{1} << (8 * length)) - 1);
    } else {
        return word & ~(~uint64_t{0} >> (8 * length));
    }
}

inline uint32_t HashKey(uint64_t key) {
    return static_cast<uint32_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - kHeadBits));
}

// Number of equal bytes of a and b from index `from` up to (not including) limit.
inline uint32_t MatchLength(const uint8_t* a, const uint8_t* b, uint32_t from, uint32_t limit) {
    uint32_t length = from;
    while (length + 8 <= limit) {
        uint64_t diff = Load64(a + length) ^ Load64(b + length);
        if (diff != 0) {
            if constexpr (std::endian::native == std::endian::little) {
                return length + static_cast<uint32_t>(std::countr_zero(diff)) / 8;
            } else {
                return length + static_cast<uint32_t>(std::countl_zero(diff)) / 8;
            }
        }
        length += 8;
    }
    while (length < limit && a[length] == b[length]) ++length;
    return length;
}

// Writes fields most-significant bit first into consecutive bytes. Whole bytes are stored, so
// the padding of the last byte is zero whatever the destination held.
class BitWriter {
  public:
    explicit BitWriter(uint8_t* destination) : out_(destination) {}

    // Index of the byte the next bit goes into.
    uint32_t ByteIndex() const { return written_ + pendingBits_ / 8; }

    // value holds `count` bits (count <= 48); pending bits stay below 8 between calls.
    void Put(uint64_t value, uint32_t count) {
        pending_ = (pending_ << count) | value;
        pendingBits_ += count;
        while (pendingBits_ >= 8) {
            pendingBits_ -= 8;
            out_[written_++] = static_cast<uint8_t>(pending_ >> pendingBits_);
        }
    }

    // Stores the partial last byte and returns the stream length in bytes.
    uint32_t Finish() {
        if (pendingBits_ == 0) return written_;
        out_[written_] = static_cast<uint8_t>(pending_ << (8 - pendingBits_));
        return written_ + 1;
    }

  private:
    uint8_t* out_;
    uint32_t written_ = 0;
    uint64_t pending_ = 0;
    uint32_t pendingBits_ = 0;
};

// Match token for length L from source position s at position p: flag 1, n one-bits, a zero,
// d - 2^n in n bits (d = L - 1, n = floor(log2 d)), then s in OffsetWidth(p) bits.
inline void PutMatch(BitWriter& bits, uint32_t length, uint32_t source, uint32_t position) {
    uint32_t d = length - 1;
    uint32_t n = 31 - static_cast<uint32_t>(std::countl_zero(d));
    uint64_t ones = (uint64_t{1} << n) - 1;
    // flag and the n ones: n + 1 one-bits; then the zero; then the n-bit remainder.
    uint64_t lengthCode = (((ones << 1) | 1) << (n + 1)) | (d - (uint64_t{1} << n));
    uint32_t width = OffsetWidth(position);
    bits.Put((lengthCode << width) | source, 2 * n + 2 + width);
}

// Reads fields most-significant bit first; never past the end of its input.
class BitReader {
  public:
    BitReader(const uint8_t* source, size_t length) : in_(source), length_(length) {}

    // Reads `count` bits (count <= 32) into value; false when the input ends first.
    bool Get(uint32_t count, uint32_t& value) {
        if (count == 0) {
            value = 0;
            return true;
        }
        if (!Fill(count)) return false;
        bufferBits_ -= count;
        value = static_cast<uint32_t>((buffer_ >> bufferBits_) & ((uint64_t{1} << count) - 1));
        return true;
    }

    // Counts one-bits up to and including the first zero-bit; false when the input ends first
    // or more than maxOnes one-bits come.
    bool CountOnes(uint32_t maxOnes, uint32_t& ones) {
        ones = 0;
        for (;;) {
            if (!Fill(1)) return false;
            --bufferBits_;
            if (((buffer_ >> bufferBits_) & 1) == 0) return true;
            if (++ones > maxOnes) return false;
        }
    }

  private:
    bool Fill(uint32_t count) {
        while (bufferBits_ <= 56 && position_ < length_) {
            buffer_ = (buffer_ << 8) | in_[position_++];
            bufferBits_ += 8;
        }
        return bufferBits_ >= count;
    }

    const uint8_t* in_;
    size_t length_;
    size_t position_ = 0;
    uint64_t buffer_ = 0;
    uint32_t bufferBits_ = 0;
};

}  // namespace

CCompressLZ77::CCompressLZ77()
    : pairHeads_(new uint16_t[kPairCount]),
      starts_(new uint16_t[kNodeCount]),
      ends_(new uint16_t[kNodeCount]),
      nexts_(new uint16_t[kNodeCount]),
      sideHeads_(new uint16_t[kSideLevels * kSideHeads]),
      sideLinks_(new Link[kSideLevels * kNodeCount]) {}

CCompressLZ77::~CCompressLZ77() = default;

void CCompressLZ77::InsertPair(uint32_t position) {
    const uint8_t* const at = window_ + position;
    uint16_t& head = pairHeads_[(at[0] << 8) | at[1]];
    // A run of equal bytes keeps one node, extended as the run grows.
    if (at[0] == at[1] && head != 0 && ends_[head] + 1u == position) {
        ends_[head] = static_cast<uint16_t>(position);
        return;
    }
    const uint16_t node = static_cast<uint16_t>(nodeCount_);
    ++nodeCount_;
    starts_[node] = static_cast<uint16_t>(position);
    ends_[node] = static_cast<uint16_t>(position);
    nexts_[node] = head;
    head = node;

    const uint32_t available = blockLength_ - position;
    const uint64_t word = LoadUpTo8(at, available);
    for (uint32_t level = 0; level < kSideLevels; ++level) {
        const uint32_t length = kKeyLengths[level];
        if (length > available) continue;
        uint16_t& sideHead = sideHeads_[level * kSideHeads + HashKey(KeyOf(word, length))];
        sideLinks_[level * kNodeCount + node] = Link{sideHead, static_cast<uint16_t>(position)};
        sideHead = node;
    }
}

// The longest match among the nodes of the pair at `position`, as the pair chain walked newest
// first gives it: a later node wins only when strictly longer, and the length a node gives is
// limited by the bytes left and by the current position (a copy never reaches into bytes not
// yet coded). The nodes that can give k bytes or more are verified members of the k-byte side
// chain (in the same newest-first order), so the side chains are tried longest key first: the
// first one with a node giving at least its key length holds the answer, found by walking it
// whole. When none does, the newest node of the pair gives 2.
void CCompressLZ77::FindMatch(uint32_t position, uint32_t& length, uint32_t& source) const {
    length = 0;
    if (position + 1 >= blockLength_) return;
    const uint8_t* const block = window_;
    const uint8_t* const here = block + position;
    const uint16_t pairHead = pairHeads_[(here[0] << 8) | here[1]];
    if (pairHead == 0) return;
    const uint32_t remaining = blockLength_ - position;
    const uint64_t word = LoadUpTo8(here, remaining);

    // No node gives more than `ceiling` bytes: the bytes left, then below the key length of a
    // longer chain that had none.
    uint32_t ceiling = remaining;
    for (uint32_t level = 0; level < kSideLevels; ++level) {
        const uint32_t keyLength = kKeyLengths[level];
        if (keyLength > ceiling) continue;
        const Link* const links = &sideLinks_[level * kNodeCount];
        const uint64_t key = KeyOf(word, keyLength);
        uint32_t best = keyLength - 1;  // a candidate must beat this
        uint32_t bestSource = 0;
        for (uint16_t node = sideHeads_[level * kSideHeads + HashKey(key)]; node != 0;
             node = links[node].next) {
            const uint32_t start = links[node].start;
            const uint32_t limit = std::min(remaining, position - start);
            if (limit <= best) continue;
            const uint8_t* const there = block + start;
            // One byte at the length to beat rejects most candidates; then the key itself
            // (chains are hashed).
            if (there[best] != here[best] ||
                KeyOf(LoadUpTo8(there, position - start), keyLength) != key) {
                continue;
            }
            if (best >= 11 && Load32(there + best - 3) != Load32(here + best - 3)) continue;
            const uint32_t found = MatchLength(there, here, keyLength, limit);
            if (found > best) {
                best = found;
                bestSource = start;
                if (best >= ceiling) break;  // nothing can be longer
            }
        }
        if (best >= keyLength) {
            length = best;
            source = bestSource;
            return;
        }
        ceiling = keyLength - 1;
    }
    length = 2;
    source = starts_[pairHead];
}

int CCompressLZ77::Compress(const uint8_t* source, uint32_t sourceLength, uint8_t* destination) {
    if (sourceLength > kLz77MaxBlockBytes) return -1;
    window_ = source;
    windowLength_ = 0;
    blockLength_ = sourceLength;
    nodeCount_ = 1;
    std::memset(pairHeads_.get(), 0, kPairCount * sizeof(uint16_t));
    std::memset(sideHeads_.get(), 0, kSideLevels * kSideHeads * sizeof(uint16_t));

    BitWriter bits(destination);
    uint32_t position = 0;
    while (position < sourceLength) {
        if (bits.ByteIndex() >= sourceLength) return 0;
        uint32_t length;
        uint32_t from;
        FindMatch(position, length, from);
        uint32_t advance;
        if (length != 0) {
            PutMatch(bits, length, from, position);
            advance = length;
        } else {
            bits.Put(source[position] ^ 0xE0u, 9);  // flag 0 then the byte
            advance = 1;
        }
        // Advancing the window makes every pair that ends before the new position findable.
        for (uint32_t end = position + advance; position < end; ++position) {
            if (position >= 1) InsertPair(position - 1);
        }
        windowLength_ = static_cast<int32_t>(position);
    }

    const uint32_t produced = bits.Finish();
    return produced >= sourceLength ? 0 : static_cast<int>(produced);
}

int CCompressLZ77::Decompress(uint8_t* destination, uint32_t outputLength, const uint8_t* source,
                              uint32_t sourceLength) {
    if (outputLength > kLz77MaxBlockBytes) return 0;
    return DecodeLz77(source, sourceLength, destination, outputLength, outputLength) ==
                   static_cast<int64_t>(outputLength)
               ? 1
               : 0;
}

int64_t DecodeLz77(const uint8_t* source, size_t sourceLength, uint8_t* destination,
                   size_t destinationCapacity, size_t outputLength) {
    if (sourceLength > kLz77MaxBlockBytes || outputLength > destinationCapacity) return -1;
    BitReader bits(source, sourceLength);
    size_t produced = 0;
    while (produced < outputLength) {
        uint32_t flag;
        if (!bits.Get(1, flag)) return -1;
        if (flag == 0) {
            uint32_t literal;
            if (!bits.Get(8, literal)) return -1;
            if (produced >= destinationCapacity) return -1;
            destination[produced++] = static_cast<uint8_t>(literal ^ 0xE0u);
            continue;
        }
        // Lengths need at most 16 one-bits (2^16 + 1 already exceeds any block).
        uint32_t n;
        if (!bits.CountOnes(16, n)) return -1;
        size_t length = 2;
        if (n != 0) {
            uint32_t rest;
            if (!bits.Get(n, rest)) return -1;
            length = (size_t{1} << n) + rest + 1;
        }
        uint32_t offset;
        if (!bits.Get(OffsetWidth(static_cast<uint32_t>(produced)), offset)) return -1;
        // A copy must start inside what is already there and end inside the destination.
        if (offset >= produced || length > destinationCapacity - produced) return -1;
        uint8_t* const to = destination + produced;
        const uint8_t* const from = destination + offset;
        if (offset + length <= produced) {
            std::memcpy(to, from, length);
        } else {
            for (size_t k = 0; k < length; ++k) to[k] = from[k];  // overlapping: byte by byte
        }
        produced += length;
    }
    return static_cast<int64_t>(produced);
}

}  // namespace brisna
