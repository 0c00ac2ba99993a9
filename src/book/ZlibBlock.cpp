#include "book/ZlibBlock.h"

#include <zlib.h>

namespace brisna {

int64_t ZlibCompressBlock(const uint8_t* source, size_t sourceLength, uint8_t* destination,
                          size_t capacity) {
    uLongf produced = static_cast<uLongf>(capacity);
    if (compress(destination, &produced, source, static_cast<uLong>(sourceLength)) != Z_OK) {
        return -1;
    }
    return static_cast<int64_t>(produced);
}

int64_t ZlibUncompressBlock(const uint8_t* source, size_t sourceLength, uint8_t* destination,
                            size_t capacity) {
    // zlib wants somewhere to write even when nothing is expected.
    uint8_t spare = 0;
    uLongf produced = static_cast<uLongf>(capacity);
    if (uncompress(capacity == 0 ? &spare : destination, &produced, source,
                   static_cast<uLong>(sourceLength)) != Z_OK) {
        return -1;
    }
    return static_cast<int64_t>(produced);
}

}  // namespace brisna
