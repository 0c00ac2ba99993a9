// Any bytes as a numeral: the value is never negative, the remainder is a tail of the text, and
// rendering any value (taken from the input) terminates within a bounded length.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "detect/ChineseNumerals.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brisna;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto isTail = [&](std::string_view part) {
        return part.size() <= text.size() && part.data() + part.size() == text.data() + text.size();
    };

    std::string_view remainder;
    int32_t value = ParseChineseNumeral(text, &remainder);
    if (value < 0 || !isTail(remainder)) std::abort();
    value = ParseLeadingDigits(text, &remainder);
    if (value < 0 || !isTail(remainder)) std::abort();

    if (size >= 4) {
        uint32_t n;
        std::memcpy(&n, data, sizeof n);
        std::string rendered = RenderChineseNumber(n);
        // 四十二亿九千四百九十六万七千二百九十五 is the longest: 19 characters.
        if (rendered.size() > 40 || rendered.size() % 2 != 0) std::abort();
        if (n <= 99999 && ParseChineseNumeral(rendered, &remainder) != static_cast<int32_t>(n))
            std::abort();
    }
    return 0;
}
