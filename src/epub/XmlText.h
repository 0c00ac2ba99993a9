#pragma once
// Text as the XML files of an EPUB hold it: the declaration every file opens with, and content
// and attribute values escaped.

#include <string>
#include <string_view>

namespace brisna {

inline constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// Appends UTF-8 text as XML content or attribute value. Control characters have no place in XML
// and are left out.
void AppendXmlEscaped(std::string& out, std::string_view utf8);
std::string XmlEscaped(std::string_view utf8);

}  // namespace brisna
