#include "epub/EpubStyle.h"

namespace brisna {

std::optional<int> ParseTenths(std::string_view text, int minTenths, int maxTenths) {
    if (text.ends_with("em")) text.remove_suffix(2);
    if (text.empty() || text.size() > 8) return std::nullopt;
    int tenths = 0;
    int decimals = -1;  // digits after the point; -1 before it
    for (char c : text) {
        if (c == '.') {
            if (decimals >= 0) return std::nullopt;
            decimals = 0;
        } else if (c >= '0' && c <= '9') {
            if (decimals >= 1) return std::nullopt;
            if (decimals == 0) decimals = 1;
            tenths = tenths * 10 + (c - '0');
            if (tenths > 100000) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (decimals == 0 || text.front() == '.') return std::nullopt;
    if (decimals < 0) tenths *= 10;
    if (tenths < minTenths || tenths > maxTenths) return std::nullopt;
    return tenths;
}

std::string FormatTenths(int tenths, std::string_view unit) {
    if (tenths == 0) return "0";
    std::string out = std::to_string(tenths / 10);
    if (tenths % 10 != 0) out += "." + std::to_string(tenths % 10);
    out += unit;
    return out;
}

std::optional<HeadingAlignment> ParseHeadingAlignment(std::string_view text) {
    if (text == "centre" || text == "center" || text == "居中") return HeadingAlignment::kCentre;
    if (text == "left" || text == "居左" || text == "左对齐") return HeadingAlignment::kLeft;
    return std::nullopt;
}

std::optional<FontFamily> ParseFontFamily(std::string_view text) {
    if (text == "reader" || text == "default" || text == "默认") return FontFamily::kReader;
    if (text == "serif" || text == "song" || text == "宋体") return FontFamily::kSerif;
    if (text == "sans" || text == "hei" || text == "黑体") return FontFamily::kSans;
    if (text == "kai" || text == "楷体") return FontFamily::kKai;
    return std::nullopt;
}

std::string_view HeadingAlignmentName(HeadingAlignment alignment) {
    return alignment == HeadingAlignment::kLeft ? "left" : "centre";
}

std::string_view FontFamilyName(FontFamily family) {
    switch (family) {
        case FontFamily::kSerif:
            return "serif";
        case FontFamily::kSans:
            return "sans";
        case FontFamily::kKai:
            return "kai";
        case FontFamily::kReader:
            break;
    }
    return "reader";
}

std::optional<FontKind> FontKindOf(std::string_view bytes) {
    if (bytes.size() < 12) return std::nullopt;
    const std::string_view tag = bytes.substr(0, 4);
    if (tag == std::string_view("\0\1\0\0", 4) || tag == "true") return FontKind{"font/ttf", "ttf"};
    if (tag == "OTTO") return FontKind{"font/otf", "otf"};
    if (tag == "wOFF") return FontKind{"font/woff", "woff"};
    if (tag == "wOF2") return FontKind{"font/woff2", "woff2"};
    return std::nullopt;
}

namespace {

// The faces readers of Chinese books expect for each family, on the common systems and reading
// devices, ahead of the generic family that stands for them elsewhere.
std::string_view FamilyList(FontFamily family) {
    switch (family) {
        case FontFamily::kSerif:
            return "\"Songti SC\", \"SimSun\", \"Noto Serif CJK SC\", \"Source Han Serif SC\", "
                   "serif";
        case FontFamily::kSans:
            return "\"PingFang SC\", \"Heiti SC\", \"Microsoft YaHei\", \"Noto Sans CJK SC\", "
                   "\"Source Han Sans SC\", sans-serif";
        case FontFamily::kKai:
            return "\"Kaiti SC\", \"STKaiti\", \"KaiTi\", \"AR PL UKai CN\", serif";
        case FontFamily::kReader:
            break;
    }
    return {};
}

}  // namespace

std::string BookStylesheet(const EpubStyle& style, std::string_view fontHref) {
    std::string css;
    std::string family(FamilyList(style.fontFamily));
    if (!style.fontBytes.empty() && !fontHref.empty()) {
        css += "@font-face { font-family: \"BookFace\"; src: url(\"";
        css += fontHref;
        css += "\"); }\n";
        family = family.empty() ? "\"BookFace\"" : "\"BookFace\", " + family;
    }
    if (style.vertical) {
        // Columns from right to left; a reader that cannot set them shows the text across.
        css += "html { -epub-writing-mode: vertical-rl; writing-mode: vertical-rl; }\n";
    }
    css += "body { margin: 0 0.5em; text-align: justify; line-height: " +
           FormatTenths(style.lineHeightTenths, "") + ";";
    if (!family.empty()) css += " font-family: " + family + ";";
    css += " }\n";
    // The space between paragraphs falls after each, along the direction the lines advance.
    const std::string spacing = FormatTenths(style.spacingTenths, "em");
    css += "p { margin: " + (style.vertical ? "0 " + spacing + " 0 0" : "0 0 " + spacing + " 0") +
           "; text-indent: " + FormatTenths(style.indentTenths, "em") + "; }\n";
    css += "p.noindent, p.blank { text-indent: 0; }\n";
    css += std::string("h1, h2 { text-align: ") +
           (style.headingAlignment == HeadingAlignment::kLeft ? "left" : "center") +
           "; text-indent: 0; margin: 1em 0; }\n";
    css += "h1 { font-size: 1.5em; }\nh2 { font-size: 1.25em; }\n";
    // The cover and title pages.
    css +=
        "div.cover { margin: 0; padding: 0; text-align: center; }\n"
        "div.cover img { max-width: 100%; max-height: 100%; }\n"
        "section.titlepage { text-align: center; text-indent: 0; }\n"
        "section.titlepage h1 { font-size: 2em; margin: 2em 0 1em 0; }\n"
        "section.titlepage p.author { text-indent: 0; font-size: 1.2em; margin: 0 0 2em 0; }\n"
        "section.titlepage div.summary { text-align: justify; }\n"
        "section.titlepage div.summary h2 { font-size: 1.1em; }\n";
    return css;
}

}  // namespace brisna
