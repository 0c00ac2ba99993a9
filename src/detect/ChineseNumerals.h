#pragma once
// Chinese numerals in GBK: rendering chapter numbers as text (第十二章) and reading them back.

#include <cstdint>
#include <string>
#include <string_view>

namespace brisna {

// The Chinese numeral text (GBK) of n: 0 gives the empty text, 12 gives 十二, 10100 gives
// 一万零一百. Numbers above 109999 are written with 万 and 亿 groups, so any value renders.
std::string RenderChineseNumber(uint32_t n);

// Reads the Chinese numeral at the start of `text` and returns its value. `remainder`, when
// given, receives the text that follows the numeral. The reading is deliberately simple and
// matches what the detection commands have always done: units do not compound (十二万 is not
// 120000), a digit directly followed by another digit is ignored (二〇〇八 reads 8), and only a
// leading 十 counts on its own (拾壹 reads 1).
int32_t ParseChineseNumeral(std::string_view text, std::string_view* remainder);

// Reads the run of ASCII digits at the start of `text`; the value saturates at 2147483647.
// `remainder`, when given, receives the text after the run.
int32_t ParseLeadingDigits(std::string_view text, std::string_view* remainder);

// True for the 22 characters (given as a GBK lead and trail byte) that may begin a Chinese
// numeral inside a heading: 一 .. 九, 十, 〇 and 壹 .. 玖, 拾, 零.
bool IsChineseNumeralStart(unsigned char lead, unsigned char trail);

}  // namespace brisna
