#pragma once
// What loading and reading a book say to the operator (UTF-8; converted where they are shown).

#include <cstddef>
#include <string>
#include <string_view>

namespace brisna::text_messages {

inline constexpr std::string_view kOpenFileFailed = "打开文件失败";
inline constexpr std::string_view kTxtTooLarge = "txt文件大小不能超过10M";
inline constexpr std::string_view kReadFileFailed = "读取文件失败";
inline constexpr std::string_view kNotText = "文件不是文本，未载入";
// Refusing to write over the file this run read.
inline constexpr std::string_view kOutputIsInput = "这是本次读入的文件，不能被输出覆盖";

// A NUL on the line cut the text there.
inline std::string NulLineNotice(size_t line) {
    return "第" + std::to_string(line) + "行有空字符，其后的文本未载入";
}

// Characters GBK cannot hold were replaced.
inline std::string ReplacedCharactersNotice(size_t replaced, size_t firstLine) {
    return "有" + std::to_string(replaced) + "个字符无法转换为GBK，已替换为“?”，第一个在第" +
           std::to_string(firstLine) + "行";
}

}  // namespace brisna::text_messages
