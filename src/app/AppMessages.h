#pragma once
// What the window's commands say to the operator, and the captions of the buttons they change or
// offer (UTF-8; converted where they are shown). Formats ("%d") go through FormatGbkMessage.

#include <cstddef>
#include <string>
#include <string_view>

namespace brisna::app_messages {

inline constexpr std::string_view kDiscardChapters = "章节列表尚未生成，确定要放弃吗？";
inline constexpr std::string_view kNoMissingChapters = "没有发现缺少的章节";

// Applying a clean-up that was previewed.
inline constexpr std::string_view kTextChangedSincePreview = "文本已改动，请重新整理";
inline constexpr std::string_view kCleanedTextTooLarge = "整理后的文本超过10M，文本未改动";

// Recognising chapters.
inline constexpr std::string_view kNoRecognisedHeadings = "没有找到可以自动识别的章节标题";
inline constexpr std::string_view kNoLineMatchesRule = "没有一行符合章节规则";

// A recognised outline of more chapters than one book holds, asked in the window.
inline std::string TooManyChaptersQuestion(size_t count) {
    return "本书共" + std::to_string(count) + "章，超过98章，一本书装不下。请分册生成或生成EPUB。";
}
// The same told where nobody can be asked: the options that do what the buttons do.
inline std::string TooManyChaptersNotice(size_t count) {
    return "本书共" + std::to_string(count) +
           "章，超过98章，请加 --parts 分册生成，或用 epub 子命令生成EPUB";
}
inline constexpr std::string_view kGeneratePartsButton = "分册生成";
inline constexpr std::string_view kGenerateEpubButton = "生成EPUB";
inline constexpr std::string_view kCancelButton = "取消";

// Recognised chapters would replace those already marked.
inline std::string ReplaceMarkedChaptersQuestion(size_t marked) {
    return "已标记" + std::to_string(marked) + "个章节。用识别结果替换吗？";
}
inline constexpr std::string_view kReplaceButton = "替换";

// Searching the text.
inline constexpr std::string_view kEnterSearchText = "请输入搜索关键字";
inline constexpr std::string_view kSearchNotFound = "搜索字符串未找到！";

inline constexpr std::string_view kNoConversionDictionary = "繁体转简体字典无法加载，文本未转换";

// The captions of the dialog's buttons and of its chapter field: the window shows them, and an
// operator's script names the controls by them.
inline constexpr std::string_view kOpenTextCaption = "打开txt文件";
inline constexpr std::string_view kOpenQbr2Caption = "打开qbr2文件";
inline constexpr std::string_view kOpenQbrCaption = "打开qbr";
inline constexpr std::string_view kAddChapterCaption = "添加章节";
inline constexpr std::string_view kKeywordAddCaption = "模糊添加章节";
inline constexpr std::string_view kIncrementalAddCaption = "递增添加章节";
inline constexpr std::string_view kMoveUpCaption = "上移";
inline constexpr std::string_view kMoveDownCaption = "下移";
inline constexpr std::string_view kDeleteCaption = "删除";
inline constexpr std::string_view kDeleteAllCaption = "全部删除";
inline constexpr std::string_view kTestCaption = "生成测试";
inline constexpr std::string_view kCheckMissingCaption = "检查缺章";
inline constexpr std::string_view kGenerateCaption = "生成qbr";
inline constexpr std::string_view kSearchCaption = "搜索文本";
inline constexpr std::string_view kConvertCaption = "繁体转简体";
inline constexpr std::string_view kStartChapterCaption = "起始章节";

// The captions of the two display toggles, naming what a click does next.
inline constexpr std::string_view kHideProblemList = "关闭问题列表";
inline constexpr std::string_view kShowProblemList = "显示问题列表";
inline constexpr std::string_view kNarrowDisplay = "窄幅显示";
inline constexpr std::string_view kWideDisplay = "宽幅显示";

// Writing an EPUB over the EPUB it was opened from.
inline constexpr std::string_view kReplaceOpenedEpub =
    "生成的EPUB将替换打开的EPUB文件，其中的图片和样式不会保留。确定要替换吗？";
// %d: the contents' chapters, the most one book holds, the parts.
inline constexpr std::string_view kEpubContentsInPartsFormat =
    "EPUB目录共%d章，一本书最多%d章，按分册生成%d册";

inline constexpr std::string_view kWordListTooLarge = "可疑字文件大小不能超过1M，未读取";

}  // namespace brisna::app_messages
