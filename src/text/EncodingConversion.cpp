#include "text/EncodingConversion.h"

#include <unicode/ucnv.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "text/CodePage936.h"
#include "text/EncodingDetection.h"
#include "text/TextMessages.h"

namespace brisna {

namespace msg = text_messages;

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Spaces GBK has no code for: the no-break space above all, which real books put between 第,
// the number and 章. They are spaces all the same, so they become ASCII spaces rather than '?'
// (a '?' inside every heading would hide the headings from chapter detection).
bool IsSpaceWithoutGbkCode(char32_t code) {
    return code == 0x00A0 || (code >= 0x2000 && code <= 0x200A) || code == 0x202F || code == 0x205F;
}

// Appends code points as GBK, '?' for what GBK cannot hold, and remembers where the first
// replacement went. Writes through a pointer into room sized by the caller: ten megabytes of
// text are converted a character at a time.
class GbkWriter {
  public:
    explicit GbkWriter(size_t maxBytes) : table_(GbkCodeTable()) {
        result_.gbk.resize(maxBytes);
        begin_ = out_ = result_.gbk.data();
    }

    void Ascii(char byte) { *out_++ = byte; }
    void AsciiRun(const void* bytes, size_t count) {
        std::memcpy(out_, bytes, count);
        out_ += count;
    }

    void Character(char32_t code) {
        // Surrogate units alone are no characters; U+FFFD marks a sequence that was not valid.
        const uint16_t gbk = code <= 0xFFFF ? table_[code] : kNoGbkCode;
        if (gbk == kNoGbkCode && IsSpaceWithoutGbkCode(code)) {
            *out_++ = ' ';
            return;
        }
        if (gbk == kNoGbkCode || (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFD) {
            if (result_.replaced++ == 0) firstReplacedAt_ = static_cast<size_t>(out_ - begin_);
            *out_++ = '?';
            return;
        }
        if (gbk > 0xFF) *out_++ = static_cast<char>(gbk >> 8);
        *out_++ = static_cast<char>(gbk & 0xFF);
    }

    GbkConversion Finish() {
        result_.gbk.resize(static_cast<size_t>(out_ - begin_));
        if (result_.replaced > 0) {
            // Lines end at LF or at a CR without one; neither byte is ever part of a GBK pair.
            size_t line = 1;
            const std::string& gbk = result_.gbk;
            for (size_t i = 0; i < firstReplacedAt_; ++i) {
                if (gbk[i] == '\n' ||
                    (gbk[i] == '\r' && (i + 1 >= gbk.size() || gbk[i + 1] != '\n'))) {
                    ++line;
                }
            }
            result_.firstReplacedLine = line;
        }
        return std::move(result_);
    }

  private:
    const uint16_t* table_;
    GbkConversion result_;
    char* begin_ = nullptr;
    char* out_ = nullptr;
    size_t firstReplacedAt_ = 0;
};

// One code point from well-formed UTF-8 at bytes[i], or kInvalid (then one byte is skipped).
char32_t DecodeUtf8(const unsigned char* bytes, size_t size, size_t& i) {
    const unsigned char lead = bytes[i];
    size_t length = 0;
    char32_t code = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    }
    if (length == 0 || i + 1 >= size || bytes[i + 1] < low || bytes[i + 1] > high) {
        ++i;
        return kInvalid;
    }
    size_t k = 1;
    for (; k < length; ++k) {
        if (i + k >= size || (bytes[i + k] & 0xC0) != 0x80) break;
        code = (code << 6) | (bytes[i + k] & 0x3F);
    }
    if (k < length) {
        i += k;  // the truncated sequence counts once
        return kInvalid;
    }
    i += length;
    return code;
}

// strict: give up (false) at the first sequence that is not valid UTF-8, so a text can be
// detected and converted in one pass.
bool FromUtf8(std::string_view text, bool strict, GbkConversion& result) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    GbkWriter writer(size);  // no character takes more bytes in GBK than in UTF-8
    size_t i = 0;
    while (i < size) {
        uint64_t word;
        if (i + 8 <= size) {
            std::memcpy(&word, bytes + i, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                writer.AsciiRun(bytes + i, 8);
                i += 8;
                continue;
            }
        }
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            writer.Ascii(static_cast<char>(lead));
            ++i;
            continue;
        }
        // Most characters of a Chinese book: three bytes, well-formed.
        if ((lead & 0xF0) == 0xE0 && i + 2 < size && (bytes[i + 1] & 0xC0) == 0x80 &&
            (bytes[i + 2] & 0xC0) == 0x80) {
            const char32_t code = (char32_t{lead & 0x0Fu} << 12) |
                                  (char32_t{bytes[i + 1] & 0x3Fu} << 6) | (bytes[i + 2] & 0x3Fu);
            if (code >= 0x800 && (code < 0xD800 || code > 0xDFFF)) {
                writer.Character(code);
                i += 3;
                continue;
            }
        }
        const char32_t code = DecodeUtf8(bytes, size, i);
        if (code == kInvalid && strict) return false;
        writer.Character(code == kInvalid ? 0xFFFD : code);
    }
    result = writer.Finish();
    return true;
}

