#pragma once
// The findings of the test command and the refusals of the generate checks (UTF-8). Formats
// ("%s", "%d") go through FormatGbkMessage; the pieces after them are what the problem list's
// navigation and the shape classifier look for in an entry.

#include <string_view>

namespace brisna::check_messages {

// Entries of the problem list.
inline constexpr std::string_view kUnlistedFormat = "另有%d个问题未列出！";
inline constexpr std::string_view kSuspiciousFormat = "可疑字（%d）[Line %d]：%s！";
inline constexpr std::string_view kGarbledFormat = "乱码[Line %d]：%s！";
inline constexpr std::string_view kEmptyLineFormat = "[Line %d]为空行";
inline constexpr std::string_view kTooLongFormat = "%s字数超过30K，不能生成QBR！";
inline constexpr std::string_view kEmptyChapterFormat = "%s为空，不能生成QBR！";
inline constexpr std::string_view kDuplicateAtLineFormat =
    "“%s”与“%s”章节重复，不能生成QBR[Line %d]！";
inline constexpr std::string_view kNotAtLineStartFormat = "%s行首不是文字内容，不能生成QBR！";
inline constexpr std::string_view kOffsetErrorFormat = "第%d章偏移错误";
inline constexpr std::string_view kTooFewChapters = "不足两章，不能生成QBR！";
inline constexpr std::string_view kFirstNotAtStartEntry = "第一个章节头不是文件开始，不能生成QBR";
inline constexpr std::string_view kNameTooLongEntry = "QBR文件名超过15个汉字，不能生成QBR！";

// Refusals of generation (one message box each).
inline constexpr std::string_view kDuplicateFormat = "“%s”与“%s”章节重复，不能生成QBR！";
inline constexpr std::string_view kAddTwoChapters = "请至少添加2个章节";
inline constexpr std::string_view kNameTooLong = "QBR文件名不能超过15个汉字";

// Pieces of the entries above.
inline constexpr std::string_view kSuspiciousWord = "可疑字";
inline constexpr std::string_view kSuspiciousStart = "可疑字（";
inline constexpr std::string_view kSuspiciousLine = "）[Line ";
inline constexpr std::string_view kGarbledWord = "乱码";
inline constexpr std::string_view kGarbledStart = "乱码[Line ";
inline constexpr std::string_view kWordStart = "]：";
inline constexpr std::string_view kEntryEnd = "！";
inline constexpr std::string_view kColon = "：";
inline constexpr std::string_view kEmptyLineEnd = "]为空行";
inline constexpr std::string_view kEmptyLineWord = "为空行";
inline constexpr std::string_view kChapterStart = "第";
inline constexpr std::string_view kOffsetErrorEnd = "章偏移错误";
inline constexpr std::string_view kTooLongWord = "字数超过30K";
inline constexpr std::string_view kTooLongEnd = "字数超过30K，不能生成QBR！";
inline constexpr std::string_view kEmptyChapterEnd = "为空，不能生成QBR！";
inline constexpr std::string_view kNotAtLineStartEnd = "行首不是文字内容，不能生成QBR！";
inline constexpr std::string_view kOpeningQuote = "“";
inline constexpr std::string_view kDuplicateWord = "章节重复";
inline constexpr std::string_view kDuplicateSeparator = "”与“";
inline constexpr std::string_view kDuplicateTail = "”章节重复";
inline constexpr std::string_view kDuplicateMiddle = "章节重复，不能生成QBR[Line ";
inline constexpr std::string_view kDuplicateEnd = "]！";
inline constexpr std::string_view kTooShortEnd = "章节长度过短，无法生成QBR，建议合并章节";

}  // namespace brisna::check_messages
