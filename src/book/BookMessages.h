#pragma once
// What generating and opening books say to the operator (UTF-8). Formats ("%s", "%d") go
// through FormatGbkMessage.

#include <string_view>

namespace brisna::book_messages {

inline constexpr std::string_view kQbr2Failed = "生成qbr2失败";
inline constexpr std::string_view kQbrFailed = "生成qbr失败";
inline constexpr std::string_view kGenerated = "生成qbr和qbr2成功";
// %s: the chapter's title.
inline constexpr std::string_view kChapterTooShortFormat =
    "%s章节长度过短，无法生成QBR，建议合并章节";

inline constexpr std::string_view kOpenQbrFailed = "打开qbr文件失败";
inline constexpr std::string_view kQbrTooLarge = "qbr文件大小不能超过10M";
inline constexpr std::string_view kReadQbrFailed = "读取qbr文件失败";

// What the readers say of a book file they cannot take.
inline constexpr std::string_view kParseLengthError = "解析qbr文件失败，文件长度错误";
inline constexpr std::string_view kParseHeaderError = "解析qbr文件失败，文件头错误";
inline constexpr std::string_view kParseChapterError = "解析qbr文件失败，章节数据错误";
inline constexpr std::string_view kParseBlockError = "解析qbr文件失败，图书压缩块数据错误";
inline constexpr std::string_view kParseContentError = "解析qbr文件失败，图书内容数据错误";

}  // namespace brisna::book_messages
