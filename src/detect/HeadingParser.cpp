#include "detect/HeadingParser.h"

#include <cstdio>
#include <cstring>

#include "detect/ChineseNumerals.h"

namespace brisna {
namespace {

// Headings are walked with the simple rule of the detection commands: any byte of 0x80 or more
// starts a two-byte character, unless it is the last byte.
size_t HeadingCharLength(std::string_view text, size_t at) {
    if (at >= text.size()) return 0;
    return static_cast<unsigned char>(text[at]) >= 0x80 && at + 1 < text.size() ? 2 : 1;
}

// Copies as many whole characters of `text` as fit in 63 bytes into a 64-byte field.
void CopyField(char (&field)[kHeadingFieldBytes], std::string_view text) {
    size_t length = 0;
    while (length < text.size()) {
        size_t next = length + HeadingCharLength(text, length);
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
        size_t length = HeadingCharLength(text, at);
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
    std::string_view suffix = parts.Suffix();
    // Search on the same character boundaries the parser walks, so a suffix never matches from
    // the middle of a character. The suffix itself always ends the composed text.
    std::string_view view = composed;
    for (size_t at = 0; at <= view.size(); at += HeadingCharLength(view, at)) {
        if (view.substr(at).starts_with(suffix)) {
            composed.resize(at);
            return composed;
        }
        if (at == view.size()) break;
    }
    return composed;
}

}  // namespace brisna
