#pragma once
// What the chapter commands say to the operator (UTF-8). The first-chapter rule is shared with
// the checks and the parts, which sit above this folder.

#include <cstddef>
#include <string>
#include <string_view>

namespace brisna::chapter_messages {

inline constexpr std::string_view kTooManyChapters = "图书章节数量不能超过98章";
inline constexpr std::string_view kFirstNotAtStart = "第一个章节头必须是文件开始";
inline constexpr std::string_view kNoTitle = "添加章节名失败";
inline constexpr std::string_view kDuplicateTitle = "已添加有同名的章节，添加章节失败";
inline constexpr std::string_view kMoveFailed = "移动失败";
inline constexpr std::string_view kNothingSelected = "请先选择列表项";
inline constexpr std::string_view kLineNotInTable = "当前行超出行表范围，请重新打开图书";
inline constexpr std::string_view kEmptyTitle = "章节名不能为空";
inline constexpr std::string_view kRenameDuplicate = "已有同名的章节，改名失败";

inline std::string TitleTooLong(size_t limit, size_t given) {
    return "章节名不能超过" + std::to_string(limit) + "个字节（" + std::to_string(given) +
           "个字节）";
}

}  // namespace brisna::chapter_messages
