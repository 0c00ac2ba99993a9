#pragma once
// What opening and writing EPUBs say to the operator, and the few words a written EPUB shows its
// reader (UTF-8; converted where they are shown). Formats ("%d") go through FormatGbkMessage.

#include <string>
#include <string_view>

namespace brisna::epub_messages {

// Why an EPUB is not opened.
inline constexpr std::string_view kNotZip = "不是EPUB文件（无法作为zip文件打开）";
inline constexpr std::string_view kCannotParse = "EPUB文件无法解析";
inline constexpr std::string_view kEntryTooLarge =
    "EPUB文件中的条目过大（可能是压缩炸弹），无法打开";
inline constexpr std::string_view kDamaged = "EPUB文件已损坏，无法解压";
inline constexpr std::string_view kPassword = "EPUB文件设有密码（zip加密），无法打开";
inline constexpr std::string_view kDrm = "EPUB文件已加密（DRM），无法打开";
inline constexpr std::string_view kTextTooLong = "EPUB正文超过10M，无法打开";
inline constexpr std::string_view kContainerUnreadable = "EPUB文件的META-INF/container.xml无法解析";
inline constexpr std::string_view kPackageUnreadable = "EPUB文件的内容清单（OPF）无法解析";
inline constexpr std::string_view kNoText = "EPUB文件没有正文";

// A required entry of the archive is not there.
inline std::string MissingEntry(std::string_view name) {
    return "EPUB文件缺少" + std::string(name);
}

// Reading the EPUB file the operator chose.
inline constexpr std::string_view kOpenFailed = "打开EPUB文件失败";
inline constexpr std::string_view kFileTooLarge = "EPUB文件大小不能超过64M";
inline constexpr std::string_view kReadFailed = "读取EPUB文件失败";

// What opening an EPUB tells once the book is in.
inline constexpr std::string_view kContentsNotInText =
    "EPUB的目录不指向正文的章节，已按正文识别章节";
// %d: the chapters of the EPUB's contents.
inline constexpr std::string_view kContentsTooLongFormat =
    "EPUB目录共%d章，超过98章，只标记了前98章";

// Writing an EPUB.
inline constexpr std::string_view kGenerateFailed = "生成EPUB失败";
// The file's name follows.
inline constexpr std::string_view kGeneratedPrefix = "生成EPUB成功：";

// The files chosen for the cover, the font and the style sheet.
inline constexpr std::string_view kReadCoverFailed = "读取封面图片失败";
inline constexpr std::string_view kCoverTooLarge = "封面图片不能超过16M";
inline constexpr std::string_view kCoverNotPicture = "封面图片必须是JPEG或PNG文件";
inline constexpr std::string_view kFontTooLarge = "字体文件不能超过32M";
inline constexpr std::string_view kReadFontFailed = "读取字体文件失败";
inline constexpr std::string_view kFontNotFont = "字体文件必须是TrueType、OpenType或WOFF字体";
inline constexpr std::string_view kStylesheetTooLarge = "样式表文件不能超过1M";
inline constexpr std::string_view kReadStylesheetFailed = "读取样式表文件失败";

// The words a written EPUB shows its reader: the title of a book or chapter nothing names, and
// the captions of its navigation and title pages.
inline constexpr std::string_view kUntitled = "（无标题）";
inline constexpr std::string_view kLandmarksCaption = "导航";
inline constexpr std::string_view kCoverCaption = "封面";
inline constexpr std::string_view kTitlePageCaption = "书名页";
inline constexpr std::string_view kContentsCaption = "目录";
inline constexpr std::string_view kTextCaption = "正文";
inline constexpr std::string_view kSummaryCaption = "内容简介";

}  // namespace brisna::epub_messages
