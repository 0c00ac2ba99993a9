#include "detect/ChineseNumerals.h"

#include <array>
#include <cstddef>

namespace brisna {
namespace {

// A GBK character as its two bytes, lead byte first.
struct GbkChar {
    unsigned char lead;
    unsigned char trail;
};

// Digit texts for rendering, 0 .. 10 (10 is only ever the ten-thousands digit of 十万...).
constexpr std::array<GbkChar, 11> kRenderDigits = {{
    {0xC1, 0xE3},  // 零
    {0xD2, 0xBB},  // 一
    {0xB6, 0xFE},  // 二
    {0xC8, 0xFD},  // 三
    {0xCB, 0xC4},  // 四
    {0xCE, 0xE5},  // 五
    {0xC1, 0xF9},  // 六
    {0xC6, 0xDF},  // 七
    {0xB0, 0xCB},  // 八
    {0xBE, 0xC5},  // 九
    {0xCA, 0xAE},  // 十
}};
constexpr GbkChar kZero = {0xC1, 0xE3};      // 零
constexpr GbkChar kTen = {0xCA, 0xAE};       // 十
constexpr GbkChar kHundred = {0xB0, 0xD9};   // 百
constexpr GbkChar kThousand = {0xC7, 0xA7};  // 千
constexpr GbkChar kWan = {0xCD, 0xF2};       // 万
constexpr GbkChar kYi = {0xD2, 0xDA};        // 亿

struct NumeralChar {
    GbkChar character;
    int32_t value;
};

constexpr std::array<NumeralChar, 20> kParseDigits = {{
    {{0xA9, 0x96}, 0},  // 〇
    {{0xC1, 0xE3}, 0},  // 零
    {{0xD2, 0xBB}, 1},  // 一
    {{0xD2, 0xBC}, 1},  // 壹
    {{0xB6, 0xFE}, 2},  // 二
    {{0xB7, 0xA1}, 2},  // 贰
    {{0xC8, 0xFD}, 3},  // 三
    {{0xC8, 0xFE}, 3},  // 叁
    {{0xCB, 0xC4}, 4},  // 四
    {{0xCB, 0xC1}, 4},  // 肆
    {{0xCE, 0xE5}, 5},  // 五
    {{0xCE, 0xE9}, 5},  // 伍
    {{0xC1, 0xF9}, 6},  // 六
    {{0xC2, 0xBD}, 6},  // 陆
    {{0xC6, 0xDF}, 7},  // 七
    {{0xC6, 0xE2}, 7},  // 柒
    {{0xB0, 0xCB}, 8},  // 八
    {{0xB0, 0xC6}, 8},  // 捌
    {{0xBE, 0xC5}, 9},  // 九
    {{0xBE, 0xC1}, 9},  // 玖
}};

constexpr std::array<NumeralChar, 8> kParseUnits = {{
    {{0xCA, 0xAE}, 10},         // 十
    {{0xCA, 0xB0}, 10},         // 拾
    {{0xB0, 0xD9}, 100},        // 百
    {{0xB0, 0xDB}, 100},        // 佰
    {{0xC7, 0xA7}, 1000},       // 千
    {{0xC7, 0xAA}, 1000},       // 仟
    {{0xCD, 0xF2}, 10000},      // 万
    {{0xD2, 0xDA}, 100000000},  // 亿
}};

constexpr int32_t kNotFound = -1;
constexpr int64_t kMaxValue = 2147483647;

bool Same(GbkChar a, unsigned char lead, unsigned char trail) {
    return a.lead == lead && a.trail == trail;
}

template <size_t N>
int32_t Lookup(const std::array<NumeralChar, N>& table, std::string_view text, size_t at) {
    if (at + 1 >= text.size()) return kNotFound;
    auto lead = static_cast<unsigned char>(text[at]);
    auto trail = static_cast<unsigned char>(text[at + 1]);
    for (const NumeralChar& entry : table)
        if (Same(entry.character, lead, trail)) return entry.value;
    return kNotFound;
}

void Append(std::string& out, GbkChar character) {
    out.push_back(static_cast<char>(character.lead));
    out.push_back(static_cast<char>(character.trail));
}

// Place-by-place form of 100 .. 109999: every place written with its digit and unit, a zero place
// as a bare 零, runs of 零 collapsed and a final 零 dropped. Emitting a bare 零 for a zero place is
// the same as writing 零 plus unit and then folding 零+unit into 零.
std::string RenderPlaces(uint32_t n) {
    const uint32_t places[4] = {n / 10000, n / 1000 % 10, n / 100 % 10, n / 10 % 10};
    const GbkChar units[4] = {kWan, kThousand, kHundred, kTen};
    std::string out;
    bool started = false;
    bool pendingZero = false;
    for (int i = 0; i < 4; ++i) {
        uint32_t digit = places[i];
        if (!started && digit == 0) continue;
        if (digit == 0) {
            pendingZero = true;
            continue;
        }
        if (pendingZero) Append(out, kZero);
        pendingZero = false;
        started = true;
        Append(out, kRenderDigits[digit]);
        Append(out, units[i]);
    }
    uint32_t ones = n % 10;
    if (ones != 0) {
        if (pendingZero) Append(out, kZero);
        Append(out, kRenderDigits[ones]);
    }
    return out;
}

// One group of four places (1 .. 9999) inside a larger number: like RenderPlaces, but 10 .. 99
// keep their tens digit (一万零一十), as they do below 万.
std::string RenderGroup(uint32_t n) {
    if (n >= 100) return RenderPlaces(n);
    std::string out;
    if (n >= 10) {
        Append(out, kRenderDigits[n / 10]);
        Append(out, kTen);
    }
    if (n % 10 != 0) Append(out, kRenderDigits[n % 10]);
    return out;
}

// Below 亿 but above 109999: the 万 count, 万, and the lower group, with 零 for a gap.
std::string RenderBelowYi(uint32_t n, bool leadingGroup) {
    uint32_t high = n / 10000;
    uint32_t low = n % 10000;
    std::string out;
    if (high != 0) {
        out = leadingGroup ? RenderChineseNumber(high) : RenderGroup(high);
        Append(out, kWan);
    }
    if (low != 0) {
        if (!out.empty() && low < 1000) Append(out, kZero);
        out += RenderGroup(low);
    }
    return out;
}

}  // namespace

bool IsChineseNumeralStart(unsigned char lead, unsigned char trail) {
    static constexpr GbkChar kStarts[22] = {
        {0xD2, 0xBB}, {0xB6, 0xFE}, {0xC8, 0xFD}, {0xCB, 0xC4}, {0xCE, 0xE5}, {0xC1, 0xF9},
        {0xC6, 0xDF}, {0xB0, 0xCB}, {0xBE, 0xC5}, {0xCA, 0xAE}, {0xA9, 0x96},  // 一 .. 九 十 〇
        {0xD2, 0xBC}, {0xB7, 0xA1}, {0xC8, 0xFE}, {0xCB, 0xC1}, {0xCE, 0xE9}, {0xC2, 0xBD},
        {0xC6, 0xE2}, {0xB0, 0xC6}, {0xBE, 0xC1}, {0xCA, 0xB0}, {0xC1, 0xE3},  // 壹 .. 玖 拾 零
    };
    for (GbkChar start : kStarts)
        if (Same(start, lead, trail)) return true;
    return false;
}

std::string RenderChineseNumber(uint32_t n) {
    std::string out;
    if (n == 0) return out;
    if (n <= 10) {
        Append(out, kRenderDigits[n]);
    } else if (n < 20) {
        Append(out, kTen);
        Append(out, kRenderDigits[n - 10]);
    } else if (n < 100) {
        Append(out, kRenderDigits[n / 10]);
        Append(out, kTen);
        if (n % 10 != 0) Append(out, kRenderDigits[n % 10]);
    } else if (n <= 109999) {
        out = RenderPlaces(n);
    } else if (n < 100000000) {
        out = RenderBelowYi(n, true);
    } else {
        // At most 42亿: the 亿 count is always a small number.
        out = RenderChineseNumber(n / 100000000);
        Append(out, kYi);
        uint32_t low = n % 100000000;
        if (low != 0) {
            if (low < 10000000) Append(out, kZero);
            out += RenderBelowYi(low, false);
        }
    }
    return out;
}

int32_t ParseChineseNumeral(std::string_view text, std::string_view* remainder) {
    // The sum can pass 2^31 for texts such as 九亿九亿九亿; it saturates like an over-long digit
    // run.
    int64_t value = 0;
    auto finish = [&](size_t at) {
        if (remainder) *remainder = text.substr(at < text.size() ? at : text.size());
        return static_cast<int32_t>(value);
    };
    size_t at = 0;
    while (at < text.size()) {
        auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) return finish(at);
        int32_t digit = Lookup(kParseDigits, text, at);
        if (digit != kNotFound) {
            bool isZeroWord = Same(kZero, byte, static_cast<unsigned char>(text[at + 1]));
            if (isZeroWord) {
                at += 2;
                continue;
            }
            if (text.size() - (at + 2) < 2) {
                value += digit;
            } else if (int32_t unit = Lookup(kParseUnits, text, at + 2); unit != kNotFound) {
                value += static_cast<int64_t>(digit) * unit;
            } else if (Lookup(kParseDigits, text, at + 2) != kNotFound) {
                // A digit right before another digit counts for nothing.
            } else {
                value += digit;
                value = value > kMaxValue ? kMaxValue : value;
                return finish(at + 2);
            }
            value = value > kMaxValue ? kMaxValue : value;
            at += 2;
            continue;
        }
        if (Lookup(kParseUnits, text, at) != kNotFound) {
            // A unit counts only through the digit before it, except a leading 十 (十二 is 12).
            if (at == 0 && Same(kTen, byte, static_cast<unsigned char>(text[1]))) value += 10;
            at += 2;
            continue;
        }
        // Neither digit nor unit: the numeral ends here, whatever its value so far.
        return finish(at);
    }
    return finish(text.size());
}

int32_t ParseLeadingDigits(std::string_view text, std::string_view* remainder) {
    int64_t value = 0;
    size_t at = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        value = value * 10 + (text[at] - '0');
        if (value > kMaxValue) value = kMaxValue;
        ++at;
    }
    if (remainder) *remainder = text.substr(at);
    return static_cast<int32_t>(value);
}

}  // namespace brisna
