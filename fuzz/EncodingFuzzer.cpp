// Any bytes through the encoding detector, every converter and the whole decode of a book.
// Checks that GBK input always loads exactly as the plain GBK path loads it, that the UTF-8
// validity check agrees with ICU's, that the UTF-8 and UTF-16 converters give the same GBK for
// the same valid text, and that a UTF-8 text with no more damage than the tolerated bound is
// always read as UTF-8.

#include <unicode/ustring.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/BookLoading.h"
#include "text/EncodingConversion.h"
#include "text/EncodingDetection.h"
#include "text/FileNames.h"
#include "text/GbkText.h"

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

// The input as valid UTF-8 without NULs (which could make it UTF-16): every malformed sequence
// replaced by U+FFFD, as a strict decoder with replacement gives it, every NUL by a space.
std::string RepairedUtf8(std::string_view input) {
    std::u16string units(input.size() + 1, u'\0');
    int32_t length = 0, substituted = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(units.data()), static_cast<int32_t>(units.size()),
                         &length, input.data(), static_cast<int32_t>(input.size()), 0xFFFD,
                         &substituted, &status);
    if (U_FAILURE(status)) return {};
    std::string utf8(4 * static_cast<size_t>(length) + 4, '\0');
    int32_t written = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &written,
                reinterpret_cast<const UChar*>(units.data()), length, &status);
    if (U_FAILURE(status)) return {};
    utf8.resize(static_cast<size_t>(written));
    for (char& c : utf8) {
        if (c == '\0') c = ' ';
    }
    return utf8;
}

// Valid UTF-8 damaged within the bound (stray bytes between characters, a character cut at the
// end) is still UTF-8, however the damage falls.
void CheckToleratedDamageReadsAsUtf8(std::string_view input) {
    std::string text = RepairedUtf8(input);
    const Utf8Census census = CountUtf8(text, text.size());
    if (census.multiByte == 0) return;
    const size_t characters = census.ascii + census.multiByte;
    size_t allowed = std::min(characters / kUtf8CharactersPerDamage,
                              census.multiByte / (100 / kUtf8DamagePercent));
    // Where the stray bytes go comes from the input; only between characters.
    size_t seed = input.empty() ? 0 : static_cast<unsigned char>(input[0]);
    for (size_t k = 0; k < allowed; ++k) {
        seed = seed * 1103515245 + 12345;
        size_t at = seed % (text.size() + 1);
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
        text.insert(at, "\xFF");
    }
    if (!text.empty() && (seed & 1) != 0) text += "\xE4\xB8";  // the first two bytes of 中
    Check(DetectTextEncoding(text) == TextEncoding::kUtf8);
    const BookLoadResult loaded = DecodeBookBytes(text, TextEncoding::kAuto);
    Check(loaded.encoding == TextEncoding::kUtf8);
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
    // The load converts valid UTF-8 in the same pass that checks it: the same verdict as ICU's.
    Check(ConvertValidUtf8ToGbk(input).has_value() == icuValid);
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
    // GBK is taken as it stands, but for CR-only line ends and a refusal of what is no text.
    const std::string asGbk = PrepareLoadedText(CrLineEndsToCrLf(UpToNul(input)));
    if (detected == TextEncoding::kGbk && loaded.status == BookReadStatus::kOk) {
        Check(loaded.text == asGbk);
    }
    Check(DecodeBookBytes(input, TextEncoding::kGbk).text == asGbk);
    CheckToleratedDamageReadsAsUtf8(input);

    (void)FileNameToUtf16(input.substr(0, 255));
    return 0;
}
