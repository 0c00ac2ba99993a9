#pragma once
// zlib on whole in-memory blocks, as the .qbr2 format uses it.

#include <cstddef>
#include <cstdint>

namespace brisna {

// zlib compress at the default level into destination (capacity bytes). The produced length,
// or -1 on any zlib error (including output that does not fit).
int64_t ZlibCompressBlock(const uint8_t* source, size_t sourceLength, uint8_t* destination,
                          size_t capacity);

// zlib uncompress of a complete stream into destination (capacity bytes). The produced length,
// or -1 on any zlib error (damaged or incomplete stream, output that does not fit).
int64_t ZlibUncompressBlock(const uint8_t* source, size_t sourceLength, uint8_t* destination,
                            size_t capacity);

}  // namespace brisna
