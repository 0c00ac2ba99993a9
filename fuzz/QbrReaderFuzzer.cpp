// Any bytes as a whole .qbr file: the reader must answer with chapters or one message.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "book/QbrFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const brisna::QbrReadResult read =
        brisna::ReadQbr(std::string_view(reinterpret_cast<const char*>(data), size));
    if (read.ok == read.message.empty()) return 0;
    abort();
}
