#pragma once
// What chapter recognition says to the operator (UTF-8).

#include <cstdint>
#include <string>
#include <string_view>

namespace brisna::detect_messages {

inline constexpr std::string_view kEnterKeyword = "请输入自动查找章节的关键字";
inline constexpr std::string_view kKeywordNotFound = "文本中没有找到可以自动添加章节的关键字";
// The title of the text before the first heading when it has no line of its own.
inline constexpr std::string_view kFrontMatter = "前言";
// The missing-chapter check's entry: 缺少 + the heading + ！.
inline constexpr std::string_view kMissingStart = "缺少";
inline constexpr std::string_view kMissingEnd = "！";

// Where a recognised heading pattern first occurs (counted from 1).
inline std::string FromLine(int64_t line) {
    return "从第" + std::to_string(line) + "行开始";
}

// The user's chapter rule that does not compile.
inline constexpr std::string_view kRuleUnbalancedParens = "括号不成对";
inline constexpr std::string_view kRuleMissingBracket = "缺少 ]";
inline constexpr std::string_view kRuleBadEscape = "无效的转义序列";
inline constexpr std::string_view kRuleBadRange = "无效的字符范围";
inline constexpr std::string_view kRuleBadRepeat = "无效的重复次数";
inline constexpr std::string_view kRuleBadProperty = "无效的字符属性";
inline constexpr std::string_view kRuleBadFlag = "无效的标志";
inline constexpr std::string_view kRuleLookBehind = "向后查找的长度必须有上限";
inline constexpr std::string_view kRuleTooLong = "规则太长";
inline std::string RuleSyntaxError(std::string_view name) {
    return "语法错误（" + std::string(name) + "）";
}
inline std::string RuleError(int64_t character, std::string_view reason) {
    return "章节规则有误（第" + std::to_string(character) + "个字符）：" + std::string(reason);
}

}  // namespace brisna::detect_messages
