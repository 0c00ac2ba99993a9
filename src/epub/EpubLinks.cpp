#include "epub/EpubLinks.h"

#include <vector>

namespace brisna {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace

std::string EpubFolderOf(std::string_view entry) {
    const size_t slash = entry.rfind('/');
    return slash == std::string_view::npos ? std::string()
                                           : std::string(entry.substr(0, slash + 1));
}

std::optional<EpubLink> ResolveEpubLink(std::string_view folder, std::string_view href) {
    EpubLink target;
    if (size_t hash = href.find('#'); hash != std::string_view::npos) {
        target.fragment = PercentDecoded(href.substr(hash + 1));
        href = href.substr(0, hash);
    }
    if (size_t query = href.find('?'); query != std::string_view::npos) {
        href = href.substr(0, query);
    }
    const size_t colon = href.find(':');
    if (colon != std::string_view::npos && href.find('/') > colon) return std::nullopt;
    std::string path = href.starts_with('/') ? std::string(href.substr(1))
                                             : std::string(folder) + std::string(href);
    path = PercentDecoded(path);
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (segments.empty()) return std::nullopt;
            segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(std::move(segment));
        }
        start = end + 1;
    }
    for (size_t i = 0; i < segments.size(); ++i) {
        if (i > 0) target.entry.push_back('/');
        target.entry += segments[i];
    }
    return target;
}

bool HasSpacedWord(std::string_view list, std::string_view word) {
    size_t at = 0;
    while ((at = list.find(word, at)) != std::string_view::npos) {
        const bool startOk = at == 0 || list[at - 1] == ' ';
        const bool endOk = at + word.size() == list.size() || list[at + word.size()] == ' ';
        if (startOk && endOk) return true;
        at += word.size();
    }
    return false;
}

}  // namespace brisna
