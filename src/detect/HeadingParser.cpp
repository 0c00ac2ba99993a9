#include "detect/HeadingParser.h"

#include <cstdio>
#include <cstring>

#include "detect/ChineseNumerals.h"
#include "text/GbkText.h"

namespace brisna {
namespace {

// Copies as many whole characters of `text` as fit in 63 bytes into a 64-byte field.
void CopyField(char (&field)[kHeadingFieldBytes], std::string_view text) {
    size_t length = 0;
    while (length < text.size()) {
        size_t next = length + GbkCharLength(text, length);
        if (next > kHeadingFieldBytes - 1) break;
        length = next;
    }
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

std::string_view FieldText(const char (&field)[kHeadingFieldBytes]) {
    return std::string_view(field, strnlen(field, kHeadingFieldBytes));
}

}  // namespace

std::string_view HeadingParts::Prefix() const {
    return FieldText(prefix);
}
std::string_view HeadingParts::Suffix() const {
    return FieldText(suffix);
}

HeadingParts ParseHeading(std::string_view text) {
    HeadingParts parts;
    size_t at = 0;
    while (at < text.size()) {
        auto byte = static_cast<unsigned char>(text[at]);
        // Characters as the rest of the program reads GBK: 0x81 .. 0xFE with a following byte.
        size_t length = GbkCharLength(text, at);
        std::string_view remainder;
        if (length == 2 && IsChineseNumeralStart(byte, static_cast<unsigned char>(text[at + 1]))) {
            parts.number = ParseChineseNumeral(text.substr(at), &remainder);
            parts.isArabic = 0;
        } else if (byte >= '0' && byte <= '9') {
            parts.number = ParseLeadingDigits(text.substr(at), &remainder);
            parts.isArabic = 1;
        } else {
            at += length;
            continue;
        }
        CopyField(parts.prefix, text.substr(0, at));
        CopyField(parts.suffix, remainder);
        return parts;
    }
    return parts;
}

std::string ComposeHeading(const HeadingParts& parts) {
    std::string out(parts.Prefix());
    if (parts.isArabic == 1) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%d", parts.number);
        out += digits;
    } else {
        // Negative numbers are taken as unsigned, as the renderer's callers always did.
        out += RenderChineseNumber(static_cast<uint32_t>(parts.number));
    }
    out += parts.Suffix();
    return out;
}

std::string HeadingStem(const HeadingParts& parts) {
    std::string composed = ComposeHeading(parts);
    // Character-aware, so a suffix never matches from the middle of a character.
    size_t cut = GbkFind(composed, parts.Suffix());
    if (cut != std::string::npos) composed.resize(cut);
    return composed;
}

}  // namespace brisna
