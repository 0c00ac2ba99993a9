#pragma once
// What the text clean-up reports (UTF-8).

#include <cstddef>
#include <string>
#include <string_view>

namespace brisna::clean_messages {

inline std::string CleanupSummary(size_t removedLines, size_t contentsBlocks, size_t joinedLines) {
    return "已删除广告等 " + std::to_string(removedLines) + " 行、目录 " +
           std::to_string(contentsBlocks) + " 处，合并断行 " + std::to_string(joinedLines) + " 处";
}

// The kinds of change, as the preview names them.
inline constexpr std::string_view kJunkLine = "广告";
inline constexpr std::string_view kContentsLine = "目录";
inline constexpr std::string_view kAuthorNote = "作者的话";
inline constexpr std::string_view kJoinedLine = "合并断行";

}  // namespace brisna::clean_messages
