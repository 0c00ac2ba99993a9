#include "text/CodePage936.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <array>
#include <memory>
#include <vector>

namespace brisna {
namespace {

constexpr char16_t kDefaultUnicodeChar = u'\u30FB';  // what a rejected GBK sequence reads as
constexpr char kDefaultGbkChar = '?';                // what an unmappable unit is written as
constexpr char16_t kRawByteBase = 0xF700;            // lossless: raw byte b <-> U+F700 + b
constexpr uint16_t kNoMapping = 0xFFFF;

bool IsRawByteUnit(char16_t unit) {
    return unit >= kRawByteBase + 0x80 && unit <= kRawByteBase + 0xFF;
}

// Both directions of code page 936, filled once from ICU. toUnicode[b] for single bytes,
// toUnicode[(lead << 8) | trail] for pairs; 0 where the sequence is no character (U+0000 only
// comes from the byte 0). fromUnicode[unit] holds one byte or (lead << 8) | trail.
struct Tables {
    std::vector<char16_t> toUnicode = std::vector<char16_t>(65536, 0);
    std::vector<uint16_t> fromUnicode = std::vector<uint16_t>(65536, kNoMapping);
    std::array<bool, 256> singleValid{};
    // Pairs whose decoded unit encodes back to the same two bytes (safe for the lossless view).
    std::vector<bool> pairRoundTrips = std::vector<bool>(65536, false);
    // What the lossless view shows for a pair (0: the two bytes as raw units) and for a single
    // byte: the loaders decode ten megabytes at a time, so this is one lookup per character.
    std::vector<char16_t> losslessPair = std::vector<char16_t>(65536, 0);
    std::array<char16_t, 256> losslessSingle{};
    // fromUnicode where the code reads back as the same unit, else kNoGbkCode.
    std::vector<uint16_t> strictFromUnicode = std::vector<uint16_t>(65536, kNoGbkCode);

    Tables() {
        UErrorCode status = U_ZERO_ERROR;
        UConverter* converter = ucnv_open("windows-936", &status);
        if (U_FAILURE(status)) return;  // no ICU data: every byte above 0x7F stays undecodable
        ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &status);
        ucnv_setFallback(converter, true);  // the platform writes best-fit characters

        auto decode = [&](const char* bytes, int32_t length) -> int32_t {
            UChar out[4];
            UErrorCode error = U_ZERO_ERROR;
            ucnv_reset(converter);
            int32_t produced = ucnv_toUChars(converter, out, 4, bytes, length, &error);
            if (U_FAILURE(error) || produced != 1) return -1;
            return out[0];
        };
        for (int byte = 0; byte < 256; ++byte) {
            if (byte < 0x80) {
                toUnicode[byte] = static_cast<char16_t>(byte);
                singleValid[byte] = true;
                continue;
            }
            if (IsGbkLeadByte(static_cast<unsigned char>(byte))) continue;
            char single = static_cast<char>(byte);
            int32_t unit = decode(&single, 1);
            if (unit >= 0) {
                toUnicode[byte] = static_cast<char16_t>(unit);
                singleValid[byte] = true;
            }
        }
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (!IsGbkTrailByte(static_cast<unsigned char>(trail))) continue;
                char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                int32_t unit = decode(pair, 2);
                if (unit > 0) toUnicode[(lead << 8) | trail] = static_cast<char16_t>(unit);
            }
        }
        for (int unit = 1; unit < 65536; ++unit) {
            if (unit >= 0xD800 && unit <= 0xDFFF) continue;
            UChar source = static_cast<UChar>(unit);
            char out[8];
            UErrorCode error = U_ZERO_ERROR;
            ucnv_reset(converter);
            int32_t produced = ucnv_fromUChars(converter, out, sizeof out, &source, 1, &error);
            if (U_FAILURE(error)) continue;
            if (produced == 1) {
                fromUnicode[unit] = static_cast<unsigned char>(out[0]);
            } else if (produced == 2) {
                fromUnicode[unit] = static_cast<uint16_t>(
                    (static_cast<unsigned char>(out[0]) << 8) | static_cast<unsigned char>(out[1]));
            }
        }
        fromUnicode[0] = 0;
        for (int code = 0x8140; code < 65536; ++code) {
            char16_t unit = toUnicode[code];
            pairRoundTrips[code] = unit != 0 && !IsRawByteUnit(unit) && fromUnicode[unit] == code;
            if (pairRoundTrips[code]) losslessPair[code] = unit;
        }
        for (int byte = 0; byte < 256; ++byte) {
            char16_t unit = toUnicode[byte];
            bool shown = singleValid[byte] && (unit != 0 || byte == 0) && !IsRawByteUnit(unit);
            losslessSingle[byte] = shown ? unit : static_cast<char16_t>(kRawByteBase + byte);
        }
        for (int unit = 0; unit < 65536; ++unit) {
            const uint16_t code = fromUnicode[unit];
            if (code == kNoMapping) continue;
            const bool readsBack = code > 0xFF ? pairRoundTrips[code] && toUnicode[code] == unit
                                               : singleValid[code] && toUnicode[code] == unit;
            if (readsBack) strictFromUnicode[unit] = code;
        }
        ucnv_close(converter);
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

// Walks GBK bytes character by character and hands each piece to the sink:
// sink(unitOrZero, firstByte, length) with unit 0 meaning "no character here".
template <typename Sink>
void WalkGbk(std::string_view gbk, const Tables& tables, Sink&& sink) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(gbk.data());
    const size_t size = gbk.size();
    size_t i = 0;
    while (i < size) {
        unsigned char byte = bytes[i];
        if (byte < 0x80) {
            sink(static_cast<char16_t>(byte), i, 1, true);
            ++i;
        } else if (IsGbkLeadByte(byte) && i + 1 < size && IsGbkTrailByte(bytes[i + 1])) {
            unsigned code = (static_cast<unsigned>(byte) << 8) | bytes[i + 1];
            sink(tables.toUnicode[code], i, 2, tables.pairRoundTrips[code]);
            i += 2;
        } else {
            bool valid = tables.singleValid[byte];
            sink(valid ? tables.toUnicode[byte] : char16_t{0}, i, 1, valid);
            ++i;
        }
    }
}

