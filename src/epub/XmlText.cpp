#include "epub/XmlText.h"

namespace brisna {

void AppendXmlEscaped(std::string& out, std::string_view utf8) {
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out.push_back(c);
                break;
        }
    }
}

std::string XmlEscaped(std::string_view utf8) {
    std::string out;
    AppendXmlEscaped(out, utf8);
    return out;
}

}  // namespace brisna
