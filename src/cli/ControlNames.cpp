#include "cli/ControlNames.h"

#include <charconv>

#include "app/AppMessages.h"
#include "app/ControlIds.h"
#include "cli/help/GeneralHelpMessages.h"

namespace brisna::cli {

namespace captions = help::captions;

const std::vector<ControlName>& ButtonNames() {
    static const std::vector<ControlName> names{
        {kOpenTextButton, std::string(captions::kOpenText), "open-txt", ""},
        {kOpenQbr2Button, std::string(captions::kOpenQbr2), "open-qbr2", ""},
        {kOpenQbrButton, std::string(captions::kOpenQbr), "open-qbr", ""},
        {kAddChapterButton, std::string(captions::kAddChapter), "add", ""},
        {kKeywordAddButton, std::string(captions::kKeywordAdd), "keyword-add", ""},
        {kIncrementalAddButton, std::string(captions::kIncrementalAdd), "incremental-add", ""},
        {kMoveUpButton, std::string(captions::kMoveUp), "up", ""},
        {kMoveDownButton, std::string(captions::kMoveDown), "down", ""},
        {kDeleteButton, std::string(captions::kDelete), "delete", ""},
        {kDeleteAllButton, std::string(captions::kDeleteAll), "delete-all", ""},
        {kTestButton, std::string(captions::kTest), "test", ""},
        {kCheckMissingButton, std::string(captions::kCheckMissing), "missing", ""},
        {kGenerateButton, std::string(captions::kGenerate), "generate", ""},
        {kSearchButton, std::string(captions::kSearch), "search", ""},
        {kConvertButton, std::string(captions::kConvert), "t2s", ""},
        {kProblemListToggle, std::string(app_messages::kHideProblemList), "toggle-problems",
         std::string(app_messages::kShowProblemList)},
        {kWideDisplayToggle, std::string(app_messages::kWideDisplay), "toggle-wide",
         std::string(app_messages::kNarrowDisplay)},
    };
    return names;
}

const std::vector<ControlName>& MenuNames() {
    static const std::vector<ControlName> names{
        {kMoveUpButton, std::string(captions::kMoveUp), "up", ""},
        {kMoveDownButton, std::string(captions::kMoveDown), "down", ""},
        {kDeleteButton, std::string(captions::kDelete), "delete", ""},
        {kDeleteAllButton, std::string(captions::kDeleteAll), "delete-all", ""},
    };
    return names;
}

const std::vector<ControlName>& FieldNames() {
    static const std::vector<ControlName> names{
        {kSearchEdit, "", "search", ""},
        {kStartChapterEdit, std::string(captions::kStartChapter), "start-chapter", ""},
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