void AppendGbk(std::string& out, uint16_t code) {
    if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
}

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
    const Tables& tables = GetTables();
    std::u16string out;
    out.reserve(gbk.size());
    WalkGbk(gbk, tables, [&](char16_t unit, size_t first, size_t length, bool) {
        // Only the byte 0 decodes to U+0000; any other zero is a rejected sequence.
        bool isNulByte = length == 1 && gbk[first] == '\0';
        out.push_back(unit != 0 || isNulByte ? unit : kDefaultUnicodeChar);
    });
    return out;
}

std::string Utf16ToGbk(std::u16string_view utf16) {
    const Tables& tables = GetTables();
    std::string out;
    out.reserve(utf16.size() * 2);
    for (char16_t unit : utf16) {
        uint16_t code = tables.fromUnicode[unit];
        if (code == kNoMapping) {
            out.push_back(kDefaultGbkChar);
        } else {
            AppendGbk(out, code);
        }
    }
    return out;
}

uint16_t GbkCodeOfUnit(char16_t unit) {
    return unit < 0x80 ? unit : GetTables().strictFromUnicode[unit];
}

const uint16_t* GbkCodeTable() {
    return GetTables().strictFromUnicode.data();
}

std::u16string GbkToUtf16Lossless(std::string_view gbk) {
    std::u16string out;
    AppendGbkToUtf16Lossless(gbk, out);
    return out;
}

void AppendGbkToUtf16Lossless(std::string_view gbk, std::u16string& out) {
    const Tables& tables = GetTables();
    const size_t base = out.size();
    // Never more units than bytes; written through a pointer and trimmed at the end.
    out.resize(base + gbk.size());
    char16_t* write = out.data() + base;
    const auto* bytes = reinterpret_cast<const unsigned char*>(gbk.data());
    const size_t size = gbk.size();
    size_t i = 0;
    while (i < size) {
        const unsigned char byte = bytes[i];
        if (byte < 0x80) {
            *write++ = byte;
            ++i;
        } else if (IsGbkLeadByte(byte) && i + 1 < size && IsGbkTrailByte(bytes[i + 1])) {
            const unsigned code = (static_cast<unsigned>(byte) << 8) | bytes[i + 1];
            const char16_t unit = tables.losslessPair[code];
            if (unit != 0) {
                *write++ = unit;
            } else {
                *write++ = static_cast<char16_t>(kRawByteBase + byte);
                *write++ = static_cast<char16_t>(kRawByteBase + bytes[i + 1]);
            }
            i += 2;
        } else {
            *write++ = tables.losslessSingle[byte];
            ++i;
        }
    }
    out.resize(static_cast<size_t>(write - out.data()));
}

