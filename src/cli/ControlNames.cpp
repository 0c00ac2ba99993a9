#include "cli/ControlNames.h"

#include <charconv>

#include "app/AppMessages.h"
#include "app/ControlIds.h"

namespace brisna::cli {

const std::vector<ControlName>& ButtonNames() {
    static const std::vector<ControlName> names{
        {kOpenTextButton, std::string(app_messages::kOpenTextCaption), "open-txt", ""},
        {kOpenQbr2Button, std::string(app_messages::kOpenQbr2Caption), "open-qbr2", ""},
        {kOpenQbrButton, std::string(app_messages::kOpenQbrCaption), "open-qbr", ""},
        {kAddChapterButton, std::string(app_messages::kAddChapterCaption), "add", ""},
        {kKeywordAddButton, std::string(app_messages::kKeywordAddCaption), "keyword-add", ""},
        {kIncrementalAddButton, std::string(app_messages::kIncrementalAddCaption),
         "incremental-add", ""},
        {kMoveUpButton, std::string(app_messages::kMoveUpCaption), "up", ""},
        {kMoveDownButton, std::string(app_messages::kMoveDownCaption), "down", ""},
        {kDeleteButton, std::string(app_messages::kDeleteCaption), "delete", ""},
        {kDeleteAllButton, std::string(app_messages::kDeleteAllCaption), "delete-all", ""},
        {kTestButton, std::string(app_messages::kTestCaption), "test", ""},
        {kCheckMissingButton, std::string(app_messages::kCheckMissingCaption), "missing", ""},
        {kGenerateButton, std::string(app_messages::kGenerateCaption), "generate", ""},
        {kSearchButton, std::string(app_messages::kSearchCaption), "search", ""},
        {kConvertButton, std::string(app_messages::kConvertCaption), "t2s", ""},
        {kProblemListToggle, std::string(app_messages::kHideProblemList), "toggle-problems",
         std::string(app_messages::kShowProblemList)},
        {kWideDisplayToggle, std::string(app_messages::kWideDisplay), "toggle-wide",
         std::string(app_messages::kNarrowDisplay)},
    };
    return names;
}

const std::vector<ControlName>& MenuNames() {
    static const std::vector<ControlName> names{
        {kMoveUpButton, std::string(app_messages::kMoveUpCaption), "up", ""},
        {kMoveDownButton, std::string(app_messages::kMoveDownCaption), "down", ""},
        {kDeleteButton, std::string(app_messages::kDeleteCaption), "delete", ""},
        {kDeleteAllButton, std::string(app_messages::kDeleteAllCaption), "delete-all", ""},
    };
    return names;
}

const std::vector<ControlName>& FieldNames() {
    static const std::vector<ControlName> names{
        {kSearchEdit, "", "search", ""},
        {kStartChapterEdit, std::string(app_messages::kStartChapterCaption), "start-chapter", ""},
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
