// Any bytes through the encoding detector, every converter and the whole decode of a book.
// Checks that GBK input always loads exactly as the plain GBK path loads it, that the UTF-8
// validity check agrees with ICU's, and that the UTF-8 and UTF-16 converters give the same GBK
// for the same valid text.

#include <unicode/ustring.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/BookLoading.h"
#include "text/EncodingConversion.h"
#include "text/EncodingDetection.h"
#include "text/FileNames.h"

namespace {

using namespace brisna;

void Check(bool condition) {
    if (!condition) std::abort();
}

// The text as UTF-16LE bytes when ICU finds it well-formed UTF-8.
bool IcuUtf16Le(std::string_view utf8, std::string& le) {
    std::u16string units(utf8.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(reinterpret_cast<UChar*>(units.data()), static_cast<int32_t>(units.size()),
                  &length, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
    if (U_FAILURE(status)) return false;
    le.clear();
    for (int32_t k = 0; k < length; ++k) {
        le.push_back(static_cast<char>(units[k] & 0xFF));
        le.push_back(static_cast<char>(units[k] >> 8));
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const TextEncoding detected = DetectTextEncoding(input);
    Check(detected != TextEncoding::kAuto);

    for (TextEncoding encoding : {TextEncoding::kUtf8, TextEncoding::kUtf16Le,
                                  TextEncoding::kUtf16Be, TextEncoding::kBig5}) {
        GbkConversion converted = ConvertToGbk(input, encoding);
        Check((converted.replaced == 0) == (converted.firstReplacedLine == 0));
        Check(converted.gbk.size() <= 2 * size + 2);
    }

    std::string le;
    const bool icuValid = IcuUtf16Le(input, le);
    Check(IsValidUtf8(input) == icuValid);
    if (icuValid) {
        GbkConversion fromUtf8 = ConvertToGbk(input, TextEncoding::kUtf8);
        GbkConversion fromUtf16 = ConvertToGbk(le, TextEncoding::kUtf16Le);
        // A mark at the start is dropped by both; ICU keeps it in the units.
        Check(fromUtf8.gbk == fromUtf16.gbk);
        Check(fromUtf8.replaced == fromUtf16.replaced);
        Check(fromUtf8.firstReplacedLine == fromUtf16.firstReplacedLine);
    }

    BookLoadResult loaded = DecodeBookBytes(input, TextEncoding::kAuto);
    Check(loaded.encoding == detected);
    if (detected == TextEncoding::kGbk) Check(loaded.text == PrepareLoadedText(input));
    Check(DecodeBookBytes(input, TextEncoding::kGbk).text == PrepareLoadedText(input));

    (void)FileNameToUtf16(input.substr(0, 255));
    return 0;
}
