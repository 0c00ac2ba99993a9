#pragma once
// What generating a book in parts says to the operator (UTF-8). Formats ("%s", "%d") go through
// FormatGbkMessage.

#include <string_view>

namespace brisna::part_messages {

inline constexpr std::string_view kNoHeadings = "没有找到章节标题，不能分册生成";
inline constexpr std::string_view kOnlyContentsList =
    "章节标题只出现在目录中，正文没有章节标题，不能分册生成";
inline constexpr std::string_view kBadOffsets = "章节偏移错误，不能分册生成";
inline constexpr std::string_view kNameTooLong = "分册文件名无法缩短到15个汉字以内，不能生成QBR";
inline constexpr std::string_view kPartRefused = "有一册不能生成QBR，不能分册生成";
inline constexpr std::string_view kNothingWrittenFormat = "第%d册不能生成，什么也没有写出";
inline constexpr std::string_view kPartFailedFormat = "第%d册生成失败";
inline constexpr std::string_view kGeneratedFormat = "分册生成成功：共%d册，保存在%s";
inline constexpr std::string_view kStaleRemovedAfterFormat = "；已删除旧版的%d个分册文件：%s";
inline constexpr std::string_view kStaleRemovedFormat = "已删除旧版的%d个分册文件：%s";
// Between the names of removed files.
inline constexpr std::string_view kNameSeparator = "、";

}  // namespace brisna::part_messages
