#include "text/TextEncoding.h"

#include <array>
#include <cctype>
#include <string>
#include <utility>

namespace brisna {
namespace {

std::string Lowered(std::string_view name) {
    std::string lowered(name);
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

constexpr std::array<std::pair<std::string_view, TextEncoding>, 7> kNames = {{
    {"auto", TextEncoding::kAuto},
    {"gbk", TextEncoding::kGbk},
    {"utf-8", TextEncoding::kUtf8},
    {"utf8", TextEncoding::kUtf8},
    {"utf-16le", TextEncoding::kUtf16Le},
    {"utf-16be", TextEncoding::kUtf16Be},
    {"big5", TextEncoding::kBig5},
}};

}  // namespace

std::optional<TextEncoding> ParseTextEncoding(std::string_view name) {
    const std::string lowered = Lowered(name);
    for (const auto& [spelling, encoding] : kNames) {
        if (lowered == spelling) return encoding;
    }
    return std::nullopt;
}

std::string_view TextEncodingName(TextEncoding encoding) {
    for (const auto& [spelling, named] : kNames) {
        if (named == encoding) return spelling;  // the first spelling is the canonical one
    }
    return "auto";
}

std::optional<OutputEncoding> ParseOutputEncoding(std::string_view name) {
    const std::string lowered = Lowered(name);
    if (lowered == "gbk") return OutputEncoding::kGbk;
    if (lowered == "utf-8" || lowered == "utf8") return OutputEncoding::kUtf8;
    return std::nullopt;
}

}  // namespace brisna
