#include "text/EncodingDetection.h"

#include <unicode/ucsdet.h>
#include <unicode/ustring.h>

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
constexpr size_t kUtf8ChunkBytes = 64 * 1024;
constexpr size_t kBinaryMinimumControls = 4;
constexpr size_t kBinaryControlShare = 32;  // one byte in this many

// True when the bytes begin a well-formed UTF-8 sequence that they do not complete.
bool IsValidUtf8Prefix(std::string_view tail) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(tail.data());
    const unsigned char lead = bytes[0];
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead == 0xE0) low = 0xA0;           // no overlong forms
    if (lead == 0xED) high = 0x9F;          // no surrogates
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    if (lead < 0xC2 || lead > 0xF4) return false;
    if (tail.size() >= 2 && (bytes[1] < low || bytes[1] > high)) return false;
    return tail.size() < 3 || (bytes[2] & 0xC0) == 0x80;
}

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

bool IsChineseUnit(char16_t unit) {
    return (unit >= 0x4E00 && unit <= 0x9FFF) || (unit >= 0x3400 && unit <= 0x4DBF) ||
           (unit >= 0x3000 && unit <= 0x303F) || (unit >= 0xFF00 && unit <= 0xFFEF) ||
           (unit >= 0x2010 && unit <= 0x2027) || (unit >= 0xF900 && unit <= 0xFAFF);
}

bool IsTextAsciiUnit(char16_t unit) {
    return (unit >= 0x20 && unit < 0x7F) || unit == '\t' || unit == '\n' || unit == '\r';
}

// UTF-16 of Chinese text without a mark: its line ends stand at aligned offsets with a NUL byte
// beside each, and its units decode well-formed and mostly as Chinese characters. A GBK or
// Big5 text read in pairs gives Hangul, surrogates and private-use codes instead, and has no NUL.
bool LooksLikeChineseUtf16(std::string_view window, bool bigEndian) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(window.data());
    const size_t units = window.size() / 2;
    auto unitAt = [&](size_t k) -> char16_t {
        const unsigned char first = bytes[2 * k], second = bytes[2 * k + 1];
        return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    size_t lineEnds = 0, chinese = 0, ascii = 0, bad = 0;
    for (size_t k = 0; k < units; ++k) {
        const char16_t unit = unitAt(k);
        if (unit == '\n') ++lineEnds;
        if (IsTextAsciiUnit(unit)) {
            ++ascii;
        } else if (IsChineseUnit(unit)) {
            ++chinese;
        } else if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units && unitAt(k + 1) >= 0xDC00 &&
                   unitAt(k + 1) <= 0xDFFF) {
            ++k;  // a character beyond the first plane: fine, but no evidence either way
        } else if ((unit >= 0xD800 && unit <= 0xDFFF) || unit < 0x20 || unit == 0xFFFE ||
                   unit == 0xFFFF || (unit >= 0xE000 && unit <= 0xF8FF) ||
                   (unit >= 0xAC00 && unit <= 0xD7AF)) {
            ++bad;
        }
    }
    const size_t nonAscii = units - ascii;
    return lineEnds > 0 && chinese > 0 && 100 * bad <= units && 4 * chinese >= 3 * nonAscii;
}

