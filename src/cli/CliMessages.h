#pragma once
// What the command line itself says on standard error, beside the core's messages (UTF-8).
// Usage errors take kUsagePrefix in front, as every other usage error does.

#include <string_view>

namespace brisna::cli::messages {

inline constexpr std::string_view kReadWordsFailed = "读取可疑字列表失败: ";
inline constexpr std::string_view kReadJunkPatternsFailed = "读取广告模式失败: ";
inline constexpr std::string_view kStandardInputTwice = "标准输入（-）只能读一次";

}  // namespace brisna::cli::messages
