#include "text/TraditionalToSimplified.h"

#include <opencc/Config.hpp>
#include <opencc/Converter.hpp>

#include <cstdint>
#include <memory>
#include <vector>

#include "text/CodePage936.h"

namespace brisna {
namespace {

// Only the character dictionary: phrase dictionaries would map several characters at once and
// could change the text's length. The dictionary file is found in OpenCC's data folder.
constexpr const char* kCharacterOnlyConfig = R"({
  "name": "Traditional Chinese to Simplified Chinese, characters only",
  "segmentation": {"type": "mmseg", "dict": {"type": "ocd2", "file": "TSCharacters.ocd2"}},
  "conversion_chain": [{"dict": {"type": "ocd2", "file": "TSCharacters.ocd2"}}]
})";

// The mapping as a table indexed by the two bytes of a GBK character (lead << 8 | trail); codes
// that are no Traditional character map to themselves.
struct MappingTable {
    std::vector<uint16_t> target;
    bool available = false;
};

std::string TwoBytes(uint16_t code) {
    return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// The GBK code of a UTF-8 text that is exactly one character with a two-byte GBK form that
// converts back to the same character; 0 otherwise.
uint16_t SingleGbkCharacter(std::string_view utf8) {
    std::u16string unit = Utf8ToUtf16(utf8);
    if (unit.size() != 1) return 0;
    std::string gbk = Utf16ToGbk(unit);
    if (gbk.size() != 2 || !IsGbkLeadByte(static_cast<unsigned char>(gbk[0]))) return 0;
    if (GbkToUtf16(gbk) != unit) return 0;
    return static_cast<uint16_t>(static_cast<unsigned char>(gbk[0]) << 8 |
                                 static_cast<unsigned char>(gbk[1]));
}

MappingTable BuildTable() {
    MappingTable table;
    table.target.resize(65536);
    for (uint32_t code = 0; code < 65536; ++code) table.target[code] = static_cast<uint16_t>(code);

    // Every two-byte character that code page 936 maps to one Unicode character and back.
    std::vector<uint16_t> codes;
    std::string source;
    for (uint32_t lead = 0x81; lead <= 0xFE; ++lead) {
        for (uint32_t trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            auto code = static_cast<uint16_t>(lead << 8 | trail);
            std::u16string unit = GbkToUtf16(TwoBytes(code));
            if (unit.size() != 1 || Utf16ToGbk(unit) != TwoBytes(code)) continue;
            codes.push_back(code);
            source += Utf16ToUtf8(unit);
            source += '\n';
        }
    }

    // One conversion call for all characters, one per line.
    std::string converted;
    try {
        opencc::Config config;
        opencc::ConverterPtr converter = config.NewFromString(kCharacterOnlyConfig, "");
        converted = converter->Convert(source);
    } catch (...) {
        return table;  // no dictionary: nothing is converted
    }

    std::vector<std::string_view> lines;
    std::string_view rest = converted;
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        if (end == std::string_view::npos) break;
        lines.push_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    if (lines.size() != codes.size()) return table;  // not one result per character: keep all

    for (size_t i = 0; i < codes.size(); ++i) {
        uint16_t mapped = SingleGbkCharacter(lines[i]);
        if (mapped != 0) table.target[codes[i]] = mapped;
    }
    table.available = true;
    return table;
}

const MappingTable& Table() {
    static const MappingTable table = BuildTable();
    return table;
}

}  // namespace

void TraditionalToSimplifiedInPlace(std::string& gbk) {
    const std::vector<uint16_t>& target = Table().target;
    const size_t size = gbk.size();
    auto* bytes = reinterpret_cast<unsigned char*>(gbk.data());
    size_t at = 0;
    while (at < size) {
        if (!IsGbkLeadByte(bytes[at]) || at + 1 >= size) {
            ++at;
            continue;
        }
        uint16_t mapped = target[bytes[at] << 8 | bytes[at + 1]];
        bytes[at] = static_cast<unsigned char>(mapped >> 8);
        bytes[at + 1] = static_cast<unsigned char>(mapped & 0xFF);
        at += 2;
    }
}

std::string TraditionalToSimplified(std::string_view gbk) {
    std::string out(gbk);
    TraditionalToSimplifiedInPlace(out);
    return out;
}

bool TraditionalToSimplifiedAvailable() {
    return Table().available;
}

}  // namespace brisna
