#pragma once
// The text conversions between the book's GBK bytes and the editor's document, shared by the
// editor and the document it builds off the window's thread.

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

namespace brisna::richedit {

// A paragraph longer than this is wrapped anywhere rather than at word boundaries.
inline constexpr size_t kLongParagraphUnits = 20000;

// GBK bytes as the document takes them: up to the first NUL, every paragraph mark (CR LF, lone
// CR, lone LF) as one u'\r'.
std::u16string ToViewText(std::string_view gbk);

// The GBK text of the view's text, every paragraph mark as CR LF.
std::string GbkOfViewText(const std::u16string& viewText);

// The length of the longest paragraph of text whose paragraphs end in u'\n'.
size_t LongestParagraph(const std::u16string& text);

QString ToQString(const std::u16string& text);
std::u16string ToU16(const QString& text);

}  // namespace brisna::richedit
