#include "cli/TextOutput.h"

#include "text/EncodingConversion.h"

namespace brisna::cli {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The line end whose first unit is at `at` in a text of units read by unitAt.
template <typename UnitAt>
LineEnd LineEndAt(size_t units, UnitAt unitAt) {
    for (size_t i = 0; i < units; ++i) {
        const unsigned unit = unitAt(i);
        if (unit == '\n') return LineEnd::kLf;
        if (unit == '\r')
            return i + 1 < units && unitAt(i + 1) == '\n' ? LineEnd::kCrLf : LineEnd::kCr;
    }
    return LineEnd::kLf;
}

}  // namespace

LineEnd LineEndOf(std::string_view fileBytes, TextEncoding loadedAs) {
    if (loadedAs == TextEncoding::kUtf16Le || loadedAs == TextEncoding::kUtf16Be) {
        const bool little = loadedAs == TextEncoding::kUtf16Le;
        return LineEndAt(fileBytes.size() / 2, [&](size_t i) {
            const auto first = static_cast<unsigned char>(fileBytes[2 * i]);
            const auto second = static_cast<unsigned char>(fileBytes[2 * i + 1]);
            return little ? first | (second << 8U) : (first << 8U) | second;
        });
    }
    // GBK, Big5 and UTF-8 never use the bytes of CR and LF inside a character.
    return LineEndAt(fileBytes.size(),
                     [&](size_t i) { return static_cast<unsigned char>(fileBytes[i]); });
}

TextForm FormOfInput(std::string_view fileBytes, TextEncoding loadedAs) {
    TextForm form;
    form.encoding = loadedAs == TextEncoding::kGbk ? OutputEncoding::kGbk : OutputEncoding::kUtf8;
    form.lineEnd = LineEndOf(fileBytes, loadedAs);
    form.utf8Mark = loadedAs == TextEncoding::kUtf8 && fileBytes.starts_with(kUtf8Mark);
    return form;
}

std::string TextInForm(std::string_view gbkText, const TextForm& form) {
    // Both conversions give the paragraph ends one form: CR LF in GBK, LF in UTF-8.
    const std::string converted = GbkTextToOutput(gbkText, form.encoding);
    const std::string_view from = form.encoding == OutputEncoding::kGbk ? "\r\n" : "\n";
    const std::string_view to = form.lineEnd == LineEnd::kCrLf ? "\r\n"
                                : form.lineEnd == LineEnd::kCr ? "\r"
                                                               : "\n";
    std::string out;
    if (form.encoding == OutputEncoding::kUtf8 && form.utf8Mark) out += kUtf8Mark;
    if (from == to) return out + converted;
    out.reserve(out.size() + converted.size() + converted.size() / 16);
    size_t start = 0;
    for (size_t found = converted.find(from); found != std::string::npos;
         found = converted.find(from, start)) {
        out.append(converted, start, found - start);
        out += to;
        start = found + from.size();
    }
    out.append(converted, start);
    return out;
}

}  // namespace brisna::cli
