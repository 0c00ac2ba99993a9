#pragma once
// What the command line itself says on standard error, beside the core's messages (UTF-8).
// Usage errors take kUsagePrefix in front, as every other usage error does.

#include <cstdint>
#include <string>
#include <string_view>

namespace brisna::cli::messages {

inline constexpr std::string_view kReadWordsFailed = "读取可疑字列表失败: ";
inline constexpr std::string_view kReadJunkPatternsFailed = "读取广告模式失败: ";
inline constexpr std::string_view kStandardInputTwice = "标准输入（-）只能读一次";
inline constexpr std::string_view kBookFileKinds = "书文件的名字须以 .qbr2、.qbr 或 .epub 结尾: ";

// A book's run that ended in an exception.
inline constexpr std::string_view kOutOfMemory = "内存不足";
inline constexpr std::string_view kInternalErrorPrefix = "内部错误: ";
inline constexpr std::string_view kInternalError = "内部错误";

// Two books of one run that would write the same file.
inline std::string SameOutput(std::string_view path, std::string_view otherBook) {
    return "输出文件与另一本书的相同，未生成: " + std::string(path) +
           "（另一本书: " + std::string(otherBook) + "）";
}

// --line N beyond the text.
inline std::string NoSuchLine(std::string_view value, int64_t lineCount) {
    return "--line " + std::string(value) + ": 文本没有这一行（共 " + std::to_string(lineCount) +
           " 行）";
}

// Why a word-list file is refused before it is read.
inline constexpr std::string_view kNotRegularFile = "不是普通文件";
inline constexpr std::string_view kWordsFileTooLarge = "文件大于 1 MiB";

inline constexpr std::string_view kOutputExists = "输出文件已存在，加 --force 才会替换: ";
inline constexpr std::string_view kWriteFileFailed = "写入文件失败: ";
inline constexpr std::string_view kWriteStandardOutputFailed = "写入标准输出失败";

// The closing line of a run over several books.
inline std::string BatchSummary(int64_t books, int64_t succeeded, int64_t withProblems,
                                int64_t failed) {
    return "共" + std::to_string(books) + "本：成功" + std::to_string(succeeded) + "，有问题" +
           std::to_string(withProblems) + "，失败" + std::to_string(failed);
}

// The parser's usage errors in Chinese ($1 ... are the parts of its English message).
inline constexpr std::string_view kUnknownOption = "未知选项: $1";
inline constexpr std::string_view kExtraArguments = "多余的参数: $1";
inline constexpr std::string_view kSubcommandRequired = "缺少子命令";
inline constexpr std::string_view kArgumentRequired = "缺少 $1";
inline constexpr std::string_view kValueOutOfRange = "$1 的值 $2 不是 $3 到 $4 之间的整数";
inline constexpr std::string_view kValueNotNumber = "$1 的值 $2 不是数";
inline constexpr std::string_view kValueNotAllowed = "$1 的值 $2 不是 $3 之一";
inline constexpr std::string_view kValueMissing = "$1 缺少值 $2";
inline constexpr std::string_view kFlagTakesNoValue = "$1 不带值";
inline constexpr std::string_view kFlagGivenValue = "$1 不带值（给出的是 $2）";
// Usage errors found before the parser runs.
inline constexpr std::string_view kExtraArgumentsPrefix = "多余的参数: ";
inline constexpr std::string_view kMissingPrefix = "缺少 ";
inline constexpr std::string_view kUnknownOptionPrefix = "未知选项: ";
inline constexpr std::string_view kUnknownSubcommandPrefix = "未知子命令: ";
inline std::string UnknownSubcommandNear(std::string_view typed, std::string_view nearest) {
    return std::string(kUnknownSubcommandPrefix) + std::string(typed) + "。是不是想用 " +
           std::string(nearest) + "？";
}
inline constexpr std::string_view kNotAFolder = "--output-dir 不是文件夹: ";
// The line after a usage error: 用法见 + the help command + 。
inline constexpr std::string_view kSeeHelpStart = "用法见 ";
inline constexpr std::string_view kSeeHelpEnd = "。";

// The program's own help screens and the shared book and chapter options.

// check, missing and version.

// chapters, detect, clean, t2s and unpack.

// epub and generate.
inline constexpr std::string_view kEpubStandardInputNeedsOutput =
    "从标准输入读入的书没有文件名，EPUB 无处可写；请给出 -o OUT.epub";
inline constexpr std::string_view kGenerateStandardInputHasNoName =
    "从标准输入读入的书没有文件名，生成的书无从命名；请以文件给出文本";
inline constexpr std::string_view kCoverAndNoCover = "--cover 和 --no-cover 不能同时给出";
// --indent, --spacing or --line-height (the option's name without its dashes) out of bounds.
inline std::string LengthOutOfRange(std::string_view option, std::string_view low,
                                    std::string_view high, std::string_view value) {
    return "--" + std::string(option) + " 的值须是 " + std::string(low) + " 到 " +
           std::string(high) + " 之间、至多一位小数的数，而不是“" + std::string(value) + "”";
}
inline std::string HeadingAlignmentNotKnown(std::string_view value) {
    return "--heading-align 的值须是 centre 或 left，而不是“" + std::string(value) + "”";
}
inline std::string FontFamilyNotKnown(std::string_view value) {
    return "--font-family 的值须是 reader、serif、sans 或 kai，而不是“" + std::string(value) + "”";
}

// script: its grammar and its runner.
inline constexpr std::string_view kReadScriptFailed = "读取脚本失败: ";
inline constexpr std::string_view kScriptTooLarge = "文件太大";
// What a script read from standard input is called in its error lines.
inline constexpr std::string_view kStandardInputScriptName = "<stdin>";
// A malformed script line: said in English, as the words of the script are.
inline std::string ScriptActionNeedsPath(std::string_view action) {
    return std::string(action) + " needs a path";
}
inline constexpr std::string_view kScriptCaretNeedsLine = "caret needs LINE [COLUMN]";
inline std::string ScriptNoDisplayLine(int32_t line) {
    return "caret: no display line " + std::to_string(line);
}
inline constexpr std::string_view kScriptSelectNeedsRange = "select needs FROM TO";
inline constexpr std::string_view kScriptTypeNeedsField =
    "type needs the field search (1014) or start-chapter (1017), then the text";
inline constexpr std::string_view kScriptPressNeedsButton =
    "press needs one button: its caption, short name or control id";
inline constexpr std::string_view kScriptMenuItems =
    "menu items are 上移 (up, 1005), 下移 (down, 1006), 删除 (delete, 1007) and 全部删除 "
    "(delete-all, 1019)";
inline constexpr std::string_view kScriptSelectChaptersNeedsIndexes =
    "select-chapters needs item indexes";
inline std::string ScriptActionNeedsOneIndex(std::string_view action) {
    return std::string(action) + " needs one item index";
}
inline constexpr std::string_view kScriptPrintNeedsWhat =
    "print needs chapters, problems, marks, selection, text or scan";
inline std::string ScriptUnknownAction(std::string_view action) {
    return "unknown action \"" + std::string(action) + "\"";
}

}  // namespace brisna::cli::messages
