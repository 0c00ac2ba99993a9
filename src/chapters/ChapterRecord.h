#pragma once
// One chapter: its title and the stretch of the book text it covers, in GBK bytes.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "Capacities.h"

namespace brisna {

struct ChapterRecord {
    char title[kTitleBytes] = {};  // GBK, NUL-terminated
    uint32_t offset = 0;           // byte offset of the chapter's first byte in the book text
    uint32_t length = 0;           // byte length; 0 until the lengths are computed

    // The title up to its NUL.
    std::string_view Title() const { return std::string_view(title, strnlen(title, kTitleBytes)); }
    // Stores a title, cut to 63 bytes so the NUL always fits.
    void SetTitle(std::string_view text) {
        std::memset(title, 0, sizeof title);
        std::memcpy(title, text.data(),
                    text.size() < kTitleBytes - 1 ? text.size() : kTitleBytes - 1);
    }
};
static_assert(sizeof(ChapterRecord) == 72);

}  // namespace brisna