GbkConversion FromUtf16(std::string_view text, bool bigEndian) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t units = text.size() / 2;
    auto unitAt = [&](size_t k) -> char16_t {
        const unsigned char first = bytes[2 * k], second = bytes[2 * k + 1];
        return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    GbkWriter writer(2 * units + 1);
    for (size_t k = 0; k < units; ++k) {
        const char16_t unit = unitAt(k);
        if (unit < 0x80) {
            writer.Ascii(static_cast<char>(unit));
        } else if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units && unitAt(k + 1) >= 0xDC00 &&
                   unitAt(k + 1) <= 0xDFFF) {
            ++k;  // a character beyond the first plane: one character, one replacement
            writer.Character(0x10000);
        } else {
            writer.Character(unit);
        }
    }
    if (text.size() % 2 != 0) writer.Character(0xFFFD);  // half a unit at the end
    return writer.Finish();
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

GbkConversion FromBig5(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    // The code page most Big5 books are written in: Big5 with the common vendor additions.
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open("windows-950", &status));
    GbkWriter writer(2 * text.size());  // never more units than bytes
    if (U_FAILURE(status)) {
        for (char byte : text) {
            if (static_cast<unsigned char>(byte) < 0x80) {
                writer.Ascii(byte);
            } else {
                writer.Character(0xFFFD);
            }
        }
        return writer.Finish();
    }
    // ICU's substitute for what is no Big5 character is U+FFFD, which counts as replaced.
    const char* source = text.data();
    const char* const sourceEnd = text.data() + text.size();
    UChar buffer[16384];
    bool flushed = false;
    while (!flushed) {
        UChar* target = buffer;
        status = U_ZERO_ERROR;
        ucnv_toUnicode(converter.get(), &target, buffer + std::size(buffer), &source, sourceEnd,
                       nullptr, true, &status);
        if (status != U_BUFFER_OVERFLOW_ERROR) flushed = true;
        if (U_FAILURE(status) && status != U_BUFFER_OVERFLOW_ERROR) break;
        for (UChar* unit = buffer; unit < target; ++unit) {
            if (*unit < 0x80) {
                writer.Ascii(static_cast<char>(*unit));
            } else if (*unit >= 0xD800 && *unit <= 0xDBFF && unit + 1 < target) {
                ++unit;
                writer.Character(0x10000);
            } else if (*unit >= 0xE000 && *unit <= 0xF8FF) {
                // Big5's user-defined characters: whatever a book meant by one, the same
                // private-use code in GBK means something else.
                writer.Character(0xFFFD);
            } else {
                writer.Character(*unit);
            }
        }
    }
    return writer.Finish();
}

}  // namespace

GbkConversion ConvertToGbk(std::string_view bytes, TextEncoding encoding) {
    bytes.remove_prefix(ByteOrderMarkLength(bytes, encoding));
    switch (encoding) {
        case TextEncoding::kUtf8: {
            GbkConversion converted;
            FromUtf8(bytes, false, converted);
            return converted;
        }
        case TextEncoding::kUtf16Le:
            return FromUtf16(bytes, false);
        case TextEncoding::kUtf16Be:
            return FromUtf16(bytes, true);
        case TextEncoding::kBig5:
            return FromBig5(bytes);
        case TextEncoding::kAuto:
        case TextEncoding::kGbk:
            break;
    }
    GbkConversion unchanged;
    unchanged.gbk.assign(bytes);
    return unchanged;
}

std::optional<GbkConversion> ConvertValidUtf8ToGbk(std::string_view bytes) {
    GbkConversion converted;
    if (!FromUtf8(bytes.substr(ByteOrderMarkLength(bytes, TextEncoding::kUtf8)), true, converted)) {
        return std::nullopt;
    }
    return converted;
}

std::string ReplacedCharactersMessage(size_t replaced, size_t firstLine) {
    return Utf8ToGbk(msg::ReplacedCharactersNotice(replaced, firstLine));
}

std::string GbkTextToOutput(std::string_view gbkText, OutputEncoding encoding) {
    if (encoding == OutputEncoding::kGbk) return std::string(gbkText);
    std::string utf8 = Utf16ToUtf8(GbkToUtf16(gbkText));
    // CR LF becomes LF; a CR or LF alone stays as it is.
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        out.push_back(utf8[i]);
    }
    return out;
}

}  // namespace brisna
