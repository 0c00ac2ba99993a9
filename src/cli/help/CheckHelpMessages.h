#pragma once
// The help texts of `check` and `missing`, in English and Chinese side by side. Their --help,
// manual entries, completions and docs/cli.md sections are generated from these.

#include <array>
#include <string_view>

namespace brisna::cli::help {

namespace check {

inline constexpr std::string_view kSummary = "run 生成测试 and print the problem list";
inline constexpr std::array<std::string_view, 2> kDetails = {
    "Opens each book, applies the chapter options and runs 生成测试; prints the problem list, "
    "one entry per line, in order.",
    "Exit 0 when the list is empty, 1 when it holds entries, 3 when the book could not be opened "
    "or a chapter option was refused (the check then runs on the chapters marked so far)."};
inline constexpr std::string_view kSummaryZh = "执行“生成测试”并打印问题列表";
inline constexpr std::array<std::string_view, 2> kDetailsZh = {
    "打开每本书，应用章节选项并执行“生成测试”；按顺序打印问题列表，每行一项。",
    "列表为空时退出码为 0，有内容时为 1；书打不开或章节选项被拒绝时为 3"
    "（检查仍在已标记的章节上进行）。"};

}  // namespace check

namespace missing {

inline constexpr std::string_view kSummary = "run 检查缺章 and print its entries";
inline constexpr std::array<std::string_view, 2> kDetails = {
    "Runs 检查缺章 on the chapters the options mark and prints its entries one per line.",
    "Exit 0 when there are none, 1 otherwise, 3 when the book could not be opened or a chapter "
    "option was refused (the check then runs on the chapters marked so far)."};
inline constexpr std::string_view kSummaryZh = "执行“检查缺章”并打印其结果";
inline constexpr std::array<std::string_view, 2> kDetailsZh = {
    "在选项标记的章节上执行“检查缺章”，每行打印一项结果。",
    "没有结果时退出码为 0，否则为 1；书打不开或章节选项被拒绝时为 3"
    "（检查仍在已标记的章节上进行）。"};

}  // namespace missing

}  // namespace brisna::cli::help
