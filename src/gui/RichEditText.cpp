#include "gui/RichEditText.h"

#include <algorithm>

#include "text/CodePage936.h"
#include "text/GbkText.h"

namespace brisna::richedit {

// CR and LF are never trail bytes, so folding the marks cannot re-pair the rest.
std::u16string ToViewText(std::string_view gbk) {
    gbk = UpToNul(gbk);
    std::string marks;
    marks.reserve(gbk.size());
    for (size_t i = 0; i < gbk.size(); ++i) {
        char byte = gbk[i];
        if (byte == '\r') {
            if (i + 1 < gbk.size() && gbk[i + 1] == '\n') ++i;
            marks.push_back('\r');
        } else if (byte == '\n') {
            marks.push_back('\r');
        } else {
            marks.push_back(byte);
        }
    }
    return GbkToUtf16Lossless(marks);
}

std::string GbkOfViewText(const std::u16string& viewText) {
    std::string bytes = Utf16ToGbkLossless(viewText);
    size_t marks = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
    std::string gbk;
    gbk.reserve(bytes.size() + marks);
    for (char byte : bytes) {
        gbk.push_back(byte);
        if (byte == '\r') gbk.push_back('\n');
    }
    return gbk;
}

size_t LongestParagraph(const std::u16string& text) {
    size_t longest = 0;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos) end = text.size();
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    return longest;
}

QString ToQString(const std::u16string& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.constData()),
                          static_cast<size_t>(text.size()));
}

}  // namespace brisna::richedit
