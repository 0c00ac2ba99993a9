#include "cli/ControlNames.h"

#include <charconv>

#include "app/ControlIds.h"

namespace brisna::cli {

const std::vector<ControlName>& ButtonNames() {
    static const std::vector<ControlName> names{
        {kOpenTextButton, "打开txt文件", "open-txt", ""},
        {kOpenQbr2Button, "打开qbr2文件", "open-qbr2", ""},
        {kOpenQbrButton, "打开qbr", "open-qbr", ""},
        {kAddChapterButton, "添加章节", "add", ""},
        {kKeywordAddButton, "模糊添加章节", "keyword-add", ""},
        {kIncrementalAddButton, "递增添加章节", "incremental-add", ""},
        {kMoveUpButton, "上移", "up", ""},
        {kMoveDownButton, "下移", "down", ""},
        {kDeleteButton, "删除", "delete", ""},
        {kDeleteAllButton, "全部删除", "delete-all", ""},
        {kTestButton, "生成测试", "test", ""},
        {kCheckMissingButton, "检查缺章", "missing", ""},
        {kGenerateButton, "生成qbr", "generate", ""},
        {kSearchButton, "搜索文本", "search", ""},
        {kConvertButton, "繁体转简体", "t2s", ""},
        {kProblemListToggle, "关闭问题列表", "toggle-problems", "显示问题列表"},
        {kWideDisplayToggle, "宽幅显示", "toggle-wide", "窄幅显示"},
    };
    return names;
}

const std::vector<ControlName>& MenuNames() {
    static const std::vector<ControlName> names{
        {kMoveUpButton, "上移", "up", ""},
        {kMoveDownButton, "下移", "down", ""},
        {kDeleteButton, "删除", "delete", ""},
        {kDeleteAllButton, "全部删除", "delete-all", ""},
    };
    return names;
}

const std::vector<ControlName>& FieldNames() {
    static const std::vector<ControlName> names{
        {kSearchEdit, "", "search", ""},
        {kStartChapterEdit, "起始章节", "start-chapter", ""},
    };
    return names;
}

std::optional<int> LookUpControl(const std::vector<ControlName>& table, std::string_view word,
                                 bool allowAnyId) {
    if (word.empty()) return std::nullopt;
    for (const ControlName& name : table) {
        if (word == name.shortName || (!name.caption.empty() && word == name.caption) ||
            (!name.alternateCaption.empty() && word == name.alternateCaption)) {
            return name.id;
        }
    }
    int id = 0;
    auto [end, status] = std::from_chars(word.data(), word.data() + word.size(), id);
    if (status != std::errc() || end != word.data() + word.size()) return std::nullopt;
    if (allowAnyId) return id;
    for (const ControlName& name : table) {
        if (name.id == id) return id;
    }
    return std::nullopt;
}

}  // namespace brisna::cli