std::u16string GbkCrLfToUtf16Lossless(std::string_view crlfGbk,
                                      std::vector<int32_t>& unitLineStarts,
                                      std::vector<uint32_t>& byteLineStarts) {
    const Tables& tables = GetTables();
    // Locals, so the loop need not reload them after every store.
    const char16_t* const pairUnits = tables.losslessPair.data();
    const char16_t* const singleUnits = tables.losslessSingle.data();
    std::u16string out(crlfGbk.size(), u'\0');
    char16_t* const begin = out.data();
    char16_t* write = begin;
    const auto* bytes = reinterpret_cast<const unsigned char*>(crlfGbk.data());
    const size_t size = crlfGbk.size();
    size_t i = 0;
    while (i < size) {
        const unsigned char byte = bytes[i];
        // Most of a Chinese book: a character the view shows as itself (a non-zero entry also
        // tells that the two bytes are a lead and a trail byte).
        if (byte >= 0x80 && i + 1 < size) {
            const char16_t unit = pairUnits[(static_cast<unsigned>(byte) << 8) | bytes[i + 1]];
            if (unit != 0) {
                *write++ = unit;
                i += 2;
                continue;
            }
        }
        if (byte < 0x80) {
            if (byte == '\r') {
                // CR is never a second byte, so a mark always stands on a character boundary.
                *write++ = u'\r';
                i += i + 1 < size && bytes[i + 1] == '\n' ? 2 : 1;
                unitLineStarts.push_back(static_cast<int32_t>(write - begin));
                byteLineStarts.push_back(static_cast<uint32_t>(i));
            } else {
                *write++ = byte;
                ++i;
            }
        } else if (IsGbkLeadByte(byte) && i + 1 < size && IsGbkTrailByte(bytes[i + 1])) {
            const unsigned code = (static_cast<unsigned>(byte) << 8) | bytes[i + 1];
            const char16_t unit = pairUnits[code];
            if (unit != 0) {
                *write++ = unit;
            } else {
                *write++ = static_cast<char16_t>(kRawByteBase + byte);
                *write++ = static_cast<char16_t>(kRawByteBase + bytes[i + 1]);
            }
            i += 2;
        } else {
            *write++ = singleUnits[byte];
            ++i;
        }
    }
    out.resize(static_cast<size_t>(write - begin));
    return out;
}

std::string Utf16ToGbkLossless(std::u16string_view utf16) {
    const Tables& tables = GetTables();
    std::string out;
    out.reserve(utf16.size() * 2);
    for (char16_t unit : utf16) {
        if (IsRawByteUnit(unit)) {
            out.push_back(static_cast<char>(unit - kRawByteBase));
            continue;
        }
        uint16_t code = tables.fromUnicode[unit];
        if (code == kNoMapping) {
            out.push_back(kDefaultGbkChar);
        } else {
            AppendGbk(out, code);
        }
    }
    return out;
}

size_t GbkLosslessByteCount(char16_t unit) {
    if (unit < 0x80 || IsRawByteUnit(unit)) return 1;
    uint16_t code = GetTables().fromUnicode[unit];
    return code != kNoMapping && code > 0xFF ? 2 : 1;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out(utf8.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                         &length, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr,
                         &status);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<size_t>(length));
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out(utf16.size() * 3 + 1, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                       reinterpret_cast<const UChar*>(utf16.data()),
                       static_cast<int32_t>(utf16.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<size_t>(length));
    return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
    return Utf16ToGbkLossless(Utf8ToUtf16(utf8));
}

std::string GbkToUtf8Lossless(std::string_view gbk) {
    return Utf16ToUtf8(GbkToUtf16Lossless(gbk));
}

std::string Utf16ToLeBytes(std::u16string_view utf16) {
    std::string out;
    out.resize(utf16.size() * 2);
    for (size_t i = 0; i < utf16.size(); ++i) {
        out[2 * i] = static_cast<char>(utf16[i] & 0xFF);
        out[2 * i + 1] = static_cast<char>(utf16[i] >> 8);
    }
    return out;
}

std::u16string LeBytesToUtf16(std::string_view bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return out;
}

}  // namespace brisna
