#pragma once
// How the pages of an EPUB look: the typography choices of the operator turned into the book's
// style sheet. Lengths are kept in tenths (of an em, or of the font size for the line height),
// so the same choice always prints the same CSS.

#include <optional>
#include <string>
#include <string_view>

namespace brisna {

enum class HeadingAlignment { kCentre, kLeft };

// The face family of the text. kReader leaves it to the reading device; the others name a CSS
// generic family with the usual Chinese faces ahead of it.
enum class FontFamily { kReader, kSerif, kSans, kKai };

struct EpubStyle {
    int indentTenths = 20;      // first-line indent of a paragraph, in tenths of an em
    int spacingTenths = 0;      // space between paragraphs, in tenths of an em
    int lineHeightTenths = 16;  // line height, in tenths of the font size
    HeadingAlignment headingAlignment = HeadingAlignment::kCentre;
    FontFamily fontFamily = FontFamily::kReader;
    bool vertical = false;        // 竖排: columns right to left, pages turned to the right
    bool keepBlankLines = false;  // blank lines of the text as empty paragraphs
    std::string fontBytes;        // a font file to embed (empty: none)
    std::string userStylesheet;   // the operator's own CSS, applied last
};

// The bounds of the lengths an operator may choose.
inline constexpr int kMaxIndentTenths = 40;
inline constexpr int kMaxSpacingTenths = 30;
inline constexpr int kMinLineHeightTenths = 10;
inline constexpr int kMaxLineHeightTenths = 30;

// The largest font and style sheet embedded (a full CJK font is about 20 MB).
inline constexpr size_t kMaxFontBytes = 32 * 1024 * 1024;
inline constexpr size_t kMaxStylesheetBytes = 1024 * 1024;

// A length such as "2", "0.5" or "1.5em" in tenths, when it has at most one decimal and lies
// within [minTenths, maxTenths].
std::optional<int> ParseTenths(std::string_view text, int minTenths, int maxTenths);
// "2em" for 20, "0.5em" for 5, "0" for 0 (unit left out when unit is empty).
std::string FormatTenths(int tenths, std::string_view unit);

// "centre"/"center"/"left"; "serif"/"sans"/"kai"/"reader" (also 宋体, 黑体, 楷体).
std::optional<HeadingAlignment> ParseHeadingAlignment(std::string_view text);
std::optional<FontFamily> ParseFontFamily(std::string_view text);
std::string_view HeadingAlignmentName(HeadingAlignment alignment);
std::string_view FontFamilyName(FontFamily family);

// What an embedded font is, told from its first bytes: its media type and file extension, or
// nothing for bytes that are no TrueType, OpenType or WOFF font.
struct FontKind {
    std::string_view mediaType;
    std::string_view extension;
};
std::optional<FontKind> FontKindOf(std::string_view bytes);

// The book's own style sheet (style.css) for the choices; the embedded font is referred to as
// fontHref (relative to the style sheet) when the style has one. The user's style sheet is a
// file of its own, linked after this one.
std::string BookStylesheet(const EpubStyle& style, std::string_view fontHref);

}  // namespace brisna
