#pragma once
// The compressor interface of the book writers. One implementation today: CCompressLZ77.

#include <cstdint>

namespace brisna {

class CCompress {
  public:
    virtual ~CCompress() = default;

    // Codes sourceLength bytes into destination. -1: the input is too long for the codec;
    // 0: the coded form would not be shorter than the input; otherwise the bytes written.
    virtual int Compress(const uint8_t* source, uint32_t sourceLength, uint8_t* destination) = 0;

    // Decodes sourceLength bytes of source into exactly outputLength bytes of destination
    // (which holds at least outputLength bytes). 1 on success, 0 when the stream is damaged,
    // the output is too long for the codec, or the stream does not give exactly outputLength.
    virtual int Decompress(uint8_t* destination, uint32_t outputLength, const uint8_t* source,
                           uint32_t sourceLength) = 0;
};

}  // namespace brisna
