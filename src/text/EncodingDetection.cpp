#include "text/EncodingDetection.h"

#include <unicode/ucsdet.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace brisna {
namespace {

constexpr size_t kNulPatternWindow = 64 * 1024;
// The charset detector only needs a sample; past the first non-ASCII byte, as a book may open
// with a long stretch of ASCII.
constexpr size_t kCharsetSampleBytes = 64 * 1024;
constexpr int32_t kBig5MinimumConfidence = 50;

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() && bytes.compare(0, prefix.size(), prefix) == 0;
}

constexpr std::string_view kUtf8Mark{"\xEF\xBB\xBF", 3};
constexpr std::string_view kUtf16LeMark{"\xFF\xFE", 2};
constexpr std::string_view kUtf16BeMark{"\xFE\xFF", 2};

// UTF-16 without a mark: text that is mostly ASCII or Latin leaves every other byte NUL.
TextEncoding NulPattern(std::string_view bytes) {
    const std::string_view window = bytes.substr(0, std::min(bytes.size(), kNulPatternWindow));
    if (window.size() < 4) return TextEncoding::kAuto;  // too short to tell a pattern
    size_t nulEven = 0, nulOdd = 0;
    for (size_t i = 0; i < window.size(); ++i) {
        if (window[i] == '\0') ++(i % 2 == 0 ? nulEven : nulOdd);
    }
    const size_t even = (window.size() + 1) / 2;
    const size_t odd = window.size() / 2;
    if (3 * nulOdd >= 2 * odd) return TextEncoding::kUtf16Le;  // high bytes second
    if (3 * nulEven >= 2 * even) return TextEncoding::kUtf16Be;
    return TextEncoding::kAuto;
}

bool AnyNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

struct DetectorCloser {
    void operator()(UCharsetDetector* detector) const { ucsdet_close(detector); }
};

// Big5 only when the charset detector is fairly sure of it and does not find GBK (which it
// calls GB18030) at least as likely: the two share their byte ranges, and a GBK book must never
// be converted as Big5.
bool DetectorSaysBig5(std::string_view bytes) {
    size_t first = 0;
    while (first < bytes.size() && static_cast<unsigned char>(bytes[first]) < 0x80) ++first;
    if (first == bytes.size()) return false;
    const std::string_view sample = bytes.substr(first, kCharsetSampleBytes);

    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, DetectorCloser> detector(ucsdet_open(&status));
    if (U_FAILURE(status)) return false;
    ucsdet_setText(detector.get(), sample.data(), static_cast<int32_t>(sample.size()), &status);
    int32_t found = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &found, &status);
    if (U_FAILURE(status) || matches == nullptr) return false;
    int32_t big5 = 0, gbk = 0;
    for (int32_t i = 0; i < found; ++i) {
        UErrorCode matchStatus = U_ZERO_ERROR;
        const char* name = ucsdet_getName(matches[i], &matchStatus);
        const int32_t confidence = ucsdet_getConfidence(matches[i], &matchStatus);
        if (U_FAILURE(matchStatus) || name == nullptr) continue;
        if (std::strcmp(name, "Big5") == 0) big5 = std::max(big5, confidence);
        if (std::strcmp(name, "GB18030") == 0) gbk = std::max(gbk, confidence);
    }
    return big5 >= kBig5MinimumConfidence && big5 > gbk;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t i = 0;
    while (i < size) {
        // ASCII eight bytes at a time: most books hold long runs of it between characters.
        while (i + 8 <= size) {
            uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            if (word & 0x8080808080808080ULL) break;
            i += 8;
        }
        if (i >= size) break;
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;   // no overlong forms
            if (lead == 0xED) high = 0x9F;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (i + length > size) return false;
        if (bytes[i + 1] < low || bytes[i + 1] > high) return false;
        for (size_t k = 2; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

size_t ByteOrderMarkLength(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::kUtf8:
            return StartsWith(bytes, kUtf8Mark) ? kUtf8Mark.size() : 0;
        case TextEncoding::kUtf16Le:
            return StartsWith(bytes, kUtf16LeMark) ? kUtf16LeMark.size() : 0;
        case TextEncoding::kUtf16Be:
            return StartsWith(bytes, kUtf16BeMark) ? kUtf16BeMark.size() : 0;
        default:
            return 0;
    }
}

TextEncoding DetectMarkedEncoding(std::string_view bytes) {
    if (StartsWith(bytes, kUtf8Mark)) return TextEncoding::kUtf8;
    if (StartsWith(bytes, kUtf16LeMark)) return TextEncoding::kUtf16Le;
    if (StartsWith(bytes, kUtf16BeMark)) return TextEncoding::kUtf16Be;
    return NulPattern(bytes);
}

bool HasNonAscii(std::string_view bytes) {
    return AnyNonAscii(bytes);
}

bool LooksLikeBig5(std::string_view bytes) {
    return DetectorSaysBig5(bytes);
}

TextEncoding DetectTextEncoding(std::string_view bytes) {
    const TextEncoding marked = DetectMarkedEncoding(bytes);
    if (marked != TextEncoding::kAuto) return marked;
    if (!HasNonAscii(bytes)) return TextEncoding::kGbk;  // ASCII reads the same either way
    if (IsValidUtf8(bytes)) return TextEncoding::kUtf8;
    if (LooksLikeBig5(bytes)) return TextEncoding::kBig5;
    return TextEncoding::kGbk;
}

}  // namespace brisna
