// Any bytes as a whole .qbr2 file: the reader must answer with chapters or one message.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "book/Qbr2Format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const brisna::Qbr2ReadResult read =
        brisna::ReadQbr2(std::string_view(reinterpret_cast<const char*>(data), size));
    if (read.ok == read.message.empty()) return 0;
    abort();
}