TextEncoding ChineseUtf16(std::string_view bytes) {
    std::string_view window = bytes.substr(0, std::min(bytes.size(), kNulPatternWindow));
    if (window.size() < 4 || window.find('\0') == std::string_view::npos) {
        return TextEncoding::kAuto;
    }
    if (LooksLikeChineseUtf16(window, false)) return TextEncoding::kUtf16Le;
    if (LooksLikeChineseUtf16(window, true)) return TextEncoding::kUtf16Be;
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

Utf8Census CountUtf8(std::string_view text, size_t giveUpAfter) {
    Utf8Census census;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    size_t size = text.size();
    // A character cut short by the end of the file is the commonest damage: a valid beginning
    // of a sequence in the last three bytes.
    for (size_t back = 1; back <= 3 && back <= size; ++back) {
        const unsigned char byte = bytes[size - back];
        if ((byte & 0xC0) == 0x80) continue;
        const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        if (length > back && IsValidUtf8Prefix(text.substr(size - back))) {
            census.cutAtEnd = true;
            size -= back;
        }
        break;
    }
    // ICU checks a chunk at a time, each ending before a sequence begins, so a verdict on a
    // damaged text can stop early and the counts fit ICU's 32-bit lengths.
    size_t start = 0;
    while (start < size) {
        size_t end = std::min(size, start + kUtf8ChunkBytes);
        if (end < size) {
            const size_t floor = end > start + 4 ? end - 4 : start + 1;
            while (end > floor && (bytes[end] & 0xC0) == 0x80) --end;
        }
        size_t ascii = 0, fourByteLeads = 0;
        for (size_t i = start; i < end; ++i) {
            ascii += bytes[i] < 0x80;
            fourByteLeads += bytes[i] >= 0xF0;
        }
        int32_t units = 0, substituted = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(nullptr, 0, &units, text.data() + start,
                             static_cast<int32_t>(end - start), 0xFFFD, &substituted, &status);
        if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) {
            census.malformed = text.size();  // cannot happen with a substitute; count it as bad
            return census;
        }
        const size_t other = static_cast<size_t>(units) - ascii - static_cast<size_t>(substituted);
        // A four-byte sequence gives two units; its lead is counted even when it was malformed,
        // which only makes the count of good sequences smaller.
        census.multiByte += other > fourByteLeads ? other - fourByteLeads : 0;
        census.ascii += ascii;
        census.malformed += static_cast<size_t>(substituted);
        if (census.malformed > giveUpAfter) return census;
        start = end;
    }
    return census;
}

bool IsValidUtf8(std::string_view text) {
    const Utf8Census census = CountUtf8(text, 0);
    return census.malformed == 0 && !census.cutAtEnd;
}

bool ReadsAsUtf8(std::string_view text) {
    // At most one damaged sequence per 1,000 characters, and no text has more characters than
    // bytes: past that count the verdict is known.
    const Utf8Census census = CountUtf8(text, text.size() / kUtf8CharactersPerDamage);
    const size_t characters = census.ascii + census.multiByte + census.malformed;
    return census.multiByte > 0 && census.malformed * kUtf8CharactersPerDamage <= characters &&
           census.malformed * 100 <= (census.multiByte + census.malformed) * kUtf8DamagePercent;
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
    const TextEncoding latin = NulPattern(bytes);
    return latin != TextEncoding::kAuto ? latin : ChineseUtf16(bytes);
}

bool LooksLikeBinary(std::string_view bytes, TextEncoding encoding) {
    const std::string_view window = bytes.substr(0, std::min(bytes.size(), kNulPatternWindow));
    const bool utf16 = encoding == TextEncoding::kUtf16Le || encoding == TextEncoding::kUtf16Be;
    const size_t width = utf16 ? 2 : 1;
    const auto* raw = reinterpret_cast<const unsigned char*>(window.data());
    size_t controls = 0;
    for (size_t i = 0; i + width <= window.size(); i += width) {
        unsigned code = raw[i];
        if (utf16) {
            code = encoding == TextEncoding::kUtf16Le ? raw[i] | raw[i + 1] << 8
                                                      : raw[i] << 8 | raw[i + 1];
        }
        if (code < 0x20 && code != '\t' && code != '\n' && code != '\r' && code != '\f' &&
            code != 0x1B) {
            ++controls;
        }
    }
    // A book may hold a stray control character or a NUL; a program or a picture holds them
    // everywhere (about one byte in nine of compressed data).
    return controls >= kBinaryMinimumControls &&
           controls * kBinaryControlShare * width >= window.size();
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
    if (ReadsAsUtf8(bytes)) return TextEncoding::kUtf8;
    if (LooksLikeBig5(bytes)) return TextEncoding::kBig5;
    return TextEncoding::kGbk;
}

}  // namespace brisna
