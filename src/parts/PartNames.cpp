#include "parts/PartNames.h"

#include "Capacities.h"
#include "book/GenerationPlan.h"
#include "text/FileNames.h"
#include "text/GbkText.h"

namespace brisna {

namespace {

bool ValidUtf8(std::string_view text) {
    size_t at = 0;
    while (at < text.size()) {
        unsigned char byte = static_cast<unsigned char>(text[at]);
        size_t length = byte < 0x80         ? 1
                        : (byte >> 5) == 6  ? 2
                        : (byte >> 4) == 14 ? 3
                        : (byte >> 3) == 30 ? 4
                                            : 0;
        if (length == 0 || at + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) return false;
        }
        at += length;
    }
    return true;
}

// The name without its last character (UTF-8 or GBK, as the name is written).
std::string WithoutLastCharacter(std::string_view name) {
    if (name.empty()) return {};
    if (ValidUtf8(name)) {
        size_t end = name.size() - 1;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
        return std::string(name.substr(0, end));
    }
    size_t last = 0;
    for (size_t at = 0; at < name.size(); at += GbkCharLength(name, at)) last = at;
    return std::string(name.substr(0, last));
}

std::string PartMark(int number, int partCount) {
    std::string digits = std::to_string(number);
    size_t width = std::to_string(partCount).size();
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return "(" + digits + ")";
}

}  // namespace

std::string PartSourcePath(std::string_view bookSourcePath, int number, int partCount) {
    std::string base = OutputBase(bookSourcePath);
    size_t slash = base.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : base.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? base : base.substr(slash + 1);
    // Every part is shortened alike (for the widest mark), so the names keep one base.
    const std::string widest = PartMark(partCount, partCount) + ".txt";
    while (!name.empty() && FileNameToGbk(name + widest).size() > kMaxBookFileNameBytes) {
        name = WithoutLastCharacter(name);
    }
    if (name.empty()) return {};
    return folder + name + PartMark(number, partCount) + ".txt";
}

}  // namespace brisna
